// Conversions between the dynamic array value and the typed Eigen/std data of the
// system's functions. Shapes are kept (a 1xN row stays a row, an Nx1 column a column).
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

// A real double value of the matrix's shape (0x0 stays 0x0, 0x1 stays 0x1).
Value fromMatrix(const Eigen::MatrixXd& m);
// A complex double value; all-zero imaginary parts are kept as given.
Value fromMatrix(const Eigen::MatrixXcd& m);
// Vectors, transposes and other expressions, real or complex, by their scalar type
// (without this, both overloads above would match and the call would be ambiguous).
template <class Derived>
Value fromMatrix(const Eigen::MatrixBase<Derived>& m) {
    if constexpr (Eigen::NumTraits<typename Derived::Scalar>::IsComplex)
        return fromMatrix(Eigen::MatrixXcd(m));
    else
        return fromMatrix(Eigen::MatrixXd(m));
}

// All elements column-major, whatever the shape. Throws like toMatrix.
std::vector<double> toVector(const Value& v);
// A 1xN row (an empty vector gives the 0x0 empty).
Value rowVector(const std::vector<double>& v);
// An Nx1 column (an empty vector gives the 0x1 empty column).
Value columnVector(const std::vector<double>& v);

}  // namespace rt
