#include "runtime/value/eigen.h"

#include "runtime/dispatch/error.h"

namespace rt {

namespace {
void need2d(const Value& v) {
    if (v.isCell() || v.isStruct())
        throw Error("Conversion to double from " + v.className() + " is not possible.");
    if (v.ndims() > 2) throw Error("A matrix must be two-dimensional.");
}
}  // namespace

Eigen::MatrixXd toMatrix(const Value& v) {
    need2d(v);
    const std::vector<double> d = v.real();
    Eigen::MatrixXd m(static_cast<Eigen::Index>(v.rows()), static_cast<Eigen::Index>(v.cols()));
    std::copy(d.begin(), d.end(), m.data());
    return m;
}

Eigen::MatrixXcd toComplexMatrix(const Value& v) {
    need2d(v);
    const std::vector<std::complex<double>> d = v.complexData();
    Eigen::MatrixXcd m(static_cast<Eigen::Index>(v.rows()), static_cast<Eigen::Index>(v.cols()));
    std::copy(d.begin(), d.end(), m.data());
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
