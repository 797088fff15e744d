// The calculate button by name ("calc_diag") on the main window, without windows on screen:
// a cache miss (read, tone track of both channels, smoothing, power, hand-over to the
// diagram) on 60 s stereo recordings at 44.1 and 48 kHz, and a cache hit, after the program's
// start-up preparations.
// evaluation.py beside this file runs the same steps on numpy/scipy and this program, and
// prints both side by side.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "apps/rovantel_function_table.h"
#include "runtime/dispatch/callback.h"
#include "runtime/graphics/operations.h"
#include "runtime/numeric/fft.h"
#include "shell/panel.h"
#include "shell/prepare_evaluations.h"
#include "shell/strings.h"
#include "signal/wavwrite.h"

namespace shell {
const Strings& text_table() { return german_table(); }
}  // namespace shell

namespace {

using rt::Value;

// An engine tone rising from 3000 to 11,000 1/min in 60 s, three signals per revolution,
// with a harmonic and noise; the right channel a little different.
void write_recording(const std::string& file, double fs) {
    const auto n = static_cast<Eigen::Index>(fs * 60);
    Eigen::MatrixXd y(n, 2);
    std::mt19937 gen(42);
    std::normal_distribution<double> nd(0, 0.1);
    double phase = 0;
    for (Eigen::Index i = 0; i < n; ++i) {
        const double rps = (3000 + 8000 * std::sqrt(double(i) / double(n))) / 60;
        phase += 2 * 3.141592653589793 * 3 * rps / fs;
        const double s = 0.5 * std::sin(phase) + 0.2 * std::sin(2 * phase);
        y(i, 0) = s + nd(gen);
        y(i, 1) = 0.8 * s + nd(gen);
    }
    sig::wavwrite(y, fs, 16, file);
}

struct Session {
    rt::FunctionTable table = apps::rovantel_function_table();
    rt::FunctionTable builtins;
    std::unique_ptr<rt::CallbackInterpreter> interp;
    std::filesystem::path dir;

    explicit Session(double fs) {
        dir = std::filesystem::temp_directory_path() /
              ("rovantel_bench_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir);
        write_recording((dir / "run.wav").string(), fs);
        rt::register_graphics_builtins(builtins);
        interp = std::make_unique<rt::CallbackInterpreter>(table, &builtins);
        rt::graphics().reset();
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
        interp->eval("rovantel");
        shell::set_tagged("wav_file", "String", Value((dir / "run.wav").string()));
        // The recording editor is ticked by default; it waits for a user.
        shell::set_tagged("cut_File", "Value", Value(0.0));
    }
    ~Session() {
        rt::graphics().reset();
        std::filesystem::remove_all(dir);
    }
    // The diagram windows go, so that every miss adds its run to an empty window.
    void fresh() {
        interp->eval("clear_cache");
        for (double f : rt::findobj({Value("Type"), Value("figure")}).real())
            if (rt::get(Value(f), "Tag").text() != "Main Figure") rt::close({Value(f)});
    }
};

void BM_EvaluationMiss(benchmark::State& state) {
    Session s(static_cast<double>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        s.fresh();
        state.ResumeTiming();
        s.interp->eval("calc_diag");
    }
}
BENCHMARK(BM_EvaluationMiss)->Arg(44100)->Arg(48000)->Unit(benchmark::kMillisecond);

void BM_EvaluationHit(benchmark::State& state) {
    Session s(44100);
    s.interp->eval("calc_diag");
    for (auto _ : state) s.interp->eval("calc_diag");
}
BENCHMARK(BM_EvaluationHit)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    // As the program starts; the user takes a moment to choose a recording, in which the
    // start-up planning ends.
    shell::prepare_evaluations();
    rt::finishFftPlanning();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
