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

}  // namespace

TEX_BOX LayoutArray(const TEX_ARRAY& table, const LAYOUT_CTX& ctx)
{
    LAYOUT_CTX cellCtx = WithStyle(ctx, table.m_cellStyle);
    bool small = cellCtx.m_nStyle >= TEX_STYLE_SCRIPT;
    double em = ctx.size();
    size_t count = 0;
    for (const auto& row : table.m_vecRows)
        count = std::max(count, row.size());
    COLUMNS columns = TableColumns(table, count);
    count = columns.m_vecAlign.size();

    std::vector<std::vector<TEX_BOX>> cells;
    std::vector<double> colWidth(count, 0);
    for (const auto& row : table.m_vecRows) {
        std::vector<TEX_BOX> laid;
        for (size_t c = 0; c < row.size(); ++c) {
            // "&= b": the right cell of an aligned pair starts as if after an
            // ordinary symbol, so its relation keeps its space.
            bool leadingOrd = table.m_kind == ARRAY_ALIGNED && c % 2 == 1;
            laid.push_back(LayoutList(row[c], cellCtx, false, leadingOrd));
            colWidth[c] = std::max(colWidth[c], laid.back().m_dWidth);
        }
        cells.push_back(std::move(laid));
    }
    // Arrays have \arraycolsep outside their first and last column too.
    double outer = table.m_kind == ARRAY_PLAIN && !small ? mg_dColumnSepPt / 2 * TEX_PX_PER_PT : 0;
    double rule = RuleThickness(0.04, em);
    double stretch = table.m_kind == ARRAY_CASES ? 1.2 : 1.0;  // \arraystretch of cases
    double strutHeight = small ? 0 : mg_dStrutHeightEm * em * stretch;
    double strutDepth = small ? 0 : mg_dStrutDepthEm * em * stretch;
    double rowExtra = table.m_kind == ARRAY_ALIGNED || table.m_kind == ARRAY_GATHERED ? mg_dJotPt * TEX_PX_PER_PT : 0;
    // Script-size rows only keep TeX's \lineskip apart.
    double rowGapMin = small ? std::max(TEX_MIN_GAP_PX, 0.1 * em) : 0;

    std::vector<double> colX(count, 0);
    // Edge rules sit at the very edge, with the outer column space inside them.
    double x = columns.m_vecRules[0] * 2 * rule + outer;
    for (size_t c = 0; c < count; ++c) {
        if (c > 0)
            x += ColumnSep(table, c, ctx, cellCtx) + columns.m_vecRules[c] * rule;
        colX[c] = x;
        x += colWidth[c];
    }
    double width = x + outer + columns.m_vecRules[count] * 2 * rule;

    // Rows go down from the top edge at 0; \hline rules sit between them, a
    // double \hline a rule apart (at least a blank pixel row).
    TEX_BOX box;
    double cursor = 0;
    auto hlines = [&](size_t boundary) {
        int lines = boundary < table.m_vecHlines.size() ? table.m_vecHlines[boundary] : 0;
        for (int k = 0; k < lines; ++k) {
            if (k > 0)
                cursor -= std::max(rule, TEX_MIN_GAP_PX);
            AddRule(box, 0, cursor - rule, width, rule);
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
        double gap = r > 0 ? rowExtra + rowGapMin + DimenPixels(table.m_vecRowGaps[r - 1], ctx) : 0;
        double baseline = cursor - h - gap;
        for (size_t c = 0; c < cells[r].size(); ++c) {
            const TEX_BOX& cell = cells[r][c];
            double cx = colX[c];
            if (columns.m_vecAlign[c] == 'c')
                cx += (colWidth[c] - cell.m_dWidth) / 2;
            else if (columns.m_vecAlign[c] == 'r')
                cx += colWidth[c] - cell.m_dWidth;
            box.place(cell, cx, baseline);
        }
        cursor = baseline - d;
    }
    hlines(cells.size());
    double total = -cursor;
    // Vertical rules run over the full height of the table, midway between columns.
    for (size_t c = 0; c <= count; ++c) {
        int lines = columns.m_vecRules[c];
        if (lines == 0)
            continue;
        double span = (2 * lines - 1) * rule;
        double centre = c == 0 ? span / 2 : c == count ? width - span / 2 : (colX[c - 1] + colWidth[c - 1] + colX[c]) / 2;
        for (int k = 0; k < lines; ++k)
            AddRule(box, centre - span / 2 + k * 2 * rule, cursor, rule, total);
    }
    box.m_dWidth = width;
    box.m_dDepth = total;
    // Rule 8: the table is centred on the axis, like \vcenter.
    TEX_BOX centred = CenteredOnAxis(box, ctx);
    if (table.m_nLeft == 0 && table.m_nRight == 0)
        return centred;
    double target = DelimiterTarget(centred.m_dHeight, centred.m_dDepth, ctx);
    TEX_BOX gap = KernBox(table.m_kind == ARRAY_CASES ? 0.2 * em : 0.1 * em);
    return Row({DelimiterBox(table.m_nLeft, target, ctx), gap, centred, gap, DelimiterBox(table.m_nRight, target, ctx)});
}

}  // namespace tex
