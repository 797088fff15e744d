// Zero-phase filtering: the length limit, shapes, steady-state start and the initial state.
#include "signal/filtfilt.h"

#include <gtest/gtest.h>

#include <string>

#include "runtime/dispatch/error.h"
#include "runtime/numeric/filter.h"
#include "runtime/value/eigen.h"
#include "signal/butter.h"

namespace {

struct Coeffs {
    Eigen::VectorXd b, a;
};

Coeffs butter3(double w) {
    const rt::TransferFunction tf = sig::butter(3, (Eigen::VectorXd(1) << w).finished());
    return {tf.num.transpose(), tf.den.transpose()};
}

Eigen::VectorXd ramp(Eigen::Index n) {
    Eigen::VectorXd x(n);
    for (Eigen::Index i = 0; i < n; ++i) x(i) = std::sin(0.7 * double(i)) + 0.1 * double(i * i % 7);
    return x;
}

TEST(Filtfilt, LengthLimitForThirdOrder) {
    const Coeffs f = butter3(0.25);
    try {
        sig::filtfilt(f.b, f.a, ramp(9));
        FAIL() << "9 samples accepted";
    } catch (const rt::Error& e) {
        EXPECT_STREQ(e.what(), "Data must have length more than 3 times filter order.");
    }
    EXPECT_EQ(sig::filtfilt(f.b, f.a, ramp(10)).size(), 10);
    // A matrix is checked by its column length.
    EXPECT_THROW(sig::filtfilt(f.b, f.a, Eigen::MatrixXd::Ones(9, 3)), rt::Error);
}

TEST(Filtfilt, ConstantSignalUnchanged) {
    for (double w : {0.01, 0.25, 0.9}) {
        const Coeffs f = butter3(w);
        const Eigen::VectorXd x = Eigen::VectorXd::Constant(40, 7.5);
        const Eigen::MatrixXd y = sig::filtfilt(f.b, f.a, x);
        EXPECT_LT((y - x).cwiseAbs().maxCoeff(), 1e-10 * 7.5) << w;
    }
}

TEST(Filtfilt, ShapesFollowTheInput) {
    const Coeffs f = butter3(0.3);
    const Eigen::VectorXd col = ramp(25);
    const Eigen::MatrixXd yc = sig::filtfilt(f.b, f.a, col);
    EXPECT_EQ(yc.rows(), 25);
    EXPECT_EQ(yc.cols(), 1);
    const Eigen::MatrixXd yr = sig::filtfilt(f.b, f.a, col.transpose());
    EXPECT_EQ(yr.rows(), 1);
    EXPECT_EQ(yr.cols(), 25);
    EXPECT_EQ(Eigen::VectorXd(yr.transpose()), Eigen::VectorXd(yc));

    Eigen::MatrixXd m(25, 3);
    m << col, 2 * col.reverse(), Eigen::VectorXd::Constant(25, -1);
    const Eigen::MatrixXd ym = sig::filtfilt(f.b, f.a, m);
    ASSERT_EQ(ym.rows(), 25);
    ASSERT_EQ(ym.cols(), 3);
    for (int c = 0; c < 3; ++c)
        EXPECT_EQ(Eigen::MatrixXd(ym.col(c)), sig::filtfilt(f.b, f.a, m.col(c))) << c;

    // Empty inputs give an empty result.
    EXPECT_EQ(sig::filtfilt(Eigen::VectorXd(0), f.a, col).size(), 0);
    EXPECT_EQ(sig::filtfilt(f.b, Eigen::VectorXd(0), col).size(), 0);
    EXPECT_EQ(sig::filtfilt(f.b, f.a, Eigen::MatrixXd(0, 0)).size(), 0);
}

TEST(Filtfilt, MovingAverageStartsFromHalfState) {
    // b = [1 1]/2, a = 1: a is taken as [1 0], zi = 0.5, nfact = 3. Each pass starts from
    // 0.5·(first sample), so the filtered reflection is written out by hand here.
    Eigen::VectorXd b(2), a(1);
    b << 0.5, 0.5;
    a << 1;
    Eigen::VectorXd x(5);
    x << 1, 4, 2, 8, 5;
    // Extended: 2·1 − [2 4... ] = 2 − x(4), 2 − x(3), 2 − x(2); then x; then 10 − x(4), 10 − x(3),
    // 10 − x(2).
    Eigen::VectorXd e(11);
    e << 2 - 8, 2 - 2, 2 - 4, 1, 4, 2, 8, 5, 10 - 8, 10 - 2, 10 - 4;
    Eigen::VectorXd f(11);
    double prev = e(0);  // zi·e(1) = 0.5·e(1) plays the part of 0.5·x(k−1)
    for (int i = 0; i < 11; ++i) {
        f(i) = 0.5 * e(i) + 0.5 * prev;
        prev = e(i);
    }
    Eigen::VectorXd g(11);
    prev = f(10);
    for (int i = 10; i >= 0; --i) {
        g(i) = 0.5 * f(i) + 0.5 * prev;
        prev = f(i);
    }
    const Eigen::MatrixXd y = sig::filtfilt(b, a, x);
    for (int i = 0; i < 5; ++i) EXPECT_NEAR(y(i), g(i + 3), 1e-15) << i;
}

TEST(Filtfilt, LeadingDenominatorIsNormalised) {
    const Coeffs f = butter3(0.2);
    const Eigen::VectorXd x = ramp(30);
    const Eigen::MatrixXd y1 = sig::filtfilt(f.b, f.a, x);
    const Eigen::MatrixXd y2 = sig::filtfilt(4 * f.b, 4 * f.a, x);
    EXPECT_LT((y1 - y2).cwiseAbs().maxCoeff(), 1e-13);
    Eigen::VectorXd a0 = f.a;
    a0(0) = 0;
    EXPECT_THROW(sig::filtfilt(f.b, a0, x), rt::Error);
}

TEST(Filtfilt, ByName) {
    rt::FunctionTable t;
    sig::register_filtfilt(t);
    sig::register_butter(t);
    const rt::Values ba = t.call("butter", {rt::Value(3.0), rt::Value(0.25)}, 2);
    const rt::Value x = rt::Value::row(std::vector<double>(12, 2.0));
    const rt::Values y = t.call("filtfilt", {ba[0], ba[1], x}, 1);
    ASSERT_EQ(y.size(), 1u);
    EXPECT_EQ(y[0].rows(), 1u);
    EXPECT_EQ(y[0].cols(), 12u);
    EXPECT_NEAR(y[0].at(11), 2.0, 1e-12);
    EXPECT_TRUE(t.call("filtfilt", {rt::Value(), ba[1], x}, 1)[0].isEmpty());
    EXPECT_THROW(t.call("filtfilt", {ba[0], ba[1]}, 1), rt::Error);
    EXPECT_THROW(t.call("filtfilt", {ba[0], ba[1], x, x}, 1), rt::Error);
    EXPECT_THROW(t.call("filtfilt", {ba[0], ba[1], x}, 2), rt::Error);
}

}  // namespace
