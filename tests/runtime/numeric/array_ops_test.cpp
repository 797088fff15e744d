// Elementary array functions against values worked out by hand (noted per case).
#include "runtime/numeric/array_ops.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

#include "runtime/dispatch/error.h"

namespace {

const double NaN = std::numeric_limits<double>::quiet_NaN();
const double Inf = std::numeric_limits<double>::infinity();

Eigen::VectorXd col(std::initializer_list<double> v) {
    Eigen::VectorXd out(static_cast<Eigen::Index>(v.size()));
    Eigen::Index i = 0;
    for (double x : v) out(i++) = x;
    return out;
}

TEST(MaxMin, TiesTakeFirstIndexAndNaNIsIgnored) {
    // Cases chosen by hand; expected index is 0-based.
    struct Case {
        Eigen::VectorXd v;
        double max;
        Eigen::Index imax;
        double min;
        Eigen::Index imin;
    };
    const Case cases[] = {
        {col({3, 1, 3, 1}), 3, 0, 1, 1},          {col({NaN, 2, 5, 5, NaN, -1, -1}), 5, 2, -1, 5},
        {col({NaN, NaN}), NaN, 0, NaN, 0},        {col({0, 0, 0}), 0, 0, 0, 0},
        {col({-Inf, NaN, Inf}), Inf, 2, -Inf, 0}, {col({7}), 7, 0, 7, 0},
    };
    for (const Case& c : cases) {
        const rt::Extreme mx = rt::max(c.v), mn = rt::min(c.v);
        if (std::isnan(c.max))
            EXPECT_TRUE(std::isnan(mx.value));
        else
            EXPECT_EQ(mx.value, c.max);
        if (std::isnan(c.min))
            EXPECT_TRUE(std::isnan(mn.value));
        else
            EXPECT_EQ(mn.value, c.min);
        EXPECT_EQ(mx.index, c.imax);
        EXPECT_EQ(mn.index, c.imin);
        // A row gives the same answer as a column.
        EXPECT_EQ(rt::max(Eigen::RowVectorXd(c.v.transpose())).index, c.imax);
    }
    EXPECT_EQ(rt::max(Eigen::VectorXd(0)).index, -1);
}

TEST(MaxMin, ColumnWiseOnMatrices) {
    Eigen::MatrixXd m(3, 4);
    m << 1, 0, NaN, 4, 5, 0, NaN, 4, 5, 0, NaN, -9;
    const rt::Extremes mx = rt::max(m);
    ASSERT_EQ(mx.value.size(), 4);
    EXPECT_EQ(mx.value(0), 5);
    EXPECT_EQ(mx.index[0], 1);  // tie between rows 2 and 3: the first
    EXPECT_EQ(mx.index[1], 0);  // all-zero column: row 1
    EXPECT_TRUE(std::isnan(mx.value(2)));
    EXPECT_EQ(mx.index[2], 0);  // all-NaN column
    EXPECT_EQ(mx.index[3], 0);
    EXPECT_EQ(rt::min(m).index[3], 2);

    // A one-row matrix is one vector.
    Eigen::MatrixXd r(1, 3);
    r << 2, 9, 9;
    const rt::Extremes rm = rt::max(r);
    ASSERT_EQ(rm.value.size(), 1);
    EXPECT_EQ(rm.index[0], 1);
    EXPECT_EQ(rt::max(Eigen::MatrixXd(0, 0)).value.size(), 0);
}

TEST(MaxMin, ElementwiseTwoArguments) {
    Eigen::MatrixXd a(1, 4), b(1, 4);
    a << 1, NaN, 3, NaN;
    b << 2, 5, NaN, NaN;
    const Eigen::MatrixXd mx = rt::max(a, b), mn = rt::min(a, b);
    EXPECT_EQ(mx(0), 2);
    EXPECT_EQ(mx(1), 5);
    EXPECT_EQ(mx(2), 3);
    EXPECT_TRUE(std::isnan(mx(3)));
    EXPECT_EQ(mn(0), 1);
    // Scalar expansion: max(0, min(100 x, 100)) clamps to [0, 100].
    Eigen::MatrixXd x(1, 3);
    x << -0.5, 0.42, 3;
    const Eigen::MatrixXd c = rt::max(Eigen::MatrixXd::Zero(1, 1),
                                      rt::min(100 * x, Eigen::MatrixXd::Constant(1, 1, 100)));
    EXPECT_EQ(c(0), 0);
    EXPECT_DOUBLE_EQ(c(1), 42);
    EXPECT_EQ(c(2), 100);
    EXPECT_THROW(rt::max(Eigen::MatrixXd(2, 2), Eigen::MatrixXd(3, 1)), rt::Error);
}

TEST(Round, HalfAwayFromZero) {
    // Definition of rounding half away from zero; 0.49999999999999994 is the largest double < 0.5.
    const double in[] = {2.5, -2.5, 0.5, -0.5, 1.4999, 0.49999999999999994, -0.0, 1e300};
    const double out[] = {3, -3, 1, -1, 1, 0, -0.0, 1e300};
    for (std::size_t i = 0; i < std::size(in); ++i) EXPECT_EQ(rt::round(in[i]), out[i]) << in[i];
    EXPECT_TRUE(std::isnan(rt::round(NaN)));
    Eigen::MatrixXd m(1, 2);
    m << 2.5, -3.5;
    EXPECT_EQ(rt::round(m)(1), -4);
}

TEST(Reductions, SumProdMeanStd) {
    // Hand sums: 1+2+3+4 = 10, 1*2*3*4 = 24; std of 2,4,4,4,5,5,7,9 (n-1) = sqrt(32/7).
    const Eigen::VectorXd v = col({1, 2, 3, 4});
    EXPECT_EQ(rt::sum(v), 10);
    EXPECT_EQ(rt::prod(v), 24);
    EXPECT_EQ(rt::mean(v), 2.5);
    EXPECT_DOUBLE_EQ(rt::std(col({2, 4, 4, 4, 5, 5, 7, 9})), std::sqrt(32.0 / 7.0));
    EXPECT_EQ(rt::std(col({3})), 0);
    EXPECT_TRUE(std::isnan(rt::mean(Eigen::VectorXd(0))));
    EXPECT_EQ(rt::sum(Eigen::VectorXd(0)), 0);
    // In order: 1e308 * 10 overflows before / 10 could bring it back.
    EXPECT_EQ(rt::prod(col({1e308, 10, 0.1})), Inf);

    Eigen::MatrixXd m(2, 3);
    m << 1, 2, 3, 5, 6, 7;
    EXPECT_EQ(rt::sum(m), Eigen::RowVector3d(6, 8, 10));
    EXPECT_EQ(rt::prod(m), Eigen::RowVector3d(5, 12, 21));
    EXPECT_EQ(rt::mean(m), Eigen::RowVector3d(3, 4, 5));
    EXPECT_DOUBLE_EQ(rt::std(m)(0), std::sqrt(8.0));
    EXPECT_EQ(rt::sum(Eigen::MatrixXd(m.row(0))).size(), 1);
    EXPECT_EQ(rt::sum(Eigen::MatrixXd(0, 0))(0), 0);
    EXPECT_EQ(rt::sum(Eigen::MatrixXd(0, 3)), Eigen::RowVector3d::Zero());
}

TEST(ColumnOps, CumsumDiffFlipudMeshgrid) {
    EXPECT_EQ(rt::cumsum(col({1, 2, 3})), col({1, 3, 6}));
    EXPECT_EQ(rt::diff(col({1, 4, 9, 16})), col({3, 5, 7}));
    EXPECT_EQ(rt::diff(col({1})).size(), 0);
    EXPECT_EQ(rt::diff(Eigen::RowVectorXd(Eigen::RowVector3d(1, 2, 4))),
              Eigen::RowVectorXd(Eigen::RowVector2d(1, 2)));

    Eigen::MatrixXd m(3, 2);
    m << 1, 10, 2, 20, 4, 40;
    Eigen::MatrixXd cs(3, 2), df(2, 2), fl(3, 2);
    cs << 1, 10, 3, 30, 7, 70;
    df << 1, 10, 2, 20;
    fl << 4, 40, 2, 20, 1, 10;
    EXPECT_EQ(rt::cumsum(m), cs);
    EXPECT_EQ(rt::diff(m), df);
    EXPECT_EQ(rt::flipud(m), fl);

    const auto [X, Y] = rt::meshgrid(col({1, 2, 3}), col({10, 20}));
    Eigen::MatrixXd ex(2, 3), ey(2, 3);
    ex << 1, 2, 3, 1, 2, 3;
    ey << 10, 10, 10, 20, 20, 20;
    EXPECT_EQ(X, ex);
    EXPECT_EQ(Y, ey);
}

TEST(Find, LinearIndicesColumnMajor) {
    Eigen::MatrixXd m(2, 3);
    m << 0, 1, NaN, 2, 0, 0;
    // Column-major order: (1,0)=2 -> 1, (0,1)=1 -> 2, (0,2)=NaN -> 4.
    EXPECT_EQ(rt::find(m), (std::vector<Eigen::Index>{1, 2, 4}));
    EXPECT_EQ(rt::find(col({1, 5, 2}).array() >= 2), (std::vector<Eigen::Index>{1, 2}));
    EXPECT_TRUE(rt::find(Eigen::MatrixXd::Zero(2, 2)).empty());
}

TEST(Interp1, LinearAndNaNOutside) {
    // y = 10, 20, 40 at x = 1, 2, 3: midpoints 15 and 30 by hand.
    const Eigen::VectorXd x = col({1, 2, 3}), y = col({10, 20, 40});
    const Eigen::VectorXd r = rt::interp1(x, y, col({1, 1.5, 2, 2.5, 3, 0.999, 3.0001, -Inf, NaN}));
    EXPECT_EQ(r(0), 10);
    EXPECT_EQ(r(1), 15);
    EXPECT_EQ(r(2), 20);
    EXPECT_EQ(r(3), 30);
    EXPECT_EQ(r(4), 40);  // the last abscissa itself is inside
    for (int i = 5; i < 9; ++i) EXPECT_TRUE(std::isnan(r(i))) << i;
}

TEST(Interp1, UnsortedAndDuplicateAbscissae) {
    // Same pairs in another order give the same line.
    const Eigen::VectorXd r = rt::interp1(col({3, 1, 2}), col({40, 10, 20}), col({1.5, 2.5, 3}));
    EXPECT_EQ(r, col({15, 30, 40}));
    // Duplicates at 2 (ordinates 20 and 30) merge to 25: 17.5 and 32.5 either side by hand.
    const Eigen::VectorXd d =
        rt::interp1(col({1, 2, 2, 3}), col({10, 20, 30, 40}), col({1.5, 2, 2.5}));
    EXPECT_EQ(d, col({17.5, 25, 32.5}));
    // The extension point appended after an rpm series that already ends later.
    const Eigen::VectorXd e =
        rt::interp1(col({0, 1, 2, 1.5}), col({100, 200, 300, 250}), col({1.75, 2}));
    EXPECT_EQ(e, col({275, 300}));
    // One point answers only at itself; NaN abscissae are dropped.
    EXPECT_EQ(rt::interp1(col({NaN, 5}), col({1, 7}), col({5}))(0), 7);
    EXPECT_TRUE(std::isnan(rt::interp1(col({5}), col({7}), col({5.5}))(0)));
    EXPECT_THROW(rt::interp1(col({1, 2}), col({1}), col({1})), rt::Error);
}

TEST(Colon, CountsOfFractionalSteps) {
    // The element counts the callers need: n steps give n + 1 elements, last element b.
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> lo(-3000, 9000), span(1e-3, 20000);
    for (int n : {9999, 1500, 300, 7, 1}) {
        for (int trial = 0; trial < 2000; ++trial) {
            const double a = lo(gen), b = a + span(gen);
            const Eigen::RowVectorXd r = rt::colon(a, (b - a) / n, b);
            ASSERT_EQ(r.size(), n + 1) << a << " " << b << " n=" << n;
            ASSERT_EQ(r(0), a);
            ASSERT_EQ(r(n), b);
        }
    }
    // Fixed cases the programs use: speed-plot rpm band, the port chart's angles.
    EXPECT_EQ(rt::colon(2000, (12000.0 - 2000) / 1500, 12000).size(), 1501);
    EXPECT_EQ(rt::colon(1500, (9000.0 - 1500) / 300, 9000).size(), 301);
    const double st1 = 0.6981317007977318, st3 = 2.443460952792061;
    EXPECT_EQ(rt::colon(st1, (st3 - st1) / 9999, st3).size(), 10000);
}

TEST(Colon, PlainRanges) {
    // 0 : 0.1 : 1 has 11 elements although 10 * 0.1 != 1 in binary.
    const Eigen::RowVectorXd r = rt::colon(0, 0.1, 1);
    ASSERT_EQ(r.size(), 11);
    EXPECT_EQ(r(10), 1);
    EXPECT_EQ(rt::colon(0, 0.3, 1).size(), 4);  // 0, 0.3, 0.6, 0.9
    EXPECT_NEAR(rt::colon(0, 0.3, 1)(3), 0.9, 1e-15);
    EXPECT_EQ(rt::colon(5, -1, 2), Eigen::RowVectorXd(Eigen::RowVector4d(5, 4, 3, 2)));
    EXPECT_EQ(rt::colon(1, 3).size(), 3);
    EXPECT_EQ(rt::colon(2, 2).size(), 1);
    EXPECT_EQ(rt::colon(3, 1, 2).size(), 0);
    EXPECT_EQ(rt::colon(1, 0, 2).size(), 0);
    EXPECT_EQ(rt::colon(1, -1, 2).size(), 0);
    EXPECT_EQ(rt::colon(NaN, 1, 2).size(), 0);
    EXPECT_THROW(rt::colon(0, 1, Inf), rt::Error);
}

}  // namespace
