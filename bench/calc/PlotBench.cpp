// The chart drawn again after a change of value: the sweep's points handed
// to the chart view and the view painted, offscreen. Target: under a frame
// (16 ms) for the page's 200 points.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPixmap>
#include <array>

#include "SweepFormulas.h"
#include "calc/FormulaChartView.h"

namespace {

void BM_ChartRedraw(benchmark::State& state)
{
    const int nPoints = static_cast<int>(state.range(0));
    FormulaSweep sweep(ProjectileRange(), 0, 2, {"", "20", "", "9.80665"}, SWEEP_RANGE{0, 90, nPoints, false});
    sweep.CalculateAll();
    FormulaChartView view;
    view.resize(320, 274);
    view.show();
    const PLOT_AXIS x{"Launch angle", "\\theta", "^o", false};
    const PLOT_AXIS y{"Horizontal range", "R", "\\text{m}", false};
    QPixmap target(view.size());
    for (auto _ : state) {
        view.setPlot(x, y, 0, 90, sweep.Points());
        QApplication::processEvents();
        static_cast<QWidget&>(view).render(&target);
    }
}

}  // namespace

BENCHMARK(BM_ChartRedraw)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
