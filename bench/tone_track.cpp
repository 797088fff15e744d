// The tone-track analysis core (average channels, resample to 8820 Hz, remove the mean,
// spectrogram at 1501 frequencies, peak per slice) on 60 s of stereo audio, the upfirdn
// kernel on the resampler's filters, and an 8192-point complex FFT, with measured plans as
// the program has them once its start-up planning has ended.
// tone_track.py beside this file runs the same steps on numpy/scipy and this program,
// and prints both side by side.
#include <benchmark/benchmark.h>

#include <cmath>
#include <complex>
#include <random>

#include "engine_tone.h"
#include "runtime/numeric/fft.h"
#include "runtime/numeric/upfirdn_kernel.h"
#include "signal/czt.h"
#include "signal/resample.h"
#include "signal/specgram.h"

namespace {

Eigen::MatrixXd stereo(double fs, double seconds) { return bench::engineTone(fs, seconds); }

// Returns the track in Hz, one value per slice.
Eigen::VectorXd toneTrack(const Eigen::MatrixXd& Y, double FS) {
    return bench::typedTrack(0.5 * (Y.col(0) + Y.col(1)), FS);
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
    rt::FftBuffer in(8192), out(8192);
    for (Eigen::Index i = 0; i < 8192; ++i) in.data()[i] = {nd(gen), nd(gen)};
    const rt::FftPlan plan = rt::fftPlan(8192, false);
    for (auto _ : state) {
        plan.execute(in.data(), out.data());
        benchmark::DoNotOptimize(out.data());
    }
}
BENCHMARK(BM_Fft8192)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    rt::prepareFftPlans({sig::cztFftLength(3528, 1501), 8192});
    rt::finishFftPlanning();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
