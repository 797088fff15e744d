// The "upfirdn" kernel: upsample, FIR filter, downsample, computed polyphase so that only
// the kept output samples are ever formed.
#pragma once

#include <Eigen/Dense>
#include <memory>
#include <utility>

namespace rt {

// Each signal is upsampled by p (sample i at position (i-1)*p), convolved in full with a
// filter and every q-th sample is kept, starting with the first: a signal of Lx samples
// gives ceil(((Lx-1)*p + Lh)/q) samples (none for Lx = 0).
// Signals: a vector x (row or column) is one signal, else each column of x.
// Filters: a vector h (row or column) is one filter, else each column of h.
// One signal and several filters: one output column per filter; several signals and one
// filter: one column per signal; as many signals as filters: signal i with filter i.
// A row x with one filter gives a row; everything else gives columns.
// Throws rt::Error for p or q not a positive integer, an empty h, or unmatched counts.
Eigen::MatrixXd upfirdn(const Eigen::MatrixXd& x, const Eigen::MatrixXd& h, double p, double q);
Eigen::MatrixXcd upfirdn(const Eigen::MatrixXcd& x, const Eigen::MatrixXcd& h, double p, double q);

// Only output samples first … first + count - 1 of each signal (0-based; those beyond the
// full output are 0), in the same shape rules: what a caller that trims the result
// needs, without forming the samples it would throw away.
// x is read in place when its columns lie one after another in memory.
Eigen::MatrixXd upfirdn(const Eigen::Ref<const Eigen::MatrixXd>& x, const Eigen::MatrixXd& h,
                        double p, double q, Eigen::Index first, Eigen::Index count);

// The same for one real signal of lx samples whose samples are handed over a stretch at a
// time, so that it never needs to exist whole: run() forms outputs first … first + count - 1
// from the samples inputs() names for them. Runs that follow one another from an output on
// give, to the last bit, what one run from there gives, when every run but the last forms a
// whole number of group() outputs. h is copied: it need not outlive the constructor. The
// object does not change after it is made, so that runs may go on in several threads at
// once; copies share the filter.
class UpfirdnRange {
public:
    // Throws rt::Error for p or q not a positive integer or an empty h.
    UpfirdnRange(const Eigen::RowVectorXd& h, double p, double q, Eigen::Index lx);
    Eigen::Index outputs() const { return ly_; }  // the full output length
    Eigen::Index group() const;
    // Samples [lo, hi), within [0, lx), that hold all those outputs read ([0, 0) when they
    // read none). first and count are not negative.
    std::pair<Eigen::Index, Eigen::Index> inputs(Eigen::Index first, Eigen::Index count) const;
    // Writes the outputs to y[0 … count - 1]; those at or past outputs() are 0. x[i - x0] is
    // sample i, for at least the samples inputs(first, count) names; first and count are not
    // negative.
    void run(const double* x, Eigen::Index x0, Eigen::Index first, Eigen::Index count,
             double* y) const;

private:
    struct Bank;
    std::int64_t p_, q_, lx_, ly_ = 0;
    std::shared_ptr<const Bank> bank_;
};

}  // namespace rt
