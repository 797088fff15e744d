#include "signal/private/iirchk.h"

#include <algorithm>
#include <cctype>

#include "runtime/dispatch/error.h"
#include "runtime/value/eigen.h"
#include "runtime/value/text_ops.h"

namespace sig {

IirCheck iirchk(const Eigen::VectorXd& wn, const std::vector<std::string>& options) {
    IirCheck r;
    if (wn.size() == 1)
        r.btype = 1;
    else if (wn.size() == 2)
        r.btype = 2;
    else {
        r.errStr = "Wn must be a one or two element vector.";
        return r;
    }
    if (options.size() > 2) {
        r.errStr = "Too many input arguments.";
        return r;
    }
    std::vector<std::string> opts = options;
    if (!opts.empty()) {
        const std::string last = rt::lowerAscii(opts.back());
        if (last == "s") {
            r.analog = 1;
            opts.pop_back();
        } else if (last == "z") {
            r.analog = 0;
            opts.pop_back();
        } else if (opts.size() == 2) {
            r.errStr = "Analog flag must be either 'z' or 's'.";
            return r;
        }
    }
    // Written as "not inside" so that a NaN cut-off is refused too.
    if (r.analog == 0) {
        if (!((wn.array() > 0).all() && (wn.array() < 1).all())) {
            r.errStr = "The cutoff frequencies must be within the interval of (0,1).";
            return r;
        }
    } else if (!(wn.array() > 0).all()) {
        r.errStr = "The cutoff frequencies must be greater than zero.";
        return r;
    }
    if (opts.size() == 1) {
        const std::string type = rt::lowerAscii(opts.front());
        if (type == "low")
            r.btype = 1;
        else if (type == "bandpass")
            r.btype = 2;
        else if (type == "high")
            r.btype = 3;
        else if (type == "stop")
            r.btype = 4;
        else {
            r.errStr =
                options.size() == 1
                    ? "Option string must be one of 'high', 'stop', 'low', 'bandpass', 'z' or 's'."
                    : "Filter type must be one of 'high', 'stop', 'low', or 'bandpass'.";
            return r;
        }
        static const char* const need[] = {
            "For the 'low' filter option, Wn must have 1 element.",
            "For the 'bandpass' filter option, Wn must have 2 elements.",
            "For the 'high' filter option, Wn must have 1 element.",
            "For the 'stop' filter option, Wn must have 2 elements."};
        const Eigen::Index wanted = (r.btype == 1 || r.btype == 3) ? 1 : 2;
        if (wn.size() != wanted) r.errStr = need[r.btype - 1];
    }
    return r;
}

void register_iirchk(rt::FunctionTable& t) {
    t.add("signal/private/iirchk", -2, 3, [](const rt::Values& in, int nargout) {
        if (in.empty()) rt::error("Not enough input arguments.");
        std::vector<std::string> options;
        for (std::size_t i = 1; i < in.size(); ++i)
            options.push_back(in[i].isChar() ? in[i].text() : std::string());
        const std::vector<double> w = rt::toVector(in[0]);
        const IirCheck r =
            iirchk(Eigen::Map<const Eigen::VectorXd>(w.data(), Eigen::Index(w.size())), options);
        rt::Values out{rt::Value(double(r.btype)), rt::Value(double(r.analog)),
                       rt::Value(r.errStr)};
        out.resize(static_cast<std::size_t>(std::clamp(nargout, 1, 3)));
        return out;
    });
}

}  // namespace sig
