// The erase window on a 60 s stereo recording at 44.1 kHz, as the evaluation opens it by name
// and as the user works in it with the mouse (offscreen windows): opening it up to the first
// drawn frame (after a first opening has made the transform plans), and one eraser stroke of 50
// positions (press, 48 motions, release) through the window's mouse events, with the release's
// clearing, re-trace and redraw timed alone.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QMouseEvent>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <numbers>

#include "apps/rovantel_function_table.h"
#include "editor/editor_window.h"
#include "qt/figure_window.h"
#include "qt/qt_host.h"
#include "runtime/dispatch/callback.h"
#include "runtime/graphics/operations.h"
#include "runtime/value/eigen.h"
#include "shell/strings.h"

namespace shell {
const Strings& text_table() { return german_table(); }
}  // namespace shell

namespace {

using rt::Value;

// The wait runs one scripted action first, then serves events as usual.
class ScriptedWaitHost : public rt::QtHost {
public:
    std::function<void()> action;
    void serveUntil(const std::function<bool()>& done) override {
        if (action) {
            auto a = std::move(action);
            action = nullptr;
            a();
        }
        rt::QtHost::serveUntil(done);
    }
};

Eigen::MatrixXd run_60s() {
    const double FS = 44100;
    const Eigen::Index n = 60 * 44100;
    Eigen::MatrixXd Y(n, 2);
    double phase = 0;
    for (Eigen::Index i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / FS;
        phase += 2 * std::numbers::pi * (2500 + 7000 * t / 60) / 60 * 3 / FS;
        Y(i, 0) = 0.5 * std::sin(phase);
        Y(i, 1) = 0.3 * std::sin(1.7 * phase);
    }
    return Y;
}

struct Session {
    rt::FunctionTable table = apps::rovantel_function_table();
    rt::FunctionTable builtins;
    std::unique_ptr<rt::CallbackInterpreter> interp;
    std::unique_ptr<ScriptedWaitHost> host;
    const Eigen::MatrixXd Y = run_60s();
    // As the evaluation hands them over; built once, so that the recording is not copied
    // into the call on every iteration.
    const rt::Values args{rt::fromMatrix(Y), Value(44100.0), Value(1.0),    Value(3.0),
                          shell::strings(),  Value(2000.0),  Value(10000.0)};

    Session() {
        rt::register_graphics_builtins(builtins);
        interp = std::make_unique<rt::CallbackInterpreter>(table, &builtins);
        host = std::make_unique<ScriptedWaitHost>();
        host->setEvaluator([this](const std::string& code) { interp->eval(code); });
        rt::setHost(host.get());
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
        interp->eval("rovantel");
    }
    ~Session() {
        rt::graphics().reset();
        rt::setHost(nullptr);
    }

    const shell::Strings& st() const { return shell::german_table(); }
    rt::Handle window() const { return editor::editor_window(st().cut_File); }

    // era_file_spect by name; `user` runs inside its wait, then the user cancels.
    void erase_window(const std::function<void()>& user) {
        host->action = [this, user] {
            user();
            const Value h = rt::findobj({Value(window()), Value("String"), Value(st().cancel)});
            interp->eval(rt::get(h, "Callback").text16());
        };
        table.call("era_file_spect", args, 4);
    }

    // A mouse event on the erase window at (time, rpm) of its axes.
    void mouse(QEvent::Type type, double time, double rpm) {
        rt::FigureWindow* w = host->window(window());
        const rt::Handle ax = editor::editor_axes(st().cut_File);
        const rt::Rect r = rt::graphics().pixelPosition(ax);
        const auto xl = rt::get(Value(ax), "XLim").real();
        const auto yl = rt::get(Value(ax), "YLim").real();
        const QPointF at(r[0] + (time - xl[0]) / (xl[1] - xl[0]) * r[2],
                         w->height() - (r[1] + (rpm - yl[0]) / (yl[1] - yl[0]) * r[3]));
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &e);
    }
};

Session& session() {
    static Session s;
    return s;
}

void BM_OpenEraseWindow(benchmark::State& state) {
    Session& s = session();
    s.erase_window([] {});  // the transform plans are made once per process
    for (auto _ : state) s.erase_window([&] { s.host->flush(); });
}
BENCHMARK(BM_OpenEraseWindow)->Unit(benchmark::kMillisecond)->Iterations(3);

// Press at 10 s, 48 motions to 30 s along the tone, release at 30 s, and the redraw.
void stroke(Session& s, benchmark::State* timeRelease) {
    auto rpm = [](double t) { return 2500 + 7000 * t / 60; };
    s.mouse(QEvent::MouseButtonPress, 10, rpm(10));
    for (int k = 1; k <= 48; ++k) {
        const double t = 10 + 20.0 * k / 49;
        s.mouse(QEvent::MouseMove, t, rpm(t));
    }
    if (timeRelease) timeRelease->ResumeTiming();
    s.mouse(QEvent::MouseButtonRelease, 30, rpm(30));
    s.host->flush();
}

void BM_EraserStroke(benchmark::State& state) {
    Session& s = session();
    s.erase_window([&] {
        s.host->flush();
        for (auto _ : state) stroke(s, nullptr);
    });
}
BENCHMARK(BM_EraserStroke)->Unit(benchmark::kMillisecond);

void BM_EraserStrokeRelease(benchmark::State& state) {
    Session& s = session();
    s.erase_window([&] {
        s.host->flush();
        for (auto _ : state) {
            state.PauseTiming();
            stroke(s, &state);
        }
    });
}
BENCHMARK(BM_EraserStrokeRelease)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
