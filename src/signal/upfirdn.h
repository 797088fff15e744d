// Upsample, FIR filter, downsample: the table entry in front of the run-time's kernel.
#pragma once

#include <Eigen/Dense>

namespace rt {
class FunctionTable;
}

namespace sig {

// Hands the call to rt::upfirdn (runtime/numeric/upfirdn_kernel.h), which documents the forms.
Eigen::MatrixXd upfirdn(const Eigen::MatrixXd& x, const Eigen::MatrixXd& h, double p = 1,
                        double q = 1);
Eigen::MatrixXcd upfirdn(const Eigen::MatrixXcd& x, const Eigen::MatrixXcd& h, double p = 1,
                         double q = 1);

// "upfirdn": any number of inputs and outputs, all handed to the kernel: x, h, p = 1, q = 1;
// one output.
void register_upfirdn(rt::FunctionTable& t);

}  // namespace sig
