// Least-squares linear-phase FIR filter design.
#pragma once

#include <Eigen/Dense>
#include <string>

namespace rt {
class FunctionTable;
}

namespace sig {

// A filter of order N (N + 1 coefficients, a row) whose amplitude approximates, in the
// least-squares sense, the straight line from A(s) to A(s+1) over each band F(s) … F(s+1)
// (bands are pairs of F), band b weighted by W(b). F is normalised so that 1 is half the
// sampling rate. W empty: all weights 1. ftype empty: symmetric filter; "h"/"hilbert" or
// "d"/"differentiator" (any letter case): antisymmetric ones, the differentiator weighted
// by 1/f^2 in bands of non-zero amplitude.
// An odd order with a non-zero gain at Nyquist (symmetric case) is raised by one with a
// warning. Throws rt::Error with the fixed messages for F outside [0, 1], F of odd length,
// F and A of different lengths, an unknown ftype, an unusable order, a weight count that
// is not one per band, and decreasing F.
Eigen::RowVectorXd firls(double N, const Eigen::VectorXd& F, const Eigen::VectorXd& A,
                         const Eigen::VectorXd& W = Eigen::VectorXd(),
                         const std::string& ftype = std::string());

// The sine integral Si(x) of each element (odd in x, Si(0) = 0).
Eigen::ArrayXXd sineint(const Eigen::ArrayXXd& x);

// "firls": 5 inputs, 2 outputs [h, a] (a is always 1).
void register_firls(rt::FunctionTable& t);

}  // namespace sig
