#include "signal/lp2lp.h"

#include "runtime/dispatch/error.h"
#include "runtime/value/value.h"

namespace sig {

rt::StateSpace lp2lp(const rt::StateSpace& s, double wo) {
    rt::error(rt::abcdchk(s));
    return rt::StateSpace{wo * s.a, wo * s.b, s.c, s.d};
}

rt::TransferFunction lp2lp(const Eigen::RowVectorXd& num, const Eigen::RowVectorXd& den,
                           double wo) {
    return rt::tfFromZeros(lp2lp(rt::tf2ss(num, den), wo));
}

void register_lp2lp(rt::FunctionTable& t) {
    t.add("lp2lp", 5, 4, [](const rt::Values& in, int nargout) {
        if (in.size() == 3)
            return rt::toValues(lp2lp(rt::rowFrom(in[0]), rt::rowFrom(in[1]), in[2].scalar()),
                                nargout);
        if (in.size() == 5)
            return rt::toValues(lp2lp(rt::stateSpaceFrom(in, 0), in[4].scalar()), nargout);
        rt::error("Wrong number of input arguments.");
        return rt::Values{};
    });
}

}  // namespace sig
