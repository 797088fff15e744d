// Kaiser window.
#pragma once

#include <Eigen/Dense>

namespace rt {
class FunctionTable;
}

namespace sig {

// The n-point Kaiser window as a column: w(i) = I0(beta sqrt(1 - t^2)) / I0(beta) with t
// running evenly from -1 to 1; exactly symmetric. n = 0 gives a 0x1 column, n = 1 [1].
// A fractional n is rounded with a warning; throws rt::Error for n < 0 (check_order).
Eigen::VectorXd kaiser(double n, double beta);

// "kaiser": exactly 2 inputs, 1 output.
void register_kaiser(rt::FunctionTable& t);

}  // namespace sig
