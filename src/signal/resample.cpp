#include "signal/resample.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/rat.h"
#include "runtime/numeric/upfirdn_kernel.h"
#include "runtime/value/eigen.h"
#include "signal/firls.h"
#include "signal/kaiser.h"

namespace sig {

namespace {

bool notPositiveInteger(double v) {
    return !std::isfinite(v) || std::fabs(std::round(v)) != v || v == 0;
}

Eigen::RowVectorXd designFilter(double p, double q, const Eigen::VectorXd& N, double beta,
                                double& L) {
    const double pqmax = std::max(p, q);
    if (N.size() > 1) {
        L = static_cast<double>(N.size());
        return N.transpose();
    }
    if (N.size() == 1 && N(0) > 0) {
        const double fc = 1 / (2 * pqmax);
        L = 2 * N(0) * pqmax + 1;
        const Eigen::VectorXd win = kaiser(L, beta);
        Eigen::VectorXd F(4), A(4);
        F << 0, 2 * fc, 2 * fc, 1;
        A << 1, 1, 0, 0;
        const Eigen::RowVectorXd ls = firls(L - 1, F, A);
        if (ls.size() != win.size()) rt::error("resample: N must give a whole filter length.");
        return p * ls.cwiseProduct(win.transpose());
    }
    L = p;
    return Eigen::RowVectorXd::Ones(static_cast<Eigen::Index>(p));
}

}  // namespace

namespace {

// The filter with its alignment zeros, and which of upfirdn's outputs are kept.
struct Design {
    Eigen::RowVectorXd h0;  // the filter
    Eigen::RowVectorXd h;   // with nz zeros in front and nz1 behind
    double p = 1, q = 1;
    Eigen::Index delay = 0, Ly = 0;
};

// p/q in lowest terms, the filter, and the alignment for a signal of Lx samples; p = q = 1
// when no resampling is needed (h0 = 1).
Design design(double p, double q, const Eigen::VectorXd& N, double beta, double Lx) {
    if (notPositiveInteger(p)) rt::error("P must be a positive integer.");
    if (notPositiveInteger(q)) rt::error("Q must be a positive integer.");
    const rt::Ratio r = rt::rat(p / q, 1e-12);
    Design d;
    d.p = r.num;
    d.q = r.den;
    if (d.p == 1 && d.q == 1) {
        d.h0 = Eigen::RowVectorXd::Ones(1);
        return d;
    }
    double L = 0;
    d.h0 = designFilter(d.p, d.q, N, beta, L);
    if (Lx == 0) return d;
    double Lhalf = (L - 1) / 2;
    const double nz = std::floor(d.q - std::fmod(Lhalf, d.q));
    Lhalf += nz;
    const double delay = std::floor(std::ceil(Lhalf) / d.q);
    const double lh = static_cast<double>(d.h0.size()) + nz;
    const double Ly = std::ceil(Lx * d.p / d.q);
    double nz1 = 0;
    while (std::ceil(((Lx - 1) * d.p + lh + nz1) / d.q) - delay < Ly) ++nz1;

    d.h = Eigen::RowVectorXd::Zero(static_cast<Eigen::Index>(lh + nz1));
    d.h.segment(static_cast<Eigen::Index>(nz), d.h0.size()) = d.h0;
    d.delay = static_cast<Eigen::Index>(delay);
    d.Ly = static_cast<Eigen::Index>(Ly);
    return d;
}

}  // namespace

ResampleResult resample(const Eigen::Ref<const Eigen::MatrixXd>& x, double p, double q,
                        const Eigen::VectorXd& N, double beta) {
    const bool isvect = x.rows() == 1 || x.cols() == 1;
    const double Lx = static_cast<double>(isvect ? std::max(x.rows(), x.cols()) : x.rows());
    const Design d = design(p, q, N, beta, x.size() == 0 ? 0 : Lx);
    if ((d.p == 1 && d.q == 1) || x.size() == 0) return {x, d.h0};
    // The kernel forms only the kept samples: from the filter's centre on, Ly of them.
    return {rt::upfirdn(x, d.h, d.p, d.q, d.delay, d.Ly), d.h0};
}

Eigen::VectorXd resample(Eigen::Index Lx, const SampleReader& read, double p, double q) {
    const Design d =
        design(p, q, Eigen::VectorXd::Constant(1, kResampleN), kResampleBeta, double(Lx));
    if ((d.p == 1 && d.q == 1) || Lx == 0) {
        Eigen::VectorXd x(Lx);
        read(0, Lx, x.data());
        return x;
    }
    const rt::UpfirdnRange kernel(d.h, d.p, d.q, Lx);
    Eigen::VectorXd y(d.Ly);
    // Runs of about 8192 outputs, a whole number of the kernel's groups, read a few
    // hundred kB of samples each, which stay in the cache while they are filtered.
    const Eigen::Index run = std::max<Eigen::Index>(1, 8192 / kernel.group()) * kernel.group();
    std::vector<double> samples;
    for (Eigen::Index done = 0; done < d.Ly; done += run) {
        const Eigen::Index count = std::min(run, d.Ly - done);
        const auto [lo, hi] = kernel.inputs(d.delay + done, count);
        samples.resize(static_cast<std::size_t>(hi - lo));
        if (hi > lo) read(lo, hi - lo, samples.data());
        kernel.run(samples.data(), lo, d.delay + done, count, y.data() + done);
    }
    return y;
}

ResampleResult resample(const Eigen::Ref<const Eigen::MatrixXd>& x, double p, double q, double N,
                        double beta) {
    return resample(x, p, q, Eigen::VectorXd::Constant(1, N), beta);
}

void register_resample(rt::FunctionTable& t) {
    t.add("resample", 5, 2, [](const rt::Values& in, int) -> rt::Values {
        if (in.size() < 3) rt::error("Not enough input arguments.");
        if (!in[1].isScalar()) rt::error("P must be a positive integer.");
        if (!in[2].isScalar()) rt::error("Q must be a positive integer.");
        const double p = in[1].scalar(), q = in[2].scalar();
        Eigen::VectorXd N = Eigen::VectorXd::Constant(1, kResampleN);
        if (in.size() > 3) {
            const std::vector<double> v = rt::toVector(in[3]);
            N = Eigen::Map<const Eigen::VectorXd>(v.data(), Eigen::Index(v.size()));
        }
        const double beta = in.size() > 4 ? in[4].scalar() : kResampleBeta;
        if (!in[0].isComplex()) {
            const ResampleResult r = resample(*rt::MatrixView(in[0]), p, q, N, beta);
            return {rt::fromMatrix(r.y), rt::fromMatrix(r.h)};
        }
        // Resampling is linear: real and imaginary parts go separately.
        const Eigen::MatrixXcd x = rt::toComplexMatrix(in[0]);
        const ResampleResult re = resample(x.real(), p, q, N, beta);
        const ResampleResult im = resample(x.imag(), p, q, N, beta);
        Eigen::MatrixXcd y(re.y.rows(), re.y.cols());
        y.real() = re.y;
        y.imag() = im.y;
        return {rt::fromMatrix(y), rt::fromMatrix(re.h)};
    });
}

}  // namespace sig
