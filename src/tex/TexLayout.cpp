// Lists and atoms: the spacing between atoms, scripts and limits, style and
// size changes, lines; each construct's own layout is in TexLayoutParts.cpp
// and TexLayoutArray.cpp.
#include "tex/TexLayout.h"

#include <algorithm>
#include <cmath>

#include "tex/TexLayoutCore.h"

namespace tex {
namespace {

// \large and larger set the formula as a displayed one.
constexpr double mg_dDisplayFromSize = 18;

struct LAID_ATOM {
    TEX_BOX m_box;
    TexAtom m_atom = TexAtom::Ord;       // class towards the left neighbour
    TexAtom m_rightAtom = TexAtom::Ord;  // class towards the right neighbour
    bool m_bSpace = false;
    bool m_bBrackets = false;  // a \left ... \right group
    int m_nStyle = TEX_STYLE_TEXT;
};

// Rule 20: TeX's spacing between neighbouring atoms in mu: 1 thin, 2 medium,
// 3 thick; negative entries apply only in display and text style.
constexpr int8_t mg_arrSpacing[8][8] = {
    //        Ord Op Bin Rel Open Close Punct Inner
    /*Ord  */ {0, 1, -2, -3, 0, 0, 0, -1},
    /*Op   */ {1, 1, 0, -3, 0, 0, 0, -1},
    /*Bin  */ {-2, -2, 0, 0, -2, 0, 0, -2},
    /*Rel  */ {-3, -3, 0, 0, -3, 0, 0, -3},
    /*Open */ {0, 0, 0, 0, 0, 0, 0, 0},
    /*Close*/ {0, 1, -2, -3, 0, 0, 0, -1},
    /*Punct*/ {-1, -1, 0, -1, -1, -1, -1, -1},
    /*Inner*/ {-1, 1, -2, -3, -1, 0, -1, -1},
};

double AtomSpacing(TexAtom left, TexAtom right, int style, double size)
{
    int entry = mg_arrSpacing[static_cast<int>(left)][static_cast<int>(right)];
    if (entry < 0) {
        if (style >= TEX_STYLE_SCRIPT)
            return 0;
        entry = -entry;
    }
    static constexpr double mu[] = {0, 3, 4, 5};
    return mu[entry] * size / 18.0;
}

// Rule 18: sub- and superscripts beside a nucleus, with the MATH table's
// shifts and gaps. Primes are drawn raised already: they follow the nucleus
// at its own size, and a superscript goes after them.
TEX_BOX AttachScripts(const TEX_BOX& nucleus, const TexNode& node, const LAYOUT_CTX& ctx, bool bGlyph, bool bLargeOp)
{
    TEX_BOX result;
    result.place(nucleus, 0, 0);
    result.m_dHeight = nucleus.m_dHeight;
    result.m_dDepth = nucleus.m_dDepth;
    double x = nucleus.m_dWidth;
    double italic = nucleus.m_dItalic;

    size_t primes = 0;
    while (primes < node.m_listSup.size() && !node.m_listSup[primes].m_bHasSup &&
           !node.m_listSup[primes].m_bHasSub) {
        const TEX_CHAR* ch = node.m_listSup[primes].as<TEX_CHAR>();
        if (!ch || ch->m_nCodepoint != 0x2032)
            break;
        ++primes;
    }
    for (size_t i = 0; i < primes; ++i) {
        TEX_BOX prime = CharBox(0x2032, ctx);
        x += italic;
        italic = 0;
        result.place(prime, x, 0);
        result.m_dHeight = std::max(result.m_dHeight, prime.m_dHeight);
        x += prime.m_dWidth;
    }
    TexList restSup(node.m_listSup.begin() + static_cast<ptrdiff_t>(primes), node.m_listSup.end());
    bool hasSup = node.m_bHasSup && (primes == 0 || !restSup.empty());
    bool hasSub = node.m_bHasSub;
    if (!hasSup && !hasSub) {
        result.m_dWidth = x + italic;
        return result;
    }

    TEX_BOX sup = hasSup ? LayoutList(restSup, SupStyle(ctx)) : TEX_BOX();
    TEX_BOX sub = hasSub ? LayoutList(node.m_listSub, SubStyle(ctx)) : TEX_BOX();

    // 18a: a lone glyph starts from no drop; anything else from its own top and bottom.
    bool plain = bGlyph && primes == 0;
    double u = plain ? 0 : nucleus.m_dHeight - ctx.k(HB_OT_MATH_CONSTANT_SUPERSCRIPT_BASELINE_DROP_MAX);
    double v = plain ? 0 : nucleus.m_dDepth + ctx.k(HB_OT_MATH_CONSTANT_SUBSCRIPT_BASELINE_DROP_MIN);
    if (hasSup) {
        // 18c: the superscript's shift.
        double shift = ctx.k(ctx.m_bCramped ? HB_OT_MATH_CONSTANT_SUPERSCRIPT_SHIFT_UP_CRAMPED
                                             : HB_OT_MATH_CONSTANT_SUPERSCRIPT_SHIFT_UP);
        u = std::max({u, shift, sup.m_dDepth + ctx.k(HB_OT_MATH_CONSTANT_SUPERSCRIPT_BOTTOM_MIN)});
    }
    if (hasSub && !hasSup) {
        // 18b: a subscript alone.
        v = std::max({v, ctx.k(HB_OT_MATH_CONSTANT_SUBSCRIPT_SHIFT_DOWN),
                      sub.m_dHeight - ctx.k(HB_OT_MATH_CONSTANT_SUBSCRIPT_TOP_MAX)});
    }
    if (hasSub && hasSup) {
        // 18e: both, with at least a visible gap between them.
        v = std::max(v, ctx.k(HB_OT_MATH_CONSTANT_SUBSCRIPT_SHIFT_DOWN));
        double gapMin = std::max(ctx.k(HB_OT_MATH_CONSTANT_SUB_SUPERSCRIPT_GAP_MIN), TEX_MIN_GAP_PX);
        double gap = (u - sup.m_dDepth) - (sub.m_dHeight - v);
        if (gap < gapMin)
            v += gapMin - gap;
        double psi = ctx.k(HB_OT_MATH_CONSTANT_SUPERSCRIPT_BOTTOM_MAX_WITH_SUBSCRIPT) - (u - sup.m_dDepth);
        if (psi > 0) {
            u += psi;
            v -= psi;
        }
    }
    // 17: a letter's italic correction pushes its superscript right; a big
    // operator's advance already covers its slant, and the correction pulls
    // the subscript in under it instead.
    double supX = bLargeOp ? x : x + italic;
    double subX = bLargeOp ? x - italic : x;
    double width = 0;
    if (hasSup) {
        result.place(sup, supX, u);
        result.m_dHeight = std::max(result.m_dHeight, u + sup.m_dHeight);
        result.m_dDepth = std::max(result.m_dDepth, sup.m_dDepth - u);
        width = std::max(width, supX + sup.m_dWidth);
    }
    if (hasSub) {
        result.place(sub, subX, -v);
        result.m_dHeight = std::max(result.m_dHeight, sub.m_dHeight - v);
        result.m_dDepth = std::max(result.m_dDepth, v + sub.m_dDepth);
        width = std::max(width, subX + sub.m_dWidth);
    }
    result.m_dWidth = width + ctx.k(HB_OT_MATH_CONSTANT_SPACE_AFTER_SCRIPT);
    return result;
}

// Rule 13: an operator symbol is centred on the axis, in its larger form in
// display style when it is a big operator.
TEX_BOX LayoutOperatorChar(const TEX_CHAR& ch, const LAYOUT_CTX& ctx)
{
    MathFont& f = MathFont::instance();
    uint32_t glyph = f.glyphIndex(TEXFONT_MATH, ch.m_nCodepoint);
    if (!glyph)
        return CharBox(ch.m_nCodepoint, ctx);
    double em = ctx.size();
    if (ch.m_bLargeOp && ctx.display()) {
        double minHeight = ctx.k(HB_OT_MATH_CONSTANT_DISPLAY_OPERATOR_MIN_HEIGHT);
        for (const GLYPH_VARIANT& v : f.variants(glyph, true)) {
            glyph = v.m_nGlyph;
            GLYPH_EXTENTS e = f.extents(TEXFONT_MATH, glyph);
            if ((e.m_dTop - e.m_dBottom) * em >= minHeight)
                break;
        }
    } else {
        glyph = f.scriptGlyph(glyph, ctx.level());
    }
    TEX_BOX box = GlyphBox(TEXFONT_MATH, glyph, em);
    double italic = box.m_dItalic;
    box = CenteredOnAxis(box, ctx);
    box.m_dItalic = italic;
    return box;
}

TEX_BOX LayoutChoice(const TEX_CHOICE& choice, const LAYOUT_CTX& ctx)
{
    return LayoutList(choice.m_arrBranches[std::clamp(ctx.m_nStyle, 0, 3)], Child(ctx));
}

// The nucleus of one atom. bGlyph tells a lone glyph (scripts shift from
// fixed positions), bLargeOp a big operator (scripts tuck under its slant).
TEX_BOX LayoutNucleus(const TexNode& node, const LAYOUT_CTX& ctx, bool& bGlyph, bool& bLargeOp)
{
    switch (node.kind()) {
    case TexNodeKind::Char: {
        const TEX_CHAR& ch = *node.as<TEX_CHAR>();
        if (node.m_atom == TexAtom::Op) {
            bLargeOp = ch.m_bLargeOp;
            return LayoutOperatorChar(ch, ctx);
        }
        bGlyph = true;
        return CharBox(ch.m_nCodepoint, ctx);
    }
    case TexNodeKind::Text: {
        const TEX_TEXT& text = *node.as<TEX_TEXT>();
        return TextBox(static_cast<TexFontId>(text.m_nFont), text.m_strText, ctx.size());
    }
    case TexNodeKind::Word: return TextBox(TEXFONT_MATH, node.as<TEX_WORD>()->m_strText, ctx.size());
    case TexNodeKind::Group: {
        const TexList& body = node.as<TEX_GROUP>()->m_listBody;
        // \mathop{x}: a single operator character is centred like \sum.
        if (node.m_atom == TexAtom::Op && body.size() == 1 && body[0].kind() == TexNodeKind::Char &&
            !body[0].m_bHasSup && !body[0].m_bHasSub)
            return LayoutOperatorChar(*body[0].as<TEX_CHAR>(), ctx);
        return LayoutList(body, Child(ctx));
    }
    case TexNodeKind::Phantom: return LayoutPhantom(*node.as<TEX_PHANTOM>(), ctx);
    case TexNodeKind::Frac: return LayoutFraction(*node.as<TEX_FRAC>(), ctx);
    case TexNodeKind::Radical: return LayoutRadical(*node.as<TEX_RADICAL>(), ctx);
    case TexNodeKind::LeftRight: return LayoutLeftRight(*node.as<TEX_LEFTRIGHT>(), ctx);
    case TexNodeKind::BigDelim: return LayoutBigDelim(*node.as<TEX_BIGDELIM>(), ctx);
    case TexNodeKind::Accent: return LayoutAccent(*node.as<TEX_ACCENT>(), ctx);
    case TexNodeKind::Bar: return LayoutBar(*node.as<TEX_BAR>(), ctx);
    case TexNodeKind::Stack: return LayoutStack(*node.as<TEX_STACK>(), ctx);
    case TexNodeKind::Rule: return LayoutRule(*node.as<TEX_RULE>(), ctx);
    case TexNodeKind::Frame: return LayoutFrame(*node.as<TEX_FRAME>(), ctx);
    case TexNodeKind::Raise: return LayoutRaise(*node.as<TEX_RAISE>(), ctx);
    case TexNodeKind::Lap: return LayoutLap(*node.as<TEX_LAP>(), ctx);
    case TexNodeKind::VCenter: return LayoutVCenter(*node.as<TEX_VCENTER>(), ctx);
    case TexNodeKind::Choice: return LayoutChoice(*node.as<TEX_CHOICE>(), ctx);
    case TexNodeKind::Not: return LayoutNot(*node.as<TEX_NOT>(), ctx);
    case TexNodeKind::Array: return LayoutArray(*node.as<TEX_ARRAY>(), ctx);
    case TexNodeKind::Unknown: return LayoutUnknown(*node.as<TEX_UNKNOWN>(), ctx);
    default: return TEX_BOX();
    }
}

LAID_ATOM LayoutAtom(const TexNode& node, const LAYOUT_CTX& ctx)
{
    LAID_ATOM laid;
    laid.m_atom = laid.m_rightAtom = node.m_atom;
    laid.m_nStyle = ctx.m_nStyle;
    bool glyph = false;
    bool largeOp = false;
    TEX_BOX nucleus = LayoutNucleus(node, ctx, glyph, largeOp);
    if (node.kind() == TexNodeKind::LeftRight) {
        // Bracket processing turns every typed bracket into \left ... \right:
        // the group is spaced like the brackets it stands for, so f(x) stays
        // f(x) and does not become f (x).
        laid.m_atom = TexAtom::Open;
        laid.m_rightAtom = TexAtom::Close;
        laid.m_bBrackets = true;
    }
    if (!node.m_bHasSup && !node.m_bHasSub) {
        laid.m_box = std::move(nucleus);
        return laid;
    }
    // 13a: an operator's limits go above and below as its \limits asks.
    bool limits = node.m_atom == TexAtom::Op &&
                  (node.m_limits == LIMITS_ALWAYS || (node.m_limits == LIMITS_DISPLAY && ctx.display()));
    if (limits)
        laid.m_box = AttachLimits(nucleus, node.m_bHasSup ? &node.m_listSup : nullptr,
                                  node.m_bHasSub ? &node.m_listSub : nullptr, ctx);
    else
        laid.m_box = AttachScripts(nucleus, node, ctx, glyph, largeOp);
    return laid;
}

// Rules 5 and 6: a binary operator with nothing to combine on its left, or
// before a relation, closing bracket or punctuation, is an ordinary symbol
// (a sign: -x, (+1)).
void DemoteBinaries(std::vector<LAID_ATOM>& atoms, TexAtom start)
{
    int prev = -1;
    for (size_t i = 0; i < atoms.size(); ++i) {
        if (atoms[i].m_bSpace)
            continue;
        LAID_ATOM& atom = atoms[i];
        TexAtom before = prev >= 0 ? atoms[static_cast<size_t>(prev)].m_rightAtom : start;
        if (atom.m_atom == TexAtom::Bin && (before == TexAtom::Bin || before == TexAtom::Op || before == TexAtom::Rel ||
                                            before == TexAtom::Open || before == TexAtom::Punct))
            atom.m_atom = atom.m_rightAtom = TexAtom::Ord;
        if ((atom.m_atom == TexAtom::Rel || atom.m_atom == TexAtom::Close || atom.m_atom == TexAtom::Punct) &&
            prev >= 0 && atoms[static_cast<size_t>(prev)].m_atom == TexAtom::Bin)
            atoms[static_cast<size_t>(prev)].m_atom = atoms[static_cast<size_t>(prev)].m_rightAtom = TexAtom::Ord;
        prev = static_cast<int>(i);
    }
    if (prev >= 0 && atoms[static_cast<size_t>(prev)].m_atom == TexAtom::Bin)
        atoms[static_cast<size_t>(prev)].m_atom = atoms[static_cast<size_t>(prev)].m_rightAtom = TexAtom::Ord;
}

// The atoms of one line, laid out in turn; style and size commands change
// what follows them.
std::vector<LAID_ATOM> LayoutAtoms(const TexList& list, size_t begin, size_t end, LAYOUT_CTX& ctx)
{
    std::vector<LAID_ATOM> atoms;
    atoms.reserve(end - begin);
    for (size_t i = begin; i < end; ++i) {
        const TexNode& node = list[i];
        switch (node.kind()) {
        case TexNodeKind::Style:
            ctx.m_nStyle = node.as<TEX_STYLE_CHANGE>()->m_style;
            ctx.m_bCramped = false;
            ctx.m_bRoot = false;
            continue;
        case TexNodeKind::Size:
            ctx.m_dBase = node.as<TEX_SIZE>()->m_dPixels;
            if (ctx.m_bRoot)
                ctx.m_nStyle = ctx.m_dBase >= mg_dDisplayFromSize ? TEX_STYLE_DISPLAY : TEX_STYLE_TEXT;
            continue;
        case TexNodeKind::Newline:
            continue;
        case TexNodeKind::Space: {
            const TEX_SPACE& space = *node.as<TEX_SPACE>();
            LAID_ATOM laid;
            laid.m_box = KernBox(DimenPixels(ctx.display() ? space.m_width : space.m_inlineWidth, ctx));
            laid.m_bSpace = true;
            if (node.m_bHasSup || node.m_bHasSub)
                laid.m_box = AttachScripts(laid.m_box, node, ctx, false, false);
            atoms.push_back(std::move(laid));
            continue;
        }
        default:
            atoms.push_back(LayoutAtom(node, ctx));
            break;
        }
        // Only a size command ahead of everything else picks the formula's style.
        ctx.m_bRoot = false;
    }
    return atoms;
}

TEX_BOX LayoutLine(const TexList& list, size_t begin, size_t end, LAYOUT_CTX& ctx, TexAtom start)
{
    std::vector<LAID_ATOM> atoms = LayoutAtoms(list, begin, end, ctx);
    DemoteBinaries(atoms, start);
    if (atoms.size() == 1 && !atoms[0].m_bSpace && start != TexAtom::Ord)
        return std::move(atoms[0].m_box);

    TEX_BOX line;
    double x = 0;
    int prev = -1;
    bool spaced = false;  // an explicit space since the previous atom
    for (size_t i = 0; i < atoms.size(); ++i) {
        LAID_ATOM& a = atoms[i];
        if (a.m_bSpace) {
            spaced = true;
        } else {
            LAYOUT_CTX at = ctx;
            at.m_nStyle = a.m_nStyle;
            if (prev >= 0) {
                // Brackets set apart from what precedes them ("v\hspace{1}(m/s)",
                // a symbol and its unit) are no function argument: they keep
                // TeX's space before an inner group.
                TexAtom left = spaced && a.m_bBrackets ? TexAtom::Inner : a.m_atom;
                x += AtomSpacing(atoms[static_cast<size_t>(prev)].m_rightAtom, left, a.m_nStyle, at.size());
            } else if (start == TexAtom::Ord) {
                x += AtomSpacing(TexAtom::Ord, a.m_atom, a.m_nStyle, at.size());
            }
            prev = static_cast<int>(i);
            spaced = false;
        }
        line.place(a.m_box, x, 0);
        line.m_dHeight = std::max(line.m_dHeight, a.m_box.m_dHeight);
        line.m_dDepth = std::max(line.m_dDepth, a.m_box.m_dDepth);
        x += a.m_box.m_dWidth;
    }
    line.m_dWidth = x;
    if (prev >= 0 && static_cast<size_t>(prev) == atoms.size() - 1)
        line.m_dItalic = atoms.back().m_box.m_dItalic;
    return line;
}

bool IsBlankLine(const TexList& list, size_t begin, size_t end)
{
    for (size_t i = begin; i < end; ++i) {
        if (list[i].kind() != TexNodeKind::Style && list[i].kind() != TexNodeKind::Size)
            return false;
    }
    return true;
}

struct LINE_SPAN {
    size_t m_nBegin;
    size_t m_nEnd;
    TEX_DIMEN m_extra;  // \\[len] after the line
};

}  // namespace

TEX_BOX LayoutList(const TexList& list, LAYOUT_CTX ctx, bool bAfterOpen, bool bLeadingOrd)
{
    TexAtom start = bLeadingOrd ? TexAtom::Ord : bAfterOpen ? TexAtom::Open : TexAtom::Rel;
    std::vector<LINE_SPAN> lines;
    size_t first = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (const TEX_NEWLINE* newline = list[i].as<TEX_NEWLINE>()) {
            lines.push_back({first, i, newline->m_extra});
            first = i + 1;
        }
    }
    lines.push_back({first, list.size(), TEX_DIMEN()});
    if (lines.size() == 1)
        return LayoutLine(list, 0, list.size(), ctx, start);
    // "...\\" at the end opens no further line.
    if (IsBlankLine(list, lines.back().m_nBegin, lines.back().m_nEnd))
        lines.pop_back();

    TEX_BOX stack;
    double y = 0;
    double prevDepth = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        TEX_BOX line = LayoutLine(list, lines[i].m_nBegin, lines[i].m_nEnd, ctx, TexAtom::Rel);
        if (i == 0) {
            stack.m_dHeight = line.m_dHeight;
        } else {
            // \baselineskip 1.2em, or \lineskip 0.1em between lines that would touch.
            double em = ctx.size();
            y -= std::max(1.2 * em, prevDepth + line.m_dHeight + 0.1 * em) + DimenPixels(lines[i - 1].m_extra, ctx);
        }
        stack.place(line, 0, y);
        stack.m_dWidth = std::max(stack.m_dWidth, line.m_dWidth);
        stack.m_dDepth = std::max(stack.m_dDepth, line.m_dDepth - y);
        stack.m_dHeight = std::max(stack.m_dHeight, line.m_dHeight + y);
        prevDepth = line.m_dDepth;
    }
    return stack;
}

// 13a: limits centred above and below, at the MATH table's gaps and at least a visible row apart.
TEX_BOX AttachLimits(const TEX_BOX& nucleus, const TexList* upperList, const TexList* lowerList, const LAYOUT_CTX& ctx)
{
    TEX_BOX upper = upperList ? LayoutList(*upperList, SupStyle(ctx)) : TEX_BOX();
    TEX_BOX lower = lowerList ? LayoutList(*lowerList, SubStyle(ctx)) : TEX_BOX();
    double italic = nucleus.m_dItalic;
    double width = std::max({nucleus.m_dWidth, upper.m_dWidth + italic / 2, lower.m_dWidth + italic / 2});
    double upperGap = std::max(ctx.k(HB_OT_MATH_CONSTANT_UPPER_LIMIT_GAP_MIN), TEX_MIN_GAP_PX);
    double lowerGap = std::max(ctx.k(HB_OT_MATH_CONSTANT_LOWER_LIMIT_GAP_MIN), TEX_MIN_GAP_PX);
    double upperShift = nucleus.m_dHeight + std::max(upperGap + upper.m_dDepth,
                                                     ctx.k(HB_OT_MATH_CONSTANT_UPPER_LIMIT_BASELINE_RISE_MIN));
    double lowerShift = nucleus.m_dDepth + std::max(lowerGap + lower.m_dHeight,
                                                    ctx.k(HB_OT_MATH_CONSTANT_LOWER_LIMIT_BASELINE_DROP_MIN));
    TEX_BOX result;
    result.m_dWidth = width;
    result.m_dHeight = nucleus.m_dHeight;
    result.m_dDepth = nucleus.m_dDepth;
    result.place(nucleus, (width - nucleus.m_dWidth) / 2, 0);
    if (upperList) {
        result.place(upper, (width - upper.m_dWidth + italic) / 2, upperShift);
        result.m_dHeight = upperShift + upper.m_dHeight;
    }
    if (lowerList) {
        result.place(lower, (width - lower.m_dWidth - italic) / 2, -lowerShift);
        result.m_dDepth = lowerShift + lower.m_dDepth;
    }
    return result;
}

void TEX_BOX::place(const TEX_BOX& other, double dx, double dy)
{
    for (const TEX_ITEM& item : other.m_vecItems) {
        TEX_ITEM moved = item;
        moved.m_dX += dx;
        moved.m_dY += dy;
        m_vecItems.push_back(moved);
    }
}

TEX_BOX LayoutTex(const TexList& list)
{
    LAYOUT_CTX ctx;
    ctx.m_bRoot = true;
    return LayoutList(list, ctx);
}

double TexNormalSize()
{
    return TEX_NORMAL_SIZE_PX;
}

}  // namespace tex
