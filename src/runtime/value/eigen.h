// Conversions between the dynamic array value and the typed Eigen/std data of the
// system's functions. Shapes are kept (a 1xN row stays a row, an Nx1 column a column).
// Each conversion copies the elements at most once; MatrixView reads them in place.
#pragma once

#include <Eigen/Dense>
#include <vector>

#include "runtime/value/value.h"

namespace rt {

// double, logical, char (codes) and 2-D uint8 as a real matrix; the real part of a
// complex value. Throws rt::Error for cell, struct and N-D values.
Eigen::MatrixXd toMatrix(const Value& v);
// Same classes as toMatrix; a real value gets zero imaginary parts.
Eigen::MatrixXcd toComplexMatrix(const Value& v);

// A value read as a real matrix (the classes and errors of toMatrix) without a copy where
// its elements are doubles already (double, logical, the real part of a complex value);
// char and uint8 are converted once. It reads the value's storage: the value must outlive
// the view and stay unchanged while it is used.
class MatrixView {
public:
    using Map = Eigen::Map<const Eigen::MatrixXd>;
    explicit MatrixView(const Value& v);
    MatrixView(const MatrixView&) = delete;
    MatrixView& operator=(const MatrixView&) = delete;

    const Map& operator*() const { return map_; }
    const Map* operator->() const { return &map_; }
    // All elements as one column (column-major order).
    Eigen::Map<const Eigen::VectorXd> vector() const {
        return Eigen::Map<const Eigen::VectorXd>(map_.data(), map_.size());
    }

private:
    std::vector<double> converted_;  // char and uint8 only
    Map map_;
};

// A real double value of the matrix's shape (0x0 stays 0x0, 0x1 stays 0x1).
Value fromMatrix(const Eigen::MatrixXd& m);
// A complex double value; all-zero imaginary parts are kept as given.
Value fromMatrix(const Eigen::MatrixXcd& m);
// Vectors, transposes, blocks and other expressions, real or complex, by their scalar type,
// evaluated straight into the value's elements.
template <class Derived>
Value fromMatrix(const Eigen::MatrixBase<Derived>& m) {
    const auto rows = static_cast<std::size_t>(m.rows()), cols = static_cast<std::size_t>(m.cols());
    std::vector<double> re(rows * cols);
    if constexpr (Eigen::NumTraits<typename Derived::Scalar>::IsComplex) {
        std::vector<double> im(re.size());
        Eigen::Map<Eigen::MatrixXd>(re.data(), m.rows(), m.cols()) = m.real();
        Eigen::Map<Eigen::MatrixXd>(im.data(), m.rows(), m.cols()) = m.imag();
        return Value::matrix(rows, cols, std::move(re), std::move(im));
    } else {
        Eigen::Map<Eigen::MatrixXd>(re.data(), m.rows(), m.cols()) = m;
        return Value::matrix(rows, cols, std::move(re));
    }
}

// All elements column-major, whatever the shape. Throws like toMatrix.
std::vector<double> toVector(const Value& v);
// A 1xN row (an empty vector gives the 0x0 empty).
Value rowVector(const std::vector<double>& v);
// An Nx1 column (an empty vector gives the 0x1 empty column).
Value columnVector(const std::vector<double>& v);

}  // namespace rt
