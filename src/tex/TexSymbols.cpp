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
    {"centerdot", 0x22C5, A::Bin, 0}, {"dotplus", 0x2214, A::Bin, 0}, {"ltimes", 0x22C9, A::Bin, 0},
    {"rtimes", 0x22CA, A::Bin, 0}, {"leftthreetimes", 0x22CB, A::Bin, 0},
    {"rightthreetimes", 0x22CC, A::Bin, 0}, {"intercal", 0x22BA, A::Bin, 0},
    {"barwedge", 0x22BC, A::Bin, 0}, {"veebar", 0x22BB, A::Bin, 0}, {"curlyvee", 0x22CE, A::Bin, 0},
    {"curlywedge", 0x22CF, A::Bin, 0}, {"boxplus", 0x229E, A::Bin, 0}, {"boxminus", 0x229F, A::Bin, 0},
    {"boxtimes", 0x22A0, A::Bin, 0}, {"boxdot", 0x22A1, A::Bin, 0}, {"circledast", 0x229B, A::Bin, 0},
    {"circledcirc", 0x229A, A::Bin, 0}, {"circleddash", 0x229D, A::Bin, 0}, {"Cap", 0x22D2, A::Bin, 0},
    {"Cup", 0x22D3, A::Bin, 0}, {"divideontimes", 0x22C7, A::Bin, 0},
    {"bigtriangleup", 0x25B3, A::Bin, 0}, {"bigtriangledown", 0x25BD, A::Bin, 0},
    {"lhd", 0x22B2, A::Bin, 0}, {"rhd", 0x22B3, A::Bin, 0}, {"unlhd", 0x22B4, A::Bin, 0},
    {"unrhd", 0x22B5, A::Bin, 0}, {"smallsetminus", 0x2216, A::Bin, 0},

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
    {"leqq", 0x2266, A::Rel, 0}, {"geqq", 0x2267, A::Rel, 0}, {"lll", 0x22D8, A::Rel, 0},
    {"ggg", 0x22D9, A::Rel, 0}, {"lessgtr", 0x2276, A::Rel, 0}, {"gtrless", 0x2277, A::Rel, 0},
    {"lesseqgtr", 0x22DA, A::Rel, 0}, {"gtreqless", 0x22DB, A::Rel, 0}, {"nless", 0x226E, A::Rel, 0},
    {"ngtr", 0x226F, A::Rel, 0}, {"nleq", 0x2270, A::Rel, 0}, {"ngeq", 0x2271, A::Rel, 0},
    {"lneq", 0x2A87, A::Rel, 0}, {"gneq", 0x2A88, A::Rel, 0}, {"lneqq", 0x2268, A::Rel, 0},
    {"gneqq", 0x2269, A::Rel, 0}, {"nsubseteq", 0x2288, A::Rel, 0}, {"nsupseteq", 0x2289, A::Rel, 0},
    {"subsetneq", 0x228A, A::Rel, 0}, {"supsetneq", 0x228B, A::Rel, 0},
    {"subseteqq", 0x2AC5, A::Rel, 0}, {"supseteqq", 0x2AC6, A::Rel, 0},
    {"sqsubset", 0x228F, A::Rel, 0}, {"sqsupset", 0x2290, A::Rel, 0}, {"nmid", 0x2224, A::Rel, 0},
    {"nparallel", 0x2226, A::Rel, 0}, {"nsim", 0x2241, A::Rel, 0}, {"ncong", 0x2247, A::Rel, 0},
    {"vDash", 0x22A8, A::Rel, 0}, {"Vdash", 0x22A9, A::Rel, 0}, {"Vvdash", 0x22AA, A::Rel, 0},
    {"nvdash", 0x22AC, A::Rel, 0}, {"nvDash", 0x22AD, A::Rel, 0}, {"thicksim", 0x223C, A::Rel, 0},
    {"thickapprox", 0x2248, A::Rel, 0}, {"backsim", 0x223D, A::Rel, 0},
    {"backsimeq", 0x22CD, A::Rel, 0}, {"eqsim", 0x2242, A::Rel, 0}, {"circeq", 0x2257, A::Rel, 0},
    {"eqcirc", 0x2256, A::Rel, 0}, {"bumpeq", 0x224F, A::Rel, 0}, {"Bumpeq", 0x224E, A::Rel, 0},
    {"doteqdot", 0x2251, A::Rel, 0}, {"fallingdotseq", 0x2252, A::Rel, 0},
    {"risingdotseq", 0x2253, A::Rel, 0}, {"therefore", 0x2234, A::Rel, 0},
    {"because", 0x2235, A::Rel, 0}, {"between", 0x226C, A::Rel, 0}, {"pitchfork", 0x22D4, A::Rel, 0},
    {"multimap", 0x22B8, A::Rel, 0}, {"varpropto", 0x221D, A::Rel, 0}, {"Join", 0x22C8, A::Rel, 0},
    {"lessdot", 0x22D6, A::Rel, 0}, {"gtrdot", 0x22D7, A::Rel, 0}, {"precsim", 0x227E, A::Rel, 0},
    {"succsim", 0x227F, A::Rel, 0}, {"trianglelefteq", 0x22B4, A::Rel, 0},
    {"trianglerighteq", 0x22B5, A::Rel, 0}, {"vartriangleleft", 0x22B2, A::Rel, 0},
    {"vartriangleright", 0x22B3, A::Rel, 0}, {"ntriangleleft", 0x22EA, A::Rel, 0},
    {"ntriangleright", 0x22EB, A::Rel, 0}, {"owns", 0x220B, A::Rel, 0},
    {"shortmid", 0x2223, A::Rel, 0}, {"shortparallel", 0x2225, A::Rel, 0},
    {"eqslantless", 0x2A95, A::Rel, 0}, {"eqslantgtr", 0x2A96, A::Rel, 0},
    {"lessapprox", 0x2A85, A::Rel, 0}, {"gtrapprox", 0x2A86, A::Rel, 0},
    {"coloneq", 0x2254, A::Rel, 0}, {"eqqcolon", 0x2255, A::Rel, 0}, {"nprec", 0x2280, A::Rel, 0},
    {"nsucc", 0x2281, A::Rel, 0},
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
    {"leftharpoonup", 0x21BC, A::Rel, 0}, {"rightharpoondown", 0x21C1, A::Rel, 0},
    {"leftharpoondown", 0x21BD, A::Rel, 0}, {"upharpoonleft", 0x21BF, A::Rel, 0},
    {"upharpoonright", 0x21BE, A::Rel, 0}, {"downharpoonleft", 0x21C3, A::Rel, 0},
    {"downharpoonright", 0x21C2, A::Rel, 0}, {"leftrightarrows", 0x21C6, A::Rel, 0},
    {"rightleftarrows", 0x21C4, A::Rel, 0}, {"leftleftarrows", 0x21C7, A::Rel, 0},
    {"rightrightarrows", 0x21C9, A::Rel, 0}, {"upuparrows", 0x21C8, A::Rel, 0},
    {"downdownarrows", 0x21CA, A::Rel, 0}, {"Lleftarrow", 0x21DA, A::Rel, 0},
    {"Rrightarrow", 0x21DB, A::Rel, 0}, {"twoheadleftarrow", 0x219E, A::Rel, 0},
    {"twoheadrightarrow", 0x21A0, A::Rel, 0}, {"leftarrowtail", 0x21A2, A::Rel, 0},
    {"rightarrowtail", 0x21A3, A::Rel, 0}, {"looparrowleft", 0x21AB, A::Rel, 0},
    {"looparrowright", 0x21AC, A::Rel, 0}, {"curvearrowleft", 0x21B6, A::Rel, 0},
    {"curvearrowright", 0x21B7, A::Rel, 0}, {"circlearrowleft", 0x21BA, A::Rel, 0},
    {"circlearrowright", 0x21BB, A::Rel, 0}, {"Lsh", 0x21B0, A::Rel, 0}, {"Rsh", 0x21B1, A::Rel, 0},
    {"rightsquigarrow", 0x21DD, A::Rel, 0}, {"leadsto", 0x21DD, A::Rel, 0},
    {"leftrightsquigarrow", 0x21AD, A::Rel, 0}, {"nleftarrow", 0x219A, A::Rel, 0},
    {"nrightarrow", 0x219B, A::Rel, 0}, {"nLeftarrow", 0x21CD, A::Rel, 0},
    {"nRightarrow", 0x21CF, A::Rel, 0}, {"nleftrightarrow", 0x21AE, A::Rel, 0},
    {"nLeftrightarrow", 0x21CE, A::Rel, 0}, {"dashrightarrow", 0x21E2, A::Rel, 0},
    {"dashleftarrow", 0x21E0, A::Rel, 0},

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
    {"dag", 0x2020, A::Ord, 0}, {"ddag", 0x2021, A::Ord, 0}, {"mho", 0x2127, A::Ord, 0},
    {"eth", 0x00F0, A::Ord, 0}, {"beth", 0x2136, A::Ord, 0}, {"gimel", 0x2137, A::Ord, 0},
    {"daleth", 0x2138, A::Ord, 0}, {"complement", 0x2201, A::Ord, 0}, {"Finv", 0x2132, A::Ord, 0},
    {"Game", 0x2141, A::Ord, 0}, {"circledS", 0x24C8, A::Ord, 0}, {"bigstar", 0x2605, A::Ord, 0},
    {"blacksquare", 0x25A0, A::Ord, 0}, {"blacktriangle", 0x25B4, A::Ord, 0},
    {"blacktriangledown", 0x25BE, A::Ord, 0}, {"lozenge", 0x25CA, A::Ord, 0},
    {"blacklozenge", 0x29EB, A::Ord, 0}, {"diagup", 0x2571, A::Ord, 0}, {"diagdown", 0x2572, A::Ord, 0},
    {"vartriangle", 0x25B5, A::Ord, 0}, {"triangledown", 0x25BF, A::Ord, 0},
    {"sphericalangle", 0x2222, A::Ord, 0}, {"backprime", 0x2035, A::Ord, 0},
    {"Diamond", 0x25C7, A::Ord, 0}, {"textbackslash", '\\', A::Ord, 0},
    {"textasciitilde", '~', A::Ord, 0}, {"textasciicircum", '^', A::Ord, 0},
    {"textbar", '|', A::Ord, 0}, {"textless", '<', A::Ord, 0}, {"textgreater", '>', A::Ord, 0},
    {"textdegree", 0x00B0, A::Ord, 0}, {"textbullet", 0x2022, A::Ord, 0},
    {"textendash", 0x2013, A::Ord, 0}, {"textemdash", 0x2014, A::Ord, 0},
    {"textregistered", 0x00AE, A::Ord, 0}, {"texttrademark", 0x2122, A::Ord, 0},
    {"ulcorner", 0x231C, A::Open, 0}, {"urcorner", 0x231D, A::Close, 0},
    {"llcorner", 0x231E, A::Open, 0}, {"lrcorner", 0x231F, A::Close, 0},
    {"lgroup", 0x27EE, A::Open, 0}, {"rgroup", 0x27EF, A::Close, 0},
    {"lmoustache", 0x23B0, A::Open, 0}, {"rmoustache", 0x23B1, A::Close, 0},
    {"llbracket", 0x27E6, A::Open, 0}, {"rrbracket", 0x27E7, A::Close, 0},
    {"lparen", '(', A::Open, 0}, {"rparen", ')', A::Close, 0},
    {"dotsm", 0x22EF, A::Inner, 0}, {"dotsi", 0x22EF, A::Inner, 0}, {"dotso", 0x2026, A::Inner, 0},
    {"hdots", 0x2026, A::Inner, 0}, {"iddots", 0x22F0, A::Inner, 0},
    {"ldotp", '.', A::Punct, 0}, {"cdotp", 0x22C5, A::Punct, 0},
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
    {"iiiint", 0x2A0C, A::Op, SYMF_LARGEOP | SYMF_NOLIMITS},
    // \intop is \int without the built-in \nolimits
    {"intop", 0x222B, A::Op, SYMF_LARGEOP}, {"ointop", 0x222E, A::Op, SYMF_LARGEOP},
    {"smallint", 0x222B, A::Op, 0},
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
    {"argmin", "arg\xE2\x80\x89min", true}, {"injlim", "inj\xE2\x80\x89lim", true},
    {"projlim", "proj\xE2\x80\x89lim", true},
};

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

const TEX_SYMBOL* FindTexSymbolByCodepoint(uint32_t codepoint)
{
    static const std::unordered_map<uint32_t, const TEX_SYMBOL*> index = [] {
        std::unordered_map<uint32_t, const TEX_SYMBOL*> map;
        for (const TEX_SYMBOL& symbol : mg_arrSymbols)
            map.emplace(symbol.m_nCodepoint, &symbol);
        return map;
    }();
    auto it = index.find(codepoint);
    return it == index.end() ? nullptr : it->second;
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
        {"lgroup", 0x27EE}, {"rgroup", 0x27EF}, {"lmoustache", 0x23B0}, {"rmoustache", 0x23B1},
        {"ulcorner", 0x231C}, {"urcorner", 0x231D}, {"llcorner", 0x231E}, {"lrcorner", 0x231F},
        {"llbracket", 0x27E6}, {"rrbracket", 0x27E7}, {"lparen", '('}, {"rparen", ')'},
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
    case 0x227A: return 0x2280;
    case 0x227B: return 0x2281;
    case 0x2291: return 0x22E2;
    case 0x2292: return 0x22E3;
    case 0x22A2: return 0x22AC;
    case 0x22A8: return 0x22AD;
    case 0x224D: return 0x226D;
    case 0x2192: return 0x219B;
    case 0x2190: return 0x219A;
    case 0x21D2: return 0x21CF;
    case 0x21D0: return 0x21CD;
    case 0x2194: return 0x21AE;
    case 0x21D4: return 0x21CE;
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

uint32_t PlainMathLetter(uint32_t cp)
{
    // Unicode's math alphabets: 52 letters each from U+1D400, 10 digits each from U+1D7CE.
    if (cp >= 0x1D400 && cp < 0x1D6A4) {
        uint32_t letter = (cp - 0x1D400) % 52;
        return MapMathAlphabet(letter < 26 ? 'A' + letter : 'a' + letter - 26, ALPHA_DEFAULT, false);
    }
    if (cp >= 0x1D7CE && cp <= 0x1D7FF)
        return '0' + (cp - 0x1D7CE) % 10;
    return cp;
}

std::string EncodeUtf8(uint32_t cp)
{
    std::string out;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return out;
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
