#include "runtime/numeric/poly.h"

namespace rt {

namespace {
template <class C, class X>
X horner(const C& c, X x) {
    X y = 0;
    for (Eigen::Index i = 0; i < c.size(); ++i) y = y * x + X(c(i));
    return y;
}
}  // namespace

double polyval(const Eigen::RowVectorXd& c, double x) { return horner(c, x); }

std::complex<double> polyval(const Eigen::RowVectorXd& c, std::complex<double> x) {
    return horner(c, x);
}

std::complex<double> polyval(const Eigen::RowVectorXcd& c, std::complex<double> x) {
    return horner(c, x);
}

}  // namespace rt
