#pragma once

// Last stage of the TeX renderer: a laid-out box becomes the one-bit raster
// of TexRender.h, or a coverage raster at a scale. One-bit glyphs come from
// FreeType's hinted monochrome rasteriser with their pen on whole pixels;
// coverage glyphs are anti-aliased with their pen on quarter pixels; rules
// are snapped to whole pixels in both, at least one pixel thick.

#include "tex/TexLayout.h"
#include "tex/TexRender.h"

namespace tex {

// False (and an empty raster) when the box draws nothing or exceeds the size limits.
bool RasterizeTexBox(const TEX_BOX& box, TEX_RASTER& out);
bool RasterizeTexBoxGray(const TEX_BOX& box, double scale, TEX_GRAY_RASTER& out);

}  // namespace tex
