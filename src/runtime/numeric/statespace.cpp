#include "runtime/numeric/statespace.h"

#include <algorithm>

#include "runtime/dispatch/error.h"
#include "runtime/numeric/poly.h"
#include "runtime/value/eigen.h"

namespace rt {

StateSpace stateSpaceFrom(const Values& in, std::size_t first) {
    if (in.size() < first + 4) error("Not enough input arguments.");
    return StateSpace{toMatrix(in[first]), toMatrix(in[first + 1]), toMatrix(in[first + 2]),
                      toMatrix(in[first + 3])};
}

Values toValues(const StateSpace& s, int nargout) {
    Values out{fromMatrix(s.a), fromMatrix(s.b), fromMatrix(s.c), fromMatrix(s.d)};
    out.resize(static_cast<std::size_t>(std::clamp(nargout, 1, 4)));
    return out;
}

}  // namespace rt

namespace rt {

TransferFunction tfFromZeros(const StateSpace& s) {
    const Zeros zk = tzero(s);
    TransferFunction tf;
    tf.num = zk.k * poly(zk.z).real();
    tf.den = poly(s.a);
    return tf;
}

Eigen::RowVectorXd rowFrom(const Value& v) {
    if (!v.isEmpty() && !v.isVector()) error("Coefficients must be given as a vector.");
    const std::vector<double> x = toVector(v);
    return Eigen::Map<const Eigen::RowVectorXd>(x.data(), Eigen::Index(x.size()));
}

Values toValues(const TransferFunction& tf, int nargout) {
    Values out{fromMatrix(Eigen::MatrixXd(tf.num)), fromMatrix(Eigen::MatrixXd(tf.den))};
    out.resize(static_cast<std::size_t>(std::clamp(nargout, 1, 2)));
    return out;
}

}  // namespace rt
