// Reading and writing back the CData of a 1501 x 500 spectrogram image by name, as the eraser
// does on every stroke: unchanged, with one element changed, and with the window's repaint
// (offscreen) after the change.
#include <benchmark/benchmark.h>

#include <QApplication>

#include "qt/figure_window.h"
#include "qt/qt_host.h"
#include "runtime/graphics/graphics.h"
#include "runtime/graphics/operations.h"

namespace {

rt::Handle spectrogramImage() {
    rt::graphics().reset();
    rt::figure();
    std::vector<double> d(1501 * 500);
    for (std::size_t k = 0; k < d.size(); ++k) d[k] = static_cast<double>(k % 1009) / 1009;
    return rt::image({rt::Value("CData"), rt::Value::matrix(1501, 500, std::move(d))});
}

void BM_CDataGetSetUnchanged(benchmark::State& state) {
    const rt::Handle h = spectrogramImage();
    rt::Graphics& g = rt::graphics();
    for (auto _ : state) g.set(h, "CData", g.get(h, "CData"));
}
BENCHMARK(BM_CDataGetSetUnchanged)->Unit(benchmark::kMillisecond);

// The eraser's write: one element changes (always a new value, so the set is a change).
void BM_CDataGetModifySet(benchmark::State& state) {
    const rt::Handle h = spectrogramImage();
    rt::Graphics& g = rt::graphics();
    double x = 0;
    for (auto _ : state) {
        rt::Value c = g.get(h, "CData");
        c.re()[750] = (x += 1e-3);
        g.set(h, "CData", c);
    }
}
BENCHMARK(BM_CDataGetModifySet)->Unit(benchmark::kMillisecond);

// The same with the figure shown offscreen and repainted after each write.
void BM_CDataGetModifySetRepaint(benchmark::State& state) {
    rt::QtHost host;
    rt::Host* previous = rt::setHost(&host);
    const rt::Handle h = spectrogramImage();
    rt::Graphics& g = rt::graphics();
    rt::FigureWindow* w = host.window(g.parent(g.parent(h)));
    if (!w) {
        state.SkipWithError("no window");
        rt::setHost(previous);
        return;
    }
    w->show();
    QApplication::processEvents();
    double x = 0;
    for (auto _ : state) {
        rt::Value c = g.get(h, "CData");
        c.re()[750] = (x += 1e-3);
        g.set(h, "CData", c);
        w->repaint();
    }
    rt::graphics().reset();
    rt::setHost(previous);
}
BENCHMARK(BM_CDataGetModifySetRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
}
