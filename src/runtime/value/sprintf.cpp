#include "runtime/value/sprintf.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <vector>

#include "runtime/dispatch/error.h"

namespace rt {

namespace {

// Keeps a stray "%999999999d" from allocating gigabytes.
constexpr int kMaxField = 4096;

struct Spec {
    std::string flags;
    int width = -1;      // -1: none; -2: from the arguments
    int precision = -1;  // -1: none; -2: from the arguments
    char conv = 0;
};

struct Segment {
    std::u16string literal;  // used when conv == 0
    Spec spec;
};

std::u16string unescape(const std::u16string& f) {
    std::u16string out;
    out.reserve(f.size());
    for (std::size_t i = 0; i < f.size(); ++i) {
        if (f[i] != u'\\' || i + 1 == f.size()) {
            out.push_back(f[i]);
            continue;
        }
        const char16_t c = f[i + 1];
        char16_t r = 0;
        switch (c) {
            case u'n':
                r = u'\n';
                break;
            case u'r':
                r = u'\r';
                break;
            case u't':
                r = u'\t';
                break;
            case u'\\':
                r = u'\\';
                break;
            case u'a':
                r = u'\a';
                break;
            case u'b':
                r = u'\b';
                break;
            case u'f':
                r = u'\f';
                break;
            case u'v':
                r = u'\v';
                break;
            default:
                break;
        }
        if (r) {
            out.push_back(r);
            ++i;
        } else {
            out.push_back(f[i]);  // an unknown escape stays as written
        }
    }
    return out;
}

int readNumber(const std::u16string& f, std::size_t& i) {
    long v = 0;
    while (i < f.size() && f[i] >= u'0' && f[i] <= u'9') {
        v = std::min<long>(v * 10 + (f[i] - u'0'), kMaxField);
        ++i;
    }
    return static_cast<int>(v);
}

std::vector<Segment> parse(const std::u16string& f) {
    std::vector<Segment> segs;
    std::u16string lit;
    auto flush = [&] {
        if (!lit.empty()) segs.push_back({lit, {}});
        lit.clear();
    };
    for (std::size_t i = 0; i < f.size();) {
        if (f[i] != u'%') {
            lit.push_back(f[i++]);
            continue;
        }
        std::size_t j = i + 1;
        if (j < f.size() && f[j] == u'%') {
            lit.push_back(u'%');
            i = j + 1;
            continue;
        }
        Spec s;
        while (j < f.size() &&
               (f[j] == u'-' || f[j] == u'+' || f[j] == u' ' || f[j] == u'0' || f[j] == u'#'))
            s.flags.push_back(static_cast<char>(f[j++]));
        if (j < f.size() && f[j] == u'*') {
            s.width = -2;
            ++j;
        } else if (j < f.size() && f[j] >= u'0' && f[j] <= u'9')
            s.width = readNumber(f, j);
        if (j < f.size() && f[j] == u'.') {
            ++j;
            if (j < f.size() && f[j] == u'*') {
                s.precision = -2;
                ++j;
            } else
                s.precision = readNumber(f, j);
        }
        // Length modifiers carry no meaning for doubles.
        while (j < f.size() && (f[j] == u'l' || f[j] == u'h')) ++j;
        static const std::u16string convs = u"diuoxXfFeEgGsc";
        if (j < f.size() && convs.find(f[j]) != std::u16string::npos) {
            s.conv = static_cast<char>(f[j]);
            flush();
            segs.push_back({{}, s});
            i = j + 1;
        } else {
            // Not a conversion: the text stands as written.
            lit += f.substr(i, j - i);
            i = j;
        }
    }
    flush();
    return segs;
}

// The elements of all arguments, consumed in order.
class Cursor {
public:
    explicit Cursor(const Values& args) {
        for (const Value& v : args) {
            if (v.isCell() || v.isStruct())
                throw Error("Function sprintf is not defined for '" + v.className() + "' inputs.");
            if (v.isEmpty()) continue;
            args_.push_back(&v);
            if (!v.isChar())
                nums_.push_back(v.real());
            else
                nums_.emplace_back();
        }
    }
    bool more() const { return arg_ < args_.size(); }
    bool atChar() const { return more() && args_[arg_]->isChar(); }
    double number() {
        const Value& v = *args_[arg_];
        const double x = v.isChar() ? static_cast<double>(v.charData()[pos_]) : nums_[arg_][pos_];
        advance(1);
        return x;
    }
    std::u16string restOfText() {
        const std::u16string& d = args_[arg_]->charData();
        std::u16string s = d.substr(pos_);
        advance(d.size() - pos_);
        return s;
    }

private:
    void advance(std::size_t k) {
        pos_ += k;
        if (pos_ >= args_[arg_]->numel()) {
            ++arg_;
            pos_ = 0;
        }
    }
    std::vector<const Value*> args_;
    std::vector<std::vector<double>> nums_;
    std::size_t arg_ = 0, pos_ = 0;
};

bool has(const std::string& flags, char c) { return flags.find(c) != std::string::npos; }

std::u16string pad(std::u16string s, const Spec& sp, bool zeroAllowed) {
    if (sp.width <= 0 || static_cast<int>(s.size()) >= sp.width) return s;
    const std::size_t n = static_cast<std::size_t>(sp.width) - s.size();
    if (has(sp.flags, '-')) return s + std::u16string(n, u' ');
    if (zeroAllowed && has(sp.flags, '0')) {
        const std::size_t sign =
            (!s.empty() && (s[0] == u'-' || s[0] == u'+' || s[0] == u' ')) ? 1 : 0;
        return s.substr(0, sign) + std::u16string(n, u'0') + s.substr(sign);
    }
    return std::u16string(n, u' ') + s;
}

// Appends x through the C formatter; the format text is built on the stack because
// this runs once per element of exports with millions of numbers.
void cformat(std::u16string& out, const Spec& sp, char conv, double x, bool asInteger) {
    char f[48];
    int k = 0;
    f[k++] = '%';
    for (char c : sp.flags)
        if (k < 12) f[k++] = c;
    if (sp.width >= 0)
        k += std::snprintf(f + k, sizeof f - static_cast<std::size_t>(k), "%d", sp.width);
    if (sp.precision >= 0)
        k += std::snprintf(f + k, sizeof f - static_cast<std::size_t>(k), ".%d", sp.precision);
    char buf[2 * kMaxField + 400];
    int n;
    if (asInteger) {
        f[k++] = 'l';
        f[k++] = 'l';
        f[k++] = conv == 'i' ? 'd' : conv;
        f[k] = '\0';
        n = std::snprintf(buf, sizeof buf, f, static_cast<long long>(x));
    } else {
        f[k++] = conv;
        f[k] = '\0';
        n = std::snprintf(buf, sizeof buf, f, x);
    }
    n = std::max(0, std::min(n, static_cast<int>(sizeof buf) - 1));
    char16_t wide[sizeof buf];
    std::copy(buf, buf + n, wide);
    out.append(wide, static_cast<std::size_t>(n));
}

std::u16string nonFinite(const Spec& sp, double x) {
    std::u16string s = std::isnan(x) ? u"NaN" : (x < 0 ? u"-Inf" : u"Inf");
    if (!std::isnan(x) && x > 0) {
        if (has(sp.flags, '+'))
            s = u"+" + s;
        else if (has(sp.flags, ' '))
            s = u" " + s;
    }
    return pad(s, sp, false);
}

void formatNumber(std::u16string& out, const Spec& sp, double x) {
    if (!std::isfinite(x)) {
        out += nonFinite(sp, x);
        return;
    }
    switch (sp.conv) {
        case 'd':
        case 'i':
        case 'u':
        case 'o':
        case 'x':
        case 'X': {
            const bool whole = x == std::floor(x) && std::fabs(x) < 9.2e18;
            const bool unsignedConv = sp.conv != 'd' && sp.conv != 'i';
            if (whole && !(unsignedConv && x < 0)) return cformat(out, sp, sp.conv, x, true);
            if (x == std::floor(x)) {  // beyond 64 bits: still whole, no exponent
                Spec w = sp;
                w.precision = 0;
                return cformat(out, w, 'f', x, false);
            }
            return cformat(out, sp, 'e', x, false);
        }
        default:
            return cformat(out, sp, sp.conv, x, false);
    }
}

std::u16string formatChar(const Spec& sp, double x) {
    if (x == std::floor(x) && x >= 0 && x <= 65535)
        return pad(std::u16string(1, static_cast<char16_t>(x)), sp, false);
    Spec e = sp;
    e.conv = 'e';
    std::u16string out;
    formatNumber(out, e, x);
    return out;
}

}  // namespace

std::u16string formatText(const std::u16string& format, const Values& args) {
    const std::vector<Segment> segs = parse(unescape(format));
    Cursor cur(args);
    std::u16string out;
    bool anyConv = false;
    for (const Segment& s : segs) anyConv |= s.spec.conv != 0;
    if (!anyConv) {
        for (const Segment& s : segs) out += s.literal;
        return out;
    }
    const bool noData = !cur.more();
    do {
        for (const Segment& s : segs) {
            if (!s.spec.conv) {
                out += s.literal;
                continue;
            }
            if (noData) continue;  // a format without data prints its text once
            Spec sp = s.spec;
            if (sp.width == -2) {
                if (!cur.more()) return out;
                const double w = cur.number();
                sp.width = std::isfinite(w)
                               ? static_cast<int>(std::min(std::fabs(w), double(kMaxField)))
                               : -1;
                if (w < 0) sp.flags += '-';
            }
            if (sp.precision == -2) {
                if (!cur.more()) return out;
                const double p = cur.number();
                sp.precision = (std::isfinite(p) && p >= 0)
                                   ? static_cast<int>(std::min(p, double(kMaxField)))
                                   : -1;
            }
            if (!cur.more()) return out;
            if (sp.conv == 's') {
                if (cur.atChar()) {
                    std::u16string t = cur.restOfText();
                    if (sp.precision >= 0 && t.size() > static_cast<std::size_t>(sp.precision))
                        t.resize(static_cast<std::size_t>(sp.precision));
                    out += pad(t, sp, false);
                } else {
                    out += formatChar(sp, cur.number());
                }
            } else if (sp.conv == 'c') {
                out += formatChar(sp, cur.number());
            } else {
                formatNumber(out, sp, cur.number());
            }
        }
    } while (cur.more());
    return out;
}

std::string formatUtf8(const std::string& format, const Values& args) {
    return utf8(formatText(utf16(format), args));
}

Value sprintf(const Value& format, const Values& args) {
    if (!format.isChar() && !format.isEmpty()) throw Error("The format must be a text.");
    return Value(formatText(format.isEmpty() ? u"" : format.text16(), args));
}

}  // namespace rt
