#include "runtime/dispatch/error.h"
#include "runtime/numeric/statespace.h"

namespace rt {

namespace {
Eigen::RowVectorXd dropLeadingZeros(const Eigen::RowVectorXd& v) {
    Eigen::Index i = 0;
    while (i < v.size() && v(i) == 0) ++i;
    return v.tail(v.size() - i);
}
}  // namespace

StateSpace tf2ss(const Eigen::RowVectorXd& num0, const Eigen::RowVectorXd& den0) {
    const Eigen::RowVectorXd den = dropLeadingZeros(den0);
    if (den.size() == 0) error("Denominator must not be zero.");
    Eigen::RowVectorXd num = dropLeadingZeros(num0);
    if (num.size() > den.size()) error("Denominator must be higher or equal order than numerator.");
    const Eigen::Index n = den.size() - 1;
    const double lead = den(0);
    Eigen::RowVectorXd d = den / lead;
    // Numerator aligned with the denominator's powers.
    Eigen::RowVectorXd nu = Eigen::RowVectorXd::Zero(n + 1);
    nu.tail(num.size()) = num / lead;

    StateSpace s;
    s.a = Eigen::MatrixXd::Zero(n, n);
    if (n > 0) {
        s.a.row(0) = -d.tail(n);
        s.a.bottomLeftCorner(n - 1, n - 1).setIdentity();
    }
    s.b = Eigen::MatrixXd::Zero(n, 1);
    if (n > 0) s.b(0, 0) = 1;
    s.c = Eigen::MatrixXd(1, n);
    if (n > 0) s.c.row(0) = nu.tail(n) - nu(0) * d.tail(n);
    s.d = Eigen::MatrixXd::Constant(1, 1, nu(0));
    return s;
}

}  // namespace rt
