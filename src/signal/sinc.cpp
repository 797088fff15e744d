#include "signal/sinc.h"

#include <cmath>
#include <complex>
#include <numbers>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/value/eigen.h"

namespace sig {

namespace {

template <class T>
T sincOf(T x) {
    if (x == T(0)) return T(1);
    const T px = std::numbers::pi * x;
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

void register_sinc(rt::FunctionTable& t) {
    t.add("sinc", 1, 1, [](const rt::Values& in, int) -> rt::Values {
        if (in.empty()) rt::error("Not enough input arguments.");
        if (in[0].isComplex()) return {rt::fromMatrix(sinc(rt::toComplexMatrix(in[0])))};
        return {rt::fromMatrix(sinc(rt::toMatrix(in[0])))};
    });
}

}  // namespace sig
