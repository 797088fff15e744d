// dig2v: edges, intervals, the plausibility ceiling, the outlier test and the progress window.
#include "evaluation/dig2v.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "apps/rovantel_function_table.h"
#include "runtime/graphics/operations.h"
#include "runtime/value/eigen.h"
#include "shell/strings.h"
#include "support/test_helpers.h"

namespace {

const evaluation::Dig2vTexts kTexts{u"Bitte warten", u"Berechne Diagramm"};

// A short pulse at each time (a step up over one sample, down over the next).
Eigen::VectorXd pulses(const std::vector<double>& times, double fs, double seconds) {
    Eigen::VectorXd x = Eigen::VectorXd::Zero(static_cast<Eigen::Index>(fs * seconds));
    for (double t : times) x(static_cast<Eigen::Index>(std::llround(t * fs))) = 1;
    return x;
}

std::vector<double> every(double dt, int n, double t0 = 0.05) {
    std::vector<double> t;
    for (int i = 0; i < n; ++i) t.push_back(t0 + dt * i);
    return t;
}

rt::Value waitbars() { return rt::findobj({rt::Value("Tag"), rt::Value("WaitbarWindow")}); }

class Dig2v : public testsupport::GraphicsTest {};

TEST_F(Dig2v, WheelPulsesATenthApartGiveTheCircumferenceTenTimesASecond) {
    const evaluation::PulseSeries r =
        evaluation::dig2v(pulses(every(0.1, 30), 44100, 3.2), 44100, 1.325, 1, kTexts);
    ASSERT_EQ(r.v.size(), 29);
    for (Eigen::Index j = 0; j < r.v.size(); ++j) {
        EXPECT_NEAR(r.v(j), 13.25, 1e-9);
        // Stamped with the later edge: the step down after pulse j + 1.
        EXPECT_NEAR(r.t(j), std::llround((0.05 + 0.1 * double(j + 1)) * 44100) / 44100.0, 1e-12);
    }
    // Two sensors per revolution halve the speed; the ignition clamp counts revolutions.
    EXPECT_NEAR(evaluation::dig2v(pulses(every(0.1, 30), 44100, 3.2), 44100, 1.325, 2, kTexts).v(0),
                6.625, 1e-9);
    EXPECT_NEAR(evaluation::dig2v(pulses(every(0.02, 60), 44100, 1.3), 44100, 1, 1, kTexts).v(10),
                50, 1e-9);
}

// Samples that are not numbers (a float recording may hold them) make no step: wherever
// they fall in a block of the edge search, the pulses around them are found alike.
TEST_F(Dig2v, SamplesThatAreNotNumbersMakeNoEdge) {
    Eigen::VectorXd x = pulses(every(0.1, 30), 44100, 3.2);
    for (Eigen::Index i : {0, 1, 3, 1000, 4411 + 2, 40001, 40002, 40003, 40004, 140000})
        x(i) = std::nan("");
    x(x.size() - 1) = std::nan("");
    const evaluation::PulseSeries r = evaluation::dig2v(x, 44100, 1.325, 1, kTexts);
    ASSERT_EQ(r.v.size(), 29);
    for (Eigen::Index j = 0; j < r.v.size(); ++j) EXPECT_NEAR(r.v(j), 13.25, 1e-9) << j;
}

// A pulse that rises and falls over several samples is a run of steps over the threshold:
// one edge, at the run's last step.
TEST_F(Dig2v, ARunOfStepsAboveTheThresholdIsOneEdgeAtItsEnd) {
    const double fs = 1000;
    Eigen::VectorXd x = Eigen::VectorXd::Zero(3000);
    std::vector<Eigen::Index> ends;
    for (int k = 0; k < 25; ++k) {
        const Eigen::Index at = 50 + 100 * k;
        x.segment(at, 5) << 1, 2, 3, 2, 1;
        ends.push_back(at + 4);
    }
    const evaluation::PulseSeries r = evaluation::dig2v(x, fs, 1, 1, kTexts);
    ASSERT_EQ(r.t.size(), 24);
    for (Eigen::Index j = 0; j < r.t.size(); ++j) {
        EXPECT_NEAR(r.t(j), double(ends[std::size_t(j) + 1]) / fs, 1e-12);
        EXPECT_NEAR(r.v(j), 10, 1e-9);
    }
}

// A spurious edge shortly before a pulse opens an interval far below the others: it goes.
TEST_F(Dig2v, AnEdgeBeforeAMuchShorterIntervalIsDropped) {
    std::vector<double> t = every(0.05, 40);
    t.push_back(0.05 + 0.05 * 21 - 0.003);
    std::sort(t.begin(), t.end());
    const evaluation::PulseSeries r =
        evaluation::dig2v(pulses(t, 44100, 2.2), 44100, 1.325, 1, kTexts);
    ASSERT_EQ(r.v.size(), 39);
    for (Eigen::Index j = 0; j < r.v.size(); ++j) ASSERT_NEAR(r.v(j), 26.5, 1e-9) << j;
}

// Pulse times of a wheel whose speed goes through `speed` [m/s], one value per revolution.
std::vector<double> wheel(double u, const std::vector<double>& speed) {
    std::vector<double> t{0.05};
    for (double v : speed) t.push_back(t.back() + u / v);
    return t;
}

std::vector<double> ramp(double from, double to, int n) {
    std::vector<double> v;
    for (int i = 0; i < n; ++i) v.push_back(from + (to - from) * i / (n - 1));
    return v;
}

TEST_F(Dig2v, ImplausibleSpeedsAndSingleOutliersAreRemoved) {
    const double u = 1.325, fs = 44100;
    // From 60 to 100 m/s: everything over 83.33 m/s (300 km/h) goes with its time.
    const std::vector<double> fast = ramp(60, 100, 200);
    std::vector<double> t = wheel(u, fast);
    evaluation::PulseSeries r = evaluation::dig2v(pulses(t, fs, t.back() + 0.1), fs, u, 1, kTexts);
    const auto plausible =
        std::count_if(fast.begin(), fast.end(), [](double v) { return v < 83.3; });
    EXPECT_NEAR(double(r.v.size()), double(plausible), 1);
    EXPECT_EQ(r.t.size(), r.v.size());
    EXPECT_LE(r.v.maxCoeff(), 300 / 3.6);
    EXPECT_GT(r.v.maxCoeff(), 83);

    // A smooth rise from 10 to 30 m/s with one value 0.5 m/s above it: that value goes.
    std::vector<double> smooth = ramp(10, 30, 121);
    smooth[60] += 0.5;
    t = wheel(u, smooth);
    r = evaluation::dig2v(pulses(t, fs, t.back() + 0.1), fs, u, 1, kTexts);
    ASSERT_EQ(r.v.size(), 120);
    for (Eigen::Index j = 0; j < r.v.size(); ++j) {
        const double expected = 10 + 20.0 * double(j < 60 ? j : j + 1) / 120;
        ASSERT_NEAR(r.v(j), expected, 0.02) << j;
    }
}

// 10,000 1/min is 166.7 sparks a second, over the 83.33 ceiling of speeds, and one sample of
// timing at 44.1 kHz moves a value by 0.63: the whole train stays.
TEST_F(Dig2v, AnIgnitionTrainAtTenThousandRpmIsKeptWhole) {
    const double fs = 44100, rps = 10000.0 / 60;
    const evaluation::PulseSeries r =
        evaluation::dig2v(pulses(every(1 / rps, 500), fs, 3.2), fs, 1, 1, kTexts);
    ASSERT_EQ(r.v.size(), 499);
    for (Eigen::Index j = 0; j < r.v.size(); ++j)
        ASSERT_NEAR(r.v(j), rps, rps * rps / fs * 1.01) << j;
    EXPECT_NEAR(r.v.mean(), rps, 0.01);
}

TEST_F(Dig2v, ProgressWindowOpensWithItsTextsAndClosesOrStaysOnFailure) {
    const shell::Strings& de = shell::german_table();
    rt::FunctionTable table = apps::rovantel_function_table();
    const rt::Value y = rt::fromMatrix(Eigen::MatrixXd(pulses(every(0.1, 30), 8820, 3.2)));
    rt::Values out = table.call("dig2v", {y, 8820, 1.325, 1, shell::to_value(de)}, 2);
    EXPECT_EQ(out[0].cols(), 1u);
    EXPECT_EQ(out[1].rows(), 29u);
    EXPECT_TRUE(waitbars().isEmpty()) << "closed at the end";

    // Five pulses are four values: too few for the forward-backward filter.
    const rt::Value few = rt::fromMatrix(Eigen::MatrixXd(pulses(every(0.1, 5), 8820, 1)));
    EXPECT_EQ(testsupport::errorOf([&] {
                  table.call("dig2v", {few, 8820, 1.325, 1, shell::to_value(de)}, 2);
              }),
              "Data must have length more than 3 times filter order.");
    const rt::Value open = waitbars();
    ASSERT_EQ(open.numel(), 1u);
    EXPECT_EQ(rt::get(open, "Name").text(), "Berechne Diagramm");
    EXPECT_EQ(rt::get(open, "NumberTitle").text(), "off");
    const rt::Value bar = rt::findobj({open, rt::Value("Type"), rt::Value("patch")});
    EXPECT_NEAR(rt::get(bar, "XData").at(1), 73, 1e-9) << "after the ceiling, before the filter";
    const rt::Value ax = rt::findobj({open, rt::Value("Type"), rt::Value("axes")});
    EXPECT_EQ(rt::get(rt::get(ax, "Title"), "String").text(), "Bitte warten");

    // A signal without steps has no pulses: nothing, and no failure.
    rt::close({rt::Value("all"), rt::Value("hidden")});
    out = table.call(
        "dig2v",
        {rt::fromMatrix(Eigen::MatrixXd::Ones(500, 2)), 8820, 1.325, 1, shell::to_value(de)}, 2);
    EXPECT_TRUE(out[1].isEmpty());
    EXPECT_TRUE(waitbars().isEmpty());
    EXPECT_EQ(testsupport::errorOf([&] {
                  table.call("dig2v",
                             {rt::fromMatrix(Eigen::MatrixXd::Ones(500, 3)), 8820, 1, 1,
                              shell::to_value(de)},
                             2);
              }),
              "The recording must have one or two channels.");
}

}  // namespace
