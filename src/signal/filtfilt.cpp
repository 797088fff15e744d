#include "signal/filtfilt.h"

#include <algorithm>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/numeric/filter.h"
#include "runtime/numeric/sparse_solve.h"
#include "runtime/value/eigen.h"

namespace sig {

namespace {

// b and a of equal length nfilt, a(1) = 1; x and out hold len samples. The extended
// signal is never stored whole: the two reflected ends live in small buffers and the middle
// is filtered in out itself. The backward pass's output over the front extension is
// discarded, so that piece is not run backwards at all.
void filtfiltColumn(const Eigen::VectorXd& b, const Eigen::VectorXd& a, const Eigen::VectorXd& zi,
                    const double* x, Eigen::Index len, double* out) {
    const Eigen::Index nfilt = b.size();
    const Eigen::Index nfact = 3 * (nfilt - 1);
    if (len <= nfact) rt::error("Data must have length more than 3 times filter order.");

    // Point reflection about each end sample.
    Eigen::VectorXd head(nfact), tail(nfact);
    for (Eigen::Index i = 0; i < nfact; ++i) {
        head(i) = 2 * x[0] - x[nfact - i];
        tail(i) = 2 * x[len - 1] - x[len - 2 - i];
    }
    Eigen::Map<Eigen::VectorXd> mid(out, len);
    mid = Eigen::Map<const Eigen::VectorXd>(x, len);

    Eigen::VectorXd z = zi * (nfact > 0 ? head(0) : mid(0));
    rt::filterInPlace(b, a, head, z);
    rt::filterInPlace(b, a, mid, z);
    rt::filterInPlace(b, a, tail, z);

    tail.reverseInPlace();
    z = zi * (nfact > 0 ? tail(0) : mid(len - 1));
    rt::filterInPlace(b, a, tail, z);
    mid.reverseInPlace();
    rt::filterInPlace(b, a, mid, z);
    mid.reverseInPlace();
}

}  // namespace

Eigen::MatrixXd filtfilt(const Eigen::VectorXd& b0, const Eigen::VectorXd& a0,
                         const Eigen::MatrixXd& x) {
    if (b0.size() == 0 || a0.size() == 0 || x.size() == 0) return Eigen::MatrixXd(0, 0);
    if (a0(0) == 0) rt::error("First denominator filter coefficient must be non-zero.");

    const Eigen::Index nfilt = std::max(b0.size(), a0.size());
    const bool vector = x.rows() == 1 || x.cols() == 1;
    if ((vector ? x.size() : x.rows()) <= 3 * (nfilt - 1))
        rt::error("Data must have length more than 3 times filter order.");
    Eigen::VectorXd b = Eigen::VectorXd::Zero(nfilt), a = Eigen::VectorXd::Zero(nfilt);
    b.head(b0.size()) = b0 / a0(0);
    a.head(a0.size()) = a0 / a0(0);

    // The state filter() settles in after a long run of ones: one small linear system.
    std::vector<Eigen::Index> rows, cols;
    std::vector<double> data;
    for (Eigen::Index i = 0; i < nfilt - 1; ++i) {
        rows.push_back(i);
        cols.push_back(0);
        data.push_back(i == 0 ? 1 + a(1) : a(i + 1));
    }
    for (Eigen::Index i = 1; i < nfilt - 1; ++i) {
        rows.push_back(i);
        cols.push_back(i);
        data.push_back(1);
        rows.push_back(i - 1);
        cols.push_back(i);
        data.push_back(-1);
    }
    const Eigen::VectorXd rhs = b.tail(nfilt - 1) - a.tail(nfilt - 1) * b(0);
    const Eigen::VectorXd zi = rt::SparseMatrix(rows, cols, data).solve(rhs);

    // A row or a column is contiguous either way; a matrix is worked column by column.
    Eigen::MatrixXd y(x.rows(), x.cols());
    if (vector) {
        filtfiltColumn(b, a, zi, x.data(), x.size(), y.data());
        return y;
    }
    for (Eigen::Index c = 0; c < x.cols(); ++c)
        filtfiltColumn(b, a, zi, x.col(c).data(), x.rows(), y.col(c).data());
    return y;
}

void register_filtfilt(rt::FunctionTable& t) {
    t.add("filtfilt", 3, 1, [](const rt::Values& in, int) -> rt::Values {
        if (in.size() < 3) rt::error("Not enough input arguments.");
        if (in[0].isComplex() || in[1].isComplex()) rt::error("Filter coefficients must be real.");
        const std::vector<double> bv = rt::toVector(in[0]), av = rt::toVector(in[1]);
        const Eigen::VectorXd b =
            Eigen::Map<const Eigen::VectorXd>(bv.data(), Eigen::Index(bv.size()));
        const Eigen::VectorXd a =
            Eigen::Map<const Eigen::VectorXd>(av.data(), Eigen::Index(av.size()));
        // The filter is real and linear: a complex signal is filtered part by part.
        if (in[2].isComplex()) {
            const Eigen::MatrixXcd x = rt::toComplexMatrix(in[2]);
            Eigen::MatrixXcd y = filtfilt(b, a, x.real()).cast<std::complex<double>>();
            if (y.size() != 0) y.imag() = filtfilt(b, a, x.imag());
            return {rt::fromMatrix(y)};
        }
        return {rt::fromMatrix(filtfilt(b, a, rt::toMatrix(in[2])))};
    });
}

}  // namespace sig
