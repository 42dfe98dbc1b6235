#pragma once

// The fonts of the TeX renderer: Latin Modern Math for mathematics, the Latin
// Modern Roman, Sans and Mono faces for \text blocks, and DejaVu for letters
// of other scripts that Latin Modern lacks. The fonts are opened once per
// process; metrics come from HarfBuzz (including the OpenType MATH table),
// glyph rasters from FreeType and are cached by size.
//
// Every length this class returns is in em (font units / units per em); the
// layout multiplies by the pixel size it sets the glyph at.

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include <hb-ot.h>

namespace tex {

enum TexFontId : uint8_t {
    TEXFONT_MATH = 0,      // Latin Modern Math
    TEXFONT_ROMAN,         // Latin Modern Roman 10 Regular (\text)
    TEXFONT_BOLD,          // Latin Modern Roman 10 Bold (\textbf)
    TEXFONT_ITALIC,        // Latin Modern Roman 10 Italic (\textit)
    TEXFONT_SANS,          // Latin Modern Sans 10 (\textsf)
    TEXFONT_MONO,          // Latin Modern Mono 10 (\texttt, unknown commands)
    TEXFONT_SERIF_OTHER,   // DejaVu Serif: Greek, Cyrillic and more in text
    TEXFONT_SANS_OTHER,    // DejaVu Sans: what DejaVu Serif lacks
    TEXFONT_COUNT
};

struct GLYPH_EXTENTS {
    double m_dLeft = 0;    // ink box, em; y grows upwards
    double m_dRight = 0;
    double m_dTop = 0;
    double m_dBottom = 0;
};

struct GLYPH_VARIANT {
    uint32_t m_nGlyph = 0;
    double m_dAdvance = 0;  // em, along the direction of growth
};

struct GLYPH_PART {
    uint32_t m_nGlyph = 0;
    double m_dStartConnector = 0;  // em
    double m_dEndConnector = 0;
    double m_dFullAdvance = 0;
    bool m_bExtender = false;
};

struct SHAPED_GLYPH {
    uint8_t m_nFont = 0;    // TexFontId the glyph belongs to; TEXFONT_COUNT: no font has the letter
    uint32_t m_nGlyph = 0;
    double m_dAdvance = 0;  // em
    double m_dOffsetX = 0;
    double m_dOffsetY = 0;
};

// How a glyph is rasterised: hinted to the pixel grid, one bit per pixel
// (kept as 0 or 255), or anti-aliased coverage for screens that scale.
enum TexGlyphMode : uint8_t { GLYPH_MONO, GLYPH_COVERAGE };

// A rendered glyph: one byte per pixel, 0 background, 255 full ink.
struct GLYPH_BITMAP {
    int m_nLeft = 0;   // pixel offset of column 0 from the pen position
    int m_nTop = 0;    // rows of the bitmap above the baseline
    int m_nWidth = 0;
    int m_nRows = 0;
    std::vector<uint8_t> m_vecCoverage;
};

class MathFont {
public:
    // The process-wide instance; the fonts are opened on first use.
    static MathFont& instance();

    // False when Latin Modern Math could not be opened: nothing renders then.
    bool isLoaded() const;

    // Glyph of a code point in the given font, 0 when the font lacks it.
    uint32_t glyphIndex(TexFontId font, uint32_t codepoint) const;
    // The glyph of the code point at a script level (1 script, 2 scriptscript):
    // Latin Modern Math carries optically adjusted shapes for small sizes.
    uint32_t scriptGlyph(uint32_t glyph, int level);

    double advance(TexFontId font, uint32_t glyph) const;
    GLYPH_EXTENTS extents(TexFontId font, uint32_t glyph) const;

    // MATH table values. Percentages come back as plain numbers (70 for 70 %).
    double constant(hb_ot_math_constant_t which) const;
    double italicCorrection(uint32_t glyph) const;
    // Horizontal position of the top-accent attachment; half the advance when the font has none.
    double topAccentAttachment(uint32_t glyph) const;
    double minConnectorOverlap(bool bVertical) const;
    // Larger forms of the glyph, smallest first (the glyph itself included).
    std::vector<GLYPH_VARIANT> variants(uint32_t glyph, bool bVertical) const;
    // The pieces from which an arbitrarily large form is assembled, in the order
    // of growth (bottom to top, left to right); empty when the glyph has none.
    std::vector<GLYPH_PART> assembly(uint32_t glyph, bool bVertical) const;

    // Shapes a UTF-8 run (kerning and ligatures) in a text font or the math
    // font. Letters the font lacks come from the first font that has them
    // (the math font, then DejaVu Serif and Sans). A letter no font has
    // comes back as a glyph of font TEXFONT_COUNT, and sets bMissing when given.
    void shape(TexFontId font, std::string_view utf8, std::vector<SHAPED_GLYPH>& out, bool* bMissing = nullptr) const;

    // Raster of a glyph set at sizePx pixels per em. The pen sits on a whole
    // pixel, or for coverage rasters nPhase quarters of a pixel to the right
    // of one. Cached; the pointer stays valid until the next call that fills
    // the cache past its limit (callers use it at once).
    const GLYPH_BITMAP* bitmap(TexFontId font, uint32_t glyph, double sizePx, TexGlyphMode mode = GLYPH_MONO,
                               int nPhase = 0);

    MathFont(const MathFont&) = delete;
    MathFont& operator=(const MathFont&) = delete;
    ~MathFont();

private:
    MathFont();
    void shapeRun(TexFontId font, std::string_view utf8, std::vector<SHAPED_GLYPH>& out) const;
    struct Impl;
    std::unique_ptr<Impl> m_pImpl;
};

}  // namespace tex
