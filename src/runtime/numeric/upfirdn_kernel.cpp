#include "runtime/numeric/upfirdn_kernel.h"

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <vector>

#include "runtime/dispatch/error.h"

namespace rt {

namespace upfirdn_detail {

// Dot product with two 4-wide accumulators; cloned for AVX2 and resolved at load time,
// since this loop carries nearly all of the resampler's time.
__attribute__((target_clones("avx2", "default")))
double dot(const double* a, const double* b, std::int64_t n) {
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

// y[m] = sum_j h[r + j p] x[i0 - j] with n = m q, r = n mod p, i0 = n div p.
template <class T>
void filterOne(const T* x, std::int64_t lx, const std::vector<Phase<T>>& phases, std::int64_t p,
               std::int64_t q, T* y, std::int64_t first, std::int64_t count, std::int64_t ly) {
    for (std::int64_t i = 0; i < count; ++i) {
        const std::int64_t m = first + i;
        if (m >= ly) {
            y[i] = T(0);
            continue;
        }
        const std::int64_t n = m * q;
        const Phase<T>& ph = phases[static_cast<std::size_t>(n % p)];
        const std::int64_t len = static_cast<std::int64_t>(ph.g.size());
        if (len == 0) {
            y[i] = T(0);
            continue;
        }
        // g[t] multiplies x[s + t]: s is the input index of the last tap used.
        const std::int64_t s = n / p - ph.first - (len - 1);
        std::int64_t t0 = s < 0 ? -s : 0;
        std::int64_t t1 = std::min(len, lx - s);
        y[i] = t1 > t0 ? upfirdn_detail::dot(ph.g.data() + t0, x + s + t0, t1 - t0) : T(0);
    }
}

std::int64_t positiveFactor(double v, const char* name) {
    if (!(v >= 1) || v != std::floor(v) || v > 2147483647.0)
        rt::error(std::string("upfirdn: ") + name + " must be a positive integer.");
    return static_cast<std::int64_t>(v);
}

template <class T>
Mat<T> run(const Mat<T>& x, const Mat<T>& h, double pin, double qin, std::int64_t first,
           std::int64_t count) {
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
        filterOne(xs, lx, bank, p, q, y.data() + c * count, first, count, ly);
    }
    return y;
}

}  // namespace

Eigen::MatrixXd upfirdn(const Eigen::MatrixXd& x, const Eigen::MatrixXd& h, double p, double q) {
    return run<double>(x, h, p, q, 0, -1);
}

Eigen::MatrixXd upfirdn(const Eigen::MatrixXd& x, const Eigen::MatrixXd& h, double p, double q,
                        Eigen::Index first, Eigen::Index count) {
    if (first < 0 || count < 0) rt::error("upfirdn: the output range must not be negative.");
    return run<double>(x, h, p, q, first, count);
}

Eigen::MatrixXcd upfirdn(const Eigen::MatrixXcd& x, const Eigen::MatrixXcd& h, double p,
                         double q) {
    return run<std::complex<double>>(x, h, p, q, 0, -1);
}

}  // namespace rt
