// Discrete Fourier transforms on FFTW, column by column.
// X(k) = sum_r y(r) e^(-j 2 pi (k-1)(r-1)/n); ifft is the inverse including the factor 1/n.
// Plans are made once per length and reused by later calls (thread-safe); a few are kept,
// the least recently used dropped first, and all are freed at exit. A plan is made at once
// (microseconds): measured where FFTW's wisdom holds the length, else by estimate. Only the
// start-up thread of prepareFftPlans measures, and while it does, FFTW's planner is taken:
// a transform whose plan is not held then waits for that measurement (up to about half a
// second). The transforms of the prepared lengths never wait: their plans, both directions
// and both placements, are held from a few milliseconds after prepareFftPlans on (unless so
// many other lengths were used meanwhile that they were dropped). Results of an estimated
// and a measured plan differ by rounding only.
#pragma once

#include <Eigen/Dense>
#include <complex>
#include <memory>
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

// n complex values aligned as FFTW's fastest plans want them; contents undefined at first.
class FftBuffer {
public:
    explicit FftBuffer(Eigen::Index n);
    std::complex<double>* data() { return data_.get(); }
    const std::complex<double>* data() const { return data_.get(); }
    Eigen::Index size() const { return n_; }

private:
    struct Free {
        void operator()(std::complex<double>* p) const;
    };
    std::unique_ptr<std::complex<double>[], Free> data_;
    Eigen::Index n_;
};

struct FftPlanData;

// One transform of n points from one array to another (no 1/n scaling), held for as long as
// the caller keeps it: a caller that transforms many columns takes the plan once, so that
// all of them go through the same plan even when a measured one is swapped in meanwhile.
class FftPlan {
public:
    // Transforms in[0 … n-1] into out[0 … n-1] (different, non-overlapping arrays); the
    // input is left as it was. Arrays not aligned like an FftBuffer go through a copy.
    void execute(const std::complex<double>* in, std::complex<double>* out) const;
    Eigen::Index size() const { return n_; }
    // Whether FFTW measured this plan (else it was estimated).
    bool measured() const;

private:
    friend FftPlan fftPlan(Eigen::Index n, bool inverse);
    std::shared_ptr<const FftPlanData> plan_;
    Eigen::Index n_ = 0;
};

// The out-of-place plan of n > 0 points in one direction: the measured one when ready, else
// the estimated one (made at once when none is held).
FftPlan fftPlan(Eigen::Index n, bool inverse);

// Makes the plans of these lengths (both directions, in and out of place) on a background
// thread: first from the wisdom in `wisdomFile` or by estimate, which takes milliseconds,
// then measures the out-of-place ones the wisdom did not hold, which takes about half a
// second each; wisdom is then written back through a temporary file, so that later start-ups
// plan in milliseconds. An empty name keeps no file, and what is not a regular file is
// neither read nor replaced.
// Only the first call acts.
void prepareFftPlans(std::vector<Eigen::Index> lengths, std::string wisdomFile = "");
// Waits until the start-up planning of prepareFftPlans has ended (at once when none runs).
void finishFftPlanning();
// Stops the start-up planning after the plan in progress and drops every plan held; they
// are made again when used.
void releaseFftPlans();
// The number of plans held now: at most kMaxFftPlans.
inline constexpr std::size_t kMaxFftPlans = 24;
std::size_t fftPlanCount();

}  // namespace rt
