#include "signal/private/check_order.h"

#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/value/eigen.h"

namespace sig {

CheckOrderResult check_order(std::optional<double> n_in) {
    CheckOrderResult r;
    r.n = n_in;
    if (n_in) {
        const double n = *n_in;
        if (n < 0) rt::error("Order cannot be less than zero.");
        // A window of NaN or infinite length cannot be built; refuse it here, once for all
        // windows, rather than fail on the allocation.
        if (!std::isfinite(n)) rt::error("Order must be a finite number.");
        if (n != std::floor(n)) {
            r.n = std::round(n);
            rt::warning("Rounding order to nearest integer.");
        }
    }
    if (!r.n || *r.n == 0) {
        r.w = Eigen::MatrixXd(0, 1);
        r.trivalwin = true;
    } else if (*r.n == 1) {
        r.w = Eigen::MatrixXd::Ones(1, 1);
        r.trivalwin = true;
    } else {
        r.w = Eigen::MatrixXd(0, 0);
    }
    return r;
}

void register_check_order(rt::FunctionTable& t) {
    t.add("signal/private/check_order", 1, 3, [](const rt::Values& in, int) -> rt::Values {
        if (in.empty()) rt::error("Not enough input arguments.");
        std::optional<double> n;
        if (!in[0].isEmpty()) {
            if (!in[0].isScalar()) rt::error("Order must be a single number.");
            n = in[0].scalar();
        }
        const CheckOrderResult r = check_order(n);
        return {r.n ? rt::Value(*r.n) : rt::Value(), rt::fromMatrix(r.w),
                rt::Value(r.trivalwin ? 1.0 : 0.0)};
    });
}

}  // namespace sig
