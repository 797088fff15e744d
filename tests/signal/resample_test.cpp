// resample, its filter design and the windows and checks it uses.
#include "signal/resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "runtime/numeric/besseli.h"
#include "signal/firls.h"
#include "signal/hanning.h"
#include "signal/kaiser.h"
#include "signal/private/check_order.h"
#include "signal/private/firchk.h"
#include "signal/sinc.h"
#include "warnings.h"

namespace {

constexpr double kPi = 3.141592653589793;

Eigen::MatrixXd ramp(Eigen::Index n, Eigen::Index cols = 1) {
    Eigen::MatrixXd x(n, cols);
    for (Eigen::Index c = 0; c < cols; ++c)
        for (Eigen::Index i = 0; i < n; ++i)
            x(i, c) = std::sin(0.001 * double(i) * double(c + 1)) + double(c);
    return x;
}

TEST(Resample, From44100To8820) {
    const sig::ResampleResult r = sig::resample(ramp(44100), 8820, 44100);
    EXPECT_EQ(r.y.rows(), 8820);
    EXPECT_EQ(r.y.cols(), 1);
    ASSERT_EQ(r.h.size(), 101);
    EXPECT_NEAR(r.h(50), 0.2, 1e-15);
    EXPECT_NEAR(r.h(0), r.h(100), 0);
    // A slow sine passes the low-pass unchanged and in time: output n is input 5n.
    for (Eigen::Index n = 100; n < 8700; n += 611)
        EXPECT_NEAR(r.y(n, 0), std::sin(0.001 * double(5 * n)), 1e-3) << n;  // DC gain 1 - 6e-4
}

TEST(Resample, From48000NeedsTheReducedRatioAndItsLongFilter) {
    const sig::ResampleResult r = sig::resample(ramp(4800), 8820, 48000);
    EXPECT_EQ(r.y.rows(), 882);  // ceil(4800 * 147 / 800)
    ASSERT_EQ(r.h.size(), 16001);
    EXPECT_NEAR(r.h(8000), 147.0 / 800, 1e-15);  // p * 2 fc with fc = 1/1600
}

// A signal handed over a stretch at a time resamples to the very values of the whole one:
// the runs of outputs must fall on the kernel's groups (147 outputs a group at 48 kHz).
TEST(Resample, AStretchAtATimeGivesTheWholeSignalsValues) {
    for (double fs : {44100.0, 48000.0, 22050.0, 8820.0}) {
        for (Eigen::Index n :
             {Eigen::Index(0), Eigen::Index(7), Eigen::Index(40001), Eigen::Index(123457)}) {
            const Eigen::MatrixXd x = ramp(n);
            std::vector<std::pair<Eigen::Index, Eigen::Index>> asked;
            const auto read = [&](Eigen::Index first, Eigen::Index count, double* out) {
                asked.emplace_back(first, count);
                ASSERT_GE(first, 0);
                ASSERT_LE(first + count, n);
                std::copy_n(x.data() + first, count, out);
            };
            const Eigen::VectorXd got = sig::resample(n, read, 8820, fs);
            const Eigen::MatrixXd want = sig::resample(x, 8820, fs).y;
            ASSERT_EQ(got.size(), want.rows()) << fs << " " << n;
            for (Eigen::Index i = 0; i < got.size(); ++i) {
                ASSERT_EQ(got(i), want(i, 0)) << fs << " " << n << " at " << i;
            }
            if (n > 100000 && fs != 8820) {
                EXPECT_GT(asked.size(), 2u) << "read in stretches";
            }
        }
    }
}

TEST(Resample, RefusedFactorsAndTrivialRatios) {
    const Eigen::MatrixXd x = ramp(10);
    EXPECT_EQ(errorOf([&] { sig::resample(x, 2.5, 3); }), "P must be a positive integer.");
    EXPECT_EQ(errorOf([&] { sig::resample(x, 0, 3); }), "P must be a positive integer.");
    EXPECT_EQ(errorOf([&] { sig::resample(x, 2, 0); }), "Q must be a positive integer.");
    EXPECT_EQ(errorOf([&] { sig::resample(x, 2, -4); }), "Q must be a positive integer.");
    EXPECT_EQ(errorOf([&] { sig::resample(x, INFINITY, 3); }), "P must be a positive integer.");
    EXPECT_EQ(errorOf([&] { sig::resample(x, 3, NAN); }), "Q must be a positive integer.");
    const sig::ResampleResult same = sig::resample(x, 2, 2);
    EXPECT_EQ(same.y, x);
    EXPECT_EQ(same.h, Eigen::RowVectorXd::Ones(1));
}

TEST(Resample, MatrixColumnByColumnAndRowsStayRows) {
    const Eigen::MatrixXd x = ramp(300, 3);
    const sig::ResampleResult all = sig::resample(x, 3, 7);
    ASSERT_EQ(all.y.rows(), 129);  // ceil(300 * 3 / 7)
    ASSERT_EQ(all.y.cols(), 3);
    for (Eigen::Index c = 0; c < 3; ++c)
        EXPECT_EQ(all.y.col(c), sig::resample(Eigen::MatrixXd(x.col(c)), 3, 7).y.col(0)) << c;
    const sig::ResampleResult row = sig::resample(Eigen::MatrixXd(x.col(1).transpose()), 3, 7);
    EXPECT_EQ(row.y.rows(), 1);
    EXPECT_EQ(row.y.transpose(), all.y.col(1));
}

TEST(Resample, CallerFilterAndZeroOrderHold) {
    const Eigen::MatrixXd x = ramp(20);
    Eigen::VectorXd h(3);
    h << 0.25, 0.5, 0.25;
    const sig::ResampleResult given = sig::resample(x, 2, 1, h);
    EXPECT_EQ(given.h, h.transpose());
    EXPECT_EQ(given.y.rows(), 40);
    const sig::ResampleResult hold = sig::resample(x, 3, 1, 0.0);
    EXPECT_EQ(hold.h, Eigen::RowVectorXd::Ones(3));
    ASSERT_EQ(hold.y.rows(), 60);
    // Each input sample repeated three times (the hold's centre lines up with the sample).
    EXPECT_NEAR(hold.y(31, 0), x(10, 0), 1e-15);
}

TEST(Firls, ProgramDesignIsTheIdealLowPass) {
    Eigen::VectorXd F(4), A(4);
    F << 0, 0.2, 0.2, 1;
    A << 1, 1, 0, 0;
    const Eigen::RowVectorXd h = sig::firls(100, F, A);
    ASSERT_EQ(h.size(), 101);
    for (Eigen::Index n = 0; n < 101; ++n)
        EXPECT_NEAR(h(n), 0.2 * sig::sinc(0.2 * double(n - 50)), 1e-15) << n;
}

TEST(Firls, ChecksInOrderAndAntisymmetricTypes) {
    Eigen::VectorXd F(4), A(4), A3(3), F3(3);
    F << 0, 0.4, 0.5, 1;
    A << 0, 1, 1, 0;
    A3 << 1, 1, 0;
    F3 << 0, 0.5, 1;
    Eigen::VectorXd Fbad = F;
    Fbad(3) = 1.5;
    EXPECT_EQ(errorOf([&] { sig::firls(10, Fbad, A); }),
              "Frequencies in F must be in range [0,1].");
    EXPECT_EQ(errorOf([&] { sig::firls(10, F3, A3); }), "F must have even length.");
    EXPECT_EQ(errorOf([&] { sig::firls(10, F, A3); }), "F and A must be equal lengths.");
    EXPECT_EQ(errorOf([&] { sig::firls(10, F, A, {}, "x"); }),
              "Requires symmetry to be 'Hilbert' or 'differentiator'.");
    EXPECT_EQ(errorOf([&] { sig::firls(0, F, A); }),
              "Filter order must be a real, positive integer.");
    EXPECT_EQ(errorOf([&] { sig::firls(10, F, A, Eigen::VectorXd::Ones(3)); }),
              "There should be one weight per band.");
    Eigen::VectorXd Fdown(4);
    Fdown << 0, 0.5, 0.4, 1;
    EXPECT_EQ(errorOf([&] { sig::firls(10, Fdown, A); }),
              "Frequencies in F must be nondecreasing.");

    // Odd order with gain at Nyquist: raised by one, with the warning.
    WarningCapture w;
    Eigen::VectorXd Ahp(4);
    Ahp << 0, 0, 1, 1;
    EXPECT_EQ(sig::firls(9, F, Ahp).size(), 11);
    ASSERT_EQ(w.lines.size(), 1u);
    EXPECT_NE(w.lines[0].find("Odd order symmetric FIR filters must have a gain of zero \rat"),
              std::string::npos);

    // Hilbert transformer (types III and IV): antisymmetric taps. One band counts as full
    // band, so the taps are the band's Fourier coefficients: h(c +- k) = +-(cos(0.1 pi k) -
    // cos(0.9 pi k))/(pi k) around the centre c.
    Eigen::VectorXd Fh(2), Ah(2);
    Fh << 0.1, 0.9;
    Ah << 1, 1;
    for (int order : {20, 21}) {
        const Eigen::RowVectorXd h = sig::firls(order, Fh, Ah, {}, "Hilbert");
        ASSERT_EQ(h.size(), order + 1);
        EXPECT_LT((h + h.reverse()).cwiseAbs().maxCoeff(), 1e-14) << order;
    }
    const Eigen::RowVectorXd h3 = sig::firls(20, Fh, Ah, {}, "h");
    EXPECT_EQ(h3(10), 0);
    for (int k = 1; k <= 10; ++k)
        EXPECT_NEAR(h3(10 + k), (std::cos(0.1 * kPi * k) - std::cos(0.9 * kPi * k)) / (kPi * k),
                    1e-15)
            << k;
    Eigen::VectorXd Fd(2), Ad(2);
    Fd << 0, 1;
    Ad << 0, kPi;
    const Eigen::RowVectorXd d = sig::firls(21, Fd, Ad, {}, "differentiator");
    EXPECT_LT((d + d.reverse()).cwiseAbs().maxCoeff(), 1e-12);
    std::complex<double> D = 0;  // response at f = 0.1 (normalised): about pi * 0.1
    for (Eigen::Index n = 0; n < d.size(); ++n) D += d(n) * std::polar(1.0, -kPi * 0.1 * double(n));
    EXPECT_NEAR(std::abs(D), kPi * 0.1, 0.01);
}

TEST(Sineint, KnownValuesAndOddness) {
    Eigen::ArrayXXd x(1, 4);
    x << 0, 1, -1, 10;
    const Eigen::ArrayXXd si = sig::sineint(x);
    EXPECT_EQ(si(0), 0);
    EXPECT_NEAR(si(1), 0.94608307036718301, 1e-15);
    EXPECT_NEAR(si(2), -0.94608307036718301, 1e-15);
    EXPECT_NEAR(si(3), 1.6583475942188740, 1e-14);
}

TEST(Windows, KaiserValues) {
    EXPECT_EQ(sig::kaiser(5, 0), Eigen::VectorXd::Ones(5));
    EXPECT_EQ(sig::kaiser(1, 5), Eigen::VectorXd::Ones(1));
    EXPECT_EQ(sig::kaiser(0, 5).size(), 0);
    const Eigen::VectorXd w = sig::kaiser(11, 5);
    EXPECT_NEAR(w(0), 1 / rt::besseli(0, 5), 1e-16);
    EXPECT_NEAR(w(10), 1 / rt::besseli(0, 5), 1e-16);
    EXPECT_EQ(w(5), 1);
    EXPECT_EQ(w, w.reverse());
    // t = -0.6 at the third point: I0(5 sqrt(1 - 0.36)) / I0(5).
    EXPECT_NEAR(w(2), rt::besseli(0, 5 * 0.8) / rt::besseli(0, 5), 1e-15);
    EXPECT_EQ(errorOf([] { sig::kaiser(-1, 5); }), "Order cannot be less than zero.");
}

TEST(Windows, HanningValuesAndFlags) {
    EXPECT_EQ(sig::hanning(1), Eigen::VectorXd::Ones(1));
    EXPECT_EQ(sig::hanning(0).size(), 0);
    EXPECT_EQ(sig::hanning(std::nullopt).size(), 0);
    {
        WarningCapture w;
        const Eigen::VectorXd h = sig::hanning(2.4);
        ASSERT_EQ(h.size(), 2);
        EXPECT_NEAR(h(0), 0.75, 1e-15);
        EXPECT_EQ(h(0), h(1));
        ASSERT_EQ(w.lines.size(), 1u);
        EXPECT_EQ(w.lines[0], "Warning: Rounding order to nearest integer.");
    }
    // Divisor n + 1: no zero at either end, exactly symmetric.
    for (int n : {5, 6, 3528}) {
        const Eigen::VectorXd h = sig::hanning(n);
        EXPECT_EQ(h, h.reverse()) << n;
        for (int i = 1; i <= n; i += std::max(1, n / 7))
            EXPECT_NEAR(h(i - 1), 0.5 * (1 - std::cos(2 * kPi * i / (n + 1))), 1e-15)
                << n << " " << i;
    }
    const Eigen::VectorXd p = sig::hanning(6, std::string("PER"));
    EXPECT_EQ(p(0), 0);
    EXPECT_EQ(p.tail(5), sig::hanning(5));
    EXPECT_EQ(sig::hanning(5, std::string("s")), sig::hanning(5));
    for (const char* bad : {"", "x", "symmetricx"})
        EXPECT_EQ(errorOf([&] { sig::hanning(5, std::string(bad)); }),
                  "Sampling flag must be either 'symmetric' or 'periodic'.")
            << bad;
    EXPECT_EQ(errorOf([] { sig::hanning(-2); }), "Order cannot be less than zero.");
}

TEST(Checks, CheckOrderAndFirchk) {
    WarningCapture w;
    const auto r0 = sig::check_order(0.0);
    EXPECT_TRUE(r0.trivalwin);
    EXPECT_EQ(r0.w.rows(), 0);
    EXPECT_EQ(r0.w.cols(), 1);
    const auto re = sig::check_order(std::nullopt);
    EXPECT_TRUE(re.trivalwin);
    EXPECT_FALSE(re.n.has_value());
    const auto r1 = sig::check_order(1.0);
    EXPECT_TRUE(r1.trivalwin);
    EXPECT_EQ(r1.w, Eigen::MatrixXd::Ones(1, 1));
    const auto r7 = sig::check_order(7.0);
    EXPECT_FALSE(r7.trivalwin);
    EXPECT_EQ(r7.w.size(), 0);
    EXPECT_TRUE(w.lines.empty());
    const auto rr = sig::check_order(2.5);  // half away from zero
    EXPECT_EQ(*rr.n, 3);
    EXPECT_EQ(w.lines, std::vector<std::string>{"Warning: Rounding order to nearest integer."});
    EXPECT_EQ(errorOf([] { sig::check_order(-0.5); }), "Order cannot be less than zero.");
    EXPECT_EQ(errorOf([] { sig::check_order(INFINITY); }), "Order must be a finite number.");

    Eigen::VectorXd a1(4), a0(4);
    a1 << 1, 1, 0, 1;
    a0 << 1, 1, 0, 0;
    const auto bump = sig::firchk(3, a1);
    EXPECT_EQ(bump.n, 4);
    EXPECT_EQ(bump.msg1, "");
    EXPECT_EQ(
        bump.msg2,
        "Odd order symmetric FIR filters must have a gain of zero \rat the Nyquist frequency. "
        "The order is being increased by one.");
    const auto keep = sig::firchk(3, a0);
    EXPECT_EQ(keep.n, 3);
    EXPECT_EQ(keep.msg1 + keep.msg2, "");
    EXPECT_EQ(sig::firchk(3, a1, 1).msg2, "");  // antisymmetric designs are exempt
    for (double bad : {0.0, -2.0, 2.5, std::nan("")}) {
        const auto r = sig::firchk(bad, a0);
        EXPECT_EQ(r.msg1, "Filter order must be a real, positive integer.") << bad;
        EXPECT_TRUE(r.n == bad || std::isnan(bad));
    }
}

TEST(Sinc, Values) {
    Eigen::MatrixXd x(2, 2);
    x << 0, 0.5, 1, -0.5;
    const Eigen::MatrixXd s = sig::sinc(x);
    EXPECT_EQ(s(0, 0), 1);
    EXPECT_NEAR(s(0, 1), 2 / kPi, 1e-16);
    EXPECT_NEAR(s(1, 0), 0, 1e-16);
    EXPECT_EQ(s(0, 1), s(1, 1));
}

}  // namespace
