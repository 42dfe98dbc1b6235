// Layout: spacing between atoms, explicit spaces, styles and scripts, measured on boxes.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "TexTestUtil.h"

namespace {

using textest::Layout;
using textest::Width;

constexpr double mg_dMu = 15.0 / 18.0;  // one mu at \normalsize

struct SPACING_CASE {
    const char* m_szSpaced;   // the formula as TeX spaces it
    const char* m_szTight;    // the same glyphs with the spacing suppressed by braces
    double m_dMu;             // expected difference in mu
};

const SPACING_CASE mg_arrSpacingCases[] = {
    // Binary operators: medium space on both sides
    {"a+b", "a{+}b", 8},
    {"a-b", "a{-}b", 8},
    {"a\\cdot b", "a{\\cdot}b", 8},
    // A sign is not a binary operator
    {"-b", "{-}b", 0},
    {"a=-b", "a={-}b", 0},
    {"(-b)", "({-}b)", 0},
    {"a+)", "a{+})", 0},
    // Relations: thick space
    {"a=b", "a{=}b", 10},
    {"a\\le b", "a{\\le}b", 10},
    {"a\\to b", "a{\\to}b", 10},
    // Punctuation: thin space after
    {"a,b", "a{,}b", 3},
    // Operators: thin space before an ordinary atom, none before a bracket
    {"\\sin x", "{\\sin}x", 3},
    {"\\sin(x)", "{\\sin}(x)", 0},
    // \left ... \right spaces like the brackets it stands for
    {"f\\left( x \\right)", "f(x)", 0},
    {"\\sin\\left( x \\right)", "\\sin(x)", 0},
    {"\\left( x \\right) y", "(x)y", 0},
    {"\\left( x \\right) - y", "(x){-}y", 8},
    // ... unless set apart by an explicit space: a symbol and its unit
    {"v\\hspace{1}\\left( m \\right)", "v\\hspace{1}(m)", 3},
    // Blanks in mathematics do nothing
    {"a  +   b", "a+b", 0},
    // In scripts the medium and thick spaces vanish
    {"x^{a+b}", "x^{a{+}b}", 0},
    {"x_{a=b}", "x_{a{=}b}", 0},
};

TEST(TexLayoutTest, AtomsAreSpacedAsInTeX)
{
    for (const SPACING_CASE& c : mg_arrSpacingCases) {
        double difference = Width(c.m_szSpaced) - Width(c.m_szTight);
        EXPECT_NEAR(difference, c.m_dMu * mg_dMu, 0.01) << c.m_szSpaced;
    }
}

struct EXPLICIT_CASE {
    const char* m_szText;
    double m_dPixels;  // added width at \normalsize
};

const EXPLICIT_CASE mg_arrExplicitCases[] = {
    {"a\\hspace{50}b", 50},
    {"a\\hspace{1}b", 1},
    {"a\\hspace{2em}b", 30},
    {"a\\quad b", 15},
    {"a\\qquad b", 30},
    {"a\\,b", 3 * mg_dMu},
    {"a\\:b", 4 * mg_dMu},
    {"a\\;b", 5 * mg_dMu},
    {"a\\!b", -3 * mg_dMu},
    {"a~b", 5},
    {"\\large a\\quad b", 18},
};

TEST(TexLayoutTest, ExplicitSpacesAddTheirWidth)
{
    for (const EXPLICIT_CASE& c : mg_arrExplicitCases) {
        std::string text = c.m_szText;
        bool large = text.starts_with("\\large");
        double base = Width(large ? "\\large ab" : "ab");
        EXPECT_NEAR(Width(text) - base, c.m_dPixels, 0.01) << c.m_szText;
    }
}

TEST(TexLayoutTest, TextBlocksKeepTheirBlanks)
{
    EXPECT_GT(Width("\\text{a b}"), Width("\\text{ab}") + 3);
    EXPECT_NEAR(Width("\\text{a   b}"), Width("\\text{a b}"), 0.01);
    // Commands in a text block are followed by a visible blank.
    EXPECT_GT(Width("\\text{\\omega :}"), Width("\\text{\\omega:}") + 3);
}

TEST(TexLayoutTest, SizeCommandScalesTheWholeFormula)
{
    tex::TEX_BOX normal = Layout("\\normalsize \\frac{a}{b}");
    tex::TEX_BOX huge = Layout("\\Huge \\tfrac{a}{b}");
    double scale = tex::TexSizeOfCommand("Huge") / tex::TexSizeOfCommand("normalsize");
    EXPECT_NEAR(huge.m_dWidth, normal.m_dWidth * scale, 0.05 * huge.m_dWidth);
    // A size change later in the formula applies to what follows it only.
    EXPECT_NEAR(Width("a \\large a") - Width("a"), Width("\\large a"), 0.01);
    // Inside a group it ends with the group.
    EXPECT_NEAR(Width("{\\large a} a"), Width("\\large a") + Width("a"), 0.01);
}

TEST(TexLayoutTest, ScriptsClearTheirNucleus)
{
    tex::TEX_BOX x = Layout("x");
    tex::TEX_BOX sup = Layout("x^2");
    tex::TEX_BOX sub = Layout("x_2");
    tex::TEX_BOX both = Layout("x_2^2");
    EXPECT_GT(sup.m_dHeight, x.m_dHeight + 3);
    EXPECT_GT(sub.m_dDepth, x.m_dDepth + 2);
    EXPECT_GE(both.m_dHeight, sup.m_dHeight);
    EXPECT_GE(both.m_dDepth, sub.m_dDepth);
    // Scripts of a script are smaller still, but never below a readable size.
    tex::TEX_BOX nested = Layout("x^{x^{x^{x}}}");
    double smallest = 1e9;
    for (const tex::TEX_ITEM& item : nested.m_vecItems)
        smallest = std::min(smallest, item.m_dSize);
    EXPECT_GE(smallest, 7.0);
    EXPECT_LT(smallest, 15.0);
}

TEST(TexLayoutTest, ItalicCorrectionMovesOnlyTheSuperscript)
{
    // An italic f leans right: its superscript starts further right than its subscript.
    tex::TEX_BOX box = Layout("f_2^2");
    ASSERT_EQ(box.m_vecItems.size(), 3u);
    const tex::TEX_ITEM& sup = box.m_vecItems[1];
    const tex::TEX_ITEM& sub = box.m_vecItems[2];
    EXPECT_GT(sup.m_dY, 0);
    EXPECT_LT(sub.m_dY, 0);
    EXPECT_GT(sup.m_dX, sub.m_dX + 0.5);
    // A big operator's subscript tucks in under its slant instead.
    tex::TEX_BOX integral = Layout("\\large \\int_0^1");
    ASSERT_EQ(integral.m_vecItems.size(), 3u);
    EXPECT_GT(integral.m_vecItems[1].m_dX, integral.m_vecItems[2].m_dX + 2);
}

TEST(TexLayoutTest, FractionIsCentredOnTheAxis)
{
    tex::TEX_BOX box = Layout("\\frac{a}{b}");
    tex::TEX_BOX a = Layout("\\scriptstyle a");  // a text-style fraction sets its parts as scripts
    // Numerator above the baseline, denominator below, both centred.
    ASSERT_EQ(box.m_vecItems.size(), 3u);
    EXPECT_GT(box.m_vecItems[0].m_dY, 0);
    EXPECT_LT(box.m_vecItems[1].m_dY, 0);
    EXPECT_NEAR(box.m_vecItems[0].m_dX + a.m_dWidth / 2, box.m_dWidth / 2, 0.01);
    // The bar: at least one pixel thick, around the axis (a quarter em up).
    const tex::TEX_ITEM& bar = box.m_vecItems[2];
    EXPECT_EQ(bar.m_kind, tex::TEX_ITEM::RULE);
    EXPECT_GE(bar.m_dHeight, 1.0);
    EXPECT_NEAR(bar.m_dY + bar.m_dHeight / 2, 0.25 * 15, 0.5);
}

TEST(TexLayoutTest, MultiLineBlocksHangFromTheirFirstLine)
{
    tex::TEX_BOX one = Layout("\\large \\text{Formula:}");
    tex::TEX_BOX two = Layout("\\large \\text{Formula:\\\\second}");
    EXPECT_NEAR(two.m_dHeight, one.m_dHeight, 0.01);
    EXPECT_GT(two.m_dDepth, one.m_dDepth + 18);
    EXPECT_GE(two.m_dWidth, Layout("\\large \\text{second}").m_dWidth);
}

}  // namespace
