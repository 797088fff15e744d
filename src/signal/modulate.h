// Modulation of a carrier by a message signal.
#pragma once

#include <Eigen/Dense>
#include <optional>
#include <string>
#include <variant>

namespace rt {
class FunctionTable;
}

namespace sig {

// The method's optional fifth input: a number (or, for "qam", the second message) or,
// for "pwm", a text.
using ModulateParam = std::variant<std::monostate, Eigen::MatrixXd, std::string>;

struct ModulateResult {
    std::optional<Eigen::MatrixXd> y;  // absent for an unknown method
    std::optional<Eigen::MatrixXd> t;  // absent for an empty x
};

// Modulates a carrier of Fc Hz sampled at Fs Hz by x (a vector, or one signal per column;
// the orientation of a row is kept). method (any letter case, default "am"): "am",
// "amdsb-sc", "amdsb-tc", "amssb", "fm", "pm", "pwm", "ppm", "ptm", "qam".
// "fm": y = cos(2 pi Fc t + kf cumsum(x)), the running sum including the current sample;
// kf = P1, else chosen so that the peak deviation is Fc (0 for an all-zero x).
// "pm" without P1 on an all-zero x uses kp = 0 (the plain carrier).
// An empty x gives an empty y and no t. "ppm"/"ptm" print "Warning: some pulses may
// overlap!" on standard output when pulses may overlap, and go on.
// Throws rt::Error with the fixed messages (carrier at or above Fs/2, x out of [0, 1],
// pulse width, qam parameter and size, pwm parameter).
ModulateResult modulate(const Eigen::MatrixXd& x, double Fc, double Fs,
                        const std::string& method = "am", const ModulateParam& P1 = {});

// "modulate": 5 inputs (3 needed), 2 outputs [y, t_out].
void register_modulate(rt::FunctionTable& t);

}  // namespace sig
