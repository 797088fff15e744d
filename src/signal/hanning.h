// Hann window.
#pragma once

#include <Eigen/Dense>
#include <optional>
#include <string>

namespace rt {
class FunctionTable;
}

namespace sig {

// The Hann window as a column. "symmetric" (default): w(i) = 0.5 (1 - cos(2 pi i/(n+1))),
// i = 1 … n, so neither end is zero; "periodic": 0 followed by the symmetric window of
// n - 1 points. sflag is compared in lower case and may be any beginning of exactly one
// of the two names. n = 0 or empty gives a 0x1 column, n = 1 [1] (whatever the flag).
// A fractional n is rounded with a warning. Throws rt::Error for n < 0 and for a flag
// that names neither (or both): "Sampling flag must be either 'symmetric' or 'periodic'.".
Eigen::VectorXd hanning(std::optional<double> n, std::optional<std::string> sflag = {});

// "hanning": any number of inputs (1 or 2 are accepted), 1 output.
void register_hanning(rt::FunctionTable& t);

}  // namespace sig
