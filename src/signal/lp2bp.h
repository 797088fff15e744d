// Frequency transformation of an analogue low-pass to a band-pass.
#pragma once

#include <Eigen/Dense>

#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/statespace.h"

namespace sig {

// Low-pass to band-pass with centre wo and bandwidth bw (rad/s); twice the states:
// at = wo·[a/q, I; −I, 0], bt = wo·[b/q; 0], ct = [c, 0], dt = d with q = wo/bw.
// Throws rt::Error when the sizes of a, b, c, d disagree.
rt::StateSpace lp2bp(const rt::StateSpace& s, double wo, double bw);

// Transfer-function form: num/den is realised (tf2ss), transformed, and returned as
// numerator k·poly(zeros) and denominator poly(at) of the transformed model.
rt::TransferFunction lp2bp(const Eigen::RowVectorXd& num, const Eigen::RowVectorXd& den, double wo,
                           double bw);

// "lp2bp": (a, b, c, d, wo, bw) -> [at, bt, ct, dt]; (num, den, wo, bw) -> [numt, dent].
void register_lp2bp(rt::FunctionTable& t);

}  // namespace sig
