// Writing a property: every property takes the same steps; its table entry says what is
// particular to it (property_hooks.h).
#include <utility>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"

namespace rt {

void GraphicsModel::set(Handle h, const std::string& name, const Value& value, bool fromHost) {
    Object& o = obj(h);
    const std::string lower = lowerAscii(name);
    const TypeSpec& ts = typeSpec(o.type);
    const int idx = ts.find(lower);
    if (idx < 0) return setDefault(o, lower, name, value);
    const PropSpec& spec = ts.props[static_cast<std::size_t>(idx)];
    if (spec.access == Access::Computed || (spec.access == Access::Host && !fromHost))
        throw Error("The " + std::string(typeName(o.type)) + " property '" + spec.name +
                    "' is read-only.");
    Value nv = normalizeValue(spec, value, typeName(o.type));
    if (spec.check) spec.check(*this, o, nv);
    if (spec.apply) return spec.apply(*this, o, idx, nv);
    // A value set by hand fixes its mode; a mode set to auto lets the model recompute.
    if (spec.mode >= 0) assign(o, spec.mode, Value("manual"));
    const bool changed = assign(o, idx, std::move(nv));
    if (spec.after) spec.after(*this, o, o.props[static_cast<std::size_t>(idx)], changed);
}

bool GraphicsModel::assign(Object& o, int index, Value v) {
    Value& slot = o.props[static_cast<std::size_t>(index)];
    if (slot.isCopyOf(v) || (slot.equals(v) && slot.dims() == v.dims())) return false;
    slot = std::move(v);
    notifyChanged(o, index);
    return true;
}

bool GraphicsModel::assign(Object& o, const char* lower, Value v) {
    const int i = typeSpec(o.type).find(lower);
    if (i < 0) throw Error(std::string("internal: no property ") + lower);
    return assign(o, i, std::move(v));
}

void GraphicsModel::notifyChanged(const Object& o, int index) {
    const PropSpec& spec = typeSpec(o.type).props[static_cast<std::size_t>(index)];
    notifyChanged(o.handle, spec.name, spec.change);
}

void GraphicsModel::setDefault(Object& o, const std::string& lower, const std::string& name,
                               const Value& value) {
    ObjectType t;
    int i;
    if (lower.compare(0, 7, "default") != 0 || !splitDefaultName(lower, 7, t, i) ||
        t == ObjectType::Root)
        throw Error("Invalid " + std::string(typeName(o.type)) + " property: '" + name + "'.");
    const PropSpec& spec = typeSpec(t).props[static_cast<std::size_t>(i)];
    if (spec.access != Access::Free || spec.name == "Parent")
        throw Error("'" + name + "' cannot be given a default.");
    o.defaults[defaultKey(t, i)] = normalizeValue(spec, value, typeName(t));
}

}  // namespace rt
