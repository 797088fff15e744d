// What a figure window costs after a property change, on the path a callback takes: set by
// name, then the event loop draws what is pending. An axes with 40 curves of 4,000 points
// (the diagram window), a curve of a raw recording's length, and series added to the main
// window's result-cache axes, which lies outside its window; an eraser's trace over an image.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>

#include "qt/application.h"
#include "qt/figure_window.h"
#include "qt/qt_host.h"
#include "runtime/graphics/graphics.h"
#include "runtime/graphics/operations.h"
#include "support/paint_counter.h"

namespace {

using rt::Handle;
using rt::Value;

// A Qt host over the process-wide model for one benchmark, with a shown figure of 800 x 600.
class Session {
public:
    Session() {
        rt::graphics().reset();
        host_ = std::make_unique<rt::QtHost>();
        previous_ = rt::setHost(host_.get());
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
        figure = rt::figure(
            {Value("Units"), Value("pixels"), Value("Position"), Value::row({100, 100, 800, 600})});
        host_->flush();
        host_->window(figure)->installEventFilter(&counter);
    }
    ~Session() {
        if (rt::FigureWindow* w = host_->window(figure)) w->removeEventFilter(&counter);
        rt::graphics().reset();
        rt::setHost(previous_);
        host_.reset();
    }
    void flush() { host_->flush(); }
    rt::FigureWindow& window() { return *host_->window(figure); }

    Handle figure = 0;
    PaintCounter counter;

private:
    std::unique_ptr<rt::QtHost> host_;
    rt::Host* previous_ = nullptr;
};

Value ramp(std::size_t n, double phase) {
    std::vector<double> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = std::sin(0.01 * double(i) + phase) + 0.1 * phase;
    return Value::row(std::move(v));
}

Value index(std::size_t n) {
    std::vector<double> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = double(i);
    return Value::row(std::move(v));
}

// 40 curves of 4,000 points in one axes; returns the lines.
std::vector<Handle> fortyCurves() {
    rt::axes({});
    rt::hold("on");
    std::vector<Handle> lines;
    const Value x = index(4000);
    for (int k = 0; k < 40; ++k) lines.push_back(rt::plot({x, ramp(4000, 0.1 * k)}).at(0));
    return lines;
}

// Sets `property` of one of the 40 curves to a and b in turn, and lets the window draw.
void repaintAfter(benchmark::State& state, const char* property, const Value& a, const Value& b) {
    Session s;
    const auto lines = fortyCurves();
    s.flush();
    const int before = s.counter.paints;
    int k = 0;
    for (auto _ : state) {
        rt::graphics().set(lines[7], property, ++k % 2 ? a : b);
        s.flush();
    }
    state.counters["paints/change"] =
        double(s.counter.paints - before) / double(state.iterations());
}

void BM_RepaintAfterTag(benchmark::State& state) {
    repaintAfter(state, "Tag", Value("a"), Value("b"));
}
BENCHMARK(BM_RepaintAfterTag)->Unit(benchmark::kMillisecond);

void BM_RepaintAfterColour(benchmark::State& state) {
    repaintAfter(state, "Color", Value("r"), Value("b"));
}
BENCHMARK(BM_RepaintAfterColour)->Unit(benchmark::kMillisecond);

void BM_RepaintAfterNewData(benchmark::State& state) {
    repaintAfter(state, "YData", ramp(4000, 0.5), ramp(4000, 0.7));
}
BENCHMARK(BM_RepaintAfterNewData)->Unit(benchmark::kMillisecond);

// A recording's length: 1,000,000 points across the axes; the window repaints unchanged.
void BM_RepaintMillionPointLine(benchmark::State& state) {
    Session s;
    rt::axes({});
    rt::plot({index(1000000), ramp(1000000, 0)});
    s.flush();
    for (auto _ : state) s.window().repaint();
}
BENCHMARK(BM_RepaintMillionPointLine)->Unit(benchmark::kMillisecond);

// The result cache: an axes outside its window holding 399 series of 5,000 points; the
// 400th is plotted into it (and deleted again outside the timing).
void BM_AddSeriesToHiddenAxes(benchmark::State& state) {
    Session s;
    const Handle cache = rt::axes({Value("Position"), Value::row({-10, -10, 0.1, 0.1})});
    rt::hold("on");
    const Value x = index(5000);
    for (int k = 0; k < 399; ++k) rt::plot({x, ramp(5000, 0.01 * k)});
    s.flush();
    const Value y = ramp(5000, 9);
    for (auto _ : state) {
        rt::graphics().setCurrentFigure(s.figure);
        rt::graphics().set(s.figure, "CurrentAxes", Value(cache));
        const Handle h = rt::plot({x, y}).at(0);
        s.flush();
        state.PauseTiming();
        rt::graphics().remove(h);
        s.flush();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_AddSeriesToHiddenAxes)->Unit(benchmark::kMicrosecond);

// The eraser: a stroke's trace grows by a point over a 1501 x 500 scaled image at every
// mouse motion; the image's colours are kept, only the trace is new.
void BM_TraceOverImage(benchmark::State& state) {
    Session s;
    rt::axes({});
    std::vector<double> c(1501 * 500);
    for (std::size_t k = 0; k < c.size(); ++k) c[k] = double(k % 1009);
    rt::image({Value::matrix(1501, 500, std::move(c)), Value("CDataMapping"), Value("scaled")});
    rt::hold("on");
    const Handle trace = rt::line({Value::row({1.0}), Value::row({1.0})});
    s.flush();
    std::vector<double> x{1}, y{1};
    for (auto _ : state) {
        x.push_back(double(x.size() % 500));
        y.push_back(double(3 * y.size() % 1501));
        rt::graphics().set(trace, {Value("XData"), Value::row(x), Value("YData"), Value::row(y)});
        s.flush();
        if (x.size() > 200) x.resize(1), y.resize(1);
    }
}
BENCHMARK(BM_TraceOverImage)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    rt::ensureApplication();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
