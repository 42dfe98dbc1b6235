// The raster contract and the visible behaviour of the main constructs.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TexTestUtil.h"
#include "tex/TexRaster.h"

namespace {

using textest::InkBounds;
using textest::InkInColumn;
using textest::InkInRow;
using textest::Render;

// A box holding one rule: the rule's pixels are known exactly.
tex::TEX_BOX RuleBox(double boxWidth, double x, double width, double y, double height)
{
    tex::TEX_BOX box;
    box.m_dWidth = boxWidth;
    box.m_dHeight = y + height;
    tex::TEX_ITEM rule;
    rule.m_kind = tex::TEX_ITEM::RULE;
    rule.m_dX = x;
    rule.m_dWidth = width;
    rule.m_dY = y;
    rule.m_dHeight = height;
    box.m_vecItems.push_back(rule);
    return box;
}

struct PAD_CASE {
    int m_nWidth;     // drawn width in pixels
    int m_nPadded;
    int m_nLeftPad;   // blank columns added on the left
};

const PAD_CASE mg_arrPadCases[] = {
    {1, 8, 3},  {2, 8, 3},   {3, 8, 2},   {5, 8, 1},   {7, 8, 0},  {8, 8, 0},
    {9, 16, 3}, {13, 16, 1}, {15, 16, 0}, {16, 16, 0}, {17, 24, 3}, {100, 104, 2},
};

TEST(TexRasterTest, WidthIsPaddedToMultipleOfEightHalfOnTheLeft)
{
    for (const PAD_CASE& c : mg_arrPadCases) {
        tex::TEX_RASTER raster;
        ASSERT_TRUE(tex::RasterizeTexBox(RuleBox(c.m_nWidth, 0, c.m_nWidth, 0, 2), raster)) << c.m_nWidth;
        EXPECT_EQ(raster.m_nWidth, c.m_nPadded) << c.m_nWidth;
        EXPECT_EQ(raster.m_nHeight, 2) << c.m_nWidth;
        textest::INK_BOUNDS ink = InkBounds(raster);
        EXPECT_EQ(ink.m_nLeft, c.m_nLeftPad) << c.m_nWidth;
        EXPECT_EQ(ink.width(), c.m_nWidth) << c.m_nWidth;
        EXPECT_EQ(raster.m_vecBits.size(), static_cast<size_t>(c.m_nPadded / 8 * 2));
    }
}

TEST(TexRasterTest, BitsAreLeastSignificantFirstRowsTopDown)
{
    // Ink in columns 0..2 of the top row and 4..7 of the bottom row, a blank row between.
    tex::TEX_BOX box = RuleBox(8, 0, 3, 2, 1);
    tex::TEX_BOX lower = RuleBox(8, 4, 4, 0, 1);
    box.place(lower, 0, 0);
    tex::TEX_RASTER raster;
    ASSERT_TRUE(tex::RasterizeTexBox(box, raster));
    ASSERT_EQ(raster.m_nWidth, 8);
    ASSERT_EQ(raster.m_nHeight, 3);
    ASSERT_EQ(raster.m_vecBits.size(), 3u);
    EXPECT_EQ(raster.m_vecBits[0], 0x07);  // columns 0, 1, 2 = bits 0, 1, 2
    EXPECT_EQ(raster.m_vecBits[1], 0x00);
    EXPECT_EQ(raster.m_vecBits[2], 0xF0);  // columns 4..7 = bits 4..7

    // Ten columns wide: padded to 16 with 3 blank columns on the left, so the
    // ink of columns 0 and 9 lands in bit 3 of byte 0 and bit 4 of byte 1.
    tex::TEX_BOX wide = RuleBox(10, 0, 1, 0, 1);
    wide.place(RuleBox(10, 9, 1, 0, 1), 0, 0);
    ASSERT_TRUE(tex::RasterizeTexBox(wide, raster));
    ASSERT_EQ(raster.m_nWidth, 16);
    ASSERT_EQ(raster.m_vecBits.size(), 2u);
    EXPECT_EQ(raster.m_vecBits[0], 0x08);
    EXPECT_EQ(raster.m_vecBits[1], 0x10);
}

TEST(TexRasterTest, OversizedOrBlankBoxesGiveNoImage)
{
    tex::TEX_RASTER raster;
    EXPECT_FALSE(tex::RasterizeTexBox(RuleBox(tex::TEX_MAX_WIDTH + 1, 0, tex::TEX_MAX_WIDTH + 1, 0, 1), raster));
    EXPECT_TRUE(raster.empty());
    EXPECT_TRUE(tex::RasterizeTexBox(RuleBox(tex::TEX_MAX_WIDTH, 0, tex::TEX_MAX_WIDTH, 0, 1), raster));
    EXPECT_EQ(raster.stride(), 255);
    EXPECT_FALSE(tex::RasterizeTexBox(RuleBox(10, 0, 10, 0, tex::TEX_MAX_HEIGHT + 1), raster));
    tex::TEX_BOX blank;
    blank.m_dWidth = 50;
    blank.m_dHeight = 10;
    EXPECT_FALSE(tex::RasterizeTexBox(blank, raster));
    EXPECT_TRUE(raster.empty());
}

// Every render keeps the contract, whatever it draws.
const char* const mg_arrFormulas[] = {
    "x",
    "\\large V = I R",
    "\\large E_k = \\frac{1}{2} m v^2",
    "\\large \\frac{1}{f} = \\frac{1}{d_o} + \\frac{1}{d_i}",
    "\\large x_{1,2} = \\frac{-b \\pm \\sqrt{b^2 - 4ac}}{2a}",
    "\\large \\frac{1}{C} = \\sum_{i=1}^n \\frac{1}{C_i}",
    "\\large W = \\int_a^b F(x)\\,dx",
    "\\normalsize m\\hspace{1}\\left( kg\\cdot m/s^2 \\right)",
    "\\large \\text{Formula:\\\\\\fbox{F = ma}\\\\\\hspace{50}\\\\ + F : force\\\\}\\\\",
    "\\Huge \\oint \\vec{E}\\cdot d\\vec{A} = \\frac{Q}{\\varepsilon_0}",
    "\\tiny a^{b^{c^{d}}}",
};

TEST(TexRasterTest, EveryRenderKeepsTheContract)
{
    for (const char* formula : mg_arrFormulas) {
        tex::TEX_RASTER raster = Render(formula);
        ASSERT_FALSE(raster.empty()) << formula;
        EXPECT_EQ(raster.m_nWidth % 8, 0) << formula;
        EXPECT_EQ(raster.m_vecBits.size(), static_cast<size_t>(raster.stride() * raster.m_nHeight)) << formula;
        // The image is tight: ink reaches its top and bottom rows, and the
        // blank margin on each side is at most the padding.
        textest::INK_BOUNDS ink = InkBounds(raster);
        EXPECT_EQ(ink.m_nTop, 0) << formula;
        EXPECT_EQ(ink.m_nBottom, raster.m_nHeight - 1) << formula;
        EXPECT_LE(ink.m_nLeft, 3) << formula;
        EXPECT_GE(ink.m_nRight, raster.m_nWidth - 5) << formula;
        // Every one of these formulas has ink on its baseline.
        EXPECT_GE(raster.m_nBaseline, 0) << formula;
        EXPECT_LT(raster.m_nBaseline, raster.m_nHeight) << formula;
    }
}

TEST(TexRasterTest, ImageGrowsWithTheSizeCommand)
{
    const char* sizes[] = {"\\tiny", "\\small", "\\normalsize", "\\large", "\\Large", "\\LARGE", "\\huge", "\\Huge"};
    int lastWidth = 0;
    int lastHeight = 0;
    for (const char* size : sizes) {
        tex::TEX_RASTER raster = Render(std::string(size) + " E = mc^2");
        textest::INK_BOUNDS ink = InkBounds(raster);
        EXPECT_GT(ink.width(), lastWidth) << size;
        EXPECT_GT(ink.height(), lastHeight) << size;
        lastWidth = ink.width();
        lastHeight = ink.height();
    }
    // Without a size command the formula is set at \normalsize.
    EXPECT_TRUE(textest::SameImage(Render("E = mc^2"), Render("\\normalsize E = mc^2")));
}

TEST(TexRasterTest, UnitsAtNormalSizeFitTheirRow)
{
    // Calculation rows are 27 pixels high.
    const char* units[] = {
        "\\normalsize m\\hspace{1}\\left( kg\\cdot m/s^2 \\right)",
        "\\normalsize \\rho\\hspace{1}\\left( kg/m^3 \\right)",
        "\\normalsize c_p\\hspace{1}\\left( \\frac{J}{kg\\cdot K} \\right)",
        "\\normalsize \\theta\\hspace{1}\\left( ^o \\right)",
        "\\normalsize G\\hspace{1}\\left( N\\cdot m^2/kg^2 \\right)",
    };
    for (const char* unit : units) {
        tex::TEX_RASTER raster = Render(unit);
        ASSERT_FALSE(raster.empty()) << unit;
        EXPECT_LE(raster.m_nHeight, 27) << unit;
    }
}

// The row of the fraction bar: the widest run of ink in the image.
int FractionBarRow(const tex::TEX_RASTER& raster)
{
    int best = -1;
    int bestInk = 0;
    for (int y = 0; y < raster.m_nHeight; ++y) {
        int ink = InkInRow(raster, y);
        if (ink > bestInk) {
            bestInk = ink;
            best = y;
        }
    }
    return best;
}

TEST(TexRasterTest, FractionStacksNumeratorOverBarOverDenominator)
{
    for (const char* size : {"\\normalsize ", "\\large "}) {
        tex::TEX_RASTER num = Render(std::string(size) + "a+b");
        tex::TEX_RASTER frac = Render(std::string(size) + "\\frac{a+b}{c}");
        ASSERT_FALSE(frac.empty());
        EXPECT_GT(frac.m_nHeight, num.m_nHeight + 3) << size;
        int bar = FractionBarRow(frac);
        // The bar spans the whole fraction and has blank rows on both sides.
        EXPECT_GE(InkInRow(frac, bar), InkBounds(frac).width() - 1) << size;
        EXPECT_GT(bar, 2) << size;
        EXPECT_LT(bar, frac.m_nHeight - 3) << size;
        EXPECT_EQ(InkInRow(frac, bar - 1) + InkInRow(frac, bar + 1) < InkInRow(frac, bar), true) << size;
    }
}

TEST(TexRasterTest, DisplayStyleFractionIsTallerThanTextStyle)
{
    tex::TEX_RASTER text = Render("\\large \\tfrac{a}{b}");
    tex::TEX_RASTER display = Render("\\large \\dfrac{a}{b}");
    EXPECT_GT(display.m_nHeight, text.m_nHeight);
    // \large sets display style; \normalsize keeps units and symbols inline.
    EXPECT_TRUE(textest::SameImage(Render("\\large \\frac{a}{b}"), display));
    EXPECT_TRUE(textest::SameImage(Render("\\normalsize \\frac{a}{b}"), Render("\\normalsize \\tfrac{a}{b}")));
    // Only a leading size command picks the style; later ones change the size alone.
    EXPECT_TRUE(textest::SameImage(Render("x \\large \\frac{a}{b}"), Render("x \\large \\tfrac{a}{b}")));
    EXPECT_TRUE(textest::SameImage(Render("\\large \\textstyle \\frac{a}{b}"), Render("\\large \\tfrac{a}{b}")));
}

// Height of the bracket alone: a \vphantom gives the content its size without ink.
int BracketHeight(const std::string& content)
{
    return Render("\\large \\left( \\vphantom{" + content + "} \\right.").m_nHeight;
}

TEST(TexRasterTest, LeftRightDelimitersGrowWithTheirContent)
{
    const char* contents[] = {"x", "\\frac{a}{b}", "\\frac{\\frac{a}{b}}{c}", "\\frac{\\frac{\\frac{a}{b}}{c}}{\\frac{d}{e}}"};
    int last = 0;
    for (const char* content : contents) {
        int height = BracketHeight(content);
        EXPECT_GT(height, last) << content;
        // The bracket covers the content within TeX's tolerance (90 %).
        int contentHeight = Render(std::string("\\large ") + content).m_nHeight;
        EXPECT_GE(height * 10, contentHeight * 9) << content;
        EXPECT_LE(Render(std::string("\\large \\left( ") + content + " \\right)").m_nHeight, height + 3) << content;
        last = height;
    }
    // Very tall content is served by an assembled bracket, still unbroken.
    std::string tall = "\\large \\left( \\begin{matrix} 1 \\\\ 2 \\\\ 3 \\\\ 4 \\\\ 5 \\\\ 6 \\\\ 7 \\end{matrix} \\right)";
    tex::TEX_RASTER raster = Render(tall);
    textest::INK_BOUNDS ink = InkBounds(raster);
    int column = -1;
    for (int x = ink.m_nLeft; x < ink.m_nLeft + 8 && column < 0; ++x) {
        if (InkInColumn(raster, x) > raster.m_nHeight / 2)
            column = x;
    }
    ASSERT_GE(column, 0);
    int gaps = 0;
    bool inside = false;
    int lastInk = -1;
    for (int y = 0; y < raster.m_nHeight; ++y) {
        bool any = raster.ink(column, y) || raster.ink(column - 1, y) || raster.ink(column + 1, y);
        if (any && inside && lastInk != y - 1)
            ++gaps;
        if (any) {
            inside = true;
            lastInk = y;
        }
    }
    EXPECT_EQ(gaps, 0);
    EXPECT_GT(raster.m_nHeight, 100);
}

TEST(TexRasterTest, LineBreaksStackLines)
{
    int one = Render("\\large a").m_nHeight;
    int two = Render("\\large a\\\\b").m_nHeight;
    int three = Render("\\large a\\\\b\\\\c").m_nHeight;
    EXPECT_GT(two, one + 10);
    EXPECT_GT(three, two + 10);
    // The same inside a text block; a trailing \\ adds nothing.
    EXPECT_EQ(Render("\\large \\text{a\\\\b}").m_nHeight, Render("\\large \\text{a\\\\b\\\\}\\\\").m_nHeight);
    EXPECT_GT(Render("\\large \\text{a\\\\b}").m_nHeight, Render("\\large \\text{a}").m_nHeight + 10);
    // An empty line between two lines still takes a line's room.
    EXPECT_GT(Render("\\large a\\\\\\hspace{50}\\\\b").m_nHeight, two + 10);
    // Lines start at the left edge.
    tex::TEX_RASTER lines = Render("\\large \\text{Formula:\\\\x}");
    EXPECT_LE(InkBounds(lines).m_nLeft, 3);
}

TEST(TexRasterTest, FboxDrawsAClosedFrame)
{
    tex::TEX_RASTER raster = Render("\\large \\fbox{F = ma}");
    textest::INK_BOUNDS ink = InkBounds(raster);
    ASSERT_FALSE(ink.empty());
    EXPECT_EQ(InkInRow(raster, ink.m_nTop), ink.width());
    EXPECT_EQ(InkInRow(raster, ink.m_nBottom), ink.width());
    EXPECT_EQ(InkInColumn(raster, ink.m_nLeft), ink.height());
    EXPECT_EQ(InkInColumn(raster, ink.m_nRight), ink.height());
    // There is room between the frame and the formula inside.
    EXPECT_EQ(InkInRow(raster, ink.m_nTop + 1), 2);
    EXPECT_EQ(InkInColumn(raster, ink.m_nLeft + 1), 2);
}

TEST(TexRasterTest, TableRulesFrameTheCells)
{
    // |c|c| with \hline above, between and below: a closed grid.
    tex::TEX_RASTER raster = Render("\\large \\begin{array}{|c|c|} \\hline x & y \\\\ \\hline 1 & 2 \\\\ \\hline \\end{array}");
    textest::INK_BOUNDS ink = InkBounds(raster);
    ASSERT_FALSE(ink.empty());
    EXPECT_EQ(InkInRow(raster, ink.m_nTop), ink.width());
    EXPECT_EQ(InkInRow(raster, ink.m_nBottom), ink.width());
    EXPECT_EQ(InkInColumn(raster, ink.m_nLeft), ink.height());
    EXPECT_EQ(InkInColumn(raster, ink.m_nRight), ink.height());
    int fullRows = 0;
    int fullColumns = 0;
    for (int y = ink.m_nTop; y <= ink.m_nBottom; ++y)
        fullRows += InkInRow(raster, y) == ink.width();
    for (int x = ink.m_nLeft; x <= ink.m_nRight; ++x)
        fullColumns += InkInColumn(raster, x) == ink.height();
    EXPECT_EQ(fullRows, 3);
    EXPECT_EQ(fullColumns, 3);
    // Without rules the same table draws no such lines.
    tex::TEX_RASTER plain = Render("\\large \\begin{array}{cc} x & y \\\\ 1 & 2 \\end{array}");
    textest::INK_BOUNDS plainInk = InkBounds(plain);
    EXPECT_LT(InkInRow(plain, plainInk.m_nTop), plainInk.width() / 2);
}

TEST(TexRasterTest, ScriptsSitAboveAndBelowTheBaseline)
{
    tex::TEX_RASTER base = Render("\\large x");
    tex::TEX_RASTER sup = Render("\\large x^2");
    tex::TEX_RASTER sub = Render("\\large x_2");
    // Same baseline row from the top: the superscript adds rows above, the subscript below.
    EXPECT_GT(sup.m_nBaseline, base.m_nBaseline);
    EXPECT_EQ(sup.m_nHeight - sup.m_nBaseline, base.m_nHeight - base.m_nBaseline);
    EXPECT_EQ(sub.m_nBaseline, base.m_nBaseline);
    EXPECT_GT(sub.m_nHeight, base.m_nHeight);
}

TEST(TexRasterTest, LimitsAboveAndBelowInDisplayBesideInline)
{
    tex::TEX_RASTER display = Render("\\large \\sum_{i=1}^{n} i");
    tex::TEX_RASTER inline_ = Render("\\normalsize \\sum_{i=1}^{n} i");
    tex::TEX_RASTER integral = Render("\\large \\int_{0}^{1} x");
    tex::TEX_RASTER bare = Render("\\large \\sum i");
    // Display limits make the formula taller than the operator but not wider than it needs.
    EXPECT_GT(display.m_nHeight, bare.m_nHeight + 10);
    EXPECT_LT(InkBounds(display).width(), InkBounds(bare).width() + 12);
    // Inline the limits go to the side.
    EXPECT_GT(InkBounds(inline_).width(), InkBounds(Render("\\normalsize \\sum i")).width() + 4);
    // Integrals keep their limits at the side even when displayed.
    EXPECT_GT(InkBounds(integral).width(), InkBounds(Render("\\large \\int x")).width() + 5);
}

TEST(TexRasterTest, UnknownCommandIsFramedAndNamed)
{
    // Drawn as its source in a thin frame beside the formula, and reported.
    tex::TEX_RASTER unknown = Render("\\large \\newton");
    ASSERT_FALSE(unknown.empty());
    EXPECT_EQ(unknown.m_vecUnknown, (std::vector<std::string>{"\\newton"}));
    textest::INK_BOUNDS ink = InkBounds(unknown);
    EXPECT_EQ(InkInRow(unknown, ink.m_nTop), ink.width());
    EXPECT_EQ(InkInColumn(unknown, ink.m_nLeft), ink.height());
    EXPECT_FALSE(textest::SameImage(unknown, Render("\\large \\operatorname{newton}")));
    EXPECT_TRUE(Render("\\large \\operatorname{newton}").m_vecUnknown.empty());
}

}  // namespace
