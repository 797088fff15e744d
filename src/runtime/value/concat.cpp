// Concatenation and transposes.
#include "runtime/dispatch/error.h"
#include "runtime/value/array_ops.h"
#include "runtime/value/flat.h"

namespace rt {

namespace {

using detail::Flat;

bool isNullEmpty(const Value& v) { return v.ndims() == 2 && v.rows() == 0 && v.cols() == 0; }

// Parts that take part in the result, and the result class.
Values usedParts(const Values& parts, bool horizontal, ClassId& cls) {
    std::vector<ClassId> classes;
    for (const Value& p : parts) classes.push_back(p.classId());
    cls = detail::commonClass(classes);
    Values used;
    for (const Value& p : parts) {
        if (p.ndims() > 2) throw Error("Images cannot be concatenated.");
        if (isNullEmpty(p)) continue;
        if (cls == ClassId::Cell && !p.isCell())
            throw Error("Cells can be concatenated only with cells.");
        used.push_back(p);
    }
    // Other empties are dropped when their extent does not fit the non-empty parts.
    std::size_t extent = 0;
    bool found = false;
    for (const Value& p : used)
        if (!p.isEmpty()) {
            extent = horizontal ? p.rows() : p.cols();
            found = true;
            break;
        }
    Values kept;
    for (const Value& p : used) {
        const std::size_t e = horizontal ? p.rows() : p.cols();
        if (found && p.isEmpty() && e != extent) continue;
        if (found && e != extent)
            throw Error(horizontal ? "Horizontal dimensions mismatch."
                                   : "Vertical dimensions mismatch.");
        kept.push_back(p);
    }
    if (kept.size() > 1 && cls == ClassId::Struct) throw Error("Record arrays are not supported.");
    return kept;
}

Value emptyOf(ClassId cls) {
    if (cls == ClassId::Struct) return Value();
    return Flat::ofClass(cls).build(0, 0);
}

Value transposed(const Value& a, bool conjugate) {
    if (a.ndims() > 2) throw Error("Transpose on N-D arrays is not defined.");
    const Flat f = Flat::of(a);
    Flat out = Flat::ofClass(f.cls, f.complex);
    const std::size_t r = a.rows(), c = a.cols();
    for (std::size_t i = 0; i < r; ++i)
        for (std::size_t j = 0; j < c; ++j) out.pushFrom(f, j * r + i);
    if (conjugate && out.complex)
        for (double& x : out.im) x = -x;
    return out.build(c, r);
}

}  // namespace

Value horzcat(const Values& parts) {
    ClassId cls;
    const Values used = usedParts(parts, true, cls);
    if (used.empty()) return emptyOf(cls);
    Flat out = Flat::ofClass(cls);
    std::size_t cols = 0;
    for (const Value& p : used) {
        const Flat f = Flat::of(p);
        for (std::size_t i = 0; i < f.size(); ++i) out.pushFrom(f, i);
        cols += p.cols();
    }
    return out.build(used.front().rows(), cols);
}

Value vertcat(const Values& parts) {
    ClassId cls;
    const Values used = usedParts(parts, false, cls);
    if (used.empty()) return emptyOf(cls);
    std::vector<Flat> flats;
    std::size_t rows = 0;
    for (const Value& p : used) {
        flats.push_back(Flat::of(p));
        rows += p.rows();
    }
    const std::size_t cols = used.front().cols();
    Flat out = Flat::ofClass(cls);
    for (std::size_t j = 0; j < cols; ++j)
        for (std::size_t k = 0; k < used.size(); ++k)
            for (std::size_t i = 0; i < used[k].rows(); ++i)
                out.pushFrom(flats[k], j * used[k].rows() + i);
    return out.build(rows, cols);
}

Value transpose(const Value& a) { return transposed(a, false); }
Value ctranspose(const Value& a) { return transposed(a, true); }

}  // namespace rt
