// Writes the demo recording "demo.wav" and the start parameter file "rovantel_start.cfg"
// into the folder given as the only argument. The recording is a simulated acceleration
// run: the alternator tone (3 signals per engine revolution) on the left channel, the right
// channel silent. Only the synthesis lives here; the files go through the program's writers.
#include <Eigen/Dense>
#include <cmath>
#include <iostream>
#include <numbers>
#include <string>

#include "runtime/dispatch/error.h"
#include "runtime/fileio/varfile.h"
#include "signal/wavwrite.h"

namespace {

constexpr double kRate = 44100;
constexpr double kSeconds = 14;
constexpr double kSignalsPerRev = 3;

// Engine speed of a run in one gear: fast rise at first, flattening towards the top.
double rpm_at(double t) {
    return 2500 + 7000 * (1 - std::exp(-t / 6.0)) / (1 - std::exp(-kSeconds / 6.0));
}

Eigen::MatrixXd demo_run() {
    const auto n = static_cast<Eigen::Index>(kRate * kSeconds);
    Eigen::MatrixXd y = Eigen::MatrixXd::Zero(n, 2);
    double phase = 0;
    std::uint32_t noise = 12345;
    for (Eigen::Index i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        phase += 2 * std::numbers::pi * rpm_at(t) / 60 * kSignalsPerRev / kRate;
        noise = noise * 1664525u + 1013904223u;  // a little hiss, as a real pick-up has
        const double hiss = (static_cast<double>(noise >> 8) / 16777216.0 - 0.5) * 0.02;
        y(i, 0) = 0.5 * std::sin(phase) + 0.1 * std::sin(2 * phase) + hiss;
    }
    return y;
}

std::vector<rt::NamedValue> start_parameters() {
    auto num = [](double x) { return rt::Value(x); };
    return {{"m", num(180)},
            {"cw", num(0.55)},
            {"r", num(6.32)},
            {"u", num(1.325)},
            {"l", num(kSignalsPerRev)},
            {"fl", num(1)},
            {"J", num(1.08)},
            {"ur", num(0.9321)},
            {"A", num(0.7)},
            {"W", num(1)},
            {"komment", num(0)},
            {"cutvmax", num(1)},
            {"sig1", num(1)},
            {"sig2", num(4)},
            {"xaxis", num(1)},
            {"yaxis", num(1)},
            {"wav_kom", num(1)},
            {"T", num(20)},
            {"P", num(1013)},
            {"tit", rt::Value("Rovantel V0.1.18")},
            {"mr", num(2000)},
            {"Mr", num(10000)},
            {"cbh", num(0)},
            {"fro", num(0.015)},
            {"wavfile", rt::Value("demo.wav")}};
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_examples FOLDER" << std::endl;
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    try {
        sig::wavwrite(demo_run(), kRate, 16, folder + "demo.wav");
        rt::save(folder + "rovantel_start.cfg", start_parameters());
    } catch (const rt::Error& e) {
        std::cerr << "make_examples: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
