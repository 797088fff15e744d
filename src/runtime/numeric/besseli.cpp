#include "runtime/numeric/besseli.h"

#include <cmath>

#include "runtime/dispatch/error.h"

namespace rt {

double besseli(double nu, double x) {
    if (std::isnan(x) || std::isnan(nu)) return std::nan("");
    if (nu < 0) rt::error("besseli: the order must not be negative.");
    if (x >= 0) return std::cyl_bessel_i(nu, x);
    if (nu != std::floor(nu)) rt::error("besseli: a negative argument needs an integer order.");
    const double v = std::cyl_bessel_i(nu, -x);
    return std::fmod(nu, 2.0) == 0 ? v : -v;
}

}  // namespace rt
