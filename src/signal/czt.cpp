#include "signal/czt.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/fft.h"
#include "runtime/value/eigen.h"

namespace sig {

namespace {
using cd = std::complex<double>;

typedef double v4d __attribute__((vector_size(32)));
typedef long long v4i __attribute__((vector_size(32)));

// out[i] = a[i]·b[i] as std::complex forms the product of finite values, re = ar·br − ai·bi,
// im = ar·bi + ai·br, two products at a time; cloned for AVX2, since these loops run over
// every point of every transform.
__attribute__((target_clones("avx2", "default"))) void multiply(const cd* a, const cd* b, cd* out,
                                                                Eigen::Index n) {
    const v4d sign = {-1, 1, -1, 1};
    Eigen::Index i = 0;
    for (; i + 2 <= n; i += 2) {
        v4d av, bv;
        std::memcpy(&av, a + i, sizeof av);
        std::memcpy(&bv, b + i, sizeof bv);
        const v4d br = __builtin_shuffle(bv, v4i{0, 0, 2, 2});
        const v4d bi = __builtin_shuffle(bv, v4i{1, 1, 3, 3});
        const v4d as = __builtin_shuffle(av, v4i{1, 0, 3, 2});
        const v4d r = av * br + as * bi * sign;
        std::memcpy(static_cast<void*>(out + i), &r, sizeof r);
    }
    for (; i < n; ++i)
        out[i] = {a[i].real() * b[i].real() - a[i].imag() * b[i].imag(),
                  a[i].real() * b[i].imag() + a[i].imag() * b[i].real()};
}

// out[i] = a[i]·x[i] for complex a and real x.
__attribute__((target_clones("avx2", "default"))) void scale(const cd* a, const double* x, cd* out,
                                                             Eigen::Index n) {
    Eigen::Index i = 0;
    for (; i + 2 <= n; i += 2) {
        v4d av;
        std::memcpy(&av, a + i, sizeof av);
        const v4d r = av * v4d{x[i], x[i], x[i + 1], x[i + 1]};
        std::memcpy(static_cast<void*>(out + i), &r, sizeof r);
    }
    for (; i < n; ++i) out[i] = a[i] * x[i];
}
}  // namespace

Eigen::Index cztFftLength(Eigen::Index m, Eigen::Index k) {
    const Eigen::Index n = std::max<Eigen::Index>(m + k - 1, 1);
    Eigen::Index best = 0;
    for (Eigen::Index odd : {1, 3, 5}) {
        Eigen::Index len = odd;
        while (len < n) len *= 2;
        if (best == 0 || len < best) best = len;
    }
    return best;
}

namespace {

// Bluestein's algorithm for one set of points: the chirps, the transformed chirp filter and
// the buffers, made once per call and used for every column.
class Chirp {
public:
    Chirp(Eigen::Index m, Eigen::Index k, cd w, cd a)
        : m_(m),
          k_(k),
          nfft_(cztFftLength(m, k)),
          forward_(rt::fftPlan(nfft_, false)),
          inverse_(rt::fftPlan(nfft_, true)),
          fv_(nfft_),
          in_(nfft_),
          spec_(nfft_),
          out_(nfft_) {
        // ww(i) = w^(kk(i)^2/2), kk = -m+1 … max(k-1, m-1); element m-1 (0-based) is kk = 0.
        const Eigen::Index kkLast = std::max(k - 1, m - 1);
        const cd logw = std::log(w);
        ww_.resize(static_cast<std::size_t>(kkLast + m));
        for (Eigen::Index i = 0; i < kkLast + m; ++i) {
            const double kk = static_cast<double>(i - (m - 1));
            ww_[i] = std::exp(kk * kk / 2 * logw);
        }
        const cd loga = std::log(a);
        aa_.resize(static_cast<std::size_t>(m));
        for (Eigen::Index n = 0; n < m; ++n)
            aa_[n] = std::exp(-static_cast<double>(n) * loga) * ww_[m - 1 + n];

        // The chirp filter, transformed once; the inverse transform's 1/nfft is folded into it.
        cd* in = in_.data();
        std::fill(in, in + nfft_, cd(0));
        for (Eigen::Index i = 0; i < k - 1 + m; ++i) in[i] = 1.0 / ww_[i];
        forward_.execute(in, fv_.data());
        const double scale = 1.0 / static_cast<double>(nfft_);
        for (Eigen::Index i = 0; i < nfft_; ++i) fv_.data()[i] *= scale;
        // The columns fill only the first m points; the rest stays zero.
        std::fill(in, in + nfft_, cd(0));
    }

    // The premultiplying chirp a^(-n) w^(n^2/2), n = 0 … m-1.
    const std::vector<cd>& premultiplier() const { return aa_; }
    // Where a column's m premultiplied values go.
    cd* input() { return in_.data(); }

    // The k points of the column in input(), to g.
    void transform(cd* g) { multiply(unrotated(), ww_.data() + (m_ - 1), g, k_); }
    // The k points before their last rotation by the unit chirp; valid until the next call.
    const cd* unrotated() {
        forward_.execute(in_.data(), spec_.data());
        multiply(spec_.data(), fv_.data(), spec_.data(), nfft_);
        inverse_.execute(spec_.data(), out_.data());
        return out_.data() + (m_ - 1);
    }

private:
    Eigen::Index m_, k_, nfft_;
    rt::FftPlan forward_, inverse_;
    rt::FftBuffer fv_, in_, spec_, out_;
    std::vector<cd> ww_, aa_;
};

}  // namespace

Eigen::MatrixXcd cztColumns(Eigen::Index m, Eigen::Index cols, Eigen::Index k, cd w, cd a,
                            const std::function<void(Eigen::Index, cd*)>& fill) {
    if (k == 0 || cols == 0 || m == 0) return Eigen::MatrixXcd::Zero(k, cols);
    Eigen::MatrixXcd g(k, cols);  // every element is written below
    Chirp chirp(m, k, w, a);
    const std::vector<cd>& aa = chirp.premultiplier();
    cd* in = chirp.input();
    for (Eigen::Index c = 0; c < cols; ++c) {
        fill(c, in);
        for (Eigen::Index n = 0; n < m; ++n) in[n] *= aa[n];
        chirp.transform(g.col(c).data());
    }
    return g;
}

namespace {

// Hands each slice, premultiplied, to `transform` with the chirp that transforms it.
void transformSlices(const double* x, const Eigen::VectorXd& weight, const Eigen::VectorXi& starts,
                     Eigen::Index k, cd w, cd a,
                     const std::function<void(Eigen::Index, Chirp&)>& transform) {
    const Eigen::Index m = weight.size();
    Chirp chirp(m, k, w, a);
    // The weights ride on the premultiplier: a slice then costs one product per sample.
    std::vector<cd> wa(chirp.premultiplier());
    for (Eigen::Index n = 0; n < m; ++n) wa[n] *= weight(n);
    cd* in = chirp.input();
    for (Eigen::Index c = 0; c < starts.size(); ++c) {
        scale(wa.data(), x + starts(c), in, m);
        transform(c, chirp);
    }
}

}  // namespace

Eigen::MatrixXcd cztSlices(const double* x, const Eigen::VectorXd& weight,
                           const Eigen::VectorXi& starts, Eigen::Index k, cd w, cd a) {
    const Eigen::Index m = weight.size(), cols = starts.size();
    if (k == 0 || cols == 0 || m == 0) return Eigen::MatrixXcd::Zero(k, cols);
    Eigen::MatrixXcd g(k, cols);
    transformSlices(x, weight, starts, k, w, a,
                    [&](Eigen::Index c, Chirp& chirp) { chirp.transform(g.col(c).data()); });
    return g;
}

void cztSliceMagnitudes(const double* x, const Eigen::VectorXd& weight,
                        const Eigen::VectorXi& starts, Eigen::Index k, cd w, cd a,
                        const std::function<void(Eigen::Index, const cd*)>& take) {
    if (k == 0 || weight.size() == 0) {
        const std::vector<cd> zero(static_cast<std::size_t>(k));
        for (Eigen::Index c = 0; c < starts.size(); ++c) take(c, zero.data());
        return;
    }
    transformSlices(x, weight, starts, k, w, a,
                    [&](Eigen::Index c, Chirp& chirp) { take(c, chirp.unrotated()); });
}

Eigen::MatrixXcd czt(const Eigen::MatrixXcd& xin, std::optional<double> kin, std::optional<cd> win,
                     std::optional<cd> ain) {
    const bool row = xin.rows() == 1;
    const Eigen::MatrixXcd x = row ? Eigen::MatrixXcd(xin.transpose()) : xin;
    const Eigen::Index m = x.rows();
    const double kd =
        kin ? *kin : static_cast<double>(x.size() == 0 ? 0 : std::max(x.rows(), x.cols()));
    // A negative or fractional point count would index outside the chirp.
    if (!(kd >= 0) || kd != std::floor(kd) || !std::isfinite(kd))
        rt::error("czt: the number of points must be a non-negative integer.");
    const Eigen::Index k = static_cast<Eigen::Index>(kd);
    const cd w = win ? *win : std::exp(cd(0, -2 * std::numbers::pi / kd));
    const cd a = ain ? *ain : cd(1, 0);
    Eigen::MatrixXcd g = cztColumns(m, x.cols(), k, w, a, [&](Eigen::Index c, cd* dst) {
        for (Eigen::Index r = 0; r < m; ++r) dst[r] = x(r, c);
    });
    if (row) return g.transpose();
    return g;
}

void register_czt(rt::FunctionTable& t) {
    t.add("czt", 4, 1, [](const rt::Values& in, int) -> rt::Values {
        if (in.empty()) rt::error("Not enough input arguments.");
        for (std::size_t i = 1; i < in.size(); ++i)
            if (!in[i].isScalar()) rt::error("Inputs M, W and A must be scalars.");
        std::optional<double> k;
        std::optional<cd> w, a;
        if (in.size() > 1) k = in[1].scalar();
        if (in.size() > 2) w = in[2].complexData()[0];
        if (in.size() > 3) a = in[3].complexData()[0];
        return {rt::fromMatrix(czt(rt::toComplexMatrix(in[0]), k, w, a))};
    });
}

}  // namespace sig
