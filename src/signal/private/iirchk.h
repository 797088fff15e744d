// The argument check shared by the infinite-impulse-response designs.
#pragma once

#include <Eigen/Dense>
#include <string>
#include <vector>

#include "runtime/dispatch/function_table.h"

namespace sig {

// btype: 1 low-pass, 2 band-pass, 3 high-pass, 4 band-stop. analog: 0 digital, 1 analogue.
struct IirCheck {
    int btype = 1;
    int analog = 0;
    std::string errStr;  // empty when the arguments are good
};

// Reads the cut-off(s) Wn and at most two option texts ("low", "bandpass", "high", "stop",
// then or alone "s"/"z", any case). Never throws: the first problem found is returned in
// errStr. A NaN cut-off counts as outside the allowed range.
IirCheck iirchk(const Eigen::VectorXd& wn, const std::vector<std::string>& options);

// "signal/private/iirchk": Wn and any number of options in, [btype, analog, errStr] out.
void register_iirchk(rt::FunctionTable& t);

}  // namespace sig
