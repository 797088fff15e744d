// Discrete Fourier transforms on FFTW, column by column.
// X(k) = sum_r y(r) e^(-j 2 pi (k-1)(r-1)/n); ifft is the inverse including the factor 1/n.
// Plans are made once per length and reused by every later call (thread-safe).
#pragma once

#include <Eigen/Dense>
#include <complex>

namespace rt {

// Each column of y zero-padded (or cut) to n rows, then transformed; n = 0 gives 0 rows.
// Throws rt::Error for a negative n.
Eigen::MatrixXcd fft(const Eigen::MatrixXcd& y, Eigen::Index n);
Eigen::MatrixXcd fft(const Eigen::MatrixXcd& y);  // n = rows of y
Eigen::MatrixXcd ifft(const Eigen::MatrixXcd& y, Eigen::Index n);
Eigen::MatrixXcd ifft(const Eigen::MatrixXcd& y);

// In-place transform of `cols` contiguous columns of n points starting at data (no 1/n
// scaling for the inverse: callers that fuse it into another step do it themselves).
void fftInPlace(std::complex<double>* data, Eigen::Index n, Eigen::Index cols, bool inverse);

}  // namespace rt
