// PNG output: a decoder written from the file format checks what the encoder writes.
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tex/TexPng.h"

namespace {

uint32_t BigEndian(const std::vector<uint8_t>& d, size_t at)
{
    return (uint32_t(d[at]) << 24) | (uint32_t(d[at + 1]) << 16) | (uint32_t(d[at + 2]) << 8) | d[at + 3];
}

uint32_t BitwiseCrc(const uint8_t* data, size_t size)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

struct DECODED_PNG {
    uint32_t m_nWidth = 0;
    uint32_t m_nHeight = 0;
    std::vector<std::vector<bool>> m_vecBlack;  // [y][x]
    std::string m_strError;
};

// Reads a one-bit greyscale PNG whose deflate stream is made of stored blocks.
DECODED_PNG Decode(const std::vector<uint8_t>& png)
{
    DECODED_PNG out;
    const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(signature, signature + 8, png.begin())) {
        out.m_strError = "signature";
        return out;
    }
    std::vector<uint8_t> zlib;
    bool ended = false;
    for (size_t pos = 8; pos + 12 <= png.size();) {
        uint32_t length = BigEndian(png, pos);
        std::string type(png.begin() + static_cast<long>(pos) + 4, png.begin() + static_cast<long>(pos) + 8);
        if (pos + 12 + length > png.size()) {
            out.m_strError = "truncated chunk " + type;
            return out;
        }
        if (BitwiseCrc(&png[pos + 4], length + 4) != BigEndian(png, pos + 8 + length)) {
            out.m_strError = "crc of " + type;
            return out;
        }
        const uint8_t* data = &png[pos + 8];
        if (type == "IHDR") {
            out.m_nWidth = BigEndian(png, pos + 8);
            out.m_nHeight = BigEndian(png, pos + 12);
            if (length != 13 || data[8] != 1 || data[9] != 0 || data[10] || data[11] || data[12]) {
                out.m_strError = "header";
                return out;
            }
        } else if (type == "IDAT") {
            zlib.insert(zlib.end(), data, data + length);
        } else if (type == "IEND") {
            ended = true;
        }
        pos += 12 + length;
    }
    if (!ended || zlib.size() < 6 || zlib[0] != 0x78 || ((zlib[0] << 8) | zlib[1]) % 31 != 0) {
        out.m_strError = "stream";
        return out;
    }
    std::vector<uint8_t> raw;
    size_t pos = 2;
    for (bool last = false; !last;) {
        if (pos + 5 > zlib.size() || (zlib[pos] & 0x06) != 0) {
            out.m_strError = "block";
            return out;
        }
        last = zlib[pos] & 1;
        uint16_t len = uint16_t(zlib[pos + 1] | (zlib[pos + 2] << 8));
        uint16_t nlen = uint16_t(zlib[pos + 3] | (zlib[pos + 4] << 8));
        if (uint16_t(~len) != nlen || pos + 5 + len > zlib.size()) {
            out.m_strError = "block length";
            return out;
        }
        raw.insert(raw.end(), zlib.begin() + static_cast<long>(pos) + 5, zlib.begin() + static_cast<long>(pos) + 5 + len);
        pos += 5 + len;
    }
    uint32_t a = 1, b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    if (pos + 4 != zlib.size() || BigEndian(zlib, pos) != ((b << 16) | a)) {
        out.m_strError = "adler";
        return out;
    }
    size_t rowBytes = (out.m_nWidth + 7) / 8;
    if (raw.size() != (rowBytes + 1) * out.m_nHeight) {
        out.m_strError = "image size";
        return out;
    }
    for (uint32_t y = 0; y < out.m_nHeight; ++y) {
        const uint8_t* row = &raw[y * (rowBytes + 1)];
        if (row[0] != 0) {
            out.m_strError = "filter";
            return out;
        }
        std::vector<bool> line(out.m_nWidth);
        for (uint32_t x = 0; x < out.m_nWidth; ++x)
            line[x] = ((row[1 + x / 8] >> (7 - x % 8)) & 1) == 0;
        out.m_vecBlack.push_back(std::move(line));
    }
    return out;
}

tex::TEX_RASTER Pattern(int width, int height)
{
    tex::TEX_RASTER r;
    r.m_nWidth = width;
    r.m_nHeight = height;
    r.m_vecBits.assign(static_cast<size_t>(width / 8 * height), 0);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((x * 7 + y * 3) % 5 == 0 || x == y)
                r.m_vecBits[static_cast<size_t>(y * (width / 8) + x / 8)] |= uint8_t(1u << (x % 8));
        }
    }
    return r;
}

struct PNG_CASE {
    int m_nWidth;
    int m_nHeight;
    int m_nScale;
};

const PNG_CASE mg_arrPngCases[] = {
    {8, 1, 1},
    {16, 5, 1},
    {24, 7, 3},    // scaled width 72: not a whole number of PNG bytes before scaling
    {40, 3, 5},
    {2040, 40, 2}, // raw image over 65535 bytes: several stored blocks
};

TEST(TexPngTest, PixelsSurviveTheRoundTrip)
{
    for (const PNG_CASE& c : mg_arrPngCases) {
        tex::TEX_RASTER raster = Pattern(c.m_nWidth, c.m_nHeight);
        DECODED_PNG png = Decode(tex::EncodeRasterPng(raster, c.m_nScale));
        ASSERT_EQ(png.m_strError, "") << c.m_nWidth << "x" << c.m_nHeight;
        ASSERT_EQ(png.m_nWidth, uint32_t(c.m_nWidth * c.m_nScale));
        ASSERT_EQ(png.m_nHeight, uint32_t(c.m_nHeight * c.m_nScale));
        int mismatches = 0;
        for (uint32_t y = 0; y < png.m_nHeight; ++y) {
            for (uint32_t x = 0; x < png.m_nWidth; ++x) {
                bool ink = raster.ink(static_cast<int>(x) / c.m_nScale, static_cast<int>(y) / c.m_nScale);
                mismatches += png.m_vecBlack[y][x] != ink;
            }
        }
        EXPECT_EQ(mismatches, 0) << c.m_nWidth << "x" << c.m_nHeight << " scale " << c.m_nScale;
    }
}

TEST(TexPngTest, NothingToWriteGivesNoFile)
{
    tex::TEX_RASTER empty;
    EXPECT_TRUE(tex::EncodeRasterPng(empty, 1).empty());
    tex::TEX_RASTER raster = Pattern(8, 2);
    EXPECT_TRUE(tex::EncodeRasterPng(raster, 0).empty());
    EXPECT_TRUE(tex::EncodeRasterPng(raster, tex::TEX_PNG_MAX_SCALE + 1).empty());
    tex::TEX_RASTER broken = raster;
    broken.m_vecBits.pop_back();
    EXPECT_TRUE(tex::EncodeRasterPng(broken, 1).empty());

    std::filesystem::path path = std::filesystem::temp_directory_path() / "calcudex-tex-png-test.png";
    std::filesystem::remove(path);
    EXPECT_FALSE(tex::WriteRasterPng(empty, 1, path.string()));
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(tex::WriteRasterPng(raster, 2, path.string()));
    EXPECT_EQ(std::filesystem::file_size(path), tex::EncodeRasterPng(raster, 2).size());
    std::filesystem::remove(path);
    EXPECT_FALSE(tex::WriteRasterPng(raster, 1, (path / "no-such-folder" / "x.png").string()));
}

}  // namespace
