#include "runtime/numeric/besseli.h"

#include <cmath>

#include "runtime/dispatch/error.h"

namespace rt {

namespace {

// I0 by its power series sum ((x/2)^2k / (k!)^2): every term is positive, so the sum is
// accurate to a few ulp, and for the Kaiser window's arguments it ends within ~20 terms.
double i0Series(double x) {
    const double q = x * x / 4;
    double term = 1, sum = 1;
    for (int k = 1; k < 1000; ++k) {
        term *= q / (static_cast<double>(k) * k);
        sum += term;
        if (term < 1e-17 * sum) break;
    }
    return sum;
}

}  // namespace

double besseli(double nu, double x) {
    if (std::isnan(x) || std::isnan(nu)) return std::nan("");
    if (nu < 0) rt::error("besseli: the order must not be negative.");
    if (nu == 0 && std::fabs(x) <= 50) return i0Series(std::fabs(x));
    if (x >= 0) return std::cyl_bessel_i(nu, x);
    if (nu != std::floor(nu)) rt::error("besseli: a negative argument needs an integer order.");
    const double v = std::cyl_bessel_i(nu, -x);
    return std::fmod(nu, 2.0) == 0 ? v : -v;
}

}  // namespace rt
