// Every TeX text of the shipped books renders: formulas, their detail pages
// as the detail screen composes them, parameter symbols with units as the
// calculation rows compose them, and TeX picture pages.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tex/TexRender.h"

namespace {

struct TEX_TEXT {
    std::string m_strWhere;
    std::string m_strText;
    std::string m_strSize;
    int m_nMaxHeight = 0;  // 0: any
};

std::string Trim(const std::string& text)
{
    const char* blanks = " \r\n\t";
    size_t begin = text.find_first_not_of(blanks);
    if (begin == std::string::npos)
        return {};
    return text.substr(begin, text.find_last_not_of(blanks) - begin + 1);
}

std::vector<std::string> QuotedFields(const std::string& value)
{
    std::vector<std::string> fields;
    size_t pos = 0;
    for (;;) {
        size_t open = value.find('"', pos);
        if (open == std::string::npos)
            break;
        size_t close = value.find('"', open + 1);
        if (close == std::string::npos)
            break;
        fields.push_back(value.substr(open + 1, close - open - 1));
        pos = close + 1;
    }
    return fields;
}

struct PARAM {
    std::string m_strName;
    std::string m_strDescription;
    std::string m_strUnit;
};

// The TeX texts that the screens build from one book's formula text.
std::vector<TEX_TEXT> CollectTexTexts(std::istream& in, const std::string& book)
{
    std::vector<TEX_TEXT> texts;
    std::string line;
    bool inFormula = false;
    std::string id;
    std::string mime;
    std::vector<PARAM> params;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line == "***") {
            inFormula = true;
            id.clear();
            mime.clear();
            params.clear();
            continue;
        }
        if (!inFormula)
            continue;
        size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        std::string key = Trim(line.substr(0, eq));
        for (char& c : key)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        std::string value = Trim(line.substr(eq + 1));
        std::string where = book + " " + id;
        if (key == "forid") {
            id = value;
        } else if (key == "formime") {
            mime = value;
        } else if (key == "para") {
            std::vector<std::string> f = QuotedFields(value);
            f.resize(5);
            params.push_back({f[0], f[1], f[3]});
        } else if (key == "image") {
            inFormula = false;
            if (!mime.empty())
                texts.push_back({where + " formula", mime, "\\large", 0});
            std::string page = "\\text{Formula:\\\\\\fbox{" + mime + "}\\\\\\hspace{50}\\\\";
            for (const PARAM& p : params) {
                if (!p.m_strDescription.empty())
                    page += " + " + p.m_strName + " : " + p.m_strDescription + "\\\\";
            }
            page += "}\\\\";
            texts.push_back({where + " detail page", page, "\\large", 0});
            for (const PARAM& p : params) {
                std::string unit = p.m_strName.empty() ? p.m_strUnit
                                                       : p.m_strName + "\\hspace{1}(" + p.m_strUnit + ")";
                if (!unit.empty())
                    texts.push_back({where + " parameter " + p.m_strName, unit, "\\normalsize", 27});
            }
            for (const std::string& image : QuotedFields(value)) {
                bool picture = image.find(".png") != std::string::npos || image.find(".PNG") != std::string::npos;
                if (!image.empty() && !picture && image.find(book + "_") == std::string::npos)
                    texts.push_back({where + " picture page", image, "\\large", 0});
            }
        }
    }
    return texts;
}

std::vector<std::string> FailuresOf(const std::vector<TEX_TEXT>& texts)
{
    std::vector<std::string> failures;
    for (const TEX_TEXT& t : texts) {
        tex::TEX_RASTER raster = tex::renderExpression(t.m_strText, t.m_strSize);
        if (raster.empty())
            failures.push_back(t.m_strWhere + ": no image for " + t.m_strText);
        else if (t.m_nMaxHeight && raster.m_nHeight > t.m_nMaxHeight)
            failures.push_back(t.m_strWhere + ": " + std::to_string(raster.m_nHeight) + " pixels high: " + t.m_strText);
        else if (!raster.m_vecUnknown.empty())
            failures.push_back(t.m_strWhere + ": unknown " + raster.m_vecUnknown[0] + " in " + t.m_strText);
    }
    return failures;
}

const char mg_szSampleBook[] =
    "*\r\nForId= 1\r\nForName= Mechanics\r\n\r\n"
    "***\r\nForId= 1.1\r\nForType= 1\r\nForName= Newton\r\nForDes= Force\r\n"
    "ForMime= F = m a\r\n"
    "Para= \"F\" \"force\" \"f\" \"N\" \"0\"\r\n"
    "Para= \"m\" \"mass (of the body)\" \"m\" \"kg\" \"0\"\r\n"
    "Para= \"a\" \"\" \"a\" \"m/s^2\" \"0\"\r\n"
    "For= \"m*a\" \"f/a\" \"f/m\"\r\n"
    "Image= \"newton.png\" \"\\frac{dp}{dt} = F\" \"Sample_skip\"\r\n";

TEST(TexBooksTest, WalkerComposesWhatTheScreensShow)
{
    std::istringstream in(mg_szSampleBook);
    std::vector<TEX_TEXT> texts = CollectTexTexts(in, "Sample");
    ASSERT_EQ(texts.size(), 6u);
    EXPECT_EQ(texts[0].m_strText, "F = m a");
    EXPECT_EQ(texts[1].m_strText,
              "\\text{Formula:\\\\\\fbox{F = m a}\\\\\\hspace{50}\\\\ + F : force\\\\ + m : mass (of the body)\\\\}\\\\");
    EXPECT_EQ(texts[2].m_strText, "F\\hspace{1}(N)");
    EXPECT_EQ(texts[4].m_strText, "a\\hspace{1}(m/s^2)");
    EXPECT_EQ(texts[5].m_strText, "\\frac{dp}{dt} = F");
    std::vector<std::string> failures = FailuresOf(texts);
    EXPECT_TRUE(failures.empty()) << failures.front();
}

TEST(TexBooksTest, EveryTexTextOfTheShippedBooksRenders)
{
    // CALCUDEX_TEX_BOOKS points the walk at another folder of book texts.
    const char* other = std::getenv("CALCUDEX_TEX_BOOKS");
    std::filesystem::path folder(other && *other ? other : CALCUDEX_BOOKS_SOURCE);
    std::vector<std::filesystem::path> books;
    if (std::filesystem::is_directory(folder)) {
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (entry.path().extension() == ".txt" && entry.path().filename() != "CMakeLists.txt")
                books.push_back(entry.path());
        }
    }
    if (books.empty())
        GTEST_SKIP() << "no book texts in " << folder;
    size_t total = 0;
    std::vector<std::string> failures;
    for (const auto& path : books) {
        std::ifstream in(path, std::ios::binary);
        std::vector<TEX_TEXT> texts = CollectTexTexts(in, path.stem().string());
        total += texts.size();
        for (std::string& f : FailuresOf(texts))
            failures.push_back(std::move(f));
    }
    EXPECT_GT(total, 0u);
    for (const std::string& f : failures)
        ADD_FAILURE() << f;
}

}  // namespace
