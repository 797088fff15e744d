// Discrete Fourier transforms on FFTW, column by column.
// X(k) = sum_r y(r) e^(-j 2 pi (k-1)(r-1)/n); ifft is the inverse including the factor 1/n.
// Plans are made once per length and reused by later calls (thread-safe); a few are kept,
// the least recently used dropped first, and all are freed at exit.
#pragma once

#include <Eigen/Dense>
#include <complex>
#include <string>
#include <vector>

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

// Makes the plans of these lengths (both directions) on a background thread, so that the
// first transforms of an evaluation find them ready. Wisdom is read from `wisdomFile` first
// when it exists and written back afterwards through a temporary file, so that later
// start-ups plan in milliseconds; an empty name keeps no file, and what is not a regular
// file is neither read nor replaced. Only the first call acts.
void prepareFftPlans(std::vector<Eigen::Index> lengths, std::string wisdomFile = "");
// Drops every plan held (waiting for the start-up planning first); they are made again when
// used.
void releaseFftPlans();
// The number of plans held now: at most kMaxFftPlans.
inline constexpr std::size_t kMaxFftPlans = 24;
std::size_t fftPlanCount();

}  // namespace rt
