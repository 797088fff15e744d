// Zero-phase filtering: forward and backward through b/a, with reflected ends and a
// steady-state start, so a signal that begins or ends flat has no transient there.
#pragma once

#include <Eigen/Dense>

#include "runtime/dispatch/function_table.h"

namespace sig {

// y = filtfilt(b, a, x). x: a row, a column, or a matrix whose columns are signals; y has
// x's shape. An empty b, a or x gives an empty (0x0) result. b and a are divided by a(1)
// when it is not 1, so the steady state matches the filter that actually runs.
// Throws rt::Error "Data must have length more than 3 times filter order." when a signal
// has no more than 3·(max(length(b), length(a)) − 1) samples (a matrix: at the first
// column), and when a(1) is 0.
Eigen::MatrixXd filtfilt(const Eigen::VectorXd& b, const Eigen::VectorXd& a,
                         const Eigen::MatrixXd& x);

// "filtfilt": exactly (b, a, x) in, y out.
void register_filtfilt(rt::FunctionTable& t);

}  // namespace sig
