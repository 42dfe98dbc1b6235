// Render times of the TeX views: a unit row at \normalsize, a detail page and
// a formula preview at \large, through the same pipeline as the views
// (bracket processing included), as one bit per pixel and as the coverage a
// 2x screen shows. The fonts are opened once, before timing.
#include <benchmark/benchmark.h>

#include "tex/TexRender.h"

namespace {

const char* const mg_szUnit = "m\\hspace{1}(kg\\cdot m/s^2)";
const char* const mg_szTextUnit = "\\text{m/s}^2";
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

// A one-bit render (state.range(0) == 0) or a coverage render at that scale.
void RenderEither(benchmark::State& state, const char* text, const char* size)
{
    WarmUp();
    double scale = static_cast<double>(state.range(0));
    for (auto _ : state) {
        if (scale == 0)
            benchmark::DoNotOptimize(tex::renderExpression(text, size));
        else
            benchmark::DoNotOptimize(tex::renderExpressionGray(text, size, scale));
    }
}

void BM_RenderUnit(benchmark::State& state)
{
    RenderEither(state, mg_szUnit, "\\normalsize");
}

void BM_RenderTextUnit(benchmark::State& state)
{
    RenderEither(state, mg_szTextUnit, "\\normalsize");
}

void BM_RenderFormula(benchmark::State& state)
{
    RenderEither(state, mg_szFormula, "\\large");
}

void BM_RenderDetailPage(benchmark::State& state)
{
    RenderEither(state, mg_szDetailPage, "\\large");
}

}  // namespace

// Argument 0: one bit per pixel; 2: coverage for a 2x screen.
BENCHMARK(BM_RenderUnit)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderTextUnit)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderFormula)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);
BENCHMARK(BM_RenderDetailPage)->Arg(0)->Arg(2)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
