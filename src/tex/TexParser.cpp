#include "tex/TexParser.h"

#include <cstdlib>
#include <cstring>
#include <unordered_map>

#include "tex/MathFont.h"
#include "tex/TexSymbols.h"

namespace tex {
namespace {

// What ends a list besides '}' and the end of the text.
enum : unsigned {
    STOP_RIGHT = 1,    // inside \left ... \right
    STOP_ARRAY = 2,    // inside an array cell: '&', '\\' and \end
    STOP_NEWLINE = 4,  // '\\' closes an open \left (it never spans lines)
    STOP_DOLLAR = 8,   // math inside a text block: $...$
};

enum class StopReason { Eof, Brace, Right, Amp, Newline, End, Dollar };

struct PARSE_STATE {
    TexAlphabet m_alphabet = ALPHA_DEFAULT;
    uint8_t m_nTextFont = TEXFONT_ROMAN;
    bool m_bText = false;  // text mode: letters go into text-font runs
};

struct SIZE_COMMAND {
    const char* m_szName;
    double m_dPixels;
};

// Pixel size of the em for each size command. \normalsize units fit the
// 27-pixel calculation rows with room for a superscript and \left( \right);
// \large is the size of detail pages on the 320-pixel screen.
constexpr SIZE_COMMAND mg_arrSizes[] = {
    {"tiny", 8},   {"scriptsize", 10}, {"footnotesize", 12}, {"small", 13}, {"normalsize", 15},
    {"large", 18}, {"Large", 21},      {"LARGE", 25},        {"huge", 30},  {"Huge", 36},
};

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// Atom class of a non-ASCII symbol typed directly (×, ≤, →): the class of the
// command that produces it, Ord for anything else.
TexAtom UnicodeAtom(uint32_t cp)
{
    static const std::unordered_map<uint32_t, TexAtom> classes = [] {
        std::unordered_map<uint32_t, TexAtom> map;
        const char* names[] = {"pm", "mp", "times", "div", "cdot", "ast", "circ", "bullet", "oplus",
                               "otimes", "cap", "cup", "wedge", "vee", "setminus",
                               "le", "ge", "ne", "approx", "equiv", "sim", "simeq", "cong",
                               "propto", "ll", "gg", "subset", "supset", "subseteq", "supseteq",
                               "in", "ni", "notin", "perp", "parallel", "to", "leftarrow",
                               "Rightarrow", "Leftarrow", "leftrightarrow", "Leftrightarrow",
                               "mapsto", "uparrow", "downarrow", "langle", "rangle", "lfloor",
                               "rfloor", "lceil", "rceil", "sum", "prod", "int", "oint"};
        for (const char* name : names) {
            if (const TEX_SYMBOL* s = FindTexSymbol(name))
                map.emplace(s->m_nCodepoint, s->m_atom);
        }
        return map;
    }();
    auto it = classes.find(cp);
    return it == classes.end() ? TexAtom::Ord : it->second;
}

class TexParser {
public:
    explicit TexParser(std::string_view text) : m_src(text) {}

    bool parse(TexList& out)
    {
        PARSE_STATE state;
        for (;;) {
            StopReason reason = parseList(out, state, 0);
            if (m_bTooDeep)
                return false;
            if (reason == StopReason::Eof)
                return true;
            // A stray '}' at the top: drop it and go on with the rest.
            ++m_nPos;
        }
    }

private:
    std::string_view m_src;
    size_t m_nPos = 0;
    int m_nDepth = 0;
    bool m_bTooDeep = false;

    bool atEnd() const { return m_nPos >= m_src.size(); }
    char peek(size_t ahead = 0) const
    {
        return m_nPos + ahead < m_src.size() ? m_src[m_nPos + ahead] : '\0';
    }
    void skipSpaces()
    {
        while (!atEnd() && IsSpace(m_src[m_nPos]))
            ++m_nPos;
    }

    // Decodes one UTF-8 code point; malformed bytes give U+FFFD and are consumed one at a time.
    uint32_t readCodepoint()
    {
        unsigned char c = static_cast<unsigned char>(m_src[m_nPos++]);
        if (c < 0x80)
            return c;
        int extra = c >= 0xF0 && c < 0xF8 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : -1;
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

    // Reads the name after a backslash: a run of letters, or one other character.
    std::string_view readCommandName()
    {
        size_t start = m_nPos;
        if (atEnd())
            return {};
        if (IsLetter(m_src[m_nPos])) {
            while (!atEnd() && IsLetter(m_src[m_nPos]))
                ++m_nPos;
            std::string_view name = m_src.substr(start, m_nPos - start);
            // A starred form (\hspace*, \operatorname*) keeps its star in the name.
            if (peek() == '*' && (name == "hspace" || name == "operatorname"))
                ++m_nPos;
            return m_src.substr(start, m_nPos - start);
        }
        readCodepoint();
        return m_src.substr(start, m_nPos - start);
    }

    // Raw text of a braced argument ({abc} gives abc), balanced; empty when none follows.
    std::string readRawGroup()
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

    // Raw text of an optional [..] argument; false when there is none.
    bool readOptional(std::string& out)
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

    bool enter()
    {
        if (++m_nDepth > TEX_MAX_NESTING) {
            m_bTooDeep = true;
            m_nPos = m_src.size();
        }
        return !m_bTooDeep;
    }
    void leave() { --m_nDepth; }

    StopReason parseList(TexList& out, PARSE_STATE state, unsigned flags)
    {
        if (!enter()) {
            leave();
            return StopReason::Eof;
        }
        StopReason reason = StopReason::Eof;
        while (!atEnd()) {
            char c = m_src[m_nPos];
            if (c == '}') {
                reason = StopReason::Brace;
                break;
            }
            if (c == '&' && (flags & STOP_ARRAY)) {
                reason = StopReason::Amp;
                break;
            }
            if (c == '$' && (flags & STOP_DOLLAR)) {
                reason = StopReason::Dollar;
                break;
            }
            if (c == '\\') {
                std::string_view next = m_src.substr(m_nPos + 1);
                if (next.starts_with("\\") && (flags & (STOP_ARRAY | STOP_NEWLINE))) {
                    reason = StopReason::Newline;
                    break;
                }
                if (next.starts_with("right") && !IsLetter(peek(6)) && (flags & STOP_RIGHT)) {
                    reason = StopReason::Right;
                    break;
                }
                if (next.starts_with("end") && !IsLetter(peek(4)) && (flags & STOP_ARRAY)) {
                    reason = StopReason::End;
                    break;
                }
            }
            if (state.m_bText && parseTextRun(out, state))
                continue;
            parseItem(out, state, flags);
            if (m_bTooDeep)
                break;
        }
        leave();
        return m_bTooDeep ? StopReason::Eof : reason;
    }

    // Collects plain characters of a text block into one text-font run.
    // False when the next character is not plain text.
    bool parseTextRun(TexList& out, const PARSE_STATE& state)
    {
        std::string run;
        while (!atEnd()) {
            char c = m_src[m_nPos];
            if (c == '\\') {
                // Escaped characters and the control space stay in the run.
                char n = peek(1);
                if (n == ' ' || n == '%' || n == '&' || n == '#' || n == '$' || n == '_' || n == '{' ||
                    n == '}') {
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
        if (!out.empty() && out.back().m_kind == TexNodeKind::Text && !out.back().m_bHasSup &&
            !out.back().m_bHasSub && out.back().m_nFont == state.m_nTextFont) {
            out.back().m_strText += run;
            return true;
        }
        TexNode node;
        node.m_kind = TexNodeKind::Text;
        node.m_nFont = state.m_nTextFont;
        node.m_strText = std::move(run);
        out.push_back(std::move(node));
        return true;
    }

    static TexNode makeChar(uint32_t cp, TexAtom atom)
    {
        TexNode node;
        node.m_kind = TexNodeKind::Char;
        node.m_nCodepoint = cp;
        node.m_atom = atom;
        return node;
    }

    static TexNode makeSpace(double amount, TexUnit unit)
    {
        TexNode node;
        node.m_kind = TexNodeKind::Space;
        node.m_dAmount = amount;
        node.m_nUnit = unit;
        return node;
    }

    static TexNode makeWord(std::string text, TexAtom atom)
    {
        TexNode node;
        node.m_kind = TexNodeKind::Word;
        node.m_strText = std::move(text);
        node.m_atom = atom;
        return node;
    }

    static bool takesScripts(const TexNode& node)
    {
        return node.m_kind != TexNodeKind::Space && node.m_kind != TexNodeKind::Style &&
               node.m_kind != TexNodeKind::Size && node.m_kind != TexNodeKind::Newline;
    }

    // One item of math (or a command inside a text block) at the current position.
    void parseItem(TexList& out, PARSE_STATE& state, unsigned flags)
    {
        char c = m_src[m_nPos];
        if (IsSpace(c)) {
            ++m_nPos;
            return;
        }
        switch (c) {
        case '{': {
            ++m_nPos;
            TexNode group;
            group.m_kind = TexNodeKind::Group;
            parseGroupBody(group.m_listBody, state);
            out.push_back(std::move(group));
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
                TexNode group;
                group.m_kind = TexNodeKind::Group;
                if (parseList(group.m_listBody, mathState(state), STOP_DOLLAR) == StopReason::Dollar)
                    ++m_nPos;
                out.push_back(std::move(group));
            }
            return;
        case '&':
            // A stray alignment tab: nothing to draw.
            ++m_nPos;
            return;
        case '~':
            ++m_nPos;
            out.push_back(makeSpace(1.0 / 3.0, UNIT_EM));
            return;
        case '\\':
            ++m_nPos;
            parseCommand(out, state, flags);
            return;
        default:
            break;
        }
        uint32_t cp = readCodepoint();
        if (cp == 0xFFFD)
            return;
        if (cp < 0x80) {
            TexAtom atom = AsciiAtom(static_cast<char>(cp));
            if (cp == '-')
                cp = 0x2212;  // a hyphen in math is a minus sign
            else if (cp == '*')
                cp = 0x2217;
            else
                cp = MapMathAlphabet(cp, state.m_alphabet, false);
            out.push_back(makeChar(cp, atom));
            return;
        }
        TexAtom atom = UnicodeAtom(cp);
        out.push_back(makeChar(MapMathAlphabet(cp, state.m_alphabet, false), atom));
    }

    // After '{': the group's contents up to and including the matching '}'.
    void parseGroupBody(TexList& body, PARSE_STATE state)
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

    // One argument of a command: a braced group, a command with its own
    // arguments, or one character. Missing arguments are empty.
    void parseArgument(TexList& out, PARSE_STATE state)
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
            TexNode node;
            node.m_kind = TexNodeKind::Text;
            node.m_nFont = state.m_nTextFont;
            node.m_strText.assign(m_src.substr(start, m_nPos - start));
            out.push_back(std::move(node));
        } else {
            parseItem(out, state, 0);
        }
        leave();
    }

    TexNode parseGroupArgument(PARSE_STATE state)
    {
        TexNode group;
        group.m_kind = TexNodeKind::Group;
        parseArgument(group.m_listBody, state);
        return group;
    }

    static PARSE_STATE mathState(PARSE_STATE state)
    {
        state.m_bText = false;
        return state;
    }

    void parseScript(TexList& out, bool bSup, const PARSE_STATE& state)
    {
        bool needBase = out.empty() || !takesScripts(out.back());
        if (!needBase) {
            const TexNode& last = out.back();
            needBase = bSup ? (last.m_bHasSup && !last.m_bPrimeOnly) : last.m_bHasSub;
        }
        if (needBase) {
            // A script with nothing to attach to (or a second one) sits on an empty base.
            TexNode empty;
            empty.m_kind = TexNodeKind::Group;
            out.push_back(std::move(empty));
        }
        TexList arg;
        parseArgument(arg, mathState(state));
        TexNode& base = out.back();
        if (bSup) {
            // ^o is how formulas write degrees: draw the ring of ^\circ.
            if (arg.size() == 1 && arg[0].m_kind == TexNodeKind::Char &&
                (arg[0].m_nCodepoint == MapMathAlphabet('o', ALPHA_DEFAULT, false) ||
                 arg[0].m_nCodepoint == 'o'))
                arg[0] = makeChar(0x2218, TexAtom::Ord);
            if (base.m_bPrimeOnly) {
                for (TexNode& n : arg)
                    base.m_listSup.push_back(std::move(n));
            } else {
                base.m_listSup = std::move(arg);
            }
            base.m_bHasSup = true;
            base.m_bPrimeOnly = false;
        } else {
            base.m_listSub = std::move(arg);
            base.m_bHasSub = true;
        }
    }

    void parsePrime(TexList& out)
    {
        bool needBase = out.empty() || !takesScripts(out.back()) ||
                        (out.back().m_bHasSup && !out.back().m_bPrimeOnly);
        if (needBase) {
            TexNode empty;
            empty.m_kind = TexNodeKind::Group;
            out.push_back(std::move(empty));
        }
        TexNode& base = out.back();
        if (!base.m_bHasSup)
            base.m_bPrimeOnly = true;
        base.m_bHasSup = true;
        base.m_listSup.push_back(makeChar(0x2032, TexAtom::Ord));
    }

    // The delimiter after \left, \right, \big...: UINT32_MAX when none is there.
    // With bAbsorbLeftRight, "\big\left(" and "\big\right)" (what bracket
    // processing makes of "\big(" and "\big)") count as "\big(" and "\big)".
    uint32_t parseDelimiter(bool bAbsorbLeftRight = false)
    {
        skipSpaces();
        if (bAbsorbLeftRight) {
            for (const char* prefix : {"\\left", "\\right"}) {
                std::string_view p(prefix);
                if (m_src.substr(m_nPos).starts_with(p) && !IsLetter(peek(p.size()))) {
                    size_t save = m_nPos;
                    m_nPos += p.size();
                    uint32_t cp = parseDelimiter(false);
                    if (cp != UINT32_MAX)
                        return cp;
                    m_nPos = save;
                }
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

    void parseLeftRight(TexList& out, const PARSE_STATE& state, unsigned flags)
    {
        uint32_t left = parseDelimiter();
        if (left == UINT32_MAX)
            left = 0;
        TexNode node;
        node.m_kind = TexNodeKind::LeftRight;
        node.m_atom = TexAtom::Inner;
        node.m_nLeft = left;
        if (state.m_bText)
            skipSpaces();  // "\left( " as the bracket processing writes it
        unsigned inner = STOP_RIGHT | STOP_NEWLINE | (flags & (STOP_ARRAY | STOP_DOLLAR));
        StopReason reason = parseList(node.m_listBody, state, inner);
        if (reason == StopReason::Right) {
            m_nPos += 6;  // "\right"
            uint32_t right = parseDelimiter();
            node.m_nRight = right == UINT32_MAX ? 0 : right;
            if (state.m_bText && !node.m_listBody.empty() &&
                node.m_listBody.back().m_kind == TexNodeKind::Text) {
                std::string& text = node.m_listBody.back().m_strText;
                while (!text.empty() && text.back() == ' ')
                    text.pop_back();
            }
        }
        // Without \right (end of group, line or text) the right side stays empty.
        out.push_back(std::move(node));
    }

    double readDimension(std::string_view raw, TexUnit& unit)
    {
        std::string text(raw);
        const char* begin = text.c_str();
        char* end = nullptr;
        double value = std::strtod(begin, &end);
        if (end == begin)
            value = 0;
        // Keep spaces within what a screen can show.
        if (!(value > -2048.0 && value < 2048.0))
            value = 0;
        std::string_view rest(end ? end : begin);
        while (!rest.empty() && IsSpace(rest.front()))
            rest.remove_prefix(1);
        unit = UNIT_PX;
        if (rest.starts_with("em"))
            unit = UNIT_EM;
        else if (rest.starts_with("ex"))
            unit = UNIT_EX;
        else if (rest.starts_with("mu"))
            unit = UNIT_MU;
        else if (rest.starts_with("pt") || rest.starts_with("bp"))
            unit = UNIT_PT;
        return value;
    }

    void parseEnvironment(TexList& out, const PARSE_STATE& state)
    {
        std::string name = readRawGroup();
        while (!name.empty() && name.back() == '*')
            name.pop_back();
        TexNode node;
        node.m_kind = TexNodeKind::Array;
        node.m_atom = TexAtom::Inner;
        node.m_nVariant = ARRAY_MATRIX;
        node.m_nStyle = 1;  // cells in text style
        if (name == "array" || name == "tabular") {
            node.m_nVariant = ARRAY_PLAIN;
            node.m_strText = readRawGroup();
        } else if (name == "pmatrix") {
            node.m_nLeft = '(';
            node.m_nRight = ')';
        } else if (name == "bmatrix") {
            node.m_nLeft = '[';
            node.m_nRight = ']';
        } else if (name == "Bmatrix") {
            node.m_nLeft = '{';
            node.m_nRight = '}';
        } else if (name == "vmatrix") {
            node.m_nLeft = '|';
            node.m_nRight = '|';
        } else if (name == "Vmatrix") {
            node.m_nLeft = 0x2016;
            node.m_nRight = 0x2016;
        } else if (name == "cases") {
            node.m_nVariant = ARRAY_CASES;
            node.m_nLeft = '{';
            node.m_strText = "ll";
        } else if (name == "aligned" || name == "align" || name == "split" || name == "alignat" ||
                   name == "eqnarray" || name == "alignedat") {
            node.m_nVariant = ARRAY_ALIGNED;
            node.m_nStyle = 0;
            if (name == "alignat" || name == "alignedat")
                readRawGroup();
        } else if (name == "gathered" || name == "gather") {
            node.m_nStyle = 0;
        }
        if (name == "tabular") {
            PARSE_STATE textState = state;
            textState.m_bText = true;
            parseRows(node, textState);
        } else {
            parseRows(node, mathState(state));
        }
        out.push_back(std::move(node));
    }

    // Counts and skips the \hline commands at the start of a row.
    uint8_t skipHlines()
    {
        uint8_t count = 0;
        for (;;) {
            skipSpaces();
            std::string_view rest = m_src.substr(m_nPos);
            if (!rest.starts_with("\\hline") || IsLetter(peek(6)))
                return count;
            m_nPos += 6;
            if (count < 2)
                ++count;
        }
    }

    void parseRows(TexNode& node, const PARSE_STATE& state)
    {
        std::vector<TexList> row(1);
        node.m_vecHlines.push_back(skipHlines());
        for (;;) {
            StopReason reason = parseList(row.back(), state, STOP_ARRAY);
            if (reason == StopReason::Amp) {
                ++m_nPos;
                row.emplace_back();
                continue;
            }
            if (reason == StopReason::Newline) {
                m_nPos += 2;
                std::string ignored;
                readOptional(ignored);
                node.m_vecRows.push_back(std::move(row));
                node.m_vecHlines.push_back(skipHlines());
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
            node.m_vecRows.push_back(std::move(row));
            node.m_vecHlines.push_back(0);
        }
    }

    void parseCommand(TexList& out, PARSE_STATE& state, unsigned flags)
    {
        std::string_view name = readCommandName();
        if (name.empty())
            return;  // a backslash at the very end
        bool bWord = IsLetter(name[0]);
        // Blanks after a command name are only separators in mathematics; in
        // a text block (" + \omega : angular speed") they are part of the text.
        if (bWord && !state.m_bText)
            skipSpaces();

        if (name == "\\") {
            std::string ignored;
            readOptional(ignored);
            TexNode node;
            node.m_kind = TexNodeKind::Newline;
            out.push_back(std::move(node));
            return;
        }
        if (double px = TexSizeOfCommand(name); px > 0) {
            TexNode node;
            node.m_kind = TexNodeKind::Size;
            node.m_dAmount = px;
            out.push_back(std::move(node));
            return;
        }
        if (parseStructure(out, state, flags, name))
            return;
        if (parseSpacing(out, name))
            return;
        if (parseFontSwitch(out, state, name))
            return;
        if (const TEX_SYMBOL* symbol = FindTexSymbol(name)) {
            uint32_t cp = symbol->m_nCodepoint;
            if (symbol->m_nFlags & SYMF_LETTER)
                cp = MapMathAlphabet(cp, state.m_alphabet, (symbol->m_nFlags & SYMF_ITALIC) != 0);
            TexNode node = makeChar(cp, symbol->m_atom);
            if (symbol->m_nFlags & SYMF_LARGEOP) {
                node.m_bLargeOp = true;
                node.m_nLimits = (symbol->m_nFlags & SYMF_NOLIMITS) ? 2 : 0;
            }
            out.push_back(std::move(node));
            return;
        }
        if (const TEX_OPNAME* op = FindTexOperatorName(name)) {
            TexNode node = makeWord(op->m_szText, name == "bmod" ? TexAtom::Bin : TexAtom::Op);
            node.m_nVariant = op->m_bLimits ? 1 : 0;
            out.push_back(std::move(node));
            return;
        }
        if (const TEX_ACCENT* accent = FindTexAccent(name)) {
            TexNode node;
            node.m_kind = TexNodeKind::Accent;
            node.m_nCodepoint = accent->m_nCodepoint;
            node.m_nVariant = accent->m_bStretch ? 1 : 0;
            parseArgument(node.m_listBody, mathState(state));
            out.push_back(std::move(node));
            return;
        }
        // Unknown command: its name in upright letters, so that the reader sees what was meant.
        if (bWord)
            out.push_back(makeWord(std::string(name), TexAtom::Ord));
    }

    bool parseSpacing(TexList& out, std::string_view name)
    {
        static constexpr struct {
            const char* m_szName;
            double m_dAmount;
            TexUnit m_unit;
        } spaces[] = {
            {",", 3, UNIT_MU},         {"thinspace", 3, UNIT_MU}, {":", 4, UNIT_MU},
            {">", 4, UNIT_MU},         {"medspace", 4, UNIT_MU},  {";", 5, UNIT_MU},
            {"thickspace", 5, UNIT_MU}, {"!", -3, UNIT_MU},       {"negthinspace", -3, UNIT_MU},
            {" ", 1.0 / 3.0, UNIT_EM}, {"quad", 1, UNIT_EM},      {"qquad", 2, UNIT_EM},
            {"enspace", 0.5, UNIT_EM}, {"enskip", 0.5, UNIT_EM},
        };
        for (const auto& s : spaces) {
            if (name == s.m_szName) {
                out.push_back(makeSpace(s.m_dAmount, s.m_unit));
                return true;
            }
        }
        if (name == "hspace" || name == "hspace*" || name == "hskip" || name == "kern" ||
            name == "mkern" || name == "mskip") {
            std::string raw;
            if (name == "hspace" || name == "hspace*") {
                raw = readRawGroup();
            } else {
                // \kern3pt, \mkern18mu: the dimension follows without braces.
                skipSpaces();
                size_t start = m_nPos;
                while (!atEnd() && (std::strchr("+-.0123456789", m_src[m_nPos]) || IsSpace(m_src[m_nPos])))
                    ++m_nPos;
                while (!atEnd() && IsLetter(m_src[m_nPos]) && m_nPos - start < 24)
                    ++m_nPos;
                raw.assign(m_src.substr(start, m_nPos - start));
            }
            TexUnit unit = UNIT_PX;
            double amount = readDimension(raw, unit);
            out.push_back(makeSpace(amount, unit));
            return true;
        }
        if (name == "/" || name == "-" || name == "displaylimits" || name == "nonumber" ||
            name == "notag" || name == "hline" || name == "cline" || name == "allowbreak" ||
            name == "nolinebreak" || name == "relax" || name == "noindent" || name == "par") {
            if (name == "cline")
                readRawGroup();
            return true;
        }
        return false;
    }

    bool parseFontSwitch(TexList& out, PARSE_STATE& state, std::string_view name)
    {
        static constexpr struct {
            const char* m_szName;
            TexAlphabet m_alphabet;
        } alphabets[] = {
            {"mathrm", ALPHA_ROMAN},       {"mathup", ALPHA_ROMAN},      {"mathbf", ALPHA_BOLD},
            {"mathit", ALPHA_ITALIC},      {"mathnormal", ALPHA_DEFAULT}, {"mathcal", ALPHA_SCRIPT},
            {"mathscr", ALPHA_SCRIPT},     {"mathbb", ALPHA_BLACKBOARD}, {"mathfrak", ALPHA_FRAKTUR},
            {"mathsf", ALPHA_SANS},        {"mathtt", ALPHA_MONO},       {"boldsymbol", ALPHA_BOLDITALIC},
            {"bm", ALPHA_BOLDITALIC},      {"pmb", ALPHA_BOLDITALIC},
        };
        for (const auto& a : alphabets) {
            if (name == a.m_szName) {
                PARSE_STATE inner = mathState(state);
                inner.m_alphabet = a.m_alphabet;
                out.push_back(parseGroupArgument(inner));
                return true;
            }
        }
        static constexpr struct {
            const char* m_szName;
            TexAlphabet m_alphabet;
            uint8_t m_nTextFont;
        } switches[] = {
            {"rm", ALPHA_ROMAN, TEXFONT_ROMAN},   {"bf", ALPHA_BOLD, TEXFONT_BOLD},
            {"it", ALPHA_ITALIC, TEXFONT_ITALIC}, {"cal", ALPHA_SCRIPT, TEXFONT_ROMAN},
            {"sf", ALPHA_SANS, TEXFONT_ROMAN},    {"tt", ALPHA_MONO, TEXFONT_ROMAN},
        };
        for (const auto& s : switches) {
            if (name == s.m_szName) {
                // Old-style switches change the rest of the current group.
                state.m_alphabet = s.m_alphabet;
                state.m_nTextFont = s.m_nTextFont;
                return true;
            }
        }
        static constexpr struct {
            const char* m_szName;
            uint8_t m_nFont;
        } texts[] = {
            {"text", TEXFONT_ROMAN},   {"mbox", TEXFONT_ROMAN},    {"hbox", TEXFONT_ROMAN},
            {"textrm", TEXFONT_ROMAN}, {"textnormal", TEXFONT_ROMAN}, {"textup", TEXFONT_ROMAN},
            {"textbf", TEXFONT_BOLD},  {"textit", TEXFONT_ITALIC}, {"emph", TEXFONT_ITALIC},
            {"textsl", TEXFONT_ITALIC}, {"textsf", TEXFONT_ROMAN}, {"texttt", TEXFONT_ROMAN},
        };
        for (const auto& t : texts) {
            if (name == t.m_szName) {
                skipSpaces();
                // "\text\frac{1}{C}": a text command followed by a command has
                // nothing to set in text; the formula goes on as mathematics.
                if (peek() == '\\')
                    return true;
                PARSE_STATE inner = state;
                inner.m_bText = true;
                inner.m_nTextFont = t.m_nFont;
                TexNode group = parseGroupArgument(inner);
                out.push_back(std::move(group));
                return true;
            }
        }
        return false;
    }

    bool parseStructure(TexList& out, PARSE_STATE& state, unsigned flags, std::string_view name)
    {
        PARSE_STATE math = mathState(state);
        if (name == "frac" || name == "dfrac" || name == "tfrac" || name == "cfrac" ||
            name == "binom" || name == "dbinom" || name == "tbinom") {
            TexNode frac;
            frac.m_kind = TexNodeKind::Frac;
            bool binom = name.ends_with("binom");
            frac.m_nVariant = binom ? 1 : 0;
            if (name[0] == 'd' || name == "cfrac")
                frac.m_nStyle = 0;
            else if (name[0] == 't')
                frac.m_nStyle = 1;
            parseArgument(frac.m_listBody, math);
            parseArgument(frac.m_listAux, math);
            if (!binom) {
                out.push_back(std::move(frac));
                return true;
            }
            TexNode paren;
            paren.m_kind = TexNodeKind::LeftRight;
            paren.m_nLeft = '(';
            paren.m_nRight = ')';
            paren.m_listBody.push_back(std::move(frac));
            out.push_back(std::move(paren));
            return true;
        }
        if (name == "sqrt") {
            TexNode root;
            root.m_kind = TexNodeKind::Radical;
            std::string degree;
            if (readOptional(degree)) {
                TexParser inner(degree);
                inner.m_nDepth = m_nDepth;
                inner.parseList(root.m_listAux, math, 0);
                if (inner.m_bTooDeep) {
                    m_bTooDeep = true;
                    m_nPos = m_src.size();
                    return true;
                }
            }
            parseArgument(root.m_listBody, math);
            out.push_back(std::move(root));
            return true;
        }
        if (name == "left") {
            parseLeftRight(out, state, flags);
            return true;
        }
        if (name == "right" || name == "middle") {
            // A \right without its \left: the delimiter at its normal size.
            uint32_t cp = parseDelimiter();
            if (cp != UINT32_MAX && cp != 0)
                out.push_back(makeChar(cp, name == "right" ? TexAtom::Close : TexAtom::Ord));
            return true;
        }
        static constexpr struct {
            const char* m_szName;
            uint8_t m_nStep;
            TexAtom m_atom;
        } bigs[] = {
            {"big", 1, TexAtom::Ord},    {"Big", 2, TexAtom::Ord},    {"bigg", 3, TexAtom::Ord},
            {"Bigg", 4, TexAtom::Ord},   {"bigl", 1, TexAtom::Open},  {"Bigl", 2, TexAtom::Open},
            {"biggl", 3, TexAtom::Open}, {"Biggl", 4, TexAtom::Open}, {"bigr", 1, TexAtom::Close},
            {"Bigr", 2, TexAtom::Close}, {"biggr", 3, TexAtom::Close}, {"Biggr", 4, TexAtom::Close},
            {"bigm", 1, TexAtom::Rel},   {"Bigm", 2, TexAtom::Rel},   {"biggm", 3, TexAtom::Rel},
            {"Biggm", 4, TexAtom::Rel},
        };
        for (const auto& b : bigs) {
            if (name == b.m_szName) {
                uint32_t cp = parseDelimiter(true);
                if (cp != UINT32_MAX && cp != 0) {
                    TexNode node;
                    node.m_kind = TexNodeKind::BigDelim;
                    node.m_nCodepoint = cp;
                    node.m_nVariant = b.m_nStep;
                    node.m_atom = b.m_atom;
                    out.push_back(std::move(node));
                }
                return true;
            }
        }
        if (name == "displaystyle" || name == "textstyle" || name == "scriptstyle" ||
            name == "scriptscriptstyle") {
            TexNode node;
            node.m_kind = TexNodeKind::Style;
            node.m_nVariant = name == "displaystyle" ? 0 : name == "textstyle" ? 1 : name == "scriptstyle" ? 2 : 3;
            out.push_back(std::move(node));
            return true;
        }
        if (name == "fbox" || name == "boxed" || name == "framebox") {
            if (name == "framebox") {
                std::string ignored;
                readOptional(ignored);
                readOptional(ignored);
            }
            TexNode box;
            box.m_kind = TexNodeKind::Fbox;
            parseArgument(box.m_listBody, math);
            out.push_back(std::move(box));
            return true;
        }
        if (name == "overline" || name == "underline") {
            TexNode node;
            node.m_kind = name == "overline" ? TexNodeKind::Overline : TexNodeKind::Underline;
            parseArgument(node.m_listBody, math);
            out.push_back(std::move(node));
            return true;
        }
        if (name == "overbrace" || name == "underbrace") {
            TexNode node;
            node.m_kind = TexNodeKind::Accent;
            node.m_nCodepoint = name == "overbrace" ? 0x23DE : 0x23DF;
            node.m_nVariant = name == "overbrace" ? 1 : 2;
            node.m_nLimits = 1;  // its label goes above (below) the brace
            parseArgument(node.m_listBody, math);
            out.push_back(std::move(node));
            return true;
        }
        if (name == "overset" || name == "underset" || name == "stackrel") {
            TexNode node;
            node.m_kind = TexNodeKind::Stack;
            node.m_nVariant = name == "underset" ? 1 : 0;
            parseArgument(node.m_listAux, math);
            parseArgument(node.m_listBody, math);
            if (name == "stackrel")
                node.m_atom = TexAtom::Rel;
            else if (node.m_listBody.size() == 1)
                node.m_atom = node.m_listBody[0].m_atom;
            out.push_back(std::move(node));
            return true;
        }
        if (name == "phantom" || name == "hphantom" || name == "vphantom") {
            TexNode group = parseGroupArgument(math);
            group.m_nVariant = name == "phantom" ? 1 : name == "hphantom" ? 2 : 3;
            out.push_back(std::move(group));
            return true;
        }
        if (name == "operatorname" || name == "operatorname*") {
            std::string text = readRawGroup();
            TexNode node = makeWord(text, TexAtom::Op);
            node.m_nVariant = name.ends_with('*') ? 1 : 0;
            out.push_back(std::move(node));
            return true;
        }
        if (name == "pmod") {
            out.push_back(makeSpace(18, UNIT_MU));
            out.push_back(makeChar('(', TexAtom::Open));
            out.push_back(makeWord("mod", TexAtom::Ord));
            out.push_back(makeSpace(6, UNIT_MU));
            out.push_back(parseGroupArgument(math));
            out.push_back(makeChar(')', TexAtom::Close));
            return true;
        }
        if (name == "mod") {
            out.push_back(makeSpace(18, UNIT_MU));
            out.push_back(makeWord("mod", TexAtom::Ord));
            out.push_back(makeSpace(6, UNIT_MU));
            return true;
        }
        if (name == "limits" || name == "nolimits") {
            if (!out.empty() && (out.back().m_atom == TexAtom::Op))
                out.back().m_nLimits = name == "limits" ? 1 : 2;
            return true;
        }
        if (name == "not") {
            TexList next;
            parseArgument(next, math);
            for (TexNode& n : next) {
                if (n.m_kind == TexNodeKind::Char) {
                    if (uint32_t negated = NegatedRelation(n.m_nCodepoint))
                        n.m_nCodepoint = negated;
                    else
                        n.m_nOverlay = 0x0338;
                }
                out.push_back(std::move(n));
            }
            return true;
        }
        if (name == "begin") {
            parseEnvironment(out, state);
            return true;
        }
        if (name == "end") {
            // An \end without its \begin.
            readRawGroup();
            return true;
        }
        if (name == "color") {
            readRawGroup();
            return true;
        }
        if (name == "textcolor") {
            readRawGroup();
            out.push_back(parseGroupArgument(state));
            return true;
        }
        return false;
    }
};

}  // namespace

bool ParseTex(std::string_view text, TexList& out)
{
    out.clear();
    TexParser parser(text);
    return parser.parse(out);
}

double TexSizeOfCommand(std::string_view name)
{
    for (const SIZE_COMMAND& size : mg_arrSizes) {
        if (name == size.m_szName)
            return size.m_dPixels;
    }
    return 0;
}

}  // namespace tex
