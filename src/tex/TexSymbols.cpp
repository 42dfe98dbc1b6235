#include "tex/TexSymbols.h"

#include <cstring>
#include <unordered_map>

namespace tex {
namespace {

using A = TexAtom;

constexpr TEX_SYMBOL mg_arrSymbols[] = {
    // Greek, lower case (italic by default)
    {"alpha", 0x03B1, A::Ord, SYMF_LETTER}, {"beta", 0x03B2, A::Ord, SYMF_LETTER},
    {"gamma", 0x03B3, A::Ord, SYMF_LETTER}, {"delta", 0x03B4, A::Ord, SYMF_LETTER},
    {"epsilon", 0x03F5, A::Ord, SYMF_LETTER}, {"varepsilon", 0x03B5, A::Ord, SYMF_LETTER},
    {"zeta", 0x03B6, A::Ord, SYMF_LETTER}, {"eta", 0x03B7, A::Ord, SYMF_LETTER},
    {"theta", 0x03B8, A::Ord, SYMF_LETTER}, {"vartheta", 0x03D1, A::Ord, SYMF_LETTER},
    {"iota", 0x03B9, A::Ord, SYMF_LETTER}, {"kappa", 0x03BA, A::Ord, SYMF_LETTER},
    {"varkappa", 0x03F0, A::Ord, SYMF_LETTER}, {"lambda", 0x03BB, A::Ord, SYMF_LETTER},
    {"mu", 0x03BC, A::Ord, SYMF_LETTER}, {"nu", 0x03BD, A::Ord, SYMF_LETTER},
    {"xi", 0x03BE, A::Ord, SYMF_LETTER}, {"omicron", 0x03BF, A::Ord, SYMF_LETTER},
    {"pi", 0x03C0, A::Ord, SYMF_LETTER}, {"varpi", 0x03D6, A::Ord, SYMF_LETTER},
    {"rho", 0x03C1, A::Ord, SYMF_LETTER}, {"varrho", 0x03F1, A::Ord, SYMF_LETTER},
    {"sigma", 0x03C3, A::Ord, SYMF_LETTER}, {"varsigma", 0x03C2, A::Ord, SYMF_LETTER},
    {"tau", 0x03C4, A::Ord, SYMF_LETTER}, {"upsilon", 0x03C5, A::Ord, SYMF_LETTER},
    {"phi", 0x03D5, A::Ord, SYMF_LETTER}, {"varphi", 0x03C6, A::Ord, SYMF_LETTER},
    {"chi", 0x03C7, A::Ord, SYMF_LETTER}, {"psi", 0x03C8, A::Ord, SYMF_LETTER},
    {"omega", 0x03C9, A::Ord, SYMF_LETTER}, {"digamma", 0x03DD, A::Ord, 0},
    // Greek, capitals (upright; the \var forms italic)
    {"Alpha", 0x0391, A::Ord, SYMF_LETTER}, {"Beta", 0x0392, A::Ord, SYMF_LETTER},
    {"Gamma", 0x0393, A::Ord, SYMF_LETTER}, {"Delta", 0x0394, A::Ord, SYMF_LETTER},
    {"Epsilon", 0x0395, A::Ord, SYMF_LETTER}, {"Zeta", 0x0396, A::Ord, SYMF_LETTER},
    {"Eta", 0x0397, A::Ord, SYMF_LETTER}, {"Theta", 0x0398, A::Ord, SYMF_LETTER},
    {"Iota", 0x0399, A::Ord, SYMF_LETTER}, {"Kappa", 0x039A, A::Ord, SYMF_LETTER},
    {"Lambda", 0x039B, A::Ord, SYMF_LETTER}, {"Mu", 0x039C, A::Ord, SYMF_LETTER},
    {"Nu", 0x039D, A::Ord, SYMF_LETTER}, {"Xi", 0x039E, A::Ord, SYMF_LETTER},
    {"Omicron", 0x039F, A::Ord, SYMF_LETTER}, {"Pi", 0x03A0, A::Ord, SYMF_LETTER},
    {"Rho", 0x03A1, A::Ord, SYMF_LETTER}, {"Sigma", 0x03A3, A::Ord, SYMF_LETTER},
    {"Tau", 0x03A4, A::Ord, SYMF_LETTER}, {"Upsilon", 0x03A5, A::Ord, SYMF_LETTER},
    {"Phi", 0x03A6, A::Ord, SYMF_LETTER}, {"Chi", 0x03A7, A::Ord, SYMF_LETTER},
    {"Psi", 0x03A8, A::Ord, SYMF_LETTER}, {"Omega", 0x03A9, A::Ord, SYMF_LETTER},
    {"varGamma", 0x0393, A::Ord, SYMF_LETTER | SYMF_ITALIC},
    {"varDelta", 0x0394, A::Ord, SYMF_LETTER | SYMF_ITALIC},
    {"varTheta", 0x0398, A::Ord, SYMF_LETTER | SYMF_ITALIC},
    {"varLambda", 0x039B, A::Ord, SYMF_LETTER | SYMF_ITALIC},
    {"varXi", 0x039E, A::Ord, SYMF_LETTER | SYMF_ITALIC},
    {"varPi", 0x03A0, A::Ord, SYMF_LETTER | SYMF_ITALIC},
    {"varSigma", 0x03A3, A::Ord, SYMF_LETTER | SYMF_ITALIC},
    {"varUpsilon", 0x03A5, A::Ord, SYMF_LETTER | SYMF_ITALIC},
    {"varPhi", 0x03A6, A::Ord, SYMF_LETTER | SYMF_ITALIC},
    {"varPsi", 0x03A8, A::Ord, SYMF_LETTER | SYMF_ITALIC},
    {"varOmega", 0x03A9, A::Ord, SYMF_LETTER | SYMF_ITALIC},

    // Binary operators
    {"pm", 0x00B1, A::Bin, 0}, {"mp", 0x2213, A::Bin, 0}, {"times", 0x00D7, A::Bin, 0},
    {"div", 0x00F7, A::Bin, 0}, {"cdot", 0x22C5, A::Bin, 0}, {"ast", 0x2217, A::Bin, 0},
    {"star", 0x22C6, A::Bin, 0}, {"circ", 0x2218, A::Bin, 0}, {"bullet", 0x2219, A::Bin, 0},
    {"oplus", 0x2295, A::Bin, 0}, {"ominus", 0x2296, A::Bin, 0}, {"otimes", 0x2297, A::Bin, 0},
    {"oslash", 0x2298, A::Bin, 0}, {"odot", 0x2299, A::Bin, 0}, {"cap", 0x2229, A::Bin, 0},
    {"cup", 0x222A, A::Bin, 0}, {"wedge", 0x2227, A::Bin, 0}, {"land", 0x2227, A::Bin, 0},
    {"vee", 0x2228, A::Bin, 0}, {"lor", 0x2228, A::Bin, 0}, {"setminus", 0x2216, A::Bin, 0},
    {"dagger", 0x2020, A::Bin, 0}, {"ddagger", 0x2021, A::Bin, 0}, {"amalg", 0x2A3F, A::Bin, 0},
    {"uplus", 0x228E, A::Bin, 0}, {"sqcap", 0x2293, A::Bin, 0}, {"sqcup", 0x2294, A::Bin, 0},
    {"diamond", 0x22C4, A::Bin, 0}, {"bigcirc", 0x25EF, A::Bin, 0}, {"wr", 0x2240, A::Bin, 0},
    {"triangleleft", 0x25C1, A::Bin, 0}, {"triangleright", 0x25B7, A::Bin, 0},
    {"centerdot", 0x22C5, A::Bin, 0},

    // Relations and arrows
    {"le", 0x2264, A::Rel, 0}, {"leq", 0x2264, A::Rel, 0}, {"ge", 0x2265, A::Rel, 0},
    {"geq", 0x2265, A::Rel, 0}, {"ne", 0x2260, A::Rel, 0}, {"neq", 0x2260, A::Rel, 0},
    {"leqslant", 0x2A7D, A::Rel, 0}, {"geqslant", 0x2A7E, A::Rel, 0},
    {"approx", 0x2248, A::Rel, 0}, {"approxeq", 0x224A, A::Rel, 0}, {"equiv", 0x2261, A::Rel, 0},
    {"sim", 0x223C, A::Rel, 0}, {"simeq", 0x2243, A::Rel, 0}, {"cong", 0x2245, A::Rel, 0},
    {"propto", 0x221D, A::Rel, 0}, {"ll", 0x226A, A::Rel, 0}, {"gg", 0x226B, A::Rel, 0},
    {"lesssim", 0x2272, A::Rel, 0}, {"gtrsim", 0x2273, A::Rel, 0}, {"asymp", 0x224D, A::Rel, 0},
    {"doteq", 0x2250, A::Rel, 0}, {"triangleq", 0x225C, A::Rel, 0}, {"coloneqq", 0x2254, A::Rel, 0},
    {"subset", 0x2282, A::Rel, 0}, {"supset", 0x2283, A::Rel, 0}, {"subseteq", 0x2286, A::Rel, 0},
    {"supseteq", 0x2287, A::Rel, 0}, {"sqsubseteq", 0x2291, A::Rel, 0},
    {"sqsupseteq", 0x2292, A::Rel, 0}, {"in", 0x2208, A::Rel, 0}, {"ni", 0x220B, A::Rel, 0},
    {"notin", 0x2209, A::Rel, 0}, {"perp", 0x22A5, A::Rel, 0}, {"parallel", 0x2225, A::Rel, 0},
    {"mid", 0x2223, A::Rel, 0}, {"prec", 0x227A, A::Rel, 0}, {"succ", 0x227B, A::Rel, 0},
    {"preceq", 0x2AAF, A::Rel, 0}, {"succeq", 0x2AB0, A::Rel, 0}, {"models", 0x22A7, A::Rel, 0},
    {"vdash", 0x22A2, A::Rel, 0}, {"dashv", 0x22A3, A::Rel, 0}, {"bowtie", 0x22C8, A::Rel, 0},
    {"smile", 0x2323, A::Rel, 0}, {"frown", 0x2322, A::Rel, 0},
    {"to", 0x2192, A::Rel, 0}, {"rightarrow", 0x2192, A::Rel, 0}, {"leftarrow", 0x2190, A::Rel, 0},
    {"gets", 0x2190, A::Rel, 0}, {"Rightarrow", 0x21D2, A::Rel, 0}, {"Leftarrow", 0x21D0, A::Rel, 0},
    {"leftrightarrow", 0x2194, A::Rel, 0}, {"Leftrightarrow", 0x21D4, A::Rel, 0},
    {"longrightarrow", 0x27F6, A::Rel, 0}, {"longleftarrow", 0x27F5, A::Rel, 0},
    {"Longrightarrow", 0x27F9, A::Rel, 0}, {"Longleftarrow", 0x27F8, A::Rel, 0},
    {"longleftrightarrow", 0x27F7, A::Rel, 0}, {"Longleftrightarrow", 0x27FA, A::Rel, 0},
    {"iff", 0x27FA, A::Rel, 0}, {"implies", 0x27F9, A::Rel, 0}, {"impliedby", 0x27F8, A::Rel, 0},
    {"mapsto", 0x21A6, A::Rel, 0}, {"longmapsto", 0x27FC, A::Rel, 0},
    {"uparrow", 0x2191, A::Rel, 0}, {"downarrow", 0x2193, A::Rel, 0},
    {"updownarrow", 0x2195, A::Rel, 0}, {"Uparrow", 0x21D1, A::Rel, 0},
    {"Downarrow", 0x21D3, A::Rel, 0}, {"Updownarrow", 0x21D5, A::Rel, 0},
    {"nearrow", 0x2197, A::Rel, 0}, {"searrow", 0x2198, A::Rel, 0}, {"swarrow", 0x2199, A::Rel, 0},
    {"nwarrow", 0x2196, A::Rel, 0}, {"rightleftharpoons", 0x21CC, A::Rel, 0},
    {"leftrightharpoons", 0x21CB, A::Rel, 0}, {"hookrightarrow", 0x21AA, A::Rel, 0},
    {"hookleftarrow", 0x21A9, A::Rel, 0}, {"rightharpoonup", 0x21C0, A::Rel, 0},
    {"leftharpoonup", 0x21BC, A::Rel, 0},

    // Ordinary symbols
    {"infty", 0x221E, A::Ord, 0}, {"partial", 0x2202, A::Ord, 0}, {"nabla", 0x2207, A::Ord, 0},
    {"hbar", 0x210F, A::Ord, 0}, {"hslash", 0x210F, A::Ord, 0}, {"ell", 0x2113, A::Ord, 0},
    {"Re", 0x211C, A::Ord, 0}, {"Im", 0x2111, A::Ord, 0}, {"aleph", 0x2135, A::Ord, 0},
    {"wp", 0x2118, A::Ord, 0}, {"emptyset", 0x2205, A::Ord, 0}, {"varnothing", 0x2205, A::Ord, 0},
    {"forall", 0x2200, A::Ord, 0}, {"exists", 0x2203, A::Ord, 0}, {"nexists", 0x2204, A::Ord, 0},
    {"neg", 0x00AC, A::Ord, 0}, {"lnot", 0x00AC, A::Ord, 0}, {"angle", 0x2220, A::Ord, 0},
    {"measuredangle", 0x2221, A::Ord, 0}, {"triangle", 0x25B3, A::Ord, 0},
    {"square", 0x25A1, A::Ord, 0}, {"Box", 0x25A1, A::Ord, 0}, {"prime", 0x2032, A::Ord, 0},
    {"degree", 0x00B0, A::Ord, 0}, {"backslash", 0x005C, A::Ord, 0}, {"top", 0x22A4, A::Ord, 0},
    {"bot", 0x22A5, A::Ord, 0}, {"flat", 0x266D, A::Ord, 0}, {"sharp", 0x266F, A::Ord, 0},
    {"natural", 0x266E, A::Ord, 0}, {"surd", 0x221A, A::Ord, 0}, {"clubsuit", 0x2663, A::Ord, 0},
    {"diamondsuit", 0x2662, A::Ord, 0}, {"heartsuit", 0x2661, A::Ord, 0},
    {"spadesuit", 0x2660, A::Ord, 0}, {"imath", 0x1D6A4, A::Ord, 0}, {"jmath", 0x1D6A5, A::Ord, 0},
    {"AA", 0x00C5, A::Ord, 0}, {"aa", 0x00E5, A::Ord, 0}, {"angstrom", 0x00C5, A::Ord, 0},
    {"micro", 0x00B5, A::Ord, 0}, {"ohm", 0x03A9, A::Ord, 0}, {"ss", 0x00DF, A::Ord, 0},
    {"S", 0x00A7, A::Ord, 0}, {"P", 0x00B6, A::Ord, 0}, {"copyright", 0x00A9, A::Ord, 0},
    {"pounds", 0x00A3, A::Ord, 0}, {"euro", 0x20AC, A::Ord, 0}, {"checkmark", 0x2713, A::Ord, 0},
    {"%", '%', A::Ord, 0}, {"$", '$', A::Ord, 0}, {"#", '#', A::Ord, 0}, {"&", '&', A::Ord, 0},
    {"_", '_', A::Ord, 0}, {"{", '{', A::Open, 0}, {"}", '}', A::Close, 0},
    {"lbrace", '{', A::Open, 0}, {"rbrace", '}', A::Close, 0}, {"|", 0x2016, A::Ord, 0},
    {"Vert", 0x2016, A::Ord, 0}, {"vert", '|', A::Ord, 0}, {"lvert", '|', A::Open, 0},
    {"rvert", '|', A::Close, 0}, {"lVert", 0x2016, A::Open, 0}, {"rVert", 0x2016, A::Close, 0},
    {"langle", 0x27E8, A::Open, 0}, {"rangle", 0x27E9, A::Close, 0},
    {"lfloor", 0x230A, A::Open, 0}, {"rfloor", 0x230B, A::Close, 0},
    {"lceil", 0x2308, A::Open, 0}, {"rceil", 0x2309, A::Close, 0},
    {"lbrack", '[', A::Open, 0}, {"rbrack", ']', A::Close, 0},
    {"ldots", 0x2026, A::Inner, 0}, {"dots", 0x2026, A::Inner, 0}, {"dotsc", 0x2026, A::Inner, 0},
    {"dotsb", 0x22EF, A::Inner, 0}, {"cdots", 0x22EF, A::Inner, 0}, {"vdots", 0x22EE, A::Ord, 0},
    {"ddots", 0x22F1, A::Inner, 0}, {"colon", ':', A::Punct, 0},

    // Big operators
    {"sum", 0x2211, A::Op, SYMF_LARGEOP}, {"prod", 0x220F, A::Op, SYMF_LARGEOP},
    {"coprod", 0x2210, A::Op, SYMF_LARGEOP},
    {"int", 0x222B, A::Op, SYMF_LARGEOP | SYMF_NOLIMITS},
    {"iint", 0x222C, A::Op, SYMF_LARGEOP | SYMF_NOLIMITS},
    {"iiint", 0x222D, A::Op, SYMF_LARGEOP | SYMF_NOLIMITS},
    {"oint", 0x222E, A::Op, SYMF_LARGEOP | SYMF_NOLIMITS},
    {"oiint", 0x222F, A::Op, SYMF_LARGEOP | SYMF_NOLIMITS},
    {"bigcup", 0x22C3, A::Op, SYMF_LARGEOP}, {"bigcap", 0x22C2, A::Op, SYMF_LARGEOP},
    {"bigvee", 0x22C1, A::Op, SYMF_LARGEOP}, {"bigwedge", 0x22C0, A::Op, SYMF_LARGEOP},
    {"bigoplus", 0x2A01, A::Op, SYMF_LARGEOP}, {"bigotimes", 0x2A02, A::Op, SYMF_LARGEOP},
    {"bigodot", 0x2A00, A::Op, SYMF_LARGEOP}, {"biguplus", 0x2A04, A::Op, SYMF_LARGEOP},
    {"bigsqcup", 0x2A06, A::Op, SYMF_LARGEOP},
};

constexpr TEX_OPNAME mg_arrOperatorNames[] = {
    {"sin", "sin", false}, {"cos", "cos", false}, {"tan", "tan", false}, {"cot", "cot", false},
    {"sec", "sec", false}, {"csc", "csc", false}, {"arcsin", "arcsin", false},
    {"arccos", "arccos", false}, {"arctan", "arctan", false}, {"sinh", "sinh", false},
    {"cosh", "cosh", false}, {"tanh", "tanh", false}, {"coth", "coth", false},
    {"sech", "sech", false}, {"csch", "csch", false}, {"arg", "arg", false}, {"deg", "deg", false},
    {"det", "det", true}, {"dim", "dim", false}, {"exp", "exp", false}, {"gcd", "gcd", true},
    {"hom", "hom", false}, {"inf", "inf", true}, {"ker", "ker", false}, {"lg", "lg", false},
    {"lim", "lim", true}, {"liminf", "lim\xE2\x80\x89inf", true},
    {"limsup", "lim\xE2\x80\x89sup", true}, {"ln", "ln", false}, {"log", "log", false},
    {"max", "max", true}, {"min", "min", true}, {"Pr", "Pr", true}, {"sup", "sup", true},
    {"sgn", "sgn", false}, {"erf", "erf", false}, {"Tr", "Tr", false}, {"tr", "tr", false},
    {"rank", "rank", false}, {"lcm", "lcm", false}, {"argmax", "arg\xE2\x80\x89max", true},
    {"argmin", "arg\xE2\x80\x89min", true}, {"bmod", "mod", false},
};

constexpr TEX_ACCENT mg_arrAccents[] = {
    {"hat", 0x0302, false}, {"widehat", 0x0302, true}, {"check", 0x030C, false},
    {"widecheck", 0x030C, true}, {"tilde", 0x0303, false}, {"widetilde", 0x0303, true},
    {"acute", 0x0301, false}, {"grave", 0x0300, false}, {"dot", 0x0307, false},
    {"ddot", 0x0308, false}, {"dddot", 0x20DB, false}, {"breve", 0x0306, false},
    {"bar", 0x0304, false}, {"vec", 0x20D7, false}, {"mathring", 0x030A, false},
    {"overrightarrow", 0x2192, true}, {"overleftarrow", 0x2190, true},
    {"overleftrightarrow", 0x2194, true},
};

template <typename T, size_t N>
const T* FindByName(const T (&table)[N], std::string_view name)
{
    // Built once; the tables never change.
    static const std::unordered_map<std::string_view, const T*> index = [&table] {
        std::unordered_map<std::string_view, const T*> map;
        for (const T& entry : table)
            map.emplace(entry.m_szName, &entry);
        return map;
    }();
    auto it = index.find(name);
    return it == index.end() ? nullptr : it->second;
}

// Math alphanumeric blocks: capital A, small a and digit 0 of each alphabet.
struct ALPHABET_BASE {
    uint32_t m_nCapital;
    uint32_t m_nSmall;
    uint32_t m_nDigit;        // 0: digits stay as they are
    uint32_t m_nGreekCapital; // 0: Greek stays as it is
};

constexpr ALPHABET_BASE mg_arrAlphabetBases[] = {
    /* ALPHA_DEFAULT    */ {0x1D434, 0x1D44E, 0, 0x1D6E2},
    /* ALPHA_ROMAN      */ {'A', 'a', 0, 0},
    /* ALPHA_BOLD       */ {0x1D400, 0x1D41A, 0x1D7CE, 0x1D6A8},
    /* ALPHA_ITALIC     */ {0x1D434, 0x1D44E, 0, 0x1D6E2},
    /* ALPHA_BOLDITALIC */ {0x1D468, 0x1D482, 0x1D7CE, 0x1D71C},
    /* ALPHA_SCRIPT     */ {0x1D49C, 0x1D4B6, 0, 0},
    /* ALPHA_BLACKBOARD */ {0x1D538, 0x1D552, 0x1D7D8, 0},
    /* ALPHA_FRAKTUR    */ {0x1D504, 0x1D51E, 0, 0},
    /* ALPHA_SANS       */ {0x1D5A0, 0x1D5BA, 0x1D7E2, 0},
    /* ALPHA_MONO       */ {0x1D670, 0x1D68A, 0x1D7F6, 0},
};

// Letters whose math forms were encoded before the math block and left holes in it.
uint32_t AlphabetHole(uint32_t mapped)
{
    switch (mapped) {
    case 0x1D455: return 0x210E;  // italic h
    case 0x1D49D: return 0x212C;  // script B
    case 0x1D4A0: return 0x2130;  // script E
    case 0x1D4A1: return 0x2131;  // script F
    case 0x1D4A3: return 0x210B;  // script H
    case 0x1D4A4: return 0x2110;  // script I
    case 0x1D4A7: return 0x2112;  // script L
    case 0x1D4A8: return 0x2133;  // script M
    case 0x1D4AD: return 0x211B;  // script R
    case 0x1D4BA: return 0x212F;  // script e
    case 0x1D4BC: return 0x210A;  // script g
    case 0x1D4C4: return 0x2134;  // script o
    case 0x1D506: return 0x212D;  // fraktur C
    case 0x1D50B: return 0x210C;  // fraktur H
    case 0x1D50C: return 0x2111;  // fraktur I
    case 0x1D515: return 0x211C;  // fraktur R
    case 0x1D51D: return 0x2128;  // fraktur Z
    case 0x1D53A: return 0x2102;  // double-struck C
    case 0x1D53F: return 0x210D;  // double-struck H
    case 0x1D545: return 0x2115;  // double-struck N
    case 0x1D547: return 0x2119;  // double-struck P
    case 0x1D548: return 0x211A;  // double-struck Q
    case 0x1D549: return 0x211D;  // double-struck R
    case 0x1D551: return 0x2124;  // double-struck Z
    default: return mapped;
    }
}

// Position of a Greek letter in the math blocks' Greek sequence, -1 for others.
int GreekIndex(uint32_t cp, bool& bCapital)
{
    bCapital = true;
    if (cp >= 0x0391 && cp <= 0x03A9 && cp != 0x03A2)
        return static_cast<int>(cp - 0x0391);
    if (cp == 0x03F4)
        return 17;
    bCapital = false;
    if (cp >= 0x03B1 && cp <= 0x03C9)
        return 26 + static_cast<int>(cp - 0x03B1);
    switch (cp) {
    case 0x03F5: return 26 + 26;  // lunate epsilon
    case 0x03D1: return 26 + 27;  // theta symbol
    case 0x03F0: return 26 + 28;  // kappa symbol
    case 0x03D5: return 26 + 29;  // phi symbol
    case 0x03F1: return 26 + 30;  // rho symbol
    case 0x03D6: return 26 + 31;  // pi symbol
    default: return -1;
    }
}

}  // namespace

const TEX_SYMBOL* FindTexSymbol(std::string_view name)
{
    return FindByName(mg_arrSymbols, name);
}

const TEX_OPNAME* FindTexOperatorName(std::string_view name)
{
    return FindByName(mg_arrOperatorNames, name);
}

const TEX_ACCENT* FindTexAccent(std::string_view name)
{
    return FindByName(mg_arrAccents, name);
}

uint32_t FindTexDelimiter(std::string_view name, bool bCommand)
{
    if (!bCommand) {
        if (name.size() != 1)
            return UINT32_MAX;
        switch (name[0]) {
        case '(': case ')': case '[': case ']': case '|': case '/':
            return static_cast<uint32_t>(name[0]);
        case '<': return 0x27E8;
        case '>': return 0x27E9;
        case '.': return 0;
        default: return UINT32_MAX;
        }
    }
    static constexpr struct {
        const char* m_szName;
        uint32_t m_nCodepoint;
    } delimiters[] = {
        {"{", '{'}, {"}", '}'}, {"lbrace", '{'}, {"rbrace", '}'}, {"|", 0x2016}, {"Vert", 0x2016},
        {"vert", '|'}, {"lvert", '|'}, {"rvert", '|'}, {"lVert", 0x2016}, {"rVert", 0x2016},
        {"langle", 0x27E8}, {"rangle", 0x27E9}, {"lfloor", 0x230A}, {"rfloor", 0x230B},
        {"lceil", 0x2308}, {"rceil", 0x2309}, {"lbrack", '['}, {"rbrack", ']'},
        {"backslash", '\\'}, {"uparrow", 0x2191}, {"downarrow", 0x2193}, {"updownarrow", 0x2195},
        {"Uparrow", 0x21D1}, {"Downarrow", 0x21D3}, {"Updownarrow", 0x21D5},
    };
    for (const auto& d : delimiters) {
        if (name == d.m_szName)
            return d.m_nCodepoint;
    }
    return UINT32_MAX;
}

uint32_t NegatedRelation(uint32_t codepoint)
{
    switch (codepoint) {
    case '=': return 0x2260;
    case '<': return 0x226E;
    case '>': return 0x226F;
    case 0x2208: return 0x2209;
    case 0x2261: return 0x2262;
    case 0x223C: return 0x2241;
    case 0x2248: return 0x2249;
    case 0x2245: return 0x2247;
    case 0x2243: return 0x2244;
    case 0x2282: return 0x2284;
    case 0x2283: return 0x2285;
    case 0x2286: return 0x2288;
    case 0x2287: return 0x2289;
    case 0x2264: return 0x2270;
    case 0x2265: return 0x2271;
    case 0x2225: return 0x2226;
    case 0x2223: return 0x2224;
    case 0x2203: return 0x2204;
    default: return 0;
    }
}

uint32_t MapMathAlphabet(uint32_t cp, TexAlphabet alphabet, bool bForceItalic)
{
    const ALPHABET_BASE& base = mg_arrAlphabetBases[alphabet];
    if (cp >= 'A' && cp <= 'Z')
        return AlphabetHole(base.m_nCapital + (cp - 'A'));
    if (cp >= 'a' && cp <= 'z')
        return AlphabetHole(base.m_nSmall + (cp - 'a'));
    if (cp >= '0' && cp <= '9')
        return base.m_nDigit ? base.m_nDigit + (cp - '0') : cp;
    bool bCapital = false;
    int greek = GreekIndex(cp, bCapital);
    if (greek < 0 || base.m_nGreekCapital == 0)
        return cp;
    // Capital Greek stays upright under the default alphabet, as in print.
    if (alphabet == ALPHA_DEFAULT && bCapital && !bForceItalic)
        return cp;
    return base.m_nGreekCapital + static_cast<uint32_t>(greek);
}

TexAtom AsciiAtom(char c)
{
    switch (c) {
    case '+': case '-': case '*':
        return TexAtom::Bin;
    case '=': case '<': case '>': case ':':
        return TexAtom::Rel;
    case '(': case '[':
        return TexAtom::Open;
    case ')': case ']': case '!': case '?':
        return TexAtom::Close;
    case ',': case ';':
        return TexAtom::Punct;
    default:
        return TexAtom::Ord;
    }
}

}  // namespace tex
