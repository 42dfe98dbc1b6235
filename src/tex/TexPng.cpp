#include "tex/TexPng.h"

#include <algorithm>
#include <array>
#include <cstdio>

namespace tex {
namespace {

const std::array<uint32_t, 256>& CrcTable()
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    return table;
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0)
{
    crc = ~crc;
    for (size_t i = 0; i < size; ++i)
        crc = CrcTable()[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

void PutBigEndian(std::vector<uint8_t>& out, uint32_t value)
{
    out.push_back(static_cast<uint8_t>(value >> 24));
    out.push_back(static_cast<uint8_t>(value >> 16));
    out.push_back(static_cast<uint8_t>(value >> 8));
    out.push_back(static_cast<uint8_t>(value));
}

void PutChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data)
{
    PutBigEndian(out, static_cast<uint32_t>(data.size()));
    size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(&out[start], out.size() - start));
}

// A zlib stream of stored deflate blocks (each at most 65535 bytes).
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw)
{
    std::vector<uint8_t> out;
    out.reserve(raw.size() + raw.size() / 65535 * 5 + 16);
    out.push_back(0x78);
    out.push_back(0x01);
    size_t pos = 0;
    do {
        size_t block = std::min<size_t>(65535, raw.size() - pos);
        bool last = pos + block == raw.size();
        out.push_back(last ? 1 : 0);
        out.push_back(static_cast<uint8_t>(block));
        out.push_back(static_cast<uint8_t>(block >> 8));
        out.push_back(static_cast<uint8_t>(~block));
        out.push_back(static_cast<uint8_t>(~block >> 8));
        out.insert(out.end(), raw.begin() + static_cast<ptrdiff_t>(pos),
                   raw.begin() + static_cast<ptrdiff_t>(pos + block));
        pos += block;
    } while (pos < raw.size());
    uint32_t a = 1;
    uint32_t b = 0;
    for (uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, (b << 16) | a);
    return out;
}

// A greyscale PNG of the given bit depth around rows that each start with their filter byte.
std::vector<uint8_t> PngFile(uint32_t width, uint32_t height, uint8_t bitDepth, const std::vector<uint8_t>& raw)
{
    static const uint8_t signature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> png(signature, signature + sizeof(signature));
    std::vector<uint8_t> header;
    PutBigEndian(header, width);
    PutBigEndian(header, height);
    header.push_back(bitDepth);
    header.push_back(0);  // greyscale
    header.push_back(0);  // deflate
    header.push_back(0);  // adaptive filtering
    header.push_back(0);  // no interlace
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", StoredZlib(raw));
    PutChunk(png, "IEND", {});
    return png;
}

bool WriteFile(const std::vector<uint8_t>& bytes, const std::string& path)
{
    if (bytes.empty())
        return false;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    size_t written = std::fwrite(bytes.data(), 1, bytes.size(), file);
    bool closed = std::fclose(file) == 0;
    return written == bytes.size() && closed;
}

}  // namespace

std::vector<uint8_t> EncodeRasterPng(const TEX_RASTER& raster, int nScale)
{
    if (raster.empty() || nScale < 1 || nScale > TEX_PNG_MAX_SCALE ||
        raster.m_vecBits.size() != static_cast<size_t>(raster.stride()) * static_cast<size_t>(raster.m_nHeight))
        return {};
    uint32_t width = static_cast<uint32_t>(raster.m_nWidth) * static_cast<uint32_t>(nScale);
    uint32_t height = static_cast<uint32_t>(raster.m_nHeight) * static_cast<uint32_t>(nScale);
    size_t rowBytes = (width + 7) / 8;

    // PNG rows: a filter byte (0, none) and the pixels, most significant bit
    // first, 0 = black. White everywhere, then the ink cleared in.
    std::vector<uint8_t> raw((rowBytes + 1) * height, 0xFF);
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = &raw[y * (rowBytes + 1)];
        row[0] = 0;
        for (uint32_t x = 0; x < width; ++x) {
            if (raster.ink(static_cast<int>(x) / nScale, static_cast<int>(y) / nScale))
                row[1 + x / 8] = static_cast<uint8_t>(row[1 + x / 8] & ~(0x80u >> (x % 8)));
        }
    }
    return PngFile(width, height, 1, raw);
}

std::vector<uint8_t> EncodeGrayPng(const TEX_GRAY_RASTER& raster)
{
    if (raster.empty() ||
        raster.m_vecCoverage.size() != static_cast<size_t>(raster.m_nWidth) * static_cast<size_t>(raster.m_nHeight))
        return {};
    uint32_t width = static_cast<uint32_t>(raster.m_nWidth);
    uint32_t height = static_cast<uint32_t>(raster.m_nHeight);
    std::vector<uint8_t> raw((width + 1) * height, 0);
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = &raw[y * (width + 1)];
        const uint8_t* coverage = &raster.m_vecCoverage[y * width];
        for (uint32_t x = 0; x < width; ++x)
            row[1 + x] = static_cast<uint8_t>(255 - coverage[x]);
    }
    return PngFile(width, height, 8, raw);
}

bool WriteRasterPng(const TEX_RASTER& raster, int nScale, const std::string& path)
{
    return WriteFile(EncodeRasterPng(raster, nScale), path);
}

bool WriteGrayPng(const TEX_GRAY_RASTER& raster, const std::string& path)
{
    return WriteFile(EncodeGrayPng(raster), path);
}

}  // namespace tex
