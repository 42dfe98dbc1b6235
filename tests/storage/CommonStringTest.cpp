// The common string functions and the small parsers of the formula text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "storage/Formulas.h"
#include "storage/common_dstring.h"

namespace {

struct ReplaceCase {
    const char* text;
    const char* search;
    const char* replacement;
    const char* expected;
};

const ReplaceCase kReplaceCases[] = {
    // plain replacement
    {"a*b", "a", "(2)", "(2)*b"},
    {"a*a+a", "a", "(2)", "(2)*(2)+(2)"},
    {"no match", "x", "y", "no match"},
    {"", "a", "b", ""},
    {"img.PNG.PNG", ".PNG", ".png", "img.png.png"},
    // the search starts again from the beginning: new occurrences are replaced too
    {"aab", "ab", "b", "b"},
    {"aaabbb", "ab", "", ""},
    // replacement containing the search text: every original occurrence once
    {"ab", "b", "bb", "abb"},
    {"xax", "x", "xx", "xxaxx"},
    {"sin(", "sin(", "sin(", "sin("},
    {"a", "a", "(a)", "(a)"},
    // an empty search text changes nothing
    {"abc", "", "x", "abc"},
};

TEST(CommonString, ReplaceTable)
{
    for (const ReplaceCase& c : kReplaceCases) {
        EXPECT_EQ(common::string_replace(c.text, c.search, c.replacement), c.expected)
            << "replace \"" << c.search << "\" by \"" << c.replacement << "\" in \"" << c.text
            << "\"";
    }
}

TEST(CommonString, ReplaceEndsOnAGrowingCascade)
{
    // "ab" -> "bba" moves each a rightwards past doubling b's: replacing until
    // none is left would need 2^40 steps. The call must come back, with no
    // occurrence of the original text left unreplaced in a single pass.
    std::string text = std::string(40, 'a') + "b";
    std::string result = common::string_replace(text, "ab", "bba");
    EXPECT_GT(result.size(), text.size());
    EXPECT_LT(result.size(), text.size() + (1u << 18));
}

struct TrimCase {
    const char* text;
    const char* set;
    const char* expected;
};

const TrimCase kTrimCases[] = {
    {"  a b  ", " ", "a b"},
    {"\r\n\t x \t\r\n", " \r\n\t", "x"},
    {" \t \r\n", " \r\n\t", ""},
    {"", " ", ""},
    {"xx", "", "xx"},
    {"=a=", "=", "a"},
};

TEST(CommonString, TrimTable)
{
    for (const TrimCase& c : kTrimCases)
        EXPECT_EQ(common::string_trim(c.text, c.set), c.expected) << "\"" << c.text << "\"";
}

struct SplitCase {
    const char* text;
    const char* separator;
    std::vector<std::string> expected;
};

TEST(CommonString, SplitTable)
{
    const SplitCase cases[] = {
        {"a/b/c", "/", {"a", "b", "c"}},
        {"/a", "/", {"", "a"}},  // leading separator: an empty first piece
        {"a/", "/", {"a", ""}},
        {"", "/", {""}},
        {"abc", "/", {"abc"}},
        {"a::b", "::", {"a", "b"}},
        {"a//b", "/", {"a", "", "b"}},
        {"abc", "", {"abc"}},
    };
    for (const SplitCase& c : cases) {
        std::vector<std::string> out = {"kept"};
        common::string_split(c.text, c.separator, out);
        std::vector<std::string> expected = {"kept"};
        expected.insert(expected.end(), c.expected.begin(), c.expected.end());
        EXPECT_EQ(out, expected) << "\"" << c.text << "\" by \"" << c.separator << "\"";
    }
}

TEST(CommonString, PiecesAreClippedToTheText)
{
    EXPECT_EQ(common::string_left("abc", 2), "ab");
    EXPECT_EQ(common::string_left("abc", 9), "abc");
    EXPECT_EQ(common::string_right("abc", 2), "bc");
    EXPECT_EQ(common::string_right("abc", 9), "abc");
    EXPECT_EQ(common::string_sub("abcdef", 2, 3), "cde");
    EXPECT_EQ(common::string_sub("abc", 2, 9), "c");
    EXPECT_EQ(common::string_sub("abc", 3, 1), "");
    EXPECT_EQ(common::string_sub("abc", 99, 1), "");
}

TEST(CommonString, CaseMappingTouchesAsciiLettersOnly)
{
    EXPECT_EQ(common::toUpper("sin(x) + Ω2é"), "SIN(X) + Ω2é");
    EXPECT_EQ(common::toLower("SQRT(A)_Ä"), "sqrt(a)_Ä");
}

// ---- Formula text parsers ---------------------------------------------------------

struct IdCase {
    const char* id;
    std::uint32_t expected;
};

const IdCase kIdCases[] = {
    {".3.2.1", 0x03020100},
    {"3.2", 0x03020000},
    {".3.2", 0x03020000},
    {".12", 0x0C000000},
    {"..3.2..", 0x03020000},
    {"1.2.3.4.5", 0x01020304},  // only four components count
    {"256.1", 0x00010000},      // a component keeps its low 8 bits
    {"257", 0x01000000},
    {"99999999999999999999", 0xFF000000},  // long runs do not overflow
    {"3x.2", 0x03020000},                  // leading digits only
    {"a.b", 0},
    {".3..2", 0x03000200},
    {"", 0},
    {".", 0},
};

TEST(FormulaText, ParseFormulaIdTable)
{
    for (const IdCase& c : kIdCases) {
        std::uint32_t n = 0xDEADBEEF;
        parseFormulaId(c.id, n);
        EXPECT_EQ(n, c.expected) << "id \"" << c.id << "\"";
    }
}

TEST(FormulaText, SplitStringAtTheFirstEquals)
{
    std::string key, value;
    EXPECT_TRUE(splitString("  ForName =  a = b \r\n", key, value));
    EXPECT_EQ(key, "ForName");
    EXPECT_EQ(value, "a = b");
    EXPECT_TRUE(splitString("Image=", key, value));
    EXPECT_EQ(key, "Image");
    EXPECT_EQ(value, "");
    EXPECT_FALSE(splitString("***", key, value));
    EXPECT_EQ(key, "");
    EXPECT_EQ(value, "");
}

struct ParamCase {
    const char* value;
    bool complete;
    const char* fields[5];
};

const ParamCase kParamCases[] = {
    {"\"n\" \"d\" \"a\" \"u\" \"0\"", true, {"n", "d", "a", "u", "0"}},
    {"\"v_0\"x\"Initial speed\"  \"u\",\"m/s\" junk \"\"", true,
     {"v_0", "Initial speed", "u", "m/s", ""}},
    {"\"n\" \"d\" \"a\"", false, {"n", "d", "a", "", ""}},
    {"\"n\" \"d", false, {"n", "", "", "", ""}},  // an unpaired quote gives nothing
    {"", false, {"", "", "", "", ""}},
    {"\"1\" \"2\" \"3\" \"4\" \"5\" \"6\"", true, {"1", "2", "3", "4", "5"}},
};

TEST(FormulaText, ParseFormulaParamTable)
{
    for (const ParamCase& c : kParamCases) {
        _tag_formula_parameter param;
        param.m_strName = "stale";
        EXPECT_EQ(parseFormulaParam(c.value, param), c.complete) << c.value;
        EXPECT_EQ(param.m_strName, c.fields[0]) << c.value;
        EXPECT_EQ(param.m_strDescription, c.fields[1]) << c.value;
        EXPECT_EQ(param.m_strAlias, c.fields[2]) << c.value;
        EXPECT_EQ(param.m_strUnit, c.fields[3]) << c.value;
        EXPECT_EQ(param.m_strValue, c.fields[4]) << c.value;
    }
}

TEST(FormulaText, SplitStringArrayTable)
{
    const std::pair<const char*, std::vector<std::string>> cases[] = {
        {"\"a*b\" \"c/d\" \"\"", {"a*b", "c/d", ""}},
        {"", {}},
        {"no quotes", {}},
        {"\"x\" \"y", {"x"}},  // the unpaired last quote is ignored
        {"\"\"", {""}},
    };
    for (const auto& [value, expected] : cases) {
        std::vector<std::string> items = {"stale"};
        splitStringArray(value, items);
        EXPECT_EQ(items, expected) << value;
    }
}

}  // namespace
