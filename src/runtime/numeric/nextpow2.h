// Exponent of the next power of two.
#pragma once

namespace rt {

// The smallest integer p with 2^p >= abs(v); 0 for v = 0; Inf and NaN come back unchanged
// in magnitude (Inf for +-Inf, NaN for NaN).
double nextpow2(double v);

}  // namespace rt
