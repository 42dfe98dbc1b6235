// The corpus of tests/tex/data/TexCorpus.txt: every expression of the classic
// math language renders with no unknown command, as one bit and as coverage;
// contact sheets of the corpus go to build/screenshots/tex/ to be looked at.
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tex/TexPng.h"
#include "tex/TexRender.h"

namespace {

struct CORPUS_LINE {
    std::string m_strGroup;
    std::string m_strText;
    int m_nLine = 0;
};

std::vector<CORPUS_LINE> ReadCorpus()
{
    std::vector<CORPUS_LINE> lines;
    std::ifstream in(CALCUDEX_TEX_CORPUS);
    std::string line;
    std::string group;
    for (int number = 1; std::getline(in, line); ++number) {
        if (line.empty())
            continue;
        if (line[0] == '#') {
            if (line.starts_with("## "))
                group = line.substr(3);
            continue;
        }
        lines.push_back({group, line, number});
    }
    return lines;
}

TEST(TexCorpusTest, EveryExpressionRendersWithNoUnknownCommand)
{
    std::vector<CORPUS_LINE> corpus = ReadCorpus();
    ASSERT_GE(corpus.size(), 250u);
    for (const CORPUS_LINE& c : corpus) {
        for (const char* size : {"\\normalsize", "\\large"}) {
            tex::TEX_RASTER mono = tex::renderExpression(c.m_strText, size);
            ASSERT_FALSE(mono.empty()) << c.m_nLine << ": " << c.m_strText;
            EXPECT_TRUE(mono.m_vecUnknown.empty()) << c.m_nLine << ": " << c.m_strText << " " << mono.m_vecUnknown[0];
            EXPECT_EQ(mono.m_nWidth % 8, 0);
        }
        tex::TEX_GRAY_RASTER gray = tex::renderExpressionGray(c.m_strText, "\\large", 2);
        ASSERT_FALSE(gray.empty()) << c.m_nLine << ": " << c.m_strText;
        EXPECT_TRUE(gray.m_vecUnknown.empty()) << c.m_strText;
    }
}

// A white sheet of 8-bit coverage (0 white, 255 black) that images are copied onto.
struct SHEET {
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<uint8_t> m_vecPixels;

    void grow(int height)
    {
        if (height <= m_nHeight)
            return;
        m_vecPixels.resize(static_cast<size_t>(m_nWidth) * static_cast<size_t>(height), 0);
        m_nHeight = height;
    }
    void put(int x, int y, uint8_t value)
    {
        if (x >= 0 && x < m_nWidth && y >= 0 && y < m_nHeight)
            m_vecPixels[static_cast<size_t>(y) * static_cast<size_t>(m_nWidth) + static_cast<size_t>(x)] = value;
    }
};

enum SHEET_KIND { SHEET_MONO, SHEET_GRAY };

struct CELL_IMAGE {
    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<uint8_t> m_vecPixels;
};

// One render as coverage: the one-bit raster enlarged pixel by pixel, or the coverage raster at the scale.
CELL_IMAGE RenderCell(const std::string& text, const char* size, SHEET_KIND kind, int scale)
{
    CELL_IMAGE cell;
    if (kind == SHEET_GRAY) {
        tex::TEX_GRAY_RASTER gray = tex::renderExpressionGray(text, size, scale);
        cell.m_nWidth = gray.m_nWidth;
        cell.m_nHeight = gray.m_nHeight;
        cell.m_vecPixels = gray.m_vecCoverage;
        return cell;
    }
    tex::TEX_RASTER mono = tex::renderExpression(text, size);
    cell.m_nWidth = mono.m_nWidth * scale;
    cell.m_nHeight = mono.m_nHeight * scale;
    cell.m_vecPixels.resize(static_cast<size_t>(cell.m_nWidth) * static_cast<size_t>(cell.m_nHeight));
    for (int y = 0; y < cell.m_nHeight; ++y) {
        for (int x = 0; x < cell.m_nWidth; ++x)
            cell.m_vecPixels[static_cast<size_t>(y * cell.m_nWidth + x)] = mono.ink(x / scale, y / scale) ? 255 : 0;
    }
    return cell;
}

void Blit(SHEET& sheet, const CELL_IMAGE& cell, int x0, int y0, int maxWidth)
{
    sheet.grow(y0 + cell.m_nHeight);
    for (int y = 0; y < cell.m_nHeight; ++y) {
        for (int x = 0; x < std::min(cell.m_nWidth, maxWidth); ++x)
            sheet.put(x0 + x, y0 + y, cell.m_vecPixels[static_cast<size_t>(y * cell.m_nWidth + x)]);
    }
}

// Three columns of the phone's width; each cell has the line number of the
// expression above it and the expression in a frame of its own size.
bool WriteSheet(const std::vector<CORPUS_LINE>& lines, const char* size, SHEET_KIND kind, int scale,
                const std::string& path)
{
    const int column = 320 * scale;
    SHEET sheet;
    sheet.m_nWidth = 3 * column;
    int y = 4 * scale;
    for (size_t i = 0; i < lines.size(); i += 3) {
        int rowHeight = 0;
        for (size_t k = i; k < std::min(lines.size(), i + 3); ++k) {
            int x = static_cast<int>(k - i) * column + 6 * scale;
            CELL_IMAGE label = RenderCell("\\texttt{" + std::to_string(lines[k].m_nLine) + "}", "\\scriptsize", kind, scale);
            Blit(sheet, label, x, y, column);
            CELL_IMAGE cell = RenderCell(lines[k].m_strText, size, kind, scale);
            Blit(sheet, cell, x, y + label.m_nHeight + 3 * scale, column - 12 * scale);
            rowHeight = std::max(rowHeight, label.m_nHeight + 3 * scale + cell.m_nHeight);
        }
        y += rowHeight + 12 * scale;
        sheet.grow(y);
    }
    tex::TEX_GRAY_RASTER image;
    image.m_nWidth = sheet.m_nWidth;
    image.m_nHeight = sheet.m_nHeight;
    image.m_vecCoverage = std::move(sheet.m_vecPixels);
    return tex::WriteGrayPng(image, path);
}

TEST(TexCorpusTest, ContactSheetsAreWritten)
{
    std::vector<CORPUS_LINE> corpus = ReadCorpus();
    std::filesystem::path folder(CALCUDEX_TEX_SCREENSHOTS);
    std::filesystem::create_directories(folder);
    std::vector<std::string> groups;
    for (const CORPUS_LINE& c : corpus) {
        if (std::find(groups.begin(), groups.end(), c.m_strGroup) == groups.end())
            groups.push_back(c.m_strGroup);
    }
    struct {
        const char* m_szName;
        const char* m_szSize;
        SHEET_KIND m_kind;
        int m_nScale;
    } kinds[] = {
        {"large-1x-mono", "\\large", SHEET_MONO, 1},    {"large-2x-mono", "\\large", SHEET_MONO, 2},
        {"large-1x-gray", "\\large", SHEET_GRAY, 1},    {"large-2x-gray", "\\large", SHEET_GRAY, 2},
        {"normal-1x-mono", "\\normalsize", SHEET_MONO, 1}, {"normal-2x-gray", "\\normalsize", SHEET_GRAY, 2},
    };
    for (const std::string& group : groups) {
        std::vector<CORPUS_LINE> lines;
        std::copy_if(corpus.begin(), corpus.end(), std::back_inserter(lines),
                     [&group](const CORPUS_LINE& c) { return c.m_strGroup == group; });
        std::string stem = group;
        std::replace(stem.begin(), stem.end(), ' ', '-');
        std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char c) { return std::tolower(c); });
        for (const auto& kind : kinds) {
            std::filesystem::path path = folder / (stem + "-" + kind.m_szName + ".png");
            EXPECT_TRUE(WriteSheet(lines, kind.m_szSize, kind.m_kind, kind.m_nScale, path.string())) << path;
            EXPECT_GT(std::filesystem::file_size(path), 1000u) << path;
        }
    }
}

}  // namespace
