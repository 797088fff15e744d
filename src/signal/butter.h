// Butterworth filter design: digital (cut-offs as fractions of the Nyquist frequency) or
// analogue (angular frequencies), low-pass, band-pass, high-pass or band-stop.
#pragma once

#include <Eigen/Dense>
#include <string>
#include <vector>

#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/statespace.h"

namespace sig {

// Order n with cut-off wn (one element: low-pass, or high-pass with "high") or band edges
// (two elements: band-pass, or band-stop with "stop"); options as for iirchk, e.g. {"high"},
// {"s"}, {"stop", "s"}. Band designs have 2n poles.
// Throws rt::Error with iirchk's message, then "Filter order too large." for n > 500, then
// "Filter order must be a non-negative integer." for other orders that are not 0, 1, 2, ….
//
// Coefficients in descending powers (of s, or of z, that is ascending powers of z⁻¹),
// den(1) = 1; the numerator is rebuilt from the known zeros so that the gain is exactly 1 at
// zero frequency (low-pass, band-stop), the band centre (band-pass) or Nyquist (high-pass).
rt::TransferFunction butter(double n, const Eigen::VectorXd& wn,
                            const std::vector<std::string>& options = {});
// Zeros (the known ones, not computed), poles and gain.
rt::ZeroPoleGain butterZpk(double n, const Eigen::VectorXd& wn,
                           const std::vector<std::string>& options = {});
// The state-space model the design computes.
rt::StateSpace butterSs(double n, const Eigen::VectorXd& wn,
                        const std::vector<std::string>& options = {});

// "butter": (n, Wn, options...) -> [num, den] for up to two outputs, [z, p, k] for three,
// [a, b, c, d] for four.
void register_butter(rt::FunctionTable& t);

}  // namespace sig
