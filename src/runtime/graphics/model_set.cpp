// Setting a property: validate, apply the rules that tie properties together, compare,
// assign, notify once.
#include <algorithm>
#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"

namespace rt {

namespace {

bool splitDefault(const std::string& lower, ObjectType& type, int& index) {
    return lower.compare(0, 7, "default") == 0 && splitDefaultName(lower, 7, type, index) &&
           type != ObjectType::Root;
}

Rect4 rectOf(const Value& v) {
    const auto d = v.real();
    return {d[0], d[1], d[2], d[3]};
}

}  // namespace

void GraphicsModel::set(Handle h, const std::string& name, const Value& value, bool fromHost) {
    Object& o = obj(h);
    const std::string lower = lowerAscii(name);
    const TypeSpec& ts = typeSpec(o.type);
    const int idx = ts.find(lower);
    if (idx < 0) {
        ObjectType t;
        int i;
        if (splitDefault(lower, t, i)) {
            const PropSpec& spec = typeSpec(t).props[static_cast<std::size_t>(i)];
            if (spec.readOnly || spec.name == "Type" || spec.name == "Parent" ||
                spec.name == "Children")
                throw Error("'" + name + "' cannot be given a default.");
            Value nv = normalizeValue(spec, value, typeName(t));
            o.defaults[defaultKey(t, i)] = nv;
            return;
        }
        throw Error("Invalid " + std::string(typeName(o.type)) + " property: '" + name + "'.");
    }
    const PropSpec& spec = ts.props[static_cast<std::size_t>(idx)];
    static const char* const computed[] = {
        "type",  "children", "screensize", "screenpixelsperinch", "extent", "papersize",
        "title", "xlabel",   "ylabel"};
    for (const char* c : computed)
        if (lower == c) fromHost = false;
    if (spec.readOnly && !fromHost)
        throw Error("The " + std::string(typeName(o.type)) + " property '" + spec.name +
                    "' is read-only.");
    Value nv = normalizeValue(spec, value, typeName(o.type));

    auto assign = [&](const char* lname, const Value& v) -> bool {
        const int i = ts.find(lname);
        Value& slot = o.props[static_cast<std::size_t>(i)];
        if (slot.isCopyOf(v) || (slot.equals(v) && slot.dims() == v.dims())) return false;
        slot = v;
        notifyChanged(h, ts.props[static_cast<std::size_t>(i)].name,
                      ts.props[static_cast<std::size_t>(i)].change);
        return true;
    };
    const std::string key = lower;  // canonical lower-case name

    if (key == "parent") {
        if (nv.isEmpty()) throw Error("Parent must be a handle.");
        const Handle np = nv.scalar();
        if (h == 0) throw Error("The root has no parent.");
        if (np == o.parent) return;
        const Object& p = obj(np);
        if (!allowedParentFor(o.type, p.type))
            throw Error(std::string("A ") + typeName(o.type) + " cannot be a child of a " +
                        typeName(p.type) + ".");
        if (o.isLabel) throw Error("An axes label cannot change its parent.");
        const Handle old = o.parent;
        auto& ok = obj(old).kids;
        ok.erase(std::remove(ok.begin(), ok.end(), h), ok.end());
        obj(np).kids.push_back(h);
        o.parent = np;
        store(o, "parent", Value(np));
        notifyChanged(h, "Parent", ChangeKind::Mapping);
        if (o.type == ObjectType::Line || o.type == ObjectType::Patch ||
            o.type == ObjectType::Image) {
            updateAutoLimits(old, o.type == ObjectType::Image);
            updateAutoLimits(np, o.type == ObjectType::Image);
        }
        return;
    }
    if (key == "tag") {
        const Value old = o.props[static_cast<std::size_t>(idx)];
        if (old.equals(nv)) return;
        indexTag(h, old, nv);
        assign("tag", nv);
        return;
    }
    if (o.type == ObjectType::Root && key == "currentfigure") {
        if (nv.isEmpty()) return;
        makeCurrentFigure(nv.scalar());
        return;
    }
    if (o.type == ObjectType::Text && key == "position") o.autoPosition = false;
    if (o.type == ObjectType::Figure && key == "currentaxes") {
        if (!nv.isEmpty()) {
            const Object& a = obj(nv.scalar());
            if (a.type != ObjectType::Axes || a.parent != h)
                throw Error("CurrentAxes must be an axes of this figure.");
        }
        assign("currentaxes", nv);
        return;
    }
    if (key == "units" && o.type != ObjectType::Root) {
        const Unit from = unitFromName(o.props[static_cast<std::size_t>(idx)].text());
        const Unit to = unitFromName(nv.text());
        if (from == to) return;
        if (o.type == ObjectType::Text) {
            const auto px = textPositionPixels(o);
            const Value pos = prop(o, "position");
            const double z = pos.numel() > 2 ? pos.at(2) : 0;
            assign("units", nv);
            const Object& ax = obj(o.parent);
            const auto ps = std::array<double, 2>{pixelRect(ax)[2], pixelRect(ax)[3]};
            Value np;
            if (to == Unit::Data) {
                const auto d = pixelsToData(ax, px[0], px[1]);
                np = Value::row({d[0], d[1], z});
            } else {
                const Rect4 r =
                    rectFromPixels({px[0], px[1], 0, 0}, to, ps[0], ps[1], screen().pixelsPerInch);
                np = Value::row({r[0], r[1], z});
            }
            assign("position", np);
            return;
        }
        const Rect4 px = pixelRect(o);
        const auto ps = parentPixelSize(o);
        assign("units", nv);
        const Rect4 r = rectFromPixels(px, to, ps[0], ps[1], screen().pixelsPerInch);
        assign("position", Value::row({r[0], r[1], r[2], r[3]}));
        return;
    }
    if (key == "fontunits") {
        const Unit from = unitFromName(o.props[static_cast<std::size_t>(idx)].text());
        const Unit to = unitFromName(nv.text());
        const double parentLen = o.type == ObjectType::Text ? 0 : pixelRect(o)[3];
        const double px =
            lengthToPixels(prop(o, "fontsize").scalar(), from, parentLen, screen().pixelsPerInch);
        assign("fontunits", nv);
        assign("fontsize", Value(lengthFromPixels(px, to, parentLen, screen().pixelsPerInch)));
        return;
    }
    if (key == "paperunits") {
        const Unit from = unitFromName(o.props[static_cast<std::size_t>(idx)].text());
        const Unit to = unitFromName(nv.text());
        const auto paper =
            paperSizeInches(prop(o, "papertype").text(), prop(o, "paperorientation").text());
        const Rect4 r = rectOf(prop(o, "paperposition"));
        const double pl[4] = {paper[0], paper[1], paper[0], paper[1]};
        std::vector<double> out(4);
        for (int k = 0; k < 4; ++k)
            out[k] = paperFromInches(paperToInches(r[k], from, pl[k]), to, pl[k]);
        assign("paperunits", nv);
        assign("paperposition", Value::row(out));
        return;
    }
    if (key == "colormap" && nv.isEmpty()) nv = defaultColormap();

    // A value set by hand fixes its mode; a mode set to auto lets the model recompute.
    static const std::pair<const char*, const char*> modeOf[] = {
        {"xlim", "xlimmode"},
        {"ylim", "ylimmode"},
        {"zlim", "zlimmode"},
        {"clim", "climmode"},
        {"xtick", "xtickmode"},
        {"ytick", "ytickmode"},
        {"xticklabel", "xticklabelmode"},
        {"yticklabel", "yticklabelmode"},
        {"dataaspectratio", "dataaspectratiomode"},
        {"plotboxaspectratio", "plotboxaspectratiomode"}};
    if (o.type == ObjectType::Axes) {
        for (const auto& [p, m] : modeOf)
            if (key == p) assign(m, Value("manual"));
    }
    const bool changed = assign(key.c_str(), nv);
    if (o.type == ObjectType::Axes &&
        (key == "xlimmode" || key == "ylimmode" || key == "climmode") && nv.text() == "auto")
        updateAutoLimits(h);
    // The tick count and a 1:1 aspect depend on the axes' size in pixels.
    // Setting DataAspectRatio to its present value still fixes its mode, so no `changed` here.
    if (o.type == ObjectType::Axes && (key == "position" || key == "outerposition" ||
                                       key == "dataaspectratio" || key == "dataaspectratiomode"))
        updateAutoLimits(h, false);
    if (changed && o.type == ObjectType::Figure && key == "position")
        for (Handle k : std::vector<Handle>(o.kids))
            if (obj(k).type == ObjectType::Axes) updateAutoLimits(k, false);
    if (changed &&
        (o.type == ObjectType::Line || o.type == ObjectType::Patch ||
         o.type == ObjectType::Image) &&
        spec.change == ChangeKind::Data)
        updateAutoLimits(o.parent, o.type == ObjectType::Image);
}

}  // namespace rt
