#pragma once

// PNG output of a TeX raster, so that a render can be looked at outside the
// program (calcudex-cli tex). Black ink on white: a one-bit raster as a
// one-bit greyscale PNG with each pixel enlarged to a nScale x nScale square,
// a coverage raster as an 8-bit greyscale PNG. The deflate stream is stored
// (uncompressed): a few kilobytes for a formula, no compression library needed.

#include <cstdint>
#include <string>
#include <vector>

#include "tex/TexRender.h"

namespace tex {

inline constexpr int TEX_PNG_MAX_SCALE = 16;

// The PNG file's bytes; empty for an empty raster or a scale outside 1..TEX_PNG_MAX_SCALE.
std::vector<uint8_t> EncodeRasterPng(const TEX_RASTER& raster, int nScale);

// Writes the PNG to a file; false when there is nothing to write or the file
// cannot be written completely.
bool WriteRasterPng(const TEX_RASTER& raster, int nScale, const std::string& path);

// The coverage raster as an 8-bit PNG (255 - coverage); empty for an empty raster.
std::vector<uint8_t> EncodeGrayPng(const TEX_GRAY_RASTER& raster);
bool WriteGrayPng(const TEX_GRAY_RASTER& raster, const std::string& path);

}  // namespace tex
