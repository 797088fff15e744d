// Linear time-invariant models: state space, zero-pole-gain and transfer function, and the
// conversions between them that the filter designs rely on. Single input, single output
// unless stated otherwise.
#pragma once

#include <Eigen/Dense>
#include <string>

#include "runtime/value/value.h"

namespace rt {

// x' = a·x + b·u, y = c·x + d·u; a N×N, b N×1, c 1×N, d 1×1 (N may be 0).
struct StateSpace {
    Eigen::MatrixXd a, b, c, d;
};

// k·∏(s − zᵢ)/∏(s − pᵢ); zeros and poles as columns.
struct ZeroPoleGain {
    Eigen::VectorXcd z, p;
    double k = 0;
};

// num/den, rows of coefficients in descending powers.
struct TransferFunction {
    Eigen::RowVectorXd num, den;
};

// An empty text when the sizes of a, b, c and d agree (a square, b with a's rows, c with
// a's columns, d with c's rows and b's columns), otherwise a message saying which disagree.
std::string abcdchk(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b, const Eigen::MatrixXd& c,
                    const Eigen::MatrixXd& d);
std::string abcdchk(const StateSpace& s);

// A real state-space model of k·∏(s − zᵢ)/∏(s − pᵢ) with one state per pole, built as a
// cascade of first- and second-order sections. Throws rt::Error when there are more zeros
// than poles or the zeros or poles are not real or in complex-conjugate pairs.
StateSpace zp2ss(const Eigen::VectorXcd& z, const Eigen::VectorXcd& p, double k);

// Zeros, poles and gain of the model from input column iu (0-based). The model must have
// one output. Throws rt::Error when the sizes disagree (abcdchk) or iu is out of range.
ZeroPoleGain ss2zp(const StateSpace& s, Eigen::Index iu = 0);

// Controller canonical form of num/den (den's leading zeros are dropped, then both are
// divided by its first coefficient). Throws rt::Error when den is zero or num is of higher
// order than den.
StateSpace tf2ss(const Eigen::RowVectorXd& num, const Eigen::RowVectorXd& den);

// Transmission zeros and gain of a single-input single-output model: the roots of its
// transfer function's numerator and that numerator's leading coefficient (d unless it is
// exactly zero, else the first Markov parameter c·a^(r−1)·b that is not negligible against
// rounding). A model whose transfer function is zero gives no zeros and gain 0.
// Throws rt::Error when the model is not SISO.
struct Zeros {
    Eigen::VectorXcd z;
    double k = 0;
};
Zeros tzero(const StateSpace& s);

// Transfer function of a single-input single-output model from its zeros: numerator
// k·poly(z) (as long as there are zeros), denominator poly(a).
TransferFunction tfFromZeros(const StateSpace& s);

// Conversions for the functions called by name: four values (a, b, c, d) from in[first];
// missing inputs throw rt::Error. And the model as up to nargout values.
StateSpace stateSpaceFrom(const Values& in, std::size_t first);
Values toValues(const StateSpace& s, int nargout);
// A vector value, row or column, as a row (empty: 1x0). Throws rt::Error for a matrix.
Eigen::RowVectorXd rowFrom(const Value& v);
// [num, den] (at most two values, at least one).
Values toValues(const TransferFunction& tf, int nargout);

}  // namespace rt
