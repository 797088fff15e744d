// The tone that replaces an erased channel, checked sample by sample.
#include "editor/fm_resynthesis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

#include "runtime/dispatch/error.h"

namespace {

constexpr double kPi = std::numbers::pi;

TEST(FmResynthesis, AConstantTraceGivesAPureCosineAtThatFrequency) {
    const double FS = 8820, L = 3;
    const Eigen::VectorXd t = Eigen::VectorXd::LinSpaced(10, 0.2, 2.0);
    const Eigen::VectorXd rpm = Eigen::VectorXd::Constant(10, 6000);  // 300 Hz
    const editor::Resynthesis r = editor::resynthesise(t, rpm, 20000, FS, L);
    ASSERT_EQ(r.y.size(), 20000);
    for (Eigen::Index n = 0; n < r.y.size(); ++n) {
        ASSERT_DOUBLE_EQ(r.f(n), 300);
        ASSERT_NEAR(r.y(n), std::cos(2 * kPi * 300 * double(n) / FS), 1e-9) << n;
    }
}

TEST(FmResynthesis, HoldsTheEndValuesAndIntegratesTheFrequencySampleBySample) {
    const double FS = 1000, L = 2;
    Eigen::VectorXd t(3), rpm(3);
    t << 0.5, 1.0, 1.5;
    rpm << 3000, 6000, 4500;  // 100, 200, 150 Hz
    const Eigen::Index n = 2000;
    const editor::Resynthesis r = editor::resynthesise(t, rpm, n, FS, L);
    EXPECT_DOUBLE_EQ(r.f(0), 100);
    EXPECT_DOUBLE_EQ(r.f(499), 100);
    EXPECT_DOUBLE_EQ(r.f(750), 150);
    EXPECT_DOUBLE_EQ(r.f(1250), 175);
    EXPECT_DOUBLE_EQ(r.f(1999), 150);
    // y(n) = cos(2 pi fm T(n) + 2 pi/FS sum_{k <= n} (f(k) - fm)).
    const double fm = r.f.mean();
    double sum = 0;
    for (Eigen::Index k = 0; k < n; ++k) {
        sum += r.f(k) - fm;
        ASSERT_NEAR(r.y(k), std::cos(2 * kPi * fm * double(k) / FS + 2 * kPi / FS * sum), 1e-9)
            << k;
    }
}

TEST(FmResynthesis, RebuildsTheChosenChannelsOfTheKeptRows) {
    Eigen::MatrixXd Y(4, 2);
    Y << 1, 10, 2, 20, 3, 30, 4, 40;
    Eigen::VectorXd tone(4);
    tone << 0.1, 0.2, 0.3, 0.4;
    const std::vector<Eigen::Index> rows{1, 2};
    Eigen::MatrixXd both(2, 2), second(2, 2), first(2, 2);
    both << 0.2, 0.2, 0.3, 0.3;
    second << 2, 0.2, 3, 0.3;
    first << 0.2, 20, 0.3, 30;
    EXPECT_EQ(editor::rebuild_channels(Y, rows, {1, 2}, tone), both);
    EXPECT_EQ(editor::rebuild_channels(Y, rows, {2}, tone), second);
    EXPECT_EQ(editor::rebuild_channels(Y, rows, {1}, tone), first);
    // A mono recording with the tone on channel 2 becomes two channels.
    Eigen::MatrixXd mono_out(2, 2);
    mono_out << 2, 0.2, 3, 0.3;
    EXPECT_EQ(editor::rebuild_channels(Y.leftCols(1), rows, {2}, tone), mono_out);
}

TEST(FmResynthesis, NoSamplesGiveNoToneAndNoTraceIsAnError) {
    const Eigen::VectorXd t = Eigen::VectorXd::Constant(1, 0.2);
    EXPECT_EQ(editor::resynthesise(t, t, 0, 8820, 3).y.size(), 0);
    EXPECT_THROW(editor::resynthesise(Eigen::VectorXd(), Eigen::VectorXd(), 10, 8820, 3),
                 rt::Error);
}

}  // namespace
