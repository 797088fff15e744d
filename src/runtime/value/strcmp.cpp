// strcmp, strcmpi, strncmpi.
#include <functional>

#include "runtime/dispatch/error.h"
#include "runtime/value/text_ops.h"

namespace rt {

namespace {

using TextEq = std::function<bool(const Value&, const Value&)>;

Value elementwise(const Value& a, const Value& b, const TextEq& eq) {
    if (!a.isCell() && !b.isCell()) return Value::logical(eq(a, b));
    if (a.isCell() && b.isCell() && a.dims() != b.dims() && a.numel() != 1 && b.numel() != 1)
        throw Error("Cell arrays compared by strcmp must have the same size.");
    const Value& shape = (a.isCell() && (a.numel() != 1 || !b.isCell())) ? a : b;
    std::vector<double> out(shape.numel());
    for (std::size_t i = 0; i < out.size(); ++i) {
        const Value& x = a.isCell() ? a.cells()[a.numel() == 1 ? 0 : i] : a;
        const Value& y = b.isCell() ? b.cells()[b.numel() == 1 ? 0 : i] : b;
        out[i] = eq(x, y) ? 1.0 : 0.0;
    }
    return Value::logical(shape.rows(), shape.cols(), std::move(out));
}

bool exact(const Value& x, const Value& y) {
    return x.isChar() && y.isChar() && x.dims() == y.dims() && x.charData() == y.charData();
}

bool noCase(const Value& x, const Value& y) {
    return x.isChar() && y.isChar() && x.dims() == y.dims() &&
           lower(x.charData()) == lower(y.charData());
}

}  // namespace

Value strcmp(const Value& a, const Value& b) { return elementwise(a, b, exact); }

Value strcmpi(const Value& a, const Value& b) { return elementwise(a, b, noCase); }

Value strncmpi(const Value& a, const Value& b, std::size_t n) {
    return elementwise(a, b, [n](const Value& x, const Value& y) {
        if (!x.isChar() || !y.isChar()) return false;
        const std::u16string s = x.text16(), t = y.text16();
        if ((s.size() < n || t.size() < n) && s.size() != t.size()) return false;
        return lower(s.substr(0, n)) == lower(t.substr(0, n));
    });
}

}  // namespace rt
