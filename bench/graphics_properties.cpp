// Reading and writing common properties by name, as callbacks and the system's functions do:
// through rt::get and rt::set with values, on a window of controls and an axes with curves.
#include <benchmark/benchmark.h>

#include <string>

#include "runtime/graphics/graphics.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"

namespace {

struct Session {
    rt::Value edit, checkbox, axes, line;
};

Session buildSession() {
    rt::graphics().reset();
    const rt::Handle f = rt::makeFigure({{"Tag", "Main Figure"}});
    rt::setProps(0.0, {{"DefaultUIcontrolUnits", "normalized"}});
    Session s;
    for (int i = 0; i < 58; ++i)
        rt::makeControl(f, "edit", {0.1, 0.01 * i, 0.2, 0.05},
                        {{"Tag", "field" + std::to_string(i)}, {"String", "200.0"}});
    s.edit = rt::makeControl(f, "edit", {0.35, 0.45, 0.105, 0.05}, {{"String", "1.325"}});
    s.checkbox = rt::makeControl(f, "checkbox", {0.5, 0.5, 0.4, 0.05}, {{"Value", 1}});
    s.axes = rt::makeAxes(f, {{"Position", {0.35, 0.12, 0.58, 0.78}}});
    const rt::Value x = rt::Value::row(std::vector<double>(4000, 1.0));
    for (int i = 0; i < 40; ++i)
        s.line = rt::makeLine(s.axes.scalar(), {{"XData", x}, {"YData", x}, {"Tag", "run"}});
    return s;
}

void GetEditString(benchmark::State& state) {
    const Session s = buildSession();
    for (auto _ : state) benchmark::DoNotOptimize(rt::get(s.edit, "String"));
}
BENCHMARK(GetEditString);

void GetCheckboxValue(benchmark::State& state) {
    const Session s = buildSession();
    for (auto _ : state) benchmark::DoNotOptimize(rt::get(s.checkbox, "Value"));
}
BENCHMARK(GetCheckboxValue);

void GetControlPosition(benchmark::State& state) {
    const Session s = buildSession();
    for (auto _ : state) benchmark::DoNotOptimize(rt::get(s.edit, "Position"));
}
BENCHMARK(GetControlPosition);

void GetAxesXLim(benchmark::State& state) {
    const Session s = buildSession();
    for (auto _ : state) benchmark::DoNotOptimize(rt::get(s.axes, "XLim"));
}
BENCHMARK(GetAxesXLim);

void GetLineVisible(benchmark::State& state) {
    const Session s = buildSession();
    for (auto _ : state) benchmark::DoNotOptimize(rt::get(s.line, "Visible"));
}
BENCHMARK(GetLineVisible);

void SetEditStringUnchanged(benchmark::State& state) {
    const Session s = buildSession();
    const rt::Values pairs{"String", "1.325"};
    for (auto _ : state) rt::set(s.edit, pairs);
}
BENCHMARK(SetEditStringUnchanged);

void SetEditStringChanged(benchmark::State& state) {
    const Session s = buildSession();
    const rt::Values a{"String", "1.325"}, b{"String", "1.330"};
    bool flip = false;
    for (auto _ : state) rt::set(s.edit, (flip = !flip) ? b : a);
}
BENCHMARK(SetEditStringChanged);

void SetCheckboxValue(benchmark::State& state) {
    const Session s = buildSession();
    const rt::Values on{"Value", 1.0}, off{"Value", 0.0};
    bool flip = false;
    for (auto _ : state) rt::set(s.checkbox, (flip = !flip) ? off : on);
}
BENCHMARK(SetCheckboxValue);

void SetLineVisible(benchmark::State& state) {
    const Session s = buildSession();
    const rt::Values on{"Visible", "on"}, off{"Visible", "off"};
    bool flip = false;
    for (auto _ : state) rt::set(s.line, (flip = !flip) ? off : on);
}
BENCHMARK(SetLineVisible);

void SetLineColor(benchmark::State& state) {
    const Session s = buildSession();
    const rt::Values red{"Color", "r"}, blue{"Color", rt::Value::row({0, 0, 1})};
    bool flip = false;
    for (auto _ : state) rt::set(s.line, (flip = !flip) ? red : blue);
}
BENCHMARK(SetLineColor);

void SetLineTag(benchmark::State& state) {
    const Session s = buildSession();
    const rt::Values a{"Tag", "run a"}, b{"Tag", "run b"};
    bool flip = false;
    for (auto _ : state) rt::set(s.line, (flip = !flip) ? b : a);
}
BENCHMARK(SetLineTag);

void SetAxesXLim(benchmark::State& state) {
    const Session s = buildSession();
    const rt::Values a{"XLim", rt::Value::row({0, 10})}, b{"XLim", rt::Value::row({0, 20})};
    bool flip = false;
    for (auto _ : state) rt::set(s.axes, (flip = !flip) ? b : a);
}
BENCHMARK(SetAxesXLim);

}  // namespace

BENCHMARK_MAIN();
