// Modified Bessel function of the first kind.
#pragma once

namespace rt {

// I_nu(x) for real x and nu >= 0 (x < 0 only for integer nu, by I_nu(-x) = (-1)^nu I_nu(x)).
// besseli(0, x) is the I0 of the Kaiser window. NaN in, NaN out; throws rt::Error for a
// negative or (with x < 0) fractional order.
double besseli(double nu, double x);

}  // namespace rt
