#pragma once

// First stage of the TeX renderer: the text of a formula becomes a tree of
// atoms (TexNode). The parser never fails on odd input: unknown commands
// become their name in upright letters, stray braces, '&' and '\right' are
// absorbed, missing arguments are empty. It refuses only what could exhaust
// the stack (groups nested deeper than TEX_MAX_NESTING).

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tex {

inline constexpr int TEX_MAX_NESTING = 64;

// TeX's atom classes; they decide the spacing between neighbours.
enum class TexAtom : uint8_t { Ord, Op, Bin, Rel, Open, Close, Punct, Inner };

enum class TexNodeKind : uint8_t {
    Char,       // one glyph of the math font (m_nCodepoint, already mapped to its alphabet)
    Text,       // a run of text-font letters (m_strText, font m_nFont)
    Word,       // upright letters set in the math font: \sin, unknown commands (m_strText);
                // m_nVariant 1: limits above and below in display style (\lim)
    Group,      // {...}: m_listBody; m_nVariant 1 \phantom, 2 \hphantom, 3 \vphantom
    Frac,       // m_listBody over m_listAux; m_nVariant: 0 rule, 1 no rule (\binom)
    Radical,    // \sqrt: m_listBody, degree in m_listAux
    LeftRight,  // \left m_nLeft ... \right m_nRight around m_listBody (0 = '.', none)
    BigDelim,   // \big( and friends: m_nCodepoint, size step m_nVariant (1..4)
    Accent,     // m_nCodepoint over m_listBody; m_nVariant 1 = stretches (\widehat, arrows)
    Overline,   // rule above m_listBody
    Underline,  // rule below m_listBody
    Stack,      // \overset / \underset / \stackrel: m_listAux over (m_nVariant 0) or under (1) m_listBody
    Space,      // horizontal space of m_dAmount in m_nUnit units
    Fbox,       // framed m_listBody
    Array,      // rows of cells (m_vecRows), columns m_strText, delimiters m_nLeft/m_nRight;
                // m_nVariant: TexArrayKind
    Style,      // \displaystyle ...: m_nVariant = 0 display, 1 text, 2 script, 3 scriptscript
    Size,       // \large ...: m_dAmount = pixel size of the em
    Newline,    // \\ outside arrays
};

enum TexArrayKind : uint8_t { ARRAY_PLAIN, ARRAY_MATRIX, ARRAY_CASES, ARRAY_ALIGNED };

enum TexUnit : uint8_t { UNIT_PX, UNIT_EM, UNIT_MU, UNIT_PT, UNIT_EX };

// Which math alphabet a letter is taken from.
enum TexAlphabet : uint8_t {
    ALPHA_DEFAULT,   // italic Latin and lower-case Greek, upright capital Greek and digits
    ALPHA_ROMAN,
    ALPHA_BOLD,
    ALPHA_ITALIC,
    ALPHA_BOLDITALIC,
    ALPHA_SCRIPT,
    ALPHA_BLACKBOARD,
    ALPHA_FRAKTUR,
    ALPHA_SANS,
    ALPHA_MONO,
};

struct TexNode;
using TexList = std::vector<TexNode>;

struct TexNode {
    TexNodeKind m_kind = TexNodeKind::Group;
    TexAtom m_atom = TexAtom::Ord;
    uint32_t m_nCodepoint = 0;
    uint8_t m_nFont = 0;        // TexFontId of a Text node
    uint8_t m_nVariant = 0;
    uint8_t m_nUnit = UNIT_PX;
    uint8_t m_nLimits = 0;      // 0 as the operator likes it, 1 \limits, 2 \nolimits
    uint8_t m_nStyle = 0xFF;    // style forced on the contents (\dfrac, cells), 0xFF none
    bool m_bLargeOp = false;    // \sum, \int, ...: grows in display style, centred on the axis
    bool m_bHasSup = false;
    bool m_bHasSub = false;
    bool m_bPrimeOnly = false;  // the superscript holds only primes so far
    uint32_t m_nLeft = 0;
    uint32_t m_nRight = 0;
    uint32_t m_nOverlay = 0;    // \not over a symbol without a negated form
    double m_dAmount = 0;
    std::string m_strText;
    TexList m_listBody;
    TexList m_listAux;
    TexList m_listSup;
    TexList m_listSub;
    std::vector<std::vector<TexList>> m_vecRows;
    std::vector<uint8_t> m_vecHlines;  // \hline count above row i (last entry: below the table)
};

// Parses a whole formula. False only when the nesting limit was passed; the
// list is then incomplete and must not be rendered.
bool ParseTex(std::string_view text, TexList& out);

// Pixel size of the em for a size command name without the backslash
// ("large"); 0 when the name is not a size command.
double TexSizeOfCommand(std::string_view name);

}  // namespace tex
