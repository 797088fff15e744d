// Checking and normalising property values.
#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"

namespace rt {

namespace {

[[noreturn]] void bad(const PropSpec& spec, const char* type, const std::string& why) {
    throw Error(std::string("Bad value for ") + type + " property '" + spec.name + "': " + why);
}

bool isNumericLike(const Value& v) { return v.isDouble() || v.isLogical() || v.isUInt8(); }

std::vector<double> realNumbers(const PropSpec& spec, const Value& v, const char* type) {
    if (!isNumericLike(v)) bad(spec, type, "a number is required.");
    if (v.isComplex()) bad(spec, type, "complex values are not allowed.");
    return v.real();
}

std::string textOf(const Value& v) {
    if (!v.isChar()) return {};
    if (v.rows() > 1) return {};
    return v.text();
}

}  // namespace

std::string matchEnum(const std::vector<std::string>& options, const std::string& text) {
    const std::string t = lowerAscii(text);
    if (t.empty()) return {};
    std::string found;
    int count = 0;
    for (const auto& o : options) {
        if (o == t) return o;
        if (o.compare(0, t.size(), t) == 0) {
            found = o;
            ++count;
        }
    }
    return count == 1 ? found : std::string();
}

bool colorWord(const std::string& w, std::array<double, 3>& rgb) {
    static const struct {
        const char* letter;
        const char* name;
        std::array<double, 3> rgb;
    } table[] = {{"y", "yellow", {1, 1, 0}}, {"m", "magenta", {1, 0, 1}}, {"c", "cyan", {0, 1, 1}},
                 {"r", "red", {1, 0, 0}},    {"g", "green", {0, 1, 0}},   {"b", "blue", {0, 0, 1}},
                 {"w", "white", {1, 1, 1}},  {"k", "black", {0, 0, 0}}};
    for (const auto& e : table)
        if (w == e.letter || w == e.name) {
            rgb = e.rgb;
            return true;
        }
    return false;
}

Value normalizeValue(const PropSpec& spec, const Value& v, const char* type) {
    switch (spec.kind) {
        case PropKind::Any:
            return v;
        case PropKind::Text:
            if (v.isChar() || v.isCell()) return v;
            if (v.isEmpty() && isNumericLike(v)) return Value(std::string());
            if (isNumericLike(v)) return v;  // numbers as labels (tick labels, list entries)
            bad(spec, type, "a text is required.");
        case PropKind::Callback:
            if (v.isChar() || v.isCell()) return v;
            if (v.isEmpty()) return Value(std::string());
            bad(spec, type, "a command text is required.");
        case PropKind::Enum: {
            if (!v.isChar()) bad(spec, type, "a text is required.");
            const std::string m = matchEnum(spec.options, textOf(v));
            if (m.empty()) bad(spec, type, "'" + textOf(v) + "' is not a valid choice.");
            return Value(m);
        }
        case PropKind::Number: {
            auto d = realNumbers(spec, v, type);
            if (d.size() != 1) bad(spec, type, "a single number is required.");
            return Value(d[0]);
        }
        case PropKind::Array:
            if (!isNumericLike(v)) bad(spec, type, "a numeric array is required.");
            return v;
        case PropKind::Row: {
            if (!isNumericLike(v)) bad(spec, type, "a numeric vector is required.");
            if (!v.isEmpty() && !v.isVector()) bad(spec, type, "a vector is required.");
            if (v.isEmpty()) return Value();
            if (v.isDouble() && !v.isComplex()) {
                Value r = v;  // shares the elements: only the shape changes
                r.reshape({1, v.numel()});
                return r;
            }
            return Value::row(v.real());
        }
        case PropKind::Rect: {
            auto d = realNumbers(spec, v, type);
            if (d.size() != 4)
                bad(spec, type, "four numbers [left bottom width height] are required.");
            if (d[2] < 0 || d[3] < 0) bad(spec, type, "width and height must not be negative.");
            return Value::row(d);
        }
        case PropKind::Point: {
            auto d = realNumbers(spec, v, type);
            if (d.size() != 2 && d.size() != 3)
                bad(spec, type, "two or three numbers are required.");
            if (d.size() == 2) d.push_back(0);
            return Value::row(d);
        }
        case PropKind::Pair: {
            auto d = realNumbers(spec, v, type);
            if (d.size() != 2) bad(spec, type, "two numbers are required.");
            return Value::row(d);
        }
        case PropKind::Limits: {
            auto d = realNumbers(spec, v, type);
            if (d.size() != 2) bad(spec, type, "two numbers [lower upper] are required.");
            if (std::isnan(d[0]) || std::isnan(d[1]) || !(d[0] < d[1]))
                bad(spec, type, "the lower limit must be less than the upper limit.");
            return Value::row(d);
        }
        case PropKind::Color: {
            if (v.isChar()) {
                const std::string w = lowerAscii(textOf(v));
                std::array<double, 3> rgb{};
                if (colorWord(w, rgb)) return Value::row({rgb[0], rgb[1], rgb[2]});
                const std::string m = matchEnum(spec.options, w);
                if (!m.empty()) return Value(m);
                bad(spec, type, "'" + textOf(v) + "' is not a colour.");
            }
            auto d = realNumbers(spec, v, type);
            if (d.size() != 3) bad(spec, type, "a colour is an RGB triple.");
            for (double x : d)
                if (!(x >= 0 && x <= 1)) bad(spec, type, "colour components lie between 0 and 1.");
            return Value::row(d);
        }
        case PropKind::ColorMap: {
            if (v.isEmpty()) return Value();  // the caller substitutes the default map
            auto d = realNumbers(spec, v, type);
            if (v.ndims() != 2 || v.cols() != 3) bad(spec, type, "a colour map has three columns.");
            for (double x : d)
                if (!(x >= 0 && x <= 1)) bad(spec, type, "colour map values lie between 0 and 1.");
            return Value::matrix(v.rows(), 3, d);
        }
        case PropKind::Handle: {
            if (v.isEmpty()) return Value();
            auto d = realNumbers(spec, v, type);
            if (d.size() != 1) bad(spec, type, "a single handle is required.");
            return Value(d[0]);
        }
    }
    return v;
}

}  // namespace rt
