#include <cmath>
#include <limits>

#include "runtime/dispatch/error.h"
#include "runtime/numeric/poly.h"
#include "runtime/numeric/statespace.h"

namespace rt {

// For d = 0 the model is reduced one state at a time: an orthogonal change of state makes
// b = β·e1; if the new c has c1 ≈ 0 the first state is only an input path to the rest, so
// the zeros are those of the smaller model (a22, a21, c2), and the gain collects β. Once c1
// is not negligible the zeros are the eigenvalues of a22 − a21·c2/c1.
Zeros tzero(const StateSpace& s) {
    error(abcdchk(s));
    if (s.b.cols() != 1 || s.c.rows() != 1)
        error("Transmission zeros need a model with one input and one output.");
    const double eps = std::numeric_limits<double>::epsilon();
    const Eigen::Index n0 = s.a.rows();
    const double scale = std::max({1.0, s.a.norm(), s.b.norm(), s.c.norm(), std::abs(s.d(0, 0))});
    const double tol = 10.0 * (n0 + 1) * eps * scale;

    Zeros out;
    // d is a parameter of the model, not a computed residue: a tiny d of a steep digital
    // filter is its true leading coefficient, so only an exact zero counts as none.
    const double d = s.d(0, 0);
    if (d != 0) {
        out.k = d;
        out.z = eigenvalues(s.a - s.b * s.c / d);
        return out;
    }

    Eigen::MatrixXd a = s.a;
    Eigen::VectorXd b = s.b.col(0);
    Eigen::RowVectorXd c = s.c.row(0);
    double gain = 1;
    while (a.rows() > 0) {
        const Eigen::Index n = a.rows();
        const double cn = c.norm();
        const double bn = b.norm();
        if (bn <= tol * std::max(1.0, a.norm()) || cn <= tol) break;
        Eigen::HouseholderQR<Eigen::MatrixXd> qr(b);
        const Eigen::MatrixXd q = qr.householderQ();
        const double beta = qr.matrixQR()(0, 0);
        const Eigen::MatrixXd at = q.transpose() * a * q;
        const Eigen::RowVectorXd ct = c * q;
        if (std::abs(ct(0)) > 10.0 * (n + 1) * eps * cn) {
            out.k = gain * beta * ct(0);
            out.z = eigenvalues(at.bottomRightCorner(n - 1, n - 1) -
                                at.bottomLeftCorner(n - 1, 1) * ct.tail(n - 1) / ct(0));
            return out;
        }
        gain *= beta;
        b = at.bottomLeftCorner(n - 1, 1);
        a = at.bottomRightCorner(n - 1, n - 1);
        c = ct.tail(n - 1);
    }
    out.k = 0;
    out.z = Eigen::VectorXcd(0);
    return out;
}

ZeroPoleGain ss2zp(const StateSpace& s, Eigen::Index iu) {
    error(abcdchk(s));
    if (iu < 0 || iu >= s.b.cols()) error("Input index out of range.");
    const Zeros zk = tzero(StateSpace{s.a, s.b.col(iu), s.c, s.d.col(iu)});
    ZeroPoleGain out;
    out.z = zk.z;
    out.k = zk.k;
    out.p = eigenvalues(s.a);
    return out;
}

}  // namespace rt
