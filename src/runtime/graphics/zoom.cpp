#include "runtime/graphics/zoom.h"

#include <algorithm>
#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace rt {

namespace {

const char* const kZoomState = "ZoomState";  // figure: "on" / "off"
const char* const kZoomHome = "ZoomHome";    // axes: [x1 x2 y1 y2] before the first zoom

void remember_home(Graphics& g, Handle ax) {
    if (!g.getAppData(ax, kZoomHome).isEmpty()) return;
    const auto x = g.get(ax, "XLim").real();
    const auto y = g.get(ax, "YLim").real();
    g.setAppData(ax, kZoomHome, Value::row({x[0], x[1], y[0], y[1]}));
}

void set_limits(Graphics& g, Handle ax, double x1, double x2, double y1, double y2) {
    if (!(x2 > x1) || !(y2 > y1) || !std::isfinite(x2 - x1) || !std::isfinite(y2 - y1)) return;
    g.set(ax, {Value("XLim"), Value::row({x1, x2}), Value("YLim"), Value::row({y1, y2})});
}

void check_axes(Graphics& g, Handle ax) {
    if (g.type(ax) != ObjectType::Axes) throw Error("zoom: the handle is not an axes.");
}

}  // namespace

void zoom(const Values& args) {
    Graphics& g = graphics();
    Handle fig = 0;
    std::string mode;
    for (const Value& a : args) {
        if (a.isChar())
            mode = a.text();
        else
            fig = a.scalar();
    }
    if (fig == 0) fig = gcf();
    if (!g.isValid(fig) || g.type(fig) != ObjectType::Figure)
        throw Error("zoom: the handle is not a figure.");
    if (mode.empty()) mode = zoomIsOn(fig) ? "off" : "on";
    if (mode != "on" && mode != "off") throw Error("zoom: use 'on' or 'off'.");
    g.setAppData(fig, kZoomState, Value(mode));
}

bool zoomIsOn(Handle figure) {
    const Value v = graphics().getAppData(figure, kZoomState);
    return v.isChar() && v.text() == "on";
}

void zoomToRect(Handle ax, double x1, double y1, double x2, double y2) {
    Graphics& g = graphics();
    check_axes(g, ax);
    remember_home(g, ax);
    set_limits(g, ax, std::min(x1, x2), std::max(x1, x2), std::min(y1, y2), std::max(y1, y2));
}

void zoomIn(Handle ax, double x, double y, double factor) {
    Graphics& g = graphics();
    check_axes(g, ax);
    remember_home(g, ax);
    const auto xl = g.get(ax, "XLim").real();
    const auto yl = g.get(ax, "YLim").real();
    const double hw = (xl[1] - xl[0]) / (2 * factor), hh = (yl[1] - yl[0]) / (2 * factor);
    set_limits(g, ax, x - hw, x + hw, y - hh, y + hh);
}

void zoomReset(Handle ax) {
    Graphics& g = graphics();
    check_axes(g, ax);
    const auto home = g.getAppData(ax, kZoomHome).real();
    if (home.size() != 4) return;
    set_limits(g, ax, home[0], home[1], home[2], home[3]);
    g.setAppData(ax, kZoomHome, Value());
}

}  // namespace rt
