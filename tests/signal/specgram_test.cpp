// specgram on its three paths, its checks, and czt.
#include "signal/specgram.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "signal/czt.h"
#include "signal/hanning.h"
#include "warnings.h"

namespace {

constexpr double kPi = 3.141592653589793;
using cd = std::complex<double>;

Eigen::VectorXd noise(Eigen::Index n, unsigned seed) {
    std::mt19937 gen(seed);
    std::normal_distribution<double> nd;
    Eigen::VectorXd v(n);
    for (Eigen::Index i = 0; i < n; ++i) v(i) = nd(gen);
    return v;
}

// The windowed slices transformed at each frequency, by the definition.
Eigen::MatrixXcd directDft(const Eigen::VectorXd& x, const Eigen::VectorXd& win, double noverlap,
                           const Eigen::VectorXd& f, double Fs) {
    const Eigen::Index nwind = win.size(), step = nwind - Eigen::Index(noverlap);
    const Eigen::Index ncol = (x.size() - Eigen::Index(noverlap)) / step;
    Eigen::MatrixXcd B(f.size(), ncol);
    for (Eigen::Index c = 0; c < ncol; ++c)
        for (Eigen::Index i = 0; i < f.size(); ++i) {
            cd s = 0;
            for (Eigen::Index r = 0; r < nwind; ++r)
                s += win(r) * x(c * step + r) * std::polar(1.0, -2 * kPi * f(i) * double(r) / Fs);
            B(i, c) = s;
        }
    return B;
}

Eigen::VectorXd grid(double f1, double df, Eigen::Index n) {
    Eigen::VectorXd f(n);
    for (Eigen::Index i = 0; i < n; ++i) f(i) = f1 + df * double(i);
    return f;
}

TEST(Specgram, SliceCountsAndTimesOfFiveSeconds) {
    const sig::SpecgramResult r =
        sig::specgram(noise(5 * 8820, 1), grid(25, 0.5, 301), 8820, 3528, 1764);
    ASSERT_EQ(r.T.size(), 24);
    EXPECT_EQ(r.B.cols(), 24);
    EXPECT_EQ(r.B.rows(), 301);
    for (Eigen::Index c = 0; c < 24; ++c) EXPECT_NEAR(r.T(c), 0.2 * double(c), 1e-12);
    EXPECT_EQ(r.F, grid(25, 0.5, 301));
}

TEST(Specgram, ShortSignalIsOneZeroPaddedSlice) {
    const Eigen::VectorXd x = noise(50, 2);
    const sig::SpecgramResult r = sig::specgram(x, grid(10, 1, 30), 1000, 64, 10);
    ASSERT_EQ(r.T.size(), 1);
    EXPECT_EQ(r.T(0), 0);
    Eigen::VectorXd padded = Eigen::VectorXd::Zero(64);
    padded.head(50) = x;
    EXPECT_LT((r.B - directDft(padded, sig::hanning(64), 10, grid(10, 1, 30), 1000))
                  .cwiseAbs()
                  .maxCoeff(),
              1e-11);
}

TEST(Specgram, TwentyFrequenciesGoDirectTwentyOneByChirpBothMatchTheDft) {
    const double Fs = 8820;
    const Eigen::VectorXd x = noise(6000, 3);
    const Eigen::VectorXd win = sig::hanning(512);
    for (Eigen::Index m : {20, 21, 301}) {
        const Eigen::VectorXd f = grid(25, 0.51666666666666666, m);
        EXPECT_EQ(sig::specgramPath(f, Fs),
                  m > 20 ? sig::SpecgramPath::ChirpZ : sig::SpecgramPath::Direct);
        for (double noverlap : {256.0, 100.0, 0.0}) {
            const sig::SpecgramResult r = sig::specgram(x, f, Fs, 512, noverlap);
            const Eigen::MatrixXcd want = directDft(x, win, noverlap, f, Fs);
            ASSERT_EQ(r.B.rows(), want.rows());
            ASSERT_EQ(r.B.cols(), want.cols()) << m << " " << noverlap;
            EXPECT_LT((r.B - want).cwiseAbs().maxCoeff(), 1e-9) << m << " " << noverlap;
        }
    }
    // Uneven spacing (steps differing by 1e-12 Fs) is not evenly spaced.
    Eigen::VectorXd uneven = grid(25, 0.5, 30);
    uneven(29) += 1e-12 * Fs;
    EXPECT_EQ(sig::specgramPath(uneven, Fs), sig::SpecgramPath::Direct);
    uneven(29) -= 0.5e-12 * Fs;
    EXPECT_EQ(sig::specgramPath(uneven, Fs), sig::SpecgramPath::ChirpZ);
    EXPECT_EQ(sig::specgramPath(Eigen::VectorXd::Constant(1, 256), Fs), sig::SpecgramPath::Fft);
}

TEST(Specgram, FftPathRowsAndFrequencies) {
    sig::SpecgramArgs a;
    a.x = noise(1000, 4).cast<cd>();
    a.nfft = Eigen::VectorXd::Constant(1, 256);
    a.Fs = 1000;
    sig::SpecgramResult r = sig::specgram(a);
    ASSERT_EQ(r.B.rows(), 129);
    EXPECT_EQ(r.F(128), 500);
    EXPECT_EQ(r.F(1), 1000.0 / 256);
    EXPECT_EQ(r.B.cols(), (1000 - 128) / 128);  // default overlap ceil(256/2)
    a.nfft = Eigen::VectorXd::Constant(1, 255);
    EXPECT_EQ(sig::specgram(a).B.rows(), 128);
    a.nfft = Eigen::VectorXd::Constant(1, 256);
    a.x(3) = cd(1, 1);
    a.xReal = false;
    EXPECT_EQ(sig::specgram(a).B.rows(), 256);
    // Everything defaulted: nfft = min(length, 256), Fs = 2, Hann window of nfft.
    sig::SpecgramArgs d;
    d.x = noise(100, 5).cast<cd>();
    r = sig::specgram(d);
    EXPECT_EQ(r.B.rows(), 51);
    EXPECT_EQ(r.B.cols(), 1);
    EXPECT_EQ(r.F(50), 1);
}

TEST(Specgram, ChirpRowsAtTheEndFrequenciesExactly) {
    const Eigen::VectorXd x = noise(4000, 6);
    const Eigen::VectorXd f = grid(100, 7, 40);
    const sig::SpecgramResult r = sig::specgram(x, f, 8000, 300, 150);
    Eigen::VectorXd ends(2);
    ends << f(0), f(39);
    const Eigen::MatrixXcd want = directDft(x, sig::hanning(300), 150, ends, 8000);
    EXPECT_LT((r.B.row(0) - want.row(0)).cwiseAbs().maxCoeff(), 1e-10);
    EXPECT_LT((r.B.row(39) - want.row(1)).cwiseAbs().maxCoeff(), 1e-10);
}

TEST(Specgram, ChecksReportTheLastFailure) {
    const auto msgOf = [](sig::SpecgramArgs a) { return sig::specgramchk(a).msg; };
    sig::SpecgramArgs a;
    a.x = noise(1000, 7).cast<cd>();
    a.nfft = Eigen::VectorXd::Constant(1, 256);
    a.window = sig::hanning(3);
    a.noverlap = 3.5;  // fails (b) and (d)
    EXPECT_EQ(msgOf(a), "Requires positive integer value for NOVERLAP.");
    a.noverlap = 3;
    EXPECT_EQ(msgOf(a), "Requires NOVERLAP to be strictly less than the window length.");
    a.noverlap = 1;
    a.nfft = Eigen::VectorXd::Constant(1, 2.5);  // fails (a) and (c)
    EXPECT_EQ(msgOf(a), "Requires positive integer values for NFFT.");
    a.nfft = Eigen::VectorXd::Constant(1, 2);
    EXPECT_EQ(msgOf(a), "Requires window's length to be no greater than the FFT length.");
    a.nfft = Eigen::VectorXd::Constant(1, 256);
    EXPECT_EQ(msgOf(a), "");
    a.noverlap = -1;
    EXPECT_EQ(msgOf(a), "Requires positive integer value for NOVERLAP.");
    a.x = Eigen::MatrixXcd::Zero(10, 2);  // (e) wins over (d)
    EXPECT_EQ(msgOf(a), "Requires vector (either row or column) input.");
    EXPECT_EQ(errorOf([&] { sig::specgram(a); }), "Requires vector (either row or column) input.");

    sig::SpecgramArgs list;
    list.x = noise(100, 8).cast<cd>();
    list.nfft = grid(1, 1, 5);
    EXPECT_EQ(errorOf([&] { sig::specgramchk(list); }), "You must specify a window function.");
    list.window = Eigen::VectorXd::Constant(1, 3528);
    const sig::SpecgramChecked c = sig::specgramchk(list);
    EXPECT_EQ(c.window.size(), 3528);
    EXPECT_EQ(c.noverlap, 1764);
}

TEST(Czt, ShapesAndDefaultIsTheDft) {
    const Eigen::VectorXd v = noise(10, 9);
    const Eigen::MatrixXcd row = sig::czt(Eigen::MatrixXcd(v.transpose().cast<cd>()));
    ASSERT_EQ(row.rows(), 1);
    ASSERT_EQ(row.cols(), 10);
    for (Eigen::Index k = 0; k < 10; ++k) {
        cd s = 0;
        for (Eigen::Index r = 0; r < 10; ++r)
            s += v(r) * std::polar(1.0, -2 * kPi * double(k * r) / 10);
        EXPECT_LT(std::abs(row(0, k) - s), 1e-12);
    }
    Eigen::MatrixXcd m(10, 2);
    m.col(0) = v.cast<cd>();
    m.col(1) = v.reverse().cast<cd>();
    const Eigen::MatrixXcd g = sig::czt(m, 4.0);
    ASSERT_EQ(g.rows(), 4);
    ASSERT_EQ(g.cols(), 2);
    // With k given, the default w spaces the k points around the circle: w = e^(-j 2 pi/k).
    cd s = 0;
    for (Eigen::Index r = 0; r < 10; ++r) s += v(9 - r) * std::polar(1.0, -2 * kPi * double(r) / 4);
    EXPECT_LT(std::abs(g(1, 1) - s), 1e-12);
}

}  // namespace
