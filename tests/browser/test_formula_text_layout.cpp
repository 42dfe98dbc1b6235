// Measuring, wrapping and highlighting of browser row texts, with a fixed
// character table so every expected number can be worked out by hand.

#include "browser/FormulaTextLayout.h"

#include <gtest/gtest.h>

namespace {

// Every character 10 wide and 20 high, except "W" (100 wide) and "i" (4 wide).
TextCharSize fixedSize(char16_t c)
{
    if (c == u'W')
        return {100, 20};
    if (c == u'i')
        return {4, 20};
    return {10, 20};
}

std::u16string repeat(char16_t c, int n)
{
    return std::u16string(static_cast<std::size_t>(n), c);
}

} // namespace

struct MeasureCase {
    const char* what;
    std::u16string text;
    double width;
    double height;
};

TEST(FormulaTextLayout, MeasuresLikeTheRowsAreDrawn)
{
    const MeasureCase cases[] = {
        // One line.
        {"empty", u"", 0, 0},
        {"one word", u"abc", 30, 20},
        {"two words", u"ab cd", 50, 20},
        // A single word wider than the row wraps onto a line of its own; no
        // earlier line had any width.
        {"one overlong word", repeat(u'a', 31), 0, 40},
        {"28 chars fit", repeat(u'a', 28), 280, 20},
        // Wrapping: the word that overflows starts the next line, and the
        // reported width is the widest line before the last wrap.
        {"second word wraps", repeat(u'a', 20) + u" " + repeat(u'b', 10), 210, 40},
        {"three lines", repeat(u'a', 20) + u" " + repeat(u'b', 20) + u" " + repeat(u'c', 20), 210, 60},
        {"wide glyphs", u"WW WW", 210, 40}, // the first line keeps its blank
        {"narrow glyphs", repeat(u'i', 70), 280, 20},
    };
    for (const MeasureCase& c : cases) {
        const TextCharSize size = measureFormulaText(c.text, fixedSize);
        EXPECT_DOUBLE_EQ(size.width, c.width) << c.what;
        EXPECT_DOUBLE_EQ(size.height, c.height) << c.what;
    }
}

TEST(FormulaTextLayout, SecondMeasureReportsFullWidthForOneLine)
{
    EXPECT_DOUBLE_EQ(measureFormulaText2(u"abc", fixedSize).width, 283);
    const std::u16string twoLines = repeat(u'a', 20) + u" " + repeat(u'b', 10);
    EXPECT_DOUBLE_EQ(measureFormulaText2(twoLines, fixedSize).width, 210);
}

TEST(FormulaTextLayout, RowHeightNeverBelowForty)
{
    const struct {
        double measured;
        int row;
    } cases[] = {{0, 40}, {21, 40}, {39.9, 40}, {40, 50}, {42, 52}, {63, 73}};
    for (const auto& c : cases)
        EXPECT_EQ(formulaRowHeight(c.measured), c.row) << c.measured;
}

struct HighlightCase {
    const char* what;
    std::u16string content;
    std::u16string highlight;
    std::vector<HighlightRange> ranges;
};

TEST(FormulaTextLayout, FindsEveryOccurrenceIgnoringCase)
{
    const HighlightCase cases[] = {
        {"overlapping", u"aaaa", u"aa", {{0, 2}, {1, 2}, {2, 2}}},
        {"case folded", u"Ohm's law", u"OHM", {{0, 3}}},
        {"twice", u"Ohm and ohm", u"ohm", {{0, 3}, {8, 3}}},
        {"nothing to find", u"Kepler", u"ohm", {}},
        {"empty search", u"Kepler", u"", {}},
        {"longer than content", u"ab", u"abc", {}},
        {"whole text", u"abc", u"ABC", {{0, 3}}},
        {"only ASCII folds", u"\u00c5ngstr\u00f6m", u"\u00e5", {}},
    };
    for (const HighlightCase& c : cases)
        EXPECT_EQ(findHighlightRanges(c.content, c.highlight), c.ranges) << c.what;
}

TEST(FormulaTextLayout, EmptyContentHasNoBoxes)
{
    EXPECT_TRUE(layoutFormulaText(u"", {}, 40, fixedSize).empty());
}

TEST(FormulaTextLayout, OneLineIsCentredVertically)
{
    const auto boxes = layoutFormulaText(u"ab", {}, 40, fixedSize);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_DOUBLE_EQ(boxes[0].x, 0);
    EXPECT_DOUBLE_EQ(boxes[1].x, 10);
    EXPECT_DOUBLE_EQ(boxes[0].y, 10); // (40 - 20) / 2
}

TEST(FormulaTextLayout, TopIsCutToWholePixels)
{
    const auto boxes = layoutFormulaText(u"ab", {}, 41, fixedSize);
    EXPECT_DOUBLE_EQ(boxes[0].y, 10); // 10.5 cut to 10
}

TEST(FormulaTextLayout, LongWordBreaksBetweenCharacters)
{
    // 30 characters of 10: the 29th no longer fits and starts line 2.
    const auto boxes = layoutFormulaText(repeat(u'a', 30), {}, 60, fixedSize);
    ASSERT_EQ(boxes.size(), 30u);
    EXPECT_DOUBLE_EQ(boxes[27].x, 270);
    EXPECT_DOUBLE_EQ(boxes[28].x, 0);
    EXPECT_GT(boxes[28].y, boxes[27].y);
    EXPECT_DOUBLE_EQ(boxes[29].x, 10);
}

TEST(FormulaTextLayout, WordThatDoesNotFitMovesWhole)
{
    const std::u16string text = repeat(u'a', 20) + u" " + repeat(u'b', 10);
    const auto boxes = layoutFormulaText(text, {}, 60, fixedSize);
    ASSERT_EQ(boxes.size(), text.size());
    EXPECT_DOUBLE_EQ(boxes[21].x, 0); // first b at the start of line 2
    EXPECT_DOUBLE_EQ(boxes[21].y - boxes[0].y, 20);
    // The drawn lines are the measured ones: the text block is centred.
    EXPECT_DOUBLE_EQ(boxes[0].y, 10); // (60 - 40) / 2
}

TEST(FormulaTextLayout, HighlightMarksExactlyTheMatchedCharacters)
{
    const std::u16string text = u"Ohm's law";
    const auto boxes = layoutFormulaText(text, findHighlightRanges(text, u"OHM"), 40, fixedSize);
    for (std::size_t i = 0; i < boxes.size(); ++i)
        EXPECT_EQ(boxes[i].highlighted, i < 3) << i;
}
