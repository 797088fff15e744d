#include "signal/kaiser.h"

#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/numeric/besseli.h"
#include "runtime/value/eigen.h"
#include "signal/private/check_order.h"

namespace sig {

Eigen::VectorXd kaiser(double n, double beta) {
    const CheckOrderResult chk = check_order(n);
    if (chk.trivalwin) return chk.w;
    const Eigen::Index nw = static_cast<Eigen::Index>(std::round(*chk.n));
    const double bes = std::fabs(rt::besseli(0, beta));
    const Eigen::Index odd = nw % 2;
    const double xind = static_cast<double>(nw - 1) * static_cast<double>(nw - 1);
    const Eigen::Index half = (nw + 1) / 2;
    // The centre-to-edge half, mirrored: each Bessel value is computed once.
    Eigen::VectorXd w(half);
    for (Eigen::Index i = 0; i < half; ++i) {
        const double xi = static_cast<double>(i) + 0.5 * static_cast<double>(1 - odd);
        const double xi2 = 4 * xi * xi;
        w(i) = rt::besseli(0, beta * std::sqrt(1 - xi2 / xind)) / bes;
    }
    Eigen::VectorXd out(nw);
    Eigen::Index k = 0;
    for (Eigen::Index i = half - 1; i >= odd; --i) out(k++) = std::fabs(w(i));
    for (Eigen::Index i = 0; i < half; ++i) out(k++) = std::fabs(w(i));
    return out;
}

void register_kaiser(rt::FunctionTable& t) {
    t.add("kaiser", 2, 1, [](const rt::Values& in, int) -> rt::Values {
        if (in.size() < 2) rt::error("Not enough input arguments.");
        if (in[0].isEmpty()) return {rt::fromMatrix(check_order(std::nullopt).w)};
        if (!in[0].isScalar()) rt::error("Order must be a single number.");
        return {rt::fromMatrix(Eigen::MatrixXd(kaiser(in[0].scalar(), in[1].scalar())))};
    });
}

}  // namespace sig
