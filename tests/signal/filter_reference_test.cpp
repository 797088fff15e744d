// Agreement with tables written once by an independent implementation (scipy.signal; the
// generators sit beside the data in tests/data/filter).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/numeric/poly.h"
#include "signal/butter.h"
#include "signal/filtfilt.h"

namespace {

using Row = std::vector<double>;

struct Block {
    std::string header;
    std::map<std::string, Row> rows;
};

// Blocks start at a line whose tag is `start`; other lines are "tag count values...".
std::vector<Block> readBlocks(const std::string& file, const std::string& start) {
    std::ifstream in(std::string(ROVANTEL_TEST_DATA) + "/filter/" + file);
    EXPECT_TRUE(in.good()) << file;
    std::vector<Block> blocks;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream ls(line);
        std::string tag;
        ls >> tag;
        if (tag == "case" || (tag == start && (blocks.empty() || blocks.back().rows.count(tag)))) {
            blocks.emplace_back();
            blocks.back().header = line;
            if (tag == "case") continue;
        }
        std::size_t count = 0;
        ls >> count;
        Row r(count);
        for (double& v : r) ls >> v;
        blocks.back().rows[tag] = r;
    }
    return blocks;
}

Eigen::VectorXd vec(const Row& r) {
    return Eigen::Map<const Eigen::VectorXd>(r.data(), Eigen::Index(r.size()));
}

// Largest difference relative to the largest magnitude of the expected values. The rows
// are aligned at their last (constant) coefficient; missing leading ones count as 0, since
// an analogue numerator may be written with or without leading zeros.
double relError(const Eigen::RowVectorXd& got, const Row& want) {
    const Eigen::Index n = std::max(got.size(), Eigen::Index(want.size()));
    double err = 0, scale = 1e-300;
    for (Eigen::Index i = 0; i < n; ++i) {
        const Eigen::Index ig = got.size() - n + i, iw = Eigen::Index(want.size()) - n + i;
        const double g = ig >= 0 ? got(ig) : 0, w = iw >= 0 ? want[std::size_t(iw)] : 0;
        err = std::max(err, std::abs(g - w));
        scale = std::max(scale, std::abs(w));
    }
    return err / scale;
}

// Roots compared as multisets: each expected root is matched with the nearest unused one.
double rootError(const Eigen::VectorXcd& got, const Row& re, const Row& im) {
    if (got.size() != Eigen::Index(re.size())) return 1e300;
    std::vector<bool> used(re.size(), false);
    double worst = 0;
    for (std::size_t i = 0; i < re.size(); ++i) {
        const std::complex<double> w(re[i], im[i]);
        std::size_t best = 0;
        double bestErr = 1e300;
        for (std::size_t j = 0; j < re.size(); ++j)
            if (!used[j] && std::abs(got(Eigen::Index(j)) - w) < bestErr) {
                bestErr = std::abs(got(Eigen::Index(j)) - w);
                best = j;
            }
        used[best] = true;
        worst = std::max(worst, bestErr / std::max(1.0, std::abs(w)));
    }
    return worst;
}

// k·∏(s − zᵢ)/∏(s − pᵢ): well conditioned where the coefficient form is not.
std::complex<double> evalZpk(const Block& b, std::complex<double> s) {
    std::complex<double> h = b.rows.at("k")[0];
    const Row &zr = b.rows.at("zr"), &zi = b.rows.at("zi"), &pr = b.rows.at("pr"),
              &pi = b.rows.at("pi");
    for (std::size_t i = 0; i < zr.size(); ++i) h *= s - std::complex<double>(zr[i], zi[i]);
    for (std::size_t i = 0; i < pr.size(); ++i) h /= s - std::complex<double>(pr[i], pi[i]);
    return h;
}

// Σ|den| over |den at the frequency where buttnum matches the gains| (digital only).
double scalingCondition(const Eigen::RowVectorXd& den, const std::string& domain,
                        const std::string& kind, const Row& w) {
    if (domain == "analog") return 1;
    const double pi = 3.141592653589793;
    double wd = 0;
    if (kind == "high") wd = pi;
    if (kind == "bandpass") {
        const double u = std::sqrt(4 * std::tan(pi * w[0] / 2) * 4 * std::tan(pi * w[1] / 2));
        wd = 2 * std::atan2(u, 4.0);
    }
    std::complex<double> v = 0;
    for (Eigen::Index i = 0; i < den.size(); ++i)
        v += den(i) * std::exp(std::complex<double>(0, -wd * double(i)));
    return den.cwiseAbs().sum() / std::abs(v);
}

TEST(ButterReference, AllTypesOrdersOneToEight) {
    const std::vector<Block> blocks = readBlocks("butter_table.txt", "case");
    ASSERT_EQ(blocks.size(), 192u);
    for (const Block& b : blocks) {
        std::istringstream hs(b.header);
        std::string word, domain, kind;
        double n = 0;
        hs >> word >> domain >> kind >> n;
        Row w;
        for (double x; hs >> x;) w.push_back(x);
        std::vector<std::string> options;
        if ((kind == "high" || kind == "stop")) options.push_back(kind);
        if (domain == "analog") options.push_back("s");
        SCOPED_TRACE(b.header);

        const rt::TransferFunction tf = sig::butter(n, vec(w), options);
        const Row& wantNum = b.rows.at("num");
        const Row& wantDen = b.rows.at("den");
        EXPECT_LT(relError(tf.den, wantDen), 1e-10);
        // The numerator is scaled by den's value at the matching frequency, a sum with
        // cancellation for steep filters; its accuracy is eps times that condition number.
        EXPECT_LT(relError(tf.num, wantNum),
                  1e-13 * std::max(1.0, scalingCondition(tf.den, domain, kind, w)));

        const rt::ZeroPoleGain zpk = sig::butterZpk(n, vec(w), options);
        EXPECT_LT(rootError(zpk.z, b.rows.at("zr"), b.rows.at("zi")), 1e-12);
        EXPECT_LT(rootError(zpk.p, b.rows.at("pr"), b.rows.at("pi")), 1e-9);
        const double k = b.rows.at("k")[0];
        EXPECT_NEAR(zpk.k, k, 1e-10 * std::abs(k));

        // The state-space model has the same frequency response (the gain is at most 1).
        const rt::StateSpace ss = sig::butterSs(n, vec(w), options);
        EXPECT_LT(relError(rt::poly(ss.a), wantDen), 1e-10);
        const double top = domain == "analog" ? 3 * w.back() : 3.0;
        for (double f : {0.05, 0.2, 0.45, 0.7, 0.95}) {
            const std::complex<double> s = domain == "analog"
                                               ? std::complex<double>(0, f * top)
                                               : std::exp(std::complex<double>(0, f * top));
            const Eigen::MatrixXcd resolvent =
                (s * Eigen::MatrixXcd::Identity(ss.a.rows(), ss.a.rows()) -
                 ss.a.cast<std::complex<double>>())
                    .partialPivLu()
                    .solve(ss.b.cast<std::complex<double>>());
            const std::complex<double> h =
                (ss.c.cast<std::complex<double>>() * resolvent)(0, 0) + ss.d(0, 0);
            EXPECT_LT(std::abs(h - evalZpk(b, s)), 1e-9) << "at " << s;
        }
    }
}

TEST(FiltfiltReference, ButterworthAndShortFilters) {
    const std::vector<Block> blocks = readBlocks("filtfilt_table.txt", "b");
    ASSERT_EQ(blocks.size(), 12u);
    for (const Block& b : blocks) {
        const Row& x = b.rows.at("x");
        const Row& y = b.rows.at("y");
        SCOPED_TRACE(testing::Message()
                     << "length " << x.size() << ", b " << b.rows.at("b").size());
        const Eigen::MatrixXd got = sig::filtfilt(vec(b.rows.at("b")), vec(b.rows.at("a")), vec(x));
        ASSERT_EQ(got.size(), Eigen::Index(y.size()));
        for (std::size_t i = 0; i < y.size(); ++i)
            EXPECT_NEAR(got(Eigen::Index(i)), y[i], 1e-12) << i;
    }
}

}  // namespace
