#include "signal/czt.h"

#include <cmath>
#include <numbers>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/fft.h"
#include "runtime/numeric/nextpow2.h"
#include "runtime/value/eigen.h"

namespace sig {

namespace {
using cd = std::complex<double>;
}  // namespace

Eigen::Index cztFftLength(Eigen::Index m, Eigen::Index k) {
    return static_cast<Eigen::Index>(
        std::ldexp(1.0, static_cast<int>(rt::nextpow2(double(m + k - 1)))));
}

Eigen::MatrixXcd cztColumns(Eigen::Index m, Eigen::Index cols, Eigen::Index k, cd w, cd a,
                            const std::function<void(Eigen::Index, cd*)>& fill) {
    if (k == 0 || cols == 0 || m == 0) return Eigen::MatrixXcd::Zero(k, cols);
    Eigen::MatrixXcd g(k, cols);  // every element is written below
    const Eigen::Index nfft = cztFftLength(m, k);

    // ww(i) = w^(kk(i)^2/2), kk = -m+1 … max(k-1, m-1); element m-1 (0-based) is kk = 0.
    const Eigen::Index kkLast = std::max(k - 1, m - 1);
    const cd logw = std::log(w);
    std::vector<cd> ww(static_cast<std::size_t>(kkLast + m));
    for (Eigen::Index i = 0; i < kkLast + m; ++i) {
        const double kk = static_cast<double>(i - (m - 1));
        ww[i] = std::exp(kk * kk / 2 * logw);
    }
    const cd loga = std::log(a);
    std::vector<cd> aa(static_cast<std::size_t>(m));
    for (Eigen::Index n = 0; n < m; ++n)
        aa[n] = std::exp(-static_cast<double>(n) * loga) * ww[m - 1 + n];

    // The chirp filter, transformed once; the inverse transform's 1/nfft is folded into it.
    Eigen::VectorXcd fv = Eigen::VectorXcd::Zero(nfft);
    for (Eigen::Index i = 0; i < k - 1 + m; ++i) fv(i) = 1.0 / ww[i];
    rt::fftInPlace(fv.data(), nfft, 1, false);
    fv /= static_cast<double>(nfft);

    Eigen::VectorXcd buf(nfft);
    for (Eigen::Index c = 0; c < cols; ++c) {
        fill(c, buf.data());
        for (Eigen::Index n = 0; n < m; ++n) buf(n) *= aa[n];
        buf.tail(nfft - m).setZero();
        rt::fftInPlace(buf.data(), nfft, 1, false);
        buf.array() *= fv.array();
        rt::fftInPlace(buf.data(), nfft, 1, true);
        for (Eigen::Index i = 0; i < k; ++i) g(i, c) = buf(m - 1 + i) * ww[m - 1 + i];
    }
    return g;
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
