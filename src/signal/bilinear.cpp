#include "signal/bilinear.h"

#include <algorithm>
#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/numeric/poly.h"
#include "runtime/value/eigen.h"

namespace sig {

namespace {
constexpr double twoPi = 6.283185307179586;
const char* const kOrderMessage = "Numerator cannot be higher order than denominator.";

// The state-space mapping with t = 1/fs (fs already includes any pre-warping).
rt::StateSpace mapStateSpace(const rt::StateSpace& s, double fs) {
    const double t = 1 / fs;
    const double r = std::sqrt(t);
    const Eigen::MatrixXd eye = Eigen::MatrixXd::Identity(s.a.rows(), s.a.cols());
    const Eigen::MatrixXd t1 = eye + s.a * t / 2;
    const Eigen::MatrixXd t2 = eye - s.a * t / 2;
    const Eigen::PartialPivLU<Eigen::MatrixXd> lu(t2);
    // x/t2 = (t2ᵀ \ xᵀ)ᵀ
    const Eigen::MatrixXd cOverT2 =
        Eigen::PartialPivLU<Eigen::MatrixXd>(t2.transpose()).solve(s.c.transpose()).transpose();
    rt::StateSpace d;
    d.a = lu.solve(t1);
    d.b = (t / r) * lu.solve(s.b);
    d.c = r * cOverT2;
    d.d = (cOverT2 * s.b * t) / 2 + s.d;
    return d;
}
}  // namespace

BilinearZpk bilinear(const rt::ZeroPoleGain& analog, double fs, std::optional<double> fp) {
    const Eigen::VectorXcd& z = analog.z;
    const Eigen::VectorXcd& p = analog.p;
    if (z.size() > p.size()) rt::error(kOrderMessage);
    if (fp) {
        const double w = twoPi * *fp;
        fs = w / std::tan(w / fs / 2);
    } else {
        fs = 2 * fs;
    }
    std::vector<std::complex<double>> finite;
    for (Eigen::Index i = 0; i < z.size(); ++i)
        if (std::isfinite(z(i).real()) && std::isfinite(z(i).imag())) finite.push_back(z(i));
    const Eigen::VectorXcd zf =
        Eigen::Map<const Eigen::VectorXcd>(finite.data(), Eigen::Index(finite.size()));

    BilinearZpk r;
    r.p = (1.0 + p.array() / fs) / (1.0 - p.array() / fs);
    r.z = Eigen::VectorXcd::Constant(std::max(zf.size(), p.size()), -1.0);
    r.z.head(zf.size()) = (1.0 + zf.array() / fs) / (1.0 - zf.array() / fs);
    std::complex<double> pz = 1, pp = 1;
    for (Eigen::Index i = 0; i < zf.size(); ++i) pz *= fs - zf(i);
    for (Eigen::Index i = 0; i < p.size(); ++i) pp *= fs - p(i);
    r.k = (analog.k * pz) / pp;
    if (rt::isConjugateSymmetric(zf) && rt::isConjugateSymmetric(p)) r.k = r.k.real();
    return r;
}

rt::TransferFunction bilinear(const Eigen::RowVectorXd& num, const Eigen::RowVectorXd& den,
                              double fs, std::optional<double> fp) {
    if (num.size() > den.size()) rt::error(kOrderMessage);
    if (fp) {
        const double w = twoPi * *fp;
        fs = w / std::tan(w / fs / 2) / 2;
    }
    const rt::StateSpace d = mapStateSpace(rt::tf2ss(num, den), fs);
    rt::TransferFunction r;
    r.den = rt::poly(d.a);
    r.num = rt::poly(Eigen::MatrixXd(d.a - d.b * d.c)) + (d.d(0, 0) - 1) * r.den;
    return r;
}

rt::StateSpace bilinear(const rt::StateSpace& s, double fs, std::optional<double> fp1) {
    rt::error(rt::abcdchk(s));
    if (fp1) {
        const double w = twoPi * *fp1;
        fs = w / std::tan(w / fs / 2) / 2;
    }
    return mapStateSpace(s, fs);
}

void register_bilinear(rt::FunctionTable& t) {
    t.add("bilinear", 6, 4, [](const rt::Values& in, int nargout) -> rt::Values {
        if (in.size() < 2) rt::error("Not enough input arguments.");
        const std::size_t mn = in[0].rows(), nn = in[0].cols();
        const std::size_t md = in[1].rows(), nd = in[1].cols();
        auto optional = [&](std::size_t i) {
            return in.size() > i ? std::optional<double>(in[i].scalar()) : std::nullopt;
        };
        if (nd == 1 && nn < 2 && nargout < 4) {
            if (in.size() < 4) rt::error("Not enough input arguments.");
            if (mn > md) rt::error(kOrderMessage);
            const Eigen::MatrixXcd z = rt::toComplexMatrix(in[0]), p = rt::toComplexMatrix(in[1]);
            const rt::ZeroPoleGain analog{Eigen::Map<const Eigen::VectorXcd>(z.data(), z.size()),
                                          Eigen::Map<const Eigen::VectorXcd>(p.data(), p.size()),
                                          in[2].scalar()};
            const BilinearZpk r = bilinear(analog, in[3].scalar(), optional(4));
            rt::Values out{rt::fromMatrix(Eigen::MatrixXcd(r.z)),
                           rt::fromMatrix(Eigen::MatrixXcd(r.p)),
                           r.k.imag() == 0 ? rt::Value(r.k.real()) : rt::Value(r.k)};
            out.resize(static_cast<std::size_t>(std::clamp(nargout, 1, 3)));
            return out;
        }
        if ((md == 1 && mn == 1) || nargout == 4) {
            if (nargout == 4) {
                if (in.size() < 5) rt::error("Not enough input arguments.");
                return rt::toValues(
                    bilinear(rt::stateSpaceFrom(in, 0), in[4].scalar(), optional(5)), 4);
            }
            if (in.size() < 3) rt::error("Not enough input arguments.");
            if (nn > nd) rt::error(kOrderMessage);
            return rt::toValues(
                bilinear(rt::rowFrom(in[0]), rt::rowFrom(in[1]), in[2].scalar(), optional(3)),
                nargout);
        }
        rt::error("First two arguments must have the same orientation.");
        return {};
    });
}

}  // namespace sig
