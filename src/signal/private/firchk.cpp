#include "signal/private/firchk.h"

#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/value/eigen.h"

namespace sig {

namespace {
const char* const kOrderMessage = "Filter order must be a real, positive integer.";
}

FirchkResult firchk(double n, const Eigen::VectorXd& a, double exception) {
    FirchkResult r;
    r.n = n;
    if (!std::isfinite(n) || n != std::round(n) || n <= 0) {
        r.msg1 = kOrderMessage;
        return r;
    }
    const bool odd = std::fmod(n, 2.0) != 0;
    const bool nyquistGain = a.size() > 0 && a(a.size() - 1) != 0;
    if (odd && nyquistGain && exception == 0) {
        r.msg2 =
            "Odd order symmetric FIR filters must have a gain of zero \rat the Nyquist "
            "frequency. The order is being increased by one.";
        r.n = n + 1;
    }
    return r;
}

void register_firchk(rt::FunctionTable& t) {
    t.add("signal/private/firchk", 3, 3, [](const rt::Values& in, int) -> rt::Values {
        if (in.size() < 2) rt::error("Not enough input arguments.");
        const rt::Value& n = in[0];
        if (n.isEmpty() || !n.isNumeric() || n.isComplex() || !n.isScalar())
            return {n, rt::Value(kOrderMessage), rt::Value("")};
        const std::vector<double> a = rt::toVector(in[1]);
        const double exception = in.size() > 2 && !in[2].isEmpty() ? in[2].scalar() : 0.0;
        const FirchkResult r =
            firchk(n.scalar(), Eigen::Map<const Eigen::VectorXd>(a.data(), Eigen::Index(a.size())),
                   exception);
        return {rt::Value(r.n), rt::Value(r.msg1), rt::Value(r.msg2)};
    });
}

}  // namespace sig
