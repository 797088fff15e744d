// Lookups by Tag over a tree the size of a busy session: the main window's controls, a
// result cache of line objects and three diagram windows with their runs.
#include <benchmark/benchmark.h>

#include <string>

#include "runtime/graphics/graphics.h"
#include "runtime/graphics/operations.h"

namespace {

void buildSession() {
    rt::graphics().reset();
    rt::figure({rt::Value("Tag"), rt::Value("Main Figure")});
    for (int i = 0; i < 58; ++i)
        rt::uicontrol({rt::Value("Style"), rt::Value("edit"), rt::Value("Tag"),
                       rt::Value("field" + std::to_string(i))});
    const rt::Handle cache = rt::axes({rt::Value("Tag"), rt::Value("Saved Data")});
    rt::hold("on");
    const rt::Value x = rt::Value::row(std::vector<double>(2000, 1.0));
    for (int i = 0; i < 100; ++i)
        rt::plot({x, x, rt::Value("Parent"), rt::Value(cache), rt::Value("Tag"),
                  rt::Value("Saved Data/run" + std::to_string(i) + "V")});
    for (int w = 0; w < 3; ++w) {
        const std::string name = "Diagram " + std::to_string(w);
        rt::figure({rt::Value("Name"), rt::Value(name)});
        rt::axes({rt::Value("Tag"), rt::Value("DiagAxes" + name)});
        rt::hold("on");
        for (int r = 0; r < 20; ++r) {
            const std::string tag = name + "run" + std::to_string(r);
            rt::plot({x, x, rt::Value("Tag"), rt::Value("Diag" + tag)});
            rt::plot({x, x, rt::Value("Tag"), rt::Value("2Diag" + tag)});
            rt::uicontrol({rt::Value("Style"), rt::Value("checkbox"), rt::Value("Tag"),
                           rt::Value("Checkbox" + tag)});
            rt::uicontrol({rt::Value("Tag"), rt::Value("PushColor" + tag)});
        }
    }
}

void FindobjByTag(benchmark::State& state) {
    buildSession();
    for (auto _ : state)
        benchmark::DoNotOptimize(rt::findobj({rt::Value("Tag"), rt::Value("field7")}));
}
BENCHMARK(FindobjByTag);

void FindobjVisibleLinesOfAnAxes(benchmark::State& state) {
    buildSession();
    const rt::Value ax = rt::findobj({rt::Value("Tag"), rt::Value("DiagAxesDiagram 1")});
    for (auto _ : state)
        benchmark::DoNotOptimize(rt::findobj(
            {ax, rt::Value("Type"), rt::Value("line"), rt::Value("Visible"), rt::Value("on")}));
}
BENCHMARK(FindobjVisibleLinesOfAnAxes);

void FindobjWholeTreeByStyle(benchmark::State& state) {
    buildSession();
    for (auto _ : state)
        benchmark::DoNotOptimize(rt::findobj({rt::Value("Style"), rt::Value("checkbox")}));
}
BENCHMARK(FindobjWholeTreeByStyle);

void GetStringByName(benchmark::State& state) {
    buildSession();
    const rt::Value h = rt::findobj({rt::Value("Tag"), rt::Value("field7")});
    for (auto _ : state) benchmark::DoNotOptimize(rt::get(h, "String"));
}
BENCHMARK(GetStringByName);

}  // namespace

BENCHMARK_MAIN();
