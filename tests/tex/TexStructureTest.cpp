// What the classic constructs look like: commands that must equal their
// long forms, lengths in every unit, the styles tables set their cells in,
// legibility at small sizes, and the coverage raster's agreement with the
// one-bit image.
#include <cmath>
#include <string>

#include <gtest/gtest.h>

#include "TexTestUtil.h"

namespace {

using textest::InkBounds;
using textest::Render;
using textest::SameImage;

using textest::Layout;
using textest::Width;

struct SAME_CASE {
    const char* m_szShort;
    const char* m_szLong;
};

// Each row: two ways of writing the same thing, which must give the same image.
const SAME_CASE mg_arrSameCases[] = {
    // The infix fractions are \frac, \binom and \genfrac
    {"{a+b \\over c}", "\\frac{a+b}{c}"},
    {"{n \\choose k}", "\\binom{n}{k}"},
    {"{a \\atop b}", "\\genfrac{}{}{0pt}{}{a}{b}"},
    {"\\large {a \\over b}", "\\large \\dfrac{a}{b}"},
    {"\\dfrac{a}{b}", "\\genfrac{}{}{}{0}{a}{b}"},
    // Lengths without braces take one unit and leave the letter after it
    {"a\\kern1emb", "a\\hspace{1em}b"},
    {"a\\mkern18mub", "a\\quad b"},
    // Operators and classes
    {"\\operatorname{sin} x", "\\sin x"},
    {"\\large \\intop_0^1", "\\large \\int\\limits_0^1"},
    {"a\\boldsymbol{+}b", "a+b"},  // + has no bold form: only its spacing shows
    {"a \\mathrel{R} b", "a \\mathrel{R} b"},
    {"x^{\\mathchoice{D}{T}{S}{SS}}", "x^{S}"},
    {"\\large \\mathchoice{D}{T}{S}{SS}", "\\large D"},
    {"\\mathstrut x", "\\vphantom{(}x"},
    {"x \\tag{1}", "x \\hspace{2em} \\text{(1)}"},
};

TEST(TexStructureTest, ShortFormsEqualTheirLongForms)
{
    for (const SAME_CASE& c : mg_arrSameCases) {
        tex::TEX_RASTER a = Render(c.m_szShort);
        ASSERT_FALSE(a.empty()) << c.m_szShort;
        EXPECT_TRUE(SameImage(a, Render(c.m_szLong))) << c.m_szShort << " vs " << c.m_szLong;
        EXPECT_TRUE(a.m_vecUnknown.empty()) << c.m_szShort;
    }
}

struct UNIT_CASE {
    const char* m_szSpace;
    double m_dPixels;  // added width at \normalsize, where 10pt is the 15-pixel em
};

const UNIT_CASE mg_arrUnitCases[] = {
    {"\\hspace{1cm}", 72.27 / 2.54 * 1.5},
    {"\\hspace{10mm}", 72.27 / 2.54 * 1.5},
    {"\\hspace{1in}", 72.27 * 1.5},
    {"\\hspace{10pt}", 15},
    {"\\hspace{1pc}", 18},
    {"\\hspace{72bp}", 72.27 * 1.5},
    {"\\hspace{1157dd}", 1238 * 1.5},
    {"\\hspace{1cc}", 12 * 1238.0 / 1157 * 1.5},
    {"\\hspace{655360sp}", 15},
    {"\\hspace{2em}", 30},
    {"\\hspace{1ex}", 15 * 0.431},
    {"\\mskip 18mu", 15},
    {"\\hspace{50}", 50},  // a bare number is pixels
    {"\\rule{1cm}{0pt}", 72.27 / 2.54 * 1.5},
};

TEST(TexStructureTest, LengthsHaveTheirSizeInEveryUnit)
{
    double base = Width("ab");
    for (const UNIT_CASE& c : mg_arrUnitCases)
        EXPECT_NEAR(Width(std::string("a") + c.m_szSpace + "b") - base, c.m_dPixels, 0.01) << c.m_szSpace;
    // Absolute lengths keep their size under \large; the em grows.
    double large = Width("\\large ab");
    EXPECT_NEAR(Width("\\large a\\hspace{1cm}b") - large, 72.27 / 2.54 * 1.5, 0.01);
    EXPECT_NEAR(Width("\\large a\\hspace{1em}b") - large, 18, 0.01);
    // \\[2em] adds its length below the line.
    EXPECT_NEAR(Layout("a\\\\[2em]b").m_dDepth - Layout("a\\\\b").m_dDepth, 30, 0.01);
}

TEST(TexStructureTest, TablesSetTheirCellsInLaTeXsStyles)
{
    // aligned and gathered cells are displayed formulas even inline: a full-size fraction.
    int display = Render("a = \\dfrac{1}{2}").m_nHeight;
    EXPECT_GT(display, Render("a = \\tfrac{1}{2}").m_nHeight);
    EXPECT_EQ(Render("\\begin{aligned} a &= \\frac{1}{2} \\end{aligned}").m_nHeight, display);
    EXPECT_EQ(Render("\\begin{gathered} a = \\frac{1}{2} \\end{gathered}").m_nHeight, display);
    // A relation after '&' keeps its space: the same width as unaligned.
    EXPECT_NEAR(Width("\\begin{aligned} a &= b \\end{aligned}"), Width("a=b"), 0.01);
    // cases cells are in text style, dcases in display style.
    EXPECT_LT(Render("\\begin{cases} \\frac{1}{2} \\end{cases}").m_nHeight,
              Render("\\begin{dcases} \\frac{1}{2} \\end{dcases}").m_nHeight);
    // smallmatrix is smaller than matrix.
    EXPECT_LT(InkBounds(Render("\\begin{smallmatrix} a & b \\\\ c & d \\end{smallmatrix}")).width(),
              InkBounds(Render("\\begin{matrix} a & b \\\\ c & d \\end{matrix}")).width());
}

TEST(TexStructureTest, SpacingOfTheClassicMacros)
{
    // \bmod keeps 5mu on each side even in script style.
    double mu = 15 * 0.7 / 18;
    EXPECT_NEAR(Width("\\scriptstyle a\\bmod 2") - Width("\\scriptstyle a\\mathord{\\operatorname{mod}}2"), 10 * mu, 0.05);
    // \pmod sets 18mu before it in display style and 8mu inline.
    EXPECT_NEAR(Width("a\\pmod{n}") - Width("a(\\mathrm{mod}\\mkern6mu n)"), 8 * 15.0 / 18, 0.05);
    // \not{abc} strikes once: one glyph more than abc.
    EXPECT_EQ(Layout("\\not{abc}").m_vecItems.size(), Layout("abc").m_vecItems.size() + 1);
    // \llap and \rlap take no width.
    EXPECT_NEAR(Width("a\\rlap{xyz}b"), Width("ab"), 0.01);
    EXPECT_NEAR(Width("a\\llap{xyz}b"), Width("ab"), 0.01);
}

// Rows of ink along one column, top to bottom: how many separate runs there are.
int InkRuns(const tex::TEX_RASTER& raster, int x)
{
    int runs = 0;
    bool inside = false;
    for (int y = 0; y < raster.m_nHeight; ++y) {
        bool ink = raster.ink(x, y);
        runs += ink && !inside;
        inside = ink;
    }
    return runs;
}

// The longest run of ink along any row.
int LongestRowRun(const tex::TEX_RASTER& raster)
{
    int best = 0;
    for (int y = 0; y < raster.m_nHeight; ++y) {
        int run = 0;
        for (int x = 0; x < raster.m_nWidth; ++x) {
            run = raster.ink(x, y) ? run + 1 : 0;
            best = std::max(best, run);
        }
    }
    return best;
}

TEST(TexStructureTest, SmallSizesStayLegible)
{
    // The two bars of '=' stay apart in scripts and scripts of scripts.
    for (const char* text : {"\\normalsize {}_=", "\\normalsize {}_{{}_=}", "\\small {}_{{}_=}"}) {
        tex::TEX_RASTER raster = Render(text);
        int middle = (InkBounds(raster).m_nLeft + InkBounds(raster).m_nRight) / 2;
        EXPECT_EQ(InkRuns(raster, middle), 2) << text;
    }
    // A letter two script levels down is still at least 4 pixels tall.
    tex::TEX_RASTER nested = Render("\\normalsize {}^{{}^{x}}");
    EXPECT_GE(InkBounds(nested).height(), 4);
    // Stacked rules keep a blank row between them.
    for (const char* text : {"\\normalsize \\overline{\\overline{\\overline{xx}}}",
                             "\\normalsize \\frac{\\overline{\\underline{xx}}}{y}",
                             "\\normalsize \\begin{array}{c} \\hline\\hline x \\\\ \\hline\\hline \\end{array}"}) {
        tex::TEX_RASTER bars = Render(text);
        int ruleRows = 0;
        int previous = -2;
        for (int y = 0; y < bars.m_nHeight; ++y) {
            if (textest::InkInRow(bars, y) * 10 < InkBounds(bars).width() * 8)
                continue;
            EXPECT_GT(y, previous + 1) << text << " row " << y;
            previous = y;
            ++ruleRows;
        }
        EXPECT_GE(ruleRows, 3) << text;
    }
    // A stretched arrow in a script has an unbroken shaft as wide as its label.
    for (const char* text : {"\\normalsize x_{\\xrightarrow{abcdef}}", "\\normalsize x^{\\overrightarrow{ABCDEF}}",
                             "\\normalsize x^{\\underleftarrow{ABCDEF}}"}) {
        tex::TEX_RASTER raster = Render(text);
        EXPECT_GE(LongestRowRun(raster), InkBounds(Render("\\scriptstyle abcdef")).width() - 2) << text;
    }
}

TEST(TexStructureTest, MiddleDelimiterGrowsWithItsGroup)
{
    int plain = InkBounds(Render("\\large |")).height();
    tex::TEX_RASTER tall = Render("\\large \\left. \\vphantom{\\frac{a}{\\frac{b}{c}}} \\middle| \\right.");
    EXPECT_GT(InkBounds(tall).height(), 2 * plain);
}

TEST(TexStructureTest, EveryLetterShowsInItsAlphabetOrAnother)
{
    // Alphabets and scripts Latin Modern lacks still draw something.
    const char* texts[] = {"\\mathcal{abc}", "\\mathscr{xyz}", "\\text{\xD0\x9F\xD1\x80\xD0\xB8}",
                           "\\text{\xCE\xA9\xCE\xBC\xCE\xAD}", "\\text{\xE4\xB8\xAD}"};
    for (const char* text : texts) {
        tex::TEX_RASTER raster = Render(text);
        EXPECT_GT(InkBounds(raster).width(), 5) << text;
    }
    // Sans and typewriter text have faces of their own.
    EXPECT_FALSE(SameImage(Render("\\textsf{Sans}"), Render("\\text{Sans}")));
    EXPECT_FALSE(SameImage(Render("\\texttt{Mono}"), Render("\\text{Mono}")));
    EXPECT_FALSE(SameImage(Render("\\textsf{Sans}"), Render("\\texttt{Sans}")));
}

TEST(TexStructureTest, CoverageRasterFollowsTheOneBitLayout)
{
    const char* formula = "\\large x_{1,2} = \\frac{-b \\pm \\sqrt{b^2-4ac}}{2a}";
    tex::TEX_RASTER mono = Render(formula);
    textest::INK_BOUNDS ink = InkBounds(mono);
    for (double scale : {1.0, 1.5, 2.0, 3.0}) {
        tex::TEX_GRAY_RASTER gray = tex::RenderTexGray(formula, scale);
        ASSERT_FALSE(gray.empty()) << scale;
        EXPECT_EQ(gray.m_vecCoverage.size(), static_cast<size_t>(gray.m_nWidth * gray.m_nHeight));
        // The same layout, every length times the scale.
        EXPECT_NEAR(gray.m_nWidth, ink.width() * scale, 2 * scale) << scale;
        EXPECT_NEAR(gray.m_nHeight, ink.height() * scale, 2 * scale) << scale;
        EXPECT_NEAR(gray.m_nBaseline + 1, (mono.m_nBaseline + 1) * scale, 2 * scale) << scale;
        // Anti-aliased: grey edges besides full ink.
        int grey = 0;
        int full = 0;
        for (uint8_t c : gray.m_vecCoverage) {
            grey += c > 0 && c < 255;
            full += c == 255;
        }
        EXPECT_GT(grey, 0) << scale;
        EXPECT_GT(full, 0) << scale;
    }
    // The overlapping pieces of a stretched arrow leave no darker spots along its shaft.
    tex::TEX_GRAY_RASTER arrow = tex::RenderTexGray("x_{\\xleftarrow{abcdefgh}}", 1.5);
    int shaftRow = 0;
    int shaftInk = 0;
    for (int y = 0; y < arrow.m_nHeight; ++y) {
        int ink = 0;
        for (int x = 0; x < arrow.m_nWidth; ++x)
            ink += arrow.coverage(x, y);
        if (ink > shaftInk) {
            shaftInk = ink;
            shaftRow = y;
        }
    }
    uint8_t lightest = 255;
    uint8_t darkest = 0;
    for (int x = arrow.m_nWidth / 4; x < arrow.m_nWidth * 3 / 4; ++x) {
        lightest = std::min(lightest, arrow.coverage(x, shaftRow));
        darkest = std::max(darkest, arrow.coverage(x, shaftRow));
    }
    EXPECT_LE(darkest - lightest, 16);
    // Scales out of range, and texts the one-bit renderer refuses, give nothing.
    EXPECT_TRUE(tex::RenderTexGray(formula, 0).empty());
    EXPECT_TRUE(tex::RenderTexGray(formula, 100).empty());
    EXPECT_TRUE(tex::RenderTexGray("{}", 2).empty());
    EXPECT_EQ(tex::RenderTexGray("\\foo", 2).m_vecUnknown, (std::vector<std::string>{"\\foo"}));
}

}  // namespace
