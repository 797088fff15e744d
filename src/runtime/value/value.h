// The dynamic array value of the run-time: what crosses callback strings, get/set,
// UserData, parameter files and the table of functions callable by name.
// Everything is a 2-D array stored column by column (uint8 images may be M x N x 3).
// Inside the system's functions, code works on typed data (Eigen, std types) and
// converts at the edge with the helpers below.
#pragma once

#include <complex>
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace rt {

enum class ClassId { Double, Char, Logical, UInt8, Cell, Struct };

class Value;
using Values = std::vector<Value>;

// One array value with value semantics. Copies share their elements until one of them is
// written (copy on write), so passing, storing and returning arrays costs no element copy.
// A reference from a non-const accessor (re(), im(), cells(), setField()) is for writing now:
// it is valid until the value is next copied, assigned or changed by another call.
class Value {
public:
    // The default value is the 0x0 double empty "[]".
    Value();
    Value(double x);                    // 1x1 real double
    Value(std::complex<double> z);      // 1x1 complex double
    Value(const char* utf8);            // 1xN char row (UTF-8 decoded to 16-bit units)
    Value(const std::string& utf8);     // 1xN char row
    Value(const std::u16string& text);  // 1xN char row

    // Constructors of every class and shape. Data are column-major; sizes must match.
    static Value empty(std::size_t rows = 0, std::size_t cols = 0);  // double empty of that shape
    static Value zeros(std::size_t rows, std::size_t cols);
    static Value matrix(std::size_t rows, std::size_t cols, std::vector<double> re,
                        std::vector<double> im = {});  // im empty: real
    static Value row(std::vector<double> v);           // no elements: the 0x0 empty
    static Value column(std::vector<double> v);        // no elements: the 0x1 empty column
    static Value logical(std::size_t rows, std::size_t cols, std::vector<double> v);  // 0/1
    static Value logical(bool b);
    static Value chars(std::size_t rows, std::size_t cols, std::u16string data);  // column-major
    // Rows padded with blanks to the longest (the run-time's list of texts).
    static Value charMatrix(const std::vector<std::u16string>& rows);
    static Value charMatrix(const std::vector<std::string>& utf8Rows);
    static Value uint8(std::vector<std::size_t> dims, std::vector<std::uint8_t> data);
    static Value cell(std::size_t rows, std::size_t cols, Values items = {});  // missing items: []
    static Value structure();  // 1x1 record without fields

    ClassId classId() const { return cls_; }
    std::string className() const;  // "double", "char", "logical", "uint8", "cell", "struct"
    const std::vector<std::size_t>& dims() const { return dims_; }
    std::size_t rows() const { return dims_[0]; }
    std::size_t cols() const { return dims_[1]; }
    std::size_t ndims() const { return dims_.size(); }
    std::size_t numel() const;
    bool isEmpty() const { return numel() == 0; }
    bool isScalar() const { return numel() == 1; }
    bool isVector() const { return ndims() == 2 && (rows() == 1 || cols() == 1); }

    bool isDouble() const { return cls_ == ClassId::Double; }
    bool isChar() const { return cls_ == ClassId::Char; }
    bool isLogical() const { return cls_ == ClassId::Logical; }
    bool isUInt8() const { return cls_ == ClassId::UInt8; }
    bool isCell() const { return cls_ == ClassId::Cell; }
    bool isStruct() const { return cls_ == ClassId::Struct; }
    bool isNumeric() const { return cls_ == ClassId::Double || cls_ == ClassId::UInt8; }
    bool isComplex() const;

    // Numeric view: double, logical, char (codes) and uint8 all read as doubles.
    // Throws rt::Error for cell and struct.
    double scalar() const;                     // first element; error when empty
    double at(std::size_t linearIndex) const;  // 0-based, real part
    std::vector<double> real() const;          // all elements, column-major
    std::vector<double> imag() const;          // zeros when real
    std::vector<std::complex<double>> complexData() const;
    // Direct storage (double and logical only); im() is empty for a real value. The const
    // forms read in place; the others first give this value elements of its own (a copy when
    // they are shared), so read through a const reference.
    const std::vector<double>& re() const;
    const std::vector<double>& im() const;
    std::vector<double>& re();
    std::vector<double>& im();

    // Char view. Throws rt::Error if not char.
    const std::u16string& charData() const;  // column-major code units
    std::u16string text16() const;           // rows concatenated row by row (a 1xN row: the text)
    std::string text() const;                // same, as UTF-8
    // Each row, padding kept. rt::Error for an empty text of more than kMaxListedRows rows.
    std::vector<std::u16string> rowTexts() const;
    static constexpr std::size_t kMaxListedRows = 65535;
    std::u16string rowText(std::size_t r) const;

    const std::vector<std::uint8_t>& bytes() const;

    // Cell view.
    const Values& cells() const;
    Values& cells();
    const Value& cellAt(std::size_t linearIndex) const;

    // Struct view (1x1 records; field order is creation order).
    bool isField(const std::string& name) const;
    const Value& field(const std::string& name) const;  // rt::Error when missing
    Value& setField(const std::string& name, Value v);  // adds or replaces; turns [] into a record
    const std::vector<std::string>& fieldNames() const;

    // Truth in a condition: non-empty and every element non-zero.
    bool isTrue() const;

    // Same class, shape and elements (NaN != NaN).
    bool equals(const Value& other) const;
    // Whether `other` is a copy of this value that neither has written since: same class and
    // shape over the same shared elements, so alike whatever they hold (NaN included).
    bool isCopyOf(const Value& other) const {
        return data_ && data_ == other.data_ && cls_ == other.cls_ && dims_ == other.dims_;
    }

    void reshape(std::vector<std::size_t> dims);  // same numel, else rt::Error

private:
    struct Data;
    const Data& data() const;
    Data& own();  // unshared elements, ready to be written

    ClassId cls_ = ClassId::Double;
    std::vector<std::size_t> dims_{0, 0};
    std::shared_ptr<Data> data_;  // null: no elements of any kind
};

// The elements of a value; only the member of its class is used.
struct Value::Data {
    std::vector<double> re, im;       // double and logical
    std::u16string chars;             // char
    std::vector<std::uint8_t> bytes;  // uint8
    Values cells;                     // cell; struct field values (parallel to fieldNames)
    std::vector<std::string> fieldNames;
};

inline const Value::Data& Value::data() const {
    static const Data none;
    return data_ ? *data_ : none;
}

inline bool Value::isComplex() const {
    return cls_ == ClassId::Double && data_ && !data_->im.empty();
}
inline const std::vector<double>& Value::re() const { return data().re; }
inline const std::vector<double>& Value::im() const { return data().im; }
inline std::vector<double>& Value::re() { return own().re; }
inline std::vector<double>& Value::im() { return own().im; }
inline const std::vector<std::uint8_t>& Value::bytes() const { return data().bytes; }
inline const std::vector<std::string>& Value::fieldNames() const { return data().fieldNames; }

// UTF-8 <-> 16-bit code units.
std::u16string utf16(const std::string& utf8);
std::string utf8(const std::u16string& text);

}  // namespace rt
