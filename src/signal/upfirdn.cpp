#include "signal/upfirdn.h"

#include "runtime/numeric/upfirdn_kernel.h"

namespace sig {

Eigen::MatrixXd upfirdn(const Eigen::MatrixXd& x, const Eigen::MatrixXd& h, double p, double q) {
    return rt::upfirdn(x, h, p, q);
}

Eigen::MatrixXcd upfirdn(const Eigen::MatrixXcd& x, const Eigen::MatrixXcd& h, double p,
                         double q) {
    return rt::upfirdn(x, h, p, q);
}

}  // namespace sig
