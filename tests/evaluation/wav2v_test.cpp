// wav2v: the tone track of pure tones, slice times around the 20 s overlap change, tracks
// handed in, and the call by name.
#include "evaluation/wav2v.h"

#include <gtest/gtest.h>

#include <cmath>

#include "apps/rovantel_function_table.h"
#include "runtime/dispatch/error.h"
#include "runtime/value/eigen.h"
#include "shell/strings.h"
#include "support/test_helpers.h"

namespace {

constexpr double kPi = 3.141592653589793;

Eigen::VectorXd tone(double f, double fs, double seconds, double amplitude = 1, double phase = 0) {
    const auto n = static_cast<Eigen::Index>(std::llround(fs * seconds));
    Eigen::VectorXd x(n);
    for (Eigen::Index i = 0; i < n; ++i)
        x(i) = amplitude * std::sin(2 * kPi * f * double(i) / fs + phase) + 0.3;
    return x;
}

TEST(Wav2v, GridSpansTheRpmBandAtTheSignalFactor) {
    const Eigen::VectorXd f = evaluation::toneGrid(500, 16000, 3, 1500);
    ASSERT_EQ(f.size(), 1501);
    EXPECT_DOUBLE_EQ(f(0), 25);
    EXPECT_DOUBLE_EQ(f(1500), 800);
    EXPECT_NEAR(f(1) - f(0), 0.516666666666667, 1e-12);
    EXPECT_NEAR(f(1000) - f(999), 0.516666666666667, 1e-9);
    EXPECT_EQ(evaluation::toneGrid(500, 16000, 3, 300).size(), 301);
    EXPECT_EQ(testsupport::errorOf([] { evaluation::toneGrid(3000, 3000, 1, 1500); }),
              rt::utf8(shell::text_table().rpm_band_empty));
}

// The peak sits on the grid frequency nearest the tone whatever the recording's rate, and
// two channels are averaged before the analysis.
TEST(Wav2v, PureToneGivesItsFrequencyOverLAtEverySlice) {
    const double l = 2, L = 2, mr = 1000, Mr = 10000;  // band 33.3 … 333.3 Hz, step 0.2 Hz
    const double f0 = 187.43, step = (Mr - mr) / 1500 / 60 * L;
    for (double fs : {8820.0, 44100.0, 48000.0}) {
        const Eigen::VectorXd x = tone(f0, fs, 3);
        const evaluation::ToneSeries mono = evaluation::wav2v(x, fs, l, L, mr, Mr);
        ASSERT_GT(mono.v.size(), 60) << fs;
        for (Eigen::Index c = 0; c < mono.v.size(); ++c)
            ASSERT_NEAR(mono.v(c), f0 / l, step / 2 / l + 1e-9) << fs << " slice " << c;

        // Each channel alone peaks at f0; their mean holds only the weaker tone at f1.
        const double f1 = 251.3;
        Eigen::MatrixXd y(x.size(), 2);
        y.col(0) = tone(f0, fs, 3) + tone(f1, fs, 3, 0.4);
        y.col(1) = tone(f0, fs, 3, 1, kPi) + tone(f1, fs, 3, 0.4);
        const evaluation::ToneSeries both = evaluation::wav2v(y, fs, l, L, mr, Mr);
        for (Eigen::Index c = 0; c < both.v.size(); ++c)
            ASSERT_NEAR(both.v(c), f1 / l, step / 2 / l + 1e-9) << fs << " slice " << c;
    }
}

TEST(Wav2v, SlicesStartAtTwoTenthsAndStepByTheOverlapRule) {
    struct Case {
        double fs, seconds;
        double overlap;
    };
    // 20 s at 8820 Hz or 44.1 kHz is one block of overlap; a sample more makes the next.
    const Case cases[] = {{8820, 5, 3175},      {8820, 20, 3175}, {44100, 20, 3175},
                          {8820, 20.001, 1587}, {8820, 30, 1587}, {48000, 30, 1587}};
    for (const Case& k : cases) {
        const evaluation::ToneSeries r =
            evaluation::wav2v(tone(100, k.fs, k.seconds), k.fs, 1, 1, 1000, 10000);
        const double hop = (3528 - k.overlap) / 8820;
        const double n = std::ceil(k.seconds * 8820 - 1e-9);
        ASSERT_EQ(r.t.size(), static_cast<Eigen::Index>((n - k.overlap) / (3528 - k.overlap)))
            << k.seconds;
        EXPECT_DOUBLE_EQ(r.t(0), 0.2);
        for (Eigen::Index c = 1; c < r.t.size(); ++c)
            ASSERT_NEAR(r.t(c) - r.t(c - 1), hop, 1e-12) << k.seconds;
    }
    EXPECT_EQ(evaluation::toneOverlap(176400), 3175);
    EXPECT_EQ(evaluation::toneOverlap(176401), 1587);
    EXPECT_EQ(evaluation::toneOverlap(1764000), 1587);
    EXPECT_EQ(evaluation::toneOverlap(1764001), 1058);
    EXPECT_EQ(evaluation::toneOverlap(0), 3175);
}

// A recording shorter than one slice is one zero-padded slice; the spectrum the editors draw
// keeps its grid and marks the peak row.
TEST(Wav2v, ToneSpectrumServesTheEditorsGrid) {
    const Eigen::VectorXd x = evaluation::toneSignal(tone(120, 44100, 2), 44100);
    EXPECT_EQ(x.size(), 17640);
    EXPECT_NEAR(x.mean(), 0, 1e-12);
    const Eigen::VectorXd freq = evaluation::toneGrid(1000, 10000, 1, 300);
    const evaluation::ToneSpectrum s = evaluation::toneSpectrum(x, freq);
    ASSERT_EQ(s.B.rows(), 301);
    ASSERT_EQ(s.t.size(), 9);  // (17640 - 1764) / 1764
    EXPECT_DOUBLE_EQ(s.t(1) - s.t(0), 0.2);
    EXPECT_EQ(s.F, freq);
    for (Eigen::Index c = 0; c < s.t.size(); ++c) {
        EXPECT_EQ(s.track(c), freq(s.peak(c)));
        EXPECT_NEAR(s.track(c), 120, 0.25);
    }
    const evaluation::ToneSpectrum one = evaluation::toneSpectrum(x.head(1000), freq, 3175);
    EXPECT_EQ(one.t.size(), 1);
    EXPECT_DOUBLE_EQ(one.t(0), 0.2);
}

TEST(Wav2v, ByNameTakesATrackWithoutAnalysisAndSevenInputsAsNoTrack) {
    rt::FunctionTable table = apps::rovantel_function_table();
    const rt::Value st = rt::Value::structure();
    // A rate no resampler accepts: any analysis would fail.
    const rt::Value badY = rt::fromMatrix(Eigen::MatrixXd::Ones(10, 3));
    const rt::Value f = rt::Value::row({60, 120, 90});
    const rt::Value t = rt::Value::column({0, 0.5, 1});
    rt::Values out = table.call("wav2v", {badY, 0.5, 4, 4, st, 500, 16000, f, t}, 2);
    EXPECT_TRUE(out[0].equals(t));
    EXPECT_TRUE(out[1].equals(rt::Value::row({15, 30, 22.5})));

    const Eigen::VectorXd x = tone(100, 8820, 2);
    const rt::Values seven =
        table.call("wav2v", {rt::fromMatrix(x), 8820, 2, 2, st, 1000, 10000}, 2);
    const rt::Values empty = table.call(
        "wav2v", {rt::fromMatrix(x), 8820, 2, 2, st, 1000, 10000, rt::Value(), rt::Value()}, 2);
    EXPECT_TRUE(seven[0].equals(empty[0]));
    EXPECT_TRUE(seven[1].equals(empty[1]));
    EXPECT_EQ(seven[1].cols(), 1u);
    EXPECT_NEAR(seven[1].at(0), 50, 0.1);

    EXPECT_EQ(testsupport::errorOf([&] {
                  table.call("wav2v", {badY, 0.5, 4, 4, st, 500, 16000, f}, 2);
              }),
              "Not enough input arguments.");
    EXPECT_EQ(testsupport::errorOf([&] {
                  table.call("wav2v", {badY, 0.5, 4, 4, st, 500, 16000}, 2);
              }),
              "Requires vector (either row or column) input.");
    EXPECT_EQ(testsupport::errorOf([&] {
                  table.call("wav2v", {rt::fromMatrix(x), 0.5, 4, 4, st, 500, 16000}, 2);
              }),
              "Q must be a positive integer.");
}

}  // namespace
