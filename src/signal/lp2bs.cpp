#include "signal/lp2bs.h"

#include "runtime/dispatch/error.h"
#include "runtime/value/value.h"

namespace sig {

rt::StateSpace lp2bs(const rt::StateSpace& s, double wo, double bw) {
    rt::error(rt::abcdchk(s));
    const Eigen::Index ma = s.a.rows(), nb = s.b.cols(), mc = s.c.rows();
    const double q = wo / bw;
    const Eigen::PartialPivLU<Eigen::MatrixXd> lu(s.a);
    const Eigen::MatrixXd ca = Eigen::PartialPivLU<Eigen::MatrixXd>(s.a.transpose())
                                   .solve(s.c.transpose())
                                   .transpose();  // c/a
    rt::StateSpace r;
    r.a = Eigen::MatrixXd::Zero(2 * ma, 2 * ma);
    r.a.topLeftCorner(ma, ma) = (wo / q) * lu.inverse();
    r.a.topRightCorner(ma, ma) = wo * Eigen::MatrixXd::Identity(ma, ma);
    r.a.bottomLeftCorner(ma, ma) = -wo * Eigen::MatrixXd::Identity(ma, ma);
    r.b = Eigen::MatrixXd::Zero(2 * ma, nb);
    r.b.topRows(ma) = -(wo / q) * lu.solve(s.b);
    r.c = Eigen::MatrixXd::Zero(mc, 2 * ma);
    r.c.leftCols(ma) = ca;
    r.d = s.d - ca * s.b;
    return r;
}

rt::TransferFunction lp2bs(const Eigen::RowVectorXd& num, const Eigen::RowVectorXd& den, double wo,
                           double bw) {
    return rt::tfFromZeros(lp2bs(rt::tf2ss(num, den), wo, bw));
}

void register_lp2bs(rt::FunctionTable& t) {
    t.add("lp2bs", 6, 4, [](const rt::Values& in, int nargout) {
        if (in.size() == 4)
            return rt::toValues(
                lp2bs(rt::rowFrom(in[0]), rt::rowFrom(in[1]), in[2].scalar(), in[3].scalar()),
                nargout);
        if (in.size() == 6)
            return rt::toValues(lp2bs(rt::stateSpaceFrom(in, 0), in[4].scalar(), in[5].scalar()),
                                nargout);
        rt::error("Wrong number of input arguments.");
        return rt::Values{};
    });
}

}  // namespace sig
