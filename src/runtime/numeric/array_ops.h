// Elementary array functions of the run-time over Eigen types.
//
// Shape rule shared by the reductions (max, min, sum, prod, mean, std) and the column
// operations (cumsum, diff): a matrix is worked column by column; a vector, row or column,
// counts as one column. The VectorXd / RowVectorXd overloads return a plain double where
// the run-time gives one value. Indices are 0-based (the run-time's "row 1" is index 0).
#pragma once

#include <Eigen/Dense>
#include <utility>
#include <vector>

namespace rt {

// ---- max and min ----------------------------------------------------------------------

// The extreme of one vector: NaN elements are ignored; on a tie the first index wins.
// All NaN: value NaN, index 0. Empty: value NaN, index -1.
struct Extreme {
    double value;
    Eigen::Index index;
};
Extreme max(const Eigen::VectorXd& v);
Extreme max(const Eigen::RowVectorXd& v);
Extreme min(const Eigen::VectorXd& v);
Extreme min(const Eigen::RowVectorXd& v);

// Column-wise extremes of a matrix (a one-row matrix is one vector): one entry per column,
// same NaN and tie rules (an all-zero column gives index 0). Empty input: empty result.
struct Extremes {
    Eigen::RowVectorXd value;
    std::vector<Eigen::Index> index;
};
Extremes max(const Eigen::MatrixXd& m);
Extremes min(const Eigen::MatrixXd& m);

// Elementwise max/min of two arrays of equal size, or of an array and a 1x1; a NaN on one
// side yields the other side (NaN only where both are NaN). Other sizes: rt::Error.
Eigen::MatrixXd max(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b);
Eigen::MatrixXd min(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b);

// ---- rounding -------------------------------------------------------------------------

// Half away from zero: round(2.5) = 3, round(-2.5) = -3. NaN and Inf pass through.
double round(double x);
Eigen::MatrixXd round(const Eigen::MatrixXd& m);

// ---- reductions -----------------------------------------------------------------------

// Sum; of an empty vector 0. Products are taken in element order (first to last).
double sum(const Eigen::VectorXd& v);
double sum(const Eigen::RowVectorXd& v);
Eigen::RowVectorXd sum(const Eigen::MatrixXd& m);  // 0x0 gives 0 (1x1); 0xN gives N zeros
double prod(const Eigen::VectorXd& v);
double prod(const Eigen::RowVectorXd& v);
Eigen::RowVectorXd prod(const Eigen::MatrixXd& m);  // 0x0 gives 1 (1x1); 0xN gives N ones

// Arithmetic mean; NaN for an empty vector.
double mean(const Eigen::VectorXd& v);
double mean(const Eigen::RowVectorXd& v);
Eigen::RowVectorXd mean(const Eigen::MatrixXd& m);  // 0x0 gives NaN (1x1)

// Sample standard deviation (divides by n - 1); 0 for one element, NaN for none.
double std(const Eigen::VectorXd& v);
double std(const Eigen::RowVectorXd& v);
Eigen::RowVectorXd std(const Eigen::MatrixXd& m);  // 0x0 gives NaN (1x1)

// ---- column operations ----------------------------------------------------------------

// Running sum down each column, the first element included; same shape as the input.
Eigen::VectorXd cumsum(const Eigen::VectorXd& v);
Eigen::RowVectorXd cumsum(const Eigen::RowVectorXd& v);
Eigen::MatrixXd cumsum(const Eigen::MatrixXd& m);

// Differences of neighbours: n elements give n - 1 (an empty vector for n <= 1).
Eigen::VectorXd diff(const Eigen::VectorXd& v);
Eigen::RowVectorXd diff(const Eigen::RowVectorXd& v);
Eigen::MatrixXd diff(const Eigen::MatrixXd& m);  // (r-1) x c; a one-row matrix: 1 x (c-1)

// Rows in reverse order.
Eigen::MatrixXd flipud(const Eigen::MatrixXd& m);

// Grids for x (columns) and y (rows): X and Y are length(y) x length(x); every row of X is
// x, every column of Y is y.
std::pair<Eigen::MatrixXd, Eigen::MatrixXd> meshgrid(const Eigen::VectorXd& x,
                                                     const Eigen::VectorXd& y);

// ---- find -----------------------------------------------------------------------------

// 0-based linear (column-major) indices of the non-zero elements, in order; NaN counts as
// non-zero. Takes any Eigen expression, comparisons included: find(v.array() > 0).
template <class Derived>
std::vector<Eigen::Index> find(const Eigen::DenseBase<Derived>& x) {
    std::vector<Eigen::Index> out;
    const auto& d = x.derived();
    for (Eigen::Index c = 0; c < d.cols(); ++c)
        for (Eigen::Index r = 0; r < d.rows(); ++r)
            if (d.coeff(r, c) != 0) out.push_back(c * d.rows() + r);
    return out;
}

// ---- interpolation --------------------------------------------------------------------

// Linear interpolation of (x, y) at xi; NaN for xi outside [min x, max x] and for NaN xi.
// The pairs need not be ordered: they are sorted by x first. Pairs with NaN x are dropped.
// Equal abscissae are merged into one point holding the mean of their ordinates, so the
// result is continuous on either side and defined at the shared abscissa. A single point
// answers only a query exactly at it. x and y of different lengths: rt::Error.
Eigen::VectorXd interp1(const Eigen::VectorXd& x, const Eigen::VectorXd& y,
                        const Eigen::VectorXd& xi);

// ---- ranges ---------------------------------------------------------------------------

// a : step : b as a row. The count is floor((b - a)/step) + 1, where a quotient within a few
// eps of max(|a|, |b|, |b - a|) (in steps) of a whole number counts as that whole number,
// so a : (b-a)/n : b has n + 1 elements. When the span is a whole number of steps
// the last element is b exactly (the upper half is counted back from b). Empty (1x0) when
// step is 0, its sign leads away from b, or any argument is NaN. A range of more than
// 2^31 elements (an infinite bound, say) is an rt::Error.
Eigen::RowVectorXd colon(double a, double step, double b);
Eigen::RowVectorXd colon(double a, double b);  // step 1

}  // namespace rt
