// Automatic axes limits from the data of an axes' children.
// Limits are the tight data range for now; rounding to "nice" values and tick placement
// belong here too once the axes renderer needs them.
#include <algorithm>
#include <cmath>
#include <limits>

#include "runtime/graphics/model.h"

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

Value limitsFrom(const Range& r) {
    if (r.empty()) return Value::row({0, 1});
    if (r.lo == r.hi) return Value::row({r.lo - 1, r.hi + 1});
    return Value::row({r.lo, r.hi});
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
    for (Handle k : ax.kids) {
        const Object& o = obj(k);
        if (o.type == ObjectType::Line || o.type == ObjectType::Patch) {
            for (double v : prop(o, "xdata").real()) x.add(v);
            for (double v : prop(o, "ydata").real()) y.add(v);
        } else if (o.type == ObjectType::Image) {
            const Value& cd = prop(o, "cdata");
            addImageEdges(x, prop(o, "xdata"), cd.ndims() >= 2 ? cd.cols() : 0);
            addImageEdges(y, prop(o, "ydata"), cd.rows());
            if (colour && prop(o, "cdatamapping").text() == "scaled" && !cd.isUInt8())
                for (double v : cd.real()) c.add(v);
        }
    }
    auto update = [&](const char* mode, const char* lim, const char* canonical, const Range& r,
                      ChangeKind kind) {
        if (prop(ax, mode).text() != "auto") return;
        const Value v = limitsFrom(r);
        if (prop(ax, lim).equals(v)) return;
        store(ax, lim, v);
        notifyChanged(axesHandle, canonical, kind);
    };
    update("xlimmode", "xlim", "XLim", x, ChangeKind::Mapping);
    update("ylimmode", "ylim", "YLim", y, ChangeKind::Mapping);
    if (colour) update("climmode", "clim", "CLim", c, ChangeKind::Data);
}

}  // namespace rt
