// A diagram window at the end of a long session: 20 power/torque runs of 2,000 points each.
// Measures what the evaluation's hand-over costs for the 20th run (plot_diag by name, with
// its ax_lims), a run's checkbox (toggle_vis and ax_lims through the callback text), and
// redrawing the window as the screen shows it (whole window, and after a zoom). The paints a
// run and a checkbox cost are counted on the way the screen gets them: the change, then the
// event loop draws what is pending. With
// ROVANTEL_BENCH_HEADLESS=1 no window exists: the first two then measure the object model alone
// (the redraws need windows and are skipped).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <cstdlib>

#include "apps/rovantel_function_table.h"
#include "qt/application.h"
#include "qt/figure_window.h"
#include "qt/qt_host.h"
#include "qt/scene_from_model.h"
#include "runtime/dispatch/callback.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/zoom.h"
#include "runtime/value/eigen.h"
#include "shell/panel.h"
#include "shell/strings.h"
#include "support/paint_counter.h"

namespace shell {
const Strings& text_table() { return german_table(); }
}  // namespace shell

namespace {

using rt::Value;

constexpr int kRuns = 20;
constexpr std::size_t kPoints = 2000;

struct Session {
    rt::FunctionTable table = apps::rovantel_function_table();
    rt::FunctionTable builtins;
    std::unique_ptr<rt::CallbackInterpreter> interp;
    std::unique_ptr<rt::QtHost> host;

    Session() {
        rt::graphics();  // made first, so it outlives the session at exit
        rt::register_graphics_builtins(builtins);
        interp = std::make_unique<rt::CallbackInterpreter>(table, &builtins);
        if (std::getenv("ROVANTEL_BENCH_HEADLESS")) return;
        host = std::make_unique<rt::QtHost>();
        host->setEvaluator([this](const std::string& code) { interp->eval(code); });
        rt::setHost(host.get());
    }
    ~Session() {
        rt::graphics().reset();
        rt::setHost(nullptr);
    }

    void start() {
        rt::graphics().reset();
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
        interp->eval("rovantel");
    }

    // The i-th run: power in PS and torque in Nm over 2,000 engine speeds.
    rt::Values run(int i) const {
        std::vector<double> rpm(kPoints), y(2 * kPoints);
        for (std::size_t k = 0; k < kPoints; ++k) {
            rpm[k] = 2500 + 7000.0 * static_cast<double>(k) / (kPoints - 1) + i;
            const double t = (rpm[k] - 8200) / 7000;
            y[k] = (60 + i) * (1 - 1.3 * t * t);
            y[kPoints + k] = y[k] / rpm[k] * 7024;
        }
        return {rt::rowVector(rpm),
                Value::matrix(kPoints, 2, y),
                Value::row({0.04 * i, 0.5, 1 - 0.04 * i}),
                Value("run " + std::to_string(i)),
                Value(1.0),
                Value(1.0),
                Value(1.0)};
    }

    void add(int i) {
        shell::set_tagged("wav_file", "String", Value("/runs/run" + std::to_string(i) + ".wav"));
        table.call("plot_diag", run(i), 0);
    }

    rt::Handle window() const {
        return rt::findobj({Value("Type"), Value("figure"), Value("Name"),
                            Value(u"Diagramme: RPM [1/min] - Leistung[PS]/Drehm[Nm] ")})
            .scalar();
    }
};

Session& session() {
    static Session s;
    return s;
}

void BM_PlotDiagTwentiethRun(benchmark::State& state) {
    Session& s = session();
    for (auto _ : state) {
        state.PauseTiming();
        s.start();
        for (int i = 1; i < kRuns; ++i) s.add(i);
        state.ResumeTiming();
        s.add(kRuns);
    }
}
BENCHMARK(BM_PlotDiagTwentiethRun)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_CheckboxOfARun(benchmark::State& state) {
    Session& s = session();
    s.start();
    for (int i = 1; i <= kRuns; ++i) s.add(i);
    const rt::Handle box =
        rt::findobj({Value(s.window()), Value("Style"), Value("checkbox")}).real().back();
    const std::u16string callback = rt::get(Value(box), "Callback").text16();
    for (auto _ : state) s.interp->eval(callback);
}
BENCHMARK(BM_CheckboxOfARun)->Unit(benchmark::kMillisecond);

// The paints of the diagram window (its axes are drawn in each) for the n-th run, handed
// over inside a callback as the evaluation hands it, then the event loop until nothing is
// pending; "widgets" counts every widget's paint (a moved control draws itself).
void BM_PaintsForRun(benchmark::State& state) {
    Session& s = session();
    if (!s.host) return state.SkipWithError("no windows");
    const int n = static_cast<int>(state.range(0));
    PaintCounter window, widgets;
    double paints = 0, all = 0;
    for (auto _ : state) {
        state.PauseTiming();
        s.start();
        for (int i = 1; i < n; ++i) s.add(i);
        s.host->flush();
        if (n > 1) s.host->window(s.window())->installEventFilter(&window);
        window.paints = widgets.paints = 0;
        qApp->installEventFilter(&widgets);
        state.ResumeTiming();
        s.host->runAsCallback([&] { s.add(n); });
        if (n == 1) s.host->window(s.window())->installEventFilter(&window);
        s.host->flush();
        state.PauseTiming();
        qApp->removeEventFilter(&widgets);
        s.host->window(s.window())->removeEventFilter(&window);
        paints += window.paints;
        all += widgets.paints;
        state.ResumeTiming();
    }
    state.counters["paints"] = paints / double(state.iterations());
    state.counters["widgets"] = all / double(state.iterations());
}
BENCHMARK(BM_PaintsForRun)->Arg(1)->Arg(10)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(5);

// A run's checkbox with 20 runs, from the click to the window painted: the box's new state
// into the model, its callback run as a click runs it, then the event loop.
void BM_CheckboxToPaint(benchmark::State& state) {
    Session& s = session();
    if (!s.host) return state.SkipWithError("no windows");
    s.start();
    for (int i = 1; i <= kRuns; ++i) s.add(i);
    s.host->flush();
    const rt::Handle box =
        rt::findobj({Value(s.window()), Value("Style"), Value("checkbox")}).real().back();
    const std::string callback = rt::utf8(rt::get(Value(box), "Callback").text16());
    PaintCounter window, widgets;
    s.host->window(s.window())->installEventFilter(&window);
    qApp->installEventFilter(&widgets);
    bool on = true;
    for (auto _ : state) {
        on = !on;
        rt::graphics().setFromHost(box, "Value", Value(on ? 1.0 : 0.0));
        s.host->runUserCallback(callback);
        s.host->flush();
    }
    qApp->removeEventFilter(&widgets);
    s.host->window(s.window())->removeEventFilter(&window);
    state.counters["paints"] = double(window.paints) / double(state.iterations());
    state.counters["widgets"] = double(widgets.paints) / double(state.iterations());
}
BENCHMARK(BM_CheckboxToPaint)->Unit(benchmark::kMillisecond);

void BM_RedrawWindow(benchmark::State& state) {
    Session& s = session();
    if (!s.host) return state.SkipWithError("no windows");
    s.start();
    for (int i = 1; i <= kRuns; ++i) s.add(i);
    const rt::Handle fig = s.window();
    rt::FigureWindow* w = s.host->window(fig);
    QImage target(w->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        w->render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
    state.counters["width"] = w->width();
}
BENCHMARK(BM_RedrawWindow)->Unit(benchmark::kMillisecond);

void BM_ZoomInAndRedraw(benchmark::State& state) {
    Session& s = session();
    if (!s.host) return state.SkipWithError("no windows");
    s.start();
    for (int i = 1; i <= kRuns; ++i) s.add(i);
    const rt::Handle fig = s.window();
    const rt::Handle ax =
        shell::tagged(u"DiagAxes" + rt::get(Value(fig), "Name").text16()).scalar();
    rt::FigureWindow* w = s.host->window(fig);
    QImage target(w->size(), QImage::Format_RGB32);
    for (auto _ : state) {
        rt::zoomIn(ax, 6000, 30);
        w->render(&target);
        rt::zoomReset(ax);
        benchmark::DoNotOptimize(target.bits());
    }
}
BENCHMARK(BM_ZoomInAndRedraw)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    rt::ensureApplication(&argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
