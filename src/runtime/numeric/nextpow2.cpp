#include "runtime/numeric/nextpow2.h"

#include <cmath>

namespace rt {

double nextpow2(double v) {
    const double a = std::fabs(v);
    if (a == 0) return 0;
    if (!std::isfinite(a)) return a;
    int e = 0;
    const double f = std::frexp(a, &e);  // a = f * 2^e, 0.5 <= f < 1
    return f == 0.5 ? e - 1 : e;
}

}  // namespace rt
