// Zero-phase filtering of 10^6 samples with the third-order Butterworth low-pass that every
// evaluation runs; items per second are samples per second.
#include "signal/filtfilt.h"

#include <benchmark/benchmark.h>

#include <cmath>

#include "runtime/numeric/filter.h"
#include "signal/butter.h"

static void BM_FiltfiltThirdOrderMillion(benchmark::State& state) {
    const rt::TransferFunction tf = sig::butter(3, (Eigen::VectorXd(1) << 0.25).finished());
    const Eigen::VectorXd b = tf.num.transpose(), a = tf.den.transpose();
    const Eigen::Index n = state.range(0);
    Eigen::MatrixXd x(n, 1);  // the typed signal as callers hold it; no conversion per call
    for (Eigen::Index i = 0; i < n; ++i) x(i) = std::sin(0.001 * double(i)) + 0.01 * double(i % 17);
    for (auto _ : state) {
        Eigen::MatrixXd y = sig::filtfilt(b, a, x);
        benchmark::DoNotOptimize(y.data());
    }
    state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_FiltfiltThirdOrderMillion)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The two filter passes alone, on a buffer that is reused: what the arithmetic costs without
// the allocation and first touch of the extended copy and the result.
static void BM_TwoFilterPassesInPlace(benchmark::State& state) {
    const rt::TransferFunction tf = sig::butter(3, (Eigen::VectorXd(1) << 0.25).finished());
    const Eigen::VectorXd b = tf.num.transpose(), a = tf.den.transpose();
    Eigen::VectorXd y(state.range(0));
    for (Eigen::Index i = 0; i < y.size(); ++i) y(i) = std::sin(0.001 * double(i));
    Eigen::VectorXd z = Eigen::VectorXd::Zero(3);
    for (auto _ : state) {
        rt::filterInPlace(b, a, y, z);
        rt::filterInPlace(b, a, y, z);
        benchmark::DoNotOptimize(y.data());
    }
    state.SetItemsProcessed(state.iterations() * y.size());
}
BENCHMARK(BM_TwoFilterPassesInPlace)->Arg(1000000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
