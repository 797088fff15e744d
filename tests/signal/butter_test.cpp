// Butterworth design: closed-form coefficients, invariants, checks and the forms by name.
#include "signal/butter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/numeric/poly.h"
#include "runtime/value/eigen.h"
#include "signal/private/iirchk.h"

namespace {

Eigen::VectorXd wn(std::initializer_list<double> v) {
    Eigen::VectorXd w(static_cast<Eigen::Index>(v.size()));
    Eigen::Index i = 0;
    for (double x : v) w(i++) = x;
    return w;
}

void expectRow(const Eigen::RowVectorXd& got, const std::vector<double>& want, double tol) {
    ASSERT_EQ(got.size(), static_cast<Eigen::Index>(want.size()));
    for (std::size_t i = 0; i < want.size(); ++i)
        EXPECT_NEAR(got(Eigen::Index(i)), want[i], tol) << i;
}

std::string messageOf(double n, const Eigen::VectorXd& w, const std::vector<std::string>& opts) {
    try {
        sig::butter(n, w, opts);
    } catch (const rt::Error& e) {
        return e.what();
    }
    return "";
}

TEST(Butter, KnownCoefficients) {
    const double r2 = std::sqrt(2.0);
    struct Case {
        double n, w;
        std::vector<double> num, den;
    };
    const double g2 = 1 - 1 / r2;
    std::vector<Case> cases = {
        {3, 0.5, {1.0 / 6, 0.5, 0.5, 1.0 / 6}, {1, 0, 1.0 / 3, 0}},
        {1, 0.5, {0.5, 0.5}, {1, 0}},
        {2, 0.5, {g2, 2 * g2, g2}, {1, 0, 3 - 2 * r2}},
        {3, 0.25, {}, {}},
    };
    // butter(3, 0.25) in closed form: the prototype poles mapped by (4 + u·p)/(4 − u·p) with
    // u = 4·tan(π/8) = 4·(√2 − 1), and a binomial numerator scaled to the same sum.
    {
        const double u = 4 * (r2 - 1);
        using C = std::complex<double>;
        const C poles[] = {C(-1, 0), C(-0.5, std::sqrt(3.0) / 2), C(-0.5, -std::sqrt(3.0) / 2)};
        std::vector<C> d = {1, 0, 0, 0};
        for (int j = 0; j < 3; ++j) {
            const C z = (4.0 + u * poles[j]) / (4.0 - u * poles[j]);
            for (int i = j + 1; i >= 1; --i) d[i] -= z * d[i - 1];
        }
        Case& c = cases.back();
        double sum = 0;
        for (const C& x : d) {
            c.den.push_back(x.real());
            sum += x.real();
        }
        c.num = {sum / 8, 3 * sum / 8, 3 * sum / 8, sum / 8};
        EXPECT_NEAR(c.num[0], 0.031689, 1e-6);
        EXPECT_NEAR(c.den[3], -0.197825, 1e-6);
    }
    for (const Case& c : cases) {
        const rt::TransferFunction tf = sig::butter(c.n, wn({c.w}));
        SCOPED_TRACE(testing::Message() << "butter(" << c.n << ", " << c.w << ")");
        expectRow(tf.num, c.num, 1e-12);
        expectRow(tf.den, c.den, 1e-12);
    }
}

TEST(Butter, DigitalLowPassHasUnitDcGainAndSymmetricNumerator) {
    for (int n = 1; n <= 10; ++n)
        for (double w : {0.01, 0.1, 0.3, 0.5, 0.77, 0.999999}) {
            const rt::TransferFunction tf = sig::butter(n, wn({w}));
            SCOPED_TRACE(testing::Message() << "n=" << n << " w=" << w);
            ASSERT_EQ(tf.num.size(), n + 1);
            ASSERT_EQ(tf.den.size(), n + 1);
            EXPECT_EQ(tf.den(0), 1.0);
            EXPECT_NEAR(tf.num.sum(), tf.den.sum(), 1e-12 * std::max(1.0, tf.den.cwiseAbs().sum()));
            for (int i = 0; i <= n; ++i)
                EXPECT_NEAR(tf.num(i), tf.num(n - i), 1e-14 * tf.num.cwiseAbs().maxCoeff());
            // The gain of the zero-pole form is the leading coefficient, however small; the
            // coefficient form carries the rounding of den's sum, a cancellation for low w
            // that leaves nothing of num(1) for the steepest filters here.
            const double kappa = tf.den.cwiseAbs().sum() / std::abs(tf.den.sum());
            if (kappa < 1e9) {
                EXPECT_NEAR(sig::butterZpk(n, wn({w})).k, tf.num(0), 1e-13 * kappa * tf.num(0));
            }
        }
}

TEST(Butter, BandPassHasZerosAtPlusAndMinusOne) {
    for (int n = 1; n <= 5; ++n) {
        const rt::TransferFunction tf = sig::butter(n, wn({0.2, 0.4}));
        ASSERT_EQ(tf.den.size(), 2 * n + 1);
        // The numerator is a multiple of (z − 1)ⁿ(z + 1)ⁿ.
        const Eigen::RowVectorXd base = rt::poly(Eigen::VectorXd(
            (Eigen::VectorXd(2 * n) << Eigen::VectorXd::Ones(n), -Eigen::VectorXd::Ones(n))
                .finished()));
        const double scale = tf.num(0) / base(0);
        for (Eigen::Index i = 0; i < base.size(); ++i)
            EXPECT_NEAR(tf.num(i), scale * base(i), 1e-14);
        const rt::ZeroPoleGain zpk = sig::butterZpk(n, wn({0.2, 0.4}));
        ASSERT_EQ(zpk.z.size(), 2 * n);
        for (int i = 0; i < n; ++i) {
            EXPECT_EQ(zpk.z(i), std::complex<double>(1));
            EXPECT_EQ(zpk.z(n + i), std::complex<double>(-1));
        }
    }
    // Option texts are read in any case.
    EXPECT_EQ(sig::butter(3, wn({0.3}), {"HIGH"}).num, sig::butter(3, wn({0.3}), {"high"}).num);
}

TEST(Butter, OrderLimitAndCheckOrder) {
    EXPECT_EQ(messageOf(501, wn({0.3}), {}), "Filter order too large.");
    EXPECT_EQ(messageOf(501, wn({1}), {}),
              "The cutoff frequencies must be within the interval of (0,1).");
    EXPECT_EQ(messageOf(500, wn({0.3}), {}), "");
    EXPECT_EQ(messageOf(2.5, wn({0.3}), {}), "Filter order must be a non-negative integer.");
    EXPECT_EQ(messageOf(-1, wn({0.3}), {}), "Filter order must be a non-negative integer.");
    const rt::TransferFunction zero = sig::butter(0, wn({0.3}));
    expectRow(zero.num, {1}, 0);
    expectRow(zero.den, {1}, 0);
}

TEST(Iirchk, MessagesInCheckOrder) {
    const std::string range = "The cutoff frequencies must be within the interval of (0,1).";
    const std::string option =
        "Option string must be one of 'high', 'stop', 'low', 'bandpass', 'z' or 's'.";
    const std::string type = "Filter type must be one of 'high', 'stop', 'low', or 'bandpass'.";
    struct Case {
        Eigen::VectorXd w;
        std::vector<std::string> opts;
        std::string msg;
        int btype, analog;
    };
    const double nan = std::nan("");
    const std::vector<Case> cases = {
        {wn({0.3}), {}, "", 1, 0},
        {wn({0.3, 0.5}), {}, "", 2, 0},
        {wn({0.3}), {"high"}, "", 3, 0},
        {wn({0.3, 0.5}), {"Stop", "Z"}, "", 4, 0},
        {wn({2}), {"s"}, "", 1, 1},
        {wn({2}), {"low", "S"}, "", 1, 1},
        {wn({0.999999}), {}, "", 1, 0},
        {wn({0.1, 0.2, 0.3}), {}, "Wn must be a one or two element vector.", 1, 0},
        {Eigen::VectorXd(0), {}, "Wn must be a one or two element vector.", 1, 0},
        {wn({0.1, 0.2, 0.3}), {"a", "b", "c"}, "Wn must be a one or two element vector.", 1, 0},
        {wn({0.3}), {"low", "s", "z"}, "Too many input arguments.", 1, 0},
        {wn({0.3}), {"low", "high"}, "Analog flag must be either 'z' or 's'.", 1, 0},
        {wn({0}), {}, range, 1, 0},
        {wn({1}), {}, range, 1, 0},
        {wn({0.2, 1.5}), {"stop"}, range, 2, 0},
        {wn({nan}), {}, range, 1, 0},
        {wn({0}), {"s"}, "The cutoff frequencies must be greater than zero.", 1, 1},
        {wn({0}), {"nonsense"}, range, 1, 0},
        {wn({0.3}), {"nonsense"}, option, 1, 0},
        {wn({0.3}), {"nonsense", "s"}, type, 1, 1},
        {wn({0.3, 0.4}), {"low"}, "For the 'low' filter option, Wn must have 1 element.", 1, 0},
        {wn({0.3}),
         {"bandpass"},
         "For the 'bandpass' filter option, Wn must have 2 elements.",
         2,
         0},
        {wn({0.3, 0.4}), {"high"}, "For the 'high' filter option, Wn must have 1 element.", 3, 0},
        {wn({0.3}), {"stop"}, "For the 'stop' filter option, Wn must have 2 elements.", 4, 0},
    };
    for (const Case& c : cases) {
        const sig::IirCheck r = sig::iirchk(c.w, c.opts);
        SCOPED_TRACE(c.msg);
        EXPECT_EQ(r.errStr, c.msg);
        if (c.msg.empty() || c.msg.rfind("For the", 0) == 0) {
            EXPECT_EQ(r.btype, c.btype);
        }
        EXPECT_EQ(r.analog, c.analog);
    }
    // butter stops with iirchk's text.
    EXPECT_EQ(messageOf(3, wn({0.3}), {"bandpass"}),
              "For the 'bandpass' filter option, Wn must have 2 elements.");
}

TEST(Butter, FormsByName) {
    rt::FunctionTable t;
    sig::register_butter(t);
    sig::register_iirchk(t);
    const rt::Value three(3.0), w(0.25);

    rt::Values ab = t.call("butter", {three, w}, 2);
    ASSERT_EQ(ab.size(), 2u);
    EXPECT_EQ(ab[0].rows(), 1u);
    EXPECT_EQ(ab[0].cols(), 4u);
    EXPECT_NEAR(ab[1].at(1), -1.459029062228061, 1e-12);
    EXPECT_EQ(t.call("butter", {three, w}, 0).size(), 1u);

    const rt::Values zpk = t.call("butter", {three, w}, 3);
    ASSERT_EQ(zpk.size(), 3u);
    EXPECT_EQ(zpk[0].rows(), 3u);
    EXPECT_EQ(zpk[0].cols(), 1u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(zpk[0].at(i), -1.0);
    EXPECT_EQ(zpk[1].rows(), 3u);
    EXPECT_NEAR(zpk[2].scalar(), ab[0].at(0), 1e-14);

    const rt::Values ss = t.call("butter", {three, w}, 4);
    ASSERT_EQ(ss.size(), 4u);
    EXPECT_EQ(ss[0].dims(), (std::vector<std::size_t>{3, 3}));
    EXPECT_EQ(ss[1].dims(), (std::vector<std::size_t>{3, 1}));
    EXPECT_EQ(ss[2].dims(), (std::vector<std::size_t>{1, 3}));
    EXPECT_EQ(ss[3].dims(), (std::vector<std::size_t>{1, 1}));
    // The state-space model has the coefficient form's denominator.
    const Eigen::RowVectorXd den = rt::poly(rt::toMatrix(ss[0]));
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(den(i), ab[1].at(std::size_t(i)), 1e-12);

    EXPECT_EQ(t.call("butter", {three, rt::Value::row({0.2, 0.4})}, 2)[1].cols(), 7u);
    EXPECT_EQ(t.call("butter", {three, w, rt::Value("high"), rt::Value("z")}, 2)[0].cols(), 4u);
    EXPECT_THROW(t.call("butter", {three, w}, 5), rt::Error);
    try {
        t.call("butter", {three, w, rt::Value("low"), rt::Value("s"), rt::Value("z")}, 2);
        FAIL();
    } catch (const rt::Error& e) {
        EXPECT_STREQ(e.what(), "Too many input arguments.");
    }

    const rt::Values chk =
        t.call("signal/private/iirchk", {rt::Value::row({0.1, 0.2}), rt::Value("stop")}, 3);
    EXPECT_EQ(chk[0].scalar(), 4);
    EXPECT_EQ(chk[1].scalar(), 0);
    EXPECT_TRUE(chk[2].isEmpty());
    EXPECT_THROW(t.call("signal/private/iirchk", {w}, 4), rt::Error);
}

}  // namespace
