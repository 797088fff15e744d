#include "runtime/numeric/rat.h"

#include <cmath>

namespace rt {

Ratio rat(double v, double tol) {
    if (std::isnan(v)) return {0, 0};
    if (std::isinf(v)) return {v > 0 ? 1.0 : -1.0, 0};
    // Convergents h/k of the expansion with nearest-integer partial quotients.
    double lastn = 1, lastd = 0;
    double n = std::round(v), d = 1;
    double frac = v - n;
    // A double's expansion ends within about 40 terms; the cap only guards rounding loops.
    for (int i = 0; i < 64 && std::fabs(v - n / d) > tol && frac != 0; ++i) {
        const double flip = 1 / frac;
        const double step = std::round(flip);
        frac = flip - step;
        const double nn = n * step + lastn;
        const double dd = d * step + lastd;
        lastn = n;
        lastd = d;
        n = nn;
        d = dd;
    }
    if (d < 0) {
        n = -n;
        d = -d;
    }
    return {n, d};
}

}  // namespace rt
