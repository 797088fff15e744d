// Rational approximation by continued fractions.
#pragma once

namespace rt {

struct Ratio {
    double num = 0;
    double den = 1;  // > 0, except 0 for +-Inf (num = +-1) and NaN (num = 0)
};

// Integers num/den in lowest terms with abs(num/den - v) <= tol, taken from the
// continued-fraction expansion of v (so the first convergent close enough wins:
// rat(8820/44100, 1e-12) = 1/5, rat(8820/48000, 1e-12) = 147/800).
// The sign is carried by num. A tol of 0 stops at the exact expansion of the double.
Ratio rat(double v, double tol);

}  // namespace rt
