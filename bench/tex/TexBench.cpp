// Render times of the TeX views: a unit row at \normalsize, a detail page and
// a formula preview at \large, through the same pipeline as the views
// (bracket processing included). The fonts are opened once, before timing.
#include <benchmark/benchmark.h>

#include "tex/TexRender.h"

namespace {

const char* const mg_szUnit = "m\\hspace{1}(kg\\cdot m/s^2)";
const char* const mg_szFormula = "x_{1,2} = \\frac{-b \\pm \\sqrt{b^2 - 4ac}}{2a}";
const char* const mg_szDetailPage =
    "\\text{Formula:\\\\\\fbox{x_{1,2} = \\frac{-b \\pm \\sqrt{b^2 - 4ac}}{2a}}\\\\\\hspace{50}\\\\"
    " + x : root of the equation\\\\ + a : quadratic coefficient\\\\"
    " + b : linear coefficient\\\\ + c : constant term (offset)\\\\}\\\\";

void WarmUp()
{
    static bool done = [] {
        tex::renderExpression("x", "\\large");
        return true;
    }();
    (void)done;
}

void BM_RenderUnit(benchmark::State& state)
{
    WarmUp();
    for (auto _ : state)
        benchmark::DoNotOptimize(tex::renderExpression(mg_szUnit, "\\normalsize"));
}

void BM_RenderFormula(benchmark::State& state)
{
    WarmUp();
    for (auto _ : state)
        benchmark::DoNotOptimize(tex::renderExpression(mg_szFormula, "\\large"));
}

void BM_RenderDetailPage(benchmark::State& state)
{
    WarmUp();
    for (auto _ : state)
        benchmark::DoNotOptimize(tex::renderExpression(mg_szDetailPage, "\\large"));
}

}  // namespace

BENCHMARK(BM_RenderUnit)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderFormula)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderDetailPage)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
