#include "runtime/numeric/upfirdn_kernel.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <numeric>
#include <vector>

#include "runtime/dispatch/error.h"

namespace rt {

namespace upfirdn_detail {

// Dot product with two 4-wide accumulators; cloned for AVX2 and resolved at load time,
// since this loop carries nearly all of the resampler's time.
__attribute__((target_clones("avx2", "default"))) double dot(const double* a, const double* b,
                                                             std::int64_t n) {
    typedef double v4d __attribute__((vector_size(32)));
    v4d acc0 = {0, 0, 0, 0}, acc1 = {0, 0, 0, 0};
    std::int64_t i = 0;
    for (; i + 8 <= n; i += 8) {
        v4d a0, b0, a1, b1;
        std::memcpy(&a0, a + i, sizeof a0);
        std::memcpy(&b0, b + i, sizeof b0);
        std::memcpy(&a1, a + i + 4, sizeof a1);
        std::memcpy(&b1, b + i + 4, sizeof b1);
        acc0 += a0 * b0;
        acc1 += a1 * b1;
    }
    acc0 += acc1;
    double s = (acc0[0] + acc0[1]) + (acc0[2] + acc0[3]);
    for (; i < n; ++i) s += a[i] * b[i];
    return s;
}

// K dot products of one filter with K stretches of the signal `stride` apart: each filter
// load serves K outputs. Each output is summed in the same order whatever K is (lanes of
// four taps, then the lanes pairwise, then the last taps), so that outputs formed eight or
// four at a time are equal to the last bit.
template <int K>
inline void dotK(const double* g, const double* x, std::int64_t stride, std::int64_t n,
                 double* out) {
    typedef double v4d __attribute__((vector_size(32)));
    // Unrolled, so that the sums stay in registers.
    v4d a[K];
#pragma GCC unroll 8
    for (int k = 0; k < K; ++k) a[k] = v4d{0, 0, 0, 0};
    std::int64_t i = 0;
    for (; i + 4 <= n; i += 4) {
        v4d gv;
        std::memcpy(&gv, g + i, sizeof gv);
#pragma GCC unroll 8
        for (int k = 0; k < K; ++k) {
            v4d v;
            std::memcpy(&v, x + k * stride + i, sizeof v);
            a[k] += gv * v;
        }
    }
#pragma GCC unroll 8
    for (int k = 0; k < K; ++k) {
        double s = (a[k][0] + a[k][1]) + (a[k][2] + a[k][3]);
        for (std::int64_t j = i; j < n; ++j) s += g[j] * x[k * stride + j];
        out[k] = s;
    }
}

// Eight outputs at a time keep eight sums in flight, which the additions' latency needs;
// cloned for AVX2 and resolved at load time, since this loop carries nearly all of the
// resampler's time.
__attribute__((target_clones("avx2", "default"))) void dot8(const double* g, const double* x,
                                                            std::int64_t stride, std::int64_t n,
                                                            double* out) {
    dotK<8>(g, x, stride, n, out);
}

__attribute__((target_clones("avx2", "default"))) void dot4(const double* g, const double* x,
                                                            std::int64_t stride, std::int64_t n,
                                                            double* out) {
    dotK<4>(g, x, stride, n, out);
}

std::complex<double> dot(const std::complex<double>* a, const std::complex<double>* b,
                         std::int64_t n) {
    std::complex<double> s = 0;
    for (std::int64_t i = 0; i < n; ++i) s += a[i] * b[i];
    return s;
}

}  // namespace upfirdn_detail

namespace {

template <class T>
using Mat = Eigen::Matrix<T, Eigen::Dynamic, Eigen::Dynamic>;

// One phase of a filter: taps h[r + j p] for j = first … first + g.size() - 1, stored
// reversed so that each output is a forward dot product with consecutive input samples.
// Leading and trailing zero taps are left out (the resampler pads its filter with zeros).
template <class T>
struct Phase {
    std::int64_t first = 0;
    std::vector<T> g;
};

template <class T>
std::vector<Phase<T>> polyphase(const T* h, std::int64_t lh, std::int64_t p) {
    std::vector<Phase<T>> phases(static_cast<std::size_t>(p));
    for (std::int64_t r = 0; r < p; ++r) {
        std::int64_t lo = -1, hi = -1;
        for (std::int64_t j = 0; r + j * p < lh; ++j) {
            if (h[r + j * p] != T(0)) {
                if (lo < 0) lo = j;
                hi = j;
            }
        }
        Phase<T>& ph = phases[static_cast<std::size_t>(r)];
        if (lo < 0) continue;
        ph.first = lo;
        for (std::int64_t j = hi; j >= lo; --j) ph.g.push_back(h[r + j * p]);
    }
    return phases;
}

// Output m: y[m] = sum_j h[r + j p] x[i0 - j] with n = m q, r = n mod p, i0 = n div p;
// the ends of the signal clipped, 0 past the full output length ly. x points at sample x0
// of the signal: the samples the output reads must be there.
template <class T>
T outputAt(const T* x, std::int64_t x0, std::int64_t lx, const std::vector<Phase<T>>& phases,
           std::int64_t p, std::int64_t q, std::int64_t m, std::int64_t ly) {
    if (m >= ly) return T(0);
    const std::int64_t n = m * q;
    const Phase<T>& ph = phases[static_cast<std::size_t>(n % p)];
    const std::int64_t len = static_cast<std::int64_t>(ph.g.size());
    if (len == 0) return T(0);
    // g[t] multiplies x[s + t]: s is the input index of the last tap used.
    const std::int64_t s = n / p - ph.first - (len - 1);
    const std::int64_t t0 = s < 0 ? -s : 0;
    const std::int64_t t1 = std::min(len, lx - s);
    return t1 > t0 ? upfirdn_detail::dot(ph.g.data() + t0, x + (s + t0 - x0), t1 - t0) : T(0);
}

template <class T>
void filterOne(const T* x, std::int64_t x0, std::int64_t lx, const std::vector<Phase<T>>& phases,
               std::int64_t p, std::int64_t q, T* y, std::int64_t first, std::int64_t count,
               std::int64_t ly) {
    for (std::int64_t i = 0; i < count; ++i)
        y[i] = outputAt(x, x0, lx, phases, p, q, first + i, ly);
}

// Real signals: outputs of one phase lie P = p/g apart and read inputs Q = q/g apart
// (g = gcd(p, q)), so they are formed eight (or, near the ends, four) at a time. The outputs
// go in stretches of 8 P so that the signal is read once, from the cache, whatever p is.
void filterOne(const double* x, std::int64_t x0, std::int64_t lx,
               const std::vector<Phase<double>>& phases, std::int64_t p, std::int64_t q, double* y,
               std::int64_t first, std::int64_t count, std::int64_t ly) {
    const std::int64_t g = std::gcd(p, q);
    const std::int64_t P = p / g, Q = q / g;
    // Outputs i, i + P, …, i + (k-1) P from one call when all of them exist and read
    // samples that x holds.
    const auto fits = [&](std::int64_t i, std::int64_t k, std::int64_t len, std::int64_t s) {
        return len > 0 && i + (k - 1) * P < count && first + i + (k - 1) * P < ly && s >= 0 &&
               s + (k - 1) * Q + len <= lx;
    };
    for (std::int64_t base = 0; base < count; base += 8 * P) {
        for (std::int64_t i = base; i < std::min(base + P, count); ++i) {
            const std::int64_t n = (first + i) * q;
            // Downsampling alone (p = 1) needs no division: one per output would cost a
            // tenth of its dot product.
            const Phase<double>& ph = phases[p == 1 ? 0 : static_cast<std::size_t>(n % p)];
            const std::int64_t len = static_cast<std::int64_t>(ph.g.size());
            const std::int64_t s = (p == 1 ? n : n / p) - ph.first - (len - 1);
            if (fits(i, 8, len, s)) {
                double out[8];
                upfirdn_detail::dot8(ph.g.data(), x + (s - x0), Q, len, out);
                for (int k = 0; k < 8; ++k) y[i + k * P] = out[k];
                continue;
            }
            for (std::int64_t half = 0; half < 2; ++half) {
                const std::int64_t j = i + 4 * half * P;
                if (fits(j, 4, len, s + 4 * half * Q)) {
                    double out[4];
                    upfirdn_detail::dot4(ph.g.data(), x + (s + 4 * half * Q - x0), Q, len, out);
                    for (int k = 0; k < 4; ++k) y[j + k * P] = out[k];
                    continue;
                }
                for (std::int64_t k = 0; k < 4 && j + k * P < count; ++k)
                    y[j + k * P] = outputAt(x, x0, lx, phases, p, q, first + j + k * P, ly);
            }
        }
    }
}

std::int64_t positiveFactor(double v, const char* name) {
    if (!(v >= 1) || v != std::floor(v) || v > 2147483647.0)
        rt::error(std::string("upfirdn: ") + name + " must be a positive integer.");
    return static_cast<std::int64_t>(v);
}

// x: contiguous, column by column.
template <class T>
Mat<T> run(const Eigen::Map<const Mat<T>>& x, const Mat<T>& h, double pin, double qin,
           std::int64_t first, std::int64_t count) {
    const std::int64_t p = positiveFactor(pin, "P");
    const std::int64_t q = positiveFactor(qin, "Q");
    if (h.size() == 0) rt::error("upfirdn: the filter must not be empty.");

    const bool xVector = x.rows() == 1 || x.cols() == 1;
    const bool hVector = h.rows() == 1 || h.cols() == 1;
    const std::int64_t nsig = xVector ? 1 : x.cols();
    const std::int64_t lx = xVector ? x.size() : x.rows();
    const std::int64_t nfil = hVector ? 1 : h.cols();
    const std::int64_t lh = hVector ? h.size() : h.rows();
    if (nsig != 1 && nfil != 1 && nsig != nfil)
        rt::error("upfirdn: a matrix of filters needs one signal or one filter per signal.");

    const std::int64_t ncols = std::max(nsig, nfil);
    const std::int64_t ly = lx == 0 ? 0 : ((lx - 1) * p + lh + q - 1) / q;
    if (count < 0) count = ly;
    const bool rowOut = x.rows() == 1 && x.cols() > 1 && nfil == 1;
    Mat<T> y(rowOut ? 1 : count, rowOut ? count : ncols);
    if (count == 0 || ncols == 0) return y;

    std::vector<std::vector<Phase<T>>> banks;
    for (std::int64_t f = 0; f < nfil; ++f) banks.push_back(polyphase(h.data() + f * lh, lh, p));
    for (std::int64_t c = 0; c < ncols; ++c) {
        const T* xs = x.data() + (nsig == 1 ? 0 : c * lx);
        const auto& bank = banks[static_cast<std::size_t>(nfil == 1 ? 0 : c)];
        filterOne(xs, 0, lx, bank, p, q, y.data() + c * count, first, count, ly);
    }
    return y;
}

template <class T>
Eigen::Map<const Mat<T>> whole(const Mat<T>& x) {
    return Eigen::Map<const Mat<T>>(x.data(), x.rows(), x.cols());
}

}  // namespace

Eigen::MatrixXd upfirdn(const Eigen::MatrixXd& x, const Eigen::MatrixXd& h, double p, double q) {
    return run<double>(whole(x), h, p, q, 0, -1);
}

Eigen::MatrixXd upfirdn(const Eigen::Ref<const Eigen::MatrixXd>& x, const Eigen::MatrixXd& h,
                        double p, double q, Eigen::Index first, Eigen::Index count) {
    if (first < 0 || count < 0) rt::error("upfirdn: the output range must not be negative.");
    // Columns one after another (a row of a matrix, say, is not): read in place.
    const bool contiguous = x.size() == 0 || x.cols() == 1 ||
                            (x.rows() == 1 ? x.outerStride() == 1 : x.outerStride() == x.rows());
    if (!contiguous) return run<double>(whole(Eigen::MatrixXd(x)), h, p, q, first, count);
    return run<double>(Eigen::Map<const Eigen::MatrixXd>(x.data(), x.rows(), x.cols()), h, p, q,
                       first, count);
}

struct UpfirdnRange::Bank {
    std::vector<Phase<double>> phases;
};

UpfirdnRange::UpfirdnRange(const Eigen::RowVectorXd& h, double p, double q, Eigen::Index lx)
    : p_(positiveFactor(p, "P")), q_(positiveFactor(q, "Q")), lx_(lx) {
    if (h.size() == 0) rt::error("upfirdn: the filter must not be empty.");
    bank_ = std::make_shared<Bank>(Bank{polyphase(h.data(), h.size(), p_)});
    ly_ = lx == 0 ? 0 : ((lx - 1) * p_ + h.size() + q_ - 1) / q_;
}

Eigen::Index UpfirdnRange::group() const { return 8 * (p_ / std::gcd(p_, q_)); }

std::pair<Eigen::Index, Eigen::Index> UpfirdnRange::inputs(Eigen::Index first,
                                                           Eigen::Index count) const {
    const std::int64_t end = std::min<std::int64_t>(first + count, ly_);
    if (first >= end) return {0, 0};
    // Output m + P reads the stretch of output m moved on by Q samples, so the lowest sample
    // read is among the first P outputs and the highest among the last P.
    const std::int64_t P = p_ / std::gcd(p_, q_);
    std::int64_t lo = lx_, hi = 0;
    const auto visit = [&](std::int64_t m) {
        const std::int64_t n = m * q_;
        const Phase<double>& ph = bank_->phases[static_cast<std::size_t>(n % p_)];
        const auto len = static_cast<std::int64_t>(ph.g.size());
        const std::int64_t s = n / p_ - ph.first - (len - 1);
        lo = std::min(lo, std::clamp<std::int64_t>(s, 0, lx_));
        hi = std::max(hi, std::clamp<std::int64_t>(s + len, 0, lx_));
    };
    for (std::int64_t m = first; m < std::min(end, first + P); ++m) visit(m);
    for (std::int64_t m = std::max(first, end - P); m < end; ++m) visit(m);
    return lo < hi ? std::make_pair(lo, hi) : std::make_pair(Eigen::Index(0), Eigen::Index(0));
}

void UpfirdnRange::run(const double* x, Eigen::Index x0, Eigen::Index first, Eigen::Index count,
                       double* y) const {
    filterOne(x, x0, lx_, bank_->phases, p_, q_, y, first, count, ly_);
}

Eigen::MatrixXcd upfirdn(const Eigen::MatrixXcd& x, const Eigen::MatrixXcd& h, double p, double q) {
    return run<std::complex<double>>(whole(x), h, p, q, 0, -1);
}

}  // namespace rt
