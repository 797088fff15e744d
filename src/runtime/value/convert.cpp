// Class conversions and equality.
#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/value/array_ops.h"
#include "runtime/value/flat.h"

namespace rt {

Value toChar(const Value& a) {
    if (a.isChar()) return a;
    if (a.isStruct()) throw Error("Conversion to char from struct is not possible.");
    if (a.isCell()) {
        std::vector<std::u16string> rows;
        for (const Value& item : a.cells()) {
            if (item.isEmpty() && (item.isChar() || item.isDouble())) {
                rows.emplace_back();  // an empty text still takes a row
                continue;
            }
            if (!item.isChar()) throw Error("Cell elements must be character arrays.");
            for (auto& r : item.rowTexts()) rows.push_back(std::move(r));
        }
        return Value::charMatrix(rows);
    }
    if (a.ndims() > 2) throw Error("Conversion to char of an N-D array is not supported.");
    detail::Flat out = detail::Flat::ofClass(ClassId::Char);
    const detail::Flat f = detail::Flat::of(a);
    for (std::size_t i = 0; i < f.size(); ++i) out.pushFrom(f, i);
    return out.build(a.rows(), a.cols());
}

Value toDouble(const Value& a) {
    if (a.isDouble()) return a;
    if (a.isCell() || a.isStruct())
        throw Error("Conversion to double from " + a.className() + " is not possible.");
    Value out = Value::matrix(a.numel(), 1, a.real());
    out.reshape(a.dims());
    return out;
}

bool isequal(const Value& a, const Value& b) {
    if (a.dims() != b.dims()) return false;
    const bool aNum = !a.isCell() && !a.isStruct(), bNum = !b.isCell() && !b.isStruct();
    if (aNum && bNum) {
        const std::vector<double> x = a.real(), y = b.real();
        if (x != y) return false;  // NaN is never equal
        const std::vector<double> xi = a.imag(), yi = b.imag();
        return xi == yi;
    }
    if (a.isCell() && b.isCell()) {
        for (std::size_t i = 0; i < a.numel(); ++i)
            if (!isequal(a.cells()[i], b.cells()[i])) return false;
        return true;
    }
    if (a.isStruct() && b.isStruct()) {
        if (a.fieldNames().size() != b.fieldNames().size()) return false;
        for (const std::string& name : a.fieldNames())
            if (!b.isField(name) || !isequal(a.field(name), b.field(name))) return false;
        return true;
    }
    return false;
}

}  // namespace rt
