// Bilinear mapping of an analogue model to a digital one: s = 2·fs·(z − 1)/(z + 1).
#pragma once

#include <Eigen/Dense>
#include <complex>
#include <optional>

#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/statespace.h"

namespace sig {

struct BilinearZpk {
    Eigen::VectorXcd z, p;
    std::complex<double> k;  // real when the zeros and poles are real or conjugate pairs
};

// Zero-pole-gain form. fs: sampling rate (Hz); with fp (Hz) the mapping is pre-warped so
// that fp maps exactly. Non-finite zeros are dropped; the digital zeros are padded with −1
// to as many as there are poles. Throws rt::Error "Numerator cannot be higher order than
// denominator." when there are more zeros than poles.
BilinearZpk bilinear(const rt::ZeroPoleGain& analog, double fs,
                     std::optional<double> fp = std::nullopt);

// Transfer-function form: digital numerator and denominator (both in powers of z⁻¹).
// Throws rt::Error "Numerator cannot be higher order than denominator." when num has more
// coefficients than den.
rt::TransferFunction bilinear(const Eigen::RowVectorXd& num, const Eigen::RowVectorXd& den,
                              double fs, std::optional<double> fp = std::nullopt);

// State-space form; fp1 (Hz) pre-warps as above. Throws rt::Error when the sizes of a, b,
// c, d disagree.
rt::StateSpace bilinear(const rt::StateSpace& s, double fs,
                        std::optional<double> fp1 = std::nullopt);

// "bilinear": the form follows the shapes of the first two inputs and the outputs asked
// for: (z, p, k, fs[, fp]) -> [zd, pd, kd] when p is a column and z has at most one column
// and fewer than four outputs are asked for; (a, b, c, d, fs[, fp1]) -> [ad, bd, cd, dd]
// with four outputs; (num, den, fs[, fp]) -> [numd, dend] for two rows. Other shapes stop
// with "First two arguments must have the same orientation.".
void register_bilinear(rt::FunctionTable& t);

}  // namespace sig
