// Frequency transformation of an analogue low-pass to another cut-off.
#pragma once

#include <Eigen/Dense>

#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/statespace.h"

namespace sig {

// Low-pass to low-pass with cut-off wo (rad/s): at = wo·a, bt = wo·b, ct = c, dt = d.
// Throws rt::Error when the sizes of a, b, c, d disagree.
rt::StateSpace lp2lp(const rt::StateSpace& s, double wo);

// Transfer-function form: num/den is realised (tf2ss), transformed, and returned as
// numerator k·poly(zeros) and denominator poly(at) of the transformed model.
rt::TransferFunction lp2lp(const Eigen::RowVectorXd& num, const Eigen::RowVectorXd& den, double wo);

// "lp2lp": (a, b, c, d, wo) -> [at, bt, ct, dt]; (num, den, wo) -> [numt, dent].
void register_lp2lp(rt::FunctionTable& t);

}  // namespace sig
