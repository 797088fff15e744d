// modulate (every method) and hilbert.
#include "signal/modulate.h"

#include <gtest/gtest.h>

#include <cmath>

#include "signal/hilbert.h"
#include "warnings.h"

namespace {

constexpr double kPi = 3.141592653589793;

Eigen::MatrixXd col(std::initializer_list<double> v) {
    Eigen::MatrixXd m(static_cast<Eigen::Index>(v.size()), 1);
    Eigen::Index i = 0;
    for (double d : v) m(i++, 0) = d;
    return m;
}

TEST(Modulate, FmPhaseOfTheFirstSampleAndItsFrequency) {
    const double Fs = 44100, Fc = 1000;
    const Eigen::MatrixXd x = Eigen::MatrixXd::Constant(200, 1, 100.0);
    const sig::ModulateResult r =
        sig::modulate(x, Fc, Fs, "fm", Eigen::MatrixXd::Constant(1, 1, 2 * kPi / Fs));
    ASSERT_TRUE(r.y && r.t);
    // The running sum includes the sample itself: phase 2 pi 100/Fs at n = 1.
    EXPECT_NEAR((*r.y)(0, 0), std::cos(2 * kPi * 100 / Fs), 1e-15);
    for (int n = 1; n <= 200; n += 37)
        EXPECT_NEAR((*r.y)(n - 1, 0),
                    std::cos(2 * kPi * Fc * (n - 1) / Fs + 2 * kPi * 100 * n / Fs), 1e-9);
    // A track equal to its mean: the plain tone at phase 0.
    const sig::ModulateResult z = sig::modulate(Eigen::MatrixXd::Zero(50, 1), Fc, Fs, "FM",
                                                Eigen::MatrixXd::Constant(1, 1, 2 * kPi / Fs));
    for (int n = 0; n < 50; n += 7)
        EXPECT_NEAR((*z.y)(n, 0), std::cos(2 * kPi * Fc * n / Fs), 1e-12);
    // No P1 on an all-zero message: kf = 0, the carrier.
    const sig::ModulateResult c = sig::modulate(Eigen::MatrixXd::Zero(5, 1), Fc, Fs, "fm");
    EXPECT_NEAR((*c.y)(3, 0), std::cos(2 * kPi * Fc * 3 / Fs), 1e-15);
    EXPECT_NEAR((*c.t)(4, 0), 4 / Fs, 1e-18);
}

TEST(Modulate, CarrierLimitOrientationAndEmpty) {
    EXPECT_EQ(errorOf([] {
                  sig::modulate(col({1, 2}), 50, 100);
              }),
              "The carrier frequency must be less than half the sampling frequency.");
    // Just under the limit the carrier is kept: x cos(2 pi Fc t).
    const sig::ModulateResult edge = sig::modulate(col({1, 2}), 49.999, 100);
    ASSERT_TRUE(edge.y.has_value());
    EXPECT_NEAR((*edge.y)(0, 0), 1, 1e-15);
    EXPECT_NEAR((*edge.y)(1, 0), 2 * std::cos(2 * kPi * 49.999 / 100), 1e-13);
    const sig::ModulateResult row = sig::modulate(Eigen::MatrixXd::Ones(1, 4), 10, 100);
    EXPECT_EQ(row.y->rows(), 1);
    EXPECT_EQ(row.y->cols(), 4);
    EXPECT_EQ(row.t->rows(), 1);
    const sig::ModulateResult empty = sig::modulate(Eigen::MatrixXd(0, 0), 10, 100, "fm");
    EXPECT_EQ(empty.y->size(), 0);
    EXPECT_FALSE(empty.t.has_value());
    const sig::ModulateResult unknown = sig::modulate(col({1}), 10, 100, "xyz");
    EXPECT_FALSE(unknown.y.has_value());
}

TEST(Modulate, AmplitudeAndPhaseMethods) {
    const double Fs = 100, Fc = 10;
    const Eigen::MatrixXd x = col({0.5, 1, -2, 0.25});
    Eigen::ArrayXd carrier(4), sine(4);
    for (int n = 0; n < 4; ++n) {
        carrier(n) = std::cos(2 * kPi * Fc * n / Fs);
        sine(n) = std::sin(2 * kPi * Fc * n / Fs);
    }
    const auto y = [&](const std::string& m, sig::ModulateParam p = {}) {
        return Eigen::ArrayXd(sig::modulate(x, Fc, Fs, m, p).y->col(0));
    };
    EXPECT_LT((y("am") - x.array() * carrier).abs().maxCoeff(), 1e-15);
    EXPECT_LT((y("AMDSB-SC") - x.array() * carrier).abs().maxCoeff(), 1e-15);
    EXPECT_LT((y("amdsb-tc") - (x.array() + 2) * carrier).abs().maxCoeff(), 1e-15);
    EXPECT_LT((y("amdsb-tc", Eigen::MatrixXd::Constant(1, 1, 1.0)) - (x.array() - 1) * carrier)
                  .abs()
                  .maxCoeff(),
              1e-15);
    const Eigen::ArrayXd hx = sig::hilbert(x).imag().col(0).array();
    EXPECT_LT((y("amssb") - (x.array() * carrier + hx * sine)).abs().maxCoeff(), 1e-15);
    const Eigen::ArrayXd pm =
        (2 * kPi * Fc * Eigen::ArrayXd::LinSpaced(4, 0, 3) / Fs + kPi / 2 * x.array()).cos();
    EXPECT_LT((y("pm") - pm).abs().maxCoeff(), 1e-15);
    const Eigen::MatrixXd x2 = Eigen::MatrixXd::Constant(1, 4, 3.0);  // a row is taken as a column
    EXPECT_LT((y("qam", x2) - (x.array() * carrier + 3 * sine)).abs().maxCoeff(), 1e-15);
    EXPECT_EQ(errorOf([&] { y("qam"); }), "  For 'qam', a 5th input parameter is required.");
    EXPECT_EQ(errorOf([&] { y("qam", Eigen::MatrixXd::Ones(3, 1)); }),
              "  For 'qam', input signals must be the same size");
}

TEST(Modulate, PulseMethods) {
    const double Fs = 100, Fc = 10;  // 10 output samples per message sample
    const Eigen::MatrixXd x = col({0.3, 0.55});
    EXPECT_EQ(errorOf([&] { sig::modulate(col({1.5}), Fc, Fs, "pwm"); }),
              "  X out of range [0,1] ");
    EXPECT_EQ(errorOf([&] { sig::modulate(col({-0.1}), Fc, Fs, "ppm"); }),
              "  X out of range [0,1] ");
    EXPECT_EQ(errorOf([&] { sig::modulate(x, Fc, Fs, "pwm", std::string("middle")); }),
              " 5th input parameter not recognized");

    const sig::ModulateResult left = sig::modulate(x, Fc, Fs, "pwm");
    ASSERT_EQ(left.y->rows(), 20);
    Eigen::VectorXd want = Eigen::VectorXd::Zero(20);
    want.segment(0, 3).setOnes();   // 0.3 of the first period
    want.segment(10, 6).setOnes();  // mod_t < 0.55: 0 … 0.5
    EXPECT_EQ(left.y->col(0), want);
    EXPECT_NEAR((*left.t)(19, 0), 0.19, 1e-15);

    const sig::ModulateResult centred = sig::modulate(x, Fc, Fs, "pwm", std::string("centered"));
    Eigen::VectorXd wc = Eigen::VectorXd::Zero(20);
    wc.segment(0, 2).setOnes();   // mod_t < 0.15
    wc.segment(8, 2).setOnes();   // 1 - mod_t <= 0.275: the next pulse's first half
    wc.segment(10, 3).setOnes();  // mod_t < 0.275
    EXPECT_EQ(centred.y->col(0), wc);

    testing::internal::CaptureStdout();
    const sig::ModulateResult ppm =
        sig::modulate(x, Fc, Fs, "ppm", Eigen::MatrixXd::Constant(1, 1, 0.5));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Warning: some pulses may overlap!\n");
    Eigen::VectorXd wp = Eigen::VectorXd::Zero(20);
    wp.segment(3, 5).setOnes();   // ceil(0.3 * 10) = 3, 5 samples
    wp.segment(16, 4).setOnes();  // ceil(15.5) = 16, cut at the end
    EXPECT_EQ(ppm.y->col(0), wp);
    EXPECT_EQ(
        errorOf([&] { sig::modulate(x, Fc, Fs, "ptm", Eigen::MatrixXd::Constant(1, 1, 1.0)); }),
        "  Pulse duration out of range (0,1) ");
}

TEST(Hilbert, CosineGivesCosinePlusJSine) {
    const int n = 64;
    Eigen::MatrixXd x(n, 1);
    for (int i = 0; i < n; ++i) x(i, 0) = std::cos(2 * kPi * 3 * i / n);
    const Eigen::MatrixXcd y = sig::hilbert(x);
    for (int i = 0; i < n; ++i) {
        EXPECT_NEAR(y(i, 0).real(), x(i, 0), 1e-14);
        EXPECT_NEAR(y(i, 0).imag(), std::sin(2 * kPi * 3 * i / n), 1e-14);
    }
    const Eigen::MatrixXcd r = sig::hilbert(Eigen::MatrixXd(x.transpose()));
    EXPECT_EQ(r.rows(), 1);
    EXPECT_LT((r.transpose() - y).cwiseAbs().maxCoeff(), 1e-15);
    EXPECT_EQ(sig::hilbert(x, 100.0).rows(), 100);
    EXPECT_EQ(errorOf([&] { sig::hilbert(x, -1.0); }),
              "hilbert: N must be a non-negative integer.");
}

}  // namespace
