// The tone-track analysis core (average channels, resample to 8820 Hz, remove the mean,
// spectrogram at 1501 frequencies, peak per slice) on 60 s of stereo audio, the upfirdn
// kernel on the resampler's filters, and an 8192-point complex FFT.
// tone_track.py beside this file runs the same steps on numpy/scipy and this program,
// and prints both side by side.
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <random>

#include "runtime/numeric/fft.h"
#include "runtime/numeric/upfirdn_kernel.h"
#include "signal/resample.h"
#include "signal/specgram.h"

namespace {

constexpr double kPi = 3.141592653589793;

// A rising engine tone with harmonics and noise; the right channel a little different.
Eigen::MatrixXd stereo(double fs, double seconds) {
    const Eigen::Index n = static_cast<Eigen::Index>(fs * seconds);
    Eigen::MatrixXd y(n, 2);
    std::mt19937 gen(42);
    std::normal_distribution<double> nd(0, 0.05);
    double phase = 0;
    for (Eigen::Index i = 0; i < n; ++i) {
        const double t = double(i) / fs;
        phase += 2 * kPi * (100 + 500 * t / seconds) / fs;
        const double s = 0.5 * std::sin(phase) + 0.2 * std::sin(2 * phase);
        y(i, 0) = s + nd(gen);
        y(i, 1) = 0.8 * s + nd(gen);
    }
    return y;
}

// Returns the track in Hz, one value per slice.
Eigen::VectorXd toneTrack(const Eigen::MatrixXd& Y, double FS) {
    Eigen::MatrixXd y = 0.5 * (Y.col(0) + Y.col(1));
    if (FS != 8820) y = sig::resample(y, 8820, FS).y;
    y.array() -= y.mean();
    Eigen::VectorXd freq(1501);
    for (int i = 0; i <= 1500; ++i) freq(i) = (500 + (16000.0 - 500) / 1500 * i) / 60 * 3;
    const double d = double(y.rows()) / 8820;
    const double overlap = std::max(1.0, std::ceil(std::log10(d / 2)));
    const double noverlap = std::floor(3528 * 0.9 / overlap);
    const sig::SpecgramResult r = sig::specgram(y.col(0), freq, 8820, 3528, noverlap);
    Eigen::VectorXd track(r.B.cols());
    for (Eigen::Index c = 0; c < r.B.cols(); ++c) {
        Eigen::Index row = 0;
        r.B.col(c).cwiseAbs2().maxCoeff(&row);
        track(c) = r.F(row);
    }
    return track;
}

void BM_ToneTrack(benchmark::State& state) {
    const double fs = static_cast<double>(state.range(0));
    const Eigen::MatrixXd y = stereo(fs, 60);
    toneTrack(y, fs);  // plans and first-touch outside the timing
    for (auto _ : state) benchmark::DoNotOptimize(toneTrack(y, fs));
}
BENCHMARK(BM_ToneTrack)->Arg(44100)->Arg(48000)->Unit(benchmark::kMillisecond);

void BM_UpfirdnKernel(benchmark::State& state) {
    const double fs = static_cast<double>(state.range(0));
    const Eigen::MatrixXd x = stereo(fs, 60).col(0);
    const sig::ResampleResult design = sig::resample(x.topRows(1000), 8820, fs);
    const double p = fs == 48000 ? 147 : 1, q = fs == 48000 ? 800 : 5;
    const Eigen::MatrixXd h = design.h;
    state.counters["taps"] = static_cast<double>(h.size());
    for (auto _ : state) benchmark::DoNotOptimize(rt::upfirdn(x, h, p, q));
}
BENCHMARK(BM_UpfirdnKernel)->Arg(44100)->Arg(48000)->Unit(benchmark::kMillisecond);

void BM_Fft8192(benchmark::State& state) {
    std::mt19937 gen(1);
    std::normal_distribution<double> nd;
    Eigen::VectorXcd v(8192);
    for (auto& z : v) z = {nd(gen), nd(gen)};
    rt::fftInPlace(v.data(), 8192, 1, false);
    for (auto _ : state) {
        rt::fftInPlace(v.data(), 8192, 1, false);
        benchmark::DoNotOptimize(v.data());
    }
}
BENCHMARK(BM_Fft8192)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
