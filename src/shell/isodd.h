#pragma once

#include <Eigen/Dense>

#include "runtime/dispatch/function_table.h"

namespace shell {

// Element by element: 1 for an odd integer, 0 for an even one, -1 for a value that is not
// an integer (NaN and Inf included). The result has the shape of v.
Eigen::MatrixXd isodd(const Eigen::MatrixXd& v);

void register_isodd(rt::FunctionTable& table);

}  // namespace shell
