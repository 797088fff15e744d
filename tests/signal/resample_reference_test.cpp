// Agreement with numpy/scipy on a table of cases (tests/data/resample/reference.txt).
#include <gtest/gtest.h>

#include "reference.h"
#include "runtime/numeric/besseli.h"
#include "runtime/numeric/expint.h"
#include "signal/czt.h"
#include "signal/firls.h"
#include "signal/hilbert.h"
#include "signal/kaiser.h"
#include "signal/resample.h"
#include "signal/specgram.h"

namespace {

double maxAbsDiff(const Eigen::MatrixXcd& a, const Eigen::MatrixXcd& b) {
    EXPECT_EQ(a.rows(), b.rows());
    EXPECT_EQ(a.cols(), b.cols());
    if (a.rows() != b.rows() || a.cols() != b.cols()) return 1e300;
    return (a - b).cwiseAbs().maxCoeff();
}

Eigen::VectorXd vec(const Eigen::MatrixXcd& m) {
    Eigen::VectorXd v(m.size());
    for (Eigen::Index i = 0; i < m.size(); ++i) v(i) = m.data()[i].real();
    return v;
}

TEST(Reference, KaiserMatchesNumpy) {
    const auto cs = testref::casesStartingWith("kaiser_");
    ASSERT_EQ(cs.size(), 7u);
    for (const auto& [name, c] : cs) {
        const Eigen::VectorXd w = sig::kaiser(c.scalar("n"), c.scalar("beta"));
        EXPECT_LT(maxAbsDiff(w.cast<std::complex<double>>(), c.at("w_col")), 1e-13) << name;
    }
}

TEST(Reference, FirlsMatchesScipy) {
    const auto cs = testref::casesStartingWith("firls_");
    ASSERT_EQ(cs.size(), 6u);
    for (const auto& [name, c] : cs) {
        const Eigen::VectorXd W = c.has("W") ? vec(c.at("W")) : Eigen::VectorXd();
        const std::string ftype = c.has("differentiator") ? "d" : "";
        const Eigen::RowVectorXd h =
            sig::firls(c.scalar("N"), vec(c.at("F")), vec(c.at("A")), W, ftype);
        EXPECT_LT(maxAbsDiff(h.cast<std::complex<double>>(), c.at("h")), 1e-9) << name;
    }
}

TEST(Reference, CztMatchesScipy) {
    const auto cs = testref::casesStartingWith("czt_");
    ASSERT_EQ(cs.size(), 4u);
    for (const auto& [name, c] : cs) {
        Eigen::MatrixXcd y;
        if (c.has("k"))
            y = sig::czt(c.at("x"), c.scalar("k"), c.at("w")(0, 0), c.at("a")(0, 0));
        else
            y = sig::czt(c.at("x"));
        const double scale = c.at("y").cwiseAbs().maxCoeff();
        EXPECT_LT(maxAbsDiff(y, c.at("y")) / scale, 1e-11) << name;
    }
}

TEST(Reference, HilbertMatchesScipy) {
    const auto cs = testref::casesStartingWith("hilbert_");
    ASSERT_EQ(cs.size(), 4u);
    for (const auto& [name, c] : cs) {
        std::optional<double> n;
        if (c.has("n")) n = c.scalar("n");
        EXPECT_LT(maxAbsDiff(sig::hilbert(c.real("x"), n), c.at("y")), 1e-12) << name;
    }
}

TEST(Reference, SpecgramFftPathMatchesScipy) {
    const auto cs = testref::casesStartingWith("specgram_fft_");
    ASSERT_EQ(cs.size(), 3u);
    for (const auto& [name, c] : cs) {
        sig::SpecgramArgs a;
        a.x = c.at("x_col");
        a.xReal = c.at("x_col").imag().isZero(0);
        a.nfft = Eigen::VectorXd::Constant(1, c.scalar("nfft"));
        a.Fs = c.scalar("fs");
        a.window = Eigen::VectorXd::Constant(1, c.scalar("nwind"));
        a.noverlap = c.scalar("noverlap");
        const sig::SpecgramResult r = sig::specgram(a);
        EXPECT_LT(maxAbsDiff(r.B, c.at("B")), 1e-11) << name;
        EXPECT_LT(maxAbsDiff(r.F.cast<std::complex<double>>(), c.at("F_col")), 1e-12) << name;
        EXPECT_LT(maxAbsDiff(r.T.cast<std::complex<double>>(), c.at("T_col")), 1e-12) << name;
    }
}

TEST(Reference, SpecgramAtListedFrequenciesMatchesADirectTransform) {
    const auto cs = testref::casesStartingWith("specgram_band_");
    ASSERT_EQ(cs.size(), 3u);
    for (const auto& [name, c] : cs) {
        const sig::SpecgramResult r =
            sig::specgram(vec(c.at("x_col")), vec(c.at("f_col")), c.scalar("fs"), c.scalar("nwind"),
                          c.scalar("noverlap"));
        const double scale = c.at("B").cwiseAbs().maxCoeff();
        EXPECT_LT(maxAbsDiff(r.B, c.at("B")) / scale, 1e-11) << name;
        EXPECT_LT(maxAbsDiff(r.F.cast<std::complex<double>>(), c.at("f_col")), 1e-12) << name;
        EXPECT_LT(maxAbsDiff(r.T.cast<std::complex<double>>(), c.at("T_col")), 1e-12) << name;
    }
}

TEST(Reference, ResampleMatchesScipysResamplePoly) {
    const auto cs = testref::casesStartingWith("resample_");
    ASSERT_EQ(cs.size(), 5u);
    for (const auto& [name, c] : cs) {
        const sig::ResampleResult r = sig::resample(c.real("x_col"), c.scalar("p"), c.scalar("q"));
        EXPECT_LT(maxAbsDiff(r.y.cast<std::complex<double>>(), c.at("y_col")), 1e-12) << name;
        const Eigen::MatrixXcd& every50 = c.at("h_every50");
        ASSERT_EQ((r.h.size() + 49) / 50, every50.size()) << name;
        for (Eigen::Index i = 0; i < every50.size(); ++i)
            EXPECT_NEAR(r.h(50 * i), every50(0, i).real(), 1e-14) << name << " tap " << 50 * i;
    }
}

TEST(Reference, ExpintAndBesselI0MatchScipy) {
    const auto& e = testref::cases().at("expint");
    const Eigen::MatrixXcd& z = e.at("z");
    for (Eigen::Index i = 0; i < z.size(); ++i) {
        const std::complex<double> want = e.at("e1")(0, i);
        const std::complex<double> got = rt::expint(z(0, i));
        EXPECT_LT(std::abs(got - want), 1e-13 * std::max(1.0, std::abs(want))) << z(0, i);
    }
    const auto& b = testref::cases().at("besseli0");
    for (Eigen::Index i = 0; i < b.at("x").size(); ++i) {
        const double want = b.at("i0")(0, i).real();
        EXPECT_NEAR(rt::besseli(0, b.at("x")(0, i).real()), want, 1e-14 * want);
    }
}

}  // namespace
