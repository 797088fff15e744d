#include "signal/resample.h"

#include <algorithm>
#include <cmath>

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

ResampleResult resample(const Eigen::Ref<const Eigen::MatrixXd>& x, double p, double q,
                        const Eigen::VectorXd& N, double beta) {
    if (notPositiveInteger(p)) rt::error("P must be a positive integer.");
    if (notPositiveInteger(q)) rt::error("Q must be a positive integer.");
    const rt::Ratio r = rt::rat(p / q, 1e-12);
    p = r.num;
    q = r.den;
    if (p == 1 && q == 1) return {x, Eigen::RowVectorXd::Ones(1)};

    double L = 0;
    const Eigen::RowVectorXd h0 = designFilter(p, q, N, beta, L);
    double Lhalf = (L - 1) / 2;
    const bool isvect = x.rows() == 1 || x.cols() == 1;
    const double Lx = static_cast<double>(isvect ? std::max(x.rows(), x.cols()) : x.rows());
    if (x.size() == 0) return {x, h0};

    const double nz = std::floor(q - std::fmod(Lhalf, q));
    Lhalf += nz;
    const double delay = std::floor(std::ceil(Lhalf) / q);
    const double lh = static_cast<double>(h0.size()) + nz;
    const double Ly = std::ceil(Lx * p / q);
    double nz1 = 0;
    while (std::ceil(((Lx - 1) * p + lh + nz1) / q) - delay < Ly) ++nz1;

    Eigen::RowVectorXd h = Eigen::RowVectorXd::Zero(static_cast<Eigen::Index>(lh + nz1));
    h.segment(static_cast<Eigen::Index>(nz), h0.size()) = h0;
    // The kernel forms only the kept samples: from the filter's centre on, Ly of them.
    ResampleResult out;
    out.y =
        rt::upfirdn(x, h, p, q, static_cast<Eigen::Index>(delay), static_cast<Eigen::Index>(Ly));
    out.h = h0;
    return out;
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
        Eigen::VectorXd N = Eigen::VectorXd::Constant(1, 10.0);
        if (in.size() > 3) {
            const std::vector<double> v = rt::toVector(in[3]);
            N = Eigen::Map<const Eigen::VectorXd>(v.data(), Eigen::Index(v.size()));
        }
        const double beta = in.size() > 4 ? in[4].scalar() : 5.0;
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
