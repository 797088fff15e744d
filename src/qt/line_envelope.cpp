#include "qt/line_envelope.h"

#include <cmath>
#include <limits>
#include <utility>

#include "qt/axes_painter.h"

namespace rt {

LineSummary summarize(const double* x, const double* y, std::size_t n) {
    LineSummary s;
    s.blocks.reserve(n / LineSummary::kBlock + 1);
    for (std::size_t b = 0; b < n; b += LineSummary::kBlock) {
        const std::size_t e = std::min(n, b + LineSummary::kBlock);
        LineSummary::Block k{true, b, b};
        bool up = true, down = true;
        for (std::size_t i = b; i < e; ++i) {
            if (!std::isfinite(x[i]) || !std::isfinite(y[i])) {
                k.plain = false;
                break;
            }
            if (i > b) {
                up = up && x[i] >= x[i - 1];
                down = down && x[i] <= x[i - 1];
            }
            if (y[i] < y[k.lo]) k.lo = i;
            if (y[i] > y[k.hi]) k.hi = i;
        }
        k.plain = k.plain && (up || down);
        s.blocks.push_back(k);
    }
    return s;
}

namespace {

// Builds the runs: points go into the open pixel column, or close it and open the next.
class Envelope {
public:
    Envelope(const AxisMap& m, const double* x, const double* y)
        : m_(m), l_(m.linear()), x_(x), y_(y), left_(m.box.left - 2), right_(m.box.right() + 2) {}

    PointF at(std::size_t i) const {
        return {l_.xBase + (x_[i] - m_.xlim[0]) * l_.xScale,
                l_.yBase + (y_[i] - m_.ylim[0]) * l_.yScale};
    }
    // Beyond the box on either side all points are one column: clipped away but for their
    // links into the box.
    double keyOf(const PointF& p) const {
        const double inf = std::numeric_limits<double>::infinity();
        if (p.x < left_) return -inf;
        if (p.x > right_) return inf;
        // floor without a library call (this runs once a point)
        const double t = static_cast<double>(static_cast<long long>(p.x));
        return t > p.x ? t - 1 : t;
    }

    void gap() {
        flush();
        inRun_ = false;
    }

    void point(std::size_t i) {
        if (!std::isfinite(x_[i]) || !std::isfinite(y_[i])) return gap();
        const PointF p = at(i);
        take(keyOf(p), 1, i, p, i, p, i, p, i, p);
    }

    // Points first..last (finite, x monotonic) that fall into one column; lo and hi hold the
    // least and greatest y among them.
    bool block(std::size_t first, std::size_t lo, std::size_t hi, std::size_t last) {
        if (last - first < kFew) return false;  // few points are kept one by one
        const PointF a = at(first), b = at(last);
        const double key = keyOf(a);
        if (keyOf(b) != key) return false;
        take(key, last - first + 1, first, a, lo, at(lo), hi, at(hi), last, b);
        return true;
    }

    std::vector<std::vector<PointF>> finish() {
        flush();
        return std::move(out_);
    }

private:
    void take(double key, std::size_t count, std::size_t i0, const PointF& p0, std::size_t i1,
              const PointF& p1, std::size_t i2, const PointF& p2, std::size_t i3,
              const PointF& p3) {
        if (!inRun_) {
            out_.emplace_back();
            inRun_ = true;
        }
        if (!open_ || key != key_) {
            flush();
            open_ = true;
            key_ = key;
            count_ = 0;
            i_[0] = i0, p_[0] = p0;
            i_[1] = i_[2] = i0, p_[1] = p_[2] = p0;
        }
        if (count == 1 && count_ < kFew) few_[count_] = p0;
        count_ += count;
        // Canvas y grows downwards; either end of the column's range will do.
        if (p1.y < p_[1].y) i_[1] = i1, p_[1] = p1;
        if (p1.y > p_[2].y) i_[2] = i1, p_[2] = p1;
        if (p2.y < p_[1].y) i_[1] = i2, p_[1] = p2;
        if (p2.y > p_[2].y) i_[2] = i2, p_[2] = p2;
        i_[3] = i3, p_[3] = p3;
    }

    void flush() {
        if (!open_) return;
        open_ = false;
        auto& run = out_.back();
        // A few points are drawn as they are; a dense column only shows its range.
        if (count_ <= kFew) {
            run.insert(run.end(), few_, few_ + count_);
            return;
        }
        run.push_back(p_[0]);
        int a = 1, b = 2;
        if (i_[a] > i_[b]) std::swap(a, b);
        for (int k : {a, b}) {
            if (i_[k] == i_[0] || i_[k] == i_[3] || (k == b && i_[a] == i_[b])) continue;
            // A stroke down the column's middle covers it as the zigzag it stands for does.
            run.push_back({std::isfinite(key_) ? key_ + 0.5 : p_[k].x, p_[k].y});
        }
        run.push_back(p_[3]);
    }

    const AxisMap& m_;
    const AxisMap::Linear l_;
    const double *x_, *y_;
    const double left_, right_;
    std::vector<std::vector<PointF>> out_;
    static constexpr std::size_t kFew = 4;
    bool open_ = false, inRun_ = false;
    double key_ = 0;
    std::size_t count_ = 0;            // points in the open column
    PointF few_[kFew];                 // the first of them
    std::size_t i_[4] = {0, 0, 0, 0};  // first, lowest on the canvas, highest, last
    PointF p_[4];
};

}  // namespace

std::vector<std::vector<PointF>> lineRuns(const AxisMap& m, const double* x, const double* y,
                                          std::size_t n, const LineSummary* summary) {
    Envelope env(m, x, y);
    if (!summary || summary->blocks.size() != (n + LineSummary::kBlock - 1) / LineSummary::kBlock) {
        for (std::size_t i = 0; i < n; ++i) env.point(i);
        return env.finish();
    }
    for (std::size_t b = 0; b < summary->blocks.size(); ++b) {
        const LineSummary::Block& k = summary->blocks[b];
        const std::size_t first = b * LineSummary::kBlock;
        const std::size_t last = std::min(n, first + LineSummary::kBlock) - 1;
        if (k.plain && env.block(first, k.lo, k.hi, last)) continue;
        for (std::size_t i = first; i <= last; ++i) env.point(i);
    }
    return env.finish();
}

}  // namespace rt
