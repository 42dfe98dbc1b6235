#include "tex/TexRaster.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "tex/MathFont.h"

namespace tex {
namespace {

// Glyph rasters are one-bit already; where pieces of a symbol overlap
// (delimiter assemblies) the sum is still full ink.
constexpr int mg_nInkThreshold = 128;

struct PLACED {
    const GLYPH_BITMAP* m_pBitmap = nullptr;  // null for a rule
    int m_nCol = 0;                           // top-left pixel, relative to the box origin
    int m_nRow = 0;
    int m_nWidth = 0;
    int m_nRows = 0;
};

}  // namespace

bool RasterizeTexBox(const TEX_BOX& box, TEX_RASTER& out)
{
    out.clear();
    MathFont& font = MathFont::instance();
    // Far beyond any screen: not worth laying out pixel by pixel.
    if (!(box.m_dWidth < 4 * TEX_MAX_WIDTH && box.m_dHeight + box.m_dDepth < 4 * TEX_MAX_HEIGHT))
        return false;

    // The image is the bounding box of the ink, so that a view centres what it shows.
    std::vector<PLACED> placed;
    placed.reserve(box.m_vecItems.size());
    int minCol = INT_MAX;
    int maxCol = INT_MIN;
    int minRow = INT_MAX;
    int maxRow = INT_MIN;
    bool anyInk = false;
    for (const TEX_ITEM& item : box.m_vecItems) {
        if (!(std::fabs(item.m_dX) < 4 * TEX_MAX_WIDTH && std::fabs(item.m_dY) < 4 * TEX_MAX_HEIGHT))
            return false;
        PLACED p;
        if (item.m_kind == TEX_ITEM::GLYPH) {
            // Pen and baseline on whole pixels, where the hinted glyph was rasterised.
            int col = static_cast<int>(std::lround(item.m_dX));
            const GLYPH_BITMAP* bitmap = font.bitmap(static_cast<TexFontId>(item.m_nFont), item.m_nGlyph, item.m_dSize);
            if (!bitmap || bitmap->m_nWidth <= 0 || bitmap->m_nRows <= 0)
                continue;
            p.m_pBitmap = bitmap;
            p.m_nCol = col + bitmap->m_nLeft;
            p.m_nRow = -static_cast<int>(std::lround(item.m_dY)) - bitmap->m_nTop;
            p.m_nWidth = bitmap->m_nWidth;
            p.m_nRows = bitmap->m_nRows;
        } else {
            // A rule over empty content (\frac{}{}) has no length and draws nothing.
            if (item.m_dWidth < 0.5 || item.m_dHeight < 0.5)
                continue;
            int left = static_cast<int>(std::lround(item.m_dX));
            int right = std::max(left + 1, static_cast<int>(std::lround(item.m_dX + item.m_dWidth)));
            int top = -static_cast<int>(std::lround(item.m_dY + item.m_dHeight));
            int bottom = std::max(top + 1, -static_cast<int>(std::lround(item.m_dY)));
            p.m_nCol = left;
            p.m_nRow = top;
            p.m_nWidth = right - left;
            p.m_nRows = bottom - top;
        }
        anyInk = true;
        minCol = std::min(minCol, p.m_nCol);
        maxCol = std::max(maxCol, p.m_nCol + p.m_nWidth);
        minRow = std::min(minRow, p.m_nRow);
        maxRow = std::max(maxRow, p.m_nRow + p.m_nRows);
        placed.push_back(p);
    }
    if (!anyInk)
        return false;
    int width = maxCol - minCol;
    int height = maxRow - minRow;
    if (width <= 0 || height <= 0)
        return false;
    int padded = (width + 7) / 8 * 8;
    if (padded > TEX_MAX_WIDTH || height > TEX_MAX_HEIGHT)
        return false;
    int left = (padded - width) / 2;

    // A byte per pixel while drawing, packed to bits at the end.
    std::vector<uint8_t> canvas(static_cast<size_t>(padded) * static_cast<size_t>(height), 0);
    for (const PLACED& p : placed) {
        int col0 = p.m_nCol - minCol + left;
        int row0 = p.m_nRow - minRow;
        for (int r = 0; r < p.m_nRows; ++r) {
            uint8_t* dst = &canvas[static_cast<size_t>(row0 + r) * padded + col0];
            if (!p.m_pBitmap) {
                std::fill(dst, dst + p.m_nWidth, uint8_t(255));
                continue;
            }
            const uint8_t* src = &p.m_pBitmap->m_vecCoverage[static_cast<size_t>(r) * p.m_nWidth];
            for (int c = 0; c < p.m_nWidth; ++c) {
                int sum = dst[c] + src[c];
                dst[c] = static_cast<uint8_t>(sum > 255 ? 255 : sum);
            }
        }
    }

    out.m_nWidth = padded;
    out.m_nHeight = height;
    out.m_nBaseline = -minRow - 1;
    int stride = padded / 8;
    out.m_vecBits.assign(static_cast<size_t>(stride) * height, 0);
    for (int r = 0; r < height; ++r) {
        const uint8_t* src = &canvas[static_cast<size_t>(r) * padded];
        uint8_t* dst = &out.m_vecBits[static_cast<size_t>(r) * stride];
        for (int c = 0; c < padded; ++c) {
            if (src[c] >= mg_nInkThreshold)
                dst[c >> 3] = static_cast<uint8_t>(dst[c >> 3] | (1u << (c & 7)));
        }
    }
    return true;
}

}  // namespace tex
