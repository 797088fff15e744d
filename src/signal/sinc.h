// Normalised sinc.
#pragma once

#include <Eigen/Dense>

namespace rt {
class FunctionTable;
}

namespace sig {

// sin(pi x)/(pi x) elementwise, 1 where x is 0; the shape of x is kept.
Eigen::MatrixXd sinc(const Eigen::MatrixXd& x);
Eigen::MatrixXcd sinc(const Eigen::MatrixXcd& x);
double sinc(double x);

// "sinc": 1 input, 1 output.
void register_sinc(rt::FunctionTable& t);

}  // namespace sig
