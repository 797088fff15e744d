#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace rt {

namespace {

Value childrenOf(Handle h) {
    const auto k = graphics().children(h);
    return k.empty() ? Value::empty(0, 1) : Value::column(k);
}

}  // namespace

Value allchild(const Value& handles) {
    if (!handles.isNumeric() && !handles.isLogical())
        throw Error("allchild: handles must be numeric.");
    const auto hs = handles.real();
    if (hs.size() == 1) return childrenOf(hs[0]);
    Values out;
    for (double h : hs) out.push_back(childrenOf(h));
    return Value::cell(out.size(), 1, out);
}

}  // namespace rt
