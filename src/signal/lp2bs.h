// Frequency transformation of an analogue low-pass to a band-stop.
#pragma once

#include <Eigen/Dense>

#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/statespace.h"

namespace sig {

// Low-pass to band-stop with centre wo and bandwidth bw (rad/s); twice the states:
// at = [(wo/q)·inv(a), wo·I; −wo·I, 0], bt = −[(wo/q)·(a\b); 0], ct = [c/a, 0],
// dt = d − (c/a)·b with q = wo/bw. A singular a gives non-finite values.
// Throws rt::Error when the sizes of a, b, c, d disagree.
rt::StateSpace lp2bs(const rt::StateSpace& s, double wo, double bw);

// Transfer-function form: num/den is realised (tf2ss), transformed, and returned as
// numerator k·poly(zeros) and denominator poly(at) of the transformed model.
rt::TransferFunction lp2bs(const Eigen::RowVectorXd& num, const Eigen::RowVectorXd& den, double wo,
                           double bw);

// "lp2bs": (a, b, c, d, wo, bw) -> [at, bt, ct, dt]; (num, den, wo, bw) -> [numt, dent].
void register_lp2bs(rt::FunctionTable& t);

}  // namespace sig
