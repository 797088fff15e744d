#include "runtime/value/eigen.h"

#include "runtime/dispatch/error.h"

namespace rt {

namespace {

void need2d(const Value& v) {
    if (v.isCell() || v.isStruct())
        throw Error("Conversion to double from " + v.className() + " is not possible.");
    if (v.ndims() > 2) throw Error("A matrix must be two-dimensional.");
}

Eigen::Index rowsOf(const Value& v) { return static_cast<Eigen::Index>(v.rows()); }
Eigen::Index colsOf(const Value& v) { return static_cast<Eigen::Index>(v.cols()); }

bool storedAsDoubles(const Value& v) { return v.isDouble() || v.isLogical(); }

}  // namespace

MatrixView::MatrixView(const Value& v) : map_(nullptr, 0, 0) {
    need2d(v);
    if (!storedAsDoubles(v)) converted_ = v.real();
    const double* d = storedAsDoubles(v) ? v.re().data() : converted_.data();
    // Eigen's documented way to point an existing Map elsewhere.
    new (&map_) Map(d, rowsOf(v), colsOf(v));
}

Eigen::MatrixXd toMatrix(const Value& v) {
    need2d(v);
    Eigen::MatrixXd m(rowsOf(v), colsOf(v));
    if (storedAsDoubles(v)) {
        if (m.size() > 0) m = Eigen::Map<const Eigen::MatrixXd>(v.re().data(), m.rows(), m.cols());
    } else {
        for (Eigen::Index i = 0; i < m.size(); ++i) m.data()[i] = v.at(static_cast<std::size_t>(i));
    }
    return m;
}

Eigen::MatrixXcd toComplexMatrix(const Value& v) {
    need2d(v);
    Eigen::MatrixXcd m(rowsOf(v), colsOf(v));
    if (m.size() == 0) return m;
    if (storedAsDoubles(v)) {
        const auto re = Eigen::Map<const Eigen::MatrixXd>(v.re().data(), m.rows(), m.cols());
        m.real() = re;
        if (v.isComplex())
            m.imag() = Eigen::Map<const Eigen::MatrixXd>(v.im().data(), m.rows(), m.cols());
        else
            m.imag().setZero();
    } else {
        for (Eigen::Index i = 0; i < m.size(); ++i) m.data()[i] = v.at(static_cast<std::size_t>(i));
    }
    return m;
}

Value fromMatrix(const Eigen::MatrixXd& m) {
    return Value::matrix(static_cast<std::size_t>(m.rows()), static_cast<std::size_t>(m.cols()),
                         std::vector<double>(m.data(), m.data() + m.size()));
}

Value fromMatrix(const Eigen::MatrixXcd& m) {
    const std::size_t n = static_cast<std::size_t>(m.size());
    std::vector<double> re(n), im(n);
    for (std::size_t i = 0; i < n; ++i) {
        re[i] = m.data()[i].real();
        im[i] = m.data()[i].imag();
    }
    // An empty complex matrix has no imaginary parts to keep.
    if (n == 0) im.clear();
    return Value::matrix(static_cast<std::size_t>(m.rows()), static_cast<std::size_t>(m.cols()),
                         std::move(re), std::move(im));
}

std::vector<double> toVector(const Value& v) {
    if (v.isCell() || v.isStruct())
        throw Error("Conversion to double from " + v.className() + " is not possible.");
    return v.real();
}

Value rowVector(const std::vector<double>& v) { return Value::row(v); }

Value columnVector(const std::vector<double>& v) { return Value::column(v); }

}  // namespace rt
