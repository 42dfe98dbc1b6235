// The parser: which atom each piece of TeX becomes.
#include <string>

#include <gtest/gtest.h>

#include "tex/TexParser.h"

namespace {

using tex::ParseTex;
using tex::TexAtom;
using tex::TexList;
using tex::TexNodeKind;

TexList Parse(const std::string& text)
{
    TexList list;
    EXPECT_TRUE(ParseTex(text, list)) << text;
    return list;
}

struct SYMBOL_CASE {
    const char* m_szInput;
    uint32_t m_nCodepoint;
    TexAtom m_atom;
};

const SYMBOL_CASE mg_arrSymbolCases[] = {
    // Letters: italic Latin (h has its own code point), upright digits
    {"x", 0x1D465, TexAtom::Ord},
    {"A", 0x1D434, TexAtom::Ord},
    {"h", 0x210E, TexAtom::Ord},
    {"7", '7', TexAtom::Ord},
    // Greek: lower case italic, capitals upright, \var forms
    {"\\alpha", 0x1D6FC, TexAtom::Ord},
    {"\\omega", 0x1D714, TexAtom::Ord},
    {"\\Omega", 0x03A9, TexAtom::Ord},
    {"\\varGamma", 0x1D6E4, TexAtom::Ord},
    {"\\epsilon", 0x1D716, TexAtom::Ord},
    {"\\varepsilon", 0x1D700, TexAtom::Ord},
    {"\\phi", 0x1D719, TexAtom::Ord},
    {"\\varphi", 0x1D711, TexAtom::Ord},
    {"\\vartheta", 0x1D717, TexAtom::Ord},
    // Math alphabets
    {"\\mathrm{x}", 'x', TexAtom::Ord},
    {"\\mathbf{x}", 0x1D431, TexAtom::Ord},
    {"\\mathbf{2}", 0x1D7D0, TexAtom::Ord},
    {"\\mathit{A}", 0x1D434, TexAtom::Ord},
    {"\\mathbb{R}", 0x211D, TexAtom::Ord},
    {"\\mathcal{L}", 0x2112, TexAtom::Ord},
    {"\\mathrm{\\alpha}", 0x03B1, TexAtom::Ord},
    // Operators and relations
    {"-", 0x2212, TexAtom::Bin},
    {"+", '+', TexAtom::Bin},
    {"*", 0x2217, TexAtom::Bin},
    {"\\cdot", 0x22C5, TexAtom::Bin},
    {"\\times", 0x00D7, TexAtom::Bin},
    {"\\pm", 0x00B1, TexAtom::Bin},
    {"=", '=', TexAtom::Rel},
    {"\\le", 0x2264, TexAtom::Rel},
    {"\\approx", 0x2248, TexAtom::Rel},
    {"\\Rightarrow", 0x21D2, TexAtom::Rel},
    {"\\to", 0x2192, TexAtom::Rel},
    {"\\not=", 0x2260, TexAtom::Rel},
    {"\\not\\in", 0x2209, TexAtom::Rel},
    {"(", '(', TexAtom::Open},
    {")", ')', TexAtom::Close},
    {",", ',', TexAtom::Punct},
    // Symbols
    {"\\infty", 0x221E, TexAtom::Ord},
    {"\\partial", 0x2202, TexAtom::Ord},
    {"\\nabla", 0x2207, TexAtom::Ord},
    {"\\degree", 0x00B0, TexAtom::Ord},
    {"\\ldots", 0x2026, TexAtom::Inner},
    {"\\%", '%', TexAtom::Ord},
    {"\\{", '{', TexAtom::Open},
    // Characters typed directly in UTF-8
    {"\xCE\xB1", 0x1D6FC, TexAtom::Ord},          // α is italic like \alpha
    {"\xC3\x97", 0x00D7, TexAtom::Bin},           // ×
    {"\xE2\x89\xA4", 0x2264, TexAtom::Rel},       // ≤
    // A \right without \left is its delimiter
    {"\\right)", ')', TexAtom::Close},
};

TEST(TexParserTest, SymbolsBecomeTheirCodePointAndClass)
{
    for (const SYMBOL_CASE& c : mg_arrSymbolCases) {
        TexList list = Parse(c.m_szInput);
        ASSERT_FALSE(list.empty()) << c.m_szInput;
        const tex::TexNode* node = &list[0];
        // \mathrm{...} and friends wrap their argument in a group.
        if (const tex::TEX_GROUP* group = node->as<tex::TEX_GROUP>(); group && group->m_listBody.size() == 1)
            node = &group->m_listBody[0];
        const tex::TEX_CHAR* ch = node->as<tex::TEX_CHAR>();
        ASSERT_NE(ch, nullptr) << c.m_szInput;
        EXPECT_EQ(ch->m_nCodepoint, c.m_nCodepoint) << c.m_szInput;
        EXPECT_EQ(node->m_atom, c.m_atom) << c.m_szInput;
    }
}

struct KIND_CASE {
    const char* m_szInput;
    TexNodeKind m_kind;
    TexAtom m_atom;
};

const KIND_CASE mg_arrKindCases[] = {
    // Structures
    {"\\frac{a}{b}", TexNodeKind::Frac, TexAtom::Ord},
    {"\\dfrac12", TexNodeKind::Frac, TexAtom::Ord},
    {"\\sqrt{x}", TexNodeKind::Radical, TexAtom::Ord},
    {"\\sqrt[3]{x}", TexNodeKind::Radical, TexAtom::Ord},
    {"\\left( x \\right)", TexNodeKind::LeftRight, TexAtom::Inner},
    {"\\big(", TexNodeKind::BigDelim, TexAtom::Ord},
    {"\\vec{F}", TexNodeKind::Accent, TexAtom::Ord},
    {"\\overline{AB}", TexNodeKind::Bar, TexAtom::Ord},
    {"\\underline{x}", TexNodeKind::Bar, TexAtom::Ord},
    {"\\fbox{x}", TexNodeKind::Frame, TexAtom::Ord},
    {"\\begin{matrix}a\\end{matrix}", TexNodeKind::Array, TexAtom::Inner},
    {"\\stackrel{!}{=}", TexNodeKind::Stack, TexAtom::Rel},
    // Upright words: functions are operators; unknown commands are shown as written
    {"\\sin x", TexNodeKind::Word, TexAtom::Op},
    {"\\lim_{x}", TexNodeKind::Word, TexAtom::Op},
    {"\\operatorname{sinc}", TexNodeKind::Word, TexAtom::Op},
    {"\\foo", TexNodeKind::Unknown, TexAtom::Ord},
    // Spacing, sizes, styles, lines
    {"\\hspace{50}", TexNodeKind::Space, TexAtom::Ord},
    {"\\quad", TexNodeKind::Space, TexAtom::Ord},
    {"\\,", TexNodeKind::Space, TexAtom::Ord},
    {"\\large", TexNodeKind::Size, TexAtom::Ord},
    {"\\displaystyle", TexNodeKind::Style, TexAtom::Ord},
    {"\\\\", TexNodeKind::Newline, TexAtom::Ord},
    // Big operators are operators
    {"\\sum", TexNodeKind::Char, TexAtom::Op},
    {"\\int", TexNodeKind::Char, TexAtom::Op},
};

TEST(TexParserTest, ConstructsBecomeTheirNodes)
{
    for (const KIND_CASE& c : mg_arrKindCases) {
        TexList list = Parse(c.m_szInput);
        ASSERT_FALSE(list.empty()) << c.m_szInput;
        EXPECT_EQ(list[0].kind(), c.m_kind) << c.m_szInput;
        EXPECT_EQ(list[0].m_atom, c.m_atom) << c.m_szInput;
    }
}

TEST(TexParserTest, BigDelimitersSurviveBracketProcessing)
{
    // "\big( x \big)" after bracket processing.
    TexList list = Parse("\\big\\left( x \\big \\right)");
    ASSERT_EQ(list.size(), 3u);
    ASSERT_EQ(list[0].kind(), TexNodeKind::BigDelim);
    EXPECT_EQ(list[0].as<tex::TEX_BIGDELIM>()->m_nCodepoint, uint32_t('('));
    ASSERT_EQ(list[2].kind(), TexNodeKind::BigDelim);
    EXPECT_EQ(list[2].as<tex::TEX_BIGDELIM>()->m_nCodepoint, uint32_t(')'));
    // A \left that is not followed by a delimiter is not taken.
    list = Parse("\\Big\\left x");
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[0].kind(), TexNodeKind::LeftRight);
}

TEST(TexParserTest, UnknownCommandsAreKeptAsWrittenAndReported)
{
    TexList list;
    std::vector<std::string> unknown;
    ASSERT_TRUE(ParseTex("\\kilogram x \\kilogram \\begin{foo} a \\end{foo} \\frac12", list, &unknown));
    ASSERT_GE(list.size(), 2u);
    ASSERT_EQ(list[0].kind(), TexNodeKind::Unknown);
    EXPECT_EQ(list[0].as<tex::TEX_UNKNOWN>()->m_strSource, "\\kilogram");
    // Each name once, in order; the environment's cells still parse, and what follows it.
    EXPECT_EQ(unknown, (std::vector<std::string>{"\\kilogram", "\\begin{foo}"}));
    EXPECT_EQ(list.back().kind(), TexNodeKind::Frac);
    // Every command the classic language has is known.
    ASSERT_TRUE(ParseTex("\\rule{1em}{1em} {a \\over b} \\mathop{\\rm Res} \\begin{rcases} a \\end{rcases}", list, &unknown));
    EXPECT_TRUE(unknown.empty());
}

TEST(TexParserTest, ScriptsAttachToThePreviousAtom)
{
    TexList list = Parse("x_1^2");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_TRUE(list[0].m_bHasSub);
    EXPECT_TRUE(list[0].m_bHasSup);
    ASSERT_EQ(list[0].m_listSub.size(), 1u);
    EXPECT_EQ(list[0].m_listSub[0].as<tex::TEX_CHAR>()->m_nCodepoint, uint32_t('1'));

    // A script with nothing before it, or a second superscript, gets an empty base.
    list = Parse("^2");
    ASSERT_EQ(list.size(), 1u);
    ASSERT_EQ(list[0].kind(), TexNodeKind::Group);
    EXPECT_TRUE(list[0].as<tex::TEX_GROUP>()->m_listBody.empty());
    list = Parse("x^2^3");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_TRUE(list[1].m_bHasSup);
}

TEST(TexParserTest, DegreesAndPrimes)
{
    // ^o and ^\circ both draw the degree ring.
    for (const char* text : {"T^o", "T^{o}", "T^\\circ"}) {
        TexList list = Parse(text);
        ASSERT_EQ(list.size(), 1u) << text;
        ASSERT_EQ(list[0].m_listSup.size(), 1u) << text;
        EXPECT_EQ(list[0].m_listSup[0].as<tex::TEX_CHAR>()->m_nCodepoint, 0x2218u) << text;
    }
    // f'' is f with two primes; a following ^ joins them.
    TexList list = Parse("f''^2");
    ASSERT_EQ(list.size(), 1u);
    ASSERT_EQ(list[0].m_listSup.size(), 3u);
    EXPECT_EQ(list[0].m_listSup[0].as<tex::TEX_CHAR>()->m_nCodepoint, 0x2032u);
    EXPECT_EQ(list[0].m_listSup[1].as<tex::TEX_CHAR>()->m_nCodepoint, 0x2032u);
    EXPECT_EQ(list[0].m_listSup[2].as<tex::TEX_CHAR>()->m_nCodepoint, uint32_t('2'));
}

const TexList& Body(const tex::TexNode& node)
{
    static const TexList none;
    const tex::TEX_GROUP* group = node.as<tex::TEX_GROUP>();
    return group ? group->m_listBody : none;
}

std::string Text(const tex::TexNode& node)
{
    const tex::TEX_TEXT* text = node.as<tex::TEX_TEXT>();
    return text ? text->m_strText : "(not text)";
}

TEST(TexParserTest, TextBlocksKeepBlanksAndBreakLines)
{
    TexList list = Parse("\\text{ + a : speed\\\\b}");
    ASSERT_EQ(list.size(), 1u);
    const TexList& body = Body(list[0]);
    ASSERT_EQ(body.size(), 3u);
    EXPECT_EQ(Text(body[0]), " + a : speed");
    EXPECT_EQ(body[1].kind(), TexNodeKind::Newline);
    EXPECT_EQ(Text(body[2]), "b");

    // Blanks collapse; the blanks that bracket processing puts inside
    // \left( ... \right) do not show.
    list = Parse("\\text{a   b \\left( m/s \\right)}");
    const TexList& inner = Body(list[0]);
    ASSERT_EQ(inner.size(), 2u);
    EXPECT_EQ(Text(inner[0]), "a b ");
    const tex::TEX_LEFTRIGHT* brackets = inner[1].as<tex::TEX_LEFTRIGHT>();
    ASSERT_NE(brackets, nullptr);
    ASSERT_EQ(brackets->m_vecSegments.size(), 1u);
    ASSERT_EQ(brackets->m_vecSegments[0].size(), 1u);
    EXPECT_EQ(Text(brackets->m_vecSegments[0][0]), "m/s");

    // Commands inside text are mathematics; $...$ switches to it too.
    list = Parse("\\text{\\omega $x$}");
    const TexList& mixed = Body(list[0]);
    ASSERT_GE(mixed.size(), 3u);
    ASSERT_EQ(mixed[0].kind(), TexNodeKind::Char);
    EXPECT_EQ(mixed[0].as<tex::TEX_CHAR>()->m_nCodepoint, 0x1D714u);
    EXPECT_EQ(Text(mixed[1]), " ");
    EXPECT_EQ(mixed[2].kind(), TexNodeKind::Group);
}

TEST(TexParserTest, TextCommandBeforeACommandSetsNothing)
{
    // The wizard's example starts with "\text\frac": the fraction stays mathematics.
    TexList list = Parse("\\text\\frac{1}{C} = 1");
    ASSERT_FALSE(list.empty());
    EXPECT_EQ(list[0].kind(), TexNodeKind::Frac);
    EXPECT_EQ(list.size(), 3u);
}

TEST(TexParserTest, UnclosedLeftEndsWithItsGroupOrLine)
{
    // Bracket processing leaves "v(t)" as "v\left( t)": the \left closes at the end.
    TexList list = Parse("v\\left( t)");
    ASSERT_EQ(list.size(), 2u);
    const tex::TEX_LEFTRIGHT* brackets = list[1].as<tex::TEX_LEFTRIGHT>();
    ASSERT_NE(brackets, nullptr);
    EXPECT_EQ(brackets->m_nLeft, uint32_t('('));
    EXPECT_EQ(brackets->m_nRight, 0u);
    EXPECT_EQ(brackets->m_vecSegments[0].size(), 2u);

    // A line break closes an open \left; the next line is not inside it.
    list = Parse("\\left( a \\\\ b");
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0].kind(), TexNodeKind::LeftRight);
    EXPECT_EQ(list[1].kind(), TexNodeKind::Newline);

    // So does the end of a group.
    list = Parse("{\\left[ a} b");
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(Body(list[0])[0].kind(), TexNodeKind::LeftRight);

    // \middle splits the contents; each delimiter is kept.
    list = Parse("\\left\\{ x \\middle| x>0 \\right\\}");
    ASSERT_EQ(list.size(), 1u);
    brackets = list[0].as<tex::TEX_LEFTRIGHT>();
    ASSERT_NE(brackets, nullptr);
    EXPECT_EQ(brackets->m_vecSegments.size(), 2u);
    EXPECT_EQ(brackets->m_vecMiddle, (std::vector<uint32_t>{'|'}));
    EXPECT_EQ(brackets->m_nRight, uint32_t('}'));
}

TEST(TexParserTest, InfixCommandsSplitTheirGroup)
{
    // {a \over b} is \frac{a}{b}; \choose adds parentheses, \atop drops the bar.
    struct {
        const char* m_szText;
        bool m_bBar;
        uint32_t m_nLeft;
        size_t m_nNumerator;
    } cases[] = {
        {"{a+b \\over c}", true, 0, 3},
        {"{n \\choose k}", false, '(', 1},
        {"{a \\atop b}", false, 0, 1},
        {"{n \\brack k}", false, '[', 1},
        {"\\over b", true, 0, 0},
    };
    for (const auto& c : cases) {
        TexList list = Parse(c.m_szText);
        ASSERT_EQ(list.size(), 1u) << c.m_szText;
        const tex::TexNode& node = Body(list[0]).empty() ? list[0] : Body(list[0])[0];
        const tex::TEX_FRAC* frac = node.as<tex::TEX_FRAC>();
        ASSERT_NE(frac, nullptr) << c.m_szText;
        EXPECT_EQ(frac->m_bHasBar, c.m_bBar) << c.m_szText;
        EXPECT_EQ(frac->m_nLeftDelim, c.m_nLeft) << c.m_szText;
        EXPECT_EQ(frac->m_listNumerator.size(), c.m_nNumerator) << c.m_szText;
        EXPECT_EQ(frac->m_listDenominator.size(), 1u) << c.m_szText;
    }
}

TEST(TexParserTest, ArraysSplitIntoRowsAndCells)
{
    TexList list = Parse("\\begin{cases} a & b \\\\ c & d \\\\ \\end{cases} x");
    ASSERT_EQ(list.size(), 2u);
    const tex::TEX_ARRAY* table = list[0].as<tex::TEX_ARRAY>();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->m_kind, tex::ARRAY_CASES);
    EXPECT_EQ(table->m_nLeft, uint32_t('{'));
    ASSERT_EQ(table->m_vecRows.size(), 2u);  // the trailing \\ opens no row
    EXPECT_EQ(table->m_vecRows[0].size(), 2u);

    list = Parse("\\begin{array}{l|r} 1 & 2 \\end{array}");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].as<tex::TEX_ARRAY>()->m_strColumns, "l|r");
    // \hline counts are kept per row boundary, the last one below the table; \\[len] per row.
    list = Parse("\\begin{array}{c} \\hline\\hline a \\\\[2em] b \\\\ \\hline \\end{array}");
    ASSERT_EQ(list.size(), 1u);
    table = list[0].as<tex::TEX_ARRAY>();
    EXPECT_EQ(table->m_vecRows.size(), 2u);
    EXPECT_EQ(table->m_vecHlines, (std::vector<uint8_t>{2, 0, 1}));
    ASSERT_EQ(table->m_vecRowGaps.size(), 2u);
    EXPECT_EQ(table->m_vecRowGaps[0].m_dAmount, 2);
    EXPECT_EQ(table->m_vecRowGaps[0].m_unit, tex::UNIT_EM);
    // An unterminated table ends with the text.
    list = Parse("\\begin{pmatrix} 1 & 2 \\\\ 3");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].as<tex::TEX_ARRAY>()->m_vecRows.size(), 2u);
    // Starred matrices take their column alignment; \cr ends a row too.
    list = Parse("\\begin{pmatrix*}[r] 1 \\cr 2 \\end{pmatrix*}");
    ASSERT_EQ(list.size(), 1u);
    table = list[0].as<tex::TEX_ARRAY>();
    EXPECT_EQ(table->m_strColumns, "r");
    EXPECT_EQ(table->m_vecRows.size(), 2u);
}

struct SPACE_CASE {
    const char* m_szInput;
    double m_dAmount;
    tex::TexUnit m_unit;
};

const SPACE_CASE mg_arrSpaceCases[] = {
    {"\\hspace{50}", 50, tex::UNIT_PX},
    {"\\hspace{1}", 1, tex::UNIT_PX},
    {"\\hspace{2em}", 2, tex::UNIT_EM},
    {"\\hspace{-3pt}", -3, tex::UNIT_PT},
    {"\\hspace{}", 0, tex::UNIT_PX},
    {"\\hspace{99999}", 0, tex::UNIT_PX},   // beyond any screen: ignored
    {"\\hspace{abc}", 0, tex::UNIT_PX},
    {"\\hspace{1.5cm}", 1.5, tex::UNIT_CM},
    {"\\hspace{ 2 mm}", 2, tex::UNIT_MM},
    {"\\hspace{1in}", 1, tex::UNIT_IN},
    {"\\hspace{1,5pc}", 1.5, tex::UNIT_PC},
    {"\\hspace{3bp}", 3, tex::UNIT_BP},
    {"\\hspace{3dd}", 3, tex::UNIT_DD},
    {"\\hspace{1cc}", 1, tex::UNIT_CC},
    {"\\hspace{65536sp}", 65536, tex::UNIT_SP},
    {"\\hspace{1ex}", 1, tex::UNIT_EX},
    {"\\quad", 1, tex::UNIT_EM},
    {"\\qquad", 2, tex::UNIT_EM},
    {"\\,", 3, tex::UNIT_MU},
    {"\\!", -3, tex::UNIT_MU},
    {"\\mkern18mu", 18, tex::UNIT_MU},
    {"\\kern-2pt", -2, tex::UNIT_PT},
};

TEST(TexParserTest, SpacesReadTheirAmountAndUnit)
{
    for (const SPACE_CASE& c : mg_arrSpaceCases) {
        TexList list = Parse(c.m_szInput);
        ASSERT_EQ(list.size(), 1u) << c.m_szInput;
        const tex::TEX_SPACE* space = list[0].as<tex::TEX_SPACE>();
        ASSERT_NE(space, nullptr) << c.m_szInput;
        EXPECT_DOUBLE_EQ(space->m_width.m_dAmount, c.m_dAmount) << c.m_szInput;
        EXPECT_EQ(space->m_width.m_unit, c.m_unit) << c.m_szInput;
    }
    // A length without braces takes one unit and leaves the letters after it.
    for (const char* text : {"a\\kern1emb", "a\\mkern18mub", "a\\hskip 1em b"}) {
        TexList list = Parse(text);
        ASSERT_EQ(list.size(), 3u) << text;
        EXPECT_EQ(list[2].kind(), TexNodeKind::Char) << text;
    }
}

TEST(TexParserTest, SizeCommandsGrowInOrder)
{
    const char* sizes[] = {"tiny", "scriptsize", "footnotesize", "small", "normalsize",
                           "large", "Large", "LARGE", "huge", "Huge"};
    double previous = 0;
    for (const char* size : sizes) {
        double px = tex::TexSizeOfCommand(size);
        EXPECT_GT(px, previous) << size;
        previous = px;
    }
    EXPECT_EQ(tex::TexSizeOfCommand("enormous"), 0);
}

TEST(TexParserTest, NestingBeyondTheLimitIsRefused)
{
    TexList list;
    std::string shallow = std::string(tex::TEX_MAX_NESTING / 2, '{') + "x" + std::string(tex::TEX_MAX_NESTING / 2, '}');
    EXPECT_TRUE(ParseTex(shallow, list));
    std::string deep = std::string(5000, '{') + "x" + std::string(5000, '}');
    EXPECT_FALSE(ParseTex(deep, list));
    std::string lefts;
    for (int i = 0; i < 2000; ++i)
        lefts += "\\left(";
    EXPECT_FALSE(ParseTex(lefts, list));
    std::string fractions;
    for (int i = 0; i < 2000; ++i)
        fractions += "\\frac";
    EXPECT_FALSE(ParseTex(fractions, list));
}

}  // namespace
