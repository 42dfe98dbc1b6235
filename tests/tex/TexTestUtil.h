#pragma once

// Helpers of the TeX renderer tests: measuring where the ink of a raster is,
// and the boxes of the layout.

#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "tex/TexLayout.h"
#include "tex/TexParser.h"
#include "tex/TexRender.h"

namespace textest {

struct INK_BOUNDS {
    int m_nLeft = -1;
    int m_nTop = -1;
    int m_nRight = -1;   // inclusive
    int m_nBottom = -1;  // inclusive
    bool empty() const { return m_nLeft < 0; }
    int width() const { return empty() ? 0 : m_nRight - m_nLeft + 1; }
    int height() const { return empty() ? 0 : m_nBottom - m_nTop + 1; }
};

inline INK_BOUNDS InkBounds(const tex::TEX_RASTER& r)
{
    INK_BOUNDS b;
    for (int y = 0; y < r.m_nHeight; ++y) {
        for (int x = 0; x < r.m_nWidth; ++x) {
            if (!r.ink(x, y))
                continue;
            if (b.empty()) {
                b.m_nLeft = b.m_nRight = x;
                b.m_nTop = b.m_nBottom = y;
            }
            b.m_nLeft = std::min(b.m_nLeft, x);
            b.m_nRight = std::max(b.m_nRight, x);
            b.m_nTop = std::min(b.m_nTop, y);
            b.m_nBottom = std::max(b.m_nBottom, y);
        }
    }
    return b;
}

inline int InkInRow(const tex::TEX_RASTER& r, int y)
{
    int n = 0;
    for (int x = 0; x < r.m_nWidth; ++x)
        n += r.ink(x, y) ? 1 : 0;
    return n;
}

inline int InkInColumn(const tex::TEX_RASTER& r, int x)
{
    int n = 0;
    for (int y = 0; y < r.m_nHeight; ++y)
        n += r.ink(x, y) ? 1 : 0;
    return n;
}

inline int InkTotal(const tex::TEX_RASTER& r)
{
    int n = 0;
    for (int y = 0; y < r.m_nHeight; ++y)
        n += InkInRow(r, y);
    return n;
}

inline bool SameImage(const tex::TEX_RASTER& a, const tex::TEX_RASTER& b)
{
    return a.m_nWidth == b.m_nWidth && a.m_nHeight == b.m_nHeight && a.m_vecBits == b.m_vecBits;
}

inline tex::TEX_RASTER Render(const std::string& text)
{
    return tex::RenderTexRaster(text);
}

inline tex::TEX_BOX Layout(const std::string& text)
{
    tex::TexList list;
    EXPECT_TRUE(tex::ParseTex(text, list)) << text;
    return tex::LayoutTex(list);
}

inline double Width(const std::string& text)
{
    return Layout(text).m_dWidth;
}

}  // namespace textest
