// TeX as the TeX views get it: any text after a size command, with and
// without the bracket processing, rendered to a one-bit raster. The first
// byte picks the size command and the processing.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "tex/TexRender.h"

namespace {

const char* const kSizes[] = {"\\normalsize", "\\large", "\\small", ""};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0 || size > 1024)
        return 0;
    const std::string text(fuzz::asText(data + 1, size - 1));
    const char* szSize = kSizes[data[0] & 3];
    const tex::TEX_RASTER raster =
        (data[0] & 4) ? tex::renderExpression2(text, szSize) : tex::renderExpression(text, szSize);
    // The raster contract: whole bytes per row, within the limits, no more bits than pixels.
    if (!raster.empty() &&
        (raster.m_nWidth % 8 != 0 || raster.m_nWidth > tex::TEX_MAX_WIDTH || raster.m_nHeight > tex::TEX_MAX_HEIGHT ||
         raster.m_vecBits.size() != static_cast<std::size_t>(raster.stride() * raster.m_nHeight)))
        __builtin_trap();
    for (int y = 0; y < raster.m_nHeight; y += 7)
        for (int x = 0; x < raster.m_nWidth; x += 5)
            (void)raster.ink(x, y);
    return 0;
}
