// Tables: array, the matrix, cases, aligned and gathered families. Cells are
// set in the style LaTeX gives them, rows on LaTeX's strut, columns apart by
// LaTeX's spaces, the table centred on the axis with its delimiters around.
#include <algorithm>
#include <cmath>

#include "tex/TexLayoutCore.h"

namespace tex {
namespace {

// LaTeX's \strut: 0.7 and 0.3 of a 1.2em line.
constexpr double mg_dStrutHeightEm = 0.84;
constexpr double mg_dStrutDepthEm = 0.36;
// \arraycolsep is 5pt: 10pt between columns of an array or a matrix.
constexpr double mg_dColumnSepPt = 10;
// \jot: the extra 3pt between the lines of aligned and gathered formulas.
constexpr double mg_dJotPt = 3;

struct COLUMNS {
    std::vector<char> m_vecAlign;  // 'l', 'c' or 'r' per column
    std::vector<int> m_vecRules;   // vertical rules before column i (last entry: after the table)
};

// Column alignments and vertical rules ('|') of an array's column template;
// p{width} and friends read as left-aligned, @{...} is skipped.
COLUMNS ReadTemplate(const std::string& columnTemplate)
{
    COLUMNS columns;
    columns.m_vecRules.push_back(0);
    for (size_t i = 0; i < columnTemplate.size(); ++i) {
        char c = columnTemplate[i];
        if (c == 'l' || c == 'c' || c == 'r' || c == 'p' || c == 'm' || c == 'b') {
            columns.m_vecAlign.push_back(c == 'l' || c == 'c' || c == 'r' ? c : 'l');
            columns.m_vecRules.push_back(0);
        } else if (c == '|') {
            ++columns.m_vecRules.back();
        }
        if ((c == 'p' || c == 'm' || c == 'b' || c == '@' || c == '*') && i + 1 < columnTemplate.size() && columnTemplate[i + 1] == '{') {
            int depth = 0;
            for (++i; i < columnTemplate.size(); ++i) {
                if (columnTemplate[i] == '{')
                    ++depth;
                else if (columnTemplate[i] == '}' && --depth == 0)
                    break;
            }
        }
    }
    return columns;
}

// The alignments of every column: the template's, then the family's own.
COLUMNS TableColumns(const TEX_ARRAY& table, size_t count)
{
    COLUMNS columns = table.m_kind == ARRAY_PLAIN ? ReadTemplate(table.m_strColumns) : COLUMNS{{}, {0}};
    while (columns.m_vecAlign.size() < count) {
        char c = 'c';
        if (table.m_kind == ARRAY_ALIGNED)
            c = columns.m_vecAlign.size() % 2 == 0 ? 'r' : 'l';
        else if (table.m_kind == ARRAY_CASES)
            c = 'l';
        else if (table.m_kind == ARRAY_MATRIX && !table.m_strColumns.empty())
            c = table.m_strColumns[0] == 'l' || table.m_strColumns[0] == 'r' ? table.m_strColumns[0] : 'c';
        columns.m_vecAlign.push_back(c);
        columns.m_vecRules.push_back(0);
    }
    return columns;
}

// Space between column c - 1 and column c.
double ColumnSep(const TEX_ARRAY& table, size_t c, const LAYOUT_CTX& ctx, const LAYOUT_CTX& cellCtx)
{
    switch (table.m_kind) {
    case ARRAY_ALIGNED: return c % 2 == 0 ? 2 * ctx.m_dBase : 0;  // the pairs apart, a pair together
    case ARRAY_CASES: return ctx.m_dBase;                           // \quad
    default: break;
    }
    // Script-size tables (smallmatrix, subarray) are spaced by a \thickspace.
    if (cellCtx.m_nStyle >= TEX_STYLE_SCRIPT)
        return 5 * ctx.size() / 18.0;
    return mg_dColumnSepPt * TEX_PX_PER_PT;
}

// A table being set: its cells laid out and the measures of its rows and columns.
struct TABLE {
    TABLE(const TEX_ARRAY& table, COLUMNS columns) : m_table(table), m_columns(std::move(columns)) {}

    const TEX_ARRAY& m_table;
    COLUMNS m_columns;
    std::vector<std::vector<TEX_BOX>> m_vecCells;
    std::vector<double> m_vecColWidth;
    std::vector<double> m_vecColX;
    double m_dWidth = 0;
    double m_dRule = 0;
    double m_dStrutHeight = 0;
    double m_dStrutDepth = 0;
    double m_dRowGap = 0;  // between every two rows, besides \\[len]
    TEX_BOX m_box;
    double m_dCursor = 0;  // rows go down from the top edge at 0
};

void LayCells(TABLE& t, const LAYOUT_CTX& cellCtx)
{
    t.m_vecColWidth.assign(t.m_columns.m_vecAlign.size(), 0);
    for (const auto& row : t.m_table.m_vecRows) {
        std::vector<TEX_BOX> laid;
        for (size_t c = 0; c < row.size(); ++c) {
            // "&= b": the right cell of an aligned pair starts as if after an
            // ordinary symbol, so its relation keeps its space.
            bool leadingOrd = t.m_table.m_kind == ARRAY_ALIGNED && c % 2 == 1;
            laid.push_back(LayoutList(row[c], cellCtx, false, leadingOrd));
            t.m_vecColWidth[c] = std::max(t.m_vecColWidth[c], laid.back().m_dWidth);
        }
        t.m_vecCells.push_back(std::move(laid));
    }
}

// Where each column starts; edge rules sit at the very edge, with the outer column space inside them.
void PlaceColumns(TABLE& t, const LAYOUT_CTX& ctx, const LAYOUT_CTX& cellCtx)
{
    bool small = cellCtx.m_nStyle >= TEX_STYLE_SCRIPT;
    // Arrays have \arraycolsep outside their first and last column too.
    double outer = t.m_table.m_kind == ARRAY_PLAIN && !small ? mg_dColumnSepPt / 2 * TEX_PX_PER_PT : 0;
    const std::vector<int>& rules = t.m_columns.m_vecRules;
    size_t count = t.m_vecColWidth.size();
    t.m_vecColX.assign(count, 0);
    double x = rules[0] * 2 * t.m_dRule + outer;
    for (size_t c = 0; c < count; ++c) {
        if (c > 0)
            x += ColumnSep(t.m_table, c, ctx, cellCtx) + rules[c] * t.m_dRule;
        t.m_vecColX[c] = x;
        x += t.m_vecColWidth[c];
    }
    t.m_dWidth = x + outer + rules[count] * 2 * t.m_dRule;
}

// The \hline rules at a row boundary; a double \hline a rule apart (at least a blank pixel row).
void AddHlines(TABLE& t, size_t boundary)
{
    int lines = boundary < t.m_table.m_vecHlines.size() ? t.m_table.m_vecHlines[boundary] : 0;
    for (int k = 0; k < lines; ++k) {
        if (k > 0)
            t.m_dCursor -= std::max(t.m_dRule, TEX_MIN_GAP_PX);
        AddRule(t.m_box, 0, t.m_dCursor - t.m_dRule, t.m_dWidth, t.m_dRule);
        t.m_dCursor -= t.m_dRule;
    }
}

// Row r on the strut, below the previous one, its cells aligned in their columns.
void PlaceRow(TABLE& t, size_t r, const LAYOUT_CTX& ctx)
{
    const std::vector<TEX_BOX>& cells = t.m_vecCells[r];
    double h = t.m_dStrutHeight;
    double d = t.m_dStrutDepth;
    for (const TEX_BOX& cell : cells) {
        h = std::max(h, cell.m_dHeight);
        d = std::max(d, cell.m_dDepth);
    }
    const std::vector<TEX_DIMEN>& gaps = t.m_table.m_vecRowGaps;
    double gap = r == 0 ? 0 : t.m_dRowGap + (r - 1 < gaps.size() ? DimenPixels(gaps[r - 1], ctx) : 0);
    double baseline = t.m_dCursor - h - gap;
    for (size_t c = 0; c < cells.size(); ++c) {
        double x = t.m_vecColX[c];
        char align = t.m_columns.m_vecAlign[c];
        if (align != 'l')
            x += (t.m_vecColWidth[c] - cells[c].m_dWidth) / (align == 'c' ? 2 : 1);
        t.m_box.place(cells[c], x, baseline);
    }
    t.m_dCursor = baseline - d;
}

// Vertical rules run over the full height of the table, midway between columns.
void AddVlines(TABLE& t)
{
    size_t count = t.m_vecColWidth.size();
    double total = -t.m_dCursor;
    for (size_t c = 0; c <= count; ++c) {
        int lines = t.m_columns.m_vecRules[c];
        if (lines == 0)
            continue;
        double span = (2 * lines - 1) * t.m_dRule;
        double centre = c == 0 ? span / 2
                        : c == count ? t.m_dWidth - span / 2
                                     : (t.m_vecColX[c - 1] + t.m_vecColWidth[c - 1] + t.m_vecColX[c]) / 2;
        for (int k = 0; k < lines; ++k)
            AddRule(t.m_box, centre - span / 2 + k * 2 * t.m_dRule, t.m_dCursor, t.m_dRule, total);
    }
}

}  // namespace

TEX_BOX LayoutArray(const TEX_ARRAY& table, const LAYOUT_CTX& ctx)
{
    LAYOUT_CTX cellCtx = WithStyle(ctx, table.m_cellStyle);
    bool small = cellCtx.m_nStyle >= TEX_STYLE_SCRIPT;
    double em = ctx.size();
    size_t count = 0;
    for (const auto& row : table.m_vecRows)
        count = std::max(count, row.size());
    TABLE t(table, TableColumns(table, count));
    t.m_dRule = RuleThickness(0.04, em);
    double stretch = table.m_kind == ARRAY_CASES ? 1.2 : 1.0;  // \arraystretch of cases
    // Script-size rows have no strut and keep only TeX's \lineskip apart.
    t.m_dStrutHeight = small ? 0 : mg_dStrutHeightEm * em * stretch;
    t.m_dStrutDepth = small ? 0 : mg_dStrutDepthEm * em * stretch;
    t.m_dRowGap = small ? std::max(TEX_MIN_GAP_PX, 0.1 * em) : 0;
    if (table.m_kind == ARRAY_ALIGNED || table.m_kind == ARRAY_GATHERED)
        t.m_dRowGap = mg_dJotPt * TEX_PX_PER_PT;
    LayCells(t, cellCtx);
    PlaceColumns(t, ctx, cellCtx);
    for (size_t r = 0; r < t.m_vecCells.size(); ++r) {
        AddHlines(t, r);
        PlaceRow(t, r, ctx);
    }
    AddHlines(t, t.m_vecCells.size());
    AddVlines(t);
    t.m_box.m_dWidth = t.m_dWidth;
    t.m_box.m_dDepth = -t.m_dCursor;
    // Rule 8: the table is centred on the axis, like \vcenter.
    TEX_BOX centred = CenteredOnAxis(t.m_box, ctx);
    if (table.m_nLeft == 0 && table.m_nRight == 0)
        return centred;
    double target = DelimiterTarget(centred.m_dHeight, centred.m_dDepth, ctx);
    TEX_BOX gap = KernBox(table.m_kind == ARRAY_CASES ? 0.2 * em : 0.1 * em);
    return Row({DelimiterBox(table.m_nLeft, target, ctx), gap, centred, gap, DelimiterBox(table.m_nRight, target, ctx)});
}

}  // namespace tex
