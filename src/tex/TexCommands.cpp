// The command table of the TeX parser: every command that builds structure
// (fractions, roots, delimiters, accents, spaces, boxes, fonts, tables) has
// one line here: its name, the shape of its arguments and the builder that
// turns the arguments into a node. Symbols, operator names and delimiters
// are plain tables in TexSymbols.cpp. To add a command, add a line; to add a
// kind of construct, add a builder and a node record (TexParser.h).
#include <algorithm>

#include "tex/MathFont.h"
#include "tex/TexReader.h"
#include "tex/TexSymbols.h"

namespace tex {
namespace {

TEX_ARG& Arg(TEX_CALL& call, size_t index)
{
    return call.m_vecArgs[index];
}

void Push(TEX_CALL& call, TEX_PAYLOAD payload, TexAtom atom = TexAtom::Ord)
{
    call.m_out.push_back(MakeNode(std::move(payload), atom));
}


// The class of a list that is one Bin or Rel atom, Ord otherwise: what
// \boldsymbol and \overset keep of their argument (amsmath's \binrel@).
TexAtom BinRelClass(const TexList& list)
{
    if (list.size() != 1 || list[0].m_bHasSup || list[0].m_bHasSub)
        return TexAtom::Ord;
    TexAtom atom = list[0].m_atom;
    return atom == TexAtom::Bin || atom == TexAtom::Rel ? atom : TexAtom::Ord;
}

void BuildIgnore(TEX_CALL&) {}

// ------------------------------------------------------------ fractions

// \frac, \dfrac, \tfrac: m_nParam is the style forced on the fraction.
void BuildFrac(TEX_CALL& call)
{
    TEX_FRAC frac;
    frac.m_listNumerator = std::move(Arg(call, 0).m_list);
    frac.m_listDenominator = std::move(Arg(call, 1).m_list);
    frac.m_style = static_cast<TexStyle>(call.m_nParam);
    Push(call, std::move(frac));
}

// \cfrac[l]{num}{den}: display style, numerator on a strut so that the bars line up.
void BuildCfrac(TEX_CALL& call)
{
    TEX_FRAC frac;
    frac.m_listNumerator = std::move(Arg(call, 1).m_list);
    frac.m_listDenominator = std::move(Arg(call, 2).m_list);
    frac.m_style = TEX_STYLE_DISPLAY;
    frac.m_bContinued = true;
    Push(call, std::move(frac));
}

// \binom, \dbinom, \tbinom: a fraction without bar in parentheses.
void BuildBinom(TEX_CALL& call)
{
    TEX_FRAC frac;
    frac.m_listNumerator = std::move(Arg(call, 0).m_list);
    frac.m_listDenominator = std::move(Arg(call, 1).m_list);
    frac.m_bHasBar = false;
    frac.m_nLeftDelim = '(';
    frac.m_nRightDelim = ')';
    frac.m_style = static_cast<TexStyle>(call.m_nParam);
    Push(call, std::move(frac));
}

// \genfrac{left}{right}{thickness}{style}{num}{den}; an empty thickness is
// the font's, an empty style the surrounding one.
void BuildGenfrac(TEX_CALL& call)
{
    TEX_FRAC frac;
    frac.m_nLeftDelim = Arg(call, 0).m_nDelimiter;
    frac.m_nRightDelim = Arg(call, 1).m_nDelimiter;
    const std::string& thickness = Arg(call, 2).m_strRaw;
    if (thickness.find_first_not_of(" ") != std::string::npos) {
        frac.m_bThickness = true;
        frac.m_thickness = ParseDimension(thickness);
        frac.m_bHasBar = frac.m_thickness.m_dAmount > 0;
    }
    const std::string& style = Arg(call, 3).m_strRaw;
    size_t digit = style.find_first_of("0123");
    if (digit != std::string::npos)
        frac.m_style = static_cast<TexStyle>(style[digit] - '0');
    frac.m_listNumerator = std::move(Arg(call, 4).m_list);
    frac.m_listDenominator = std::move(Arg(call, 5).m_list);
    Push(call, std::move(frac));
}

void BuildSqrt(TEX_CALL& call)
{
    TEX_RADICAL root;
    root.m_listDegree = std::move(Arg(call, 0).m_list);
    root.m_listRadicand = std::move(Arg(call, 1).m_list);
    Push(call, std::move(root));
}

// ------------------------------------------------------------ delimiters

void TrimTrailingBlanks(TexList& list)
{
    if (list.empty())
        return;
    if (TEX_TEXT* text = list.back().as<TEX_TEXT>()) {
        while (!text->m_strText.empty() && text->m_strText.back() == ' ')
            text->m_strText.pop_back();
    }
}

// \left( ... \middle| ... \right): the segments up to \right, or up to the end
// of the group, line or text when \right is missing.
void BuildLeft(TEX_CALL& call)
{
    TexReader& reader = call.m_reader;
    uint32_t left = reader.readDelimiter();
    TEX_LEFTRIGHT node;
    node.m_nLeft = left == UINT32_MAX ? 0 : left;
    node.m_vecSegments.emplace_back();
    if (call.m_state.m_bText)
        reader.skipSpaces();  // "\left( " as the bracket processing writes it
    unsigned inner = STOP_RIGHT | STOP_NEWLINE | (call.m_nFlags & (STOP_ARRAY | STOP_DOLLAR));
    for (;;) {
        StopReason reason = reader.parseList(node.m_vecSegments.back(), call.m_state, inner);
        if (call.m_state.m_bText)
            TrimTrailingBlanks(node.m_vecSegments.back());
        if (reason == StopReason::Middle && reader.skipCommand("middle")) {
            uint32_t middle = reader.readDelimiter();
            node.m_vecMiddle.push_back(middle == UINT32_MAX ? 0 : middle);
            node.m_vecSegments.emplace_back();
            continue;
        }
        if (reason == StopReason::Right && reader.skipCommand("right")) {
            uint32_t right = reader.readDelimiter();
            node.m_nRight = right == UINT32_MAX ? 0 : right;
        }
        break;
    }
    Push(call, std::move(node), TexAtom::Inner);
}

// A \right or \middle without its \left: the delimiter at its normal size.
void BuildStrayDelimiter(TEX_CALL& call)
{
    uint32_t cp = Arg(call, 0).m_nDelimiter;
    if (cp != UINT32_MAX && cp != 0)
        call.m_out.push_back(MakeChar(cp, static_cast<TexAtom>(call.m_nParam)));
}

// \big and friends: m_nParam is the size step; the class comes from the template.
template <TexAtom ATOM>
void BuildBig(TEX_CALL& call)
{
    uint32_t cp = Arg(call, 0).m_nDelimiter;
    if (cp != UINT32_MAX && cp != 0)
        Push(call, TEX_BIGDELIM{cp, static_cast<uint8_t>(call.m_nParam)}, ATOM);
}

// ------------------------------------------------------------ accents, bars, stacks

// m_nParam is the accent's code point.
template <bool STRETCH, bool UNDER>
void BuildAccent(TEX_CALL& call)
{
    TEX_ACCENT accent;
    accent.m_nCodepoint = static_cast<uint32_t>(call.m_nParam);
    accent.m_listBase = std::move(Arg(call, 0).m_list);
    accent.m_bStretch = STRETCH;
    accent.m_bUnder = UNDER;
    Push(call, std::move(accent));
}

// \overbrace, \underbrace: an operator whose scripts go above and below.
template <bool UNDER>
void BuildBrace(TEX_CALL& call)
{
    BuildAccent<true, UNDER>(call);
    call.m_out.back().m_atom = TexAtom::Op;
    call.m_out.back().m_limits = LIMITS_ALWAYS;
}

// \' \` \^ \" \~ \= \. \u \v \H \r \c: a combining mark after the first letter
// of a text argument; over anything else, a math accent.
void BuildTextAccent(TEX_CALL& call)
{
    TexList& list = Arg(call, 0).m_list;
    uint32_t mark = static_cast<uint32_t>(call.m_nParam);
    TEX_TEXT* text = list.empty() ? nullptr : list.front().as<TEX_TEXT>();
    if (list.empty()) {
        // The accent alone: its spacing form.
        static constexpr uint32_t spacing[][2] = {
            {0x0301, 0x00B4}, {0x0300, 0x0060}, {0x0302, 0x02C6}, {0x0308, 0x00A8}, {0x0303, 0x02DC},
            {0x0304, 0x00AF}, {0x0307, 0x02D9}, {0x0306, 0x02D8}, {0x030C, 0x02C7}, {0x030B, 0x02DD},
            {0x030A, 0x02DA}, {0x0327, 0x00B8}, {0x0328, 0x02DB},
        };
        uint32_t alone = mark;
        for (const auto& pair : spacing) {
            if (pair[0] == mark)
                alone = pair[1];
        }
        Push(call, TEX_TEXT{EncodeUtf8(alone), call.m_state.m_nTextFont});
        return;
    }
    if (!text) {
        TEX_ACCENT accent;
        accent.m_nCodepoint = mark;
        accent.m_listBase = std::move(list);
        Push(call, std::move(accent));
        return;
    }
    size_t first = 1;
    while (first < text->m_strText.size() && (static_cast<unsigned char>(text->m_strText[first]) & 0xC0) == 0x80)
        ++first;
    text->m_strText.insert(first, EncodeUtf8(mark));
    for (TexNode& node : list)
        call.m_out.push_back(std::move(node));
}

// m_nParam: 1 \overline, 0 \underline.
void BuildBar(TEX_CALL& call)
{
    Push(call, TEX_BAR{std::move(Arg(call, 0).m_list), call.m_nParam != 0});
}

// \overset{over}{base} (m_nParam 0), \underset{under}{base} (1), \stackrel (2, a relation).
void BuildStack(TEX_CALL& call)
{
    TEX_STACK stack;
    stack.m_listBase = std::move(Arg(call, 1).m_list);
    (call.m_nParam == 1 ? stack.m_listUnder : stack.m_listOver) = std::move(Arg(call, 0).m_list);
    TexAtom atom = call.m_nParam == 2 ? TexAtom::Rel : BinRelClass(stack.m_listBase);
    Push(call, std::move(stack), atom);
}

// \xrightarrow[under]{over}: m_nParam is the arrow.
void BuildXArrow(TEX_CALL& call)
{
    TEX_STACK stack;
    stack.m_nArrow = static_cast<uint32_t>(call.m_nParam);
    stack.m_listUnder = std::move(Arg(call, 0).m_list);
    stack.m_listOver = std::move(Arg(call, 1).m_list);
    Push(call, std::move(stack), TexAtom::Rel);
}

// \not: the negated relation when there is one (\not= is ≠), else one slash through the argument.
void BuildNot(TEX_CALL& call)
{
    TexList& list = Arg(call, 0).m_list;
    if (list.size() == 1 && !list[0].m_bHasSup && !list[0].m_bHasSub) {
        if (TEX_CHAR* ch = list[0].as<TEX_CHAR>()) {
            if (uint32_t negated = NegatedRelation(ch->m_nCodepoint)) {
                ch->m_nCodepoint = negated;
                call.m_out.push_back(std::move(list[0]));
                return;
            }
        }
    }
    TexAtom atom = list.size() == 1 ? list[0].m_atom : TexAtom::Ord;
    Push(call, TEX_NOT{std::move(list)}, atom);
}

// ------------------------------------------------------------ spaces and boxes

// m_nParam: the space in mu (\, \: \; \!).
void BuildMuSpace(TEX_CALL& call)
{
    call.m_out.push_back(MakeSpace(call.m_nParam, UNIT_MU));
}

// m_nParam: the space in thousandths of an em (\quad, \enspace, "\ ").
void BuildEmSpace(TEX_CALL& call)
{
    call.m_out.push_back(MakeSpace(call.m_nParam / 1000.0, UNIT_EM));
}

// \hspace{len}, \kern len, \mkern len: the first argument's length.
void BuildSpace(TEX_CALL& call)
{
    TEX_DIMEN dimen = Arg(call, 0).m_dimen;
    call.m_out.push_back(MakeSpace(dimen.m_dAmount, dimen.m_unit));
}

// \rule[raise]{width}{height}.
void BuildRule(TEX_CALL& call)
{
    TEX_RULE rule;
    rule.m_raise = Arg(call, 0).m_dimen;
    rule.m_width = Arg(call, 1).m_dimen;
    rule.m_height = Arg(call, 2).m_dimen;
    Push(call, rule);
}

// \fbox, \boxed, \framebox[..][..]: the last argument framed.
void BuildFrame(TEX_CALL& call)
{
    Push(call, TEX_FRAME{std::move(call.m_vecArgs.back().m_list)});
}

// \raisebox{shift}[height][depth]{text}.
void BuildRaise(TEX_CALL& call)
{
    Push(call, TEX_RAISE{std::move(Arg(call, 3).m_list), Arg(call, 0).m_dimen});
}

// m_nParam: -1 \llap, 1 \rlap, 0 \clap.
void BuildLap(TEX_CALL& call)
{
    Push(call, TEX_LAP{std::move(Arg(call, 0).m_list), static_cast<int8_t>(call.m_nParam)});
}

void BuildVCenter(TEX_CALL& call)
{
    Push(call, TEX_VCENTER{std::move(Arg(call, 0).m_list)});
}

// m_nParam: 0 \phantom, 1 \hphantom (width only), 2 \vphantom (height and depth only).
void BuildPhantom(TEX_CALL& call)
{
    TEX_PHANTOM phantom;
    phantom.m_listBody = std::move(Arg(call, 0).m_list);
    phantom.m_bWidth = call.m_nParam != 2;
    phantom.m_bHeight = phantom.m_bDepth = call.m_nParam != 1;
    Push(call, std::move(phantom));
}

// \smash[t|b]{...}: drawn, but without height (t), depth (b) or both.
void BuildSmash(TEX_CALL& call)
{
    const TEX_ARG& which = Arg(call, 0);
    bool top = !which.m_bPresent || which.m_strRaw.find('t') != std::string::npos;
    bool bottom = !which.m_bPresent || which.m_strRaw.find('b') != std::string::npos;
    TEX_PHANTOM smash;
    smash.m_listBody = std::move(Arg(call, 1).m_list);
    smash.m_bInk = true;
    smash.m_bHeight = !top;
    smash.m_bDepth = !bottom;
    Push(call, std::move(smash));
}

// \mathstrut: the height and depth of a parenthesis, no width.
void BuildMathstrut(TEX_CALL& call)
{
    TEX_PHANTOM strut;
    strut.m_listBody.push_back(MakeChar('(', TexAtom::Open));
    strut.m_bWidth = false;
    Push(call, std::move(strut));
}

void BuildChoice(TEX_CALL& call)
{
    TEX_CHOICE choice;
    for (size_t i = 0; i < 4; ++i)
        choice.m_arrBranches[i] = std::move(Arg(call, i).m_list);
    Push(call, std::move(choice));
}

// \\[len] and \newline outside tables.
void BuildNewline(TEX_CALL& call)
{
    TEX_NEWLINE line;
    if (!call.m_vecArgs.empty() && Arg(call, 0).m_bPresent)
        line.m_extra = Arg(call, 0).m_dimen;
    Push(call, line);
}

// ------------------------------------------------------------ classes and operators

// \mathrel{...} and its kin: m_nParam is the atom class of the group.
void BuildClass(TEX_CALL& call)
{
    Push(call, TEX_GROUP{std::move(Arg(call, 0).m_list)}, static_cast<TexAtom>(call.m_nParam));
}

// \limits, \nolimits, \displaylimits on the operator before them.
void BuildLimits(TEX_CALL& call)
{
    if (!call.m_out.empty() && call.m_out.back().m_atom == TexAtom::Op)
        call.m_out.back().m_limits = static_cast<TexLimits>(call.m_nParam);
}

// \operatorname{arg\,max}: the argument in upright letters as one operator;
// '-' and '*' in it are a hyphen and an asterisk, as in a word.
// m_nParam: LIMITS_NEVER, or LIMITS_DISPLAY for \operatorname*.
void BuildOperatorName(TEX_CALL& call)
{
    PARSE_STATE roman = TexReader::MathState(call.m_state);
    roman.m_alphabet = ALPHA_ROMAN;
    TexList list;
    call.m_reader.parseArgument(list, roman);
    std::string word;
    bool letters = !list.empty();
    for (TexNode& node : list) {
        TEX_CHAR* ch = node.as<TEX_CHAR>();
        if (ch && (ch->m_nCodepoint == 0x2212 || ch->m_nCodepoint == 0x2217)) {
            ch->m_nCodepoint = ch->m_nCodepoint == 0x2212 ? '-' : '*';
            node.m_atom = TexAtom::Ord;
        }
        bool letter = ch && ch->m_nCodepoint < 0x80 && !node.m_bHasSup && !node.m_bHasSub;
        letters = letters && letter;
        if (letter)
            word += static_cast<char>(ch->m_nCodepoint);
    }
    TexNode node = letters ? MakeNode(TEX_WORD{word}, TexAtom::Op) : MakeNode(TEX_GROUP{std::move(list)}, TexAtom::Op);
    node.m_limits = static_cast<TexLimits>(call.m_nParam);
    call.m_out.push_back(std::move(node));
}

TexNode ModWord()
{
    return MakeNode(TEX_WORD{"mod"});
}

// The space before \pmod, \pod and \mod: 18mu in display style, less inline (m_nParam mu).
TexNode ModSpace(int inlineMu)
{
    TEX_SPACE space;
    space.m_width = {18, UNIT_MU};
    space.m_inlineWidth = {static_cast<double>(inlineMu), UNIT_MU};
    return MakeNode(space);
}

// \pmod{n}: (mod n); \pod{n}: (n).
void BuildPmod(TEX_CALL& call)
{
    call.m_out.push_back(ModSpace(8));
    call.m_out.push_back(MakeChar('(', TexAtom::Open));
    if (call.m_name == "pmod") {
        call.m_out.push_back(ModWord());
        call.m_out.push_back(MakeSpace(6, UNIT_MU));
    }
    Push(call, TEX_GROUP{std::move(Arg(call, 0).m_list)});
    call.m_out.push_back(MakeChar(')', TexAtom::Close));
}

// \mod{n}: mod n set apart from what precedes it.
void BuildMod(TEX_CALL& call)
{
    call.m_out.push_back(ModSpace(12));
    call.m_out.push_back(ModWord());
    call.m_out.push_back(MakeSpace(6, UNIT_MU));
    Push(call, TEX_GROUP{std::move(Arg(call, 0).m_list)});
}

// \bmod: "mod" with 5mu on each side in every style, as the classic macro
// nets out (a binary operator's medium space is taken back in text style,
// and neither exists in scripts).
void BuildBmod(TEX_CALL& call)
{
    call.m_out.push_back(MakeSpace(5, UNIT_MU));
    call.m_out.push_back(ModWord());
    call.m_out.push_back(MakeSpace(5, UNIT_MU));
}

// \tag{1}: the label in parentheses at the end of the formula, after a wide space.
void BuildTag(TEX_CALL& call)
{
    TexList tag;
    tag.push_back(MakeSpace(2, UNIT_EM));
    tag.push_back(MakeNode(TEX_TEXT{"(", TEXFONT_ROMAN}));
    for (TexNode& node : Arg(call, 0).m_list)
        tag.push_back(std::move(node));
    tag.push_back(MakeNode(TEX_TEXT{")", TEXFONT_ROMAN}));
    call.m_reader.setTag(std::move(tag));
}

// ------------------------------------------------------------ fonts and text

// \mathbf{...} and the other alphabets: m_nParam is the TexAlphabet.
void BuildAlphabet(TEX_CALL& call)
{
    PARSE_STATE inner = TexReader::MathState(call.m_state);
    inner.m_alphabet = static_cast<TexAlphabet>(call.m_nParam);
    TEX_GROUP group;
    call.m_reader.parseArgument(group.m_listBody, inner);
    Push(call, std::move(group));
}

// \boldsymbol{+} stays a binary operator, \boldsymbol{=} a relation.
void BuildBoldSymbol(TEX_CALL& call)
{
    BuildAlphabet(call);
    TexNode& node = call.m_out.back();
    node.m_atom = BinRelClass(node.as<TEX_GROUP>()->m_listBody);
}

// \rm, \bf, \it, \cal, \sf, \tt change the rest of the current group.
void BuildFontSwitch(TEX_CALL& call)
{
    static constexpr struct {
        TexAlphabet m_alphabet;
        uint8_t m_nTextFont;
    } switches[] = {
        {ALPHA_ROMAN, TEXFONT_ROMAN}, {ALPHA_BOLD, TEXFONT_BOLD}, {ALPHA_ITALIC, TEXFONT_ITALIC},
        {ALPHA_SCRIPT, TEXFONT_ROMAN}, {ALPHA_SANS, TEXFONT_SANS}, {ALPHA_MONO, TEXFONT_MONO},
    };
    call.m_state.m_alphabet = switches[call.m_nParam].m_alphabet;
    call.m_state.m_nTextFont = switches[call.m_nParam].m_nTextFont;
}

// \text{...} and its kin: m_nParam is the TexFontId of the text.
void BuildText(TEX_CALL& call)
{
    TexReader& reader = call.m_reader;
    reader.skipSpaces();
    // "\text\frac{1}{C}": a text command followed by a command has nothing
    // to set in text; the formula goes on as mathematics.
    if (reader.peek() == '\\')
        return;
    TEX_GROUP group;
    reader.parseTextArgument(group.m_listBody, call.m_state, static_cast<uint8_t>(call.m_nParam));
    Push(call, std::move(group));
}

// \i, \j, \AA and other letters of the text fonts: m_nParam is the code point.
void BuildTextChar(TEX_CALL& call)
{
    uint8_t font = call.m_state.m_bText ? call.m_state.m_nTextFont : static_cast<uint8_t>(TEXFONT_ROMAN);
    Push(call, TEX_TEXT{EncodeUtf8(static_cast<uint32_t>(call.m_nParam)), font});
}

// m_nParam: the TexStyle.
void BuildStyle(TEX_CALL& call)
{
    Push(call, TEX_STYLE_CHANGE{static_cast<TexStyle>(call.m_nParam)});
}

void BuildSize(TEX_CALL& call)
{
    Push(call, TEX_SIZE{TexSizeOfCommand(call.m_name)});
}

// \textcolor{colour}{...}: the one-bit image has no colours; the text stays.
void BuildTextColor(TEX_CALL& call)
{
    TEX_GROUP group;
    call.m_reader.parseArgument(group.m_listBody, call.m_state);
    Push(call, std::move(group));
}

// ------------------------------------------------------------ tables

struct TEX_ENVIRONMENT {
    const char* m_szName;
    TexArrayKind m_kind;
    uint32_t m_nLeft;
    uint32_t m_nRight;
    TexStyle m_cellStyle;
    char m_cReads;  // 't' column template {lcr}, 'n' a count {2}, 'a' an optional [r], 0 nothing
    bool m_bTextCells;
};

constexpr uint32_t VERT = '|';
constexpr uint32_t DVERT = 0x2016;

// LaTeX sets array and matrix cells in text style, aligned and gathered ones
// in display style, cases in text style (dcases in display), smallmatrix
// and subarray in script style.
constexpr TEX_ENVIRONMENT mg_arrEnvironments[] = {
    {"matrix", ARRAY_MATRIX, 0, 0, TEX_STYLE_TEXT, 0, false},
    {"pmatrix", ARRAY_MATRIX, '(', ')', TEX_STYLE_TEXT, 0, false},
    {"bmatrix", ARRAY_MATRIX, '[', ']', TEX_STYLE_TEXT, 0, false},
    {"Bmatrix", ARRAY_MATRIX, '{', '}', TEX_STYLE_TEXT, 0, false},
    {"vmatrix", ARRAY_MATRIX, VERT, VERT, TEX_STYLE_TEXT, 0, false},
    {"Vmatrix", ARRAY_MATRIX, DVERT, DVERT, TEX_STYLE_TEXT, 0, false},
    {"matrix*", ARRAY_MATRIX, 0, 0, TEX_STYLE_TEXT, 'a', false},
    {"pmatrix*", ARRAY_MATRIX, '(', ')', TEX_STYLE_TEXT, 'a', false},
    {"bmatrix*", ARRAY_MATRIX, '[', ']', TEX_STYLE_TEXT, 'a', false},
    {"Bmatrix*", ARRAY_MATRIX, '{', '}', TEX_STYLE_TEXT, 'a', false},
    {"vmatrix*", ARRAY_MATRIX, VERT, VERT, TEX_STYLE_TEXT, 'a', false},
    {"Vmatrix*", ARRAY_MATRIX, DVERT, DVERT, TEX_STYLE_TEXT, 'a', false},
    {"smallmatrix", ARRAY_MATRIX, 0, 0, TEX_STYLE_SCRIPT, 0, false},
    {"psmallmatrix", ARRAY_MATRIX, '(', ')', TEX_STYLE_SCRIPT, 0, false},
    {"bsmallmatrix", ARRAY_MATRIX, '[', ']', TEX_STYLE_SCRIPT, 0, false},
    {"vsmallmatrix", ARRAY_MATRIX, VERT, VERT, TEX_STYLE_SCRIPT, 0, false},
    {"array", ARRAY_PLAIN, 0, 0, TEX_STYLE_TEXT, 't', false},
    {"subarray", ARRAY_PLAIN, 0, 0, TEX_STYLE_SCRIPT, 't', false},
    {"tabular", ARRAY_PLAIN, 0, 0, TEX_STYLE_TEXT, 't', true},
    {"cases", ARRAY_CASES, '{', 0, TEX_STYLE_TEXT, 0, false},
    {"dcases", ARRAY_CASES, '{', 0, TEX_STYLE_DISPLAY, 0, false},
    {"rcases", ARRAY_CASES, 0, '}', TEX_STYLE_TEXT, 0, false},
    {"drcases", ARRAY_CASES, 0, '}', TEX_STYLE_DISPLAY, 0, false},
    {"aligned", ARRAY_ALIGNED, 0, 0, TEX_STYLE_DISPLAY, 0, false},
    {"alignedat", ARRAY_ALIGNED, 0, 0, TEX_STYLE_DISPLAY, 'n', false},
    {"split", ARRAY_ALIGNED, 0, 0, TEX_STYLE_DISPLAY, 0, false},
    {"align", ARRAY_ALIGNED, 0, 0, TEX_STYLE_DISPLAY, 0, false},
    {"align*", ARRAY_ALIGNED, 0, 0, TEX_STYLE_DISPLAY, 0, false},
    {"alignat", ARRAY_ALIGNED, 0, 0, TEX_STYLE_DISPLAY, 'n', false},
    {"alignat*", ARRAY_ALIGNED, 0, 0, TEX_STYLE_DISPLAY, 'n', false},
    {"eqnarray", ARRAY_PLAIN, 0, 0, TEX_STYLE_DISPLAY, 0, false},
    {"eqnarray*", ARRAY_PLAIN, 0, 0, TEX_STYLE_DISPLAY, 0, false},
    {"gathered", ARRAY_GATHERED, 0, 0, TEX_STYLE_DISPLAY, 0, false},
    {"gather", ARRAY_GATHERED, 0, 0, TEX_STYLE_DISPLAY, 0, false},
    {"gather*", ARRAY_GATHERED, 0, 0, TEX_STYLE_DISPLAY, 0, false},
    {"multline", ARRAY_GATHERED, 0, 0, TEX_STYLE_DISPLAY, 0, false},
    {"multline*", ARRAY_GATHERED, 0, 0, TEX_STYLE_DISPLAY, 0, false},
    {"equation", ARRAY_GATHERED, 0, 0, TEX_STYLE_DISPLAY, 0, false},
    {"equation*", ARRAY_GATHERED, 0, 0, TEX_STYLE_DISPLAY, 0, false},
};

const TEX_ENVIRONMENT* FindEnvironment(std::string_view name)
{
    for (const TEX_ENVIRONMENT& env : mg_arrEnvironments) {
        if (name == env.m_szName)
            return &env;
    }
    return nullptr;
}

// \begin{name}: the table up to \end; an unknown environment is shown as
// its \begin and \end around its cells set as a matrix.
void BuildEnvironment(TEX_CALL& call)
{
    TexReader& reader = call.m_reader;
    const std::string& name = Arg(call, 0).m_strRaw;
    const TEX_ENVIRONMENT* env = FindEnvironment(name);
    TEX_ARRAY table;
    if (!env) {
        reader.addUnknown(call.m_out, "\\begin{" + name + "}");
        reader.parseRows(table, TexReader::MathState(call.m_state));
        Push(call, std::move(table), TexAtom::Inner);
        call.m_out.push_back(MakeNode(TEX_UNKNOWN{"\\end{" + name + "}"}));
        return;
    }
    table.m_kind = env->m_kind;
    table.m_nLeft = env->m_nLeft;
    table.m_nRight = env->m_nRight;
    table.m_cellStyle = env->m_cellStyle;
    if (env->m_cReads == 't')
        table.m_strColumns = reader.readRawGroup();
    else if (env->m_cReads == 'n')
        reader.readRawGroup();
    else if (env->m_cReads == 'a')
        reader.readOptional(table.m_strColumns);
    else if (std::string_view(env->m_szName).starts_with("eqnarray"))
        table.m_strColumns = "rcl";
    PARSE_STATE cells = TexReader::MathState(call.m_state);
    if (env->m_bTextCells)
        cells.m_bText = true;
    reader.parseRows(table, cells);
    Push(call, std::move(table), TexAtom::Inner);
}

// \substack{a\\b}: lines of script-size limits, centred.
void BuildSubstack(TEX_CALL& call)
{
    TexReader& reader = call.m_reader;
    reader.skipSpaces();
    TEX_ARRAY table;
    table.m_kind = ARRAY_PLAIN;
    table.m_strColumns = "c";
    table.m_cellStyle = TEX_STYLE_SCRIPT;
    if (reader.peek() == '{') {
        reader.skipChar();
        reader.parseRows(table, TexReader::MathState(call.m_state));
        if (reader.peek() == '}')
            reader.skipChar();
    }
    Push(call, std::move(table), TexAtom::Inner);
}

constexpr int ORD = static_cast<int>(TexAtom::Ord);
constexpr int OP = static_cast<int>(TexAtom::Op);
constexpr int BIN = static_cast<int>(TexAtom::Bin);
constexpr int REL = static_cast<int>(TexAtom::Rel);
constexpr int OPEN = static_cast<int>(TexAtom::Open);
constexpr int CLOSE = static_cast<int>(TexAtom::Close);
constexpr int PUNCT = static_cast<int>(TexAtom::Punct);
constexpr int INNER = static_cast<int>(TexAtom::Inner);

constexpr TEX_COMMAND mg_arrCommands[] = {
    // Fractions and roots
    {"frac", "mm", BuildFrac, TEX_STYLE_INHERIT},
    {"dfrac", "mm", BuildFrac, TEX_STYLE_DISPLAY},
    {"tfrac", "mm", BuildFrac, TEX_STYLE_TEXT},
    {"cfrac", "Rmm", BuildCfrac, 0},
    {"binom", "mm", BuildBinom, TEX_STYLE_INHERIT},
    {"dbinom", "mm", BuildBinom, TEX_STYLE_DISPLAY},
    {"tbinom", "mm", BuildBinom, TEX_STYLE_TEXT},
    {"genfrac", "LLrrmm", BuildGenfrac, 0},
    {"sqrt", "om", BuildSqrt, 0},
    {"leftroot", "r", BuildIgnore, 0},
    {"uproot", "r", BuildIgnore, 0},
    // Delimiters
    {"left", "", BuildLeft, 0},
    {"right", "l", BuildStrayDelimiter, CLOSE},
    {"middle", "l", BuildStrayDelimiter, ORD},
    {"big", "l", BuildBig<TexAtom::Ord>, 1},
    {"Big", "l", BuildBig<TexAtom::Ord>, 2},
    {"bigg", "l", BuildBig<TexAtom::Ord>, 3},
    {"Bigg", "l", BuildBig<TexAtom::Ord>, 4},
    {"bigl", "l", BuildBig<TexAtom::Open>, 1},
    {"Bigl", "l", BuildBig<TexAtom::Open>, 2},
    {"biggl", "l", BuildBig<TexAtom::Open>, 3},
    {"Biggl", "l", BuildBig<TexAtom::Open>, 4},
    {"bigr", "l", BuildBig<TexAtom::Close>, 1},
    {"Bigr", "l", BuildBig<TexAtom::Close>, 2},
    {"biggr", "l", BuildBig<TexAtom::Close>, 3},
    {"Biggr", "l", BuildBig<TexAtom::Close>, 4},
    {"bigm", "l", BuildBig<TexAtom::Rel>, 1},
    {"Bigm", "l", BuildBig<TexAtom::Rel>, 2},
    {"biggm", "l", BuildBig<TexAtom::Rel>, 3},
    {"Biggm", "l", BuildBig<TexAtom::Rel>, 4},
    // Math accents
    {"hat", "m", BuildAccent<false, false>, 0x0302},
    {"check", "m", BuildAccent<false, false>, 0x030C},
    {"tilde", "m", BuildAccent<false, false>, 0x0303},
    {"acute", "m", BuildAccent<false, false>, 0x0301},
    {"grave", "m", BuildAccent<false, false>, 0x0300},
    {"dot", "m", BuildAccent<false, false>, 0x0307},
    {"ddot", "m", BuildAccent<false, false>, 0x0308},
    {"dddot", "m", BuildAccent<false, false>, 0x20DB},
    {"ddddot", "m", BuildAccent<false, false>, 0x20DC},
    {"breve", "m", BuildAccent<false, false>, 0x0306},
    {"bar", "m", BuildAccent<false, false>, 0x0304},
    {"vec", "m", BuildAccent<false, false>, 0x20D7},
    {"mathring", "m", BuildAccent<false, false>, 0x030A},
    {"widehat", "m", BuildAccent<true, false>, 0x0302},
    {"widecheck", "m", BuildAccent<true, false>, 0x030C},
    {"widetilde", "m", BuildAccent<true, false>, 0x0303},
    {"overrightarrow", "m", BuildAccent<true, false>, 0x2192},
    {"overleftarrow", "m", BuildAccent<true, false>, 0x2190},
    {"overleftrightarrow", "m", BuildAccent<true, false>, 0x2194},
    {"underrightarrow", "m", BuildAccent<true, true>, 0x2192},
    {"underleftarrow", "m", BuildAccent<true, true>, 0x2190},
    {"underleftrightarrow", "m", BuildAccent<true, true>, 0x2194},
    {"overbrace", "m", BuildBrace<false>, 0x23DE},
    {"underbrace", "m", BuildBrace<true>, 0x23DF},
    // Text accents
    {"'", "t", BuildTextAccent, 0x0301},
    {"`", "t", BuildTextAccent, 0x0300},
    {"^", "t", BuildTextAccent, 0x0302},
    {"\"", "t", BuildTextAccent, 0x0308},
    {"~", "t", BuildTextAccent, 0x0303},
    {"=", "t", BuildTextAccent, 0x0304},
    {".", "t", BuildTextAccent, 0x0307},
    {"u", "t", BuildTextAccent, 0x0306},
    {"v", "t", BuildTextAccent, 0x030C},
    {"H", "t", BuildTextAccent, 0x030B},
    {"r", "t", BuildTextAccent, 0x030A},
    {"c", "t", BuildTextAccent, 0x0327},
    {"k", "t", BuildTextAccent, 0x0328},
    // Bars, stacks, arrows with labels, negation
    {"overline", "m", BuildBar, 1},
    {"underline", "m", BuildBar, 0},
    {"underbar", "m", BuildBar, 0},
    {"overset", "mm", BuildStack, 0},
    {"underset", "mm", BuildStack, 1},
    {"stackrel", "mm", BuildStack, 2},
    {"xrightarrow", "om", BuildXArrow, 0x2192},
    {"xleftarrow", "om", BuildXArrow, 0x2190},
    {"xleftrightarrow", "om", BuildXArrow, 0x2194},
    {"xRightarrow", "om", BuildXArrow, 0x21D2},
    {"xLeftarrow", "om", BuildXArrow, 0x21D0},
    {"xLeftrightarrow", "om", BuildXArrow, 0x21D4},
    {"xmapsto", "om", BuildXArrow, 0x21A6},
    {"xhookrightarrow", "om", BuildXArrow, 0x21AA},
    {"xhookleftarrow", "om", BuildXArrow, 0x21A9},
    {"not", "m", BuildNot, 0},
    // Spaces
    {",", "", BuildMuSpace, 3},
    {"thinspace", "", BuildMuSpace, 3},
    {":", "", BuildMuSpace, 4},
    {">", "", BuildMuSpace, 4},
    {"medspace", "", BuildMuSpace, 4},
    {";", "", BuildMuSpace, 5},
    {"thickspace", "", BuildMuSpace, 5},
    {"!", "", BuildMuSpace, -3},
    {"negthinspace", "", BuildMuSpace, -3},
    {"negmedspace", "", BuildMuSpace, -4},
    {"negthickspace", "", BuildMuSpace, -5},
    {" ", "", BuildEmSpace, 333},
    {"quad", "", BuildEmSpace, 1000},
    {"qquad", "", BuildEmSpace, 2000},
    {"enspace", "", BuildEmSpace, 500},
    {"enskip", "", BuildEmSpace, 500},
    {"hspace", "d", BuildSpace, 0},
    {"hspace*", "d", BuildSpace, 0},
    {"mspace", "d", BuildSpace, 0},
    {"kern", "k", BuildSpace, 0},
    {"mkern", "k", BuildSpace, 0},
    {"hskip", "k", BuildSpace, 0},
    {"mskip", "k", BuildSpace, 0},
    // Boxes and struts
    {"rule", "Ddd", BuildRule, 0},
    {"fbox", "m", BuildFrame, 0},
    {"boxed", "m", BuildFrame, 0},
    {"framebox", "RRm", BuildFrame, 0},
    {"raisebox", "dDDt", BuildRaise, 0},
    {"llap", "t", BuildLap, -1},
    {"rlap", "t", BuildLap, 1},
    {"clap", "t", BuildLap, 0},
    {"mathllap", "m", BuildLap, -1},
    {"mathrlap", "m", BuildLap, 1},
    {"mathclap", "m", BuildLap, 0},
    {"vcenter", "m", BuildVCenter, 0},
    {"phantom", "m", BuildPhantom, 0},
    {"hphantom", "m", BuildPhantom, 1},
    {"vphantom", "m", BuildPhantom, 2},
    {"smash", "Rm", BuildSmash, 0},
    {"mathstrut", "", BuildMathstrut, 0},
    {"mathchoice", "mmmm", BuildChoice, 0},
    {"\\", "D", BuildNewline, 0},
    {"newline", "", BuildNewline, 0},
    {"cr", "", BuildNewline, 0},
    // Atom classes and operators
    {"mathord", "m", BuildClass, ORD},
    {"mathop", "m", BuildClass, OP},
    {"mathbin", "m", BuildClass, BIN},
    {"mathrel", "m", BuildClass, REL},
    {"mathopen", "m", BuildClass, OPEN},
    {"mathclose", "m", BuildClass, CLOSE},
    {"mathpunct", "m", BuildClass, PUNCT},
    {"mathinner", "m", BuildClass, INNER},
    {"limits", "", BuildLimits, LIMITS_ALWAYS},
    {"nolimits", "", BuildLimits, LIMITS_NEVER},
    {"displaylimits", "", BuildLimits, LIMITS_DISPLAY},
    {"operatorname", "", BuildOperatorName, LIMITS_NEVER},
    {"operatorname*", "", BuildOperatorName, LIMITS_DISPLAY},
    {"pmod", "m", BuildPmod, 0},
    {"pod", "m", BuildPmod, 0},
    {"mod", "m", BuildMod, 0},
    {"bmod", "", BuildBmod, 0},
    {"tag", "t", BuildTag, 0},
    {"tag*", "t", BuildTag, 0},
    // Fonts, text and styles
    {"mathrm", "", BuildAlphabet, ALPHA_ROMAN},
    {"mathup", "", BuildAlphabet, ALPHA_ROMAN},
    {"mathbf", "", BuildAlphabet, ALPHA_BOLD},
    {"mathit", "", BuildAlphabet, ALPHA_ITALIC},
    {"mathnormal", "", BuildAlphabet, ALPHA_DEFAULT},
    {"mathcal", "", BuildAlphabet, ALPHA_SCRIPT},
    {"mathscr", "", BuildAlphabet, ALPHA_SCRIPT},
    {"mathbb", "", BuildAlphabet, ALPHA_BLACKBOARD},
    {"mathfrak", "", BuildAlphabet, ALPHA_FRAKTUR},
    {"mathsf", "", BuildAlphabet, ALPHA_SANS},
    {"mathtt", "", BuildAlphabet, ALPHA_MONO},
    {"boldsymbol", "", BuildBoldSymbol, ALPHA_BOLDITALIC},
    {"bm", "", BuildBoldSymbol, ALPHA_BOLDITALIC},
    {"pmb", "", BuildBoldSymbol, ALPHA_BOLDITALIC},
    {"rm", "", BuildFontSwitch, 0},
    {"bf", "", BuildFontSwitch, 1},
    {"it", "", BuildFontSwitch, 2},
    {"cal", "", BuildFontSwitch, 3},
    {"sf", "", BuildFontSwitch, 4},
    {"tt", "", BuildFontSwitch, 5},
    {"text", "", BuildText, TEXFONT_ROMAN},
    {"mbox", "", BuildText, TEXFONT_ROMAN},
    {"hbox", "", BuildText, TEXFONT_ROMAN},
    {"textrm", "", BuildText, TEXFONT_ROMAN},
    {"textnormal", "", BuildText, TEXFONT_ROMAN},
    {"textup", "", BuildText, TEXFONT_ROMAN},
    {"textbf", "", BuildText, TEXFONT_BOLD},
    {"textit", "", BuildText, TEXFONT_ITALIC},
    {"textsl", "", BuildText, TEXFONT_ITALIC},
    {"emph", "", BuildText, TEXFONT_ITALIC},
    {"textsf", "", BuildText, TEXFONT_SANS},
    {"texttt", "", BuildText, TEXFONT_MONO},
    {"i", "", BuildTextChar, 0x0131},
    {"j", "", BuildTextChar, 0x0237},
    {"displaystyle", "", BuildStyle, TEX_STYLE_DISPLAY},
    {"textstyle", "", BuildStyle, TEX_STYLE_TEXT},
    {"scriptstyle", "", BuildStyle, TEX_STYLE_SCRIPT},
    {"scriptscriptstyle", "", BuildStyle, TEX_STYLE_SCRIPTSCRIPT},
    {"tiny", "", BuildSize, 0},
    {"scriptsize", "", BuildSize, 0},
    {"footnotesize", "", BuildSize, 0},
    {"small", "", BuildSize, 0},
    {"normalsize", "", BuildSize, 0},
    {"large", "", BuildSize, 0},
    {"Large", "", BuildSize, 0},
    {"LARGE", "", BuildSize, 0},
    {"huge", "", BuildSize, 0},
    {"Huge", "", BuildSize, 0},
    {"color", "r", BuildIgnore, 0},
    {"textcolor", "r", BuildTextColor, 0},
    // Tables
    {"begin", "r", BuildEnvironment, 0},
    {"end", "r", BuildIgnore, 0},
    {"substack", "", BuildSubstack, 0},
    {"hline", "", BuildIgnore, 0},
    {"cline", "r", BuildIgnore, 0},
    // Line-breaking and numbering hints: nothing to draw on one image
    {"/", "", BuildIgnore, 0},
    {"-", "", BuildIgnore, 0},
    {"nobreak", "", BuildIgnore, 0},
    {"allowbreak", "", BuildIgnore, 0},
    {"nolinebreak", "", BuildIgnore, 0},
    {"nonumber", "", BuildIgnore, 0},
    {"notag", "", BuildIgnore, 0},
    {"label", "r", BuildIgnore, 0},
    {"relax", "", BuildIgnore, 0},
    {"noindent", "", BuildIgnore, 0},
    {"par", "", BuildIgnore, 0},
    {"nonscript", "", BuildIgnore, 0},
};

constexpr TEX_INFIX mg_arrInfixes[] = {
    {"over", true, false, 0, 0},    {"atop", false, false, 0, 0},   {"above", true, true, 0, 0},
    {"choose", false, false, '(', ')'}, {"brace", false, false, '{', '}'}, {"brack", false, false, '[', ']'},
};

}  // namespace

const TEX_COMMAND* FindTexCommand(std::string_view name)
{
    return FindByName(mg_arrCommands, name);
}

const TEX_INFIX* FindTexInfix(std::string_view name)
{
    for (const TEX_INFIX& infix : mg_arrInfixes) {
        if (name == infix.m_szName)
            return &infix;
    }
    return nullptr;
}

}  // namespace tex
