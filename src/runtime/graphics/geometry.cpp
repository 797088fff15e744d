// Where objects lie in pixels, data-to-pixel mapping, text extents and paper sizes.
#include <algorithm>
#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/text_layout.h"

namespace rt {

namespace {

Rect rectOf(const Value& v) {
    const auto d = v.real();
    return {d[0], d[1], d[2], d[3]};
}

}  // namespace

std::array<double, 2> paperSizeInches(const std::string& type, const std::string& orientation) {
    static const struct {
        const char* name;
        double w, h;  // inches
    } sizes[] = {{"usletter", 8.5, 11},
                 {"uslegal", 8.5, 14},
                 {"tabloid", 11, 17},
                 {"ledger", 17, 11},
                 {"executive", 7.25, 10.5},
                 {"a0", 84.1 / 2.54, 118.9 / 2.54},
                 {"a1", 59.4 / 2.54, 84.1 / 2.54},
                 {"a2", 42.0 / 2.54, 59.4 / 2.54},
                 {"a3", 29.7 / 2.54, 42.0 / 2.54},
                 {"a4", 21.0 / 2.54, 29.7 / 2.54},
                 {"a5", 14.8 / 2.54, 21.0 / 2.54},
                 {"b4", 25.0 / 2.54, 35.3 / 2.54},
                 {"b5", 17.6 / 2.54, 25.0 / 2.54},
                 {"a4letter", 21.0 / 2.54, 11}};
    std::array<double, 2> s{8.5, 11};
    for (const auto& e : sizes)
        if (type == e.name) s = {e.w, e.h};
    if (orientation == "landscape") std::swap(s[0], s[1]);
    return s;
}

std::array<double, 2> GraphicsModel::parentPixelSize(const Object& o) const {
    if (o.type == ObjectType::Figure || o.type == ObjectType::Root)
        return {screen().width, screen().height};
    const Rect p = pixelRect(obj(o.parent));
    return {p[2], p[3]};
}

Rect GraphicsModel::pixelRect(const Object& o) const {
    switch (o.type) {
        case ObjectType::Root:
            return {0, 0, screen().width, screen().height};
        case ObjectType::Figure:
        case ObjectType::Axes:
        case ObjectType::UIControl: {
            const auto ps = parentPixelSize(o);
            return rectToPixels(rectOf(prop(o, "position")), unitFromName(prop(o, "units").text()),
                                ps[0], ps[1], screen().pixelsPerInch);
        }
        case ObjectType::Text: {
            const auto p = textPositionPixels(o);
            return {p[0], p[1], 0, 0};
        }
        default: {
            // Lines, patches and images fill their axes.
            const auto ps = parentPixelSize(o);
            return {0, 0, ps[0], ps[1]};
        }
    }
}

bool GraphicsModel::outOfSight(const Object& ax) const {
    const Rect a = pixelRect(ax);
    const auto f = parentPixelSize(ax);
    return a[0] + a[2] <= 0 || a[1] + a[3] <= 0 || a[0] >= f[0] || a[1] >= f[1];
}

void GraphicsModel::setPixelRect(Object& o, const Rect& px) {
    if (o.type != ObjectType::Figure && o.type != ObjectType::Axes &&
        o.type != ObjectType::UIControl)
        throw Error(std::string("A ") + typeName(o.type) + " has no pixel position to set.");
    const auto ps = parentPixelSize(o);
    const Rect r = rectFromPixels(px, unitFromName(prop(o, "units").text()), ps[0], ps[1],
                                  screen().pixelsPerInch);
    set(o.handle, "Position", Value::row({r[0], r[1], r[2], r[3]}), true);
}

std::array<double, 2> GraphicsModel::dataToPixels(const Object& ax, double x, double y) const {
    settleLimits(ax);
    const Rect r = pixelRect(ax);
    const auto xl = prop(ax, "xlim").real();
    const auto yl = prop(ax, "ylim").real();
    double fx = (x - xl[0]) / (xl[1] - xl[0]);
    double fy = (y - yl[0]) / (yl[1] - yl[0]);
    if (prop(ax, "xdir").text() == "reverse") fx = 1 - fx;
    if (prop(ax, "ydir").text() == "reverse") fy = 1 - fy;
    return {fx * r[2], fy * r[3]};
}

std::array<double, 2> GraphicsModel::pixelsToData(const Object& ax, double px, double py) const {
    settleLimits(ax);
    const Rect r = pixelRect(ax);
    const auto xl = prop(ax, "xlim").real();
    const auto yl = prop(ax, "ylim").real();
    double fx = r[2] != 0 ? px / r[2] : 0;
    double fy = r[3] != 0 ? py / r[3] : 0;
    if (prop(ax, "xdir").text() == "reverse") fx = 1 - fx;
    if (prop(ax, "ydir").text() == "reverse") fy = 1 - fy;
    return {xl[0] + fx * (xl[1] - xl[0]), yl[0] + fy * (yl[1] - yl[0])};
}

namespace {

// Which of the axes' labels `t` is: 0 title, 1 x label, 2 y label; -1 for other texts.
int labelIndex(const Object& ax, Handle t) {
    for (int k = 0; k < 3; ++k)
        if (ax.labels[static_cast<std::size_t>(k)] == t) return k;
    return -1;
}

}  // namespace

Rect GraphicsModel::textPositionPixels(const Object& t) const {
    const Object& ax = obj(t.parent);
    if (t.autoPosition) {
        // Title above the box, x label below the tick labels, y label left of them.
        const Rect a = pixelRect(ax);
        const double em = lengthToPixels(prop(ax, "fontsize").scalar(),
                                         unitFromName(prop(ax, "fontunits").text()), a[3],
                                         screen().pixelsPerInch);
        switch (labelIndex(ax, t.handle)) {
            case 0:
                return {a[2] / 2, a[3] + 0.5 * em, 0, 0};
            case 1:
                return {a[2] / 2, -1.6 * em, 0, 0};
            case 2:
                return {-3.5 * em, a[3] / 2, 0, 0};
            default:
                break;
        }
    }
    const auto pos = prop(t, "position").real();
    const Unit u = unitFromName(prop(t, "units").text());
    if (u == Unit::Data) {
        const auto p = dataToPixels(ax, pos[0], pos[1]);
        return {p[0], p[1], 0, 0};
    }
    const Rect a = pixelRect(ax);
    const Rect p = rectToPixels({pos[0], pos[1], 0, 0}, u, a[2], a[3], screen().pixelsPerInch);
    return {p[0], p[1], 0, 0};
}

Value GraphicsModel::textPosition(const Object& t) const {
    const Value stored = prop(t, "position");
    if (!t.autoPosition) return stored;
    const auto px = textPositionPixels(t);
    const Object& ax = obj(t.parent);
    const Unit u = unitFromName(prop(t, "units").text());
    if (u == Unit::Data) {
        const auto d = pixelsToData(ax, px[0], px[1]);
        return Value::row({d[0], d[1], 0});
    }
    const Rect a = pixelRect(ax);
    const Rect r = rectFromPixels({px[0], px[1], 0, 0}, u, a[2], a[3], screen().pixelsPerInch);
    return Value::row({r[0], r[1], 0});
}

Value GraphicsModel::textExtent(const Object& o) const {
    if (o.type != ObjectType::Text && o.type != ObjectType::UIControl)
        throw Error(std::string("A ") + typeName(o.type) + " has no Extent.");
    FontSpec style;
    style.name = prop(o, "fontname").text();
    const Unit fu = unitFromName(prop(o, "fontunits").text());
    const double heightRef = o.type == ObjectType::UIControl ? pixelRect(o)[3] : 0;
    const double sizePx =
        lengthToPixels(prop(o, "fontsize").scalar(), fu, heightRef, screen().pixelsPerInch);
    style.points = sizePx * 72.0 / screen().pixelsPerInch;
    style.bold = prop(o, "fontweight").text() == "bold";
    style.italic = prop(o, "fontangle").text() != "normal";
    std::vector<std::u16string> lines = textLines(prop(o, "string"));
    // An empty String still stands one line high.
    if (lines.empty()) lines.emplace_back();
    const LineMeasure measure = hostLineMeasure(style, screen().pixelsPerInch);
    if (o.type == ObjectType::UIControl) {
        const TextBlock b = layoutText(lines, HAlign::Left, VAlign::Top, 0, measure);
        const Unit u = unitFromName(prop(o, "units").text());
        const auto ps = parentPixelSize(o);
        const Rect r =
            rectFromPixels({0, 0, b.width, b.height}, u, ps[0], ps[1], screen().pixelsPerInch);
        return Value::row({0, 0, r[2], r[3]});
    }
    const TextBlock b = layoutText(lines, hAlignFromName(prop(o, "horizontalalignment").text()),
                                   vAlignFromName(prop(o, "verticalalignment").text()),
                                   prop(o, "rotation").scalar(), measure);
    const auto at = textPositionPixels(o);
    const double left = at[0] + b.boxLeft, bottom = at[1] + b.boxBottom;
    const Object& ax = obj(o.parent);
    const Unit u = unitFromName(prop(o, "units").text());
    if (u == Unit::Data) {
        const auto p0 = pixelsToData(ax, left, bottom);
        const auto p1 = pixelsToData(ax, left + b.boxWidth, bottom + b.boxHeight);
        return Value::row({std::min(p0[0], p1[0]), std::min(p0[1], p1[1]), std::fabs(p1[0] - p0[0]),
                           std::fabs(p1[1] - p0[1])});
    }
    const Rect a = pixelRect(ax);
    const Rect r = rectFromPixels({left, bottom, b.boxWidth, b.boxHeight}, u, a[2], a[3],
                                  screen().pixelsPerInch);
    return Value::row({r[0], r[1], r[2], r[3]});
}

}  // namespace rt
