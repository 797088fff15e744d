// Numeric kernels: rat, nextpow2, fft/ifft, the upfirdn kernel, I0 and E1 at known points.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <random>

#include "runtime/dispatch/error.h"
#include "runtime/numeric/besseli.h"
#include "runtime/numeric/expint.h"
#include "runtime/numeric/fft.h"
#include "runtime/numeric/nextpow2.h"
#include "runtime/numeric/rat.h"
#include "runtime/numeric/upfirdn_kernel.h"

namespace {

constexpr double kPi = 3.141592653589793;

TEST(Rat, LowestTermsWithinTolerance) {
    struct Row {
        double v, tol, num, den;
    };
    const Row rows[] = {
        {8820.0 / 44100, 1e-12, 1, 5},
        {8820.0 / 48000, 1e-12, 147, 800},
        {2.0 / 2, 1e-12, 1, 1},
        {-3.0 / 4, 1e-12, -3, 4},
        {kPi, 1e-2, 22, 7},
        {kPi, 1e-6, 355, 113},
        {0, 1e-12, 0, 1},
        {1.0 / 3 + 1e-13, 1e-12, 1, 3},
        {8820.0 / 22050, 1e-12, 2, 5},
        {8820.0 / 11025, 1e-12, 4, 5},
    };
    for (const Row& r : rows) {
        const rt::Ratio got = rt::rat(r.v, r.tol);
        EXPECT_EQ(got.num, r.num) << r.v;
        EXPECT_EQ(got.den, r.den) << r.v;
        EXPECT_LE(std::fabs(got.num / got.den - r.v), r.tol);
    }
}

TEST(Nextpow2, SmallestPowerAtLeastTheValue) {
    const std::pair<double, double> rows[] = {{0, 0},  {1, 0},     {2, 1},     {3, 2},
                                              {4, 2},  {5028, 13}, {4828, 13}, {3828, 12},
                                              {-9, 4}, {0.3, -1},  {8192, 13}, {8193, 14}};
    for (auto [v, p] : rows) EXPECT_EQ(rt::nextpow2(v), p) << v;
}

Eigen::MatrixXcd directDft(const Eigen::MatrixXcd& y, Eigen::Index n) {
    Eigen::MatrixXcd out = Eigen::MatrixXcd::Zero(n, y.cols());
    for (Eigen::Index c = 0; c < y.cols(); ++c)
        for (Eigen::Index k = 0; k < n; ++k)
            for (Eigen::Index r = 0; r < std::min(n, y.rows()); ++r)
                out(k, c) +=
                    y(r, c) * std::polar(1.0, -2 * kPi * double(k) * double(r) / double(n));
    return out;
}

TEST(Fft, MatchesTheDefinitionPaddedCutAndInverted) {
    std::mt19937 gen(7);
    std::normal_distribution<double> nd;
    Eigen::MatrixXcd y(12, 3);
    for (Eigen::Index i = 0; i < y.size(); ++i) y.data()[i] = {nd(gen), nd(gen)};
    for (Eigen::Index n : {12, 16, 7, 1, 13}) {
        EXPECT_LT((rt::fft(y, n) - directDft(y, n)).cwiseAbs().maxCoeff(), 1e-12) << n;
        // Repeated calls reuse the plan and give the same numbers.
        EXPECT_EQ(rt::fft(y, n), rt::fft(y, n));
    }
    EXPECT_LT((rt::ifft(rt::fft(y)) - y).cwiseAbs().maxCoeff(), 1e-14);
    EXPECT_EQ(rt::fft(y, 0).rows(), 0);
    // A sine at a bin centre lands in two bins; DC in bin 0.
    Eigen::MatrixXcd s(64, 1);
    for (int i = 0; i < 64; ++i) s(i, 0) = std::cos(2 * kPi * 5 * i / 64.0) + 1.0;
    const Eigen::MatrixXcd S = rt::fft(s);
    EXPECT_NEAR(S(0, 0).real(), 64, 1e-12);
    EXPECT_NEAR(S(5, 0).real(), 32, 1e-12);
    EXPECT_NEAR(S(59, 0).real(), 32, 1e-12);
    EXPECT_NEAR(S(6, 0).real(), 0, 1e-12);
}

TEST(Fft, PlansStayFewAndAreFreedWhileTransformsStayRight) {
    std::mt19937 gen(3);
    std::normal_distribution<double> nd;
    Eigen::MatrixXcd y(70, 1);
    for (Eigen::Index i = 0; i < y.size(); ++i) y.data()[i] = {nd(gen), nd(gen)};
    // Every length once, then the first again after it was dropped.
    for (Eigen::Index n = 1; n <= 2 * static_cast<Eigen::Index>(rt::kMaxFftPlans); ++n)
        rt::fft(y, n);
    EXPECT_LE(rt::fftPlanCount(), rt::kMaxFftPlans);
    EXPECT_LT((rt::fft(y, 5) - directDft(y, 5)).cwiseAbs().maxCoeff(), 1e-12);
    rt::releaseFftPlans();
    EXPECT_EQ(rt::fftPlanCount(), 0u);
    EXPECT_LT((rt::ifft(rt::fft(y)) - y).cwiseAbs().maxCoeff(), 1e-14);
    EXPECT_EQ(rt::fftPlanCount(), 2u);
}

// A length is estimated at once; the start-up planning swaps a measured plan in, holds a plan
// for every transform of the prepared lengths, leaves its wisdom in a file, and the two plans
// agree to rounding.
TEST(Fft, StartUpPlanningSwapsMeasuredPlansInAndKeepsItsWisdom) {
    const auto dir =
        std::filesystem::temp_directory_path() / ("fft_wisdom_" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const std::string file = (dir / "wisdom").string();
    rt::releaseFftPlans();
    const rt::FftPlan estimated = rt::fftPlan(128, false);
    EXPECT_FALSE(estimated.measured());
    rt::prepareFftPlans({64, 128}, file);
    rt::finishFftPlanning();
    // Both directions in and out of place: none of them needs the planner while it measures.
    EXPECT_EQ(rt::fftPlanCount(), 8u);
    const rt::FftPlan measured = rt::fftPlan(128, false);
    EXPECT_TRUE(measured.measured());
    EXPECT_TRUE(rt::fftPlan(64, true).measured());
    EXPECT_FALSE(rt::fftPlan(96, false).measured()) << "only prepared lengths are measured";
    rt::releaseFftPlans();
    EXPECT_TRUE(rt::fftPlan(128, false).measured()) << "a dropped plan comes back from wisdom";
    EXPECT_GT(std::filesystem::file_size(file), 0u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), {}), 1);  // no temporary

    std::mt19937 gen(5);
    std::normal_distribution<double> nd;
    Eigen::VectorXcd y(128), a(128), b(128);
    for (auto& v : y) v = {nd(gen), nd(gen)};
    const Eigen::VectorXcd kept = y;
    estimated.execute(y.data(), a.data());
    measured.execute(y.data(), b.data());
    EXPECT_EQ(y, kept) << "the input is left as it was";
    EXPECT_LT((a - b).cwiseAbs().maxCoeff(), 1e-13 * a.cwiseAbs().maxCoeff());
    EXPECT_LT((a - directDft(Eigen::MatrixXcd(y), 128)).cwiseAbs().maxCoeff(), 1e-11);
    rt::releaseFftPlans();
    std::filesystem::remove_all(dir);
}

// Upsample, full convolution, keep every q-th sample: the definition written out.
Eigen::VectorXd direct(const Eigen::VectorXd& x, const Eigen::VectorXd& h, int p, int q) {
    // The zeros put in by upsampling add nothing, so only input samples are visited.
    Eigen::VectorXd full = Eigen::VectorXd::Zero((x.size() - 1) * p + h.size());
    for (Eigen::Index i = 0; i < x.size(); ++i)
        for (Eigen::Index k = 0; k < h.size(); ++k) full(i * p + k) += x(i) * h(k);
    Eigen::VectorXd out((full.size() + q - 1) / q);
    for (Eigen::Index m = 0; m < out.size(); ++m) out(m) = full(m * q);
    return out;
}

Eigen::VectorXd randomVector(std::mt19937& gen, Eigen::Index n) {
    std::normal_distribution<double> nd;
    Eigen::VectorXd v(n);
    for (Eigen::Index i = 0; i < n; ++i) v(i) = nd(gen);
    return v;
}

TEST(UpfirdnKernel, MatchesUpsampleConvolveDownsample) {
    std::mt19937 gen(11);
    struct Row {
        int p, q;
        Eigen::Index lx, lh;
    };
    const Row rows[] = {{1, 5, 500, 111}, {147, 800, 6000, 16001}, {3, 2, 777, 31},
                        {1, 1, 50, 9},    {2, 3, 5, 40},           {5, 1, 13, 1}};
    for (const Row& r : rows) {
        const Eigen::VectorXd x = randomVector(gen, r.lx);
        Eigen::VectorXd h = randomVector(gen, r.lh);
        h.head(std::min<Eigen::Index>(3, h.size() - 1)).setZero();  // padded filters too
        const Eigen::VectorXd want = direct(x, h, r.p, r.q);
        const Eigen::MatrixXd got =
            rt::upfirdn(Eigen::MatrixXd(x), Eigen::MatrixXd(h.transpose()), r.p, r.q);
        ASSERT_EQ(got.rows(), want.size()) << r.p << "/" << r.q;
        ASSERT_EQ(got.cols(), 1);
        EXPECT_LT((got.col(0) - want).cwiseAbs().maxCoeff(), 1e-11) << r.p << "/" << r.q;
    }
}

TEST(UpfirdnKernel, MatricesRowsAndFilterBanks) {
    std::mt19937 gen(5);
    const Eigen::VectorXd a = randomVector(gen, 40), b = randomVector(gen, 40);
    const Eigen::VectorXd h1 = randomVector(gen, 7), h2 = randomVector(gen, 7);
    Eigen::MatrixXd x(40, 2);
    x << a, b;
    Eigen::MatrixXd H(7, 2);
    H << h1, h2;

    // Each column of a matrix signal with one filter.
    const Eigen::MatrixXd y = rt::upfirdn(x, Eigen::MatrixXd(h1.transpose()), 3, 2);
    ASSERT_EQ(y.rows(), (39 * 3 + 7 + 1) / 2);
    EXPECT_LT((y.col(1) - direct(b, h1, 3, 2)).cwiseAbs().maxCoeff(), 1e-12);

    // A column signal with a matrix of filters, p = 1: one column per filter.
    const Eigen::MatrixXd bank = rt::upfirdn(Eigen::MatrixXd(a), H, 1, 4);
    ASSERT_EQ(bank.cols(), 2);
    ASSERT_EQ(bank.rows(), (39 + 7 + 3) / 4);
    EXPECT_LT((bank.col(0) - direct(a, h1, 1, 4)).cwiseAbs().maxCoeff(), 1e-12);
    EXPECT_LT((bank.col(1) - direct(a, h2, 1, 4)).cwiseAbs().maxCoeff(), 1e-12);

    // Complex filter bank as the spectrogram's direct path uses it.
    const Eigen::MatrixXcd cbank = rt::upfirdn(
        Eigen::MatrixXcd(a.cast<std::complex<double>>()),
        Eigen::MatrixXcd(H.cast<std::complex<double>>()) * std::complex<double>(0, 1), 1, 4);
    EXPECT_LT((cbank.imag() - bank).cwiseAbs().maxCoeff(), 1e-12);

    // A row signal stays a row.
    const Eigen::MatrixXd r =
        rt::upfirdn(Eigen::MatrixXd(a.transpose()), Eigen::MatrixXd(h1), 1, 5);
    EXPECT_EQ(r.rows(), 1);
    EXPECT_EQ(r.cols(), (39 + 7 + 4) / 5);

    // Only a range of outputs: the same samples; past the end, zeros.
    const Eigen::MatrixXd part = rt::upfirdn(x, Eigen::MatrixXd(h1.transpose()), 3, 2, 10, 60);
    ASSERT_EQ(part.rows(), 60);
    EXPECT_EQ(part.topRows(52), y.middleRows(10, 52));
    EXPECT_TRUE(part.bottomRows(8).isZero(0));

    // A signal that is a row of a matrix is read with its stride; a map of memory in place.
    const Eigen::MatrixXd rows = x.transpose();
    EXPECT_EQ(rt::upfirdn(rows.row(1), Eigen::MatrixXd(h1), 3, 2, 0, 20),
              rt::upfirdn(Eigen::MatrixXd(b.transpose()), Eigen::MatrixXd(h1), 3, 2, 0, 20));
    EXPECT_EQ(rt::upfirdn(Eigen::Map<const Eigen::MatrixXd>(x.data(), 40, 2),
                          Eigen::MatrixXd(h1.transpose()), 3, 2, 10, 60),
              part);

    EXPECT_THROW(rt::upfirdn(x, Eigen::MatrixXd(h1), 0, 1), rt::Error);
    EXPECT_THROW(rt::upfirdn(x, Eigen::MatrixXd(h1), 1, 2.5), rt::Error);
    EXPECT_THROW(rt::upfirdn(x, Eigen::MatrixXd(0, 0), 1, 1), rt::Error);
    EXPECT_THROW(rt::upfirdn(x, Eigen::MatrixXd(Eigen::MatrixXd::Ones(3, 3)), 1, 1), rt::Error);
}

TEST(SpecialFunctions, KnownValues) {
    // I0 from its power series; E1 and Si/Ci from standard tables.
    EXPECT_DOUBLE_EQ(rt::besseli(0, 0), 1.0);
    EXPECT_NEAR(rt::besseli(0, 1), 1.2660658777520082, 1e-15);
    EXPECT_NEAR(rt::besseli(0, 5), 27.239871823604442, 1e-12);
    EXPECT_NEAR(rt::besseli(0, -5), 27.239871823604442, 1e-12);
    EXPECT_NEAR(rt::expint(1.0).real(), 0.21938393439552029, 1e-15);
    const std::complex<double> e1i = rt::expint(std::complex<double>(0, 1));
    EXPECT_NEAR(e1i.real(), -0.33740392290096813, 1e-15);           // -Ci(1)
    EXPECT_NEAR(e1i.imag(), 0.94608307036718301 - kPi / 2, 1e-15);  // Si(1) - pi/2
    const std::complex<double> em1 = rt::expint(-1.0);
    EXPECT_NEAR(em1.real(), -1.8951178163559368, 1e-14);
    EXPECT_NEAR(em1.imag(), -kPi, 1e-14);
    EXPECT_TRUE(std::isinf(rt::expint(0.0).real()));
}

}  // namespace
