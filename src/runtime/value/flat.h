// Internal: the elements of any array value in one flat, class-tagged store, so that
// indexing, assignment, deletion and concatenation are written once for every class.
#pragma once

#include <cstddef>
#include <vector>

#include "runtime/value/value.h"

namespace rt::detail {

struct Flat {
    ClassId cls = ClassId::Double;
    bool complex = false;
    std::vector<double> re, im;    // double, logical
    std::u16string ch;             // char
    std::vector<std::uint8_t> by;  // uint8
    Values ce;                     // cell (and the one element of a 1x1 record)

    static Flat of(const Value& v);
    static Flat ofClass(ClassId cls, bool complex = false);
    std::size_t size() const;
    // Appends one element of the default (zero, NUL, []) kind.
    void pushDefault();
    // Appends element i of `src`, converted to this store's class.
    void pushFrom(const Flat& src, std::size_t i);
    // Overwrites element k with element i of `src`, converted to this store's class.
    void setFrom(std::size_t k, const Flat& src, std::size_t i);
    void makeComplex();
    Value build(std::size_t rows, std::size_t cols) const;
};

// The class a mix of operands takes in concatenation or assignment.
ClassId commonClass(const std::vector<ClassId>& classes);

}  // namespace rt::detail
