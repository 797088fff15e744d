#include "shell/isodd.h"

#include <gtest/gtest.h>

#include <limits>

TEST(Isodd, OddEvenAndNonIntegersKeepTheShape) {
    Eigen::MatrixXd v(1, 4);
    v << 3, 4, 2.5, -3;
    Eigen::MatrixXd want(1, 4);
    want << 1, 0, -1, 1;
    EXPECT_EQ(shell::isodd(v), want);

    Eigen::MatrixXd col(3, 1);
    col << 7, 0, std::numeric_limits<double>::quiet_NaN();
    Eigen::MatrixXd got = shell::isodd(col);
    ASSERT_EQ(got.rows(), 3);
    EXPECT_EQ(got(0), 1);
    EXPECT_EQ(got(1), 0);
    EXPECT_EQ(got(2), -1);
}
