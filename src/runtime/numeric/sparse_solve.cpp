#include "runtime/numeric/sparse_solve.h"

#include <algorithm>
#include <limits>

#include "runtime/dispatch/error.h"

namespace rt {

SparseMatrix::SparseMatrix(const std::vector<Eigen::Index>& rows,
                           const std::vector<Eigen::Index>& cols, const std::vector<double>& data) {
    if (rows.size() != cols.size() || rows.size() != data.size())
        error("Vectors must be the same lengths.");
    Eigen::Index m = 0, n = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i] < 0 || cols[i] < 0) error("Index into matrix must be positive.");
        m = std::max(m, rows[i] + 1);
        n = std::max(n, cols[i] + 1);
    }
    m_ = Eigen::MatrixXd::Zero(m, n);
    for (std::size_t i = 0; i < rows.size(); ++i) m_(rows[i], cols[i]) += data[i];
}

Eigen::VectorXd SparseMatrix::solve(const Eigen::VectorXd& rhs) const {
    if (m_.rows() != m_.cols()) error("Matrix must be square.");
    if (rhs.size() != m_.rows()) error("Matrix dimensions must agree.");
    if (m_.size() == 0) return Eigen::VectorXd(0);
    Eigen::PartialPivLU<Eigen::MatrixXd> lu(m_);
    // A zero pivot is not reported by the factorisation; the reciprocal condition is.
    if (!(lu.rcond() > std::numeric_limits<double>::epsilon()))
        warning("Matrix is singular to working precision.");
    return lu.solve(rhs);
}

}  // namespace rt
