// Building windows and writing their properties from the system's functions.
//
// Properties are written as {name, value} entries; a numeric row or a rectangle needs no
// wrapping:
//
//   const rt::Handle f = rt::makeFigure({{"Name", st.Wwheellist}, {"NumberTitle", "off"}});
//   rt::makeControl(f, "edit", {0.05, 0.025, 0.25, 0.075}, {{"Tag", "TireName"}});
//   const rt::Handle ax = rt::makeAxes(f, {{"Position", {0.35, 0.12, 0.58, 0.78}}});
//   rt::setProps(rt::findobj({"Tag", tag}), {{"Visible", "off"}, {"LineWidth", 1}});
//   const double v = rt::get(h, "Value").scalar();
//
// The system's functions read with rt::get and write with rt::setProps; rt::set (pairs as
// values) is for pairs that arrive from a caller as they came. Every failure throws rt::Error
// with the model's message, and a creation that fails creates nothing.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace rt {

// One property and its value. {"XLim", {0, 100}} is a numeric row, {"XTick", {}} is [],
// {"Value", 1} is a number.
struct Prop {
    Prop(std::string name, Value value);
    Prop(std::string name, double number);
    Prop(std::string name, std::initializer_list<double> row);
    Prop(std::string name, const Rect& rect);
    std::string name;
    Value value;
};
using Props = std::vector<Prop>;

// Name, value, name, value, ... as the operations taking pairs expect them.
Values pairsOf(const Props& props);

// New objects under an explicit parent (no current figure or axes is consulted, none is
// created). Properties apply in order after the inherited defaults; a figure or axes becomes
// current, as with rt::figure and rt::axes.
Handle makeFigure(const Props& props = {});
Handle makeAxes(Handle figure, const Props& props = {});
// `position` is applied last, so a Units among `props` holds for it.
Handle makeControl(Handle figure, const std::string& style, const Rect& position,
                   const Props& props = {});
Handle makeText(Handle axes, const Props& props = {});
Handle makeLine(Handle axes, const Props& props = {});
Handle makePatch(Handle axes, const Props& props = {});

// Every property on every handle, in order (handles as findobj gives them; [] does nothing).
void setProps(const Value& handles, const Props& props);

}  // namespace rt
