#include "runtime/graphics/ticks.h"

#include <algorithm>
#include <cmath>

namespace rt {

namespace {

// step = mant * 10^exp; multiples are formed as k * mant scaled by an exact power of ten so
// that decimal ticks read back as the numbers they print as.
struct Step {
    int mant;
    int exp;
    double value() const { return scale(mant); }
    double scale(double n) const {
        const double p = std::pow(10.0, std::abs(exp));
        return exp >= 0 ? n * p : n / p;
    }
};

Step nextFiner(Step s) {
    if (s.mant == 5) return {2, s.exp};
    if (s.mant == 2) return {1, s.exp};
    return {5, s.exp - 1};
}

Step nextCoarser(Step s) {
    if (s.mant == 1) return {2, s.exp};
    if (s.mant == 2) return {5, s.exp};
    return {1, s.exp + 1};
}

// Index range of the multiples of s inside [lo, hi], with a little slack for rounding.
void insideRange(Step s, double lo, double hi, double& k0, double& k1) {
    const double v = s.value();
    const double slack = 1e-9;
    k0 = std::ceil(lo / v - slack);
    k1 = std::floor(hi / v + slack);
}

double widenedCount(Step s, double lo, double hi) {
    const double v = s.value();
    const double slack = 1e-9;
    return std::ceil(hi / v - slack) - std::floor(lo / v + slack) + 1;
}

}  // namespace

int tickCountFor(double pixels) {
    if (!(pixels > 0)) return 2;
    return static_cast<int>(std::clamp(std::floor(pixels / 50) + 1, 2.0, 11.0));
}

TickSet niceTicks(double lo, double hi, int maxCount) {
    TickSet t;
    if (!std::isfinite(lo) || !std::isfinite(hi)) return t;
    if (lo > hi) std::swap(lo, hi);
    if (lo == hi) {
        const double d = std::max(1.0, std::fabs(lo) * 1e-3);
        lo -= d;
        hi += d;
    }
    maxCount = std::max(maxCount, 2);
    // Start a little below the span's order of magnitude and coarsen until the count fits.
    const double span = hi - lo;
    Step s{1, static_cast<int>(std::floor(std::log10(span / maxCount))) - 1};
    while (widenedCount(s, lo, hi) > maxCount) s = nextCoarser(s);
    double k0, k1;
    insideRange(s, lo, hi, k0, k1);
    // Limits set by hand may catch fewer than two; a finer step still labels them.
    for (int guard = 0; k1 - k0 < 1 && guard < 6; ++guard) {
        s = nextFiner(s);
        insideRange(s, lo, hi, k0, k1);
    }
    t.step = s.value();
    const double v = t.step;
    t.lo = s.scale(std::floor(lo / v + 1e-9) * s.mant);  // within rounding of lo, or below
    t.hi = s.scale(std::ceil(hi / v - 1e-9) * s.mant);
    for (double k = k0; k <= k1; ++k) t.ticks.push_back(s.scale(k * s.mant));
    return t;
}

}  // namespace rt
