// The channel conversions as the evaluation calls them, by name through the function table:
// wav2v on stereo tone recordings (both channels averaged) and dig2v on a wheel channel.
// conversion.py beside this file runs the same steps on numpy/scipy and this program, and
// prints both side by side.
#include <benchmark/benchmark.h>

#include <cmath>
#include <random>

#include "apps/rovantel_function_table.h"
#include "runtime/value/eigen.h"
#include "shell/strings.h"

namespace {

constexpr double kPi = 3.141592653589793;

// An engine tone rising from 3000 to 12,000 1/min, three signals per revolution, with a
// harmonic and noise; the right channel a little different.
rt::Value toneRecording(double fs, double seconds) {
    const auto n = static_cast<Eigen::Index>(fs * seconds);
    Eigen::MatrixXd y(n, 2);
    std::mt19937 gen(42);
    std::normal_distribution<double> nd(0, 0.1);
    double phase = 0;
    for (Eigen::Index i = 0; i < n; ++i) {
        const double rps = (3000 + 9000 * double(i) / double(n)) / 60;
        phase += 2 * kPi * 3 * rps / fs;
        const double s = 0.5 * std::sin(phase) + 0.2 * std::sin(2 * phase);
        y(i, 0) = s + nd(gen);
        y(i, 1) = 0.8 * s + nd(gen);
    }
    return rt::fromMatrix(y);
}

// One pulse per revolution of a 1.9 m wheel whose speed rises from 10 to 60 m/s.
rt::Value wheelChannel(double fs, double seconds) {
    const auto n = static_cast<Eigen::Index>(fs * seconds);
    Eigen::VectorXd y = Eigen::VectorXd::Zero(n);
    std::mt19937 gen(7);
    std::normal_distribution<double> nd(0, 0.02);
    for (auto& s : y) s = nd(gen);
    const double a = 50 / seconds;  // m/s²
    for (int k = 1;; ++k) {
        // 10 t + a t²/2 = 1.9 k
        const double t = (-10 + std::sqrt(100 + 2 * a * 1.9 * k)) / a;
        const auto i = static_cast<Eigen::Index>(std::ceil(t * fs));
        if (i + 4 > n) break;
        y(i) += 0.6, y(i + 1) += 1, y(i + 2) -= 1, y(i + 3) -= 0.6;
    }
    return rt::fromMatrix(Eigen::MatrixXd(y));
}

const rt::FunctionTable& table() {
    static const rt::FunctionTable t = apps::rovantel_function_table();
    return t;
}

void BM_Wav2v(benchmark::State& state) {
    const double fs = static_cast<double>(state.range(0));
    const double seconds = static_cast<double>(state.range(1));
    const rt::Value st = shell::to_value(shell::german_table());
    const rt::Values in{toneRecording(fs, seconds), fs, 3, 3, st, 500, 16000};
    table().call("wav2v", in, 2);  // plans and first touch outside the timing
    for (auto _ : state) benchmark::DoNotOptimize(table().call("wav2v", in, 2));
}
BENCHMARK(BM_Wav2v)
    ->Args({44100, 30})
    ->Args({48000, 30})
    ->Args({44100, 120})
    ->Args({48000, 120})
    ->Unit(benchmark::kMillisecond);

void BM_Dig2v(benchmark::State& state) {
    const double fs = static_cast<double>(state.range(0));
    const rt::Value st = shell::to_value(shell::german_table());
    const rt::Values in{wheelChannel(fs, 120), fs, 1.9, 1, st};
    table().call("dig2v", in, 2);
    for (auto _ : state) benchmark::DoNotOptimize(table().call("dig2v", in, 2));
}
BENCHMARK(BM_Dig2v)->Arg(44100)->Unit(benchmark::kMillisecond);

}  // namespace

// The German build's texts; the table of functions needs one.
const shell::Strings& shell::text_table() { return german_table(); }

BENCHMARK_MAIN();
