#include "signal/buttap.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/value/eigen.h"

namespace sig {

rt::ZeroPoleGain buttap(double n) {
    constexpr double halfPi = std::numbers::pi / 2;
    std::vector<std::complex<double>> p;
    for (double m = 1; m <= n - 1; m += 2) {
        const double theta = (std::numbers::pi * m) / (2 * n) + halfPi;
        const std::complex<double> pole(std::cos(theta), std::sin(theta));
        p.push_back(pole);
        p.push_back(std::conj(pole));
    }
    if (std::fmod(n, 2.0) == 1) p.push_back(-1.0);

    rt::ZeroPoleGain r;
    r.z = Eigen::VectorXcd(0);
    r.p = Eigen::Map<Eigen::VectorXcd>(p.data(), Eigen::Index(p.size()));
    std::complex<double> prod = 1;
    for (const auto& pole : p) prod *= -pole;
    r.k = prod.real();
    return r;
}

void register_buttap(rt::FunctionTable& t) {
    t.add("buttap", 1, 3, [](const rt::Values& in, int nargout) {
        if (in.empty()) rt::error("Not enough input arguments.");
        const rt::ZeroPoleGain r = buttap(in[0].scalar());
        rt::Values out{rt::fromMatrix(Eigen::MatrixXd(0, 0)), rt::fromMatrix(Eigen::MatrixXcd(r.p)),
                       rt::Value(r.k)};
        out.resize(static_cast<std::size_t>(std::clamp(nargout, 1, 3)));
        return out;
    });
}

}  // namespace sig
