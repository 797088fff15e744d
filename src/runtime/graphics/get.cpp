#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace rt {

namespace {

std::vector<double> handlesOf(const Value& v) {
    if (!v.isNumeric() && !v.isLogical()) throw Error("Handles must be numeric.");
    return v.real();
}

}  // namespace

Value get(const Value& handles, const std::string& name) {
    const auto hs = handlesOf(handles);
    if (hs.empty()) return Value();
    if (hs.size() == 1) return graphics().get(hs[0], name);
    Values out;
    for (double h : hs) out.push_back(graphics().get(h, name));
    return Value::cell(out.size(), 1, out);
}

}  // namespace rt
