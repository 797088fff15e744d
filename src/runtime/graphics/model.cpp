// The object tree: creation, deletion, property get/set with the rules that tie properties
// together (units conversions, modes, current objects, the Tag index).
#include "runtime/graphics/model.h"

#include <algorithm>
#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace rt {

namespace {

std::string handleText(Handle h) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.10g", h);
    return buf;
}

}  // namespace

bool allowedParentFor(ObjectType child, ObjectType parent) {
    switch (child) {
        case ObjectType::Root:
            return false;
        case ObjectType::Figure:
            return parent == ObjectType::Root;
        case ObjectType::Axes:
        case ObjectType::UIControl:
            return parent == ObjectType::Figure;
        default:
            return parent == ObjectType::Axes;
    }
}

GraphicsModel::GraphicsModel(Graphics& g) : owner(g) {
    Object root;
    root.type = ObjectType::Root;
    root.handle = 0;
    root.parent = std::nan("");
    for (const auto& p : typeSpec(ObjectType::Root).props) root.props.push_back(p.factory);
    objects.emplace(0.0, std::move(root));
}

Object& GraphicsModel::obj(Handle h) {
    auto it = objects.find(h);
    if (it == objects.end()) throw Error("Invalid handle: " + handleText(h) + ".");
    return it->second;
}

const Object& GraphicsModel::obj(Handle h) const {
    auto it = objects.find(h);
    if (it == objects.end()) throw Error("Invalid handle: " + handleText(h) + ".");
    return it->second;
}

const Value& GraphicsModel::prop(const Object& o, const char* lower) const {
    const int i = typeSpec(o.type).find(lower);
    if (i < 0) throw Error(std::string("internal: no property ") + lower);
    return o.props[static_cast<std::size_t>(i)];
}

void GraphicsModel::store(Object& o, const char* lower, const Value& v) {
    const int i = typeSpec(o.type).find(lower);
    if (i < 0) throw Error(std::string("internal: no property ") + lower);
    o.props[static_cast<std::size_t>(i)] = v;
}

Handle GraphicsModel::newHandle(ObjectType type, bool integerHandle) {
    if (type == ObjectType::Figure && requestedFigure > 0 && !objects.count(requestedFigure)) {
        const Handle n = requestedFigure;
        requestedFigure = 0;
        return n;
    }
    if (type == ObjectType::Figure && integerHandle) {
        double n = 1;
        while (objects.count(n)) n += 1;
        return n;
    }
    const Handle h = nextOther + 0.5;
    nextOther += 1;
    return h;
}

// ---------------------------------------------------------------- creation

Handle GraphicsModel::create(ObjectType type, Handle parentHandle, const Values& pairsIn) {
    if (pairsIn.size() % 2 != 0) throw Error("Property names and values must come in pairs.");
    Values pairs;
    bool integerHandle = true;
    for (std::size_t i = 0; i < pairsIn.size(); i += 2) {
        if (!pairsIn[i].isChar()) throw Error("A property name must be a text.");
        const std::string n = lowerAscii(pairsIn[i].text());
        if (n == "parent") {
            const Value& pv = pairsIn[i + 1];
            if (!pv.isNumeric() || pv.numel() != 1) throw Error("Parent must be a single handle.");
            parentHandle = pv.scalar();
            continue;
        }
        if (type == ObjectType::Figure && n == "integerhandle" && pairsIn[i + 1].isChar())
            integerHandle = lowerAscii(pairsIn[i + 1].text()) != "off";
        pairs.push_back(pairsIn[i]);
        pairs.push_back(pairsIn[i + 1]);
    }
    if (type == ObjectType::Figure) parentHandle = 0;
    const Object& par = obj(parentHandle);
    if (!allowedParentFor(type, par.type))
        throw Error(std::string("A ") + typeName(type) + " cannot be a child of a " +
                    typeName(par.type) + ".");

    Object o;
    o.type = type;
    o.parent = parentHandle;
    o.creating = true;
    for (const auto& p : typeSpec(type).props) o.props.push_back(p.factory);
    if (type == ObjectType::Figure) {
        const Rect p = defaultFigurePixels(screen());
        store(o, "position", Value::row({p[0] + 1, p[1] + 1, p[2], p[3]}));  // 1-based
    }
    const Handle h = newHandle(type, integerHandle);
    o.handle = h;
    objects.emplace(h, std::move(o));
    obj(parentHandle).kids.push_back(h);

    try {
        if (type == ObjectType::Axes) {
            for (int k = 0; k < 3; ++k) {
                const Handle lh = create(ObjectType::Text, h, {});
                Object& lab = obj(lh);
                lab.isLabel = true;
                lab.autoPosition = true;
                auto& kids = obj(h).kids;
                kids.erase(std::remove(kids.begin(), kids.end(), lh), kids.end());
                store(lab, "horizontalalignment", Value("center"));
                store(lab, "verticalalignment", Value(k == 1 ? "top" : "bottom"));
                if (k == 2) store(lab, "rotation", Value(90.0));
                obj(h).labels[static_cast<std::size_t>(k)] = lh;
            }
        }
        applyDefaults(obj(h));
        for (std::size_t i = 0; i < pairs.size(); i += 2)
            set(h, pairs[i].text(), pairs[i + 1], false);
    } catch (...) {
        Object& dead = obj(h);
        for (Handle lh : dead.labels)
            if (lh != 0) objects.erase(lh);
        indexTag(h, prop(dead, "tag"), Value());
        auto& kids = obj(parentHandle).kids;
        kids.erase(std::remove(kids.begin(), kids.end(), h), kids.end());
        objects.erase(h);
        throw;
    }
    Object& made = obj(h);
    made.creating = false;
    for (Handle lh : made.labels)
        if (lh != 0) obj(lh).creating = false;
    if (type == ObjectType::Figure) {
        notifyCreated(h);
        makeCurrentFigure(h);
        return h;
    } else if (type == ObjectType::Axes) {
        Object& fig = obj(parentHandle);
        const Value old = prop(fig, "currentaxes");
        store(fig, "currentaxes", Value(h));
        notifyCreated(h);
        for (Handle lh : made.labels) notifyCreated(lh);
        if (!old.equals(Value(h))) notifyChanged(parentHandle, "CurrentAxes", ChangeKind::Style);
        return h;
    }
    // An axes' labels are announced with the axes, after it.
    if (obj(parentHandle).creating) return h;
    notifyCreated(h);
    if (type == ObjectType::Line || type == ObjectType::Patch || type == ObjectType::Image)
        updateAutoLimits(parentHandle, type == ObjectType::Image);
    return h;
}

void GraphicsModel::applyDefaults(Object& o) {
    // Nearest ancestor wins; the Units defaults go first so positions are read in them.
    std::map<int, Value> found;
    for (Handle a = o.parent; !std::isnan(a);) {
        const Object& anc = obj(a);
        for (const auto& [key, value] : anc.defaults) {
            const std::string prefix = std::string(typeName(o.type)) + ".";
            if (key.compare(0, prefix.size(), prefix) != 0) continue;
            const int idx = std::stoi(key.substr(prefix.size()));
            found.emplace(idx, value);  // emplace keeps the nearer one
        }
        a = anc.parent;
    }
    const auto& specs = typeSpec(o.type).props;
    auto apply = [&](int idx) {
        auto it = found.find(idx);
        if (it == found.end()) return;
        set(o.handle, specs[static_cast<std::size_t>(idx)].name, it->second, true);
        found.erase(it);
    };
    for (const char* first : {"units", "fontunits", "paperunits"})
        apply(typeSpec(o.type).find(first));
    while (!found.empty()) apply(found.begin()->first);
}

// ---------------------------------------------------------------- deletion

void GraphicsModel::remove(Handle h) {
    if (h == 0) throw Error("The root object cannot be deleted.");
    Object& o = obj(h);
    if (o.isLabel) throw Error("An axes label cannot be deleted.");
    removeTree(h);
}

void GraphicsModel::removeTree(Handle h) {
    // Post-order: children are reported and removed before their parent.
    std::vector<Handle> order;
    std::function<void(Handle)> walk = [&](Handle x) {
        const Object& o = obj(x);
        for (Handle k : o.kids) walk(k);
        for (Handle l : o.labels)
            if (l != 0) walk(l);
        order.push_back(x);
    };
    walk(h);
    const Handle parentHandle = obj(h).parent;
    const ObjectType type = obj(h).type;
    for (Handle x : order) notifyDeleted(x);
    for (Handle x : order) {
        if (!objects.count(x)) continue;
        indexTag(x, prop(obj(x), "tag"), Value());
        objects.erase(x);
    }
    if (auto it = objects.find(parentHandle); it != objects.end()) {
        auto& kids = it->second.kids;
        kids.erase(std::remove(kids.begin(), kids.end(), h), kids.end());
    }
    if (type == ObjectType::Figure) {
        const Handle before = currentFigure();
        figureHistory.erase(std::remove(figureHistory.begin(), figureHistory.end(), h),
                            figureHistory.end());
        if (before == h) notifyChanged(0, "CurrentFigure", ChangeKind::Style);
    } else if (type == ObjectType::Axes) {
        Object& fig = obj(parentHandle);
        if (prop(fig, "currentaxes").equals(Value(h))) {
            Value next;
            for (auto it = fig.kids.rbegin(); it != fig.kids.rend(); ++it)
                if (obj(*it).type == ObjectType::Axes) {
                    next = Value(*it);
                    break;
                }
            store(fig, "currentaxes", next);
            notifyChanged(parentHandle, "CurrentAxes", ChangeKind::Style);
        }
    } else if (type == ObjectType::Line || type == ObjectType::Patch || type == ObjectType::Image) {
        updateAutoLimits(parentHandle, type == ObjectType::Image);
    }
}

// ---------------------------------------------------------------- current figure

void GraphicsModel::makeCurrentFigure(Handle fig) {
    if (obj(fig).type != ObjectType::Figure) throw Error("CurrentFigure must be a figure.");
    const Handle before = currentFigure();
    figureHistory.erase(std::remove(figureHistory.begin(), figureHistory.end(), fig),
                        figureHistory.end());
    figureHistory.push_back(fig);
    if (before != fig) notifyChanged(0, "CurrentFigure", ChangeKind::Style);
}

Handle GraphicsModel::currentFigure() const {
    return figureHistory.empty() ? 0 : figureHistory.back();
}

// ---------------------------------------------------------------- tag index

void GraphicsModel::indexTag(Handle h, const Value& oldTag, const Value& newTag) {
    if (oldTag.isChar() && !oldTag.isEmpty()) {
        auto it = tagIndex.find(oldTag.text16());
        if (it != tagIndex.end()) {
            auto& v = it->second;
            v.erase(std::remove(v.begin(), v.end(), h), v.end());
            if (v.empty()) tagIndex.erase(it);
        }
    }
    if (newTag.isChar() && !newTag.isEmpty()) tagIndex[newTag.text16()].push_back(h);
}

// ---------------------------------------------------------------- notifications

void GraphicsModel::notifyCreated(Handle h) {
    for (auto* o : std::vector<GraphicsObserver*>(observers)) o->objectCreated(h);
}

void GraphicsModel::notifyChanged(Handle h, const std::string& name, ChangeKind kind) {
    if (auto it = objects.find(h); it != objects.end() && it->second.creating) return;
    for (auto* o : std::vector<GraphicsObserver*>(observers)) o->propertyChanged(h, name, kind);
}

void GraphicsModel::notifyDeleted(Handle h) {
    for (auto* o : std::vector<GraphicsObserver*>(observers)) o->objectDeleted(h);
}

// ---------------------------------------------------------------- get

Value GraphicsModel::get(Handle h, const std::string& name) const {
    const Object& o = obj(h);
    const std::string lower = lowerAscii(name);
    const int idx = typeSpec(o.type).find(lower);
    return idx < 0 ? getDefault(o, lower, name) : get(o, idx);
}

Value GraphicsModel::get(const Object& o, int index) const {
    const PropSpec& spec = typeSpec(o.type).props[static_cast<std::size_t>(index)];
    return spec.get ? spec.get(*this, o) : o.props[static_cast<std::size_t>(index)];
}

Value GraphicsModel::getDefault(const Object& o, const std::string& lower,
                                const std::string& name) const {
    ObjectType t;
    int i;
    if (lower.compare(0, 7, "default") == 0 && splitDefaultName(lower, 7, t, i)) {
        const std::string key = defaultKey(t, i);
        for (Handle a = o.handle; !std::isnan(a);) {
            const Object& anc = obj(a);
            if (auto it = anc.defaults.find(key); it != anc.defaults.end()) return it->second;
            a = anc.parent;
        }
        return typeSpec(t).props[static_cast<std::size_t>(i)].factory;
    }
    if (lower.compare(0, 7, "factory") == 0 && splitDefaultName(lower, 7, t, i))
        return typeSpec(t).props[static_cast<std::size_t>(i)].factory;
    throw Error("Invalid " + std::string(typeName(o.type)) + " property: '" + name + "'.");
}

}  // namespace rt
