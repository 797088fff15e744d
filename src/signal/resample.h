// Rational resampling with a Kaiser-windowed least-squares low-pass.
#pragma once

#include <Eigen/Dense>
#include <functional>

namespace rt {
class FunctionTable;
}

namespace sig {

struct ResampleResult {
    Eigen::MatrixXd y;     // ceil(Lx p/q) samples per signal, aligned in time with x
    Eigen::RowVectorXd h;  // the filter used (without the alignment zeros)
};

// The filter resample designs unless told otherwise: half-length factor N and Kaiser beta.
inline constexpr double kResampleN = 10;
inline constexpr double kResampleBeta = 5;

// Changes the rate of x by p/q (reduced to lowest terms within 1e-12 first). A vector x
// (row or column, shape kept) is one signal, else each column is one. N: a single number
// is the half-length factor (the filter has 2 N max(p,q) + 1 taps; N <= 0 or empty gives
// a zero-order hold of p taps); several values are the filter itself. beta shapes the
// Kaiser window. p/q reducing to 1/1 returns x unchanged with h = 1.
// Throws rt::Error "P must be a positive integer." / "Q must be a positive integer."
// (also for NaN and Inf), and what firls and kaiser throw.
// x is read in place (a matrix, a vector or a map of a value's elements).
ResampleResult resample(const Eigen::Ref<const Eigen::MatrixXd>& x, double p, double q,
                        const Eigen::VectorXd& N, double beta = kResampleBeta);
ResampleResult resample(const Eigen::Ref<const Eigen::MatrixXd>& x, double p, double q,
                        double N = kResampleN, double beta = kResampleBeta);

// Hands over samples first … first + count - 1 (0-based) of a signal.
using SampleReader = std::function<void(Eigen::Index first, Eigen::Index count, double* out)>;

// resample(x, p, q) of one signal of Lx samples that `read` hands over a stretch at a time,
// so that the signal never needs to exist whole: the same values to the last bit, with
// the default filter.
Eigen::VectorXd resample(Eigen::Index Lx, const SampleReader& read, double p, double q);

// "resample": 5 inputs (3 needed), 2 outputs [y, h]; a complex x is resampled as its
// real and imaginary parts.
void register_resample(rt::FunctionTable& t);

}  // namespace sig
