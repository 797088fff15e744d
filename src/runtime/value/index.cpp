// Indexing, indexed assignment and deletion of array values.
#include <algorithm>
#include <cmath>
#include <limits>

#include "runtime/dispatch/error.h"
#include "runtime/value/array_ops.h"
#include "runtime/value/flat.h"

namespace rt {

namespace {

using detail::Flat;

// Large enough for any array the programs hold; stops a stray 1e15 from allocating.
constexpr double kMaxPosition = 2147483647.0;

bool isColon(const Value& s) { return s.isChar() && s.numel() == 1 && s.charData()[0] == u':'; }

[[noreturn]] void outOfRange() { throw Error("Index exceeds matrix dimensions."); }

// 0-based positions of a subscript over a dimension of `extent` elements.
// Positions past the extent are allowed only when `grow` is set.
std::vector<std::size_t> positions(const Value& s, std::size_t extent, bool grow) {
    std::vector<std::size_t> p;
    if (isColon(s)) {
        p.resize(extent);
        for (std::size_t i = 0; i < extent; ++i) p[i] = i;
        return p;
    }
    if (s.isCell() || s.isStruct()) throw Error("Subscript indices must be numbers or logicals.");
    if (s.isLogical()) {
        const auto& m = s.re();
        for (std::size_t i = 0; i < m.size(); ++i) {
            if (m[i] == 0.0) continue;
            if (i >= extent && !grow) outOfRange();
            p.push_back(i);
        }
        return p;
    }
    if (s.isComplex()) throw Error("Subscript indices must be real positive integers or logicals.");
    const std::vector<double> v = s.real();
    p.reserve(v.size());
    for (double x : v) {
        if (!(x >= 1.0) || x != std::floor(x) || x > kMaxPosition)
            throw Error("Subscript indices must either be real positive integers or logicals.");
        const auto k = static_cast<std::size_t>(x) - 1;
        if (k >= extent && !grow) outOfRange();
        p.push_back(k);
    }
    return p;
}

std::size_t maxPlusOne(const std::vector<std::size_t>& p) {
    std::size_t m = 0;
    for (std::size_t k : p) m = std::max(m, k + 1);
    return m;
}

// Shape of a(idx) for a vector-or-matrix source and a selection of n elements.
std::pair<std::size_t, std::size_t> linearShape(const Value& a, const Value& idx, std::size_t n) {
    if (isColon(idx)) return {n, 1};
    const bool idxVector = idx.ndims() == 2 && (idx.rows() == 1 || idx.cols() == 1);
    if (a.ndims() == 2 && a.isVector() && !a.isScalar() && idxVector)
        return a.rows() == 1 ? std::pair{std::size_t{1}, n} : std::pair{n, std::size_t{1}};
    if (idx.isLogical()) {
        if (idx.rows() == 1 && idx.ndims() == 2) return {1, n};
        return {n, 1};
    }
    if (idx.ndims() == 2) return {idx.rows(), idx.cols()};
    return {n, 1};
}

void need2d(const Value& a) {
    if (a.ndims() > 2) throw Error("Only two subscripts are supported for two-dimensional arrays.");
}

Flat gather(const Flat& src, const std::vector<std::size_t>& p) {
    Flat out = Flat::ofClass(src.cls, src.complex);
    for (std::size_t k : p) out.pushFrom(src, k);
    return out;
}

// The class an assignment into `a` leaves.
ClassId assignedClass(const Value& a, const Value& b) {
    if (a.isDouble() && a.rows() == 0 && a.cols() == 0 && a.ndims() == 2) return b.classId();
    if (a.isLogical() && !b.isLogical()) return detail::commonClass({b.classId(), ClassId::Double});
    return a.classId();
}

Flat convertTo(const Flat& src, ClassId cls) {
    if (src.cls == cls) return src;
    Flat out = Flat::ofClass(cls);
    for (std::size_t i = 0; i < src.size(); ++i) out.pushFrom(src, i);
    return out;
}

}  // namespace

Value colon() { return Value(":"); }

Value index(const Value& a, const Value& idx) {
    const std::vector<std::size_t> p = positions(idx, a.numel(), false);
    const auto [r, c] = linearShape(a, idx, p.size());
    return gather(Flat::of(a), p).build(r, c);
}

Value index(const Value& a, const Value& rs, const Value& cs) {
    need2d(a);
    const std::vector<std::size_t> pr = positions(rs, a.rows(), false);
    const std::vector<std::size_t> pc = positions(cs, a.cols(), false);
    std::vector<std::size_t> p;
    p.reserve(pr.size() * pc.size());
    for (std::size_t c : pc)
        for (std::size_t r : pr) p.push_back(c * a.rows() + r);
    return gather(Flat::of(a), p).build(pr.size(), pc.size());
}

void assign(Value& a, const Value& idx, const Value& b) {
    std::vector<std::size_t> p = positions(idx, a.numel(), true);
    if (b.numel() != p.size() && b.numel() != 1)
        throw Error(
            "In an assignment A(I) = B, the number of elements in B and I must be the same.");
    if (p.empty()) return;
    const std::size_t n = a.numel(), need = std::max(n, maxPlusOne(p));
    std::size_t rows = a.rows(), cols = a.cols();
    if (need > n) {
        if (a.ndims() > 2) throw Error("An image cannot grow by linear assignment.");
        if (rows == 1 || (n == 0 && cols != 1)) {
            rows = 1;
            cols = need;
        } else if (cols == 1)
            rows = need;
        else
            throw Error("In an assignment A(I) = B, a matrix A cannot be resized.");
    }
    Flat f = convertTo(Flat::of(a), assignedClass(a, b));
    while (f.size() < need) f.pushDefault();
    const Flat src = Flat::of(b);
    for (std::size_t k = 0; k < p.size(); ++k) f.setFrom(p[k], src, b.numel() == 1 ? 0 : k);
    if (a.ndims() > 2) {
        std::vector<std::size_t> dims = a.dims();
        a = f.build(f.size(), 1);
        a.reshape(dims);
    } else {
        a = f.build(rows, cols);
    }
}

void assign(Value& a, const Value& rs, const Value& cs, const Value& b) {
    need2d(a);
    const bool emptyA = a.isEmpty();
    // Assigning a whole matrix through ":" into an empty value takes b's extent.
    const std::size_t extR = (emptyA && isColon(rs)) ? b.rows() : a.rows();
    const std::size_t extC = (emptyA && isColon(cs)) ? b.cols() : a.cols();
    const std::vector<std::size_t> pr = positions(rs, extR, true);
    const std::vector<std::size_t> pc = positions(cs, extC, true);
    const std::size_t count = pr.size() * pc.size();
    if (b.numel() != count && b.numel() != 1)
        throw Error("Subscripted assignment dimension mismatch.");
    if (count == 0) return;
    const std::size_t rows = std::max(a.rows(), maxPlusOne(pr));
    const std::size_t cols = std::max(a.cols(), maxPlusOne(pc));
    const Flat old = convertTo(Flat::of(a), assignedClass(a, b));
    Flat f = Flat::ofClass(old.cls, old.complex);
    for (std::size_t j = 0; j < cols; ++j)
        for (std::size_t i = 0; i < rows; ++i) {
            if (i < a.rows() && j < a.cols())
                f.pushFrom(old, j * a.rows() + i);
            else
                f.pushDefault();
        }
    const Flat src = Flat::of(b);
    std::size_t k = 0;
    for (std::size_t c : pc)
        for (std::size_t r : pr) {
            f.setFrom(c * rows + r, src, b.numel() == 1 ? 0 : k);
            ++k;
        }
    a = f.build(rows, cols);
}

void erase(Value& a, const Value& idx) {
    const std::size_t n = a.numel();
    const std::vector<std::size_t> p = positions(idx, n, false);
    if (isColon(idx)) {
        a = Flat::ofClass(a.classId()).build(0, 0);
        return;
    }
    if (p.empty()) return;
    std::vector<bool> drop(n, false);
    for (std::size_t k : p) drop[k] = true;
    std::vector<std::size_t> keep;
    for (std::size_t i = 0; i < n; ++i)
        if (!drop[i]) keep.push_back(i);
    const Flat f = gather(Flat::of(a), keep);
    const bool column = a.ndims() == 2 && a.cols() == 1 && a.rows() != 1;
    a = column ? f.build(keep.size(), 1) : f.build(1, keep.size());
}

void erase(Value& a, const Value& rs, const Value& cs) {
    need2d(a);
    const std::vector<std::size_t> pr = positions(rs, a.rows(), false);
    const std::vector<std::size_t> pc = positions(cs, a.cols(), false);
    auto covers = [](const std::vector<std::size_t>& p, std::size_t extent) {
        std::vector<bool> seen(extent, false);
        for (std::size_t k : p) seen[k] = true;
        return std::all_of(seen.begin(), seen.end(), [](bool s) { return s; });
    };
    const bool allRows = isColon(rs) || covers(pr, a.rows());
    const bool allCols = isColon(cs) || covers(pc, a.cols());
    const Flat f = Flat::of(a);
    std::vector<bool> dropR(a.rows(), false), dropC(a.cols(), false);
    if (allRows) {
        for (std::size_t c : pc) dropC[c] = true;
    } else if (allCols) {
        for (std::size_t r : pr) dropR[r] = true;
    } else {
        throw Error("A null assignment can have only one non-colon index.");
    }
    std::vector<std::size_t> keep;
    std::size_t nr = 0, nc = 0;
    for (std::size_t i = 0; i < a.rows(); ++i) nr += !dropR[i];
    for (std::size_t j = 0; j < a.cols(); ++j) {
        if (dropC[j]) continue;
        ++nc;
        for (std::size_t i = 0; i < a.rows(); ++i)
            if (!dropR[i]) keep.push_back(j * a.rows() + i);
    }
    a = gather(f, keep).build(nr, nc);
}

}  // namespace rt
