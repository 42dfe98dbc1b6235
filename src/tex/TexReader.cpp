#include "tex/TexReader.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "tex/TexSymbols.h"

namespace tex {
namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

struct UNIT_NAME {
    const char* m_szName;
    TexUnit m_unit;
};

constexpr UNIT_NAME mg_arrUnits[] = {
    {"pt", UNIT_PT}, {"pc", UNIT_PC}, {"in", UNIT_IN}, {"cm", UNIT_CM}, {"mm", UNIT_MM},
    {"bp", UNIT_BP}, {"dd", UNIT_DD}, {"cc", UNIT_CC}, {"sp", UNIT_SP}, {"em", UNIT_EM},
    {"ex", UNIT_EX}, {"mu", UNIT_MU}, {"px", UNIT_PX},
};

// The unit named by the first two letters of the text, false when they name none.
bool FindUnit(std::string_view text, TexUnit& unit)
{
    if (text.size() < 2)
        return false;
    char name[3] = {static_cast<char>(text[0] | 0x20), static_cast<char>(text[1] | 0x20), 0};
    for (const UNIT_NAME& u : mg_arrUnits) {
        if (std::strcmp(u.m_szName, name) == 0) {
            unit = u.m_unit;
            return true;
        }
    }
    return false;
}

// Length of the number at the start of the text: sign, digits, one decimal point or comma.
size_t NumberLength(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && (text[i] == '+' || text[i] == '-' || IsSpace(text[i])))
        ++i;
    bool point = false;
    while (i < text.size() && ((text[i] >= '0' && text[i] <= '9') || (!point && (text[i] == '.' || text[i] == ',')))) {
        point = point || text[i] == '.' || text[i] == ',';
        ++i;
    }
    return i;
}

double NumberValue(std::string_view text)
{
    std::string number;
    bool negative = false;
    for (char c : text) {
        if (c == '-')
            negative = !negative;
        else if (c == ',')
            number += '.';
        else if (c != '+' && !IsSpace(c))
            number += c;
    }
    double value = number.empty() ? 0 : std::strtod(number.c_str(), nullptr);
    return negative ? -value : value;
}

}  // namespace

TexNode MakeNode(TEX_PAYLOAD payload, TexAtom atom)
{
    TexNode node;
    node.m_payload = std::move(payload);
    node.m_atom = atom;
    return node;
}

TexNode MakeChar(uint32_t codepoint, TexAtom atom)
{
    return MakeNode(TEX_CHAR{codepoint, false}, atom);
}

TexNode MakeSpace(double amount, TexUnit unit)
{
    TEX_SPACE space;
    space.m_width = {amount, unit};
    space.m_inlineWidth = space.m_width;
    return MakeNode(std::move(space));
}

TexNode MakeSymbol(const TEX_SYMBOL& symbol, const PARSE_STATE& state)
{
    uint32_t cp = symbol.m_nCodepoint;
    if (symbol.m_nFlags & SYMF_LETTER)
        cp = MapMathAlphabet(cp, state.m_alphabet, (symbol.m_nFlags & SYMF_ITALIC) != 0);
    TexNode node = MakeChar(cp, symbol.m_atom);
    if (symbol.m_nFlags & SYMF_LARGEOP) {
        node.as<TEX_CHAR>()->m_bLargeOp = true;
        node.m_limits = (symbol.m_nFlags & SYMF_NOLIMITS) ? LIMITS_NEVER : LIMITS_DISPLAY;
    }
    return node;
}

TEX_DIMEN ParseDimension(std::string_view text)
{
    TEX_DIMEN dimen;
    size_t length = NumberLength(text);
    dimen.m_dAmount = NumberValue(text.substr(0, length));
    std::string_view rest = text.substr(length);
    while (!rest.empty() && IsSpace(rest.front()))
        rest.remove_prefix(1);
    if (rest.starts_with("true"))
        rest.remove_prefix(4);
    if (!FindUnit(rest, dimen.m_unit))
        dimen.m_unit = UNIT_PX;
    // Keep lengths within what a screen can show: a count beyond a few
    // thousand (pixels, points, ems) is a typing error, not a layout.
    double units = dimen.m_unit == UNIT_SP ? dimen.m_dAmount / 65536.0 : dimen.m_dAmount;
    if (!(std::fabs(units) < 2048.0))
        dimen.m_dAmount = 0;
    return dimen;
}

TexReader::TexReader(std::string_view text, std::vector<std::string>* pUnknown)
    : m_src(text), m_pUnknown(pUnknown)
{
}

bool TexReader::parse(TexList& out)
{
    PARSE_STATE state;
    for (;;) {
        StopReason reason = parseList(out, state, 0);
        if (m_bTooDeep)
            return false;
        if (reason == StopReason::Eof) {
            for (TexNode& node : m_listTag)
                out.push_back(std::move(node));
            return true;
        }
        // A stray '}' at the top: drop it and go on with the rest.
        ++m_nPos;
    }
}

bool TexReader::enter()
{
    if (++m_nDepth > TEX_MAX_NESTING) {
        m_bTooDeep = true;
        m_nPos = m_src.size();
    }
    return !m_bTooDeep;
}

void TexReader::skipSpaces()
{
    while (!atEnd() && IsSpace(m_src[m_nPos]))
        ++m_nPos;
}

bool TexReader::skipCommand(std::string_view name)
{
    if (peek() != '\\' || !m_src.substr(m_nPos + 1).starts_with(name))
        return false;
    if (IsLetter(name.back()) && IsLetter(peek(1 + name.size())))
        return false;
    m_nPos += 1 + name.size();
    return true;
}

// Decodes one UTF-8 code point; malformed bytes give U+FFFD and are consumed one at a time.
uint32_t TexReader::readCodepoint()
{
    unsigned char c = static_cast<unsigned char>(m_src[m_nPos++]);
    if (c < 0x80)
        return c;
    int extra = c >= 0xF0 && c < 0xF8 ? 3 : c >= 0xE0 && c < 0xF0 ? 2 : c >= 0xC0 && c < 0xE0 ? 1 : -1;
    if (extra < 0)
        return 0xFFFD;
    uint32_t cp = c & (0x3F >> extra);
    for (int i = 0; i < extra; ++i) {
        if (atEnd() || (static_cast<unsigned char>(m_src[m_nPos]) & 0xC0) != 0x80)
            return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(m_src[m_nPos++]) & 0x3F);
    }
    return cp > 0x10FFFF ? 0xFFFD : cp;
}

// The name after a backslash: a run of letters (with the star of \hspace*
// and friends), or one other character.
std::string_view TexReader::readCommandName()
{
    size_t start = m_nPos;
    if (atEnd())
        return {};
    if (!IsLetter(m_src[m_nPos])) {
        readCodepoint();
        return m_src.substr(start, m_nPos - start);
    }
    while (!atEnd() && IsLetter(m_src[m_nPos]))
        ++m_nPos;
    std::string_view name = m_src.substr(start, m_nPos - start);
    if (peek() == '*') {
        std::string starred = std::string(name) + "*";
        if (FindTexCommand(starred))
            ++m_nPos;
    }
    return m_src.substr(start, m_nPos - start);
}

std::string TexReader::readRawGroup()
{
    skipSpaces();
    if (peek() != '{')
        return {};
    ++m_nPos;
    size_t start = m_nPos;
    int depth = 1;
    while (!atEnd()) {
        char c = m_src[m_nPos];
        if (c == '\\' && m_nPos + 1 < m_src.size()) {
            m_nPos += 2;
            continue;
        }
        if (c == '{')
            ++depth;
        else if (c == '}' && --depth == 0)
            break;
        ++m_nPos;
    }
    std::string raw(m_src.substr(start, m_nPos - start));
    if (!atEnd())
        ++m_nPos;
    return raw;
}

bool TexReader::readOptional(std::string& out)
{
    size_t save = m_nPos;
    skipSpaces();
    if (peek() != '[') {
        m_nPos = save;
        return false;
    }
    ++m_nPos;
    size_t start = m_nPos;
    int depth = 0;
    while (!atEnd() && !(m_src[m_nPos] == ']' && depth == 0)) {
        if (m_src[m_nPos] == '{')
            ++depth;
        else if (m_src[m_nPos] == '}')
            --depth;
        if (depth < 0)
            break;
        ++m_nPos;
    }
    out.assign(m_src.substr(start, m_nPos - start));
    if (peek() == ']')
        ++m_nPos;
    return true;
}

// \kern3pt, \mkern18mu, \hskip 1em: the number and exactly one unit, so that
// the letters after it (\kern1emb) stay in the formula.
TEX_DIMEN TexReader::readInlineDimension()
{
    skipSpaces();
    size_t start = m_nPos;
    m_nPos += NumberLength(m_src.substr(m_nPos));
    std::string text(m_src.substr(start, m_nPos - start));
    skipSpaces();
    std::string_view rest = m_src.substr(m_nPos);
    if (rest.starts_with("true"))
        rest.remove_prefix(4);
    TexUnit unit = UNIT_PX;
    if (FindUnit(rest, unit)) {
        text.append(rest.substr(0, 2));
        m_nPos = static_cast<size_t>(rest.data() - m_src.data()) + 2;
    }
    return ParseDimension(text);
}

// Bracket processing turns "(" into "\left( " and ")" into " \right)", also
// where a delimiter is expected ("\big(", "\genfrac{(}{)}", "\middle("):
// those count as the bare bracket.
uint32_t TexReader::readDelimiter()
{
    skipSpaces();
    for (std::string_view prefix : {"left", "right"}) {
        size_t save = m_nPos;
        if (skipCommand(prefix)) {
            skipSpaces();
            if (peek() == '(' || peek() == ')')
                return static_cast<uint32_t>(m_src[m_nPos++]);
            m_nPos = save;
        }
    }
    if (atEnd())
        return UINT32_MAX;
    size_t save = m_nPos;
    if (m_src[m_nPos] == '\\') {
        ++m_nPos;
        std::string_view name = readCommandName();
        uint32_t cp = FindTexDelimiter(name, true);
        if (cp == UINT32_MAX)
            m_nPos = save;
        return cp;
    }
    uint32_t cp = FindTexDelimiter(m_src.substr(m_nPos, 1), false);
    if (cp != UINT32_MAX)
        ++m_nPos;
    return cp;
}

// {(} of \genfrac: a delimiter in braces; {} is none.
uint32_t TexReader::readBracedDelimiter()
{
    skipSpaces();
    if (peek() != '{')
        return 0;
    ++m_nPos;
    uint32_t cp = readDelimiter();
    skipSpaces();
    while (!atEnd() && peek() != '}')
        ++m_nPos;  // anything else in the braces is not a delimiter
    if (!atEnd())
        ++m_nPos;
    return cp == UINT32_MAX ? 0 : cp;
}

StopReason TexReader::stopAt(unsigned flags) const
{
    char c = m_src[m_nPos];
    if (c == '}')
        return StopReason::Brace;
    if (c == '&' && (flags & STOP_ARRAY))
        return StopReason::Amp;
    if (c == '$' && (flags & STOP_DOLLAR))
        return StopReason::Dollar;
    if (c != '\\')
        return StopReason::Eof;
    std::string_view next = m_src.substr(m_nPos + 1);
    auto command = [&](std::string_view name) {
        return next.starts_with(name) && !IsLetter(peek(1 + name.size()));
    };
    if (next.starts_with("\\") && (flags & (STOP_ARRAY | STOP_NEWLINE)))
        return StopReason::Newline;
    if (command("cr") && (flags & (STOP_ARRAY | STOP_NEWLINE)))
        return StopReason::Newline;
    if (command("right") && (flags & STOP_RIGHT))
        return StopReason::Right;
    if (command("middle") && (flags & STOP_RIGHT))
        return StopReason::Middle;
    if (command("end") && (flags & STOP_ARRAY))
        return StopReason::End;
    return StopReason::Eof;
}

StopReason TexReader::parseList(TexList& out, PARSE_STATE state, unsigned flags)
{
    if (!enter()) {
        leave();
        return StopReason::Eof;
    }
    size_t start = out.size();
    const TEX_INFIX* infix = nullptr;
    TEX_DIMEN thickness;
    size_t split = 0;
    StopReason reason = StopReason::Eof;
    while (!atEnd() && !m_bTooDeep) {
        reason = stopAt(flags);
        if (reason != StopReason::Eof)
            break;
        if (state.m_bText && parseTextRun(out, state))
            continue;
        // {a \over b}: the first infix command splits the list it stands in;
        // TeX refuses a second one in the same group, and so it is dropped.
        if (m_src[m_nPos] == '\\') {
            size_t save = m_nPos++;
            const TEX_INFIX* found = FindTexInfix(readCommandName());
            if (found) {
                TEX_DIMEN dimen = found->m_bReadsThickness ? readInlineDimension() : TEX_DIMEN();
                if (!infix) {
                    infix = found;
                    split = out.size();
                    thickness = dimen;
                }
                continue;
            }
            m_nPos = save;
        }
        parseItem(out, state, flags);
    }
    if (infix && !m_bTooDeep) {
        TEX_FRAC frac;
        frac.m_bHasBar = infix->m_bHasBar;
        frac.m_bThickness = infix->m_bReadsThickness;
        frac.m_thickness = thickness;
        frac.m_nLeftDelim = infix->m_nLeft;
        frac.m_nRightDelim = infix->m_nRight;
        auto begin = out.begin() + static_cast<ptrdiff_t>(start);
        auto middle = out.begin() + static_cast<ptrdiff_t>(split);
        frac.m_listNumerator.assign(std::make_move_iterator(begin), std::make_move_iterator(middle));
        frac.m_listDenominator.assign(std::make_move_iterator(middle), std::make_move_iterator(out.end()));
        out.erase(begin, out.end());
        out.push_back(MakeNode(std::move(frac)));
    }
    leave();
    return m_bTooDeep ? StopReason::Eof : reason;
}

// Collects plain characters of a text block into one text-font run.
// False when the next character is not plain text.
bool TexReader::parseTextRun(TexList& out, const PARSE_STATE& state)
{
    std::string run;
    while (!atEnd()) {
        char c = m_src[m_nPos];
        if (c == '\\') {
            // Escaped characters and the control space stay in the run.
            char n = peek(1);
            if (n == ' ' || n == '%' || n == '&' || n == '#' || n == '$' || n == '_' || n == '{' || n == '}') {
                run += n;
                m_nPos += 2;
                continue;
            }
            break;
        }
        if (c == '{' || c == '}' || c == '$' || c == '^' || c == '_' || c == '&')
            break;
        if (IsSpace(c) || c == '~') {
            // Blanks collapse into one, as in TeX.
            if (run.empty() || run.back() != ' ')
                run += ' ';
            ++m_nPos;
            while (!atEnd() && IsSpace(m_src[m_nPos]))
                ++m_nPos;
            continue;
        }
        run += c;
        ++m_nPos;
    }
    if (run.empty())
        return false;
    if (!out.empty() && !out.back().m_bHasSup && !out.back().m_bHasSub) {
        TEX_TEXT* last = out.back().as<TEX_TEXT>();
        if (last && last->m_nFont == state.m_nTextFont) {
            last->m_strText += run;
            return true;
        }
    }
    out.push_back(MakeNode(TEX_TEXT{std::move(run), state.m_nTextFont}));
    return true;
}

void TexReader::parseItem(TexList& out, PARSE_STATE& state, unsigned flags)
{
    char c = m_src[m_nPos];
    if (IsSpace(c)) {
        ++m_nPos;
        return;
    }
    switch (c) {
    case '{': {
        ++m_nPos;
        TEX_GROUP group;
        parseGroupBody(group.m_listBody, state);
        out.push_back(MakeNode(std::move(group)));
        return;
    }
    case '^':
    case '_':
        ++m_nPos;
        parseScript(out, c == '^', state);
        return;
    case '\'':
        ++m_nPos;
        parsePrime(out);
        return;
    case '$':
        ++m_nPos;
        if (state.m_bText) {
            // $...$ inside a text block is mathematics.
            TEX_GROUP group;
            if (parseList(group.m_listBody, MathState(state), STOP_DOLLAR) == StopReason::Dollar)
                ++m_nPos;
            out.push_back(MakeNode(std::move(group)));
        }
        return;
    case '&':
        // A stray alignment tab: nothing to draw.
        ++m_nPos;
        return;
    case '~':
        ++m_nPos;
        out.push_back(MakeSpace(1.0 / 3.0, UNIT_EM));
        return;
    case '\\':
        ++m_nPos;
        parseCommand(out, state, flags);
        return;
    default:
        break;
    }
    uint32_t cp = readCodepoint();
    if (cp == 0xFFFD || cp < 0x20)
        return;
    if (cp < 0x80) {
        TexAtom atom = AsciiAtom(static_cast<char>(cp));
        if (cp == '-')
            cp = 0x2212;  // a hyphen in math is a minus sign
        else if (cp == '*')
            cp = 0x2217;
        else
            cp = MapMathAlphabet(cp, state.m_alphabet, false);
        out.push_back(MakeChar(cp, atom));
        return;
    }
    // A symbol typed directly (×, ≤, ∑) is the symbol of its command.
    const TEX_SYMBOL* symbol = FindTexSymbolByCodepoint(cp);
    if (symbol)
        out.push_back(MakeSymbol(*symbol, state));
    else
        out.push_back(MakeChar(MapMathAlphabet(cp, state.m_alphabet, false), TexAtom::Ord));
}

void TexReader::parseGroupBody(TexList& body, const PARSE_STATE& state)
{
    for (;;) {
        StopReason reason = parseList(body, state, 0);
        if (reason == StopReason::Brace) {
            ++m_nPos;
            return;
        }
        if (reason == StopReason::Eof)
            return;  // unclosed group: it ends with the text
    }
}

void TexReader::parseArgument(TexList& out, const PARSE_STATE& state)
{
    skipSpaces();
    if (atEnd())
        return;
    char c = m_src[m_nPos];
    if (c == '{') {
        ++m_nPos;
        parseGroupBody(out, state);
        return;
    }
    if (c == '}' || c == '^' || c == '_' || c == '&' || c == '$')
        return;
    if (!enter()) {
        leave();
        return;
    }
    if (state.m_bText && c != '\\') {
        // \text x: one character of text.
        size_t start = m_nPos;
        readCodepoint();
        out.push_back(MakeNode(TEX_TEXT{std::string(m_src.substr(start, m_nPos - start)), state.m_nTextFont}));
    } else {
        PARSE_STATE inner = state;
        parseItem(out, inner, 0);
    }
    leave();
}

void TexReader::parseTextArgument(TexList& out, const PARSE_STATE& state, uint8_t nFont)
{
    PARSE_STATE inner = state;
    inner.m_bText = true;
    inner.m_nTextFont = nFont;
    parseArgument(out, inner);
}

bool TexReader::parseSubText(std::string_view text, TexList& out, const PARSE_STATE& state)
{
    TexReader inner(text, m_pUnknown);
    inner.m_nDepth = m_nDepth;
    inner.parseList(out, MathState(state), 0);
    if (inner.m_bTooDeep) {
        m_bTooDeep = true;
        m_nPos = m_src.size();
        return false;
    }
    return true;
}

void TexReader::addUnknown(TexList& out, std::string source)
{
    if (m_pUnknown && std::find(m_pUnknown->begin(), m_pUnknown->end(), source) == m_pUnknown->end())
        m_pUnknown->push_back(source);
    out.push_back(MakeNode(TEX_UNKNOWN{std::move(source)}));
}

bool TexReader::readArguments(const char* szShape, const PARSE_STATE& state, std::vector<TEX_ARG>& args)
{
    for (const char* p = szShape; *p && !m_bTooDeep; ++p) {
        TEX_ARG arg;
        std::string raw;
        switch (*p) {
        case 'm': parseMathArgument(arg.m_list, state); break;
        case 't': parseTextArgument(arg.m_list, state, state.m_nTextFont); break;
        case 'o':
            arg.m_bPresent = readOptional(raw);
            if (arg.m_bPresent)
                parseSubText(raw, arg.m_list, state);
            break;
        case 'r': arg.m_strRaw = readRawGroup(); break;
        case 'R': arg.m_bPresent = readOptional(arg.m_strRaw); break;
        case 'd': arg.m_dimen = ParseDimension(readRawGroup()); break;
        case 'D':
            arg.m_bPresent = readOptional(raw);
            arg.m_dimen = ParseDimension(raw);
            break;
        case 'k': arg.m_dimen = readInlineDimension(); break;
        case 'l': arg.m_nDelimiter = readDelimiter(); break;
        case 'L': arg.m_nDelimiter = readBracedDelimiter(); break;
        default: break;
        }
        args.push_back(std::move(arg));
    }
    return !m_bTooDeep;
}

void TexReader::parseCommand(TexList& out, PARSE_STATE& state, unsigned flags)
{
    std::string_view name = readCommandName();
    if (name.empty())
        return;  // a backslash at the very end
    // Blanks after a command name are only separators in mathematics; in a
    // text block (" + \omega : angular speed") they are part of the text.
    if (IsLetter(name[0]) && !state.m_bText)
        skipSpaces();

    if (const TEX_COMMAND* command = FindTexCommand(name)) {
        TEX_CALL call{*this, state, flags, out, name, command->m_nParam, {}};
        if (readArguments(command->m_szArgs, state, call.m_vecArgs))
            command->m_pBuild(call);
        return;
    }
    if (const TEX_SYMBOL* symbol = FindTexSymbol(name)) {
        out.push_back(MakeSymbol(*symbol, state));
        return;
    }
    if (const TEX_OPNAME* op = FindTexOperatorName(name)) {
        TexNode node = MakeNode(TEX_WORD{op->m_szText}, TexAtom::Op);
        node.m_limits = op->m_bLimits ? LIMITS_DISPLAY : LIMITS_NEVER;
        out.push_back(std::move(node));
        return;
    }
    addUnknown(out, "\\" + std::string(name));
}

void TexReader::parseScript(TexList& out, bool bSup, const PARSE_STATE& state)
{
    auto takesScripts = [](const TexNode& node) {
        TexNodeKind kind = node.kind();
        return kind != TexNodeKind::Space && kind != TexNodeKind::Style && kind != TexNodeKind::Size &&
               kind != TexNodeKind::Newline;
    };
    bool needBase = out.empty() || !takesScripts(out.back());
    if (!needBase) {
        const TexNode& last = out.back();
        needBase = bSup ? (last.m_bHasSup && !last.m_bPrimeOnly) : last.m_bHasSub;
    }
    if (needBase) {
        // A script with nothing to attach to (or a second one) sits on an empty base.
        out.push_back(MakeNode(TEX_GROUP{}));
    }
    TexList arg;
    parseMathArgument(arg, state);
    TexNode& base = out.back();
    if (!bSup) {
        base.m_listSub = std::move(arg);
        base.m_bHasSub = true;
        return;
    }
    // ^o is how formulas write degrees: draw the ring of ^\circ.
    if (arg.size() == 1) {
        const TEX_CHAR* ch = arg[0].as<TEX_CHAR>();
        if (ch && (ch->m_nCodepoint == MapMathAlphabet('o', ALPHA_DEFAULT, false) || ch->m_nCodepoint == 'o'))
            arg[0] = MakeChar(0x2218, TexAtom::Ord);
    }
    if (base.m_bPrimeOnly) {
        for (TexNode& n : arg)
            base.m_listSup.push_back(std::move(n));
    } else {
        base.m_listSup = std::move(arg);
    }
    base.m_bHasSup = true;
    base.m_bPrimeOnly = false;
}

void TexReader::parsePrime(TexList& out)
{
    bool needBase = out.empty() || out.back().kind() == TexNodeKind::Space ||
                    out.back().kind() == TexNodeKind::Style || out.back().kind() == TexNodeKind::Size ||
                    out.back().kind() == TexNodeKind::Newline || (out.back().m_bHasSup && !out.back().m_bPrimeOnly);
    if (needBase)
        out.push_back(MakeNode(TEX_GROUP{}));
    TexNode& base = out.back();
    if (!base.m_bHasSup)
        base.m_bPrimeOnly = true;
    base.m_bHasSup = true;
    base.m_listSup.push_back(MakeChar(0x2032, TexAtom::Ord));
}

// Counts and skips the \hline commands at the start of a row.
uint8_t TexReader::skipHlines()
{
    uint8_t count = 0;
    for (;;) {
        skipSpaces();
        if (skipCommand("hline")) {
            count = static_cast<uint8_t>(std::min(2, count + 1));
            continue;
        }
        if (skipCommand("cline")) {
            readRawGroup();
            continue;
        }
        return count;
    }
}

void TexReader::parseRows(TEX_ARRAY& table, const PARSE_STATE& state)
{
    std::vector<TexList> row(1);
    table.m_vecHlines.push_back(skipHlines());
    for (;;) {
        StopReason reason = parseList(row.back(), state, STOP_ARRAY);
        if (reason == StopReason::Amp) {
            ++m_nPos;
            row.emplace_back();
            continue;
        }
        if (reason == StopReason::Newline) {
            bool cr = m_src.substr(m_nPos).starts_with("\\cr");
            m_nPos += cr ? 3 : 2;
            TEX_DIMEN gap;
            std::string raw;
            if (!cr && readOptional(raw))
                gap = ParseDimension(raw);
            table.m_vecRows.push_back(std::move(row));
            table.m_vecRowGaps.push_back(gap);
            table.m_vecHlines.push_back(skipHlines());
            row.assign(1, TexList());
            continue;
        }
        if (reason == StopReason::End) {
            m_nPos += 4;  // "\end"
            readRawGroup();
        }
        break;  // \end, an unmatched '}' or the end of the text closes the table
    }
    // A trailing \\ leaves an empty last row; it takes no space.
    bool emptyRow = row.size() == 1 && row[0].empty();
    if (!emptyRow) {
        table.m_vecRows.push_back(std::move(row));
        table.m_vecRowGaps.push_back(TEX_DIMEN());
        table.m_vecHlines.push_back(0);
    }
}

}  // namespace tex
