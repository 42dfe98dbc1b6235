// The layout's glyph work: style sizes, glyph and text boxes, glyphs grown
// to a size (delimiters, radicals, wide accents, arrows), rules and lengths.
#include <algorithm>
#include <cmath>

#include "tex/TexLayoutCore.h"
#include "tex/TexSymbols.h"

namespace tex {
namespace {

// Smallest pixel sizes of scripts and scripts of scripts: below them Latin
// Modern's letters turn into specks in one bit per pixel. They never exceed
// the size command's own size (\tiny scripts stay \tiny).
constexpr double mg_dMinScriptPx = 9;
constexpr double mg_dMinScriptScriptPx = 9;

// How far apart two pieces of an assembled glyph must overlap at least, in
// pixels, so that rounding each piece to the pixel grid never opens a gap.
constexpr double mg_dMinPieceOverlapPx = 1.5;

// Absolute units in points.
double PointsPerUnit(TexUnit unit)
{
    switch (unit) {
    case UNIT_PT: return 1;
    case UNIT_PC: return 12;
    case UNIT_IN: return 72.27;
    case UNIT_CM: return 72.27 / 2.54;
    case UNIT_MM: return 72.27 / 25.4;
    case UNIT_BP: return 72.27 / 72;
    case UNIT_DD: return 1238.0 / 1157.0;
    case UNIT_CC: return 12 * 1238.0 / 1157.0;
    case UNIT_SP: return 1.0 / 65536.0;
    default: return 0;
    }
}

// A box standing for a character no font has: a hollow rectangle, so that
// the letter is seen to be missing rather than silently dropped.
TEX_BOX MissingBox(double size)
{
    TEX_BOX box;
    double rule = RuleThickness(0.04, size);
    double width = 0.5 * size;
    double height = 0.68 * size;
    box.m_dWidth = 0.6 * size;
    box.m_dHeight = height;
    AddRule(box, 0.05 * size, 0, width, rule);
    AddRule(box, 0.05 * size, height - rule, width, rule);
    AddRule(box, 0.05 * size, 0, rule, height);
    AddRule(box, 0.05 * size + width - rule, 0, rule, height);
    return box;
}

// A glyph grown to at least target pixels by the font's glyph assembly:
// vertical pieces stand on the baseline (bottom at 0), horizontal ones start at x = 0.
TEX_BOX AssemblyBox(const std::vector<GLYPH_PART>& parts, double target, double size, bool bVertical)
{
    const MathFont& f = MathFont::instance();
    double minOverlap = std::max(f.minConnectorOverlap(bVertical) * size, mg_dMinPieceOverlapPx);
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
        double longest = sum - minOverlap * (pieces.empty() ? 0 : static_cast<double>(pieces.size() - 1));
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
            // The overlap stays within the connectors, so that no piece's end shows.
            double maxOverlap = std::min(p.m_dEndConnector, pieces[i + 1]->m_dStartConnector) * size;
            cursor += p.m_dFullAdvance * size - std::min(overlap, std::max(maxOverlap, f.minConnectorOverlap(bVertical) * size));
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


}  // namespace

double LAYOUT_CTX::size() const
{
    const MathFont& f = MathFont::instance();
    if (m_nStyle == TEX_STYLE_SCRIPT) {
        double px = m_dBase * f.constant(HB_OT_MATH_CONSTANT_SCRIPT_PERCENT_SCALE_DOWN) / 100.0;
        return std::max(px, std::min(m_dBase, mg_dMinScriptPx));
    }
    if (m_nStyle == TEX_STYLE_SCRIPTSCRIPT) {
        double px = m_dBase * f.constant(HB_OT_MATH_CONSTANT_SCRIPT_SCRIPT_PERCENT_SCALE_DOWN) / 100.0;
        return std::max(px, std::min(m_dBase, mg_dMinScriptScriptPx));
    }
    return m_dBase;
}

double LAYOUT_CTX::k(hb_ot_math_constant_t which) const
{
    return MathFont::instance().constant(which) * size();
}

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

LAYOUT_CTX WithStyle(const LAYOUT_CTX& ctx, int style)
{
    LAYOUT_CTX c = Child(ctx);
    c.m_nStyle = style;
    c.m_bCramped = false;
    return c;
}

LAYOUT_CTX SupStyle(const LAYOUT_CTX& ctx)
{
    LAYOUT_CTX c = Child(ctx);
    c.m_nStyle = ctx.m_nStyle <= TEX_STYLE_TEXT ? TEX_STYLE_SCRIPT : TEX_STYLE_SCRIPTSCRIPT;
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
    c.m_nStyle = std::min(ctx.m_nStyle + 1, static_cast<int>(TEX_STYLE_SCRIPTSCRIPT));
    return c;
}

LAYOUT_CTX DenStyle(const LAYOUT_CTX& ctx)
{
    LAYOUT_CTX c = NumStyle(ctx);
    c.m_bCramped = true;
    return c;
}

double DimenPixels(const TEX_DIMEN& dimen, const LAYOUT_CTX& ctx)
{
    switch (dimen.m_unit) {
    case UNIT_PX: return dimen.m_dAmount;
    case UNIT_EM: return dimen.m_dAmount * ctx.m_dBase;
    case UNIT_EX: return dimen.m_dAmount * ctx.m_dBase * 0.431;  // Latin Modern's x-height
    case UNIT_MU: return dimen.m_dAmount * ctx.size() / 18.0;
    default: return dimen.m_dAmount * PointsPerUnit(dimen.m_unit) * TEX_PX_PER_PT;
    }
}

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

TEX_BOX CharBox(uint32_t cp, const LAYOUT_CTX& ctx)
{
    MathFont& f = MathFont::instance();
    uint32_t glyph = f.glyphIndex(TEXFONT_MATH, cp);
    if (!glyph)
        glyph = f.glyphIndex(TEXFONT_MATH, PlainMathLetter(cp));
    if (glyph)
        return GlyphBox(TEXFONT_MATH, f.scriptGlyph(glyph, ctx.level()), ctx.size());
    return TextBox(TEXFONT_ROMAN, EncodeUtf8(cp), ctx.size());
}

TEX_BOX TextBox(TexFontId font, std::string_view text, double size)
{
    const MathFont& f = MathFont::instance();
    std::vector<SHAPED_GLYPH> glyphs;
    f.shape(font, text, glyphs);
    TEX_BOX box;
    double x = 0;
    for (const SHAPED_GLYPH& g : glyphs) {
        if (g.m_nFont == TEXFONT_COUNT) {
            TEX_BOX missing = MissingBox(size);
            box.place(missing, x, 0);
            box.m_dHeight = std::max(box.m_dHeight, missing.m_dHeight);
            x += missing.m_dWidth;
            continue;
        }
        TexFontId glyphFont = static_cast<TexFontId>(g.m_nFont);
        GLYPH_EXTENTS e = f.extents(glyphFont, g.m_nGlyph);
        double y = g.m_dOffsetY * size;
        TEX_ITEM item;
        item.m_kind = TEX_ITEM::GLYPH;
        item.m_nFont = glyphFont;
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
    return Raised(box, ctx.axis() - (box.m_dHeight - box.m_dDepth) / 2);
}

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

TEX_BOX DelimiterBox(uint32_t cp, double target, const LAYOUT_CTX& ctx)
{
    double size = ctx.size();
    uint32_t glyph = cp ? MathFont::instance().glyphIndex(TEXFONT_MATH, cp) : 0;
    if (!glyph)
        return KernBox(0.12 * size);  // \nulldelimiterspace
    TEX_BOX box = StretchedGlyph(glyph, target, size, true);
    box.m_nGlyph = 0;
    box.m_dItalic = 0;
    return CenteredOnAxis(box, ctx);
}

double DelimiterTarget(double height, double depth, const LAYOUT_CTX& ctx)
{
    double axis = ctx.axis();
    double delta = std::max(height - axis, depth + axis);
    return std::max(2 * delta * 0.901, 2 * delta - 5 * TEX_PX_PER_PT);
}

TEX_BOX StretchedArrow(uint32_t cp, double width, const LAYOUT_CTX& ctx)
{
    const MathFont& f = MathFont::instance();
    uint32_t glyph = f.glyphIndex(TEXFONT_MATH, cp);
    if (!glyph)
        return KernBox(width);
    TEX_BOX over = StretchedGlyph(glyph, width, ctx.size(), false);
    // Arrows and braces float above or below their own baseline; the box is
    // set on the bottom of the ink so that callers stack it by its ink.
    double inkTop = -1e9;
    double inkBottom = 1e9;
    for (const TEX_ITEM& item : over.m_vecItems) {
        GLYPH_EXTENTS e = f.extents(TEXFONT_MATH, item.m_nGlyph);
        inkTop = std::max(inkTop, item.m_dY + e.m_dTop * item.m_dSize);
        inkBottom = std::min(inkBottom, item.m_dY + e.m_dBottom * item.m_dSize);
    }
    if (over.m_vecItems.empty())
        return KernBox(width);
    TEX_BOX box = Raised(over, -inkBottom);
    box.m_dHeight = inkTop - inkBottom;
    box.m_dDepth = 0;
    return box;
}

double RuleThickness(double em, double size)
{
    return std::max(1.0, em * size);
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

TEX_BOX Row(const std::vector<TEX_BOX>& parts)
{
    TEX_BOX row;
    for (const TEX_BOX& part : parts) {
        row.place(part, row.m_dWidth, 0);
        row.m_dWidth += part.m_dWidth;
        row.m_dHeight = std::max(row.m_dHeight, part.m_dHeight);
        row.m_dDepth = std::max(row.m_dDepth, part.m_dDepth);
    }
    return row;
}

}  // namespace tex
