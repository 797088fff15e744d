#include "signal/sinc.h"

#include <cmath>
#include <complex>

namespace sig {

namespace {
constexpr double kPi = 3.141592653589793;

template <class T>
T sincOf(T x) {
    if (x == T(0)) return T(1);
    const T px = kPi * x;
    return std::sin(px) / px;
}
}  // namespace

double sinc(double x) { return sincOf(x); }

Eigen::MatrixXd sinc(const Eigen::MatrixXd& x) {
    return x.unaryExpr([](double v) { return sincOf(v); });
}

Eigen::MatrixXcd sinc(const Eigen::MatrixXcd& x) {
    return x.unaryExpr([](std::complex<double> v) { return sincOf(v); });
}

}  // namespace sig
