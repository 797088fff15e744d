#include "shell/isodd.h"

#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/value/eigen.h"

namespace shell {

Eigen::MatrixXd isodd(const Eigen::MatrixXd& v) {
    return v.unaryExpr([](double x) {
        if (!std::isfinite(x) || std::floor(x) != x) return -1.0;
        return std::fmod(std::fabs(x), 2.0) == 1.0 ? 1.0 : 0.0;
    });
}

void register_isodd(rt::FunctionTable& table) {
    table.add("isodd", 1, 1, [](const rt::Values& in, int) {
        if (in.empty()) rt::error("Not enough input arguments.");
        return rt::Values{rt::fromMatrix(isodd(rt::toMatrix(in[0])))};
    });
}

}  // namespace shell
