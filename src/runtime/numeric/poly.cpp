#include "runtime/numeric/poly.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "runtime/dispatch/error.h"

namespace rt {

namespace {

template <class Scalar>
Eigen::Matrix<Scalar, 1, Eigen::Dynamic> expand(const Eigen::Matrix<Scalar, Eigen::Dynamic, 1>& r) {
    const Eigen::Index n = r.size();
    Eigen::Matrix<Scalar, 1, Eigen::Dynamic> c =
        Eigen::Matrix<Scalar, 1, Eigen::Dynamic>::Zero(n + 1);
    c(0) = 1;
    for (Eigen::Index j = 0; j < n; ++j)
        for (Eigen::Index i = j + 1; i >= 1; --i) c(i) -= r(j) * c(i - 1);
    return c;
}

bool near(std::complex<double> x, std::complex<double> y) {
    const double scale = std::max(std::abs(x), std::abs(y));
    return std::abs(x - y) <= 8 * std::numeric_limits<double>::epsilon() * scale;
}

}  // namespace

bool isConjugateSymmetric(const Eigen::VectorXcd& v) {
    std::vector<std::complex<double>> upper, lower;
    for (Eigen::Index i = 0; i < v.size(); ++i) {
        if (v(i).imag() > 0)
            upper.push_back(v(i));
        else if (v(i).imag() < 0)
            lower.push_back(std::conj(v(i)));
    }
    if (upper.size() != lower.size()) return false;
    std::vector<bool> used(lower.size(), false);
    for (const auto& u : upper) {
        bool found = false;
        for (std::size_t k = 0; k < lower.size() && !found; ++k)
            if (!used[k] && near(u, lower[k])) used[k] = found = true;
        if (!found) return false;
    }
    return true;
}

Eigen::RowVectorXd poly(const Eigen::VectorXd& roots) { return expand<double>(roots); }

Eigen::RowVectorXcd poly(const Eigen::VectorXcd& roots) {
    Eigen::RowVectorXcd c = expand<std::complex<double>>(roots);
    if (isConjugateSymmetric(roots)) c = c.real().cast<std::complex<double>>();
    return c;
}

Eigen::VectorXcd eigenvalues(const Eigen::MatrixXd& a) {
    if (a.rows() != a.cols()) error("Argument must be a square matrix.");
    if (a.size() == 0) return Eigen::VectorXcd(0);
    Eigen::EigenSolver<Eigen::MatrixXd> es(a, false);
    if (es.info() != Eigen::Success) error("Eigenvalues did not converge.");
    return es.eigenvalues();
}

Eigen::RowVectorXd poly(const Eigen::MatrixXd& a) {
    return expand<std::complex<double>>(eigenvalues(a)).real();
}

}  // namespace rt
