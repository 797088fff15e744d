#include "signal/hilbert.h"

#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/fft.h"
#include "runtime/value/eigen.h"

namespace sig {

Eigen::MatrixXcd hilbert(const Eigen::MatrixXd& xr, std::optional<double> nin) {
    // The first non-singleton dimension comes first: a row is handled as a column.
    const bool row = xr.rows() == 1 && xr.cols() > 1;
    const Eigen::MatrixXd x = row ? Eigen::MatrixXd(xr.transpose()) : xr;
    if (nin && (!(*nin >= 0) || *nin != std::floor(*nin) || !std::isfinite(*nin)))
        rt::error("hilbert: N must be a non-negative integer.");
    const Eigen::Index n = nin ? static_cast<Eigen::Index>(*nin) : x.rows();
    Eigen::MatrixXcd X = rt::fft(x.cast<std::complex<double>>(), n);
    Eigen::VectorXd h = Eigen::VectorXd::Zero(n);
    if (n > 0) {
        h(0) = 1;
        if (n % 2 == 0) {
            h.segment(1, n / 2 - 1).setConstant(2);
            h(n / 2) = 1;
        } else {
            h.segment(1, (n - 1) / 2).setConstant(2);
        }
    }
    for (Eigen::Index c = 0; c < X.cols(); ++c) X.col(c).array() *= h.array();
    Eigen::MatrixXcd y = rt::ifft(X);
    if (row) return y.transpose();
    return y;
}

void register_hilbert(rt::FunctionTable& t) {
    t.add("hilbert", 2, 1, [](const rt::Values& in, int) -> rt::Values {
        if (in.empty()) rt::error("Not enough input arguments.");
        if (in[0].isComplex()) rt::warning("HILBERT ignores imaginary part of input.");
        std::optional<double> n;
        if (in.size() > 1 && !in[1].isEmpty()) n = in[1].scalar();
        return {rt::fromMatrix(hilbert(rt::toMatrix(in[0]), n))};
    });
}

}  // namespace sig
