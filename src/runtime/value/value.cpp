#include "runtime/value/value.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>

#include "runtime/dispatch/error.h"

namespace rt {

namespace {

std::size_t product(const std::vector<std::size_t>& d) {
    std::size_t n = 1;
    for (std::size_t k : d) n *= k;
    return n;
}

void checkSize(std::size_t expected, std::size_t got, const char* what) {
    if (expected != got)
        throw Error(std::string(what) + ": data size does not match the dimensions.");
}

// Trailing singleton dimensions beyond the second carry no information.
std::vector<std::size_t> normalDims(std::vector<std::size_t> d) {
    while (d.size() < 2) d.push_back(d.empty() ? 0 : 1);
    while (d.size() > 2 && d.back() == 1) d.pop_back();
    return d;
}

}  // namespace

Value::Data& Value::own() {
    if (!data_)
        data_ = std::make_shared<Data>();
    else if (data_.use_count() > 1)
        data_ = std::make_shared<Data>(*data_);
    return *data_;
}

Value::Value() = default;

Value::Value(double x) : dims_{1, 1} { own().re.assign(1, x); }

Value::Value(std::complex<double> z) : dims_{1, 1} {
    own().re.assign(1, z.real());
    data_->im.assign(1, z.imag());
}

Value::Value(const char* utf8Text) : Value(std::string(utf8Text ? utf8Text : "")) {}

Value::Value(const std::string& utf8Text) : Value(utf16(utf8Text)) {}

Value::Value(const std::u16string& text) : cls_(ClassId::Char) {
    // The empty text is 0x0, as a literal '' is.
    dims_ =
        text.empty() ? std::vector<std::size_t>{0, 0} : std::vector<std::size_t>{1, text.size()};
    if (!text.empty()) own().chars = text;
}

Value Value::empty(std::size_t rows, std::size_t cols) {
    Value v;
    if (rows * cols != 0) throw Error("Value::empty: shape is not empty.");
    v.dims_ = {rows, cols};
    return v;
}

Value Value::zeros(std::size_t rows, std::size_t cols) {
    Value v;
    v.dims_ = {rows, cols};
    v.own().re.assign(rows * cols, 0.0);
    return v;
}

Value Value::matrix(std::size_t rows, std::size_t cols, std::vector<double> re,
                    std::vector<double> im) {
    checkSize(rows * cols, re.size(), "matrix");
    if (!im.empty()) checkSize(rows * cols, im.size(), "matrix");
    Value v;
    v.dims_ = {rows, cols};
    if (!re.empty()) {
        v.own().re = std::move(re);
        v.data_->im = std::move(im);
    }
    return v;
}

Value Value::row(std::vector<double> v) {
    const std::size_t n = v.size();
    return matrix(n == 0 ? 0 : 1, n, std::move(v));
}

Value Value::column(std::vector<double> v) {
    const std::size_t n = v.size();
    return matrix(n, 1, std::move(v));
}

Value Value::logical(std::size_t rows, std::size_t cols, std::vector<double> v) {
    checkSize(rows * cols, v.size(), "logical");
    Value r;
    r.cls_ = ClassId::Logical;
    r.dims_ = {rows, cols};
    for (double& x : v) x = (x != 0.0) ? 1.0 : 0.0;
    if (!v.empty()) r.own().re = std::move(v);
    return r;
}

Value Value::logical(bool b) { return logical(1, 1, {b ? 1.0 : 0.0}); }

Value Value::chars(std::size_t rows, std::size_t cols, std::u16string data) {
    checkSize(rows * cols, data.size(), "chars");
    Value v;
    v.cls_ = ClassId::Char;
    v.dims_ = {rows, cols};
    if (!data.empty()) v.own().chars = std::move(data);
    return v;
}

Value Value::charMatrix(const std::vector<std::u16string>& rows) {
    std::size_t width = 0;
    for (const auto& r : rows) width = std::max(width, r.size());
    const std::size_t n = rows.size();
    std::u16string data(n * width, u' ');
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = 0; j < rows[i].size(); ++j) data[j * n + i] = rows[i][j];
    return chars(n, width, std::move(data));
}

Value Value::charMatrix(const std::vector<std::string>& utf8Rows) {
    std::vector<std::u16string> rows;
    rows.reserve(utf8Rows.size());
    for (const auto& r : utf8Rows) rows.push_back(utf16(r));
    return charMatrix(rows);
}

Value Value::uint8(std::vector<std::size_t> dims, std::vector<std::uint8_t> data) {
    dims = normalDims(std::move(dims));
    checkSize(product(dims), data.size(), "uint8");
    Value v;
    v.cls_ = ClassId::UInt8;
    v.dims_ = std::move(dims);
    if (!data.empty()) v.own().bytes = std::move(data);
    return v;
}

Value Value::cell(std::size_t rows, std::size_t cols, Values items) {
    if (items.size() > rows * cols) throw Error("cell: more items than cells.");
    items.resize(rows * cols);
    Value v;
    v.cls_ = ClassId::Cell;
    v.dims_ = {rows, cols};
    if (!items.empty()) v.own().cells = std::move(items);
    return v;
}

Value Value::structure() {
    Value v;
    v.cls_ = ClassId::Struct;
    v.dims_ = {1, 1};
    return v;
}

std::string Value::className() const {
    switch (cls_) {
        case ClassId::Double:
            return "double";
        case ClassId::Char:
            return "char";
        case ClassId::Logical:
            return "logical";
        case ClassId::UInt8:
            return "uint8";
        case ClassId::Cell:
            return "cell";
        case ClassId::Struct:
            return "struct";
    }
    return "double";
}

std::size_t Value::numel() const { return product(dims_); }

double Value::at(std::size_t i) const {
    if (i >= numel()) throw Error("Index exceeds matrix dimensions.");
    switch (cls_) {
        case ClassId::Double:
        case ClassId::Logical:
            return data().re[i];
        case ClassId::Char:
            return static_cast<double>(data().chars[i]);
        case ClassId::UInt8:
            return static_cast<double>(data().bytes[i]);
        default:
            throw Error("Conversion to double from " + className() + " is not possible.");
    }
}

double Value::scalar() const {
    if (cls_ == ClassId::Cell || cls_ == ClassId::Struct)
        throw Error("Conversion to double from " + className() + " is not possible.");
    if (isEmpty()) throw Error("Index exceeds matrix dimensions.");
    return at(0);
}

std::vector<double> Value::real() const {
    switch (cls_) {
        case ClassId::Double:
        case ClassId::Logical:
            return data().re;
        case ClassId::Char:
            return std::vector<double>(data().chars.begin(), data().chars.end());
        case ClassId::UInt8:
            return std::vector<double>(data().bytes.begin(), data().bytes.end());
        default:
            throw Error("Conversion to double from " + className() + " is not possible.");
    }
}

std::vector<double> Value::imag() const {
    if (cls_ == ClassId::Cell || cls_ == ClassId::Struct)
        throw Error("Conversion to double from " + className() + " is not possible.");
    if (isComplex()) return data().im;
    return std::vector<double>(numel(), 0.0);
}

std::vector<std::complex<double>> Value::complexData() const {
    const std::vector<double> r = real();
    const bool cx = isComplex();
    std::vector<std::complex<double>> out(r.size());
    for (std::size_t i = 0; i < r.size(); ++i) out[i] = {r[i], cx ? data().im[i] : 0.0};
    return out;
}

const std::u16string& Value::charData() const {
    if (cls_ != ClassId::Char)
        throw Error("Expected a text (char) value, got " + className() + ".");
    return data().chars;
}

std::u16string Value::rowText(std::size_t r) const {
    charData();
    if (r >= rows()) throw Error("Index exceeds matrix dimensions.");
    const std::size_t n = rows(), c = numel() / std::max<std::size_t>(n, 1);
    const std::u16string& chars = data().chars;
    std::u16string s(c, u' ');
    for (std::size_t j = 0; j < c; ++j) s[j] = chars[j * n + r];
    return s;
}

std::vector<std::u16string> Value::rowTexts() const {
    charData();
    // Rows of an empty text cost nothing to claim; listing billions of them would hang.
    if (rows() > kMaxListedRows && numel() == 0)
        throw Error("A text of " + std::to_string(rows()) + " empty rows is too large to list.");
    std::vector<std::u16string> out;
    out.reserve(rows());
    for (std::size_t r = 0; r < rows(); ++r) out.push_back(rowText(r));
    return out;
}

std::u16string Value::text16() const {
    charData();
    if (rows() <= 1 || data().chars.empty()) return data().chars;
    std::u16string s;
    s.reserve(data().chars.size());
    for (std::size_t r = 0; r < rows(); ++r) s += rowText(r);
    return s;
}

std::string Value::text() const { return utf8(text16()); }

const Values& Value::cells() const { return data().cells; }

Values& Value::cells() { return own().cells; }

const Value& Value::cellAt(std::size_t i) const {
    if (cls_ != ClassId::Cell) throw Error("Cell contents reference from a non-cell array object.");
    if (i >= data().cells.size()) throw Error("Index exceeds matrix dimensions.");
    return data().cells[i];
}

bool Value::isField(const std::string& name) const {
    const auto& names = data().fieldNames;
    return cls_ == ClassId::Struct && std::find(names.begin(), names.end(), name) != names.end();
}

const Value& Value::field(const std::string& name) const {
    if (cls_ != ClassId::Struct) throw Error("Attempt to reference field of non-structure array.");
    const Data& d = data();
    auto it = std::find(d.fieldNames.begin(), d.fieldNames.end(), name);
    if (it == d.fieldNames.end()) throw Error("Reference to non-existent field '" + name + "'.");
    return d.cells[static_cast<std::size_t>(it - d.fieldNames.begin())];
}

Value& Value::setField(const std::string& name, Value v) {
    if (cls_ != ClassId::Struct) {
        if (!(cls_ == ClassId::Double && isEmpty()))
            throw Error("Field assignment to a non-structure array object.");
        *this = structure();
    }
    Data& d = own();
    auto it = std::find(d.fieldNames.begin(), d.fieldNames.end(), name);
    if (it != d.fieldNames.end()) {
        Value& slot = d.cells[static_cast<std::size_t>(it - d.fieldNames.begin())];
        slot = std::move(v);
        return slot;
    }
    d.fieldNames.push_back(name);
    d.cells.push_back(std::move(v));
    return d.cells.back();
}

bool Value::isTrue() const {
    if (cls_ == ClassId::Cell || cls_ == ClassId::Struct)
        throw Error("Conversion to logical from " + className() + " is not possible.");
    if (isEmpty()) return false;
    for (std::size_t i = 0; i < numel(); ++i) {
        const double x = at(i);  // NaN is non-zero
        if (x == 0.0 && !(isComplex() && data().im[i] != 0.0)) return false;
    }
    return true;
}

bool Value::equals(const Value& o) const {
    if (cls_ != o.cls_ || dims_ != o.dims_) return false;
    const Data &d = data(), &e = o.data();
    switch (cls_) {
        case ClassId::Double:
        case ClassId::Logical: {
            if (d.re != e.re) return false;  // NaN compares unequal
            const bool a = isComplex(), b = o.isComplex();
            for (std::size_t i = 0; (a || b) && i < d.re.size(); ++i) {
                const double x = a ? d.im[i] : 0.0, y = b ? e.im[i] : 0.0;
                if (!(x == y)) return false;
            }
            return true;
        }
        case ClassId::Char:
            return d.chars == e.chars;
        case ClassId::UInt8:
            return d.bytes == e.bytes;
        case ClassId::Cell:
            for (std::size_t i = 0; i < d.cells.size(); ++i)
                if (!d.cells[i].equals(e.cells[i])) return false;
            return true;
        case ClassId::Struct:
            // Field order does not make two records different.
            if (d.fieldNames.size() != e.fieldNames.size()) return false;
            for (std::size_t i = 0; i < d.fieldNames.size(); ++i) {
                if (!o.isField(d.fieldNames[i])) return false;
                if (!d.cells[i].equals(o.field(d.fieldNames[i]))) return false;
            }
            return true;
    }
    return false;
}

void Value::reshape(std::vector<std::size_t> dims) {
    if (cls_ == ClassId::Struct) throw Error("A record cannot be reshaped.");
    dims = normalDims(std::move(dims));
    if (product(dims) != numel()) throw Error("To RESHAPE the number of elements must not change.");
    if (dims.size() > 2 && cls_ != ClassId::UInt8)
        throw Error("Only uint8 images may have more than two dimensions.");
    dims_ = std::move(dims);
}

// Invalid UTF-8 bytes are taken as Latin-1 so that texts from older files survive.
std::u16string utf16(const std::string& s) {
    std::u16string out;
    out.reserve(s.size());
    const std::size_t n = s.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        std::size_t len = 0;
        char32_t cp = 0;
        if (c < 0x80) {
            len = 1;
            cp = c;
        } else if ((c & 0xE0) == 0xC0) {
            len = 2;
            cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            len = 3;
            cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            len = 4;
            cp = c & 0x07;
        }
        bool ok = len > 0 && i + len <= n;
        for (std::size_t k = 1; ok && k < len; ++k) {
            const unsigned char d = static_cast<unsigned char>(s[i + k]);
            if ((d & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (d & 0x3F);
        }
        if (ok) {
            static const char32_t minimum[5] = {0, 0, 0x80, 0x800, 0x10000};
            if (cp < minimum[len] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) ok = false;
        }
        if (!ok) {
            out.push_back(static_cast<char16_t>(c));
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += len;
    }
    return out;
}

std::string utf8(const std::u16string& t) {
    std::string out;
    out.reserve(t.size());
    const std::size_t n = t.size();
    for (std::size_t i = 0; i < n; ++i) {
        char32_t cp = t[i];
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < n && t[i + 1] >= 0xDC00 && t[i + 1] <= 0xDFFF) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (t[i + 1] - 0xDC00);
            ++i;
        } else if (cp >= 0xD800 && cp <= 0xDFFF) {
            cp = 0xFFFD;  // a lone surrogate has no UTF-8 form
        }
        if (cp < 0x80) {
            out.push_back(static_cast<char>(cp));
        } else if (cp < 0x800) {
            out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else if (cp < 0x10000) {
            out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        } else {
            out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
            out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
        }
    }
    return out;
}

}  // namespace rt
