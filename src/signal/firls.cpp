#include "signal/firls.h"

#include <cctype>
#include <cmath>
#include <complex>
#include <numbers>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/expint.h"
#include "runtime/value/eigen.h"
#include "runtime/value/text_ops.h"
#include "signal/private/firchk.h"
#include "signal/sinc.h"

namespace sig {

namespace {

constexpr double kHalfPi = 1.5707963267948966;
constexpr double kFourPiSquared = 39.47841760435743;

using Arr = Eigen::ArrayXXd;

Arr sincA(const Arr& x) {
    return x.unaryExpr([](double v) { return sinc(v); });
}

// Ci(x) - Ci(y) through E1 of imaginary arguments, as the weighted design needs it.
Arr cosineIntegralDiff(const Arr& hi, const Arr& lo) {
    Arr out(hi.rows(), hi.cols());
    const std::complex<double> j(0, 1);
    for (Eigen::Index i = 0; i < hi.size(); ++i) {
        const double u = hi(i), v = lo(i);
        const std::complex<double> s =
            rt::expint(j * u) + rt::expint(-j * u) - rt::expint(j * v) - rt::expint(-j * v);
        out(i) = -0.5 * s.real();
    }
    return out;
}

struct Design {
    Eigen::ArrayXd F, A, W;  // F halved, W square-rooted
    bool fullband = true, constantWeights = true;
    double L = 0;
    bool odd = true;
};

Eigen::RowVectorXd symmetric(Design& d) {
    const Eigen::Index nm = static_cast<Eigen::Index>(std::floor(d.L)) + 1;
    Eigen::ArrayXd m(nm);
    for (Eigen::Index i = 0; i < nm; ++i) m(i) = static_cast<double>(i) + (d.odd ? 0.0 : 0.5);
    const bool needMatrix = !d.fullband || !d.constantWeights;
    Arr I1, I2, G;
    if (needMatrix) {
        I1 = m.replicate(1, nm) + m.transpose().replicate(nm, 1);
        I2 = m.replicate(1, nm) - m.transpose().replicate(nm, 1);
        G = Arr::Zero(nm, nm);
    }
    const Eigen::ArrayXd k = d.odd ? Eigen::ArrayXd(m.tail(nm - 1)) : m;
    double b0 = 0;
    Eigen::ArrayXd b = Eigen::ArrayXd::Zero(k.size());
    for (Eigen::Index s = 0; s + 1 < d.F.size(); s += 2) {
        const double ws = std::abs(d.W(s / 2) * d.W(s / 2));
        const double f0 = d.F(s), f1 = d.F(s + 1);
        const double ms = (d.A(s + 1) - d.A(s)) / (f1 - f0);
        const double b1 = d.A(s) - ms * f0;
        if (d.odd) b0 += (b1 * (f1 - f0) + ms / 2 * (f1 * f1 - f0 * f0)) * ws;
        b += (ms / kFourPiSquared *
              ((2 * std::numbers::pi * k * f1).cos() - (2 * std::numbers::pi * k * f0).cos()) /
              (k * k)) *
             ws;
        b += (f1 * (ms * f1 + b1) * sincA(2 * k * f1) - f0 * (ms * f0 + b1) * sincA(2 * k * f0)) *
             ws;
        if (needMatrix)
            G += (0.5 * f1 * (sincA(2 * I1 * f1) + sincA(2 * I2 * f1)) -
                  0.5 * f0 * (sincA(2 * I1 * f0) + sincA(2 * I2 * f0))) *
                 ws;
    }
    Eigen::VectorXd bb(nm);
    if (d.odd) {
        bb(0) = b0;
        bb.tail(nm - 1) = b.matrix();
    } else {
        bb = b.matrix();
    }
    Eigen::VectorXd a;
    if (needMatrix) {
        a = G.matrix().partialPivLu().solve(bb);
    } else {
        a = d.W(0) * d.W(0) * 4 * bb;
        if (d.odd) a(0) /= 2;
    }
    Eigen::RowVectorXd h;
    if (d.odd) {
        h.resize(2 * nm - 1);
        for (Eigen::Index i = 1; i < nm; ++i) {
            h(nm - 1 - i) = a(i) / 2;
            h(nm - 1 + i) = a(i) / 2;
        }
        h(nm - 1) = a(0);
    } else {
        h.resize(2 * nm);
        for (Eigen::Index i = 0; i < nm; ++i) {
            h(nm - 1 - i) = 0.5 * a(i);
            h(nm + i) = 0.5 * a(i);
        }
    }
    return h;
}

Eigen::RowVectorXd antisymmetric(Design& d, bool differ) {
    const Eigen::Index nm =
        d.odd ? static_cast<Eigen::Index>(d.L) : static_cast<Eigen::Index>(std::floor(d.L)) + 1;
    Eigen::ArrayXd m(nm);
    for (Eigen::Index i = 0; i < nm; ++i) m(i) = d.odd ? static_cast<double>(i + 1) : i + 0.5;
    const Eigen::ArrayXd& k = m;
    const Eigen::Index nbands = d.F.size() / 2;
    std::vector<bool> doWeight(static_cast<std::size_t>(nbands), false);
    bool anyWeight = false;
    if (differ)
        for (Eigen::Index s = 0; s < nbands; ++s) {
            doWeight[s] = std::abs(d.A(2 * s)) + std::abs(d.A(2 * s + 1)) > 0;
            anyWeight = anyWeight || doWeight[s];
        }
    const bool needMatrix = !d.fullband || anyWeight || !d.constantWeights;
    Arr I1, I2, G;
    if (needMatrix) {
        I1 = m.replicate(1, nm) + m.transpose().replicate(nm, 1);
        I2 = m.replicate(1, nm) - m.transpose().replicate(nm, 1);
        G = Arr::Zero(nm, nm);
    }
    Eigen::ArrayXd b = Eigen::ArrayXd::Zero(nm);
    for (Eigen::Index s = 0; s + 1 < d.F.size(); s += 2) {
        const double ws = std::abs(d.W(s / 2) * d.W(s / 2));
        const double f1 = d.F(s + 1);
        double f0 = d.F(s);
        const double ms = (d.A(s + 1) - d.A(s)) / (f1 - f0);
        const double b1 = d.A(s) - ms * f0;
        // The line keeps its true edge; only the 1/f^2 weighting must not start at 0.
        if (doWeight[s / 2] && f0 == 0) f0 = d.F(s) = 1e-5;
        if (doWeight[s / 2]) {
            const Eigen::ArrayXd snint1 =
                sineint(2 * std::numbers::pi * k * f1) - sineint(2 * std::numbers::pi * k * f0);
            const Eigen::ArrayXd csint1 =
                cosineIntegralDiff(2 * std::numbers::pi * k * f1, 2 * std::numbers::pi * k * f0);
            b += (ms * snint1 + b1 * 2 * std::numbers::pi * k *
                                    (-sincA(2 * k * f1) + sincA(2 * k * f0) + csint1)) *
                 ws;
            auto Q = [&](double e, const Arr& u, const Arr& v) -> Arr {
                return -0.5 *
                       ((2 * std::numbers::pi * e * (-I2)).cos() / e -
                        2 * std::numbers::pi * u * I2 - (2 * std::numbers::pi * e * I1).cos() / e -
                        2 * std::numbers::pi * v * I1);
            };
            const Arr s1 = sineint(2 * std::numbers::pi * f1 * (-I2)),
                      s2 = sineint(2 * std::numbers::pi * f1 * I1);
            const Arr s3 = sineint(2 * std::numbers::pi * f0 * (-I2)),
                      s4 = sineint(2 * std::numbers::pi * f0 * I1);
            G -= (Q(f1, s1, s2) - Q(f0, s3, s4)) * ws;
        } else {
            b += (ms / kFourPiSquared *
                  ((2 * std::numbers::pi * k * f1).sin() - (2 * std::numbers::pi * k * f0).sin()) /
                  (k * k)) *
                 ws;
            b += ((ms * f0 + b1) * (2 * std::numbers::pi * k * f0).cos() -
                  (ms * f1 + b1) * (2 * std::numbers::pi * k * f1).cos()) /
                 (2 * std::numbers::pi * k) * ws;
            if (needMatrix)
                G += (0.5 * f1 * (sincA(2 * I1 * f1) - sincA(2 * I2 * f1)) -
                      0.5 * f0 * (sincA(2 * I1 * f0) - sincA(2 * I2 * f0))) *
                     ws;
        }
    }
    const Eigen::VectorXd a = needMatrix
                                  ? Eigen::VectorXd(G.matrix().partialPivLu().solve(b.matrix()))
                                  : Eigen::VectorXd(-4 * d.W(0) * d.W(0) * b.matrix());
    Eigen::RowVectorXd h;
    if (d.odd) {
        h.resize(2 * nm + 1);
        for (Eigen::Index i = 0; i < nm; ++i) {
            h(nm - 1 - i) = 0.5 * a(i);
            h(nm + 1 + i) = -0.5 * a(i);
        }
        h(nm) = 0;
    } else {
        h.resize(2 * nm);
        for (Eigen::Index i = 0; i < nm; ++i) {
            h(nm - 1 - i) = 0.5 * a(i);
            h(nm + i) = -0.5 * a(i);
        }
    }
    if (differ) h = -h;
    return h;
}

}  // namespace

Eigen::ArrayXXd sineint(const Eigen::ArrayXXd& x) {
    Eigen::ArrayXXd y = Eigen::ArrayXXd::Zero(x.rows(), x.cols());
    for (Eigen::Index i = 0; i < x.size(); ++i) {
        const double v = std::fabs(x(i));
        if (v == 0 || std::isnan(x(i))) {
            y(i) = x(i) == 0 ? 0.0 : x(i);
            continue;
        }
        const double si = rt::expint(std::complex<double>(0, v)).imag() + kHalfPi;
        y(i) = x(i) < 0 ? -si : si;
    }
    return y;
}

Eigen::RowVectorXd firls(double N, const Eigen::VectorXd& F, const Eigen::VectorXd& A,
                         const Eigen::VectorXd& W, const std::string& ftype) {
    if (F.size() > 0 && (F.maxCoeff() > 1 || F.minCoeff() < 0))
        rt::error("Frequencies in F must be in range [0,1].");
    if (F.size() % 2 != 0) rt::error("F must have even length.");
    if (F.size() != A.size()) rt::error("F and A must be equal lengths.");
    // With no band there is nothing to fit and no weight to scale by.
    if (F.size() == 0) rt::error("There should be one weight per band.");

    int type = 0;
    bool differ = false;
    if (!ftype.empty()) {
        const std::string t = rt::lowerAscii(ftype);
        if (t == "h" || t == "hilbert") {
            type = 1;
        } else if (t == "d" || t == "differentiator") {
            type = 1;
            differ = true;
        } else {
            rt::error("Requires symmetry to be 'Hilbert' or 'differentiator'.");
        }
    }
    const FirchkResult chk = firchk(N, A, type);
    rt::error(chk.msg1);
    rt::warning(chk.msg2);

    Design d;
    const double len = chk.n + 1;
    d.F = F.array() / 2;
    d.A = A.array();
    d.W = W.size() == 0 ? Eigen::ArrayXd::Ones(F.size() / 2) : Eigen::ArrayXd(W.array().sqrt());
    if (d.F.size() != 2 * d.W.size()) rt::error("There should be one weight per band.");
    for (Eigen::Index i = 1; i < d.F.size(); ++i)
        if (d.F(i) - d.F(i - 1) < 0) rt::error("Frequencies in F must be nondecreasing.");
    // Bands that touch leave no gap: dF(2), dF(4), … all zero.
    for (Eigen::Index i = 2; i + 1 < d.F.size(); i += 2)
        if (d.F(i) - d.F(i - 1) != 0) d.fullband = false;
    d.constantWeights = (d.W == d.W(0)).all();
    d.L = (len - 1) / 2;
    d.odd = std::fmod(len, 2.0) != 0;
    return type == 0 ? symmetric(d) : antisymmetric(d, differ);
}

void register_firls(rt::FunctionTable& t) {
    t.add("firls", 5, 2, [](const rt::Values& in, int) -> rt::Values {
        if (in.size() < 3) rt::error("Not enough input arguments.");
        const auto vec = [](const rt::Value& v) {
            const std::vector<double> d = rt::toVector(v);
            return Eigen::VectorXd(
                Eigen::Map<const Eigen::VectorXd>(d.data(), Eigen::Index(d.size())));
        };
        // An unusable order reaches firchk after the band checks, as NaN.
        const rt::Value& n = in[0];
        const double N = (n.isEmpty() || !n.isNumeric() || n.isComplex() || !n.isScalar())
                             ? std::nan("")
                             : n.scalar();
        Eigen::VectorXd W;
        std::string ftype;
        if (in.size() == 4) {
            if (in[3].isChar())
                ftype = in[3].text();
            else
                W = vec(in[3]);
        } else if (in.size() == 5) {
            W = vec(in[3]);
            if (in[4].isChar())
                ftype = in[4].text();
            else if (!in[4].isEmpty())
                rt::error("Requires symmetry to be 'Hilbert' or 'differentiator'.");
        }
        const Eigen::RowVectorXd h = firls(N, vec(in[1]), vec(in[2]), W, ftype);
        return {rt::fromMatrix(Eigen::MatrixXd(h)), rt::Value(1.0)};
    });
}

}  // namespace sig
