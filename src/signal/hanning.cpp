#include "signal/hanning.h"

#include <cctype>
#include <cmath>
#include <numbers>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/value/eigen.h"
#include "runtime/value/text_ops.h"
#include "signal/private/check_order.h"

namespace sig {

namespace {

// The first m values of the symmetric n-point window (divisor n + 1).
Eigen::VectorXd calc_hanning(Eigen::Index m, Eigen::Index n) {
    Eigen::VectorXd w(m);
    for (Eigen::Index i = 0; i < m; ++i)
        w(i) = 0.5 * (1 - std::cos(2 * std::numbers::pi * static_cast<double>(i + 1) /
                                   static_cast<double>(n + 1)));
    return w;
}

// Second half mirrored from the first: exactly symmetric, each cosine computed once.
Eigen::VectorXd sym_hanning(Eigen::Index n) {
    const Eigen::Index half = n % 2 == 0 ? n / 2 : (n + 1) / 2;
    const Eigen::VectorXd first = calc_hanning(half, n);
    Eigen::VectorXd w(n);
    w.head(half) = first;
    const Eigen::Index rest = n - half;
    for (Eigen::Index i = 0; i < rest; ++i) w(half + i) = first(rest - 1 - i);
    return w;
}

bool beginsWith(const std::string& name, const std::string& prefix) {
    return name.compare(0, prefix.size(), prefix) == 0 && prefix.size() <= name.size();
}

}  // namespace

Eigen::VectorXd hanning(std::optional<double> n, std::optional<std::string> sflag) {
    const CheckOrderResult chk = check_order(n);
    if (chk.trivalwin) return chk.w;
    const std::string flag = sflag ? rt::lowerAscii(*sflag) : std::string("symmetric");
    const bool sym = beginsWith("symmetric", flag);
    const bool per = beginsWith("periodic", flag);
    if (sym == per) rt::error("Sampling flag must be either 'symmetric' or 'periodic'.");
    const Eigen::Index len = static_cast<Eigen::Index>(*chk.n);
    if (sym) return sym_hanning(len);
    Eigen::VectorXd w(len);
    w(0) = 0;
    w.tail(len - 1) = sym_hanning(len - 1);
    return w;
}

void register_hanning(rt::FunctionTable& t) {
    t.add("hanning", -1, 1, [](const rt::Values& in, int) -> rt::Values {
        if (in.empty()) rt::error("Not enough input arguments.");
        if (in.size() > 2) rt::error("Too many input arguments.");
        std::optional<double> n;
        if (!in[0].isEmpty()) {
            if (!in[0].isScalar()) rt::error("Order must be a single number.");
            n = in[0].scalar();
        }
        std::optional<std::string> flag;
        if (in.size() > 1) flag = in[1].isChar() ? in[1].text() : std::string("\x01");
        return {rt::fromMatrix(Eigen::MatrixXd(hanning(n, flag)))};
    });
}

}  // namespace sig
