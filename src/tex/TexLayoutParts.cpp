// The layout of each construct: fractions, radicals, delimiters, accents,
// bars, stacks, boxes and struts. Rule numbers are those of the TeXbook's
// appendix G; the font parameters come from the MATH table.
#include <algorithm>
#include <cmath>

#include "tex/TexLayoutCore.h"

namespace tex {
namespace {

// A continued fraction's numerator stands on LaTeX's \strut (0.7 and 0.3 of
// a 1.2em line), so that the bars of all its levels line up.
constexpr double mg_dStrutHeightEm = 0.84;
constexpr double mg_dStrutDepthEm = 0.36;

bool IsCombiningMark(uint32_t cp)
{
    return (cp >= 0x0300 && cp <= 0x036F) || (cp >= 0x20D0 && cp <= 0x20FF);
}

// Rule 15b/15d: shifts of a fraction with a bar, keeping at least a visible row on each side of it.
void FractionShifts(const TEX_BOX& num, const TEX_BOX& den, double rule, const LAYOUT_CTX& ctx, double& u, double& v)
{
    bool display = ctx.display();
    u = ctx.k(display ? HB_OT_MATH_CONSTANT_FRACTION_NUMERATOR_DISPLAY_STYLE_SHIFT_UP
                      : HB_OT_MATH_CONSTANT_FRACTION_NUMERATOR_SHIFT_UP);
    v = ctx.k(display ? HB_OT_MATH_CONSTANT_FRACTION_DENOMINATOR_DISPLAY_STYLE_SHIFT_DOWN
                      : HB_OT_MATH_CONSTANT_FRACTION_DENOMINATOR_SHIFT_DOWN);
    double gapNum = std::max(TEX_MIN_GAP_PX, ctx.k(display ? HB_OT_MATH_CONSTANT_FRACTION_NUM_DISPLAY_STYLE_GAP_MIN
                                                           : HB_OT_MATH_CONSTANT_FRACTION_NUMERATOR_GAP_MIN));
    double gapDen = std::max(TEX_MIN_GAP_PX, ctx.k(display ? HB_OT_MATH_CONSTANT_FRACTION_DENOM_DISPLAY_STYLE_GAP_MIN
                                                           : HB_OT_MATH_CONSTANT_FRACTION_DENOMINATOR_GAP_MIN));
    double axis = ctx.axis();
    u = std::max(u, axis + rule / 2 + gapNum + num.m_dDepth);
    v = std::max(v, den.m_dHeight + gapDen + rule / 2 - axis);
}

// Rule 15c: shifts of a fraction without a bar (\binom, \atop), the parts at least the stack gap apart.
void StackShifts(const TEX_BOX& num, const TEX_BOX& den, const LAYOUT_CTX& ctx, double& u, double& v)
{
    bool display = ctx.display();
    u = ctx.k(display ? HB_OT_MATH_CONSTANT_STACK_TOP_DISPLAY_STYLE_SHIFT_UP : HB_OT_MATH_CONSTANT_STACK_TOP_SHIFT_UP);
    v = ctx.k(display ? HB_OT_MATH_CONSTANT_STACK_BOTTOM_DISPLAY_STYLE_SHIFT_DOWN
                      : HB_OT_MATH_CONSTANT_STACK_BOTTOM_SHIFT_DOWN);
    double gapMin = std::max(TEX_MIN_GAP_PX, ctx.k(display ? HB_OT_MATH_CONSTANT_STACK_DISPLAY_STYLE_GAP_MIN
                                                           : HB_OT_MATH_CONSTANT_STACK_GAP_MIN));
    double gap = (u - num.m_dDepth) - (den.m_dHeight - v);
    if (gap < gapMin) {
        u += (gapMin - gap) / 2;
        v += (gapMin - gap) / 2;
    }
}

}  // namespace

// Rule 15: a generalized fraction.
TEX_BOX LayoutFraction(const TEX_FRAC& frac, const LAYOUT_CTX& ctx)
{
    const MathFont& f = MathFont::instance();
    LAYOUT_CTX fctx = frac.m_style != TEX_STYLE_INHERIT ? WithStyle(ctx, frac.m_style) : Child(ctx);
    // 15a: the parts one style smaller; a continued fraction keeps display style.
    LAYOUT_CTX numCtx = frac.m_bContinued ? fctx : NumStyle(fctx);
    LAYOUT_CTX denCtx = frac.m_bContinued ? Cramped(fctx) : DenStyle(fctx);
    TEX_BOX num = LayoutList(frac.m_listNumerator, numCtx);
    TEX_BOX den = LayoutList(frac.m_listDenominator, denCtx);
    double em = fctx.size();
    if (frac.m_bContinued) {
        num.m_dHeight = std::max(num.m_dHeight, mg_dStrutHeightEm * em);
        num.m_dDepth = std::max(num.m_dDepth, mg_dStrutDepthEm * em);
    }
    double rule = 0;
    if (frac.m_bHasBar)
        rule = frac.m_bThickness ? std::max(1.0, DimenPixels(frac.m_thickness, fctx))
                                 : RuleThickness(f.constant(HB_OT_MATH_CONSTANT_FRACTION_RULE_THICKNESS), em);
    double u = 0;
    double v = 0;
    if (frac.m_bHasBar)
        FractionShifts(num, den, rule, fctx, u, v);
    else
        StackShifts(num, den, fctx, u, v);
    double inner = std::max(num.m_dWidth, den.m_dWidth);
    TEX_BOX body;
    body.m_dWidth = inner;
    body.m_dHeight = u + num.m_dHeight;
    body.m_dDepth = v + den.m_dDepth;
    body.place(num, (inner - num.m_dWidth) / 2, u);
    body.place(den, (inner - den.m_dWidth) / 2, -v);
    if (rule > 0)
        AddRule(body, 0, fctx.axis() - rule / 2, inner, rule);
    // 15e: the delimiters (\binom's parentheses), or the null delimiter space on each side.
    double target = std::max(fctx.display() ? 2.39 * em : 1.01 * em,
                             DelimiterTarget(body.m_dHeight, body.m_dDepth, fctx));
    return Row({DelimiterBox(frac.m_nLeftDelim, target, fctx), body, DelimiterBox(frac.m_nRightDelim, target, fctx)});
}

// Rule 11: a radical sign grown to the radicand, the bar on top, the degree in scriptscript style.
TEX_BOX LayoutRadical(const TEX_RADICAL& root, const LAYOUT_CTX& ctx)
{
    MathFont& f = MathFont::instance();
    TEX_BOX body = LayoutList(root.m_listRadicand, Cramped(ctx));
    double em = ctx.size();
    double gap = std::max(TEX_MIN_GAP_PX, ctx.k(ctx.display() ? HB_OT_MATH_CONSTANT_RADICAL_DISPLAY_STYLE_VERTICAL_GAP
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
    bool hasDegree = !root.m_listDegree.empty();
    if (hasDegree) {
        degree = LayoutList(root.m_listDegree, WithStyle(ctx, TEX_STYLE_SCRIPTSCRIPT));
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

// Rule 19: \left, \middle and \right delimiters all grown to the tallest segment.
TEX_BOX LayoutLeftRight(const TEX_LEFTRIGHT& node, const LAYOUT_CTX& ctx)
{
    std::vector<TEX_BOX> segments;
    double height = 0;
    double depth = 0;
    for (const TexList& segment : node.m_vecSegments) {
        segments.push_back(LayoutList(segment, Child(ctx), true));
        height = std::max(height, segments.back().m_dHeight);
        depth = std::max(depth, segments.back().m_dDepth);
    }
    double target = DelimiterTarget(height, depth, ctx);
    std::vector<TEX_BOX> parts{DelimiterBox(node.m_nLeft, target, ctx)};
    for (size_t i = 0; i < segments.size(); ++i) {
        if (i > 0)
            parts.push_back(DelimiterBox(i - 1 < node.m_vecMiddle.size() ? node.m_vecMiddle[i - 1] : 0, target, ctx));
        parts.push_back(std::move(segments[i]));
    }
    parts.push_back(DelimiterBox(node.m_nRight, target, ctx));
    return Row(parts);
}

TEX_BOX LayoutBigDelim(const TEX_BIGDELIM& node, const LAYOUT_CTX& ctx)
{
    // \big is 1.2 times the height of a parenthesis, \Big 1.8, \bigg 2.4, \Bigg 3.
    static constexpr double steps[] = {1.2, 1.8, 2.4, 3.0};
    double target = (steps[std::clamp<int>(node.m_nStep, 1, 4) - 1] - 0.05) * ctx.size();
    return DelimiterBox(node.m_nCodepoint, target, ctx);
}

// Rule 12: an accent over its base, on the base's accent attachment point;
// wide accents take the first form as wide as the base; arrows and braces
// stretch to it, over or under it.
TEX_BOX LayoutAccent(const TEX_ACCENT& node, const LAYOUT_CTX& ctx)
{
    MathFont& f = MathFont::instance();
    TEX_BOX base = LayoutList(node.m_listBase, Cramped(ctx));
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
        if (node.m_bStretch) {
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
        double accentBase = ctx.k(HB_OT_MATH_CONSTANT_ACCENT_BASE_HEIGHT);
        double raise = std::max(0.0, base.m_dHeight - accentBase);
        // Keep a blank row between a tall base and its accent.
        double bottom = raise + e.m_dBottom * em;
        if (bottom < base.m_dHeight + 1.0 && base.m_dHeight > accentBase)
            raise += base.m_dHeight + 1.0 - bottom;
        result.place(GlyphBox(TEXFONT_MATH, accent, em), baseAttach - attach, raise);
        result.m_dHeight = std::max(base.m_dHeight, raise + e.m_dTop * em);
        return result;
    }
    TEX_BOX mark = StretchedArrow(node.m_nCodepoint, base.m_dWidth, ctx);
    double gap = std::max(TEX_MIN_GAP_PX, ctx.k(HB_OT_MATH_CONSTANT_OVERBAR_VERTICAL_GAP));
    double x = (base.m_dWidth - mark.m_dWidth) / 2;
    if (node.m_bUnder) {
        double y = -(base.m_dDepth + gap + mark.m_dHeight);
        result.place(mark, x, y);
        result.m_dDepth = -y;
    } else {
        double y = base.m_dHeight + gap;
        result.place(mark, x, y);
        result.m_dHeight = y + mark.m_dHeight;
    }
    result.m_dWidth = std::max(base.m_dWidth, mark.m_dWidth);
    return result;
}

// Rules 9 and 10: \overline (cramped base, gap, rule, extra space above) and \underline.
TEX_BOX LayoutBar(const TEX_BAR& bar, const LAYOUT_CTX& ctx)
{
    const MathFont& f = MathFont::instance();
    TEX_BOX base = LayoutList(bar.m_listBody, bar.m_bOver ? Cramped(ctx) : Child(ctx));
    double em = ctx.size();
    TEX_BOX box;
    box.place(base, 0, 0);
    box.m_dWidth = base.m_dWidth;
    box.m_dHeight = base.m_dHeight;
    box.m_dDepth = base.m_dDepth;
    if (bar.m_bOver) {
        double gap = std::max(TEX_MIN_GAP_PX, ctx.k(HB_OT_MATH_CONSTANT_OVERBAR_VERTICAL_GAP));
        double rule = RuleThickness(f.constant(HB_OT_MATH_CONSTANT_OVERBAR_RULE_THICKNESS), em);
        AddRule(box, 0, base.m_dHeight + gap, base.m_dWidth, rule);
        box.m_dHeight = base.m_dHeight + gap + rule + ctx.k(HB_OT_MATH_CONSTANT_OVERBAR_EXTRA_ASCENDER);
    } else {
        double gap = std::max(TEX_MIN_GAP_PX, ctx.k(HB_OT_MATH_CONSTANT_UNDERBAR_VERTICAL_GAP));
        double rule = RuleThickness(f.constant(HB_OT_MATH_CONSTANT_UNDERBAR_RULE_THICKNESS), em);
        AddRule(box, 0, -(base.m_dDepth + gap + rule), base.m_dWidth, rule);
        box.m_dDepth = base.m_dDepth + gap + rule + ctx.k(HB_OT_MATH_CONSTANT_UNDERBAR_EXTRA_DESCENDER);
    }
    return box;
}

namespace {

// \xrightarrow: an arrow on the axis, wide enough for its labels, the labels
// in script style above and below it.
TEX_BOX LayoutLabelledArrow(const TEX_STACK& stack, const LAYOUT_CTX& ctx)
{
    TEX_BOX over = LayoutList(stack.m_listOver, SupStyle(ctx));
    TEX_BOX under = LayoutList(stack.m_listUnder, SubStyle(ctx));
    double em = ctx.size();
    double width = std::max({over.m_dWidth, under.m_dWidth}) + 0.8 * em;
    TEX_BOX arrow = StretchedArrow(stack.m_nArrow, std::max(width, 1.2 * em), ctx);
    width = std::max({arrow.m_dWidth, over.m_dWidth, under.m_dWidth});
    double gap = std::max(TEX_MIN_GAP_PX, 0.1 * em);
    double arrowY = ctx.axis() - arrow.m_dHeight / 2;
    TEX_BOX box;
    box.m_dWidth = width;
    box.place(arrow, (width - arrow.m_dWidth) / 2, arrowY);
    box.m_dHeight = std::max(0.0, arrowY + arrow.m_dHeight);
    box.m_dDepth = std::max(0.0, -arrowY);
    if (!stack.m_listOver.empty()) {
        double y = arrowY + arrow.m_dHeight + gap + over.m_dDepth;
        box.place(over, (width - over.m_dWidth) / 2, y);
        box.m_dHeight = y + over.m_dHeight;
    }
    if (!stack.m_listUnder.empty()) {
        double y = arrowY - gap - under.m_dHeight;
        box.place(under, (width - under.m_dWidth) / 2, y);
        box.m_dDepth = std::max(box.m_dDepth, under.m_dDepth - y);
    }
    return box;
}

}  // namespace

// \overset, \underset, \stackrel: the base with limits (rule 13a); labelled arrows on their own.
TEX_BOX LayoutStack(const TEX_STACK& stack, const LAYOUT_CTX& ctx)
{
    if (stack.m_nArrow)
        return LayoutLabelledArrow(stack, ctx);
    TEX_BOX base = LayoutList(stack.m_listBase, Child(ctx));
    return AttachLimits(base, stack.m_listOver.empty() ? nullptr : &stack.m_listOver,
                        stack.m_listUnder.empty() ? nullptr : &stack.m_listUnder, ctx);
}

// \rule[raise]{width}{height}: a black box; with no width a strut.
TEX_BOX LayoutRule(const TEX_RULE& rule, const LAYOUT_CTX& ctx)
{
    double width = std::max(0.0, DimenPixels(rule.m_width, ctx));
    double height = std::max(0.0, DimenPixels(rule.m_height, ctx));
    double raise = DimenPixels(rule.m_raise, ctx);
    TEX_BOX box;
    box.m_dWidth = width;
    box.m_dHeight = std::max(0.0, raise + height);
    box.m_dDepth = std::max(0.0, -raise);
    if (width > 0 && height > 0)
        AddRule(box, 0, raise, width, height);
    return box;
}

namespace {

// The box with pad pixels of room around it inside a frame of rule pixels.
TEX_BOX FramedBox(const TEX_BOX& inner, double pad, double rule)
{
    double edge = pad + rule;
    TEX_BOX box;
    box.m_dWidth = inner.m_dWidth + 2 * edge;
    box.m_dHeight = inner.m_dHeight + edge;
    box.m_dDepth = inner.m_dDepth + edge;
    box.place(inner, edge, 0);
    double total = box.m_dHeight + box.m_dDepth;
    AddRule(box, 0, -box.m_dDepth, rule, total);
    AddRule(box, box.m_dWidth - rule, -box.m_dDepth, rule, total);
    AddRule(box, 0, box.m_dHeight - rule, box.m_dWidth, rule);
    AddRule(box, 0, -box.m_dDepth, box.m_dWidth, rule);
    return box;
}

}  // namespace

// \fbox: the contents with room around them inside a one-pixel frame.
TEX_BOX LayoutFrame(const TEX_FRAME& frame, const LAYOUT_CTX& ctx)
{
    double em = ctx.size();
    return FramedBox(LayoutList(frame.m_listBody, Child(ctx)), std::round(0.3 * em), RuleThickness(0.04, em));
}

TEX_BOX LayoutRaise(const TEX_RAISE& raise, const LAYOUT_CTX& ctx)
{
    return Raised(LayoutList(raise.m_listBody, Child(ctx)), DimenPixels(raise.m_shift, ctx));
}

// \llap, \rlap, \clap: the contents take no width; their ink reaches left, right or both ways.
TEX_BOX LayoutLap(const TEX_LAP& lap, const LAYOUT_CTX& ctx)
{
    TEX_BOX body = LayoutList(lap.m_listBody, Child(ctx));
    TEX_BOX box;
    double x = lap.m_nSide < 0 ? -body.m_dWidth : lap.m_nSide > 0 ? 0 : -body.m_dWidth / 2;
    box.place(body, x, 0);
    box.m_dHeight = body.m_dHeight;
    box.m_dDepth = body.m_dDepth;
    return box;
}

// Rule 8: \vcenter centres its contents on the axis.
TEX_BOX LayoutVCenter(const TEX_VCENTER& node, const LAYOUT_CTX& ctx)
{
    return CenteredOnAxis(LayoutList(node.m_listBody, Child(ctx)), ctx);
}

TEX_BOX LayoutPhantom(const TEX_PHANTOM& phantom, const LAYOUT_CTX& ctx)
{
    TEX_BOX box = LayoutList(phantom.m_listBody, Child(ctx));
    if (!phantom.m_bInk)
        box.m_vecItems.clear();
    if (!phantom.m_bWidth)
        box.m_dWidth = 0;
    if (!phantom.m_bHeight)
        box.m_dHeight = 0;
    if (!phantom.m_bDepth)
        box.m_dDepth = 0;
    box.m_nGlyph = 0;
    return box;
}

// \not over something without a negated form: one long solidus through its middle.
TEX_BOX LayoutNot(const TEX_NOT& node, const LAYOUT_CTX& ctx)
{
    TEX_BOX box = LayoutList(node.m_listBody, Child(ctx));
    TEX_BOX slash = CharBox(0x0338, ctx);
    if (slash.m_vecItems.empty())
        return box;
    GLYPH_EXTENTS e = MathFont::instance().extents(TEXFONT_MATH, slash.m_nGlyph);
    double centre = (e.m_dLeft + e.m_dRight) / 2 * ctx.size();
    box.place(slash, box.m_dWidth / 2 - centre, 0);
    box.m_dHeight = std::max(box.m_dHeight, slash.m_dHeight);
    box.m_dDepth = std::max(box.m_dDepth, slash.m_dDepth);
    box.m_nGlyph = 0;
    return box;
}

// An unknown command: its source in the typewriter face inside a thin frame,
// so that it is plainly not mathematics.
TEX_BOX LayoutUnknown(const TEX_UNKNOWN& node, const LAYOUT_CTX& ctx)
{
    double em = ctx.size();
    TEX_BOX text = TextBox(TEXFONT_MONO, node.m_strSource, em);
    text.m_dHeight = std::max(text.m_dHeight, 0.7 * em);
    text.m_dDepth = std::max(text.m_dDepth, 0.2 * em);
    return FramedBox(text, std::max(1.0, std::round(0.12 * em)), 1);
}

}  // namespace tex
