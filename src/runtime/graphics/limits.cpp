// Automatic axes limits from the data of an axes' children, and automatic ticks.
// Line and patch data get limits widened to whole tick steps; an image keeps its edges so the
// picture fills the axes. A 1:1 data aspect widens the automatic limits of the axis that has
// room, centred, so the limits read back describe what is drawn inside Position.
#include <algorithm>
#include <cmath>
#include <limits>

#include "runtime/graphics/model.h"
#include "runtime/graphics/ticks.h"

namespace rt {

namespace {

struct Range {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    void add(double v) {
        if (!std::isfinite(v)) return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    bool empty() const { return lo > hi; }
};

// The pixel centres of an image span XData; its edges lie half a pixel further out.
void addImageEdges(Range& r, const Value& data, std::size_t n) {
    const auto d = data.real();
    if (d.empty() || n == 0) return;
    const double a = d.front(), b = d.back();
    const double half = n > 1 ? (b - a) / double(n - 1) / 2 : 0.5;
    r.add(std::min(a, b) - std::fabs(half));
    r.add(std::max(a, b) + std::fabs(half));
}

std::array<double, 2> limitsFrom(const Range& r, bool nice, double pixels) {
    if (r.empty()) return {0, 1};
    if (nice) {
        const TickSet t = niceTicks(r.lo, r.hi, tickCountFor(pixels));
        return {t.lo, t.hi};
    }
    if (r.lo == r.hi) return {r.lo - 1, r.hi + 1};
    return {r.lo, r.hi};
}

// Widens `lim` about its centre to span `span`.
void widenTo(std::array<double, 2>& lim, double span) {
    const double c = (lim[0] + lim[1]) / 2;
    lim = {c - span / 2, c + span / 2};
}

std::array<double, 2> limitsOf(const Value& v) {
    const auto d = v.real();
    return {d[0], d[1]};
}

}  // namespace

void GraphicsModel::updateAutoLimits(Handle axesHandle, bool colour) {
    auto it = objects.find(axesHandle);
    if (it == objects.end() || it->second.type != ObjectType::Axes) return;
    Object& ax = it->second;
    colour = colour && prop(ax, "climmode").text() == "auto";
    if (prop(ax, "xlimmode").text() != "auto" && prop(ax, "ylimmode").text() != "auto" && !colour)
        return;
    Range x, y, c;
    bool image = false;
    for (Handle k : ax.kids) {
        const Object& o = obj(k);
        if (o.type == ObjectType::Line || o.type == ObjectType::Patch) {
            for (double v : prop(o, "xdata").real()) x.add(v);
            for (double v : prop(o, "ydata").real()) y.add(v);
        } else if (o.type == ObjectType::Image) {
            image = true;
            const Value& cd = prop(o, "cdata");
            addImageEdges(x, prop(o, "xdata"), cd.ndims() >= 2 ? cd.cols() : 0);
            addImageEdges(y, prop(o, "ydata"), cd.rows());
            if (colour && prop(o, "cdatamapping").text() == "scaled" && !cd.isUInt8())
                for (double v : cd.real()) c.add(v);
        }
    }
    const bool xAuto = prop(ax, "xlimmode").text() == "auto";
    const bool yAuto = prop(ax, "ylimmode").text() == "auto";
    const Rect px = pixelRect(ax);
    auto xl = xAuto ? limitsFrom(x, !image, px[2]) : limitsOf(prop(ax, "xlim"));
    auto yl = yAuto ? limitsFrom(y, !image, px[3]) : limitsOf(prop(ax, "ylim"));
    if (prop(ax, "dataaspectratiomode").text() == "manual" && px[2] > 0 && px[3] > 0) {
        const auto dar = prop(ax, "dataaspectratio").real();
        if (dar.size() >= 2 && dar[0] > 0 && dar[1] > 0) {
            // Aspect units per pixel along each axis; the axis with fewer gets more range.
            const double ux = (xl[1] - xl[0]) / dar[0] / px[2];
            const double uy = (yl[1] - yl[0]) / dar[1] / px[3];
            if (ux > uy && yAuto) widenTo(yl, ux * dar[1] * px[3]);
            if (uy > ux && xAuto) widenTo(xl, uy * dar[0] * px[2]);
        }
    }
    auto update = [&](bool isAuto, const char* lim, const char* canonical,
                      const std::array<double, 2>& l, ChangeKind kind) {
        if (!isAuto) return;
        const Value v = Value::row({l[0], l[1]});
        if (prop(ax, lim).equals(v)) return;
        store(ax, lim, v);
        notifyChanged(axesHandle, canonical, kind);
    };
    update(xAuto, "xlim", "XLim", xl, ChangeKind::Mapping);
    update(yAuto, "ylim", "YLim", yl, ChangeKind::Mapping);
    if (colour) update(true, "clim", "CLim", limitsFrom(c, false, 0), ChangeKind::Data);
}

Value GraphicsModel::autoTicks(const Object& ax, bool xAxis) const {
    const auto lim = prop(ax, xAxis ? "xlim" : "ylim").real();
    const Rect px = pixelRect(ax);
    const TickSet t = niceTicks(lim[0], lim[1], tickCountFor(xAxis ? px[2] : px[3]));
    return t.ticks.empty() ? Value() : Value::row(t.ticks);
}

}  // namespace rt
