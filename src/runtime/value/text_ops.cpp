// lower, strrep, findstr, deblank, fileparts, strmatch.
#include "runtime/value/text_ops.h"

#include "runtime/dispatch/error.h"

namespace rt {

namespace {

bool isBlank(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f' ||
           c == u'\0';
}

// Applies a text function to a char value row by row or to each text of a cell.
template <class F>
Value perText(const Value& a, F f) {
    if (a.isCell()) {
        Value out = a;
        for (Value& item : out.cells()) item = perText(item, f);
        return out;
    }
    if (!a.isChar()) throw Error("Input must be a text or a cell of texts.");
    if (a.rows() <= 1) return Value(f(a.charData()));
    std::vector<std::u16string> rows;
    for (const auto& r : a.rowTexts()) rows.push_back(f(r));
    return Value::charMatrix(rows);
}

}  // namespace

std::string lowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::u16string lower(std::u16string s) {
    for (char16_t& c : s) {
        if (c >= u'A' && c <= u'Z')
            c = static_cast<char16_t>(c + 32);
        else if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
            c = static_cast<char16_t>(c + 32);
    }
    return s;
}

Value lower(const Value& a) {
    if (a.isCell()) {
        Value out = a;
        for (Value& item : out.cells()) item = lower(item);
        return out;
    }
    if (!a.isChar()) return a;
    return Value::chars(a.rows(), a.cols(), lower(a.charData()));
}

std::u16string strrep(const std::u16string& s, const std::u16string& from,
                      const std::u16string& to) {
    if (from.empty()) return s;
    std::u16string out;
    std::size_t i = 0;
    for (std::size_t k; (k = s.find(from, i)) != std::u16string::npos; i = k + from.size())
        out += s.substr(i, k - i) + to;
    out += s.substr(i);
    return out;
}

Value strrep(const Value& s, const Value& from, const Value& to) {
    const std::u16string f = from.isEmpty() ? u"" : from.text16();
    const std::u16string t = to.isEmpty() ? u"" : to.text16();
    if (s.isChar() && s.isEmpty()) return s;
    return perText(s, [&](const std::u16string& x) { return strrep(x, f, t); });
}

std::vector<std::size_t> findstr(const std::u16string& a, const std::u16string& b) {
    const std::u16string& hay = b.size() > a.size() ? b : a;
    const std::u16string& needle = b.size() > a.size() ? a : b;
    std::vector<std::size_t> pos;
    if (needle.empty()) return pos;
    for (std::size_t k = hay.find(needle); k != std::u16string::npos; k = hay.find(needle, k + 1))
        pos.push_back(k + 1);
    return pos;
}

Value findstr(const Value& a, const Value& b) {
    auto text = [](const Value& v) { return v.isEmpty() ? std::u16string() : v.text16(); };
    const std::vector<std::size_t> p = findstr(text(a), text(b));
    return Value::row(std::vector<double>(p.begin(), p.end()));
}

std::u16string deblank(const std::u16string& s) {
    std::size_t n = s.size();
    while (n > 0 && isBlank(s[n - 1])) --n;
    return s.substr(0, n);
}

Value deblank(const Value& a) {
    if (a.isCell()) {
        Value out = a;
        for (Value& item : out.cells()) item = deblank(item);
        return out;
    }
    if (!a.isChar()) throw Error("Input must be a text or a cell of texts.");
    if (a.rows() <= 1) {
        const std::u16string d = deblank(a.charData());
        return d.empty() && a.isEmpty() ? a
                                        : (d.empty() ? Value::chars(a.rows(), 0, u"") : Value(d));
    }
    // A column is kept while any row has a non-blank in it or after it.
    std::size_t keep = 0;
    for (const auto& r : a.rowTexts()) keep = std::max(keep, deblank(r).size());
    std::u16string data;
    const auto& d = a.charData();
    data.assign(d.begin(), d.begin() + static_cast<std::ptrdiff_t>(keep * a.rows()));
    return Value::chars(a.rows(), keep, std::move(data));
}

PathParts fileparts(const std::u16string& path) {
    PathParts p;
    const std::size_t slash = path.rfind(u'/');
    std::u16string rest = path;
    if (slash != std::u16string::npos) {
        p.dir = slash == 0 ? u"/" : path.substr(0, slash);
        rest = path.substr(slash + 1);
    }
    const std::size_t dot = rest.rfind(u'.');
    if (dot == std::u16string::npos) {
        p.name = rest;
    } else {
        p.name = rest.substr(0, dot);
        p.ext = rest.substr(dot);
    }
    return p;
}

Value strmatch(const Value& text, const Value& list) {
    const std::u16string t = text.isEmpty() ? u"" : text.text16();
    std::vector<std::u16string> rows;
    if (list.isCell()) {
        for (const Value& item : list.cells())
            rows.push_back(item.isChar() && !item.isEmpty() ? item.text16() : u"");
    } else if (list.isChar()) {
        rows = list.rowTexts();
    } else {
        throw Error("strmatch needs a list of texts.");
    }
    std::vector<double> hits;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].compare(0, t.size(), t) == 0 && rows[i].size() >= t.size())
            hits.push_back(static_cast<double>(i + 1));
    return Value::column(std::move(hits));
}

}  // namespace rt
