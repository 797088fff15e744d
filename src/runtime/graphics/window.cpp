#include "runtime/graphics/window.h"

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace rt {

namespace {

Value rowOf(const Rect& r) { return Value::row({r[0], r[1], r[2], r[3]}); }

}  // namespace

Prop::Prop(std::string n, Value v) : name(std::move(n)), value(std::move(v)) {}
Prop::Prop(std::string n, double number) : name(std::move(n)), value(number) {}
Prop::Prop(std::string n, std::initializer_list<double> row)
    : name(std::move(n)), value(Value::row(std::vector<double>(row))) {}
Prop::Prop(std::string n, const Rect& r) : name(std::move(n)), value(rowOf(r)) {}

Values pairsOf(const Props& props) {
    Values out;
    out.reserve(2 * props.size());
    for (const Prop& p : props) {
        out.emplace_back(p.name);
        out.push_back(p.value);
    }
    return out;
}

Handle makeFigure(const Props& props) {
    return graphics().create(ObjectType::Figure, 0, pairsOf(props));
}

Handle makeAxes(Handle figure, const Props& props) {
    return graphics().create(ObjectType::Axes, figure, pairsOf(props));
}

Handle makeControl(Handle figure, const std::string& style, const Rect& position,
                   const Props& props) {
    Values pairs{Value("Style"), Value(style)};
    const Values more = pairsOf(props);
    pairs.insert(pairs.end(), more.begin(), more.end());
    pairs.emplace_back("Position");
    pairs.push_back(rowOf(position));
    return graphics().create(ObjectType::UIControl, figure, pairs);
}

Handle makeText(Handle axes, const Props& props) {
    return graphics().create(ObjectType::Text, axes, pairsOf(props));
}

Handle makeLine(Handle axes, const Props& props) {
    return graphics().create(ObjectType::Line, axes, pairsOf(props));
}

Handle makePatch(Handle axes, const Props& props) {
    return graphics().create(ObjectType::Patch, axes, pairsOf(props));
}

void setProps(const Value& handles, const Props& props) {
    if (!handles.isNumeric() && !handles.isLogical()) throw Error("Handles must be numeric.");
    Graphics& g = graphics();
    for (double h : handles.real())
        for (const Prop& p : props) g.set(h, p.name, p.value);
}

}  // namespace rt
