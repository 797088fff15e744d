#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace rt {

void set(const Value& handles, const Values& pairs) {
    if (!handles.isNumeric() && !handles.isLogical()) throw Error("Handles must be numeric.");
    const auto hs = handles.real();
    if (pairs.empty() || pairs.size() % 2 != 0)
        throw Error("set: property names and values must come in pairs.");
    for (double h : hs) graphics().set(h, pairs);
}

}  // namespace rt
