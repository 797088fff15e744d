// The calculate button by name ("calc_diag") on the main window, without windows on screen:
// a cache miss (read, conversion, smoothing, power, hand-over to the diagram) on stereo
// recordings of 20, 60 and 120 s at 44.1 kHz (and 60 s at 48 kHz), either an engine tone on
// both channels (the tone track of their mean) or the tone on the left and one wheel-sensor
// pulse per revolution on the right (tone track and pulse conversion joined), and a cache
// hit, after the program's start-up preparations. Arguments: seconds, 0 tone or 1 tone and
// wheel, rate.
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

// An engine tone rising from 3000 to 11,000 1/min, three signals per revolution, with a
// harmonic and noise; the right channel a little different, or with `wheel` one pulse per
// wheel revolution (gear ratio 6.32) on noise.
void write_recording(const std::string& file, double fs, double seconds, bool wheel) {
    const auto n = static_cast<Eigen::Index>(fs * seconds);
    Eigen::MatrixXd y(n, 2);
    std::mt19937 gen(42);
    std::normal_distribution<double> nd(0, 0.1);
    double phase = 0, turns = 0;
    for (Eigen::Index i = 0; i < n; ++i) {
        const double rps = (3000 + 8000 * std::sqrt(double(i) / double(n))) / 60;
        phase += 2 * 3.141592653589793 * 3 * rps / fs;
        const double s = 0.5 * std::sin(phase) + 0.2 * std::sin(2 * phase);
        y(i, 0) = s + nd(gen);
        y(i, 1) = wheel ? 0.2 * nd(gen) : 0.8 * s + nd(gen);
        const double before = turns;
        turns += rps / 6.32 / fs;
        if (wheel && std::floor(turns) > std::floor(before) && i + 4 <= n)
            for (int k = 0; k < 4; ++k) y(i + k, 1) += (k < 2 ? 0.6 : -0.6);
    }
    sig::wavwrite(y.cwiseMax(-0.99).cwiseMin(0.99), fs, 16, file);
}

struct Session {
    rt::FunctionTable table = apps::rovantel_function_table();
    rt::FunctionTable builtins;
    std::unique_ptr<rt::CallbackInterpreter> interp;
    std::filesystem::path dir;

    explicit Session(double fs, double seconds = 60, bool wheel = false) {
        dir = std::filesystem::temp_directory_path() /
              ("rovantel_bench_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir);
        write_recording((dir / "run.wav").string(), fs, seconds, wheel);
        rt::register_graphics_builtins(builtins);
        interp = std::make_unique<rt::CallbackInterpreter>(table, &builtins);
        rt::graphics().reset();
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
        interp->eval("rovantel");
        shell::set_tagged("wav_file", "String", Value((dir / "run.wav").string()));
        // The recording editor is ticked by default; it waits for a user.
        shell::set_tagged("cut_File", "Value", Value(0.0));
        // Alternator on the left; on the right the alternator again or wheel sensors.
        shell::set_tagged("popup_sig_ch2", "Value", Value(wheel ? 2.0 : 1.0));
    }
    ~Session() {
        rt::graphics().reset();
        std::filesystem::remove_all(dir);
    }
    // The diagram windows go, so that every miss adds its run to an empty window.
    // Returns whether there was a diagram: an evaluation that failed shows none.
    bool fresh() {
        interp->eval("clear_cache");
        bool diagram = false;
        for (double f : rt::findobj({Value("Type"), Value("figure")}).real())
            if (rt::get(Value(f), "Tag").text() != "Main Figure") {
                rt::close({Value(f)});
                diagram = true;
            }
        return diagram;
    }
};

void BM_EvaluationMiss(benchmark::State& state) {
    Session s(static_cast<double>(state.range(2)), static_cast<double>(state.range(0)),
              state.range(1) == 1);
    for (auto _ : state) {
        state.PauseTiming();
        s.fresh();
        state.ResumeTiming();
        s.interp->eval("calc_diag");
    }
    if (!s.fresh()) state.SkipWithError("the evaluation showed no diagram");
}
BENCHMARK(BM_EvaluationMiss)
    ->Args({20, 0, 44100})
    ->Args({60, 0, 44100})
    ->Args({120, 0, 44100})
    ->Args({20, 1, 44100})
    ->Args({60, 1, 44100})
    ->Args({120, 1, 44100})
    ->Args({60, 0, 48000})
    ->Unit(benchmark::kMillisecond);

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
