#pragma once

// The symbol tables of the TeX renderer: symbols, operator names and
// delimiters, and the mapping of letters to the math alphabets. Commands that
// build structure are in the command table (TexCommands.cpp).

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "tex/TexParser.h"

namespace tex {

struct TEX_SYMBOL {
    const char* m_szName;
    uint32_t m_nCodepoint;
    TexAtom m_atom;
    uint8_t m_nFlags;
};

// m_nFlags of TEX_SYMBOL
enum : uint8_t {
    SYMF_LETTER = 1,       // takes the current math alphabet (Greek letters)
    SYMF_ITALIC = 2,       // italic even when capital (\varGamma)
    SYMF_LARGEOP = 4,      // big operator
    SYMF_NOLIMITS = 8,     // scripts at the side even in display style (integrals)
};

// The entry of a table of records with a name (m_szName), found through an
// index built on the first look-up; null when the table has no such name.
template <typename T, size_t N>
const T* FindByName(const T (&table)[N], std::string_view name)
{
    static const std::unordered_map<std::string_view, const T*> index = [&table] {
        std::unordered_map<std::string_view, const T*> map;
        for (const T& entry : table)
            map.emplace(entry.m_szName, &entry);
        return map;
    }();
    auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

const TEX_SYMBOL* FindTexSymbol(std::string_view name);
// The symbol whose command draws this code point (the first one listed); null for none.
const TEX_SYMBOL* FindTexSymbolByCodepoint(uint32_t codepoint);

struct TEX_OPNAME {
    const char* m_szName;
    const char* m_szText;
    bool m_bLimits;  // limits above and below in display style (\lim, \max)
};

const TEX_OPNAME* FindTexOperatorName(std::string_view name);

// Code point of a delimiter named after \left, \right or \big: "(", "\\{",
// "langle", ... ; 0 for "." (no delimiter), UINT32_MAX when not a delimiter.
// bCommand tells whether the name came from a control sequence.
uint32_t FindTexDelimiter(std::string_view name, bool bCommand);

// Negated form of a relation for \not, 0 when there is none.
uint32_t NegatedRelation(uint32_t codepoint);

// Maps a letter, digit or Greek letter to the code point of the given math
// alphabet; other code points come back unchanged. bForceItalic makes capital
// Greek italic under the default alphabet.
uint32_t MapMathAlphabet(uint32_t codepoint, TexAlphabet alphabet, bool bForceItalic);

// The plain (default alphabet) letter or digit of a math alphanumeric code
// point, for alphabets a font lacks (script small letters); others unchanged.
uint32_t PlainMathLetter(uint32_t codepoint);

std::string EncodeUtf8(uint32_t codepoint);

// Atom class of an ASCII character in math mode.
TexAtom AsciiAtom(char c);

}  // namespace tex
