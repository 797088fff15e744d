// The numeric kernels under the designs, and the design steps' own forms.
#include <gtest/gtest.h>

#include <complex>
#include <string>

#include "runtime/dispatch/error.h"
#include "runtime/numeric/filter.h"
#include "runtime/numeric/poly.h"
#include "runtime/numeric/sparse_solve.h"
#include "runtime/numeric/statespace.h"
#include "runtime/value/eigen.h"
#include "signal/bilinear.h"
#include "signal/buttap.h"
#include "signal/lp2bp.h"
#include "signal/lp2bs.h"
#include "signal/lp2hp.h"
#include "signal/lp2lp.h"

namespace {

using C = std::complex<double>;

Eigen::RowVectorXd row(std::initializer_list<double> v) {
    Eigen::RowVectorXd r(Eigen::Index(v.size()));
    Eigen::Index i = 0;
    for (double x : v) r(i++) = x;
    return r;
}

void expectNear(const Eigen::MatrixXd& got, const Eigen::MatrixXd& want, double tol) {
    ASSERT_EQ(got.rows(), want.rows());
    ASSERT_EQ(got.cols(), want.cols());
    EXPECT_LE((got - want).cwiseAbs().maxCoeff(), tol) << "got\n" << got << "\nwant\n" << want;
}

// num/den of a model: poly(a − b·c) + (d − 1)·poly(a), over poly(a).
rt::TransferFunction tfOf(const rt::StateSpace& s) {
    const Eigen::RowVectorXd den = rt::poly(s.a);
    return {rt::poly(Eigen::MatrixXd(s.a - s.b * s.c)) + (s.d(0, 0) - 1) * den, den};
}

TEST(Filter, MatchesTheRecurrenceWrittenOut) {
    const Eigen::VectorXd b = row({0.2, -0.1, 0.4}).transpose();
    const Eigen::VectorXd a = row({1, -0.5, 0.25, 0.1}).transpose();
    const Eigen::VectorXd x = row({1, -2, 3, 0.5, 0, 7, -1}).transpose();
    const Eigen::VectorXd zi = row({0.3, -0.2, 0.05}).transpose();
    Eigen::VectorXd z = zi, want(x.size());
    const double bb[] = {0.2, -0.1, 0.4, 0};
    for (Eigen::Index k = 0; k < x.size(); ++k) {
        want(k) = bb[0] * x(k) + z(0);
        z(0) = bb[1] * x(k) + z(1) - a(1) * want(k);
        z(1) = bb[2] * x(k) + z(2) - a(2) * want(k);
        z(2) = bb[3] * x(k) - a(3) * want(k);
    }
    expectNear(rt::filter(b, a, x, zi), want, 1e-15);
    // Scaled coefficients give the same output; a long order takes the general path.
    expectNear(rt::filter(2 * b, 2 * a, x, zi), want, 1e-15);
    Eigen::VectorXd b9 = Eigen::VectorXd::Zero(9);
    b9(8) = 1;
    const Eigen::VectorXd y9 = rt::filter(b9, row({1}).transpose(), x);
    EXPECT_EQ(y9.head(7), Eigen::VectorXd::Zero(7));
    EXPECT_THROW(rt::filter(b, a, x, row({1, 2}).transpose()), rt::Error);
    EXPECT_THROW(rt::filter(b, row({0, 1}).transpose(), x), rt::Error);
}

TEST(Poly, RootsAndMatrices) {
    expectNear(rt::poly(Eigen::VectorXd(row({1, 2, 3}).transpose())), row({1, -6, 11, -6}), 0);
    expectNear(rt::poly(Eigen::VectorXd(0)), row({1}), 0);
    Eigen::VectorXcd r(3);
    r << C(-0.5, 2), C(3, 0), C(-0.5, -2);
    const Eigen::RowVectorXcd c = rt::poly(r);
    EXPECT_EQ(c.imag(), Eigen::RowVectorXd::Zero(4));  // conjugate pairs give exact reals
    expectNear(c.real(), row({1, -2, 1.25, -12.75}), 1e-14);
    Eigen::VectorXcd odd(1);
    odd << C(0, 1);
    EXPECT_EQ(rt::poly(odd)(1), C(0, -1));
    // Characteristic polynomials: a companion matrix gives its own polynomial back.
    Eigen::MatrixXd comp(3, 3);
    comp << 6, -11, 6, 1, 0, 0, 0, 1, 0;
    expectNear(rt::poly(comp), row({1, -6, 11, -6}), 1e-12);
    Eigen::MatrixXd rot(2, 2);
    rot << 0, -2, 2, 0;
    expectNear(rt::poly(rot), row({1, 0, 4}), 1e-14);
    expectNear(rt::poly(Eigen::MatrixXd(0, 0)), row({1}), 0);
    EXPECT_THROW(rt::poly(Eigen::MatrixXd(2, 3)), rt::Error);

    EXPECT_EQ(rt::polyval(row({1, -6, 11, -6}), 4.0), 6.0);
    EXPECT_EQ(rt::polyval(row({1, 0, 4}), C(0, 2)), C(0, 0));
    EXPECT_EQ(rt::polyval(Eigen::RowVectorXd(0), 3.0), 0.0);
}

TEST(StateSpace, ConversionsAgree) {
    // k(s + 2)/((s + 1)(s² + s + 1)) through zp2ss, ss2zp and tf2ss.
    Eigen::VectorXcd z(1), p(3);
    z << -2;
    p << C(-0.5, std::sqrt(0.75)), C(-0.5, -std::sqrt(0.75)), -1;
    const rt::StateSpace s = rt::zp2ss(z, p, 3);
    EXPECT_EQ(s.a.rows(), 3);
    EXPECT_EQ(rt::abcdchk(s), "");
    const rt::TransferFunction tf = tfOf(s);
    expectNear(tf.den, row({1, 2, 2, 1}), 1e-14);
    expectNear(tf.num, row({0, 0, 3, 6}), 1e-14);
    const rt::ZeroPoleGain zpk = rt::ss2zp(s, 0);
    ASSERT_EQ(zpk.z.size(), 1);
    EXPECT_NEAR(std::abs(zpk.z(0) - C(-2)), 0, 1e-13);
    EXPECT_NEAR(zpk.k, 3, 1e-14);
    EXPECT_EQ(zpk.p.size(), 3);

    const rt::StateSpace t = rt::tf2ss(row({0, 2, 0, 6}), row({2, 4, 4, 2}));
    expectNear(tfOf(t).num, row({0, 1, 0, 3}), 1e-14);
    expectNear(tfOf(t).den, row({1, 2, 2, 1}), 1e-14);
    // Zeros of s² + 3 (relative degree 1) and of s (a zero at the origin, degree 2).
    const rt::Zeros z1 = rt::tzero(t);
    ASSERT_EQ(z1.z.size(), 2);
    EXPECT_NEAR(z1.k, 1, 1e-14);
    EXPECT_NEAR(std::abs(z1.z(0).imag()), std::sqrt(3.0), 1e-13);
    const rt::Zeros z2 = rt::tzero(rt::tf2ss(row({5, 0}), row({1, 2, 3, 4})));
    ASSERT_EQ(z2.z.size(), 1);
    EXPECT_NEAR(std::abs(z2.z(0)), 0, 1e-14);
    EXPECT_NEAR(z2.k, 5, 1e-14);
    // A proper model with d ≠ 0 and one with no zeros at all.
    const rt::Zeros z3 = rt::tzero(rt::tf2ss(row({2, 1}), row({1, 3})));
    EXPECT_EQ(z3.k, 2);
    EXPECT_NEAR(z3.z(0).real(), -0.5, 1e-15);
    const rt::Zeros z4 = rt::tzero(rt::tf2ss(row({0, 0, 0}), row({1, 3, 1})));
    EXPECT_EQ(z4.z.size(), 0);
    EXPECT_EQ(z4.k, 0);

    EXPECT_THROW(rt::tf2ss(row({1, 2, 3}), row({1, 2})), rt::Error);
    EXPECT_THROW(rt::zp2ss(z, Eigen::VectorXcd(0), 1), rt::Error);
    Eigen::VectorXcd lonely(1);
    lonely << C(1, 1);
    EXPECT_THROW(rt::zp2ss(Eigen::VectorXcd(0), lonely, 1), rt::Error);
}

TEST(StateSpace, SizeChecks) {
    const Eigen::MatrixXd a2 = Eigen::MatrixXd::Identity(2, 2), b2 = Eigen::MatrixXd::Ones(2, 1),
                          c2 = Eigen::MatrixXd::Ones(1, 2), d1 = Eigen::MatrixXd::Ones(1, 1);
    EXPECT_EQ(rt::abcdchk(a2, b2, c2, d1), "");
    EXPECT_EQ(rt::abcdchk(Eigen::MatrixXd(0, 0), Eigen::MatrixXd(0, 1), Eigen::MatrixXd(1, 0), d1),
              "");
    EXPECT_NE(rt::abcdchk(Eigen::MatrixXd::Ones(2, 3), b2, c2, d1), "");
    EXPECT_NE(rt::abcdchk(a2, Eigen::MatrixXd::Ones(3, 1), c2, d1), "");
    EXPECT_NE(rt::abcdchk(a2, b2, Eigen::MatrixXd::Ones(1, 3), d1), "");
    EXPECT_NE(rt::abcdchk(a2, b2, c2, Eigen::MatrixXd::Ones(2, 1)), "");
    EXPECT_NE(rt::abcdchk(a2, b2, c2, Eigen::MatrixXd::Ones(1, 2)), "");
    EXPECT_THROW(sig::lp2lp(rt::StateSpace{a2, Eigen::MatrixXd::Ones(3, 1), c2, d1}, 2), rt::Error);
}

TEST(SparseSolve, TripletsAddAndSolve) {
    // [2 −1 0; 0.5 1 −1; 0.25 0 1]·x = [1; 2; 3], the third-order initial-state shape.
    const rt::SparseMatrix m({0, 1, 2, 1, 2, 0, 1, 0}, {0, 0, 0, 1, 2, 1, 2, 0},
                             {1.5, 0.5, 0.25, 1, 1, -1, -1, 0.5});
    ASSERT_EQ(m.rows(), 3);
    EXPECT_EQ(m.dense()(0, 0), 2.0);
    const Eigen::VectorXd x = m.solve(Eigen::Vector3d(1, 2, 3));
    EXPECT_LT((m.dense() * x - Eigen::Vector3d(1, 2, 3)).norm(), 1e-14);
    EXPECT_THROW(m.solve(Eigen::Vector2d(1, 2)), rt::Error);
    EXPECT_THROW(rt::SparseMatrix({0}, {0, 1}, {1}), rt::Error);
    EXPECT_EQ(rt::SparseMatrix({}, {}, {}).solve(Eigen::VectorXd(0)).size(), 0);
}

TEST(Buttap, ThirdOrderPoles) {
    const rt::ZeroPoleGain r = sig::buttap(3);
    ASSERT_EQ(r.p.size(), 3);
    EXPECT_EQ(r.z.size(), 0);
    EXPECT_NEAR(std::abs(r.p(0) - C(-0.5, std::sqrt(3.0) / 2)), 0, 1e-15);
    EXPECT_EQ(r.p(1), std::conj(r.p(0)));
    EXPECT_EQ(r.p(2), C(-1));
    EXPECT_NEAR(r.k, 1, 1e-15);
    EXPECT_EQ(sig::buttap(1).p.size(), 1);
    EXPECT_EQ(sig::buttap(4).p.size(), 4);
}

TEST(Transformations, TransferFunctionFormsMatchStateSpaceForms) {
    // 1/(s² + √2·s + 1), the second-order prototype.
    const Eigen::RowVectorXd num = row({1}), den = row({1, std::sqrt(2.0), 1});
    const rt::StateSpace s = rt::tf2ss(num, den);
    const double wo = 3, bw = 0.5;
    const rt::TransferFunction lp = sig::lp2lp(num, den, wo);
    expectNear(lp.num, row({9}), 1e-13);
    expectNear(lp.den, row({1, 3 * std::sqrt(2.0), 9}), 1e-13);
    const rt::TransferFunction hp = sig::lp2hp(num, den, wo);
    expectNear(hp.num, row({1, 0, 0}), 1e-13);
    expectNear(hp.den, row({1, 3 * std::sqrt(2.0), 9}), 1e-13);
    const rt::TransferFunction bp = sig::lp2bp(num, den, wo, bw);
    expectNear(bp.num, row({bw * bw, 0, 0}), 1e-13);
    expectNear(bp.den, tfOf(sig::lp2bp(s, wo, bw)).den, 1e-12);
    const rt::TransferFunction bs = sig::lp2bs(num, den, wo, bw);
    expectNear(bs.num, row({1, 0, 2 * wo * wo, 0, wo * wo * wo * wo}), 1e-11);
    expectNear(bs.den, tfOf(sig::lp2bs(s, wo, bw)).den, 1e-12);
    expectNear(tfOf(sig::lp2hp(s, wo)).num, row({1, 0, 0}), 1e-13);
}

TEST(Bilinear, ThreeFormsAgree) {
    // 1/(s + 1) at fs = 0.5: zero at −1, pole (1 − 1)/(1 + 1)… with 2·fs = 1: pd = 0.
    Eigen::VectorXcd z(0), p(1);
    p << -1;
    const sig::BilinearZpk zpk = sig::bilinear(rt::ZeroPoleGain{z, p, 1}, 0.5);
    ASSERT_EQ(zpk.z.size(), 1);
    EXPECT_EQ(zpk.z(0), C(-1));
    EXPECT_EQ(zpk.p(0), C(0));
    EXPECT_EQ(zpk.k, C(0.5));
    const rt::TransferFunction tf = sig::bilinear(row({1}), row({1, 1}), 0.5);
    expectNear(tf.num, row({0.5, 0.5}), 1e-15);
    expectNear(tf.den, row({1, 0}), 1e-15);
    const rt::StateSpace ss = sig::bilinear(rt::tf2ss(row({1}), row({1, 1})), 0.5);
    expectNear(tfOf(ss).num, row({0.5, 0.5}), 1e-15);
    // Pre-warping puts fp on the same digital frequency in every form.
    const sig::BilinearZpk zw = sig::bilinear(rt::ZeroPoleGain{z, p, 1}, 10, 1.0);
    const rt::TransferFunction tw = sig::bilinear(row({1}), row({1, 1}), 10, 1.0);
    EXPECT_NEAR(tw.den(1), -zw.p(0).real(), 1e-14);
    // Infinite zeros are dropped and made up with −1.
    Eigen::VectorXcd zi(1);
    zi << C(INFINITY, 0);
    EXPECT_EQ(sig::bilinear(rt::ZeroPoleGain{zi, p, 1}, 1).z(0), C(-1));
    EXPECT_THROW(sig::bilinear(row({1, 2, 3}), row({1, 1}), 1), rt::Error);
}

TEST(Bilinear, FormsAndMessagesByName) {
    rt::FunctionTable t;
    sig::register_bilinear(t);
    sig::register_lp2lp(t);
    sig::register_buttap(t);
    auto message = [&](const rt::Values& in, int nargout) {
        try {
            t.call("bilinear", in, nargout);
        } catch (const rt::Error& e) {
            return std::string(e.what());
        }
        return std::string();
    };
    const rt::Value col2 = rt::Value::column({-1, -2}), col1 = rt::Value::column({-1});
    EXPECT_EQ(message({col2, col1, rt::Value(1.0), rt::Value(1.0)}, 3),
              "Numerator cannot be higher order than denominator.");
    EXPECT_EQ(message({rt::Value::row({1, 2, 3}), rt::Value::row({1, 1}), rt::Value(1.0)}, 2),
              "Numerator cannot be higher order than denominator.");
    EXPECT_EQ(message({rt::Value::row({1, 2}), rt::Value::column({1, 1}), rt::Value(1.0)}, 2),
              "First two arguments must have the same orientation.");
    const rt::Values zpk =
        t.call("bilinear", {rt::Value(), col1, rt::Value(1.0), rt::Value(0.5)}, 3);
    EXPECT_EQ(zpk[2].scalar(), 0.5);
    EXPECT_FALSE(zpk[2].isComplex());
    const rt::Values tf =
        t.call("bilinear", {rt::Value(1.0), rt::Value::row({1, 1}), rt::Value(0.5)}, 2);
    EXPECT_EQ(tf[0].cols(), 2u);
    EXPECT_THROW(t.call("bilinear", {rt::Value(1.0), rt::Value::row({1, 1}), rt::Value(0.5)}, 3),
                 rt::Error);
    const rt::Values ss = t.call(
        "bilinear",
        {rt::Value(-1.0), rt::Value(1.0), rt::Value(1.0), rt::Value(0.0), rt::Value(0.5)}, 4);
    EXPECT_EQ(ss[0].scalar(), 0.0);

    const rt::Values lp =
        t.call("lp2lp", {rt::Value(1.0), rt::Value::row({1, 1}), rt::Value(2.0)}, 2);
    EXPECT_NEAR(lp[0].scalar(), 2, 1e-15);
    EXPECT_THROW(t.call("lp2lp", {rt::Value(1.0), rt::Value::row({1, 1})}, 2), rt::Error);
    EXPECT_EQ(t.call("buttap", {rt::Value(2.0)}, 3)[1].rows(), 2u);
    EXPECT_THROW(t.call("buttap", {rt::Value(2.0), rt::Value(1.0)}, 1), rt::Error);
}

}  // namespace
