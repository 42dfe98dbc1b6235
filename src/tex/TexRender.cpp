#include "tex/TexRender.h"

#include <mutex>
#include <new>

#include "tex/MathFont.h"
#include "tex/TexLayout.h"
#include "tex/TexParser.h"
#include "tex/TexRaster.h"

namespace tex {
namespace {

std::mutex& RenderMutex()
{
    static std::mutex mutex;
    return mutex;
}

// The size command, one blank and the expression, as a view composes its text;
// the expression ends at an embedded zero as it would in a C buffer.
bool ComposeText(std::string_view expression, std::string_view sizeCommand, std::string& out)
{
    expression = expression.substr(0, expression.find('\0'));
    sizeCommand = sizeCommand.substr(0, sizeCommand.find('\0'));
    if (sizeCommand.size() + 1 + expression.size() >= TEX_BUFFER_SIZE)
        return false;
    out.clear();
    out.reserve(sizeCommand.size() + 1 + expression.size());
    out.append(sizeCommand).append(1, ' ').append(expression);
    return true;
}

}  // namespace

bool TEX_RASTER::ink(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return false;
    size_t index = static_cast<size_t>(y) * static_cast<size_t>(stride()) + static_cast<size_t>(x >> 3);
    return index < m_vecBits.size() && (m_vecBits[index] >> (x & 7)) & 1;
}

void TEX_RASTER::clear()
{
    m_nWidth = 0;
    m_nHeight = 0;
    m_nBaseline = 0;
    m_nOriginX = 0;
    m_vecBits.clear();
    m_vecUnknown.clear();
}

uint8_t TEX_GRAY_RASTER::coverage(int x, int y) const
{
    if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight)
        return 0;
    size_t index = static_cast<size_t>(y) * static_cast<size_t>(m_nWidth) + static_cast<size_t>(x);
    return index < m_vecCoverage.size() ? m_vecCoverage[index] : 0;
}

void TEX_GRAY_RASTER::clear()
{
    m_nWidth = 0;
    m_nHeight = 0;
    m_dScale = 1;
    m_nBaseline = 0;
    m_nOriginX = 0;
    m_vecCoverage.clear();
    m_vecUnknown.clear();
}

namespace {

// Parses and lays out the text, then hands the box to the rasteriser; the
// raster stays empty when any stage refuses.
template <typename RASTER, typename RASTERIZE>
RASTER Render(std::string_view text, RASTERIZE rasterize)
{
    RASTER raster;
    if (text.size() >= TEX_BUFFER_SIZE)
        return raster;
    try {
        std::lock_guard<std::mutex> lock(RenderMutex());
        if (!MathFont::instance().isLoaded())
            return raster;
        TexList list;
        std::vector<std::string> unknown;
        if (!ParseTex(text, list, &unknown))
            return raster;
        if (rasterize(LayoutTex(list), raster))
            raster.m_vecUnknown = std::move(unknown);
    } catch (const std::bad_alloc&) {
        raster.clear();
    }
    return raster;
}

}  // namespace

TEX_RASTER RenderTexRaster(std::string_view text)
{
    return Render<TEX_RASTER>(text, [](const TEX_BOX& box, TEX_RASTER& out) { return RasterizeTexBox(box, out); });
}

TEX_GRAY_RASTER RenderTexGray(std::string_view text, double scale)
{
    if (!(scale >= 0.25 && scale <= TEX_MAX_SCALE))
        return TEX_GRAY_RASTER();
    return Render<TEX_GRAY_RASTER>(
        text, [scale](const TEX_BOX& box, TEX_GRAY_RASTER& out) { return RasterizeTexBoxGray(box, scale, out); });
}

TEX_RASTER renderExpression(std::string_view expression, std::string_view sizeCommand)
{
    std::string text;
    if (!ComposeText(expression, sizeCommand, text) || !BraceProcessing(text))
        return TEX_RASTER();
    return RenderTexRaster(text);
}

TEX_RASTER renderExpression2(std::string_view expression, std::string_view sizeCommand)
{
    std::string text;
    if (!ComposeText(expression, sizeCommand, text))
        return TEX_RASTER();
    return RenderTexRaster(text);
}

TEX_GRAY_RASTER renderExpressionGray(std::string_view expression, std::string_view sizeCommand, double scale,
                                     bool bProcessBrackets)
{
    std::string text;
    if (!ComposeText(expression, sizeCommand, text) || (bProcessBrackets && !BraceProcessing(text)))
        return TEX_GRAY_RASTER();
    return RenderTexGray(text, scale);
}

}  // namespace tex
