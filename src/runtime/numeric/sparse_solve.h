// The run-time's sparse matrix, as far as the system needs it: one small square system
// built from (row, column, value) triplets and solved once. Stored dense; the systems are
// a few rows at most.
#pragma once

#include <Eigen/Dense>
#include <vector>

namespace rt {

class SparseMatrix {
public:
    // sparse(rows, cols, data) with 0-based indices: data[i] at (rows[i], cols[i]); values
    // at the same place add up. Sized by the largest indices (no triplets: 0x0).
    // Throws rt::Error for lists of unequal length or a negative index.
    SparseMatrix(const std::vector<Eigen::Index>& rows, const std::vector<Eigen::Index>& cols,
                 const std::vector<double>& data);

    Eigen::Index rows() const { return m_.rows(); }
    Eigen::Index cols() const { return m_.cols(); }
    const Eigen::MatrixXd& dense() const { return m_; }

    // The solution x of this·x = rhs (LU with partial pivoting). Throws rt::Error when the
    // matrix is not square or rhs has another length; a singular or nearly singular matrix
    // gives the warning "Matrix is singular to working precision." and non-finite values.
    Eigen::VectorXd solve(const Eigen::VectorXd& rhs) const;

private:
    Eigen::MatrixXd m_;
};

}  // namespace rt
