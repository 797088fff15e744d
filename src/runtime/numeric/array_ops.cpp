#include "runtime/numeric/array_ops.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

#include "runtime/dispatch/error.h"

namespace rt {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kEps = std::numeric_limits<double>::epsilon();

// The run-time treats any vector as one column; a matrix is worked column by column.
// These views give every reduction one code path for both.
Eigen::Index groups(const Eigen::MatrixXd& m) { return m.rows() == 1 ? 1 : m.cols(); }
Eigen::Index groupLength(const Eigen::MatrixXd& m) { return m.rows() == 1 ? m.cols() : m.rows(); }
double& groupAt(Eigen::MatrixXd& m, Eigen::Index g, Eigen::Index i) {
    return m.rows() == 1 ? m(0, i) : m(i, g);
}
double groupAt(const Eigen::MatrixXd& m, Eigen::Index g, Eigen::Index i) {
    return m.rows() == 1 ? m(0, i) : m(i, g);
}

template <class Better>
Extreme extreme(const double* p, Eigen::Index n, std::ptrdiff_t stride, Better better) {
    if (n == 0) return {kNaN, -1};
    Extreme e{kNaN, 0};
    bool found = false;
    for (Eigen::Index i = 0; i < n; ++i) {
        const double x = p[i * stride];
        if (std::isnan(x)) continue;
        if (!found || better(x, e.value)) {
            e = {x, i};
            found = true;
        }
    }
    return e;
}

template <class Better>
Extremes extremes(const Eigen::MatrixXd& m, Better better) {
    Extremes out;
    if (m.size() == 0) return out;
    const Eigen::Index g = groups(m);
    out.value.resize(g);
    out.index.resize(g);
    for (Eigen::Index c = 0; c < g; ++c) {
        const Extreme e = m.rows() == 1 ? extreme(m.data(), m.cols(), 1, better)
                                        : extreme(m.data() + c * m.rows(), m.rows(), 1, better);
        out.value(c) = e.value;
        out.index[c] = e.index;
    }
    return out;
}

template <class Pick>
Eigen::MatrixXd elementwise(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b, Pick pick,
                            const char* name) {
    auto one = [&](double x, double y) {
        if (std::isnan(x)) return y;
        if (std::isnan(y)) return x;
        return pick(x, y);
    };
    if (a.rows() == b.rows() && a.cols() == b.cols()) return a.binaryExpr(b, one);
    if (b.size() == 1) return a.unaryExpr([&](double x) { return one(x, b(0, 0)); });
    if (a.size() == 1) return b.unaryExpr([&](double y) { return one(a(0, 0), y); });
    error(std::string(name) + ": matrix dimensions must agree.");
    return {};
}

const auto greater = [](double x, double best) { return x > best; };
const auto less = [](double x, double best) { return x < best; };

template <class Fn>
Eigen::RowVectorXd reduce(const Eigen::MatrixXd& m, double ofEmpty, Fn fn) {
    if (m.rows() == 0 && m.cols() == 0) return Eigen::RowVectorXd::Constant(1, ofEmpty);
    const Eigen::Index g = groups(m), n = groupLength(m);
    Eigen::RowVectorXd out(g);
    std::vector<double> col(static_cast<std::size_t>(n));
    for (Eigen::Index c = 0; c < g; ++c) {
        for (Eigen::Index i = 0; i < n; ++i) col[i] = groupAt(m, c, i);
        out(c) = fn(col);
    }
    return out;
}

double sumOf(const std::vector<double>& v) { return std::accumulate(v.begin(), v.end(), 0.0); }
double prodOf(const std::vector<double>& v) {
    double p = 1.0;
    for (double x : v) p *= x;
    return p;
}
double meanOf(const std::vector<double>& v) {
    return v.empty() ? kNaN : sumOf(v) / static_cast<double>(v.size());
}
double stdOf(const std::vector<double>& v) {
    if (v.empty()) return kNaN;
    if (v.size() == 1) return std::isfinite(v[0]) ? 0.0 : kNaN;
    const double mu = meanOf(v);
    double ss = 0.0;
    for (double x : v) ss += (x - mu) * (x - mu);
    return std::sqrt(ss / static_cast<double>(v.size() - 1));
}

std::vector<double> asVector(const double* p, Eigen::Index n) { return {p, p + n}; }

}  // namespace

// ---- max and min ----------------------------------------------------------------------

Extreme max(const Eigen::VectorXd& v) { return extreme(v.data(), v.size(), 1, greater); }
Extreme max(const Eigen::RowVectorXd& v) { return extreme(v.data(), v.size(), 1, greater); }
Extreme min(const Eigen::VectorXd& v) { return extreme(v.data(), v.size(), 1, less); }
Extreme min(const Eigen::RowVectorXd& v) { return extreme(v.data(), v.size(), 1, less); }
Extremes max(const Eigen::MatrixXd& m) { return extremes(m, greater); }
Extremes min(const Eigen::MatrixXd& m) { return extremes(m, less); }

Eigen::MatrixXd max(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b) {
    return elementwise(
        a, b, [](double x, double y) { return y > x ? y : x; }, "max");
}
Eigen::MatrixXd min(const Eigen::MatrixXd& a, const Eigen::MatrixXd& b) {
    return elementwise(
        a, b, [](double x, double y) { return y < x ? y : x; }, "min");
}

// ---- rounding -------------------------------------------------------------------------

// std::round rounds half away from zero and, unlike floor(x + 0.5), keeps
// 0.49999999999999994 at 0.
double round(double x) { return std::round(x); }
Eigen::MatrixXd round(const Eigen::MatrixXd& m) {
    return m.unaryExpr([](double x) { return std::round(x); });
}

// ---- reductions -----------------------------------------------------------------------

double sum(const Eigen::VectorXd& v) { return sumOf(asVector(v.data(), v.size())); }
double sum(const Eigen::RowVectorXd& v) { return sumOf(asVector(v.data(), v.size())); }
Eigen::RowVectorXd sum(const Eigen::MatrixXd& m) { return reduce(m, 0.0, sumOf); }
double prod(const Eigen::VectorXd& v) { return prodOf(asVector(v.data(), v.size())); }
double prod(const Eigen::RowVectorXd& v) { return prodOf(asVector(v.data(), v.size())); }
Eigen::RowVectorXd prod(const Eigen::MatrixXd& m) { return reduce(m, 1.0, prodOf); }
double mean(const Eigen::VectorXd& v) { return meanOf(asVector(v.data(), v.size())); }
double mean(const Eigen::RowVectorXd& v) { return meanOf(asVector(v.data(), v.size())); }
Eigen::RowVectorXd mean(const Eigen::MatrixXd& m) { return reduce(m, kNaN, meanOf); }
double std(const Eigen::VectorXd& v) { return stdOf(asVector(v.data(), v.size())); }
double std(const Eigen::RowVectorXd& v) { return stdOf(asVector(v.data(), v.size())); }
Eigen::RowVectorXd std(const Eigen::MatrixXd& m) { return reduce(m, kNaN, stdOf); }

// ---- column operations ----------------------------------------------------------------

Eigen::MatrixXd cumsum(const Eigen::MatrixXd& m) {
    Eigen::MatrixXd out = m;
    for (Eigen::Index c = 0; c < groups(m); ++c)
        for (Eigen::Index i = 1; i < groupLength(m); ++i)
            groupAt(out, c, i) += groupAt(out, c, i - 1);
    return out;
}
Eigen::VectorXd cumsum(const Eigen::VectorXd& v) { return cumsum(Eigen::MatrixXd(v)); }
Eigen::RowVectorXd cumsum(const Eigen::RowVectorXd& v) { return cumsum(Eigen::MatrixXd(v)); }

Eigen::MatrixXd diff(const Eigen::MatrixXd& m) {
    if (m.rows() == 1) {
        const Eigen::Index n = std::max<Eigen::Index>(m.cols() - 1, 0);
        return n == 0 ? Eigen::MatrixXd(1, 0) : Eigen::MatrixXd(m.rightCols(n) - m.leftCols(n));
    }
    const Eigen::Index n = std::max<Eigen::Index>(m.rows() - 1, 0);
    if (n == 0) return Eigen::MatrixXd(0, m.cols());
    return m.bottomRows(n) - m.topRows(n);
}
Eigen::VectorXd diff(const Eigen::VectorXd& v) {
    if (v.size() <= 1) return Eigen::VectorXd(0);
    return v.tail(v.size() - 1) - v.head(v.size() - 1);
}
Eigen::RowVectorXd diff(const Eigen::RowVectorXd& v) {
    if (v.size() <= 1) return Eigen::RowVectorXd(0);
    return v.tail(v.size() - 1) - v.head(v.size() - 1);
}

Eigen::MatrixXd flipud(const Eigen::MatrixXd& m) { return m.colwise().reverse(); }

std::pair<Eigen::MatrixXd, Eigen::MatrixXd> meshgrid(const Eigen::VectorXd& x,
                                                     const Eigen::VectorXd& y) {
    Eigen::MatrixXd X = x.transpose().replicate(y.size(), 1);
    Eigen::MatrixXd Y = y.replicate(1, x.size());
    return {std::move(X), std::move(Y)};
}

// ---- interpolation --------------------------------------------------------------------

Eigen::VectorXd interp1(const Eigen::VectorXd& x, const Eigen::VectorXd& y,
                        const Eigen::VectorXd& xi) {
    if (x.size() != y.size()) error("interp1: x and y must have the same length.");

    std::vector<std::pair<double, double>> pts;
    pts.reserve(static_cast<std::size_t>(x.size()));
    for (Eigen::Index i = 0; i < x.size(); ++i)
        if (!std::isnan(x(i))) pts.emplace_back(x(i), y(i));
    std::stable_sort(pts.begin(), pts.end(),
                     [](const auto& p, const auto& q) { return p.first < q.first; });

    std::vector<double> xs, ys;
    for (std::size_t i = 0; i < pts.size();) {
        std::size_t j = i;
        double s = 0.0;
        while (j < pts.size() && pts[j].first == pts[i].first) s += pts[j++].second;
        xs.push_back(pts[i].first);
        ys.push_back(s / static_cast<double>(j - i));
        i = j;
    }

    Eigen::VectorXd out(xi.size());
    for (Eigen::Index k = 0; k < xi.size(); ++k) {
        const double q = xi(k);
        out(k) = kNaN;
        if (xs.empty() || std::isnan(q) || q < xs.front() || q > xs.back()) continue;
        // First abscissa >= q; the segment ends there.
        const std::size_t hi =
            static_cast<std::size_t>(std::lower_bound(xs.begin(), xs.end(), q) - xs.begin());
        if (xs[hi] == q) {
            out(k) = ys[hi];
            continue;
        }
        const std::size_t lo = hi - 1;
        const double t = (q - xs[lo]) / (xs[hi] - xs[lo]);
        out(k) = ys[lo] + t * (ys[hi] - ys[lo]);
    }
    return out;
}

// ---- ranges ---------------------------------------------------------------------------

Eigen::RowVectorXd colon(double a, double step, double b) {
    if (std::isnan(a) || std::isnan(step) || std::isnan(b) || step == 0.0 || (step > 0 && a > b) ||
        (step < 0 && a < b))
        return Eigen::RowVectorXd(0);

    // The step is usually span/n, so the quotient can miss n by an ulp or two either way:
    // it counts as whole within a few eps of the bounds' magnitude (in units of the step).
    const double q = (b - a) / step;
    const double tolq =
        4.0 * kEps * std::max({std::abs(a), std::abs(b), std::abs(b - a)}) / std::abs(step);
    const double count = std::floor(q + tolq) + 1.0;
    if (!(count <= 2147483648.0)) error("colon: the range has too many elements.");
    const Eigen::Index n = static_cast<Eigen::Index>(count);

    Eigen::RowVectorXd out(n);
    if (std::abs(q - static_cast<double>(n - 1)) > tolq) {
        for (Eigen::Index k = 0; k < n; ++k) out(k) = a + static_cast<double>(k) * step;
        return out;
    }
    // Lower half counted up from a, upper half counted back from b: both ends exact.
    const Eigen::Index half = (n + 1) / 2;
    for (Eigen::Index k = 0; k < half; ++k) out(k) = a + static_cast<double>(k) * step;
    for (Eigen::Index k = half; k < n; ++k) out(k) = b - static_cast<double>(n - 1 - k) * step;
    return out;
}

Eigen::RowVectorXd colon(double a, double b) { return colon(a, 1.0, b); }

}  // namespace rt
