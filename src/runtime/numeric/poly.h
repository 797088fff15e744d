// Polynomials as rows of coefficients in descending powers, leading coefficient first.
#pragma once

#include <Eigen/Dense>
#include <complex>

namespace rt {

// Coefficients of ∏(x − rᵢ), leading 1, formed root by root in the given order.
// No roots give [1].
Eigen::RowVectorXd poly(const Eigen::VectorXd& roots);
// The same for complex roots; the imaginary parts are set to zero when the roots are real
// or come in complex-conjugate pairs, so such a polynomial is exactly real.
Eigen::RowVectorXcd poly(const Eigen::VectorXcd& roots);
// Characteristic polynomial of a square real matrix, formed from its eigenvalues; always
// real (a real matrix has real or conjugate-paired eigenvalues). 0x0 gives [1].
// Throws rt::Error when the matrix is not square.
Eigen::RowVectorXd poly(const Eigen::MatrixXd& a);

// Eigenvalues of a square real matrix (empty for 0x0). Throws rt::Error when not square.
Eigen::VectorXcd eigenvalues(const Eigen::MatrixXd& a);

// Whether the values are real or pair up as complex conjugates (each value with positive
// imaginary part has one with the conjugate value, to a few ulps).
bool isConjugateSymmetric(const Eigen::VectorXcd& v);

// Value of the polynomial c at x by Horner's rule; an empty c gives 0.
double polyval(const Eigen::RowVectorXd& c, double x);
std::complex<double> polyval(const Eigen::RowVectorXd& c, std::complex<double> x);
std::complex<double> polyval(const Eigen::RowVectorXcd& c, std::complex<double> x);

}  // namespace rt
