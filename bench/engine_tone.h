// The synthetic recording of the signal benchmarks: a rising engine tone with a harmonic and
// noise, the right channel a little different.
#pragma once

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>
#include <random>

#include "signal/resample.h"
#include "signal/specgram.h"

namespace bench {

inline Eigen::MatrixXd engineTone(double fs, double seconds) {
    constexpr double kPi = 3.141592653589793;
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

// The tone analysis's 1501 band frequencies (500 to 16000 rpm, 3 signals per revolution).
inline Eigen::VectorXd bandFrequencies() {
    Eigen::VectorXd f(1501);
    for (int i = 0; i <= 1500; ++i) f(i) = (500 + (16000.0 - 500) / 1500 * i) / 60 * 3;
    return f;
}

// The analysis's overlap for a signal of that many samples at 8820 Hz.
inline double noverlapFor(double samples) {
    const double overlap = std::max(1.0, std::ceil(std::log10(samples / 8820 / 2)));
    return std::floor(3528 * 0.9 / overlap);
}

// The tone track of a mono signal at rate fs through the typed functions: resampled to
// 8820 Hz, mean removed, spectrogram at the band frequencies, the peak's frequency per slice.
inline Eigen::VectorXd typedTrack(Eigen::VectorXd y, double fs) {
    if (fs != 8820) y = sig::resample(y, 8820, fs).y;
    y.array() -= y.mean();
    static const Eigen::VectorXd freq = bandFrequencies();
    const sig::SpecgramResult r =
        sig::specgram(y, freq, 8820, 3528, noverlapFor(static_cast<double>(y.size())));
    Eigen::VectorXd track(r.B.cols());
    for (Eigen::Index c = 0; c < r.B.cols(); ++c)
        track(c) = r.F(sig::strongestRow(r.B.col(c).data(), r.B.rows()));
    return track;
}

}  // namespace bench
