#include "signal/lp2hp.h"

#include "runtime/dispatch/error.h"
#include "runtime/value/value.h"

namespace sig {

rt::StateSpace lp2hp(const rt::StateSpace& s, double wo) {
    rt::error(rt::abcdchk(s));
    const Eigen::PartialPivLU<Eigen::MatrixXd> lu(s.a);
    const Eigen::MatrixXd ca = Eigen::PartialPivLU<Eigen::MatrixXd>(s.a.transpose())
                                   .solve(s.c.transpose())
                                   .transpose();  // c/a
    return rt::StateSpace{wo * lu.inverse(), -wo * lu.solve(s.b), ca, s.d - ca * s.b};
}

rt::TransferFunction lp2hp(const Eigen::RowVectorXd& num, const Eigen::RowVectorXd& den,
                           double wo) {
    return rt::tfFromZeros(lp2hp(rt::tf2ss(num, den), wo));
}

void register_lp2hp(rt::FunctionTable& t) {
    t.add("lp2hp", 5, 4, [](const rt::Values& in, int nargout) {
        if (in.size() == 3)
            return rt::toValues(lp2hp(rt::rowFrom(in[0]), rt::rowFrom(in[1]), in[2].scalar()),
                                nargout);
        if (in.size() == 5)
            return rt::toValues(lp2hp(rt::stateSpaceFrom(in, 0), in[4].scalar()), nargout);
        rt::error("Wrong number of input arguments.");
        return rt::Values{};
    });
}

}  // namespace sig
