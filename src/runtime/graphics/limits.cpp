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

using Range = DataExtent::Range;

// The pixel centres of an image span XData; its edges lie half a pixel further out.
void addImageEdges(Range& r, const Value& data, std::size_t n) {
    if (data.isEmpty() || n == 0) return;
    const double a = data.at(0), b = data.at(data.numel() - 1);
    const double half = n > 1 ? (b - a) / double(n - 1) / 2 : 0.5;
    r.add(std::min(a, b) - std::fabs(half));
    r.add(std::max(a, b) + std::fabs(half));
}

void addAll(Range& r, const Value& v) {
    if (v.isDouble()) {
        for (double d : v.re()) r.add(d);
    } else {
        for (double d : v.real()) r.add(d);
    }
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

const DataExtent& GraphicsModel::extentOf(Object& o, bool colour) {
    DataExtent& e = o.extent;
    if (!e.xyKnown) {
        e.x = e.y = Range{};
        if (o.type == ObjectType::Image) {
            const Value& cd = prop(o, "cdata");
            addImageEdges(e.x, prop(o, "xdata"), cd.ndims() >= 2 ? cd.cols() : 0);
            addImageEdges(e.y, prop(o, "ydata"), cd.rows());
        } else {
            addAll(e.x, prop(o, "xdata"));
            addAll(e.y, prop(o, "ydata"));
        }
        e.xyKnown = true;
    }
    if (colour && !e.cKnown && o.type == ObjectType::Image) {
        e.c = Range{};
        const Value& cd = prop(o, "cdata");
        if (prop(o, "cdatamapping").text() == "scaled" && !cd.isUInt8()) addAll(e.c, cd);
        e.cKnown = true;
    }
    return e;
}

void GraphicsModel::updateAutoLimits(Handle axesHandle, bool colour) {
    auto it = objects.find(axesHandle);
    if (it == objects.end() || it->second.type != ObjectType::Axes) return;
    Object& ax = it->second;
    if (outOfSight(ax)) {
        ax.limitsOwed = true;
        ax.colourOwed = ax.colourOwed || colour;
        return;
    }
    colour = colour || ax.colourOwed;
    ax.limitsOwed = ax.colourOwed = false;
    applyAutoLimits(ax, colour, true);
}

void GraphicsModel::settleLimits(const Object& ax) const {
    if (!ax.limitsOwed) return;
    // Reading is const to callers; the owed limits are a cache of what the data ask for.
    auto& self = const_cast<GraphicsModel&>(*this);
    Object& o = self.obj(ax.handle);
    const bool colour = o.colourOwed;
    o.limitsOwed = o.colourOwed = false;
    self.applyAutoLimits(o, colour, false);
}

void GraphicsModel::applyAutoLimits(Object& ax, bool colour, bool notify) {
    colour = colour && prop(ax, "climmode").text() == "auto";
    const bool xAuto = prop(ax, "xlimmode").text() == "auto";
    const bool yAuto = prop(ax, "ylimmode").text() == "auto";
    if (!xAuto && !yAuto && !colour) return;
    Range x, y, c;
    bool image = false;
    for (Handle k : ax.kids) {
        Object& o = obj(k);
        if (o.type != ObjectType::Line && o.type != ObjectType::Patch &&
            o.type != ObjectType::Image)
            continue;
        image = image || o.type == ObjectType::Image;
        const DataExtent& e = extentOf(o, colour);
        x.add(e.x);
        y.add(e.y);
        if (colour && o.type == ObjectType::Image) c.add(e.c);
    }
    const Rect4 px = pixelRect(ax);
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
        if (notify) notifyChanged(ax.handle, canonical, kind);
    };
    update(xAuto, "xlim", "XLim", xl, ChangeKind::Mapping);
    update(yAuto, "ylim", "YLim", yl, ChangeKind::Mapping);
    if (colour) update(true, "clim", "CLim", limitsFrom(c, false, 0), ChangeKind::Data);
}

Value GraphicsModel::autoTicks(const Object& ax, bool xAxis) const {
    settleLimits(ax);
    const auto lim = prop(ax, xAxis ? "xlim" : "ylim").real();
    const Rect4 px = pixelRect(ax);
    const TickSet t = niceTicks(lim[0], lim[1], tickCountFor(xAxis ? px[2] : px[3]));
    return t.ticks.empty() ? Value() : Value::row(t.ticks);
}

}  // namespace rt
