#include "signal/butter.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

#include "runtime/dispatch/error.h"
#include "runtime/numeric/poly.h"
#include "runtime/value/eigen.h"
#include "signal/bilinear.h"
#include "signal/buttap.h"
#include "signal/lp2bp.h"
#include "signal/lp2bs.h"
#include "signal/lp2hp.h"
#include "signal/lp2lp.h"
#include "signal/private/iirchk.h"

namespace sig {

namespace {

using cd = std::complex<double>;

struct Design {
    int btype = 1;
    int analog = 0;
    int n = 0;
    double wn = 0;  // pre-warped cut-off, or the geometric centre of the band
    double bw = 0;  // bandwidth of a band design
    rt::StateSpace ss;
};

Design design(double order, const Eigen::VectorXd& wnIn, const std::vector<std::string>& options) {
    const IirCheck chk = iirchk(wnIn, options);
    rt::error(chk.errStr);
    if (order > 500) rt::error("Filter order too large.");
    if (!(order >= 0) || order != std::floor(order))
        rt::error("Filter order must be a non-negative integer.");

    Design d;
    d.btype = chk.btype;
    d.analog = chk.analog;
    d.n = static_cast<int>(order);
    const double fs = 2;
    Eigen::VectorXd u = wnIn;
    if (d.analog == 0)
        for (Eigen::Index i = 0; i < u.size(); ++i)
            u(i) = (2 * fs) * std::tan((std::numbers::pi * wnIn(i)) / fs);
    if (d.btype == 1 || d.btype == 3) {
        d.wn = u(0);
    } else {
        d.bw = u(1) - u(0);
        d.wn = std::sqrt(u(0) * u(1));
    }

    const rt::ZeroPoleGain proto = buttap(d.n);
    rt::StateSpace s = rt::zp2ss(proto.z, proto.p, proto.k);
    switch (d.btype) {
        case 1:
            s = lp2lp(s, d.wn);
            break;
        case 2:
            s = lp2bp(s, d.wn, d.bw);
            break;
        case 3:
            s = lp2hp(s, d.wn);
            break;
        default:
            s = lp2bs(s, d.wn, d.bw);
            break;
    }
    if (d.analog == 0) s = bilinear(s, fs);
    d.ss = s;
    return d;
}

// ±w alternating: the conjugate zero pairs of a band-stop.
Eigen::VectorXcd alternating(cd w, int count) {
    Eigen::VectorXcd v(count);
    for (int i = 0; i < count; ++i) v(i) = (i % 2 == 0) ? w : -w;
    return v;
}

// Digital zeros for a cut-off or centre wd in radians per sample.
Eigen::VectorXcd digitalZeros(int btype, int n, double wd) {
    switch (btype) {
        case 1:
            return Eigen::VectorXcd::Constant(n, -1.0);
        case 2: {
            Eigen::VectorXcd z(2 * n);
            z << Eigen::VectorXcd::Ones(n), Eigen::VectorXcd::Constant(n, -1.0);
            return z;
        }
        case 3:
            return Eigen::VectorXcd::Ones(n);
        default:
            return alternating(cd(0, wd), 2 * n).array().exp();
    }
}

// wn is the pre-warped value, 4·tan(w/2); 2·atan2(wn, 4) turns it back into w.
Eigen::VectorXcd buttzeros(int btype, int n, double wn, double /*bw*/, int analog) {
    if (analog == 0) return digitalZeros(btype, n, 2 * std::atan2(wn, 4.0));
    switch (btype) {
        case 1:
            return Eigen::VectorXcd(0);
        case 2:
        case 3:
            return Eigen::VectorXcd::Zero(n);
        default:
            return alternating(cd(0, wn), 2 * n);
    }
}

// The numerator from the known zeros, scaled so that num and den agree at the frequency
// where the gain must be 1.
Eigen::RowVectorXd buttnum(int btype, int n, double wn, double bw, int analog,
                           const Eigen::RowVectorXd& den) {
    if (analog == 0) {
        wn = 2 * std::atan2(wn, 4.0);
        const double w = (btype == 1 || btype == 4) ? 0 : (btype == 2 ? wn : std::numbers::pi);
        const Eigen::RowVectorXcd b = rt::poly(digitalZeros(btype, n, wn));
        Eigen::RowVectorXcd kern(b.size());
        for (Eigen::Index i = 0; i < b.size(); ++i) kern(i) = std::exp(cd(0, -w * double(i)));
        const cd kd = (kern.array() * den.array().cast<cd>()).sum();
        const cd kb = (kern.array() * b.array()).sum();
        return ((b * kd) / kb).real();
    }
    Eigen::RowVectorXcd b;
    cd s = 0;
    switch (btype) {
        case 1:
            b = Eigen::RowVectorXcd::Zero(n + 1);
            b(n) = std::pow(double(n), -double(n));
            break;
        case 2:
            b = Eigen::RowVectorXcd::Zero(2 * n + 1);
            b(n) = std::pow(bw, double(n));
            s = cd(0, -wn);
            break;
        case 3: {
            Eigen::RowVectorXd h = Eigen::RowVectorXd::Zero(n + 1);
            h(0) = 1;
            return h * den(0) / h(0);
        }
        default:
            b = rt::poly(alternating(cd(0, wn), 2 * n));
            break;
    }
    return (b * rt::polyval(den, s) / rt::polyval(b, s)).real();
}

}  // namespace

rt::TransferFunction butter(double n, const Eigen::VectorXd& wn,
                            const std::vector<std::string>& options) {
    const Design d = design(n, wn, options);
    rt::TransferFunction tf;
    tf.den = rt::poly(d.ss.a);
    tf.num = buttnum(d.btype, d.n, d.wn, d.bw, d.analog, tf.den);
    return tf;
}

rt::ZeroPoleGain butterZpk(double n, const Eigen::VectorXd& wn,
                           const std::vector<std::string>& options) {
    const Design d = design(n, wn, options);
    rt::ZeroPoleGain zpk = rt::ss2zp(d.ss, 0);
    zpk.z = buttzeros(d.btype, d.n, d.wn, d.bw, d.analog);
    return zpk;
}

rt::StateSpace butterSs(double n, const Eigen::VectorXd& wn,
                        const std::vector<std::string>& options) {
    return design(n, wn, options).ss;
}

void register_butter(rt::FunctionTable& t) {
    t.add("butter", -3, 4, [](const rt::Values& in, int nargout) -> rt::Values {
        if (in.size() < 2) rt::error("Not enough input arguments.");
        const double n = in[0].scalar();
        const std::vector<double> w = rt::toVector(in[1]);
        const Eigen::VectorXd wn =
            Eigen::Map<const Eigen::VectorXd>(w.data(), Eigen::Index(w.size()));
        std::vector<std::string> options;
        for (std::size_t i = 2; i < in.size(); ++i)
            options.push_back(in[i].isChar() ? in[i].text() : std::string());
        if (nargout == 4) return rt::toValues(butterSs(n, wn, options), 4);
        if (nargout == 3) {
            const rt::ZeroPoleGain zpk = butterZpk(n, wn, options);
            return {rt::fromMatrix(Eigen::MatrixXcd(zpk.z)),
                    rt::fromMatrix(Eigen::MatrixXcd(zpk.p)), rt::Value(zpk.k)};
        }
        return rt::toValues(butter(n, wn, options), nargout);
    });
}

}  // namespace sig
