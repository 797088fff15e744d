#include "runtime/graphics/property_hooks.h"

#include <algorithm>
#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace rt::hooks {

namespace {

Rect4 rectOf(const Value& v) {
    const auto d = v.real();
    return {d[0], d[1], d[2], d[3]};
}

Value rowOf(const Rect4& r) { return Value::row({r[0], r[1], r[2], r[3]}); }

bool drawsData(ObjectType t) {
    return t == ObjectType::Line || t == ObjectType::Patch || t == ObjectType::Image;
}

}  // namespace

// ---------------------------------------------------------------- reading

Value type(const GraphicsModel&, const Object& o) { return Value(typeName(o.type)); }

Value children(const GraphicsModel& m, const Object& o) {
    const bool showHidden = m.prop(m.obj(0), "showhiddenhandles").text() == "on";
    std::vector<double> v;
    for (auto it = o.kids.rbegin(); it != o.kids.rend(); ++it)
        if (showHidden || m.prop(m.obj(*it), "handlevisibility").text() != "off") v.push_back(*it);
    return v.empty() ? Value::empty(0, 1) : Value::column(v);
}

Value parent(const GraphicsModel&, const Object& o) {
    return o.handle == 0 ? Value() : Value(o.parent);
}

Value currentFigure(const GraphicsModel& m, const Object&) {
    const Handle f = m.currentFigure();
    return f == 0 ? Value() : Value(f);
}

Value screenPixelsPerInch(const GraphicsModel& m, const Object&) {
    return Value(m.screen().pixelsPerInch);
}

Value screenSize(const GraphicsModel& m, const Object& o) {
    const ScreenInfo s = m.screen();
    const Unit u = unitFromName(m.prop(o, "units").text());
    return rowOf(rectFromPixels({0, 0, s.width, s.height}, u, s.width, s.height, s.pixelsPerInch));
}

Value title(const GraphicsModel&, const Object& o) { return Value(o.labels[0]); }
Value xLabel(const GraphicsModel&, const Object& o) { return Value(o.labels[1]); }
Value yLabel(const GraphicsModel&, const Object& o) { return Value(o.labels[2]); }

// Computed on reading, so they always match the current limits and size.
Value xTick(const GraphicsModel& m, const Object& o) {
    return m.prop(o, "xtickmode").text() == "auto" ? m.autoTicks(o, true) : m.prop(o, "xtick");
}

Value yTick(const GraphicsModel& m, const Object& o) {
    return m.prop(o, "ytickmode").text() == "auto" ? m.autoTicks(o, false) : m.prop(o, "ytick");
}

Value xLim(const GraphicsModel& m, const Object& o) {
    m.settleLimits(o);
    return m.prop(o, "xlim");
}

Value yLim(const GraphicsModel& m, const Object& o) {
    m.settleLimits(o);
    return m.prop(o, "ylim");
}

Value cLim(const GraphicsModel& m, const Object& o) {
    m.settleLimits(o);
    return m.prop(o, "clim");
}

Value extent(const GraphicsModel& m, const Object& o) { return m.textExtent(o); }

Value textPosition(const GraphicsModel& m, const Object& o) { return m.textPosition(o); }

Value paperSize(const GraphicsModel& m, const Object& o) {
    const auto in =
        paperSizeInches(m.prop(o, "papertype").text(), m.prop(o, "paperorientation").text());
    const Unit u = unitFromName(m.prop(o, "paperunits").text());
    if (u == Unit::Normalized) return Value::row({1, 1});
    return Value::row({paperFromInches(in[0], u, in[0]), paperFromInches(in[1], u, in[1])});
}

// ---------------------------------------------------------------- checking

void currentAxes(GraphicsModel& m, const Object& o, Value& v) {
    if (v.isEmpty()) return;
    const Object& a = m.obj(v.scalar());
    if (a.type != ObjectType::Axes || a.parent != o.handle)
        throw Error("CurrentAxes must be an axes of this figure.");
}

void colormap(GraphicsModel&, const Object&, Value& v) {
    if (v.isEmpty()) v = defaultColormap();
}

// ---------------------------------------------------------------- applying

void reparent(GraphicsModel& m, Object& o, int index, const Value& v) {
    if (v.isEmpty()) throw Error("Parent must be a handle.");
    const Handle np = v.scalar();
    const Handle h = o.handle;
    if (h == 0) throw Error("The root has no parent.");
    if (np == o.parent) return;
    const Object& p = m.obj(np);
    if (!allowedParentFor(o.type, p.type))
        throw Error(std::string("A ") + typeName(o.type) + " cannot be a child of a " +
                    typeName(p.type) + ".");
    if (o.isLabel) throw Error("An axes label cannot change its parent.");
    const Handle old = o.parent;
    auto& ok = m.obj(old).kids;
    ok.erase(std::remove(ok.begin(), ok.end(), h), ok.end());
    m.obj(np).kids.push_back(h);
    o.parent = np;
    o.props[static_cast<std::size_t>(index)] = Value(np);
    m.notifyChanged(o, index);
    if (drawsData(o.type)) {
        m.updateAutoLimits(old, o.type == ObjectType::Image);
        m.updateAutoLimits(np, o.type == ObjectType::Image);
    }
}

void tag(GraphicsModel& m, Object& o, int index, const Value& v) {
    const Value old = o.props[static_cast<std::size_t>(index)];
    if (old.equals(v)) return;
    m.indexTag(o.handle, old, v);
    m.assign(o, index, v);
}

void makeCurrent(GraphicsModel& m, Object&, int, const Value& v) {
    if (!v.isEmpty()) m.makeCurrentFigure(v.scalar());
}

void placeText(GraphicsModel& m, Object& o, int index, const Value& v) {
    o.autoPosition = false;
    m.assign(o, index, v);
}

void units(GraphicsModel& m, Object& o, int index, const Value& v) {
    const Unit from = unitFromName(o.props[static_cast<std::size_t>(index)].text());
    const Unit to = unitFromName(v.text());
    if (from == to) return;
    const Rect4 px = m.pixelRect(o);
    const auto ps = m.parentPixelSize(o);
    m.assign(o, index, v);
    m.assign(o, "position", rowOf(rectFromPixels(px, to, ps[0], ps[1], m.screen().pixelsPerInch)));
}

void textUnits(GraphicsModel& m, Object& o, int index, const Value& v) {
    const Unit from = unitFromName(o.props[static_cast<std::size_t>(index)].text());
    const Unit to = unitFromName(v.text());
    if (from == to) return;
    const auto px = m.textPositionPixels(o);
    const Value pos = m.prop(o, "position");
    const double z = pos.numel() > 2 ? pos.at(2) : 0;
    m.assign(o, index, v);
    const Object& ax = m.obj(o.parent);
    const Rect4 axPx = m.pixelRect(ax);
    Value np;
    if (to == Unit::Data) {
        const auto d = m.pixelsToData(ax, px[0], px[1]);
        np = Value::row({d[0], d[1], z});
    } else {
        const Rect4 r =
            rectFromPixels({px[0], px[1], 0, 0}, to, axPx[2], axPx[3], m.screen().pixelsPerInch);
        np = Value::row({r[0], r[1], z});
    }
    m.assign(o, "position", np);
}

void fontUnits(GraphicsModel& m, Object& o, int index, const Value& v) {
    const Unit from = unitFromName(o.props[static_cast<std::size_t>(index)].text());
    const Unit to = unitFromName(v.text());
    const double ppi = m.screen().pixelsPerInch;
    const double parentLen = o.type == ObjectType::Text ? 0 : m.pixelRect(o)[3];
    const double px = lengthToPixels(m.prop(o, "fontsize").scalar(), from, parentLen, ppi);
    m.assign(o, index, v);
    m.assign(o, "fontsize", Value(lengthFromPixels(px, to, parentLen, ppi)));
}

void paperUnits(GraphicsModel& m, Object& o, int index, const Value& v) {
    const Unit from = unitFromName(o.props[static_cast<std::size_t>(index)].text());
    const Unit to = unitFromName(v.text());
    const auto paper =
        paperSizeInches(m.prop(o, "papertype").text(), m.prop(o, "paperorientation").text());
    const Rect4 r = rectOf(m.prop(o, "paperposition"));
    const double pl[4] = {paper[0], paper[1], paper[0], paper[1]};
    std::vector<double> out(4);
    for (int k = 0; k < 4; ++k)
        out[k] = paperFromInches(paperToInches(r[k], from, pl[k]), to, pl[k]);
    m.assign(o, index, v);
    m.assign(o, "paperposition", Value::row(out));
}

// ---------------------------------------------------------------- recomputing

void limitMode(GraphicsModel& m, Object& o, const Value& v, bool) {
    if (v.text() == "auto") m.updateAutoLimits(o.handle);
}

// The tick count and a 1:1 aspect depend on the axes' size in pixels. Setting
// DataAspectRatio to its present value still fixes its mode, so this runs unchanged too.
void axesSize(GraphicsModel& m, Object& o, const Value&, bool) {
    m.updateAutoLimits(o.handle, false);
}

void figureSize(GraphicsModel& m, Object& o, const Value&, bool changed) {
    if (!changed) return;
    for (Handle k : std::vector<Handle>(o.kids))
        if (m.obj(k).type == ObjectType::Axes) m.updateAutoLimits(k, false);
}

void childData(GraphicsModel& m, Object& o, const Value&, bool changed) {
    if (!changed) return;
    o.extent = {};
    m.updateAutoLimits(o.parent, o.type == ObjectType::Image);
}

}  // namespace rt::hooks
