#include "runtime/numeric/filter.h"

#include <algorithm>
#include <array>
#include <string>

#include "runtime/dispatch/error.h"

namespace rt {

namespace {

// Fixed state counts let the compiler keep the state in registers; a third-order filter
// (three states) is what every evaluation runs over its whole signal.
template <int N>
void runFixed(const double* b, const double* a, double* y, Eigen::Index len, double* zio) {
    std::array<double, N> z;
    for (int i = 0; i < N; ++i) z[i] = zio[i];
    for (Eigen::Index k = 0; k < len; ++k) {
        const double x = y[k];
        const double out = b[0] * x + z[0];
        for (int i = 0; i + 1 < N; ++i) z[i] = b[i + 1] * x + z[i + 1] - a[i + 1] * out;
        z[N - 1] = b[N] * x - a[N] * out;
        y[k] = out;
    }
    for (int i = 0; i < N; ++i) zio[i] = z[i];
}

void runAny(const double* b, const double* a, double* y, Eigen::Index len, double* z, int n) {
    for (Eigen::Index k = 0; k < len; ++k) {
        const double x = y[k];
        const double out = b[0] * x + z[0];
        for (int i = 0; i + 1 < n; ++i) z[i] = b[i + 1] * x + z[i + 1] - a[i + 1] * out;
        z[n - 1] = b[n] * x - a[n] * out;
        y[k] = out;
    }
}

}  // namespace

void filterInPlace(const Eigen::VectorXd& b, const Eigen::VectorXd& a,
                   Eigen::Ref<Eigen::VectorXd> y, Eigen::Ref<Eigen::VectorXd> z) {
    if (b.size() == 0) error("The numerator of filter must not be empty.");
    if (a.size() == 0 || a(0) == 0) error("First denominator filter coefficient must be non-zero.");
    const Eigen::Index nfilt = std::max(b.size(), a.size());
    const int n = static_cast<int>(nfilt - 1);
    if (z.size() != n)
        error("Initial conditions must be a vector of length max(length(a),length(b))-1 = " +
              std::to_string(n) + ".");
    Eigen::VectorXd bb = Eigen::VectorXd::Zero(nfilt), aa = Eigen::VectorXd::Zero(nfilt);
    bb.head(b.size()) = b;
    aa.head(a.size()) = a;
    if (aa(0) != 1) {
        bb /= aa(0);
        aa /= aa(0);
    }
    double* py = y.data();
    const Eigen::Index len = y.size();
    switch (n) {
        case 0:
            y *= bb(0);
            break;
        case 1:
            runFixed<1>(bb.data(), aa.data(), py, len, z.data());
            break;
        case 2:
            runFixed<2>(bb.data(), aa.data(), py, len, z.data());
            break;
        case 3:
            runFixed<3>(bb.data(), aa.data(), py, len, z.data());
            break;
        case 4:
            runFixed<4>(bb.data(), aa.data(), py, len, z.data());
            break;
        case 5:
            runFixed<5>(bb.data(), aa.data(), py, len, z.data());
            break;
        case 6:
            runFixed<6>(bb.data(), aa.data(), py, len, z.data());
            break;
        default:
            runAny(bb.data(), aa.data(), py, len, z.data(), n);
            break;
    }
}

Eigen::VectorXd filter(const Eigen::VectorXd& b, const Eigen::VectorXd& a, const Eigen::VectorXd& x,
                       const Eigen::VectorXd& zi) {
    const Eigen::Index n = std::max(b.size(), a.size()) - 1;
    if (zi.size() != 0 && zi.size() != n)
        error("Initial conditions must be a vector of length max(length(a),length(b))-1 = " +
              std::to_string(std::max<Eigen::Index>(n, 0)) + ".");
    Eigen::VectorXd z = zi.size() != 0 ? zi : Eigen::VectorXd::Zero(std::max<Eigen::Index>(n, 0));
    Eigen::VectorXd y = x;
    filterInPlace(b, a, y, z);
    return y;
}

}  // namespace rt
