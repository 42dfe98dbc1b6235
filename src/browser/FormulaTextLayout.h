#pragma once
// Placement of a browser row's text, character by character: measuring (so
// rows can be sized before they are drawn), wrapping at a fixed width of 283
// points, and the ranges of a search text to highlight. The character sizes
// come from the caller, so this works without a display.

#include <functional>
#include <string>
#include <vector>

struct TextCharSize {
    double width = 0;
    double height = 0;
};

// Size of one character (a 16-bit unit of the row text).
using CharSizeFunction = std::function<TextCharSize(char16_t)>;

inline constexpr double kFormulaTextWidth = 283;

// The measured size: words (a run of characters up to and including a blank,
// or up to the end) move to a new line when they do not fit; the height is the
// number of lines times the height of the last character measured.
TextCharSize measureFormulaText(const std::u16string& text, const CharSizeFunction& charSize);
// The same, but a text that fits on one line reports the full width.
TextCharSize measureFormulaText2(const std::u16string& text, const CharSizeFunction& charSize);

// Height of a list row for a measured text height: the text plus a margin of
// 5 above and below, and never less than 40.
int formulaRowHeight(double measuredHeight);

struct HighlightRange {
    int start = 0;
    int length = 0;
    bool operator==(const HighlightRange&) const = default;
};

// Every occurrence of `highlight` in `content`, ignoring ASCII letter case;
// overlapping occurrences are all found (aa in aaaa starts at 0, 1 and 2).
std::vector<HighlightRange> findHighlightRanges(const std::u16string& content, const std::u16string& highlight);

struct CharBox {
    double x = 0;
    double y = 0;
    double width = 0;
    double height = 0;
    bool highlighted = false;
};

// The box of every character of `content` in a view `viewHeight` high, the
// text block centred vertically.
std::vector<CharBox> layoutFormulaText(const std::u16string& content, const std::vector<HighlightRange>& ranges,
                                       double viewHeight, const CharSizeFunction& charSize);
