// ExprEval on formula expressions as the calculation screen sends them
// (values in brackets in place of the aliases), and the calculus functions.
#include <benchmark/benchmark.h>

#include <cstdio>

#include "engine/ExprStandardize.h"

namespace {

struct Formula {
    const char* lpszName;
    const char* lpszText;
};

const Formula mg_arrFormulas[] = {
    {"a*b/(c+d)^2", "(3.2)*(4.5)/((1.2)+(0.8))^2"},
    {"sqrt(a^2+b^2)", "sqrt((3.5)^2+(12.25)^2)"},
    {"2*pi*sqrt(l/g)", "2*pi*sqrt((2.5)/(9.81))"},
    {"m*v^2/2", "(1250)*(27.8)^2/2"},
    {"G*m*M/r^2", "(6.674*10^(-11))*(5.972*10^24)*(70)/((6.371*10^6))^2"},
    {"sin(a)*v^2/g", "sin(2*(35))*(20)^2/(9.81)"},
    {"n*R*T/V", "(2.5)*(8.314)*(298.15)/(0.0224)"},
    {"ln(p1/p2)*R*T", "ln((101325)/(50000))*(8.314)*(310)"},
    {"1/(1/R1+1/R2)", "1/(1/(4.7)+1/(2.2))"},
    {"P*(1+r/n)^(n*t)", "(1000)*(1+(0.05)/(12))^((12)*(10))"},
};

void BM_ExprEval(benchmark::State& state)
{
    const Formula& formula = mg_arrFormulas[state.range(0)];
    state.SetLabel(formula.lpszName);
    for (auto _ : state) {
        ClearErrorCode();
        SetMode(MODE_DEGREES);
        REG result = ExprEval(formula.lpszText, 0, 10);
        benchmark::DoNotOptimize(result);
    }
    if (GetErrorCode() != 0)
        state.SkipWithError(GetErrorMessage(GetErrorCode()));
}
BENCHMARK(BM_ExprEval)->DenseRange(0, 9)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

void BM_Calculus(benchmark::State& state, const char* lpszText)
{
    for (auto _ : state) {
        ClearErrorCode();
        SetMode(MODE_RADIANS);
        REG result = ExprEval(lpszText, 0, 10);
        benchmark::DoNotOptimize(result);
    }
    if (GetErrorCode() != 0)
        state.SkipWithError(GetErrorMessage(GetErrorCode()));
}
BENCHMARK_CAPTURE(BM_Calculus, fnInt_x2sinx, "fnInt(x^2*sin(x), x, 0, 2)")
    ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Calculus, fnInt_gauss, "fnInt(e^(-x^2/2), x, -3, 3)")
    ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Calculus, fnRoot_cubic, "fnRoot(x^3-2*x-5, x, 2, 3)")
    ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Calculus, fnRoot_kepler, "fnRoot(x-0.3*sin(x)-1, x, 0, 3)")
    ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_CAPTURE(BM_Calculus, fnDeriv_x3, "fnDeriv(x^3*sin(x), x, 2)")
    ->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);

}  // namespace

BENCHMARK_MAIN();
