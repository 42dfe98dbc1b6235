#pragma once

// Second stage of the TeX renderer: the atom tree becomes a box with width,
// height and depth, holding positioned glyphs and rules. Positions and sizes
// are in pixels of the one-bit image (a coverage raster scales them); y grows
// upwards from the box's baseline, as in TeX. Spacing, fractions, scripts,
// radicals and delimiters follow the rules of the TeXbook's appendix G with
// the parameters of the font's MATH table; where a rule would give a gap or
// a size that cannot show in one bit per pixel, the layout keeps a pixel.

#include <cstdint>
#include <vector>

#include "tex/TexParser.h"

namespace tex {

struct TEX_ITEM {
    enum Kind : uint8_t { GLYPH, RULE };
    Kind m_kind = GLYPH;
    uint8_t m_nFont = 0;     // TexFontId of a glyph
    uint32_t m_nGlyph = 0;
    double m_dSize = 0;      // pixels per em of a glyph
    double m_dX = 0;         // glyph: pen position; rule: left edge
    double m_dY = 0;         // glyph: baseline; rule: bottom edge
    double m_dWidth = 0;     // rule only
    double m_dHeight = 0;    // rule only
};

struct TEX_BOX {
    double m_dWidth = 0;
    double m_dHeight = 0;    // above the baseline
    double m_dDepth = 0;     // below the baseline
    double m_dItalic = 0;    // italic correction of a lone glyph
    uint32_t m_nGlyph = 0;   // the glyph when the box is one math-font glyph, else 0
    double m_dAccentX = 0;   // where an accent over that glyph attaches
    std::vector<TEX_ITEM> m_vecItems;

    // Places another box with its baseline origin at (dx, dy) of this one;
    // the dimensions are not changed.
    void place(const TEX_BOX& other, double dx, double dy);
};

// Lays out a parsed formula. The em starts at the \normalsize pixel size; a
// size command at the very start also picks the style of the whole formula:
// up to \normalsize the formula is set in text style so that it fits one
// row, from \large on it is set as a displayed formula (\displaystyle and
// \textstyle still override it).
TEX_BOX LayoutTex(const TexList& list);

// Pixel size of \normalsize, the size before any size command.
double TexNormalSize();

}  // namespace tex
