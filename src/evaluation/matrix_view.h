// The recording handed to a conversion by name, read where it lies.
#pragma once

#include <Eigen/Dense>

#include "runtime/value/eigen.h"
#include "runtime/value/value.h"

namespace evaluation {

// A real double value is viewed in place (a recording is tens of megabytes: a copy costs more
// than the analysis); any other class is converted once, as rt::toMatrix does, and kept here.
// The view is valid while both the value and this object live.
class MatrixView {
public:
    explicit MatrixView(const rt::Value& v) {
        if (v.isDouble() && !v.isComplex() && v.ndims() == 2) {
            data_ = v.re().data();
        } else {
            copy_ = rt::toMatrix(v);
            data_ = copy_.data();
        }
        rows_ = static_cast<Eigen::Index>(v.rows());
        cols_ = static_cast<Eigen::Index>(v.cols());
    }
    Eigen::Map<const Eigen::MatrixXd> matrix() const { return {data_, rows_, cols_}; }

private:
    Eigen::MatrixXd copy_;
    const double* data_ = nullptr;
    Eigen::Index rows_ = 0, cols_ = 0;
};

}  // namespace evaluation
