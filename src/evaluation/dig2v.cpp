#include "evaluation/dig2v.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/event_loop.h"
#include "runtime/graphics/operations.h"
#include "runtime/value/eigen.h"
#include "signal/butter.h"
#include "signal/filtfilt.h"
#include "signal/waitbar.h"

namespace evaluation {

namespace {

constexpr double kEdgeShare = 0.3679;

typedef double v4d __attribute__((vector_size(32)));

// The largest |y[i+1] − y[i]| for i < n, NaN steps left out (0 when none is left), four
// steps at a time: the one pass over every sample of a pulse channel. Cloned for AVX2.
__attribute__((target_clones("avx2", "default"))) double largestStep(const double* y,
                                                                     Eigen::Index n) {
    v4d m = {0, 0, 0, 0};
    Eigen::Index i = 0;
    for (; i + 4 <= n; i += 4) {
        v4d a, b;
        std::memcpy(&a, y + i, sizeof a);
        std::memcpy(&b, y + i + 1, sizeof b);
        const v4d d = b - a, e = -d;
        // A NaN step compares false and leaves the lane as it was.
        m = d > m ? d : m;
        m = e > m ? e : m;
    }
    double top = 0;
    for (int k = 0; k < 4; ++k)
        if (m[k] > top) top = m[k];
    for (; i < n; ++i) {
        const double s = std::fabs(y[i + 1] - y[i]);
        if (s > top) top = s;
    }
    return top;
}

// The edges (0-based i: the step from sample i to i+1) whose step is more than kEdgeShare
// of the largest (NaN steps never count). One pass over the samples, read a stretch at a
// time: blocks whose largest step stays below a little less than that share of the largest
// step so far (never more than the final one) are skipped whole; the steps of the others are
// kept as candidates and tested exactly at the end.
std::vector<Eigen::Index> edges(Eigen::Index samples, const sig::SampleReader& read) {
    const Eigen::Index n = samples - 1;
    std::vector<Eigen::Index> out;
    if (n < 1) return out;
    constexpr double kLoose = 0.36;
    constexpr Eigen::Index kStretch = 32, kBlock = 512, kChunk = 64 * kBlock;
    std::vector<std::pair<Eigen::Index, double>> candidates;
    std::vector<double> y(static_cast<std::size_t>(std::min(kChunk, n) + 1));
    double top = 0, pruned = 0;
    for (Eigen::Index c = 0; c < n; c += kChunk) {
        const Eigen::Index steps = std::min(kChunk, n - c);
        read(c, steps + 1, y.data());
        for (Eigen::Index b = 0; b < steps; b += kBlock) {
            const Eigen::Index len = std::min(kBlock, steps - b);
            const double m = largestStep(y.data() + b, len);
            if (m > top) top = m;
            // A signal whose steps keep growing would keep every step: drop the outgrown.
            if (top > 4 * pruned) {
                std::erase_if(candidates, [&](const auto& e) { return e.second < kLoose * top; });
                pruned = top;
            }
            if (!(m > 0) || m < kLoose * top) continue;
            // A pulse is a few steps: only the short stretches holding one are gone through
            // step by step.
            for (Eigen::Index f = b; f < b + len; f += kStretch) {
                const Eigen::Index fl = std::min(kStretch, b + len - f);
                if (!(largestStep(y.data() + f, fl) >= kLoose * top)) continue;
                for (Eigen::Index i = f; i < f + fl; ++i) {
                    const double s = std::fabs(y[i + 1] - y[i]);
                    if (s > 0 && s >= kLoose * top) candidates.emplace_back(c + i, s);
                }
            }
        }
    }
    for (const auto& [i, s] : candidates)
        if (s / top > kEdgeShare) out.push_back(i);
    return out;
}

// Of a run of edges on consecutive steps only the last stays; then an edge goes when the
// interval to its successor is shorter than the mean interval minus three standard
// deviations (with n - 1).
std::vector<Eigen::Index> trustedEdges(std::vector<Eigen::Index> e) {
    std::vector<Eigen::Index> kept;
    for (std::size_t j = 0; j < e.size(); ++j)
        if (j + 1 == e.size() || e[j + 1] - e[j] != 1) kept.push_back(e[j]);
    if (kept.size() < 2) return kept;
    const std::size_t m = kept.size() - 1;
    double mean = 0;
    for (std::size_t j = 0; j < m; ++j) mean += static_cast<double>(kept[j + 1] - kept[j]);
    mean /= static_cast<double>(m);
    double var = 0;
    for (std::size_t j = 0; j < m; ++j) {
        const double dev = static_cast<double>(kept[j + 1] - kept[j]) - mean;
        var += dev * dev;
    }
    const double sd = m > 1 ? std::sqrt(var / static_cast<double>(m - 1)) : 0;
    std::vector<Eigen::Index> out;
    for (std::size_t j = 0; j < kept.size(); ++j)
        if (j == m || !(static_cast<double>(kept[j + 1] - kept[j]) < mean - 3 * sd))
            out.push_back(kept[j]);
    return out;
}

// Keeps the elements whose flag is set, in order.
void keep(PulseSeries& s, const std::vector<bool>& flag) {
    Eigen::Index k = 0;
    for (Eigen::Index i = 0; i < s.v.size(); ++i)
        if (flag[static_cast<std::size_t>(i)]) {
            s.t(k) = s.t(i);
            s.v(k) = s.v(i);
            ++k;
        }
    s.t.conservativeResize(k);
    s.v.conservativeResize(k);
}

}  // namespace

namespace {

// `shape`: the message that the channel's shape calls for, raised once the window is open.
PulseSeries convert(Eigen::Index samples, const sig::SampleReader& read, const char* shape,
                    double FS, double u, double W, const Dig2vTexts& texts) {
    const rt::Handle bar = sig::waitbar(
        0, rt::Value(texts.wait),
        {rt::Value("NumberTitle"), rt::Value("off"), rt::Value("Name"), rt::Value(texts.wb_sdiag)});
    rt::drawnow();
    if (shape) rt::error(shape);
    const std::vector<Eigen::Index> all = edges(samples, read);
    sig::waitbar(0.45, bar);

    const std::vector<Eigen::Index> e = trustedEdges(all);
    sig::waitbar(0.48, bar);

    PulseSeries s;
    const Eigen::Index n = std::max<Eigen::Index>(0, static_cast<Eigen::Index>(e.size()) - 1);
    s.t.resize(n);
    s.v.resize(n);
    for (Eigen::Index j = 0; j < n; ++j) {
        const double t0 = static_cast<double>(e[j]) / FS, t1 = static_cast<double>(e[j + 1]) / FS;
        const double dt = t1 - t0;
        s.v(j) = u / dt / W;
        s.t(j) = t0 + dt;
    }
    // 83.33 m/s (300 km/h) bounds a speed; pulses counted per revolution (the ignition clamp)
    // reach 500 per second (30,000 1/min).
    const double ceiling = u == 1 && W == 1 ? 500 : 300 / 3.6;
    std::vector<bool> flag(static_cast<std::size_t>(n));
    for (Eigen::Index j = 0; j < n; ++j) flag[static_cast<std::size_t>(j)] = !(s.v(j) > ceiling);
    keep(s, flag);
    sig::waitbar(0.73, bar);

    const rt::TransferFunction lp = sig::butter(3, Eigen::VectorXd::Constant(1, 0.25));
    const Eigen::MatrixXd V = sig::filtfilt(lp.num.transpose(), lp.den.transpose(), s.v);
    flag.assign(static_cast<std::size_t>(s.v.size()), true);
    for (Eigen::Index j = 0; j < s.v.size(); ++j) {
        // One sample of timing jitter moves a value by v²·W/(u·FS); at high pulse rates that
        // alone exceeds 0.1, so the outlier bound grows with it.
        const double jitter = s.v(j) * s.v(j) * W / (u * FS);
        flag[static_cast<std::size_t>(j)] = !(V(j) - s.v(j) < -std::max(0.1, 2 * jitter));
    }
    keep(s, flag);
    sig::waitbar(0.99, bar);

    rt::close({rt::Value(bar)});
    return s;
}

}  // namespace

PulseSeries dig2v(const Eigen::Ref<const Eigen::MatrixXd>& Y, double FS, double u, double W,
                  const Dig2vTexts& texts) {
    if (Y.cols() == 2)
        return convert(
            Y.rows(),
            [&](Eigen::Index first, Eigen::Index count, double* out) {
                for (Eigen::Index i = 0; i < count; ++i)
                    out[i] = (Y(first + i, 0) + Y(first + i, 1)) / 2;
            },
            nullptr, FS, u, W, texts);
    if (Y.cols() == 1 || Y.rows() == 1) {
        const bool row = Y.cols() != 1;
        return convert(
            row ? Y.cols() : Y.rows(),
            [&](Eigen::Index first, Eigen::Index count, double* out) {
                for (Eigen::Index i = 0; i < count; ++i)
                    out[i] = row ? Y(0, first + i) : Y(first + i, 0);
            },
            nullptr, FS, u, W, texts);
    }
    return convert(0, {}, "The recording must have one or two channels.", FS, u, W, texts);
}

PulseSeries dig2v(Eigen::Index samples, const sig::SampleReader& read, double FS, double u,
                  double W, const Dig2vTexts& texts) {
    return convert(samples, read, nullptr, FS, u, W, texts);
}

void register_dig2v(rt::FunctionTable& table) {
    table.add("dig2v", 5, 2, [](const rt::Values& in, int) -> rt::Values {
        if (in.size() < 5) rt::error("Not enough input arguments.");
        const rt::Value& st = in[4];
        const Dig2vTexts texts{st.field("wait").text16(), st.field("wb_sdiag").text16()};
        PulseSeries r =
            dig2v(*rt::MatrixView(in[0]), in[1].scalar(), in[2].scalar(), in[3].scalar(), texts);
        return {rt::fromMatrix(r.t), rt::fromMatrix(r.v)};
    });
}

}  // namespace evaluation
