// The "upfirdn" kernel: upsample, FIR filter, downsample, computed polyphase so that only
// the kept output samples are ever formed.
#pragma once

#include <Eigen/Dense>

namespace rt {

// Each signal is upsampled by p (sample i at position (i-1)*p), convolved in full with a
// filter and every q-th sample is kept, starting with the first: a signal of Lx samples
// gives ceil(((Lx-1)*p + Lh)/q) samples (none for Lx = 0).
// Signals: a vector x (row or column) is one signal, else each column of x.
// Filters: a vector h (row or column) is one filter, else each column of h.
// One signal and several filters: one output column per filter; several signals and one
// filter: one column per signal; as many signals as filters: signal i with filter i.
// A row x with one filter gives a row; everything else gives columns.
// Throws rt::Error for p or q not a positive integer, an empty h, or unmatched counts.
Eigen::MatrixXd upfirdn(const Eigen::MatrixXd& x, const Eigen::MatrixXd& h, double p, double q);
Eigen::MatrixXcd upfirdn(const Eigen::MatrixXcd& x, const Eigen::MatrixXcd& h, double p, double q);

// Only output samples first … first + count - 1 of each signal (0-based; those beyond the
// full output are 0), in the same shape rules: what a caller that trims the result
// needs, without forming the samples it would throw away.
// x is read in place when its columns lie one after another in memory.
Eigen::MatrixXd upfirdn(const Eigen::Ref<const Eigen::MatrixXd>& x, const Eigen::MatrixXd& h,
                        double p, double q, Eigen::Index first, Eigen::Index count);

}  // namespace rt
