#include "runtime/value/str2num.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace rt {

namespace {

// Limits that keep a hostile text from exhausting the stack or the memory.
constexpr std::size_t kMaxLength = 1 << 20;
constexpr int kMaxDepth = 200;
constexpr std::size_t kMaxElements = 10'000'000;

struct Fail {};

struct Mat {
    std::size_t r = 0, c = 0;
    std::vector<double> d;  // column-major
    static Mat scalar(double x) { return {1, 1, {x}}; }
    bool empty() const { return d.empty(); }
    bool isScalar() const { return d.size() == 1; }
};

Mat elementwise(const Mat& a, const Mat& b, double (*op)(double, double)) {
    if (a.isScalar() || b.isScalar() || (a.r == b.r && a.c == b.c)) {
        const Mat& shape = a.isScalar() ? b : a;
        Mat out{shape.r, shape.c, std::vector<double>(shape.d.size())};
        for (std::size_t i = 0; i < out.d.size(); ++i)
            out.d[i] = op(a.isScalar() ? a.d[0] : a.d[i], b.isScalar() ? b.d[0] : b.d[i]);
        return out;
    }
    throw Fail{};
}

Mat multiply(const Mat& a, const Mat& b) {
    if (a.isScalar() || b.isScalar())
        return elementwise(a, b, [](double x, double y) { return x * y; });
    if (a.c != b.r || a.r * b.c > kMaxElements) throw Fail{};
    Mat out{a.r, b.c, std::vector<double>(a.r * b.c, 0.0)};
    for (std::size_t j = 0; j < b.c; ++j)
        for (std::size_t k = 0; k < a.c; ++k) {
            const double y = b.d[j * b.r + k];
            for (std::size_t i = 0; i < a.r; ++i) out.d[j * a.r + i] += a.d[k * a.r + i] * y;
        }
    return out;
}

class Parser {
public:
    explicit Parser(const std::u16string& s) : s_(s) {}

    Mat parseAll() {
        Mat m = body(u'\0');
        if (i_ != s_.size()) throw Fail{};
        return m;
    }

private:
    const std::u16string& s_;
    std::size_t i_ = 0;
    int depth_ = 0;
    int parens_ = 0;  // parentheses open inside the innermost brackets

    char16_t peek(std::size_t k = 0) const { return i_ + k < s_.size() ? s_[i_ + k] : u'\0'; }
    static bool blank(char16_t c) { return c == u' ' || c == u'\t'; }
    static bool digit(char16_t c) { return c >= u'0' && c <= u'9'; }
    static bool letter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
    bool skipBlanks() {
        const std::size_t start = i_;
        while (blank(peek())) ++i_;
        return i_ != start;
    }
    bool startsOperand(char16_t c) const {
        return digit(c) || c == u'.' || letter(c) || c == u'(' || c == u'[' || c == u'+' ||
               c == u'-';
    }

    struct Guard {
        explicit Guard(int& d) : d_(d) {
            if (++d_ > kMaxDepth) throw Fail{};
        }
        ~Guard() { --d_; }
        int& d_;
    };

    // Rows of elements up to `close` (']' or the end of the text).
    Mat body(char16_t close) {
        Guard g(depth_);
        const int savedParens = parens_;
        parens_ = 0;
        std::vector<Mat> rows;
        std::vector<Mat> row;
        auto endRow = [&] {
            rows.push_back(hcat(row));
            row.clear();
        };
        for (;;) {
            skipBlanks();
            const char16_t c = peek();
            if (c == close && (close != u'\0' || i_ == s_.size())) break;
            if (c == u';' || c == u'\n' || c == u'\r') {
                ++i_;
                endRow();
                continue;
            }
            if (c == u',') {
                if (row.empty()) throw Fail{};  // ",1" has no first element
                ++i_;
                skipBlanks();
                if (!startsOperand(peek())) throw Fail{};
                continue;
            }
            if (!startsOperand(c)) throw Fail{};
            row.push_back(expr());
            // The next element needs a separator: a comma, a row end or blanks.
            const bool spaced = skipBlanks();
            const char16_t n = peek();
            if (!spaced && startsOperand(n) && n != u'+' && n != u'-') throw Fail{};
        }
        endRow();
        parens_ = savedParens;
        return vcat(rows);
    }

    static Mat hcat(const std::vector<Mat>& parts) {
        Mat out;
        for (const Mat& p : parts) {
            if (p.empty()) continue;
            if (out.empty()) {
                out = p;
                continue;
            }
            if (p.r != out.r) throw Fail{};
            out.c += p.c;
            out.d.insert(out.d.end(), p.d.begin(), p.d.end());
        }
        return out;
    }

    static Mat vcat(const std::vector<Mat>& parts) {
        std::vector<const Mat*> used;
        for (const Mat& p : parts)
            if (!p.empty()) used.push_back(&p);
        if (used.empty()) return {};
        const std::size_t c = used[0]->c;
        std::size_t r = 0;
        for (const Mat* p : used) {
            if (p->c != c) throw Fail{};
            r += p->r;
        }
        Mat out{r, c, {}};
        out.d.reserve(r * c);
        for (std::size_t j = 0; j < c; ++j)
            for (const Mat* p : used)
                for (std::size_t i = 0; i < p->r; ++i) out.d.push_back(p->d[j * p->r + i]);
        return out;
    }

    // In a list, "1 -2" holds two elements while "1 - 2" and "1-2" hold one.
    bool elementBoundary() const {
        if (parens_ > 0) return false;
        std::size_t k = i_;
        if (k == 0 || !blank(s_[k - 1])) return false;
        return k + 1 < s_.size() && !blank(s_[k + 1]);
    }

    Mat expr() {
        Guard g(depth_);
        Mat a = term();
        for (;;) {
            const std::size_t save = i_;
            skipBlanks();
            const char16_t c = peek();
            if ((c != u'+' && c != u'-') || elementBoundary()) {
                i_ = save;
                return a;
            }
            ++i_;
            skipBlanks();
            const Mat b = term();
            a = c == u'+' ? elementwise(a, b, [](double x, double y) { return x + y; })
                          : elementwise(a, b, [](double x, double y) { return x - y; });
        }
    }

    Mat term() {
        Guard g(depth_);
        Mat a = unary();
        for (;;) {
            const std::size_t save = i_;
            skipBlanks();
            const char16_t c = peek();
            if (c != u'*' && c != u'/') {
                i_ = save;
                return a;
            }
            ++i_;
            skipBlanks();
            const Mat b = unary();
            if (c == u'*') {
                a = multiply(a, b);
            } else {
                if (!b.isScalar()) throw Fail{};
                a = elementwise(a, b, [](double x, double y) { return x / y; });
            }
        }
    }

    Mat unary() {
        Guard g(depth_);
        const char16_t c = peek();
        if (c == u'+' || c == u'-') {
            ++i_;
            skipBlanks();
            Mat a = unary();
            if (c == u'-')
                for (double& x : a.d) x = -x;
            return a;
        }
        return power();
    }

    // "^" binds tighter than a leading sign and runs left to right; its exponent may
    // carry a sign ("2^-1").
    Mat power() {
        Mat a = primary();
        for (;;) {
            const std::size_t save = i_;
            skipBlanks();
            if (peek() != u'^') {
                i_ = save;
                return a;
            }
            ++i_;
            skipBlanks();
            double sign = 1;
            while (peek() == u'+' || peek() == u'-') {
                if (peek() == u'-') sign = -sign;
                ++i_;
                skipBlanks();
            }
            const Mat b = primary();
            if (!a.isScalar() || !b.isScalar()) throw Fail{};
            a = Mat::scalar(std::pow(a.d[0], sign * b.d[0]));
        }
    }

    Mat primary() {
        Guard g(depth_);
        const char16_t c = peek();
        if (c == u'(') {
            ++i_;
            ++parens_;
            skipBlanks();
            Mat a = expr();
            skipBlanks();
            if (peek() != u')') throw Fail{};
            ++i_;
            --parens_;
            return a;
        }
        if (c == u'[') {
            ++i_;
            Mat a = body(u']');
            if (peek() != u']') throw Fail{};
            ++i_;
            return a;
        }
        if (letter(c)) {
            std::size_t k = i_;
            while (k < s_.size() && (letter(s_[k]) || digit(s_[k]) || s_[k] == u'_')) ++k;
            const std::u16string name = s_.substr(i_, k - i_);
            i_ = k;
            if (name == u"pi") return Mat::scalar(3.141592653589793);
            if (name == u"Inf" || name == u"inf") return Mat::scalar(INFINITY);
            if (name == u"NaN" || name == u"nan") return Mat::scalar(NAN);
            throw Fail{};
        }
        return number();
    }

    Mat number() {
        std::string t;
        auto digits = [&] {
            std::size_t n = 0;
            while (digit(peek())) {
                t.push_back(static_cast<char>(peek()));
                ++i_;
                ++n;
            }
            return n;
        };
        std::size_t n = digits();
        if (peek() == u'.') {
            t.push_back('.');
            ++i_;
            n += digits();
        }
        if (n == 0) throw Fail{};
        if (peek() == u'e' || peek() == u'E' || peek() == u'd' || peek() == u'D') {
            t.push_back('e');
            ++i_;
            if (peek() == u'+' || peek() == u'-') {
                t.push_back(static_cast<char>(peek()));
                ++i_;
            }
            if (digits() == 0) throw Fail{};
        }
        return Mat::scalar(std::strtod(t.c_str(), nullptr));
    }
};

}  // namespace

Value str2num(const std::u16string& text) {
    if (text.size() > kMaxLength) return Value();
    try {
        Parser p(text);
        Mat m = p.parseAll();
        if (m.empty()) return Value();
        return Value::matrix(m.r, m.c, std::move(m.d));
    } catch (const Fail&) {
        return Value();
    } catch (const std::bad_alloc&) {
        return Value();
    }
}

Value str2num(const std::string& utf8Text) { return str2num(utf16(utf8Text)); }

Value str2num(const char* utf8Text) { return str2num(std::string(utf8Text ? utf8Text : "")); }

Value str2num(const Value& text) {
    if (!text.isChar()) return Value();
    if (text.rows() <= 1) return str2num(text.charData());
    // A char matrix is read row by row, as separate rows of the result.
    std::u16string joined;
    for (const auto& r : text.rowTexts()) joined += r + u"\n";
    return str2num(joined);
}

}  // namespace rt
