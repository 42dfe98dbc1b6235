#pragma once

// The TeX renderer: a formula in the classic LaTeX math language becomes a
// one-bit raster, or an 8-bit coverage raster at any scale with the same
// layout. This is what a view showing TeX (MIMEView) is built on:
//
//     tex::TEX_RASTER raster = tex::renderExpression(formula, "\\large");
//     if (raster.empty()) ...          // nothing to draw (failed or empty)
//     for (int y = 0; y < raster.m_nHeight; ++y)
//         for (int x = 0; x < raster.m_nWidth; ++x)
//             if (raster.ink(x, y)) ...   // one black pixel at (x0 + x, y0 + y)
//
// The raster contract:
//   - m_nWidth is a multiple of 8. When the drawn width w is not, the image is
//     widened by 8 - (w mod 8) blank columns, half of them (rounded down) on the
//     left and the rest on the right.
//   - One bit per pixel, rows from top to bottom, each row m_nWidth / 8 bytes,
//     no gap between rows: m_vecBits.size() == m_nWidth / 8 * m_nHeight.
//   - Byte k of a row holds columns 8k .. 8k+7, least significant bit first
//     (bit value 1 << j is column 8k + j).
//   - A set bit is ink (black), a clear bit is background (not drawn).
//   - The image is the bounding box of the ink (plus the padding above).
//   - Images stay within TEX_MAX_WIDTH x TEX_MAX_HEIGHT, so a row stride fits
//     in one byte; a formula that would be larger is refused.
//
// Beside the raster the renderer returns the names of the commands and
// environments it does not know ("\foo", "\begin{foo}"); they are drawn as
// their source text in a thin frame.
//
// Everything here is synchronous and meant for the user-interface thread; the
// fonts are opened on the first render and kept for the life of the process.
// Calls from several threads are serialised.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tex {

// Size of the text buffers of the pipeline: the processed text with its
// terminating zero must fit, so the text itself stays below this many bytes.
inline constexpr size_t TEX_BUFFER_SIZE = 8192;
inline constexpr int TEX_MAX_WIDTH = 2040;
inline constexpr int TEX_MAX_HEIGHT = 4096;

struct TEX_RASTER {
    int32_t m_nWidth = 0;             // pixels, a multiple of 8; 0 when empty
    int32_t m_nHeight = 0;            // pixels; 0 when empty
    int32_t m_nBaseline = 0;          // the first line's baseline runs under this row (may lie
                                      // outside the image when nothing reaches the baseline)
    int32_t m_nOriginX = 0;           // the column where the formula's left edge lies
    std::vector<uint8_t> m_vecBits;   // m_nWidth / 8 bytes per row, top row first
    std::vector<std::string> m_vecUnknown;  // unknown commands, each once, in order

    bool empty() const { return m_nWidth <= 0 || m_nHeight <= 0; }
    int stride() const { return m_nWidth / 8; }
    // True when pixel (x, y) is ink; false outside the image.
    bool ink(int x, int y) const;
    void clear();
};

// The same formula as anti-aliased coverage for a screen that shows it m_dScale
// times larger (a 2x display, a zoomed window): the layout of the one-bit
// image, every length times the scale, glyphs drawn with grey edges at their
// true shape and rules on whole device pixels. The image is the bounding box
// of the ink; its width needs no padding.
struct TEX_GRAY_RASTER {
    int32_t m_nWidth = 0;             // device pixels; 0 when empty
    int32_t m_nHeight = 0;
    double m_dScale = 1;
    int32_t m_nBaseline = 0;          // as in TEX_RASTER, in device pixels
    int32_t m_nOriginX = 0;
    std::vector<uint8_t> m_vecCoverage;  // one byte per pixel, rows top down: 0 clear .. 255 full ink
    std::vector<std::string> m_vecUnknown;

    bool empty() const { return m_nWidth <= 0 || m_nHeight <= 0; }
    // Coverage of pixel (x, y); 0 outside the image.
    uint8_t coverage(int x, int y) const;
    void clear();
};

// Largest scale of a coverage raster: a 3x screen zoomed further still fits.
inline constexpr double TEX_MAX_SCALE = 8;

// The renderer entry: renders the text as it stands (a size command such as
// "\large" may lead it; without one the formula is set at \normalsize). The
// leading size command also picks the style: up to \normalsize a formula is
// set inline (text style: small fractions, limits beside \sum) so that it fits
// a 27-pixel row; from \large on it is set as a displayed formula.
// Returns an empty raster when the text cannot be rendered: it is
// TEX_BUFFER_SIZE bytes or longer, nests too deeply, would give an image
// larger than the limits, draws nothing, or the fonts are missing.
TEX_RASTER RenderTexRaster(std::string_view text);

// The coverage raster of the same text at a scale from 0.25 to TEX_MAX_SCALE;
// empty where RenderTexRaster is, and for a scale out of range.
TEX_GRAY_RASTER RenderTexGray(std::string_view text, double scale);

// Bracket processing, in place on a zero-terminated text in a buffer of
// nBufferSize bytes: every '(' whose previous character is not 't' becomes
// "\left( " and every ')' whose previous character is not 't' becomes
// " \right)". The first character counts as not preceded by 't'; brackets
// typed right after a 't' (\sqrt(, \left(, \right), a variable t) stay as they
// are. Returns false and leaves the text unchanged when the result would not
// fit in the buffer.
bool BraceProcessing(char* szText, size_t nBufferSize);

// The same on a string: false (text unchanged) when the result would reach TEX_BUFFER_SIZE bytes.
bool BraceProcessing(std::string& text);

// What a TeX view does with a new expression: the size command, one blank
// and the expression, then bracket processing, then the renderer.
TEX_RASTER renderExpression(std::string_view expression, std::string_view sizeCommand);

// The same without the bracket processing.
TEX_RASTER renderExpression2(std::string_view expression, std::string_view sizeCommand);

// What renderExpression (bProcessBrackets) or renderExpression2 renders, as a coverage raster.
TEX_GRAY_RASTER renderExpressionGray(std::string_view expression, std::string_view sizeCommand, double scale,
                                     bool bProcessBrackets = true);

}  // namespace tex
