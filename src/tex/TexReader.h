#pragma once

// Inside the parser: TexReader walks the text, reads lists, arguments,
// dimensions and delimiters, and hands each command to its entry of the
// command table (TexCommands.cpp), which builds the node. Only the parser's
// own files include this header.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "tex/TexParser.h"

namespace tex {

// What ends a list besides '}' and the end of the text.
enum : unsigned {
    STOP_RIGHT = 1,    // inside \left ... \right: \right and \middle
    STOP_ARRAY = 2,    // inside an array cell: '&', '\\', \cr and \end
    STOP_NEWLINE = 4,  // '\\' closes an open \left (it never spans lines)
    STOP_DOLLAR = 8,   // math inside a text block: $...$
};

enum class StopReason { Eof, Brace, Right, Middle, Amp, Newline, End, Dollar };

struct PARSE_STATE {
    TexAlphabet m_alphabet = ALPHA_DEFAULT;
    uint8_t m_nTextFont = 1;  // TEXFONT_ROMAN
    bool m_bText = false;     // text mode: letters go into text-font runs
};

// One argument as the command table's shape asks for it.
struct TEX_ARG {
    bool m_bPresent = false;  // optional arguments: whether one was given
    TexList m_list;           // m, o, t
    std::string m_strRaw;     // r, R
    TEX_DIMEN m_dimen;        // d, D, k
    uint32_t m_nDelimiter = 0;  // l, L
};

class TexReader;

// What a node builder gets: the reader, the state it may change (\rm), the
// list to append to and the arguments read for it.
struct TEX_CALL {
    TexReader& m_reader;
    PARSE_STATE& m_state;
    unsigned m_nFlags;
    TexList& m_out;
    std::string_view m_name;
    int m_nParam;
    std::vector<TEX_ARG> m_vecArgs;
};

using TexBuilder = void (*)(TEX_CALL& call);

// One command: its name (without the backslash), the shape of its arguments,
// its builder and a number the builder interprets (a code point, a style, an
// atom class). Argument shapes, one letter each:
//   m  math argument: a braced group or one token     o  optional [math]
//   t  text argument                                  r  raw braced text    R  optional [raw]
//   d  braced length {1em}    D  optional [length]    k  length without braces (\kern3pt)
//   l  delimiter (\big|)      L  braced delimiter, empty allowed ({(} of \genfrac)
struct TEX_COMMAND {
    const char* m_szName;
    const char* m_szArgs;
    TexBuilder m_pBuild;
    int m_nParam;
};

const TEX_COMMAND* FindTexCommand(std::string_view name);

// \over and its kin split the list they stand in.
struct TEX_INFIX {
    const char* m_szName;
    bool m_bHasBar;
    bool m_bReadsThickness;  // \above 2pt
    uint32_t m_nLeft;
    uint32_t m_nRight;
};

const TEX_INFIX* FindTexInfix(std::string_view name);

class TexReader {
public:
    TexReader(std::string_view text, std::vector<std::string>* pUnknown);

    // The whole text; false when the nesting limit was passed.
    bool parse(TexList& out);

    // A list up to what the flags make stop it; \over in it splits it into a fraction.
    StopReason parseList(TexList& out, PARSE_STATE state, unsigned flags);
    // After '{': the group's contents up to and including the matching '}'.
    void parseGroupBody(TexList& body, const PARSE_STATE& state);
    // One argument: a braced group, a command with its arguments, or one character.
    void parseArgument(TexList& out, const PARSE_STATE& state);
    void parseMathArgument(TexList& out, const PARSE_STATE& state) { parseArgument(out, MathState(state)); }
    void parseTextArgument(TexList& out, const PARSE_STATE& state, uint8_t nFont);
    // Rows and cells of a table up to \end (or what else closes it).
    void parseRows(TEX_ARRAY& table, const PARSE_STATE& state);

    // Raw text of a braced argument ({abc} gives abc), balanced; empty when none follows.
    std::string readRawGroup();
    // Raw text of an optional [..] argument; false when there is none.
    bool readOptional(std::string& out);
    // A length: braced ({1em}), optional ([2pt]) or bare (\kern 3pt).
    TEX_DIMEN readInlineDimension();
    // The delimiter after \left, \right, \big...: UINT32_MAX when none is there.
    uint32_t readDelimiter();
    void skipSpaces();
    void skipChar()
    {
        if (!atEnd())
            ++m_nPos;
    }
    bool atEnd() const { return m_nPos >= m_src.size(); }
    char peek(size_t ahead = 0) const { return m_nPos + ahead < m_src.size() ? m_src[m_nPos + ahead] : '\0'; }
    // True (and the text consumed) when the text continues with the command \name.
    bool skipCommand(std::string_view name);

    // An unknown command or environment: drawn as written and reported once.
    void addUnknown(TexList& out, std::string source);
    // \tag{..}: what goes at the end of the formula, after a wide space.
    void setTag(TexList tag) { m_listTag = std::move(tag); }
    // Parses a piece of text of its own (an optional argument) as math at the current depth.
    bool parseSubText(std::string_view text, TexList& out, const PARSE_STATE& state);

    static PARSE_STATE MathState(PARSE_STATE state)
    {
        state.m_bText = false;
        return state;
    }

private:
    std::string_view m_src;
    size_t m_nPos = 0;
    int m_nDepth = 0;
    bool m_bTooDeep = false;
    std::vector<std::string>* m_pUnknown;
    TexList m_listTag;

    bool enter();
    void leave() { --m_nDepth; }
    uint32_t readCodepoint();
    std::string_view readCommandName();
    StopReason stopAt(unsigned flags) const;
    bool parseTextRun(TexList& out, const PARSE_STATE& state);
    void parseItem(TexList& out, PARSE_STATE& state, unsigned flags);
    void parseCommand(TexList& out, PARSE_STATE& state, unsigned flags);
    bool readArguments(const char* szShape, const PARSE_STATE& state, std::vector<TEX_ARG>& args);
    void parseScript(TexList& out, bool bSup, const PARSE_STATE& state);
    void parsePrime(TexList& out);
    uint32_t readBracedDelimiter();
    uint8_t skipHlines();
};

// Helpers shared by the reader and the builders.
TexNode MakeNode(TEX_PAYLOAD payload, TexAtom atom = TexAtom::Ord);
TexNode MakeChar(uint32_t codepoint, TexAtom atom);
TexNode MakeSpace(double amount, TexUnit unit);
struct TEX_SYMBOL;
TexNode MakeSymbol(const TEX_SYMBOL& symbol, const PARSE_STATE& state);
TEX_DIMEN ParseDimension(std::string_view text);

}  // namespace tex
