// Analogue Butterworth low-pass prototype.
#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/statespace.h"

namespace sig {

// Order n: no zeros; poles on the unit circle in the left half-plane, as conjugate pairs
// p1, conj(p1), p3, conj(p3), … and, for odd n, −1 last; gain real(prod(−p)) (1 within
// rounding). n = 0 (or less) gives no poles and gain 1.
rt::ZeroPoleGain buttap(double n);

// "buttap": n in, [z, p, k] out.
void register_buttap(rt::FunctionTable& t);

}  // namespace sig
