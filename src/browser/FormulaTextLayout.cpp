#include "browser/FormulaTextLayout.h"

#include <algorithm>

namespace {

char16_t foldAscii(char16_t c)
{
    return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

struct Measured {
    TextCharSize size;
    int lines = 1;
};

Measured measure(const std::u16string& text, const CharSizeFunction& charSize)
{
    int lines = 1;
    double widest = -1; // stays negative until the first wrap
    double lineWidth = 0;
    double wordWidth = 0;
    double lastHeight = 0;
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        const TextCharSize size = charSize(text[i]);
        lastHeight = size.height;
        if (text[i] != u' ' && i + 1 < n) {
            wordWidth += size.width;
            continue;
        }
        // A blank or the last character closes the word.
        if (lineWidth + wordWidth + size.width > kFormulaTextWidth) {
            widest = std::max(widest, lineWidth);
            lineWidth = wordWidth + size.width;
            ++lines;
        } else {
            lineWidth += wordWidth + size.width;
        }
        wordWidth = 0;
    }
    return Measured{TextCharSize{widest >= 0 ? widest : lineWidth, lines * lastHeight}, lines};
}

} // namespace

TextCharSize measureFormulaText(const std::u16string& text, const CharSizeFunction& charSize)
{
    return measure(text, charSize).size;
}

TextCharSize measureFormulaText2(const std::u16string& text, const CharSizeFunction& charSize)
{
    Measured m = measure(text, charSize);
    if (m.lines == 1)
        m.size.width = kFormulaTextWidth;
    return m.size;
}

int formulaRowHeight(double measuredHeight)
{
    return measuredHeight >= 40 ? static_cast<int>(measuredHeight + 10) : 40;
}

std::vector<HighlightRange> findHighlightRanges(const std::u16string& content, const std::u16string& highlight)
{
    std::vector<HighlightRange> ranges;
    if (highlight.empty() || highlight.size() > content.size())
        return ranges;
    const std::size_t last = content.size() - highlight.size();
    for (std::size_t start = 0; start <= last; ++start) {
        bool match = true;
        for (std::size_t k = 0; k < highlight.size() && match; ++k)
            match = foldAscii(content[start + k]) == foldAscii(highlight[k]);
        if (match)
            ranges.push_back(HighlightRange{static_cast<int>(start), static_cast<int>(highlight.size())});
    }
    return ranges;
}

std::vector<CharBox> layoutFormulaText(const std::u16string& content, const std::vector<HighlightRange>& ranges,
                                       double viewHeight, const CharSizeFunction& charSize)
{
    std::vector<CharBox> boxes;
    if (content.empty())
        return boxes;
    boxes.reserve(content.size());
    const TextCharSize measured = measureFormulaText(content, charSize);
    const double top = static_cast<int>((viewHeight - measured.height) / 2);
    double x = 0;
    int line = 0;
    const std::size_t n = content.size();
    for (std::size_t i = 0; i < n; ++i) {
        const TextCharSize size = charSize(content[i]);
        if (x + size.width > kFormulaTextWidth) {
            // A word wider than the row is broken between characters.
            x = size.width;
            ++line;
        } else {
            x += size.width;
        }
        CharBox box{x - size.width, top + line * size.height, size.width, size.height, false};
        const int index = static_cast<int>(i);
        for (const HighlightRange& r : ranges)
            if (index >= r.start && index < r.start + r.length)
                box.highlighted = true;
        boxes.push_back(box);

        if (content[i] == u' ' && i + 1 < n) {
            // Look ahead: the next word (with its closing blank) must fit on this line.
            const std::size_t blank = content.find(u' ', i + 1);
            const std::size_t end = blank == std::u16string::npos ? n : blank + 1;
            const std::u16string word = content.substr(i + 1, end - (i + 1));
            if (!word.empty() && x + measureFormulaText(word, charSize).width > kFormulaTextWidth) {
                ++line;
                x = 0;
            }
        }
    }
    return boxes;
}
