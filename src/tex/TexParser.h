#pragma once

// First stage of the TeX renderer: the text of a formula becomes a tree of
// atoms (TexNode). Each kind of node has its own record with named fields
// (a fraction has a numerator, a denominator, a bar and delimiters); the
// record sits in the node's payload, beside what every atom has: its class
// and its scripts.
//
// The parser never fails on odd input: stray braces, '&' and '\right' are
// absorbed and missing arguments are empty. A command or environment it does
// not know becomes an UNKNOWN node holding its source text ("\foo",
// "\begin{foo}"), which the layout draws as typewriter text in a thin frame,
// and its name is reported. The parser refuses only what could exhaust the
// stack (groups nested deeper than TEX_MAX_NESTING).

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tex {

inline constexpr int TEX_MAX_NESTING = 64;

// TeX's atom classes; they decide the spacing between neighbours.
enum class TexAtom : uint8_t { Ord, Op, Bin, Rel, Open, Close, Punct, Inner };

// TeX's four styles; TEX_STYLE_INHERIT keeps the surrounding one.
enum TexStyle : uint8_t {
    TEX_STYLE_DISPLAY = 0,
    TEX_STYLE_TEXT = 1,
    TEX_STYLE_SCRIPT = 2,
    TEX_STYLE_SCRIPTSCRIPT = 3,
    TEX_STYLE_INHERIT = 0xFF,
};

// Where the scripts of an operator go (\limits, \nolimits).
enum TexLimits : uint8_t {
    LIMITS_DISPLAY,  // above and below in display style, beside otherwise (\sum, \lim)
    LIMITS_ALWAYS,   // \limits
    LIMITS_NEVER,    // \nolimits, and built into \int and \sin
};

// Units of a length. UNIT_PX (a bare number, as in \hspace{50}) is a screen pixel.
enum TexUnit : uint8_t {
    UNIT_PX, UNIT_PT, UNIT_PC, UNIT_IN, UNIT_CM, UNIT_MM, UNIT_BP, UNIT_DD, UNIT_CC, UNIT_SP,
    UNIT_EM, UNIT_EX, UNIT_MU,
};

struct TEX_DIMEN {
    double m_dAmount = 0;
    TexUnit m_unit = UNIT_PX;
};

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

// One glyph of the math font (the code point is already mapped to its alphabet).
struct TEX_CHAR {
    uint32_t m_nCodepoint = 0;
    bool m_bLargeOp = false;  // \sum, \int: grows in display style, centred on the axis
};

// A run of text-font letters (\text, \mbox); m_nFont is a TexFontId.
struct TEX_TEXT {
    std::string m_strText;
    uint8_t m_nFont = 0;
};

// Upright letters in the math font: operator names (\sin, \lim).
struct TEX_WORD {
    std::string m_strText;
};

// {...} and the class-changing commands (\mathrel{...}, \mathop{...}).
struct TEX_GROUP {
    TexList m_listBody;
};

// \phantom and its kin: the body's dimensions with or without its ink.
struct TEX_PHANTOM {
    TexList m_listBody;
    bool m_bInk = false;      // \smash draws, \phantom does not
    bool m_bWidth = true;     // keeps the width
    bool m_bHeight = true;    // keeps the height above the baseline
    bool m_bDepth = true;     // keeps the depth below it
};

// \frac and the generalized fraction of \over, \atop, \choose, \genfrac.
struct TEX_FRAC {
    TexList m_listNumerator;
    TexList m_listDenominator;
    bool m_bHasBar = true;
    bool m_bThickness = false;       // m_thickness replaces the font's rule thickness
    TEX_DIMEN m_thickness;
    uint32_t m_nLeftDelim = 0;       // 0: none
    uint32_t m_nRightDelim = 0;
    TexStyle m_style = TEX_STYLE_INHERIT;  // \dfrac, \tfrac
    bool m_bContinued = false;       // \cfrac: numerator on a full-size strut
};

struct TEX_RADICAL {
    TexList m_listRadicand;
    TexList m_listDegree;  // empty: square root
};

// \left ... \middle ... \right: m_vecSegments has one more entry than m_vecMiddle.
struct TEX_LEFTRIGHT {
    uint32_t m_nLeft = 0;  // 0: '.', no delimiter
    uint32_t m_nRight = 0;
    std::vector<uint32_t> m_vecMiddle;
    std::vector<TexList> m_vecSegments;
};

// \big( and friends.
struct TEX_BIGDELIM {
    uint32_t m_nCodepoint = 0;
    uint8_t m_nStep = 1;  // 1 \big .. 4 \Bigg
};

// A mark over (or under) its base: \hat, \widehat, \vec, \overrightarrow, \overbrace.
struct TEX_ACCENT {
    uint32_t m_nCodepoint = 0;
    TexList m_listBase;
    bool m_bStretch = false;  // grows to the width of the base
    bool m_bUnder = false;    // below the base
};

// \overline, \underline, \underbar.
struct TEX_BAR {
    TexList m_listBody;
    bool m_bOver = true;
};

// \overset, \underset, \stackrel, and the arrows of \xrightarrow (m_nArrow
// stretched under m_listOver and over m_listUnder).
struct TEX_STACK {
    TexList m_listBase;
    TexList m_listOver;
    TexList m_listUnder;
    uint32_t m_nArrow = 0;  // non-zero: the base is this arrow, as wide as the labels
};

// Horizontal space. Some spaces of the classic macros differ between display
// and the other styles (\pmod, \mod); m_inlineWidth holds the latter.
struct TEX_SPACE {
    TEX_DIMEN m_width;
    TEX_DIMEN m_inlineWidth;
};

// \rule[raise]{width}{height}.
struct TEX_RULE {
    TEX_DIMEN m_width;
    TEX_DIMEN m_height;
    TEX_DIMEN m_raise;
};

// A box of its own: \fbox, \raisebox, \llap/\rlap/\clap, \vcenter.
struct TEX_FRAME {
    TexList m_listBody;
};
struct TEX_RAISE {
    TexList m_listBody;
    TEX_DIMEN m_shift;
};
struct TEX_LAP {
    TexList m_listBody;
    int8_t m_nSide = -1;  // -1 \llap (ink to the left), 1 \rlap, 0 \clap
};
struct TEX_VCENTER {
    TexList m_listBody;
};

// \mathchoice: one branch per style, display first.
struct TEX_CHOICE {
    TexList m_arrBranches[4];
};

// \not: one slash through its argument.
struct TEX_NOT {
    TexList m_listBody;
};

enum TexArrayKind : uint8_t {
    ARRAY_PLAIN,    // array, subarray: columns from the template
    ARRAY_MATRIX,   // matrix family: centred columns, no outer space
    ARRAY_CASES,    // cases family: left-aligned, a quad between, stretched rows
    ARRAY_ALIGNED,  // aligned family: right/left pairs, relations spaced across '&'
    ARRAY_GATHERED, // gathered: one centred column of display formulas
};

struct TEX_ARRAY {
    TexArrayKind m_kind = ARRAY_MATRIX;
    std::string m_strColumns;            // column template (array) or alignment letters
    uint32_t m_nLeft = 0;                // delimiters around the table, 0 none
    uint32_t m_nRight = 0;
    TexStyle m_cellStyle = TEX_STYLE_TEXT;
    std::vector<std::vector<TexList>> m_vecRows;
    std::vector<uint8_t> m_vecHlines;    // \hline count above row i (last entry: below the table)
    std::vector<TEX_DIMEN> m_vecRowGaps; // extra space below row i (\\[2em])
};

struct TEX_STYLE_CHANGE {
    TexStyle m_style = TEX_STYLE_TEXT;
};

// \large ...: the pixel size of the em from here on.
struct TEX_SIZE {
    double m_dPixels = 0;
};

// \\ and \newline outside tables; m_extra is the space of \\[2em].
struct TEX_NEWLINE {
    TEX_DIMEN m_extra;
};

// A command or environment the renderer does not know, as written.
struct TEX_UNKNOWN {
    std::string m_strSource;
};

// The kinds, in the order of TexNode::m_payload's alternatives.
enum class TexNodeKind : uint8_t {
    Char, Text, Word, Group, Phantom, Frac, Radical, LeftRight, BigDelim, Accent, Bar, Stack, Space,
    Rule, Frame, Raise, Lap, VCenter, Choice, Not, Array, Style, Size, Newline, Unknown,
};

using TEX_PAYLOAD = std::variant<TEX_CHAR, TEX_TEXT, TEX_WORD, TEX_GROUP, TEX_PHANTOM, TEX_FRAC, TEX_RADICAL,
                                 TEX_LEFTRIGHT, TEX_BIGDELIM, TEX_ACCENT, TEX_BAR, TEX_STACK, TEX_SPACE,
                                 TEX_RULE, TEX_FRAME, TEX_RAISE, TEX_LAP, TEX_VCENTER, TEX_CHOICE, TEX_NOT,
                                 TEX_ARRAY, TEX_STYLE_CHANGE, TEX_SIZE, TEX_NEWLINE, TEX_UNKNOWN>;

struct TexNode {
    TexAtom m_atom = TexAtom::Ord;
    TexLimits m_limits = LIMITS_DISPLAY;  // where the scripts of an Op atom go
    bool m_bHasSup = false;
    bool m_bHasSub = false;
    bool m_bPrimeOnly = false;  // the superscript holds only primes so far
    TexList m_listSup;
    TexList m_listSub;
    TEX_PAYLOAD m_payload;

    TexNodeKind kind() const { return static_cast<TexNodeKind>(m_payload.index()); }
    template <typename T> T* as() { return std::get_if<T>(&m_payload); }
    template <typename T> const T* as() const { return std::get_if<T>(&m_payload); }
};

// Parses a whole formula. False only when the nesting limit was passed; the
// list is then incomplete and must not be rendered. The names of unknown
// commands and environments ("\foo", "\begin{foo}") go to pUnknown, each
// once, in the order they first appear.
bool ParseTex(std::string_view text, TexList& out, std::vector<std::string>* pUnknown = nullptr);

// Pixel size of the em for a size command name without the backslash
// ("large"); 0 when the name is not a size command.
double TexSizeOfCommand(std::string_view name);

}  // namespace tex
