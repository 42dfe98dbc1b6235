#include "tex/TexLayout.h"

#include <algorithm>
#include <cmath>

#include "tex/MathFont.h"

namespace tex {
namespace {

enum : int { STYLE_D = 0, STYLE_T = 1, STYLE_S = 2, STYLE_SS = 3 };

constexpr double mg_dNormalSize = 15;
// \large and larger set the formula as a displayed one.
constexpr double mg_dDisplayFromSize = 18;
// Scripts below these sizes turn into unreadable specks in one bit per pixel.
constexpr double mg_dMinScriptPx = 9;
constexpr double mg_dMinScriptScriptPx = 7.5;
// Thinnest gap that still shows as a blank row between two inked parts.
constexpr double mg_dMinGapPx = 1.5;

struct LAYOUT_CTX {
    int m_nStyle = STYLE_T;
    bool m_bCramped = false;
    bool m_bRoot = false;
    double m_dBase = mg_dNormalSize;

    double size() const
    {
        const MathFont& f = MathFont::instance();
        if (m_nStyle == STYLE_S) {
            double px = m_dBase * f.constant(HB_OT_MATH_CONSTANT_SCRIPT_PERCENT_SCALE_DOWN) / 100.0;
            return std::max(px, std::min(m_dBase, mg_dMinScriptPx));
        }
        if (m_nStyle == STYLE_SS) {
            double px = m_dBase * f.constant(HB_OT_MATH_CONSTANT_SCRIPT_SCRIPT_PERCENT_SCALE_DOWN) / 100.0;
            return std::max(px, std::min(m_dBase, mg_dMinScriptScriptPx));
        }
        return m_dBase;
    }
    int level() const { return m_nStyle >= STYLE_S ? m_nStyle - 1 : 0; }
    bool display() const { return m_nStyle == STYLE_D; }
    double k(hb_ot_math_constant_t which) const { return MathFont::instance().constant(which) * size(); }
};

LAYOUT_CTX Child(const LAYOUT_CTX& ctx)
{
    LAYOUT_CTX c = ctx;
    c.m_bRoot = false;
    return c;
}

LAYOUT_CTX Cramped(const LAYOUT_CTX& ctx)
{
    LAYOUT_CTX c = Child(ctx);
    c.m_bCramped = true;
    return c;
}

LAYOUT_CTX SupStyle(const LAYOUT_CTX& ctx)
{
    LAYOUT_CTX c = Child(ctx);
    c.m_nStyle = ctx.m_nStyle <= STYLE_T ? STYLE_S : STYLE_SS;
    return c;
}

LAYOUT_CTX SubStyle(const LAYOUT_CTX& ctx)
{
    LAYOUT_CTX c = SupStyle(ctx);
    c.m_bCramped = true;
    return c;
}

LAYOUT_CTX NumStyle(const LAYOUT_CTX& ctx)
{
    LAYOUT_CTX c = Child(ctx);
    c.m_nStyle = std::min(ctx.m_nStyle + 1, static_cast<int>(STYLE_SS));
    return c;
}

LAYOUT_CTX DenStyle(const LAYOUT_CTX& ctx)
{
    LAYOUT_CTX c = NumStyle(ctx);
    c.m_bCramped = true;
    return c;
}

struct LAID_ATOM {
    TEX_BOX m_box;
    TexAtom m_atom = TexAtom::Ord;       // class towards the left neighbour
    TexAtom m_rightAtom = TexAtom::Ord;  // class towards the right neighbour
    bool m_bSpace = false;
    bool m_bBrackets = false;  // a \left ... \right group
    int m_nStyle = STYLE_T;
};

TEX_BOX LayoutList(const TexList& list, LAYOUT_CTX ctx, bool bAfterOpen = false);

TEX_BOX GlyphBox(TexFontId font, uint32_t glyph, double size)
{
    const MathFont& f = MathFont::instance();
    TEX_BOX box;
    GLYPH_EXTENTS e = f.extents(font, glyph);
    box.m_dWidth = f.advance(font, glyph) * size;
    box.m_dHeight = std::max(0.0, e.m_dTop * size);
    box.m_dDepth = std::max(0.0, -e.m_dBottom * size);
    if (font == TEXFONT_MATH) {
        box.m_dItalic = f.italicCorrection(glyph) * size;
        box.m_nGlyph = glyph;
        box.m_dAccentX = f.topAccentAttachment(glyph) * size;
    }
    TEX_ITEM item;
    item.m_kind = TEX_ITEM::GLYPH;
    item.m_nFont = font;
    item.m_nGlyph = glyph;
    item.m_dSize = size;
    box.m_vecItems.push_back(item);
    return box;
}

TEX_BOX KernBox(double width)
{
    TEX_BOX box;
    box.m_dWidth = width;
    return box;
}

// Box of one code point of the math font, in its script form at script sizes.
// Characters the math font lacks come from the text font; missing everywhere, nothing.
TEX_BOX CharBox(uint32_t cp, const LAYOUT_CTX& ctx)
{
    MathFont& f = MathFont::instance();
    if (uint32_t glyph = f.glyphIndex(TEXFONT_MATH, cp))
        return GlyphBox(TEXFONT_MATH, f.scriptGlyph(glyph, ctx.level()), ctx.size());
    if (uint32_t glyph = f.glyphIndex(TEXFONT_ROMAN, cp))
        return GlyphBox(TEXFONT_ROMAN, glyph, ctx.size());
    return TEX_BOX();
}

TEX_BOX TextBox(TexFontId font, std::string_view text, double size)
{
    const MathFont& f = MathFont::instance();
    std::vector<SHAPED_GLYPH> glyphs;
    f.shape(font, text, glyphs);
    TEX_BOX box;
    double x = 0;
    for (const SHAPED_GLYPH& g : glyphs) {
        GLYPH_EXTENTS e = f.extents(font, g.m_nGlyph);
        double y = g.m_dOffsetY * size;
        TEX_ITEM item;
        item.m_kind = TEX_ITEM::GLYPH;
        item.m_nFont = font;
        item.m_nGlyph = g.m_nGlyph;
        item.m_dSize = size;
        item.m_dX = x + g.m_dOffsetX * size;
        item.m_dY = y;
        box.m_vecItems.push_back(item);
        if (e.m_dTop > e.m_dBottom) {
            box.m_dHeight = std::max(box.m_dHeight, y + e.m_dTop * size);
            box.m_dDepth = std::max(box.m_dDepth, -(y + e.m_dBottom * size));
        }
        x += g.m_dAdvance * size;
    }
    box.m_dWidth = x;
    return box;
}

// Moves a box up by shift (its contents and its height and depth).
TEX_BOX Raised(const TEX_BOX& box, double shift)
{
    TEX_BOX out;
    out.m_dWidth = box.m_dWidth;
    out.m_dHeight = box.m_dHeight + shift;
    out.m_dDepth = box.m_dDepth - shift;
    out.m_dItalic = box.m_dItalic;
    out.place(box, 0, shift);
    return out;
}

TEX_BOX CenteredOnAxis(const TEX_BOX& box, const LAYOUT_CTX& ctx)
{
    double axis = ctx.k(HB_OT_MATH_CONSTANT_AXIS_HEIGHT);
    return Raised(box, axis - (box.m_dHeight - box.m_dDepth) / 2);
}

// A glyph grown to at least target pixels by the font's glyph assembly:
// vertical pieces stand on the baseline (bottom at 0), horizontal ones start at x = 0.
TEX_BOX AssemblyBox(const std::vector<GLYPH_PART>& parts, double target, double size, bool bVertical)
{
    const MathFont& f = MathFont::instance();
    double minOverlap = f.minConnectorOverlap(bVertical) * size;
    bool hasExtender = std::any_of(parts.begin(), parts.end(), [](const GLYPH_PART& p) { return p.m_bExtender; });
    std::vector<const GLYPH_PART*> pieces;
    for (int repeat = hasExtender ? 1 : 0; repeat <= 256; ++repeat) {
        pieces.clear();
        double sum = 0;
        for (const GLYPH_PART& p : parts) {
            int times = p.m_bExtender ? repeat : 1;
            for (int i = 0; i < times; ++i) {
                pieces.push_back(&p);
                sum += p.m_dFullAdvance * size;
            }
        }
        double longest = sum - minOverlap * (pieces.size() > 0 ? pieces.size() - 1 : 0);
        if (longest >= target || !hasExtender)
            break;
    }
    TEX_BOX box;
    if (pieces.empty())
        return box;
    double sum = 0;
    for (const GLYPH_PART* p : pieces)
        sum += p->m_dFullAdvance * size;
    size_t joints = pieces.size() - 1;
    double overlap = joints ? std::max(minOverlap, (sum - target) / static_cast<double>(joints)) : 0;
    double cursor = 0;
    for (size_t i = 0; i < pieces.size(); ++i) {
        const GLYPH_PART& p = *pieces[i];
        TEX_ITEM item;
        item.m_kind = TEX_ITEM::GLYPH;
        item.m_nFont = TEXFONT_MATH;
        item.m_nGlyph = p.m_nGlyph;
        item.m_dSize = size;
        item.m_dX = bVertical ? 0 : cursor;
        item.m_dY = bVertical ? cursor : 0;
        box.m_vecItems.push_back(item);
        GLYPH_EXTENTS e = f.extents(TEXFONT_MATH, p.m_nGlyph);
        if (bVertical) {
            box.m_dWidth = std::max(box.m_dWidth, f.advance(TEXFONT_MATH, p.m_nGlyph) * size);
        } else {
            box.m_dHeight = std::max(box.m_dHeight, e.m_dTop * size);
            box.m_dDepth = std::max(box.m_dDepth, -e.m_dBottom * size);
        }
        if (i + 1 < pieces.size()) {
            double maxOverlap = std::min(p.m_dEndConnector, pieces[i + 1]->m_dStartConnector) * size;
            cursor += p.m_dFullAdvance * size - std::clamp(overlap, std::min(minOverlap, maxOverlap), std::max(minOverlap, maxOverlap));
        } else {
            cursor += p.m_dFullAdvance * size;
        }
    }
    if (bVertical)
        box.m_dHeight = cursor;
    else
        box.m_dWidth = cursor;
    return box;
}

// The smallest form of a glyph that covers target pixels (ink height when
// vertical, ink width when horizontal); built from pieces when no form is big enough.
TEX_BOX StretchedGlyph(uint32_t glyph, double target, double size, bool bVertical)
{
    const MathFont& f = MathFont::instance();
    std::vector<GLYPH_VARIANT> variants = f.variants(glyph, bVertical);
    if (variants.empty())
        variants.push_back({glyph, 0});
    for (const GLYPH_VARIANT& v : variants) {
        GLYPH_EXTENTS e = f.extents(TEXFONT_MATH, v.m_nGlyph);
        double extent = bVertical ? (e.m_dTop - e.m_dBottom) : (e.m_dRight - e.m_dLeft);
        if (extent * size >= target)
            return GlyphBox(TEXFONT_MATH, v.m_nGlyph, size);
    }
    std::vector<GLYPH_PART> parts = f.assembly(glyph, bVertical);
    if (!parts.empty())
        return AssemblyBox(parts, target, size, bVertical);
    return GlyphBox(TEXFONT_MATH, variants.back().m_nGlyph, size);
}

// A delimiter at least target pixels tall, centred on the math axis; an
// empty delimiter ('.') is the null delimiter space.
TEX_BOX DelimiterBox(uint32_t cp, double target, const LAYOUT_CTX& ctx)
{
    double size = ctx.size();
    uint32_t glyph = cp ? MathFont::instance().glyphIndex(TEXFONT_MATH, cp) : 0;
    if (!glyph)
        return KernBox(0.12 * size);
    TEX_BOX box = StretchedGlyph(glyph, target, size, true);
    box.m_nGlyph = 0;
    box.m_dItalic = 0;
    return CenteredOnAxis(box, ctx);
}

double SpaceAmount(const TexNode& node, const LAYOUT_CTX& ctx)
{
    double em = ctx.size();
    switch (node.m_nUnit) {
    case UNIT_EM: return node.m_dAmount * em;
    case UNIT_MU: return node.m_dAmount * em / 18.0;
    case UNIT_PT: return node.m_dAmount * em / 10.0;
    case UNIT_EX: return node.m_dAmount * em * 0.431;
    default: return node.m_dAmount;  // pixels
    }
}

// TeX's spacing between neighbouring atoms in mu: 1 thin, 2 medium, 3 thick;
// negative entries apply only in display and text style.
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
        if (style >= STYLE_S)
            return 0;
        entry = -entry;
    }
    static constexpr double mu[] = {0, 3, 4, 5};
    return mu[entry] * size / 18.0;
}

TEX_BOX AttachScripts(const TEX_BOX& nucleus, const TexNode& node, const LAYOUT_CTX& ctx, bool bGlyph,
                      bool bLargeOp = false)
{
    TEX_BOX result;
    result.place(nucleus, 0, 0);
    result.m_dHeight = nucleus.m_dHeight;
    result.m_dDepth = nucleus.m_dDepth;
    double x = nucleus.m_dWidth;
    double italic = nucleus.m_dItalic;

    // Primes are drawn raised already: they follow the nucleus at its own size.
    size_t primes = 0;
    while (primes < node.m_listSup.size() && node.m_listSup[primes].m_kind == TexNodeKind::Char &&
           node.m_listSup[primes].m_nCodepoint == 0x2032 && !node.m_listSup[primes].m_bHasSup &&
           !node.m_listSup[primes].m_bHasSub)
        ++primes;
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

    LAYOUT_CTX supCtx = SupStyle(ctx);
    LAYOUT_CTX subCtx = SubStyle(ctx);
    TEX_BOX sup = hasSup ? LayoutList(restSup, supCtx) : TEX_BOX();
    TEX_BOX sub = hasSub ? LayoutList(node.m_listSub, subCtx) : TEX_BOX();

    double u = bGlyph && primes == 0 ? 0 : nucleus.m_dHeight - ctx.k(HB_OT_MATH_CONSTANT_SUPERSCRIPT_BASELINE_DROP_MAX);
    double v = bGlyph && primes == 0 ? 0 : nucleus.m_dDepth + ctx.k(HB_OT_MATH_CONSTANT_SUBSCRIPT_BASELINE_DROP_MIN);
    if (hasSup) {
        double shift = ctx.k(ctx.m_bCramped ? HB_OT_MATH_CONSTANT_SUPERSCRIPT_SHIFT_UP_CRAMPED
                                             : HB_OT_MATH_CONSTANT_SUPERSCRIPT_SHIFT_UP);
        u = std::max({u, shift, sup.m_dDepth + ctx.k(HB_OT_MATH_CONSTANT_SUPERSCRIPT_BOTTOM_MIN)});
    }
    if (hasSub && !hasSup) {
        v = std::max({v, ctx.k(HB_OT_MATH_CONSTANT_SUBSCRIPT_SHIFT_DOWN),
                      sub.m_dHeight - ctx.k(HB_OT_MATH_CONSTANT_SUBSCRIPT_TOP_MAX)});
    }
    if (hasSub && hasSup) {
        v = std::max(v, ctx.k(HB_OT_MATH_CONSTANT_SUBSCRIPT_SHIFT_DOWN));
        double gapMin = std::max(ctx.k(HB_OT_MATH_CONSTANT_SUB_SUPERSCRIPT_GAP_MIN), mg_dMinGapPx);
        double gap = (u - sup.m_dDepth) - (sub.m_dHeight - v);
        if (gap < gapMin)
            v += gapMin - gap;
        double psi = ctx.k(HB_OT_MATH_CONSTANT_SUPERSCRIPT_BOTTOM_MAX_WITH_SUBSCRIPT) - (u - sup.m_dDepth);
        if (psi > 0) {
            u += psi;
            v -= psi;
        }
    }
    // A letter's italic correction pushes its superscript right; a big
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

// Limits centred above and below a nucleus (\sum in display style, \lim, \overset).
TEX_BOX AttachLimits(const TEX_BOX& nucleus, const TexList* upperList, const TexList* lowerList,
                     const LAYOUT_CTX& ctx)
{
    TEX_BOX upper = upperList ? LayoutList(*upperList, SupStyle(ctx)) : TEX_BOX();
    TEX_BOX lower = lowerList ? LayoutList(*lowerList, SubStyle(ctx)) : TEX_BOX();
    double italic = nucleus.m_dItalic;
    double width = std::max({nucleus.m_dWidth, upper.m_dWidth + italic / 2, lower.m_dWidth + italic / 2});
    double upperShift = nucleus.m_dHeight +
                        std::max(std::max(ctx.k(HB_OT_MATH_CONSTANT_UPPER_LIMIT_GAP_MIN), mg_dMinGapPx) + upper.m_dDepth,
                                 ctx.k(HB_OT_MATH_CONSTANT_UPPER_LIMIT_BASELINE_RISE_MIN));
    double lowerShift = nucleus.m_dDepth +
                        std::max(std::max(ctx.k(HB_OT_MATH_CONSTANT_LOWER_LIMIT_GAP_MIN), mg_dMinGapPx) + lower.m_dHeight,
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

double RuleThickness(double units, double size)
{
    return std::max(1.0, units * size);
}

void AddRule(TEX_BOX& box, double x, double y, double width, double height)
{
    TEX_ITEM item;
    item.m_kind = TEX_ITEM::RULE;
    item.m_dX = x;
    item.m_dY = y;
    item.m_dWidth = width;
    item.m_dHeight = height;
    box.m_vecItems.push_back(item);
}

TEX_BOX LayoutFraction(const TexNode& node, const LAYOUT_CTX& ctx)
{
    const MathFont& f = MathFont::instance();
    LAYOUT_CTX fctx = Child(ctx);
    if (node.m_nStyle != 0xFF) {
        fctx.m_nStyle = node.m_nStyle;
        fctx.m_bCramped = false;
    }
    TEX_BOX num = LayoutList(node.m_listBody, NumStyle(fctx));
    TEX_BOX den = LayoutList(node.m_listAux, DenStyle(fctx));
    double em = fctx.size();
    double axis = fctx.k(HB_OT_MATH_CONSTANT_AXIS_HEIGHT);
    bool display = fctx.display();
    double u = 0;
    double v = 0;
    double rule = 0;
    if (node.m_nVariant == 0) {
        rule = RuleThickness(f.constant(HB_OT_MATH_CONSTANT_FRACTION_RULE_THICKNESS), em);
        u = fctx.k(display ? HB_OT_MATH_CONSTANT_FRACTION_NUMERATOR_DISPLAY_STYLE_SHIFT_UP
                           : HB_OT_MATH_CONSTANT_FRACTION_NUMERATOR_SHIFT_UP);
        v = fctx.k(display ? HB_OT_MATH_CONSTANT_FRACTION_DENOMINATOR_DISPLAY_STYLE_SHIFT_DOWN
                           : HB_OT_MATH_CONSTANT_FRACTION_DENOMINATOR_SHIFT_DOWN);
        double gapNum = std::max(mg_dMinGapPx, fctx.k(display ? HB_OT_MATH_CONSTANT_FRACTION_NUM_DISPLAY_STYLE_GAP_MIN
                                                              : HB_OT_MATH_CONSTANT_FRACTION_NUMERATOR_GAP_MIN));
        double gapDen = std::max(mg_dMinGapPx, fctx.k(display ? HB_OT_MATH_CONSTANT_FRACTION_DENOM_DISPLAY_STYLE_GAP_MIN
                                                              : HB_OT_MATH_CONSTANT_FRACTION_DENOMINATOR_GAP_MIN));
        u = std::max(u, axis + rule / 2 + gapNum + num.m_dDepth);
        v = std::max(v, den.m_dHeight + gapDen + rule / 2 - axis);
    } else {
        u = fctx.k(display ? HB_OT_MATH_CONSTANT_STACK_TOP_DISPLAY_STYLE_SHIFT_UP
                           : HB_OT_MATH_CONSTANT_STACK_TOP_SHIFT_UP);
        v = fctx.k(display ? HB_OT_MATH_CONSTANT_STACK_BOTTOM_DISPLAY_STYLE_SHIFT_DOWN
                           : HB_OT_MATH_CONSTANT_STACK_BOTTOM_SHIFT_DOWN);
        double gapMin = fctx.k(display ? HB_OT_MATH_CONSTANT_STACK_DISPLAY_STYLE_GAP_MIN
                                       : HB_OT_MATH_CONSTANT_STACK_GAP_MIN);
        double gap = (u - num.m_dDepth) - (den.m_dHeight - v);
        if (gap < gapMin) {
            u += (gapMin - gap) / 2;
            v += (gapMin - gap) / 2;
        }
    }
    double inner = std::max(num.m_dWidth, den.m_dWidth);
    double pad = 0.12 * em;
    TEX_BOX box;
    box.m_dWidth = inner + 2 * pad;
    box.m_dHeight = u + num.m_dHeight;
    box.m_dDepth = v + den.m_dDepth;
    box.place(num, pad + (inner - num.m_dWidth) / 2, u);
    box.place(den, pad + (inner - den.m_dWidth) / 2, -v);
    if (rule > 0)
        AddRule(box, pad, axis - rule / 2, inner, rule);
    return box;
}

TEX_BOX LayoutRadical(const TexNode& node, const LAYOUT_CTX& ctx)
{
    MathFont& f = MathFont::instance();
    TEX_BOX body = LayoutList(node.m_listBody, Cramped(ctx));
    double em = ctx.size();
    double gap = std::max(mg_dMinGapPx, ctx.k(ctx.display() ? HB_OT_MATH_CONSTANT_RADICAL_DISPLAY_STYLE_VERTICAL_GAP
                                                             : HB_OT_MATH_CONSTANT_RADICAL_VERTICAL_GAP));
    double rule = RuleThickness(f.constant(HB_OT_MATH_CONSTANT_RADICAL_RULE_THICKNESS), em);
    double extra = ctx.k(HB_OT_MATH_CONSTANT_RADICAL_EXTRA_ASCENDER);
    double target = body.m_dHeight + body.m_dDepth + gap + rule;
    uint32_t glyph = f.glyphIndex(TEXFONT_MATH, 0x221A);
    TEX_BOX sign = glyph ? StretchedGlyph(glyph, target, em, true) : KernBox(0.8 * em);
    double total = sign.m_dHeight + sign.m_dDepth;
    if (total > target)
        gap += (total - target) / 2;
    // The sign's top is the top of the bar over the radicand.
    double shift = body.m_dHeight + gap + rule - sign.m_dHeight;

    TEX_BOX degree;
    double x0 = 0;
    double degreeX = 0;
    bool hasDegree = !node.m_listAux.empty();
    if (hasDegree) {
        LAYOUT_CTX degCtx = Child(ctx);
        degCtx.m_nStyle = STYLE_SS;
        degree = LayoutList(node.m_listAux, degCtx);
        double before = ctx.k(HB_OT_MATH_CONSTANT_RADICAL_KERN_BEFORE_DEGREE);
        double after = ctx.k(HB_OT_MATH_CONSTANT_RADICAL_KERN_AFTER_DEGREE);
        degreeX = before;
        x0 = before + degree.m_dWidth + after;
        if (x0 < 0) {
            degreeX -= x0;
            x0 = 0;
        }
    }
    TEX_BOX box;
    box.place(sign, x0, shift);
    double barX = x0 + sign.m_dWidth;
    box.place(body, barX, 0);
    AddRule(box, barX, body.m_dHeight + gap, body.m_dWidth, rule);
    box.m_dWidth = barX + body.m_dWidth;
    box.m_dHeight = body.m_dHeight + gap + rule + extra;
    box.m_dDepth = std::max(body.m_dDepth, sign.m_dDepth - shift);
    if (hasDegree) {
        double bottom = shift - sign.m_dDepth;
        double raise = bottom + total * f.constant(HB_OT_MATH_CONSTANT_RADICAL_DEGREE_BOTTOM_RAISE_PERCENT) / 100.0;
        box.place(degree, degreeX, raise);
        box.m_dHeight = std::max(box.m_dHeight, raise + degree.m_dHeight);
    }
    return box;
}

TEX_BOX LayoutLeftRight(const TexNode& node, const LAYOUT_CTX& ctx)
{
    TEX_BOX body = LayoutList(node.m_listBody, Child(ctx), true);
    double em = ctx.size();
    double axis = ctx.k(HB_OT_MATH_CONSTANT_AXIS_HEIGHT);
    double delta = std::max(body.m_dHeight - axis, body.m_dDepth + axis);
    double target = std::max(2 * delta * 0.901, 2 * delta - 0.5 * em);
    TEX_BOX left = DelimiterBox(node.m_nLeft, target, ctx);
    TEX_BOX right = DelimiterBox(node.m_nRight, target, ctx);
    TEX_BOX box;
    box.place(left, 0, 0);
    box.place(body, left.m_dWidth, 0);
    box.place(right, left.m_dWidth + body.m_dWidth, 0);
    box.m_dWidth = left.m_dWidth + body.m_dWidth + right.m_dWidth;
    box.m_dHeight = std::max({left.m_dHeight, body.m_dHeight, right.m_dHeight});
    box.m_dDepth = std::max({left.m_dDepth, body.m_dDepth, right.m_dDepth});
    return box;
}

bool IsCombiningMark(uint32_t cp)
{
    return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x20D0 && cp <= 0x20FF);
}

TEX_BOX LayoutAccent(const TexNode& node, const LAYOUT_CTX& ctx)
{
    MathFont& f = MathFont::instance();
    TEX_BOX base = LayoutList(node.m_listBody, Cramped(ctx));
    double em = ctx.size();
    uint32_t glyph = f.glyphIndex(TEXFONT_MATH, node.m_nCodepoint);
    if (!glyph)
        return base;
    TEX_BOX result;
    result.place(base, 0, 0);
    result.m_dWidth = base.m_dWidth;
    result.m_dHeight = base.m_dHeight;
    result.m_dDepth = base.m_dDepth;
    result.m_dItalic = base.m_dItalic;

    if (IsCombiningMark(node.m_nCodepoint)) {
        uint32_t accent = glyph;
        if (node.m_nVariant == 1) {
            // Wide accents take the first form at least as wide as the base.
            for (const GLYPH_VARIANT& v : f.variants(glyph, false)) {
                accent = v.m_nGlyph;
                if (v.m_dAdvance * em >= base.m_dWidth * 0.9)
                    break;
            }
        }
        GLYPH_EXTENTS e = f.extents(TEXFONT_MATH, accent);
        double attach = f.advance(TEXFONT_MATH, accent) == 0 ? (e.m_dLeft + e.m_dRight) / 2 * em
                                                             : f.topAccentAttachment(accent) * em;
        double baseAttach = base.m_nGlyph ? base.m_dAccentX : base.m_dWidth / 2;
        double raise = std::max(0.0, base.m_dHeight - ctx.k(HB_OT_MATH_CONSTANT_ACCENT_BASE_HEIGHT));
        // Keep a blank row between a tall base and its accent.
        double bottom = raise + e.m_dBottom * em;
        if (bottom < base.m_dHeight + 1.0 && base.m_dHeight > ctx.k(HB_OT_MATH_CONSTANT_ACCENT_BASE_HEIGHT))
            raise += base.m_dHeight + 1.0 - bottom;
        TEX_BOX mark = GlyphBox(TEXFONT_MATH, accent, em);
        result.place(mark, baseAttach - attach, raise);
        result.m_dHeight = std::max(base.m_dHeight, raise + e.m_dTop * em);
        return result;
    }
    // Arrows and braces stretch over the base, or under it for \underbrace.
    // Their ink may float well above or below their own baseline (braces
    // do), so they are placed by their ink.
    TEX_BOX over = StretchedGlyph(glyph, base.m_dWidth, em, false);
    double inkTop = -1e9;
    double inkBottom = 1e9;
    for (const TEX_ITEM& item : over.m_vecItems) {
        GLYPH_EXTENTS ge = f.extents(TEXFONT_MATH, item.m_nGlyph);
        inkTop = std::max(inkTop, item.m_dY + ge.m_dTop * item.m_dSize);
        inkBottom = std::min(inkBottom, item.m_dY + ge.m_dBottom * item.m_dSize);
    }
    if (over.m_vecItems.empty())
        return result;
    double gap = std::max(mg_dMinGapPx, ctx.k(HB_OT_MATH_CONSTANT_OVERBAR_VERTICAL_GAP));
    double x = (base.m_dWidth - over.m_dWidth) / 2;
    if (node.m_nVariant == 2) {
        double y = -(base.m_dDepth + gap) - inkTop;
        result.place(over, x, y);
        result.m_dDepth = std::max(result.m_dDepth, -(y + inkBottom));
    } else {
        double y = base.m_dHeight + gap - inkBottom;
        result.place(over, x, y);
        result.m_dHeight = std::max(result.m_dHeight, y + inkTop);
    }
    result.m_dWidth = std::max(base.m_dWidth, over.m_dWidth);
    return result;
}

TEX_BOX LayoutBar(const TexNode& node, const LAYOUT_CTX& ctx, bool bOver)
{
    const MathFont& f = MathFont::instance();
    TEX_BOX base = LayoutList(node.m_listBody, bOver ? Cramped(ctx) : Child(ctx));
    double em = ctx.size();
    TEX_BOX box;
    box.place(base, 0, 0);
    box.m_dWidth = base.m_dWidth;
    box.m_dHeight = base.m_dHeight;
    box.m_dDepth = base.m_dDepth;
    if (bOver) {
        double gap = std::max(mg_dMinGapPx, ctx.k(HB_OT_MATH_CONSTANT_OVERBAR_VERTICAL_GAP));
        double rule = RuleThickness(f.constant(HB_OT_MATH_CONSTANT_OVERBAR_RULE_THICKNESS), em);
        AddRule(box, 0, base.m_dHeight + gap, base.m_dWidth, rule);
        box.m_dHeight = base.m_dHeight + gap + rule + ctx.k(HB_OT_MATH_CONSTANT_OVERBAR_EXTRA_ASCENDER);
    } else {
        double gap = std::max(mg_dMinGapPx, ctx.k(HB_OT_MATH_CONSTANT_UNDERBAR_VERTICAL_GAP));
        double rule = RuleThickness(f.constant(HB_OT_MATH_CONSTANT_UNDERBAR_RULE_THICKNESS), em);
        AddRule(box, 0, -(base.m_dDepth + gap + rule), base.m_dWidth, rule);
        box.m_dDepth = base.m_dDepth + gap + rule + ctx.k(HB_OT_MATH_CONSTANT_UNDERBAR_EXTRA_DESCENDER);
    }
    return box;
}

TEX_BOX LayoutFbox(const TexNode& node, const LAYOUT_CTX& ctx)
{
    TEX_BOX inner = LayoutList(node.m_listBody, Child(ctx));
    double em = ctx.size();
    double rule = RuleThickness(0.04, em);
    double sep = std::round(0.3 * em);
    double pad = sep + rule;
    TEX_BOX box;
    box.m_dWidth = inner.m_dWidth + 2 * pad;
    box.m_dHeight = inner.m_dHeight + pad;
    box.m_dDepth = inner.m_dDepth + pad;
    box.place(inner, pad, 0);
    double total = box.m_dHeight + box.m_dDepth;
    AddRule(box, 0, -box.m_dDepth, rule, total);
    AddRule(box, box.m_dWidth - rule, -box.m_dDepth, rule, total);
    AddRule(box, 0, box.m_dHeight - rule, box.m_dWidth, rule);
    AddRule(box, 0, -box.m_dDepth, box.m_dWidth, rule);
    return box;
}

TEX_BOX LayoutArray(const TexNode& node, const LAYOUT_CTX& ctx)
{
    LAYOUT_CTX cellCtx = Child(ctx);
    if (node.m_nStyle != 0xFF) {
        cellCtx.m_nStyle = std::max(static_cast<int>(node.m_nStyle), ctx.m_nStyle == STYLE_D ? 0 : ctx.m_nStyle);
        cellCtx.m_bCramped = false;
    }
    double em = ctx.size();
    size_t columns = 0;
    for (const auto& row : node.m_vecRows)
        columns = std::max(columns, row.size());

    // Column alignments and vertical rules ('|') from the column template.
    std::vector<char> align;
    std::vector<int> rulesBefore(1, 0);
    if (node.m_nVariant == ARRAY_PLAIN || node.m_nVariant == ARRAY_CASES) {
        const std::string& spec = node.m_strText;
        for (size_t i = 0; i < spec.size(); ++i) {
            char c = spec[i];
            if (c == 'l' || c == 'c' || c == 'r') {
                align.push_back(c);
                rulesBefore.push_back(0);
            } else if (c == '|') {
                ++rulesBefore.back();
            } else if (c == 'p' || c == 'm' || c == 'b' || c == '@' || c == '*') {
                // p{width}, @{...}: the braced part is skipped, the column reads as left-aligned.
                if (c == 'p' || c == 'm' || c == 'b') {
                    align.push_back('l');
                    rulesBefore.push_back(0);
                }
                if (i + 1 < spec.size() && spec[i + 1] == '{') {
                    int depth = 0;
                    for (++i; i < spec.size(); ++i) {
                        if (spec[i] == '{')
                            ++depth;
                        else if (spec[i] == '}' && --depth == 0)
                            break;
                    }
                }
            }
        }
    }
    while (align.size() < columns) {
        char c = 'c';
        if (node.m_nVariant == ARRAY_ALIGNED)
            c = align.size() % 2 == 0 ? 'r' : 'l';
        else if (node.m_nVariant == ARRAY_CASES)
            c = 'l';
        align.push_back(c);
        rulesBefore.push_back(0);
    }
    columns = align.size();

    std::vector<std::vector<TEX_BOX>> cells;
    std::vector<double> colWidth(columns, 0);
    for (const auto& row : node.m_vecRows) {
        std::vector<TEX_BOX> laid;
        for (size_t c = 0; c < row.size(); ++c) {
            laid.push_back(LayoutList(row[c], cellCtx));
            colWidth[c] = std::max(colWidth[c], laid.back().m_dWidth);
        }
        cells.push_back(std::move(laid));
    }
    double colSep = node.m_nVariant == ARRAY_ALIGNED ? 0 : 1.0 * em;
    double outer = node.m_nVariant == ARRAY_PLAIN ? 0.5 * em : 0;
    double rule = RuleThickness(0.04, em);
    double stretch = node.m_nVariant == ARRAY_CASES ? 1.2 : 1.0;
    double strutHeight = 0.84 * em * stretch;
    double strutDepth = 0.36 * em * stretch;
    double rowExtra = node.m_nVariant == ARRAY_ALIGNED ? 0.3 * em : 0;

    std::vector<double> colX(columns, 0);
    // Edge rules sit at the very edge, with the outer column space inside them.
    double x = rulesBefore[0] * 2 * rule + outer;
    for (size_t c = 0; c < columns; ++c) {
        if (c > 0) {
            double sep = colSep;
            if (node.m_nVariant == ARRAY_ALIGNED && c % 2 == 0)
                sep = 2 * em;  // between aligned pairs
            x += sep + rulesBefore[c] * rule;
        }
        colX[c] = x;
        x += colWidth[c];
    }
    double width = x + outer + rulesBefore[columns] * 2 * rule;

    // Rows go down from the top edge at 0; \hline rules sit between them.
    TEX_BOX table;
    double cursor = 0;
    auto hlines = [&](size_t boundary) {
        int count = boundary < node.m_vecHlines.size() ? node.m_vecHlines[boundary] : 0;
        for (int k = 0; k < count; ++k) {
            if (k > 0)
                cursor -= rule;
            AddRule(table, 0, cursor - rule, width, rule);
            cursor -= rule;
        }
    };
    for (size_t r = 0; r < cells.size(); ++r) {
        hlines(r);
        double h = strutHeight;
        double d = strutDepth;
        for (const TEX_BOX& cell : cells[r]) {
            h = std::max(h, cell.m_dHeight);
            d = std::max(d, cell.m_dDepth);
        }
        double baseline = cursor - h - (r > 0 ? rowExtra : 0);
        for (size_t c = 0; c < cells[r].size(); ++c) {
            const TEX_BOX& cell = cells[r][c];
            double cx = colX[c];
            if (align[c] == 'c')
                cx += (colWidth[c] - cell.m_dWidth) / 2;
            else if (align[c] == 'r')
                cx += colWidth[c] - cell.m_dWidth;
            table.place(cell, cx, baseline);
        }
        cursor = baseline - d;
    }
    hlines(cells.size());
    double total = -cursor;
    // Vertical rules run over the full height of the table, midway between columns.
    for (size_t c = 0; c <= columns; ++c) {
        int count = rulesBefore[c];
        if (count == 0)
            continue;
        double span = count * rule + (count - 1) * rule;
        double centre = c == 0 ? span / 2
                        : c == columns ? width - span / 2
                                       : (colX[c - 1] + colWidth[c - 1] + colX[c]) / 2;
        for (int k = 0; k < count; ++k)
            AddRule(table, centre - span / 2 + k * 2 * rule, cursor, rule, total);
    }
    table.m_dWidth = width;
    table.m_dHeight = 0;
    table.m_dDepth = total;
    // The table is centred on the math axis.
    double axis = ctx.k(HB_OT_MATH_CONSTANT_AXIS_HEIGHT);
    TEX_BOX centred = Raised(table, axis - (table.m_dHeight - table.m_dDepth) / 2);
    if (node.m_nLeft == 0 && node.m_nRight == 0)
        return centred;

    double delta = std::max(centred.m_dHeight - axis, centred.m_dDepth + axis);
    double target = std::max(2 * delta * 0.901, 2 * delta - 0.5 * em);
    TEX_BOX left = DelimiterBox(node.m_nLeft, target, ctx);
    TEX_BOX right = DelimiterBox(node.m_nRight, target, ctx);
    double gap = node.m_nVariant == ARRAY_CASES ? 0.2 * em : 0.1 * em;
    TEX_BOX box;
    box.place(left, 0, 0);
    box.place(centred, left.m_dWidth + gap, 0);
    box.place(right, left.m_dWidth + 2 * gap + centred.m_dWidth, 0);
    box.m_dWidth = left.m_dWidth + 2 * gap + centred.m_dWidth + right.m_dWidth;
    box.m_dHeight = std::max({left.m_dHeight, centred.m_dHeight, right.m_dHeight});
    box.m_dDepth = std::max({left.m_dDepth, centred.m_dDepth, right.m_dDepth});
    return box;
}

TEX_BOX LayoutLargeOp(const TexNode& node, const LAYOUT_CTX& ctx)
{
    MathFont& f = MathFont::instance();
    uint32_t glyph = f.glyphIndex(TEXFONT_MATH, node.m_nCodepoint);
    if (!glyph)
        return CharBox(node.m_nCodepoint, ctx);
    double em = ctx.size();
    if (ctx.display()) {
        double minHeight = ctx.k(HB_OT_MATH_CONSTANT_DISPLAY_OPERATOR_MIN_HEIGHT);
        std::vector<GLYPH_VARIANT> variants = f.variants(glyph, true);
        for (const GLYPH_VARIANT& v : variants) {
            glyph = v.m_nGlyph;
            GLYPH_EXTENTS e = f.extents(TEXFONT_MATH, glyph);
            if ((e.m_dTop - e.m_dBottom) * em >= minHeight)
                break;
        }
    }
    TEX_BOX box = GlyphBox(TEXFONT_MATH, glyph, em);
    double italic = box.m_dItalic;
    box = CenteredOnAxis(box, ctx);
    box.m_dItalic = italic;
    return box;
}

LAID_ATOM LayoutAtom(const TexNode& node, const LAYOUT_CTX& ctx)
{
    LAID_ATOM laid;
    laid.m_atom = node.m_atom;
    laid.m_nStyle = ctx.m_nStyle;
    TEX_BOX nucleus;
    bool glyph = false;
    bool limits = false;
    switch (node.m_kind) {
    case TexNodeKind::Char:
        if (node.m_bLargeOp) {
            nucleus = LayoutLargeOp(node, ctx);
            limits = node.m_nLimits == 1 || (node.m_nLimits == 0 && ctx.display());
        } else {
            nucleus = CharBox(node.m_nCodepoint, ctx);
            glyph = true;
            if (node.m_nOverlay) {
                TEX_BOX slash = CharBox(node.m_nOverlay, ctx);
                GLYPH_EXTENTS e = MathFont::instance().extents(TEXFONT_MATH, slash.m_nGlyph);
                double center = (e.m_dLeft + e.m_dRight) / 2 * ctx.size();
                nucleus.place(slash, nucleus.m_dWidth / 2 - center, 0);
                nucleus.m_dHeight = std::max(nucleus.m_dHeight, slash.m_dHeight);
                nucleus.m_dDepth = std::max(nucleus.m_dDepth, slash.m_dDepth);
                nucleus.m_nGlyph = 0;
            }
        }
        break;
    case TexNodeKind::Text:
        nucleus = TextBox(static_cast<TexFontId>(node.m_nFont), node.m_strText, ctx.size());
        break;
    case TexNodeKind::Word:
        nucleus = TextBox(TEXFONT_MATH, node.m_strText, ctx.size());
        limits = node.m_atom == TexAtom::Op &&
                 (node.m_nLimits == 1 || (node.m_nLimits == 0 && node.m_nVariant == 1 && ctx.display()));
        break;
    case TexNodeKind::Group: {
        nucleus = LayoutList(node.m_listBody, Child(ctx));
        if (node.m_nVariant != 0) {
            nucleus.m_vecItems.clear();
            if (node.m_nVariant == 2)
                nucleus.m_dHeight = nucleus.m_dDepth = 0;
            else if (node.m_nVariant == 3)
                nucleus.m_dWidth = 0;
        }
        break;
    }
    case TexNodeKind::Frac:
        nucleus = LayoutFraction(node, ctx);
        break;
    case TexNodeKind::Radical:
        nucleus = LayoutRadical(node, ctx);
        break;
    case TexNodeKind::LeftRight:
        nucleus = LayoutLeftRight(node, ctx);
        break;
    case TexNodeKind::BigDelim: {
        static constexpr double steps[] = {1.2, 1.8, 2.4, 3.0};
        double target = (steps[std::clamp<int>(node.m_nVariant, 1, 4) - 1] - 0.05) * ctx.size();
        nucleus = DelimiterBox(node.m_nCodepoint, target, ctx);
        break;
    }
    case TexNodeKind::Accent:
        nucleus = LayoutAccent(node, ctx);
        limits = node.m_nLimits == 1;
        break;
    case TexNodeKind::Overline:
        nucleus = LayoutBar(node, ctx, true);
        break;
    case TexNodeKind::Underline:
        nucleus = LayoutBar(node, ctx, false);
        break;
    case TexNodeKind::Stack: {
        TEX_BOX base = LayoutList(node.m_listBody, Child(ctx));
        nucleus = node.m_nVariant == 0 ? AttachLimits(base, &node.m_listAux, nullptr, ctx)
                                       : AttachLimits(base, nullptr, &node.m_listAux, ctx);
        break;
    }
    case TexNodeKind::Fbox:
        nucleus = LayoutFbox(node, ctx);
        break;
    case TexNodeKind::Array:
        nucleus = LayoutArray(node, ctx);
        break;
    default:
        break;
    }
    laid.m_rightAtom = laid.m_atom;
    if (node.m_kind == TexNodeKind::LeftRight) {
        // Bracket processing turns every typed bracket into \left ... \right:
        // the group is spaced like the brackets it stands for, so f(x) stays
        // f(x) and does not become f (x).
        laid.m_atom = TexAtom::Open;
        laid.m_rightAtom = TexAtom::Close;
        laid.m_bBrackets = true;
    }
    if (node.m_bHasSup || node.m_bHasSub) {
        if (limits)
            laid.m_box = AttachLimits(nucleus, node.m_bHasSup ? &node.m_listSup : nullptr,
                                      node.m_bHasSub ? &node.m_listSub : nullptr, ctx);
        else
            laid.m_box = AttachScripts(nucleus, node, ctx, glyph, node.m_bLargeOp);
    } else {
        laid.m_box = std::move(nucleus);
    }
    return laid;
}

TEX_BOX LayoutLine(const TexList& list, size_t begin, size_t end, LAYOUT_CTX& ctx, bool bAfterOpen)
{
    std::vector<LAID_ATOM> atoms;
    atoms.reserve(end - begin);
    for (size_t i = begin; i < end; ++i) {
        const TexNode& node = list[i];
        switch (node.m_kind) {
        case TexNodeKind::Style:
            ctx.m_nStyle = node.m_nVariant;
            ctx.m_bCramped = false;
            ctx.m_bRoot = false;
            continue;
        case TexNodeKind::Size:
            ctx.m_dBase = node.m_dAmount;
            if (ctx.m_bRoot)
                ctx.m_nStyle = node.m_dAmount >= mg_dDisplayFromSize ? STYLE_D : STYLE_T;
            continue;
        case TexNodeKind::Newline:
            continue;
        case TexNodeKind::Space: {
            LAID_ATOM space;
            space.m_box = KernBox(SpaceAmount(node, ctx));
            space.m_bSpace = true;
            if (node.m_bHasSup || node.m_bHasSub)
                space.m_box = AttachScripts(space.m_box, node, ctx, false);
            atoms.push_back(std::move(space));
            continue;
        }
        default:
            atoms.push_back(LayoutAtom(node, ctx));
            break;
        }
        // Only a size command ahead of everything else picks the formula's style.
        ctx.m_bRoot = false;
    }

    // A binary operator with nothing to combine on its left, or before a
    // relation or closing bracket, is an ordinary symbol (a sign: -x, (+1)).
    int prev = -1;
    for (size_t i = 0; i < atoms.size(); ++i) {
        if (atoms[i].m_bSpace)
            continue;
        LAID_ATOM& atom = atoms[i];
        TexAtom before = prev >= 0 ? atoms[static_cast<size_t>(prev)].m_rightAtom
                                   : (bAfterOpen ? TexAtom::Open : TexAtom::Rel);
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

    if (atoms.size() == 1 && !atoms[0].m_bSpace)
        return std::move(atoms[0].m_box);

    TEX_BOX line;
    double x = 0;
    prev = -1;
    bool spaced = false;  // an explicit space since the previous atom
    for (size_t i = 0; i < atoms.size(); ++i) {
        LAID_ATOM& a = atoms[i];
        if (a.m_bSpace) {
            spaced = true;
        } else {
            if (prev >= 0) {
                const LAID_ATOM& p = atoms[static_cast<size_t>(prev)];
                LAYOUT_CTX at = ctx;
                at.m_nStyle = a.m_nStyle;
                // Brackets set apart from what precedes them ("v\hspace{1}(m/s)",
                // a symbol and its unit) are no function argument: they keep
                // TeX's space before an inner group.
                TexAtom left = spaced && a.m_bBrackets ? TexAtom::Inner : a.m_atom;
                x += AtomSpacing(p.m_rightAtom, left, a.m_nStyle, at.size());
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
        if (list[i].m_kind != TexNodeKind::Style && list[i].m_kind != TexNodeKind::Size)
            return false;
    }
    return true;
}

TEX_BOX LayoutList(const TexList& list, LAYOUT_CTX ctx, bool bAfterOpen)
{
    std::vector<std::pair<size_t, size_t>> lines;
    size_t start = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].m_kind == TexNodeKind::Newline) {
            lines.emplace_back(start, i);
            start = i + 1;
        }
    }
    lines.emplace_back(start, list.size());
    if (lines.size() == 1)
        return LayoutLine(list, 0, list.size(), ctx, bAfterOpen);
    // "...\\" at the end opens no further line.
    if (IsBlankLine(list, lines.back().first, lines.back().second)) {
        // Size and style commands of that last piece still count for nothing after it.
        lines.pop_back();
    }

    TEX_BOX stack;
    double y = 0;
    double prevDepth = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        TEX_BOX line = LayoutLine(list, lines[i].first, lines[i].second, ctx, false);
        if (i == 0) {
            stack.m_dHeight = line.m_dHeight;
        } else {
            double em = ctx.size();
            double skip = 1.2 * em;
            double distance = std::max(skip, prevDepth + line.m_dHeight + 0.1 * em);
            y -= distance;
        }
        stack.place(line, 0, y);
        stack.m_dWidth = std::max(stack.m_dWidth, line.m_dWidth);
        stack.m_dDepth = std::max(stack.m_dDepth, line.m_dDepth - y);
        stack.m_dHeight = std::max(stack.m_dHeight, line.m_dHeight + y);
        prevDepth = line.m_dDepth;
    }
    return stack;
}

}  // namespace

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
    return mg_dNormalSize;
}

}  // namespace tex
