#include "runtime/value/flat.h"

#include <cmath>

#include "runtime/dispatch/error.h"

namespace rt::detail {

namespace {
double numberOf(const Flat& s, std::size_t i) {
    switch (s.cls) {
        case ClassId::Double:
        case ClassId::Logical:
            return s.re[i];
        case ClassId::Char:
            return static_cast<double>(s.ch[i]);
        case ClassId::UInt8:
            return static_cast<double>(s.by[i]);
        default:
            throw Error("Conversion to double from " +
                        std::string(s.cls == ClassId::Cell ? "cell" : "struct") +
                        " is not possible.");
    }
}

char16_t codeOf(double x) {
    if (std::isnan(x) || x < 0 || x > 65535)
        throw Error("Character codes must lie between 0 and 65535.");
    return static_cast<char16_t>(std::lround(x));
}

std::uint8_t byteOf(double x) {
    if (std::isnan(x)) return 0;
    const double r = std::round(x);
    return static_cast<std::uint8_t>(r < 0 ? 0 : (r > 255 ? 255 : r));
}
}  // namespace

Flat Flat::ofClass(ClassId c, bool cx) {
    Flat f;
    f.cls = c;
    f.complex = cx;
    return f;
}

Flat Flat::of(const Value& v) {
    Flat f;
    f.cls = v.classId();
    switch (f.cls) {
        case ClassId::Double:
            f.re = v.re();
            f.complex = v.isComplex();
            if (f.complex) f.im = v.im();
            break;
        case ClassId::Logical:
            f.re = v.re();
            break;
        case ClassId::Char:
            f.ch = v.charData();
            break;
        case ClassId::UInt8:
            f.by = v.bytes();
            break;
        case ClassId::Cell:
            f.ce = v.cells();
            break;
        case ClassId::Struct:
            f.ce = {v};
            break;
    }
    return f;
}

std::size_t Flat::size() const {
    switch (cls) {
        case ClassId::Double:
        case ClassId::Logical:
            return re.size();
        case ClassId::Char:
            return ch.size();
        case ClassId::UInt8:
            return by.size();
        default:
            return ce.size();
    }
}

void Flat::makeComplex() {
    if (complex) return;
    if (cls != ClassId::Double) throw Error("Complex values can only be stored in a double array.");
    complex = true;
    im.assign(re.size(), 0.0);
}

void Flat::pushDefault() {
    switch (cls) {
        case ClassId::Double:
            re.push_back(0.0);
            if (complex) im.push_back(0.0);
            break;
        case ClassId::Logical:
            re.push_back(0.0);
            break;
        case ClassId::Char:
            ch.push_back(u'\0');
            break;
        case ClassId::UInt8:
            by.push_back(0);
            break;
        case ClassId::Cell:
        case ClassId::Struct:
            ce.emplace_back();
            break;  // a record array fails in build()
    }
}

void Flat::pushFrom(const Flat& src, std::size_t i) {
    pushDefault();
    setFrom(size() - 1, src, i);
}

void Flat::setFrom(std::size_t k, const Flat& src, std::size_t i) {
    if (cls == ClassId::Cell || cls == ClassId::Struct || src.cls == ClassId::Cell ||
        src.cls == ClassId::Struct) {
        if (cls != src.cls)
            throw Error("Conversion between cell, record and numeric arrays is not possible.");
        ce[k] = src.ce[i];
        return;
    }
    const double x = numberOf(src, i);
    switch (cls) {
        case ClassId::Double:
            re[k] = x;
            if (src.complex && src.im[i] != 0.0) makeComplex();
            if (complex) im[k] = src.complex ? src.im[i] : 0.0;
            break;
        case ClassId::Logical:
            if (std::isnan(x)) throw Error("NaN's cannot be converted to logicals.");
            re[k] = x != 0.0 ? 1.0 : 0.0;
            break;
        case ClassId::Char:
            ch[k] = codeOf(x);
            break;
        case ClassId::UInt8:
            by[k] = byteOf(x);
            break;
        default:
            break;
    }
}

Value Flat::build(std::size_t rows, std::size_t cols) const {
    switch (cls) {
        case ClassId::Double:
            return Value::matrix(rows, cols, re, complex ? im : std::vector<double>{});
        case ClassId::Logical:
            return Value::logical(rows, cols, re);
        case ClassId::Char:
            return Value::chars(rows, cols, ch);
        case ClassId::UInt8:
            return Value::uint8({rows, cols}, by);
        case ClassId::Cell:
            return Value::cell(rows, cols, ce);
        case ClassId::Struct:
            if (rows * cols == 1) return ce[0];
            if (rows * cols == 0) return Value::empty(rows, cols);
            throw Error("Record arrays are not supported.");
    }
    return Value();
}

ClassId commonClass(const std::vector<ClassId>& cs) {
    bool cell = false, chr = false, dbl = false, u8 = false, rec = false;
    for (ClassId c : cs) {
        cell |= c == ClassId::Cell;
        chr |= c == ClassId::Char;
        dbl |= c == ClassId::Double;
        u8 |= c == ClassId::UInt8;
        rec |= c == ClassId::Struct;
    }
    if (cell) return ClassId::Cell;
    if (rec) return ClassId::Struct;
    if (chr) return ClassId::Char;
    if (u8) return ClassId::UInt8;
    if (dbl) return ClassId::Double;
    return cs.empty() ? ClassId::Double : ClassId::Logical;
}

}  // namespace rt::detail
