// A vehicle run with a known engine speed, recorded as the sensors would give it, converted by
// name as the evaluation converts it, and compared with the truth.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "apps/rovantel_function_table.h"
#include "runtime/value/eigen.h"
#include "shell/strings.h"
#include "support/test_helpers.h"

namespace {

constexpr double kPi = 3.141592653589793;

// Engine speed rising from 2500 to 12,000 1/min in 24 s, quickly at first, as in one gear.
struct EngineRun {
    double seconds = 24, tau = 8, from = 2500 / 60.0, to = 12000 / 60.0;
    double gain() const { return (to - from) / (1 - std::exp(-seconds / tau)); }
    double rps(double t) const { return from + gain() * (1 - std::exp(-t / tau)); }
    // Engine revolutions since t = 0.
    double turns(double t) const {
        return (from + gain()) * t - gain() * tau * (1 - std::exp(-t / tau));
    }
    // The instants at which `turns(t)/per` passes each whole number.
    std::vector<double> crossings(double per) const {
        std::vector<double> out;
        double t = 0;
        for (int k = 1; turns(seconds) / per > k; ++k) {
            for (int it = 0; it < 30; ++it) t -= (turns(t) / per - k) / (rps(t) / per);
            out.push_back(t);
        }
        return out;
    }
};

// The pulse shape put at the first sample after each instant, on a little noise.
Eigen::VectorXd pulseTrain(const std::vector<double>& at, std::vector<double> shape, double fs,
                           Eigen::Index n, unsigned seed) {
    std::mt19937 gen(seed);
    std::normal_distribution<double> noise(0, 0.02);
    Eigen::VectorXd x(n);
    for (auto& s : x) s = noise(gen);
    for (double t : at) {
        const auto i = static_cast<Eigen::Index>(std::ceil(t * fs));
        for (std::size_t k = 0; k < shape.size() && i + Eigen::Index(k) < n; ++k)
            x(i + Eigen::Index(k)) += shape[k];
    }
    return x;
}

class SyntheticRun : public testsupport::GraphicsTest {};

TEST_F(SyntheticRun, ToneWheelAndIgnitionFollowTheKnownEngineSpeed) {
    const EngineRun run;
    const double fs = 44100, l = 3, u = 1.9, r = 6, W = 1, mr = 500, Mr = 16000;
    const auto n = static_cast<Eigen::Index>(run.seconds * fs);

    // The alternator: l signals per revolution with two harmonics and noise.
    std::mt19937 gen(7);
    std::normal_distribution<double> noise(0, 0.2);
    Eigen::MatrixXd Y(n, 2);
    for (Eigen::Index i = 0; i < n; ++i) {
        const double phase = 2 * kPi * l * run.turns(double(i) / fs);
        Y(i, 0) = 0.5 * std::sin(phase) + 0.2 * std::sin(2 * phase + 1) +
                  0.1 * std::sin(3 * phase + 2) + noise(gen);
    }
    // One inductive pulse per wheel revolution; one spark per engine revolution.
    Y.col(1) = pulseTrain(run.crossings(r * W), {0.6, 1, -1, -0.6}, fs, n, 8);
    const Eigen::VectorXd spark = pulseTrain(run.crossings(1), {1, -0.6, 0.2}, fs, n, 9);

    rt::FunctionTable table = apps::rovantel_function_table();
    const rt::Value st = shell::to_value(shell::german_table());

    // Tone track: within one grid step plus 0.5 % of the engine speed at the slice centre.
    const rt::Values tone =
        table.call("wav2v", {rt::fromMatrix(Eigen::MatrixXd(Y.col(0))), fs, l, l, st, mr, Mr}, 2);
    const std::vector<double> tt = tone[0].real(), tv = tone[1].real();
    ASSERT_GT(tt.size(), 100u);
    double worst = 0, worstRpm = 0;
    for (std::size_t c = 0; c < tt.size(); ++c) {
        const double truth = run.rps(tt[c]) * 60, rpm = tv[c] * 60;
        const double allowed = (Mr - mr) / 1500 + 0.005 * truth;
        worst = std::max(worst, std::fabs(rpm - truth) / allowed);
        worstRpm = std::max(worstRpm, std::fabs(rpm - truth));
        ASSERT_LE(std::fabs(rpm - truth), allowed) << "at " << tt[c] << " s";
    }
    RecordProperty("tone_worst_share_of_tolerance", std::to_string(worst));
    RecordProperty("tone_worst_error_rpm", std::to_string(worstRpm));

    // Each pulse value is the mean over its interval, which ends at its time.
    const auto check = [&](const char* name, const rt::Values& out, double per, double scale,
                           std::size_t pulses) {
        const std::vector<double> t = out[0].real(), v = out[1].real();
        EXPECT_GE(double(t.size()), 0.99 * double(pulses)) << name;
        double worstShare = 0;
        for (std::size_t j = 0; j < t.size(); ++j) {
            const double truth = run.rps(t[j] - scale / v[j] / 2) / per * scale;
            worstShare = std::max(worstShare, std::fabs(v[j] / truth - 1));
            ASSERT_NEAR(v[j], truth, 0.005 * truth) << name << " at " << t[j] << " s";
        }
        RecordProperty(std::string(name) + "_worst_relative_error", std::to_string(worstShare));
    };
    // Wheel speed [m/s]: the wheel turns once per r engine revolutions.
    check("wheel",
          table.call("dig2v", {rt::fromMatrix(Eigen::MatrixXd(Y.col(1))), fs, u, W, st}, 2), r, u,
          run.crossings(r).size());
    // Ignition clamp: revolutions per second, up to 200 (12,000 1/min).
    check("ignition",
          table.call("dig2v", {rt::fromMatrix(Eigen::MatrixXd(spark)), fs, 1, 1, st}, 2), 1, 1,
          run.crossings(1).size());
}

}  // namespace
