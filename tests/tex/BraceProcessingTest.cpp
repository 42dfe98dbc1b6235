// Bracket processing and the renderExpression pipeline around it.
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "TexTestUtil.h"
#include "tex/TexRender.h"

namespace {

using tex::BraceProcessing;

// The rule as a reader states it: scan from the start; replace the first
// bracket not preceded by 't'; then scan again from the second character.
std::string ReferenceBraceProcessing(std::string text)
{
    size_t pos = 0;
    while (pos < text.size()) {
        char c = text[pos];
        bool preceded = pos > 0 && text[pos - 1] == 't';
        if ((c == '(' || c == ')') && !preceded) {
            text.replace(pos, 1, c == '(' ? "\\left( " : " \\right)");
            pos = 1;
            continue;
        }
        ++pos;
    }
    return text;
}

struct BRACE_CASE {
    const char* m_szInput;
    const char* m_szExpected;
};

const BRACE_CASE mg_arrBraceCases[] = {
    // Plain brackets become \left( and \right)
    {"f(x)", "f\\left( x \\right)"},
    {"(a+b)", "\\left( a+b \\right)"},
    {"\\large (a)", "\\large \\left( a \\right)"},
    {"((x))", "\\left( \\left( x \\right) \\right)"},
    {"a)(b", "a \\right)\\left( b"},
    // A bracket right after 't' stays as typed
    {"\\sqrt(x)", "\\sqrt(x \\right)"},
    {"\\left(x\\right)", "\\left(x\\right)"},
    {"v(t)", "v\\left( t)"},
    {"at(5)", "at(5 \\right)"},
    {"t(", "t("},
    // No brackets, nothing to do
    {"", ""},
    {"x^2 + y^2", "x^2 + y^2"},
    {"[a]\\{b\\}", "[a]\\{b\\}"},
    // The first character has no predecessor
    {"(", "\\left( "},
    {")", " \\right)"},
};

TEST(BraceProcessingTest, RewritesBracketsNotPrecededByT)
{
    for (const BRACE_CASE& c : mg_arrBraceCases) {
        char buffer[tex::TEX_BUFFER_SIZE] = {};
        std::strncpy(buffer, c.m_szInput, sizeof(buffer) - 1);
        ASSERT_TRUE(BraceProcessing(buffer, sizeof(buffer))) << c.m_szInput;
        EXPECT_STREQ(buffer, c.m_szExpected) << c.m_szInput;

        std::string text = c.m_szInput;
        ASSERT_TRUE(BraceProcessing(text)) << c.m_szInput;
        EXPECT_EQ(text, c.m_szExpected) << c.m_szInput;
    }
}

TEST(BraceProcessingTest, AgreesWithRescanningAfterEveryReplacement)
{
    std::mt19937 random(20240611);
    const char alphabet[] = "()t(x)\\ t";
    for (int i = 0; i < 2000; ++i) {
        std::string text;
        size_t length = random() % 24;
        for (size_t k = 0; k < length; ++k)
            text += alphabet[random() % (sizeof(alphabet) - 1)];
        std::string processed = text;
        ASSERT_TRUE(BraceProcessing(processed));
        EXPECT_EQ(processed, ReferenceBraceProcessing(text)) << "input: " << text;
    }
}

// The processed text and its terminating zero must fit the buffer; when they
// would not, the text is refused and left as it was.
struct FIT_CASE {
    size_t m_nBrackets;   // '(' characters after a filler of plain letters
    size_t m_nFiller;
    bool m_bFits;
};

const FIT_CASE mg_arrFitCases[] = {
    {0, tex::TEX_BUFFER_SIZE - 1, true},          // longest text without brackets
    {1, tex::TEX_BUFFER_SIZE - 1 - 7, true},      // 7 bytes "\left( " plus zero: exactly full
    {1, tex::TEX_BUFFER_SIZE - 1 - 6, false},     // one byte too many
    {1170, 0, true},                               // 1170 * 7 = 8190 bytes
    {1171, 0, false},                              // 8197 bytes would overrun
};

TEST(BraceProcessingTest, RefusesResultsThatOverflowTheBuffer)
{
    for (const FIT_CASE& c : mg_arrFitCases) {
        std::string input(c.m_nFiller, 'x');
        input += std::string(c.m_nBrackets, '(');
        ASSERT_LT(input.size(), tex::TEX_BUFFER_SIZE);
        std::vector<char> buffer(tex::TEX_BUFFER_SIZE, '\0');
        std::memcpy(buffer.data(), input.c_str(), input.size() + 1);
        // A guard byte right after the buffer must never be written.
        buffer.push_back('#');
        EXPECT_EQ(BraceProcessing(buffer.data(), tex::TEX_BUFFER_SIZE), c.m_bFits)
            << c.m_nBrackets << " brackets after " << c.m_nFiller << " letters";
        EXPECT_EQ(buffer.back(), '#');
        if (!c.m_bFits)
            EXPECT_EQ(std::string(buffer.data()), input);
        else
            EXPECT_EQ(std::strlen(buffer.data()), c.m_nFiller + 7 * c.m_nBrackets);
    }
}

TEST(BraceProcessingTest, RefusesAnUnterminatedBuffer)
{
    char buffer[4] = {'(', '(', '(', '('};
    EXPECT_FALSE(BraceProcessing(buffer, sizeof(buffer)));
    EXPECT_EQ(std::string(buffer, 4), "((((");
    EXPECT_FALSE(BraceProcessing(nullptr, 10));
}

// The pipeline of a TeX view: size command, one blank, expression, bracket
// processing, render.
TEST(RenderExpressionTest, ComposesSizeBlankAndProcessedExpression)
{
    using textest::Render;
    using textest::SameImage;
    EXPECT_TRUE(SameImage(tex::renderExpression("f(x)", "\\large"), Render("\\large f\\left( x \\right)")));
    EXPECT_TRUE(SameImage(tex::renderExpression2("f(x)", "\\large"), Render("\\large f(x)")));
    EXPECT_TRUE(SameImage(tex::renderExpression("\\sqrt(x)", "\\normalsize"),
                          Render("\\normalsize \\sqrt(x \\right)")));
    // The size command really is a separate word: "\large" + "x" must not read as "\largex".
    EXPECT_TRUE(SameImage(tex::renderExpression("x", "\\large"), Render("\\large x")));
    EXPECT_FALSE(tex::renderExpression("x", "\\large").empty());
}

TEST(RenderExpressionTest, EmptyOrOversizedExpressionGivesNoImage)
{
    EXPECT_TRUE(tex::renderExpression("", "\\large").empty());
    EXPECT_TRUE(tex::renderExpression("   ", "\\normalsize").empty());
    // "\large" + blank + expression reaches the buffer size: refused before rendering.
    std::string longText(tex::TEX_BUFFER_SIZE - 7, 'x');
    EXPECT_TRUE(tex::renderExpression(longText, "\\large").empty());
    // Fits before bracket processing (1807 bytes), not after it (9607 bytes).
    std::string brackets;
    for (int i = 0; i < 600; ++i)
        brackets += "(x)";
    EXPECT_TRUE(tex::renderExpression(brackets, "\\large").empty());
}

TEST(RenderExpressionTest, ExpressionEndsAtAnEmbeddedZero)
{
    std::string text("x+1", 3);
    text += '\0';
    text += "\\frac{a}{b}";
    EXPECT_TRUE(textest::SameImage(tex::renderExpression(text, "\\large"), tex::renderExpression("x+1", "\\large")));
}

}  // namespace
