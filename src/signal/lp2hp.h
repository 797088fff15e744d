// Frequency transformation of an analogue low-pass to a high-pass.
#pragma once

#include <Eigen/Dense>

#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/statespace.h"

namespace sig {

// Low-pass to high-pass with cut-off wo (rad/s): at = wo·inv(a), bt = −wo·(a\b), ct = c/a,
// dt = d − (c/a)·b. A singular a gives non-finite values.
// Throws rt::Error when the sizes of a, b, c, d disagree.
rt::StateSpace lp2hp(const rt::StateSpace& s, double wo);

// Transfer-function form: num/den is realised (tf2ss), transformed, and returned as
// numerator k·poly(zeros) and denominator poly(at) of the transformed model.
rt::TransferFunction lp2hp(const Eigen::RowVectorXd& num, const Eigen::RowVectorXd& den, double wo);

// "lp2hp": (a, b, c, d, wo) -> [at, bt, ct, dt]; (num, den, wo) -> [numt, dent].
void register_lp2hp(rt::FunctionTable& t);

}  // namespace sig
