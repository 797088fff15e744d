#include "runtime/value/num2str.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "runtime/dispatch/error.h"
#include "runtime/value/sprintf.h"

namespace rt {

namespace {

bool isWhole(double x) { return !std::isfinite(x) || x == std::floor(x); }

// Significant digits for non-whole numbers of largest magnitude `mag`.
int digitsFor(double mag) {
    if (!(mag > 0) || !std::isfinite(mag)) return 5;
    return std::max(5, static_cast<int>(std::floor(std::log10(mag))) + 5);
}

std::string formatOne(double x, bool whole, int digits) {
    if (std::isnan(x)) return "NaN";
    if (std::isinf(x)) return x < 0 ? "-Inf" : "Inf";
    char buf[400];
    if (whole) {
        std::snprintf(buf, sizeof buf, "%.0f", x == 0 ? 0.0 : x);  // no "-0"
    } else {
        // Beyond 17 digits a double has nothing more to say.
        std::snprintf(buf, sizeof buf, "%.*g", std::min(digits, 17), x);
    }
    return buf;
}

std::string formatComplex(double re, double im, bool whole, int digits) {
    std::string s = formatOne(re, whole, digits);
    std::string t = formatOne(std::fabs(im), whole, digits);
    const bool negative = im < 0 || (std::isnan(im) && std::signbit(im));
    return s + (negative ? "-" : "+") + t + "i";
}

}  // namespace

std::string num2str(double x) { return formatOne(x, isWhole(x), digitsFor(std::fabs(x))); }

std::string num2str(double x, const std::string& format) { return formatUtf8(format, {Value(x)}); }

Value num2str(const Value& x) {
    if (x.isChar()) return x;
    if (x.isCell() || x.isStruct())
        throw Error("num2str needs a numeric value, not a " + x.className() + ".");
    if (x.isEmpty()) return Value("");
    if (x.ndims() > 2) throw Error("num2str needs a two-dimensional value.");
    const std::vector<double> re = x.real();
    const std::vector<double> im = x.imag();
    const bool cx = x.isComplex();
    bool whole = true;
    double mag = 0;
    for (std::size_t i = 0; i < re.size(); ++i) {
        whole = whole && isWhole(re[i]) && (!cx || isWhole(im[i]));
        if (std::isfinite(re[i])) mag = std::max(mag, std::fabs(re[i]));
        if (cx && std::isfinite(im[i])) mag = std::max(mag, std::fabs(im[i]));
    }
    const int digits = digitsFor(mag);
    const std::size_t r = x.rows(), c = x.cols();
    std::vector<std::string> cells(re.size());
    std::size_t width = 0;
    for (std::size_t i = 0; i < re.size(); ++i) {
        cells[i] =
            cx ? formatComplex(re[i], im[i], whole, digits) : formatOne(re[i], whole, digits);
        width = std::max(width, cells[i].size());
    }
    std::vector<std::string> rows(r);
    for (std::size_t i = 0; i < r; ++i)
        for (std::size_t j = 0; j < c; ++j) {
            const std::string& s = cells[j * r + i];
            rows[i] += (j ? "  " : "") + std::string(width - s.size(), ' ') + s;
        }
    // The common leading blanks carry nothing.
    std::size_t lead = std::string::npos;
    for (const auto& row : rows) lead = std::min(lead, row.find_first_not_of(' '));
    if (lead == std::string::npos) lead = 0;
    for (auto& row : rows) row.erase(0, lead);
    if (r == 1) return Value(rows[0]);
    return Value::charMatrix(rows);
}

Value num2str(const Value& x, const Value& format) {
    if (!format.isChar()) throw Error("num2str: the format must be a text.");
    if (x.isChar()) return x;
    if (x.isCell() || x.isStruct())
        throw Error("num2str needs a numeric value, not a " + x.className() + ".");
    if (x.isEmpty()) return Value("");
    if (x.ndims() > 2) throw Error("num2str needs a two-dimensional value.");
    const std::u16string f = format.text16();
    std::vector<std::u16string> rows;
    for (std::size_t i = 0; i < x.rows(); ++i) {
        std::vector<double> v(x.cols());
        for (std::size_t j = 0; j < x.cols(); ++j) v[j] = x.at(j * x.rows() + i);
        rows.push_back(formatText(f, {Value::row(std::move(v))}));
    }
    if (rows.size() == 1) return Value(rows[0]);
    return Value::charMatrix(rows);
}

}  // namespace rt
