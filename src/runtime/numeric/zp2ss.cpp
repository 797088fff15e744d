#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/numeric/poly.h"
#include "runtime/numeric/statespace.h"

namespace rt {

namespace {

// Real factors of a conjugate-symmetric set: quadratics for the pairs, then the real
// values one by one.
struct Factors {
    std::vector<Eigen::RowVector3d> quadratics;  // s² + q1·s + q2
    std::vector<double> reals;
};

Factors factor(const Eigen::VectorXcd& v, const char* what) {
    if (!isConjugateSymmetric(v))
        error(std::string(what) + " must be real or in complex conjugate pairs.");
    Factors f;
    for (Eigen::Index i = 0; i < v.size(); ++i) {
        if (v(i).imag() > 0)
            f.quadratics.emplace_back(1.0, -2 * v(i).real(), std::norm(v(i)));
        else if (v(i).imag() == 0)
            f.reals.push_back(v(i).real());
    }
    return f;
}

// y of `first` feeds `second`.
StateSpace series(const StateSpace& s1, const StateSpace& s2) {
    const Eigen::Index n1 = s1.a.rows(), n2 = s2.a.rows();
    StateSpace s;
    s.a = Eigen::MatrixXd::Zero(n1 + n2, n1 + n2);
    s.a.topLeftCorner(n1, n1) = s1.a;
    s.a.bottomLeftCorner(n2, n1) = s2.b * s1.c;
    s.a.bottomRightCorner(n2, n2) = s2.a;
    s.b = Eigen::MatrixXd(n1 + n2, 1);
    s.b << s1.b, s2.b * s1.d;
    s.c = Eigen::MatrixXd(1, n1 + n2);
    s.c << s2.d * s1.c, s2.c;
    s.d = s2.d * s1.d;
    return s;
}

}  // namespace

StateSpace zp2ss(const Eigen::VectorXcd& z, const Eigen::VectorXcd& p, double k) {
    if (z.size() > p.size()) error("There must be at least as many poles as zeros.");
    Factors zf = factor(z, "Zeros");
    Factors pf = factor(p, "Poles");

    // Denominators of the sections: one first-order section when the pole count is odd,
    // then conjugate pairs, then the remaining real poles two by two.
    std::vector<Eigen::RowVectorXd> dens, nums;
    std::size_t ri = 0;
    if (pf.reals.size() % 2 == 1) dens.push_back(Eigen::RowVector2d(1.0, -pf.reals[ri++]));
    for (const auto& q : pf.quadratics) dens.push_back(q);
    for (; ri + 1 < pf.reals.size(); ri += 2)
        dens.push_back(Eigen::RowVector3d(1.0, -(pf.reals[ri] + pf.reals[ri + 1]),
                                          pf.reals[ri] * pf.reals[ri + 1]));

    // Numerators: a real zero to the first-order section, then pairs, then what is left.
    std::size_t zi = 0;
    std::size_t qi = 0;
    for (const auto& den : dens) {
        if (den.size() == 2) {
            nums.push_back(zi < zf.reals.size()
                               ? Eigen::RowVectorXd(Eigen::RowVector2d(1.0, -zf.reals[zi++]))
                               : Eigen::RowVectorXd::Ones(1));
        } else if (qi < zf.quadratics.size()) {
            nums.push_back(zf.quadratics[qi++]);
        } else if (zi + 1 < zf.reals.size()) {
            nums.push_back(Eigen::RowVector3d(1.0, -(zf.reals[zi] + zf.reals[zi + 1]),
                                              zf.reals[zi] * zf.reals[zi + 1]));
            zi += 2;
        } else if (zi < zf.reals.size()) {
            nums.push_back(Eigen::RowVector2d(1.0, -zf.reals[zi++]));
        } else {
            nums.push_back(Eigen::RowVectorXd::Ones(1));
        }
    }

    StateSpace s{Eigen::MatrixXd(0, 0), Eigen::MatrixXd(0, 1), Eigen::MatrixXd(1, 0),
                 Eigen::MatrixXd::Ones(1, 1)};
    for (std::size_t i = 0; i < dens.size(); ++i) s = series(s, tf2ss(nums[i], dens[i]));
    s.c *= k;
    s.d *= k;
    return s;
}

}  // namespace rt
