// Window-length check shared by the window functions.
#pragma once

#include <Eigen/Dense>
#include <optional>

namespace rt {
class FunctionTable;
}

namespace sig {

struct CheckOrderResult {
    std::optional<double> n;  // the length to use (empty when n_in was empty)
    Eigen::MatrixXd w;        // 0x1 for length 0 or empty, 1x1 [1] for length 1, else 0x0
    bool trivalwin = false;   // set when w is the whole window
};

// An empty or integer n_in is kept; any other value is rounded half away from zero with
// the warning "Rounding order to nearest integer.".
// Throws rt::Error "Order cannot be less than zero." for n_in < 0, and for NaN or Inf.
CheckOrderResult check_order(std::optional<double> n_in);

// "signal/private/check_order": 1 input, 3 outputs.
void register_check_order(rt::FunctionTable& t);

}  // namespace sig
