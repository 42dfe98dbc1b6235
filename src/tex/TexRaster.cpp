#include "tex/TexRaster.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "tex/MathFont.h"

namespace tex {
namespace {

// One-bit glyph rasters hold 0 or 255 only; the threshold packs them to bits.
constexpr int mg_nInkThreshold = 128;

// A glyph or rule at its place in device pixels.
struct PLACED {
    const GLYPH_BITMAP* m_pBitmap = nullptr;  // null for a rule
    int m_nCol = 0;                           // top-left pixel, relative to the box origin
    int m_nRow = 0;
    int m_nWidth = 0;
    int m_nRows = 0;
};

// Everything the box draws, placed, with the bounding box of the ink.
struct PLACEMENT {
    std::vector<PLACED> m_vecPlaced;
    int m_nMinCol = INT_MAX;
    int m_nMaxCol = INT_MIN;
    int m_nMinRow = INT_MAX;
    int m_nMaxRow = INT_MIN;
    bool empty() const { return m_vecPlaced.empty() || m_nMaxCol <= m_nMinCol || m_nMaxRow <= m_nMinRow; }
};

// A rule snapped to whole device pixels, at least one pixel each way.
PLACED PlaceRule(const TEX_ITEM& item, double scale)
{
    PLACED p;
    int left = static_cast<int>(std::lround(item.m_dX * scale));
    int right = std::max(left + 1, static_cast<int>(std::lround((item.m_dX + item.m_dWidth) * scale)));
    int top = -static_cast<int>(std::lround((item.m_dY + item.m_dHeight) * scale));
    int bottom = std::max(top + 1, -static_cast<int>(std::lround(item.m_dY * scale)));
    p.m_nCol = left;
    p.m_nRow = top;
    p.m_nWidth = right - left;
    p.m_nRows = bottom - top;
    return p;
}

// A glyph: the baseline on a whole pixel; the pen on a whole pixel for one
// bit, on a quarter pixel for coverage.
bool PlaceGlyph(const TEX_ITEM& item, double scale, TexGlyphMode mode, PLACED& p)
{
    double x = item.m_dX * scale;
    int col = static_cast<int>(std::lround(x));
    int phase = 0;
    if (mode == GLYPH_COVERAGE) {
        int quarters = static_cast<int>(std::floor(x * 4 + 0.5));
        col = quarters >> 2;
        phase = quarters & 3;
    }
    const GLYPH_BITMAP* bitmap = MathFont::instance().bitmap(static_cast<TexFontId>(item.m_nFont), item.m_nGlyph,
                                                             item.m_dSize * scale, mode, phase);
    if (!bitmap || bitmap->m_nWidth <= 0 || bitmap->m_nRows <= 0)
        return false;
    p.m_pBitmap = bitmap;
    p.m_nCol = col + bitmap->m_nLeft;
    p.m_nRow = -static_cast<int>(std::lround(item.m_dY * scale)) - bitmap->m_nTop;
    p.m_nWidth = bitmap->m_nWidth;
    p.m_nRows = bitmap->m_nRows;
    return true;
}

// False when the box reaches far beyond any screen: not worth placing pixel by pixel.
bool PlaceItems(const TEX_BOX& box, double scale, TexGlyphMode mode, PLACEMENT& out)
{
    if (!(box.m_dWidth < 4 * TEX_MAX_WIDTH && box.m_dHeight + box.m_dDepth < 4 * TEX_MAX_HEIGHT))
        return false;
    out.m_vecPlaced.reserve(box.m_vecItems.size());
    for (const TEX_ITEM& item : box.m_vecItems) {
        if (!(std::fabs(item.m_dX) < 4 * TEX_MAX_WIDTH && std::fabs(item.m_dY) < 4 * TEX_MAX_HEIGHT))
            return false;
        PLACED p;
        if (item.m_kind == TEX_ITEM::GLYPH) {
            if (!PlaceGlyph(item, scale, mode, p))
                continue;
        } else {
            // A rule over empty content (\frac{}{}) has no length and draws nothing.
            if (item.m_dWidth < 0.5 || item.m_dHeight < 0.5)
                continue;
            p = PlaceRule(item, scale);
        }
        out.m_nMinCol = std::min(out.m_nMinCol, p.m_nCol);
        out.m_nMaxCol = std::max(out.m_nMaxCol, p.m_nCol + p.m_nWidth);
        out.m_nMinRow = std::min(out.m_nMinRow, p.m_nRow);
        out.m_nMaxRow = std::max(out.m_nMaxRow, p.m_nRow + p.m_nRows);
        out.m_vecPlaced.push_back(p);
    }
    return true;
}

// Draws the placed items into a byte-per-pixel canvas whose top-left corner
// is device pixel (col0, row0) of the box. Where ink overlaps the darker
// pixel wins: the overlapping pieces of an assembled arrow or brace would
// otherwise show as dark spots along a grey shaft.
void Paint(const PLACEMENT& placement, int col0, int row0, int width, std::vector<uint8_t>& canvas)
{
    for (const PLACED& p : placement.m_vecPlaced) {
        int left = p.m_nCol - col0;
        int top = p.m_nRow - row0;
        for (int r = 0; r < p.m_nRows; ++r) {
            uint8_t* dst = &canvas[static_cast<size_t>(top + r) * static_cast<size_t>(width) + static_cast<size_t>(left)];
            if (!p.m_pBitmap) {
                std::fill(dst, dst + p.m_nWidth, uint8_t(255));
                continue;
            }
            const uint8_t* src = &p.m_pBitmap->m_vecCoverage[static_cast<size_t>(r) * static_cast<size_t>(p.m_nWidth)];
            for (int c = 0; c < p.m_nWidth; ++c)
                dst[c] = std::max(dst[c], src[c]);
        }
    }
}

}  // namespace

bool RasterizeTexBox(const TEX_BOX& box, TEX_RASTER& out)
{
    out.clear();
    PLACEMENT placement;
    if (!PlaceItems(box, 1.0, GLYPH_MONO, placement) || placement.empty())
        return false;
    // The image is the bounding box of the ink, so that a view centres what it shows.
    int width = placement.m_nMaxCol - placement.m_nMinCol;
    int height = placement.m_nMaxRow - placement.m_nMinRow;
    int padded = (width + 7) / 8 * 8;
    if (padded > TEX_MAX_WIDTH || height > TEX_MAX_HEIGHT)
        return false;
    int left = (padded - width) / 2;

    // A byte per pixel while drawing, packed to bits at the end.
    std::vector<uint8_t> canvas(static_cast<size_t>(padded) * static_cast<size_t>(height), 0);
    Paint(placement, placement.m_nMinCol - left, placement.m_nMinRow, padded, canvas);

    out.m_nWidth = padded;
    out.m_nHeight = height;
    out.m_nBaseline = -placement.m_nMinRow - 1;
    out.m_nOriginX = left - placement.m_nMinCol;
    int stride = padded / 8;
    out.m_vecBits.assign(static_cast<size_t>(stride) * static_cast<size_t>(height), 0);
    for (int r = 0; r < height; ++r) {
        const uint8_t* src = &canvas[static_cast<size_t>(r) * static_cast<size_t>(padded)];
        uint8_t* dst = &out.m_vecBits[static_cast<size_t>(r) * static_cast<size_t>(stride)];
        for (int c = 0; c < padded; ++c) {
            if (src[c] >= mg_nInkThreshold)
                dst[c >> 3] = static_cast<uint8_t>(dst[c >> 3] | (1u << (c & 7)));
        }
    }
    return true;
}

bool RasterizeTexBoxGray(const TEX_BOX& box, double scale, TEX_GRAY_RASTER& out)
{
    out.clear();
    PLACEMENT placement;
    if (!PlaceItems(box, scale, GLYPH_COVERAGE, placement) || placement.empty())
        return false;
    int width = placement.m_nMaxCol - placement.m_nMinCol;
    int height = placement.m_nMaxRow - placement.m_nMinRow;
    // The limits of the one-bit image, counted in its pixels.
    if (width > std::ceil(TEX_MAX_WIDTH * scale) || height > std::ceil(TEX_MAX_HEIGHT * scale))
        return false;
    out.m_vecCoverage.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
    Paint(placement, placement.m_nMinCol, placement.m_nMinRow, width, out.m_vecCoverage);
    out.m_nWidth = width;
    out.m_nHeight = height;
    out.m_dScale = scale;
    out.m_nBaseline = -placement.m_nMinRow - 1;
    out.m_nOriginX = -placement.m_nMinCol;
    return true;
}

}  // namespace tex
