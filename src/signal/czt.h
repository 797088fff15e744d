// Chirp-z transform.
#pragma once

#include <Eigen/Dense>
#include <complex>
#include <functional>
#include <optional>

namespace rt {
class FunctionTable;
}

namespace sig {

// The transform of each column of x at the k points a w^(-i), i = 0 … k-1. A row x is
// transformed as a column and the result returned as a row (plain transpose).
// Defaults: k = length(x), w = exp(-j 2 pi/k), a = 1 (so the default is the DFT).
// An empty x gives k zero rows. Throws rt::Error for a negative or fractional k.
Eigen::MatrixXcd czt(const Eigen::MatrixXcd& x, std::optional<double> k = {},
                     std::optional<std::complex<double>> w = {},
                     std::optional<std::complex<double>> a = {});

// The same transform of `cols` columns of m samples that `fill(c, dst)` writes on demand
// (dst has room for m values), so that no slice matrix needs to exist. One FFT of the
// chirp filter per call and one forward and one inverse FFT per column.
Eigen::MatrixXcd cztColumns(Eigen::Index m, Eigen::Index cols, Eigen::Index k,
                            std::complex<double> w, std::complex<double> a,
                            const std::function<void(Eigen::Index, std::complex<double>*)>& fill);

// The same transform of real slices without forming them: column c is
// weight(r)·x[starts(c) + r], r = 0 … weight.size() - 1 (every such sample must exist).
Eigen::MatrixXcd cztSlices(const double* x, const Eigen::VectorXd& weight,
                           const Eigen::VectorXi& starts, Eigen::Index k, std::complex<double> w,
                           std::complex<double> a);
// The same for a caller that compares magnitudes only: each slice's k points are handed to
// take(c, points) (valid during the call) before their last rotation, a factor of modulus
// one per point, so that their magnitudes are the transform's (to rounding) and the
// spectrum is never kept.
void cztSliceMagnitudes(const double* x, const Eigen::VectorXd& weight,
                        const Eigen::VectorXi& starts, Eigen::Index k, std::complex<double> w,
                        std::complex<double> a,
                        const std::function<void(Eigen::Index, const std::complex<double>*)>& take);

// The FFT length of the transforms above for m samples and k points: the least of a power of
// two, three or five times one that holds m + k - 1 points (5120 for a 3528-sample window
// and 1501 points, 4096 for 301), since FFTW is nearly as fast per point on these.
Eigen::Index cztFftLength(Eigen::Index m, Eigen::Index k);

// "czt": 4 inputs (1 needed), 1 output; "Inputs M, W and A must be scalars." when one of
// k, w, a is not a single value.
void register_czt(rt::FunctionTable& t);

}  // namespace sig
