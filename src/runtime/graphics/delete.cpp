#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace rt {

void deleteObjects(const Value& handles) {
    if (handles.isEmpty()) return;
    if (!handles.isNumeric() && !handles.isLogical())
        throw Error("delete: handles must be numeric.");
    Graphics& g = graphics();
    const auto hs = handles.real();
    for (double h : hs)
        if (!g.isValid(h)) throw Error("delete: invalid or deleted object.");
    // A vector may hold an object and its descendants: those go with the first.
    for (double h : hs)
        if (g.isValid(h)) g.remove(h);
}

}  // namespace rt
