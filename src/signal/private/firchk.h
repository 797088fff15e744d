// Order check of a symmetric FIR filter.
#pragma once

#include <Eigen/Dense>
#include <string>

namespace rt {
class FunctionTable;
}

namespace sig {

struct FirchkResult {
    double n = 0;      // the order to use
    std::string msg1;  // non-empty: the order is unusable (the caller stops with it)
    std::string msg2;  // non-empty: the order was raised by one (the caller warns with it)
};

// n not finite, not an integer or <= 0: msg1 "Filter order must be a real, positive
// integer." and n unchanged. An odd n with a non-zero last element of a and exception 0:
// msg2 (with a carriage return inside) and n + 1. Never throws.
FirchkResult firchk(double n, const Eigen::VectorXd& a, double exception = 0);

// "signal/private/firchk": 3 inputs, 3 outputs.
void register_firchk(rt::FunctionTable& t);

}  // namespace sig
