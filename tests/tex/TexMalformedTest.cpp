// Malformed and hostile input: never a crash or a hang; either an image or none.
#include <chrono>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "TexTestUtil.h"

namespace {

using textest::Render;

struct MALFORMED_CASE {
    const char* m_szText;
    bool m_bImage;  // whether something is drawn
};

const MALFORMED_CASE mg_arrMalformedCases[] = {
    // Unbalanced braces
    {"{", false},
    {"}", false},
    {"}}}x", true},
    {"{{{x", true},
    {"x}", true},
    {"\\frac{a}{b", true},
    // Missing arguments
    {"\\frac", false},
    {"\\frac{a}", true},
    {"\\sqrt", true},          // the radical sign alone
    {"\\sqrt[", true},
    {"\\sqrt[3", true},
    {"x^", true},
    {"x_", true},
    {"^", false},
    {"^^^^^^", false},
    {"x^^2", true},
    {"\\vec", true},            // the arrow over nothing
    {"\\hspace", false},
    {"\\hspace{", false},
    {"\\text{", false},
    {"\\mathbf", false},
    // Stray delimiters and alignment
    {"\\left(", true},
    {"\\left", false},
    {"\\right)", true},
    {"\\right", false},
    {"\\left( x \\right", true},
    {"\\left\\foo x", true},
    {"&&&", false},
    {"a & b", true},
    {"\\end{array}", false},
    {"\\begin{array}", false},
    {"\\begin{array}{", false},
    {"\\begin{matrix} a & b", true},
    {"\\begin{foo} a \\end{bar}", true},
    {"\\begin{array}{|c|} \\hline a \\\\ \\hline \\end{array}", true},
    // Empty groups and lines
    {"{}", false},
    {"{}^{}_{}", false},
    {"\\\\", false},
    {"\\\\\\\\\\\\", false},
    {"\\fbox{}", true},        // an empty frame is still a frame
    {"\\left. \\right.", false},
    // Lone backslashes, unknown commands, odd bytes
    {"\\", false},
    {"x\\", true},
    {"\\unknowncommand", true},
    {"\\@#!", true},
    {"\xFF\xFE", false},
    {"\xE2\x82", false},
    {"\xE2\x82\xAC", true},  // a euro sign typed directly
    {"a\x01\x02 b", true},
    {"$x$", true},
    {"\\text{$x}", true},
    {"%", true},
    // Commands of the classic language with their arguments missing or cut short
    {"\\over", false},
    {"a \\over", true},
    {"a \\over b \\over c", true},
    {"\\genfrac", false},
    {"\\genfrac{(}{)}{", true},
    {"\\rule", false},
    {"\\rule{1em}", false},
    {"\\middle|", true},
    {"\\left( a \\middle", true},
    {"\\xrightarrow[", true},
    {"\\raisebox{", false},
    {"\\substack{", false},
    {"\\substack{a\\\\", true},
    {"\\begin{subarray}", false},
    {"\\kern", false},
    {"a\\kern-", true},
    {"a\\\\[", true},
    {"\\tag{", true},     // the parentheses of the label
    {"\\'", true},
    {"\\c", true},
    {"\\not", true},      // the slash alone
    {"\\smash[", false},
    {"\\operatorname*{", false},
    {"\\begin{pmatrix*}[", true},  // the parentheses of an empty matrix
    {"\\hspace{1e999cm}x", true},
};

TEST(TexMalformedTest, OddInputRendersOrGivesNoImage)
{
    for (const MALFORMED_CASE& c : mg_arrMalformedCases) {
        for (const char* size : {"", "\\large ", "\\normalsize "}) {
            tex::TEX_RASTER raster = Render(std::string(size) + c.m_szText);
            EXPECT_EQ(!raster.empty(), c.m_bImage) << size << c.m_szText;
            if (!raster.empty()) {
                EXPECT_EQ(raster.m_nWidth % 8, 0) << c.m_szText;
                EXPECT_EQ(raster.m_vecBits.size(), static_cast<size_t>(raster.stride() * raster.m_nHeight));
            }
        }
    }
}

TEST(TexMalformedTest, LongTextsAreBoundedBelowTheBufferSize)
{
    // 8191 bytes still render; 8192 bytes are refused.
    std::string text = "x" + std::string(tex::TEX_BUFFER_SIZE - 2, ' ');
    ASSERT_EQ(text.size(), tex::TEX_BUFFER_SIZE - 1);
    EXPECT_FALSE(Render(text).empty());
    text += ' ';
    EXPECT_TRUE(Render(text).empty());
    // An 8000-byte formula too wide for any screen gives no image, and quickly.
    std::string wide;
    while (wide.size() < 8000)
        wide += "x+";
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(Render(wide).empty());
    EXPECT_TRUE(tex::renderExpression(wide, "\\large").empty());
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count(), 2000);
    // 8000 bytes of many short lines: too tall, refused.
    std::string tall;
    while (tall.size() < 8000)
        tall += "x\\\\";
    EXPECT_TRUE(Render(tall).empty());
}

TEST(TexMalformedTest, DeepNestingIsRefusedNotFollowed)
{
    const char* openers[] = {"{", "\\sqrt{", "\\frac{", "\\left(", "x^{", "\\text{", "\\fbox{", "\\begin{matrix}",
                             "\\sqrt[", "\\substack{", "\\begin{foo}", "\\mathchoice{", "\\not", "\\xrightarrow[",
                             "\\operatorname{", "\\left(\\middle(", "{a\\over", "\\raisebox{1pt}{"};
    for (const char* opener : openers) {
        std::string text;
        for (int i = 0; i < 3000; ++i)
            text += opener;
        text += "x";
        EXPECT_TRUE(Render(text).empty()) << opener;
    }
    // Reasonable nesting renders.
    EXPECT_FALSE(Render("\\frac{\\frac{\\frac{\\frac{1}{2}}{3}}{4}}{5}").empty());
    EXPECT_FALSE(Render("\\sqrt{\\sqrt{\\sqrt{\\sqrt{x}}}}").empty());
}

TEST(TexMalformedTest, RandomTokenSoupNeverBreaksTheContract)
{
    const char* tokens[] = {"{", "}", "^", "_", "&", "\\\\", "\\frac", "\\sqrt", "[", "]", "\\left(",
                            "\\right)", "\\left.", "\\right|", "(", ")", "x", "2", "+", "=", "\\text{",
                            "\\fbox{", "\\begin{array}{lc}", "\\end{array}", "\\begin{cases}", "\\end{cases}",
                            "\\hspace{", "50}", "\\alpha", "\\sum", "\\int", "\\limits", "\\vec", "\\hat{",
                            "\\overline{", "\\big(", "\\large", "\\tiny", "\\displaystyle", " ", "'", "$",
                            "\\not", "\\foo", "\\", "\xCE\xB1", "\xFF", "%", "\\operatorname{", "\\mathbf{",
                            "\\over", "\\choose", "\\middle|", "\\genfrac", "\\rule{", "\\xrightarrow[",
                            "\\substack{", "\\begin{smallmatrix}", "\\end{smallmatrix}", "\\mathchoice",
                            "\\smash[", "\\kern", "1em", "\\\\[", "\\raisebox{", "\\tag{", "\\'",
                            "\\llap{", "\\begin{aligned}", "\\cr", "\\mathop{", "\\text{\xD0\x9F"};
    std::mt19937 random(8118);
    for (int i = 0; i < 3000; ++i) {
        std::string text;
        int count = 1 + static_cast<int>(random() % 30);
        for (int k = 0; k < count; ++k)
            text += tokens[random() % (sizeof(tokens) / sizeof(tokens[0]))];
        tex::TEX_RASTER raster = Render(text);
        if (raster.empty()) {
            EXPECT_EQ(raster.m_nWidth, 0);
            EXPECT_TRUE(raster.m_vecBits.empty());
            continue;
        }
        ASSERT_EQ(raster.m_nWidth % 8, 0) << text;
        ASSERT_LE(raster.m_nWidth, tex::TEX_MAX_WIDTH) << text;
        ASSERT_LE(raster.m_nHeight, tex::TEX_MAX_HEIGHT) << text;
        ASSERT_EQ(raster.m_vecBits.size(), static_cast<size_t>(raster.stride() * raster.m_nHeight)) << text;
    }
}

}  // namespace
