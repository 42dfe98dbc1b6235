#pragma once

// Last stage of the TeX renderer: a laid-out box becomes the one-bit raster
// of TexRender.h. Glyphs come from FreeType's hinted monochrome rasteriser
// with their pen on whole pixels; rules are snapped to whole pixels.

#include "tex/TexLayout.h"
#include "tex/TexRender.h"

namespace tex {

// False (and an empty raster) when the box draws nothing or exceeds the size limits.
bool RasterizeTexBox(const TEX_BOX& box, TEX_RASTER& out);

}  // namespace tex
