#include "signal/private/firchk.h"

#include <cmath>

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

}  // namespace sig
