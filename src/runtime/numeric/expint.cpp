#include "runtime/numeric/expint.h"

#include <cmath>
#include <limits>

namespace rt {

namespace {

constexpr double kEulerGamma = 0.57721566490153286061;

// -gamma - log z - sum_{k>=1} (-z)^k / (k k!): good near 0, and with no cancellation
// near the negative real axis, where every term has the same sign.
std::complex<double> series(std::complex<double> z) {
    std::complex<double> term = 1, sum = 0;
    for (int k = 1; k < 5000; ++k) {
        term *= -z / static_cast<double>(k);
        const std::complex<double> add = term / static_cast<double>(k);
        sum += add;
        if (std::abs(add) <= 1e-17 * std::abs(sum)) break;
    }
    return -kEulerGamma - std::log(z) - sum;
}

// e^-z / (z + 1 - 1/(z + 3 - 4/(z + 5 - ...))) by the modified Lentz method.
std::complex<double> continuedFraction(std::complex<double> z) {
    const double tiny = 1e-300;
    std::complex<double> b = z + 1.0;
    std::complex<double> c = 1.0 / tiny;
    std::complex<double> d = 1.0 / b;
    std::complex<double> h = d;
    for (int i = 1; i < 100000; ++i) {
        const double an = -static_cast<double>(i) * i;
        b += 2.0;
        d = 1.0 / (an * d + b);
        c = b + an / c;
        if (std::abs(c) < tiny) c = tiny;
        const std::complex<double> del = c * d;
        h *= del;
        if (std::abs(del - 1.0) < 1e-16) break;
    }
    return h * std::exp(-z);
}

}  // namespace

std::complex<double> expint(std::complex<double> z) {
    if (std::isnan(z.real()) || std::isnan(z.imag())) return {std::nan(""), std::nan("")};
    if (z == 0.0) return std::numeric_limits<double>::infinity();
    // Treat -0 imaginary parts as +0 so the real negative axis takes the -i pi side.
    if (z.imag() == 0) z = {z.real(), 0.0};
    const double r = std::abs(z);
    const bool nearNegativeAxis = z.real() < 0 && std::fabs(z.imag()) < -0.5 * z.real();
    if (r < 2 || nearNegativeAxis) return series(z);
    return continuedFraction(z);
}

}  // namespace rt
