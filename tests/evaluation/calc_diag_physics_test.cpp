// The calculate button against physics: recordings of a simulated vehicle (the road model
// with the main window's default parameters and a known full-throttle power curve) give
// back the wheel power that drove it.
#include <cmath>
#include <functional>

#include "diagram/diagram_fixture.h"
#include "runtime/graphics/operations.h"
#include "runtime/numeric/array_ops.h"
#include "shell/panel.h"
#include "signal/wavwrite.h"

namespace {

using rt::Value;

constexpr double kPi = 3.141592653589793;
// The main window's defaults.
constexpr double kM = 200, kCw = 0.5, kA = 0.75, kFro = 0.015, kR = 6.32, kU = 1.325, kL = 3;

// Full-throttle wheel power [W] over engine speed [1/min], highest at 10,000 1/min.
double power_at(double rpm, double top) {
    const double s = (rpm - 10000) / 8000;
    return top * (1 - s * s);
}

// The vehicle accelerating in one gear from 3000 1/min, sampled at fs for `seconds`.
struct Simulation {
    std::vector<double> t, v, rpm, P;  // per sample
    std::vector<double> engine_turns, wheel_turns;
    double fs = 0;

    Simulation(double fs_, double seconds, double top) : fs(fs_) {
        const auto n = static_cast<std::size_t>(seconds * fs);
        double v_ = 3000.0 / 60 / kR * kU, e = 0, w = 0;
        const auto accel = [&](double vv) {
            const double rpm_ = vv * 60 * kR / kU;
            return (power_at(rpm_, top) / vv - 0.65 * kCw * kA * vv * vv - kM * 9.81 * kFro) / kM;
        };
        const double h = 1 / fs;
        for (std::size_t i = 0; i < n; ++i) {
            t.push_back(double(i) * h);
            v.push_back(v_);
            rpm.push_back(v_ * 60 * kR / kU);
            P.push_back(power_at(rpm.back(), top));
            engine_turns.push_back(e);
            wheel_turns.push_back(w);
            const double k1 = accel(v_), k2 = accel(v_ + h / 2 * k1), k3 = accel(v_ + h / 2 * k2),
                         k4 = accel(v_ + h * k3);
            const double v_next = v_ + h / 6 * (k1 + 2 * k2 + 2 * k3 + k4);
            e += (v_ + v_next) / 2 * h * kR / kU;
            w += (v_ + v_next) / 2 * h / kU;
            v_ = v_next;
        }
    }

    // The alternator: kL signals per revolution with a harmonic and a little noise.
    Eigen::VectorXd tone(unsigned seed) const {
        std::uint32_t noise = seed;
        Eigen::VectorXd y(static_cast<Eigen::Index>(t.size()));
        for (std::size_t i = 0; i < t.size(); ++i) {
            const double phase = 2 * kPi * kL * engine_turns[i];
            noise = noise * 1664525u + 1013904223u;
            const double hiss = (double(noise >> 8) / 16777216.0 - 0.5) * 0.1;
            y(Eigen::Index(i)) = 0.5 * std::sin(phase) + 0.15 * std::sin(2 * phase + 1) + hiss;
        }
        return y;
    }
    // A pulse of `shape` at the first sample after each whole turn.
    Eigen::VectorXd pulses(const std::vector<double>& turns, std::vector<double> shape) const {
        Eigen::VectorXd y = Eigen::VectorXd::Zero(static_cast<Eigen::Index>(t.size()));
        for (std::size_t i = 1; i < t.size(); ++i)
            if (std::floor(turns[i]) > std::floor(turns[i - 1]))
                for (std::size_t k = 0; k < shape.size() && i + k < t.size(); ++k)
                    y(Eigen::Index(i + k)) += shape[k];
        return y;
    }
};

struct Figures {
    double peak = 0;  // deviation of the highest power, share of it
    double rms = 0;   // RMS deviation over the run, share of the highest power
    double top_rpm = 0;
};

class Physics : public diagram_test::DiagramTest {
protected:
    void SetUp() override {
        DiagramTest::SetUp();
        shell::set_tagged("cut_File", "Value", Value(0.0));
    }
    // Evaluates `file` with the channel choice, time on x and kW on y, and compares the power
    // with the simulation's between 0.5 s after the run's start and 0.5 s before its end.
    Figures evaluate(const std::string& file, int ch1, int ch2, const Simulation& sim) {
        type("wav_file", file);
        choose("popup_sig_ch1", ch1);
        choose("popup_sig_ch2", ch2);
        shell::set_tagged("popup_xaxis", "Value", Value(2));
        shell::set_tagged("popup_yaxis", "Value", Value(4));
        click_label(shell::text_table().push_sdiag);
        EXPECT_EQ(dialogs_.shown().size(), 0u) << dialogs_.shown().back().text;
        const auto lines = tagged_from(u"Diag", 2, 4);
        EXPECT_FALSE(lines.empty());
        if (lines.empty()) return {1, 1, 0};
        const Value line(lines.front());
        const std::vector<double> t = rt::get(line, "XData").real();
        const std::vector<double> P = rt::get(line, "YData").real();
        const Eigen::VectorXd truth =
            rt::interp1(Eigen::Map<const Eigen::VectorXd>(sim.t.data(), Eigen::Index(sim.t.size())),
                        Eigen::Map<const Eigen::VectorXd>(sim.P.data(), Eigen::Index(sim.P.size())),
                        Eigen::Map<const Eigen::VectorXd>(t.data(), Eigen::Index(t.size())));
        double top_true = 0, top_got = 0, sq = 0;
        std::size_t count = 0;
        // The run's own ends: it stops at its speed maximum.
        for (std::size_t i = 0; i < t.size(); ++i) {
            if (t[i] < t.front() + 0.5 || t[i] > t.back() - 0.5 ||
                std::isnan(truth(Eigen::Index(i))))
                continue;
            const double want = truth(Eigen::Index(i)) / 1000;
            top_true = std::max(top_true, want);
            top_got = std::max(top_got, P[i]);
            sq += (P[i] - want) * (P[i] - want);
            ++count;
        }
        EXPECT_GT(count, 100u);
        return {std::abs(top_got - top_true) / top_true, std::sqrt(sq / double(count)) / top_true,
                *std::max_element(sim.rpm.begin(), sim.rpm.end())};
    }
    void record(const std::string& name, const Figures& f) {
        RecordProperty(name + "_peak_percent", std::to_string(100 * f.peak));
        RecordProperty(name + "_rms_percent", std::to_string(100 * f.rms));
        std::printf("%-28s peak %.3f %%  rms %.3f %%  top %.0f 1/min\n", name.c_str(), 100 * f.peak,
                    100 * f.rms, f.top_rpm);
    }
};

constexpr double kTop = 21000;  // W

TEST_F(Physics, AlternatorToneRunsGiveTheWheelPower) {
    struct Case {
        double seconds, fs;
        bool stereo;
        double peak, rms;
    };
    const Case cases[] = {{20, 44100, false, 0.015, 0.005},
                          {20, 48000, true, 0.015, 0.005},
                          {30, 44100, true, 0.03, 0.015},
                          {30, 48000, false, 0.03, 0.015}};
    for (const Case& c : cases) {
        // A longer run reaches the same engine speeds with less power.
        const Simulation sim(c.fs, c.seconds, kTop * 20 / c.seconds);
        const Eigen::VectorXd tone = sim.tone(7);
        Eigen::MatrixXd y(tone.size(), c.stereo ? 2 : 1);
        y.col(0) = tone;
        if (c.stereo) y.col(1) = 0.8 * sim.tone(9);
        const std::string file = "tone" + std::to_string(int(c.seconds)) + "_" +
                                 std::to_string(int(c.fs)) + (c.stereo ? "_stereo" : "_mono") +
                                 ".wav";
        sig::wavwrite(y, c.fs, 32, file);
        const Figures f = evaluate(file, 1, c.stereo ? 1 : 4, sim);
        record(file, f);
        EXPECT_LE(f.peak, c.peak) << file;
        EXPECT_LE(f.rms, c.rms) << file;
    }
}

TEST_F(Physics, WheelPulsesAndTheIgnitionClampGiveTheWheelPower) {
    const Simulation sim(44100, 20, kTop);
    // Alternator on the left, one pulse per wheel revolution on the right.
    Eigen::MatrixXd y(sim.t.size(), 2);
    y.col(0) = sim.tone(7);
    y.col(1) = sim.pulses(sim.wheel_turns, {0.6, 1, -1, -0.6});
    sig::wavwrite(y, sim.fs, 32, "wheel.wav");
    Figures f = evaluate("wheel.wav", 1, 2, sim);
    record("wheel pulses", f);
    EXPECT_LE(f.peak, 0.03);
    EXPECT_LE(f.rms, 0.006);

    // One spark per engine revolution, on its own.
    sig::wavwrite(sim.pulses(sim.engine_turns, {1, -0.6, 0.2}), sim.fs, 32, "ignition.wav");
    f = evaluate("ignition.wav", 4, 4, sim);
    record("ignition clamp", f);
    EXPECT_LE(f.top_rpm, 12000);
    EXPECT_LE(f.peak, 0.01);
}

}  // namespace
