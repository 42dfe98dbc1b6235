// A 1,000-point sweep of a book formula: the projectile's range over the
// launch angle (degree mode, a linear axis) and an LC circuit's resonance
// over six decades of capacitance (a logarithmic axis). Target: <= 100 ms.
#include <benchmark/benchmark.h>

#include <array>

#include "SweepFormulas.h"
#include "calc/FormulaSweep.h"

namespace {

void RunSweep(benchmark::State& state, const _tag_formula_detail& det, int nY, int nX,
              const std::vector<std::string>& vecParams, const SWEEP_RANGE& range)
{
    size_t nValid = 0;
    for (auto _ : state) {
        FormulaSweep sweep(det, nY, nX, vecParams, range);
        sweep.CalculateAll();
        nValid = static_cast<size_t>(std::count_if(sweep.Points().begin(), sweep.Points().end(),
                                                   [](const SWEEP_POINT& p) { return p.bValid; }));
        benchmark::DoNotOptimize(nValid);
    }
    if (nValid != static_cast<size_t>(range.nPoints))
        state.SkipWithError("a point has no value");
    state.counters["us/point"] = benchmark::Counter(static_cast<double>(range.nPoints) * state.iterations(),
                                                    benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void BM_SweepRangeOverAngle(benchmark::State& state)
{
    RunSweep(state, ProjectileRange(), 0, 2, {"", "20", "", "9.80665"}, SWEEP_RANGE{0, 90, 1000, false});
}

void BM_SweepResonanceOverCapacitance(benchmark::State& state)
{
    RunSweep(state, LcResonance(), 0, 2, {"", "0.01", ""}, SWEEP_RANGE{1e-12, 1e-6, 1000, true});
}

}  // namespace

BENCHMARK(BM_SweepRangeOverAngle)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SweepResonanceOverCapacitance)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

BENCHMARK_MAIN();
