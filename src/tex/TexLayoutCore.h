#pragma once

// Inside the layout: the style context of TeX's appendix G and the pieces the
// layout files share (glyph boxes, stretched glyphs, rules, lists). Only the
// layout's own files include this header.

#include <cstdint>
#include <string_view>
#include <vector>

#include "tex/MathFont.h"
#include "tex/TexLayout.h"

namespace tex {

// Size of the em in pixels of \normalsize, the size before any size command;
// it stands for LaTeX's 10pt, so that one point is 1.5 pixels.
inline constexpr double TEX_NORMAL_SIZE_PX = 15;
inline constexpr double TEX_PX_PER_PT = TEX_NORMAL_SIZE_PX / 10;
// Thinnest gap that still shows as a blank row between two inked parts.
inline constexpr double TEX_MIN_GAP_PX = 1.5;

// The current style (D, T, S, SS, each possibly cramped) and size.
struct LAYOUT_CTX {
    int m_nStyle = TEX_STYLE_TEXT;
    bool m_bCramped = false;
    bool m_bRoot = false;                 // a size command here still picks the formula's style
    double m_dBase = TEX_NORMAL_SIZE_PX;  // em of the current size command

    // Pixels per em of the math font in this style.
    double size() const;
    // 0 text and display, 1 script, 2 scriptscript: which optical forms the glyphs take.
    int level() const { return m_nStyle >= TEX_STYLE_SCRIPT ? m_nStyle - 1 : 0; }
    bool display() const { return m_nStyle == TEX_STYLE_DISPLAY; }
    // A MATH table constant in pixels at this style's size.
    double k(hb_ot_math_constant_t which) const;
    // The math axis: fractions and big operators centre on it.
    double axis() const { return k(HB_OT_MATH_CONSTANT_AXIS_HEIGHT); }
};

// TeXbook appendix G, rules 1-3: the styles of the parts of an atom.
LAYOUT_CTX Child(const LAYOUT_CTX& ctx);
LAYOUT_CTX Cramped(const LAYOUT_CTX& ctx);
LAYOUT_CTX WithStyle(const LAYOUT_CTX& ctx, int style);
LAYOUT_CTX SupStyle(const LAYOUT_CTX& ctx);
LAYOUT_CTX SubStyle(const LAYOUT_CTX& ctx);
LAYOUT_CTX NumStyle(const LAYOUT_CTX& ctx);
LAYOUT_CTX DenStyle(const LAYOUT_CTX& ctx);

// A length in pixels: absolute units at 1.5 pixels a point, em and ex of the
// current size command, mu of the current style.
double DimenPixels(const TEX_DIMEN& dimen, const LAYOUT_CTX& ctx);

// Lays out a list; bLeadingOrd treats the list as preceded by an ordinary
// atom (the right cell of an aligned pair: "&= b" keeps its relation's space).
TEX_BOX LayoutList(const TexList& list, LAYOUT_CTX ctx, bool bAfterOpen = false, bool bLeadingOrd = false);

// Glyph boxes.
TEX_BOX GlyphBox(TexFontId font, uint32_t glyph, double size);
TEX_BOX KernBox(double width);
// One code point of the math font at the style's size, in its script form in
// scripts. Letters the font lacks in an alphabet fall back to the plain
// letter, then to the text fonts; what no font has is a hollow box.
TEX_BOX CharBox(uint32_t cp, const LAYOUT_CTX& ctx);
// A run of text, shaped, in the text font (with fallbacks for other scripts).
TEX_BOX TextBox(TexFontId font, std::string_view text, double size);
// The box moved up by shift.
TEX_BOX Raised(const TEX_BOX& box, double shift);
TEX_BOX CenteredOnAxis(const TEX_BOX& box, const LAYOUT_CTX& ctx);
// The smallest form of a glyph covering target pixels (ink height when
// vertical, ink width when horizontal), assembled from pieces when no form is big enough.
TEX_BOX StretchedGlyph(uint32_t glyph, double target, double size, bool bVertical);
// A delimiter at least target pixels tall centred on the axis; 0 is the null delimiter.
TEX_BOX DelimiterBox(uint32_t cp, double target, const LAYOUT_CTX& ctx);
// TeX's rule 19: the size a delimiter must reach around content of this
// height and depth (\delimiterfactor 901, \delimitershortfall 5pt).
double DelimiterTarget(double height, double depth, const LAYOUT_CTX& ctx);
// A horizontal arrow (or brace) of at least the given width: the ink placed by the caller.
TEX_BOX StretchedArrow(uint32_t cp, double width, const LAYOUT_CTX& ctx);

// Rules: at least one pixel thick.
double RuleThickness(double em, double size);
void AddRule(TEX_BOX& box, double x, double y, double width, double height);
// Puts the parts side by side on one baseline.
TEX_BOX Row(const std::vector<TEX_BOX>& parts);
// Limits centred above and below a nucleus (\sum in display style, \overset).
TEX_BOX AttachLimits(const TEX_BOX& nucleus, const TexList* upper, const TexList* lower, const LAYOUT_CTX& ctx);

// The constructs, one function each (TexLayoutParts.cpp, TexLayoutArray.cpp).
TEX_BOX LayoutFraction(const TEX_FRAC& frac, const LAYOUT_CTX& ctx);
TEX_BOX LayoutRadical(const TEX_RADICAL& root, const LAYOUT_CTX& ctx);
TEX_BOX LayoutLeftRight(const TEX_LEFTRIGHT& node, const LAYOUT_CTX& ctx);
TEX_BOX LayoutBigDelim(const TEX_BIGDELIM& node, const LAYOUT_CTX& ctx);
TEX_BOX LayoutAccent(const TEX_ACCENT& accent, const LAYOUT_CTX& ctx);
TEX_BOX LayoutBar(const TEX_BAR& bar, const LAYOUT_CTX& ctx);
TEX_BOX LayoutStack(const TEX_STACK& stack, const LAYOUT_CTX& ctx);
TEX_BOX LayoutRule(const TEX_RULE& rule, const LAYOUT_CTX& ctx);
TEX_BOX LayoutFrame(const TEX_FRAME& frame, const LAYOUT_CTX& ctx);
TEX_BOX LayoutRaise(const TEX_RAISE& raise, const LAYOUT_CTX& ctx);
TEX_BOX LayoutLap(const TEX_LAP& lap, const LAYOUT_CTX& ctx);
TEX_BOX LayoutVCenter(const TEX_VCENTER& node, const LAYOUT_CTX& ctx);
TEX_BOX LayoutPhantom(const TEX_PHANTOM& phantom, const LAYOUT_CTX& ctx);
TEX_BOX LayoutNot(const TEX_NOT& node, const LAYOUT_CTX& ctx);
TEX_BOX LayoutUnknown(const TEX_UNKNOWN& node, const LAYOUT_CTX& ctx);
TEX_BOX LayoutArray(const TEX_ARRAY& table, const LAYOUT_CTX& ctx);

}  // namespace tex
