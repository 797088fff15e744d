#include "signal/lp2bp.h"

#include "runtime/dispatch/error.h"
#include "runtime/value/value.h"

namespace sig {

rt::StateSpace lp2bp(const rt::StateSpace& s, double wo, double bw) {
    rt::error(rt::abcdchk(s));
    const Eigen::Index ma = s.a.rows(), nb = s.b.cols(), mc = s.c.rows();
    const double q = wo / bw;
    rt::StateSpace r;
    r.a = Eigen::MatrixXd::Zero(2 * ma, 2 * ma);
    r.a.topLeftCorner(ma, ma) = wo * s.a / q;
    r.a.topRightCorner(ma, ma) = wo * Eigen::MatrixXd::Identity(ma, ma);
    r.a.bottomLeftCorner(ma, ma) = -wo * Eigen::MatrixXd::Identity(ma, ma);
    r.b = Eigen::MatrixXd::Zero(2 * ma, nb);
    r.b.topRows(ma) = wo * s.b / q;
    r.c = Eigen::MatrixXd::Zero(mc, 2 * ma);
    r.c.leftCols(ma) = s.c;
    r.d = s.d;
    return r;
}

rt::TransferFunction lp2bp(const Eigen::RowVectorXd& num, const Eigen::RowVectorXd& den, double wo,
                           double bw) {
    return rt::tfFromZeros(lp2bp(rt::tf2ss(num, den), wo, bw));
}

void register_lp2bp(rt::FunctionTable& t) {
    t.add("lp2bp", 6, 4, [](const rt::Values& in, int nargout) {
        if (in.size() == 4)
            return rt::toValues(
                lp2bp(rt::rowFrom(in[0]), rt::rowFrom(in[1]), in[2].scalar(), in[3].scalar()),
                nargout);
        if (in.size() == 6)
            return rt::toValues(lp2bp(rt::stateSpaceFrom(in, 0), in[4].scalar(), in[5].scalar()),
                                nargout);
        rt::error("Wrong number of input arguments.");
        return rt::Values{};
    });
}

}  // namespace sig
