// Exponential integral E1.
#pragma once

#include <complex>

namespace rt {

// E1(z) = integral from z to infinity of e^(-t)/t dt, principal branch: on the negative
// real axis (imaginary part +0) the imaginary part is -pi. E1(0) is +Inf; NaN in, NaN out.
std::complex<double> expint(std::complex<double> z);

}  // namespace rt
