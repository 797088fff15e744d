#include "signal/upfirdn.h"

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/upfirdn_kernel.h"
#include "runtime/value/eigen.h"

namespace sig {

Eigen::MatrixXd upfirdn(const Eigen::MatrixXd& x, const Eigen::MatrixXd& h, double p, double q) {
    return rt::upfirdn(x, h, p, q);
}

Eigen::MatrixXcd upfirdn(const Eigen::MatrixXcd& x, const Eigen::MatrixXcd& h, double p, double q) {
    return rt::upfirdn(x, h, p, q);
}

void register_upfirdn(rt::FunctionTable& t) {
    t.add("upfirdn", -1, -1, [](const rt::Values& in, int nargout) -> rt::Values {
        if (in.size() < 2) rt::error("Not enough input arguments.");
        if (in.size() > 4) rt::error("Too many input arguments.");
        if (nargout > 1) rt::error("Too many output arguments.");
        const double p = in.size() > 2 ? in[2].scalar() : 1.0;
        const double q = in.size() > 3 ? in[3].scalar() : 1.0;
        if (in[0].isComplex() || in[1].isComplex())
            return {rt::fromMatrix(
                upfirdn(rt::toComplexMatrix(in[0]), rt::toComplexMatrix(in[1]), p, q))};
        return {rt::fromMatrix(upfirdn(rt::toMatrix(in[0]), rt::toMatrix(in[1]), p, q))};
    });
}

}  // namespace sig
