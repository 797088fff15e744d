// Analytic signal by the discrete Hilbert transform.
#pragma once

#include <Eigen/Dense>
#include <optional>

namespace rt {
class FunctionTable;
}

namespace sig {

// The analytic signal of each column of xr (of a row vector: of the row, returned as a
// row): the real part is xr, the imaginary part its Hilbert transform. n (default: the
// signal length) pads or cuts each signal to n samples first.
// Throws rt::Error for a negative or fractional n.
Eigen::MatrixXcd hilbert(const Eigen::MatrixXd& xr, std::optional<double> n = {});

// "hilbert": 2 inputs (1 needed), 1 output; a complex input gives the warning
// "HILBERT ignores imaginary part of input." and its real part is used.
void register_hilbert(rt::FunctionTable& t);

}  // namespace sig
