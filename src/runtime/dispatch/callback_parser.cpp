#include <charconv>
#include <cmath>
#include <limits>

#include "runtime/dispatch/callback.h"
#include "runtime/dispatch/error.h"

namespace rt {

namespace {

constexpr int kMaxDepth = 64;

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isIdentChar(char c) { return isLetter(c) || isDigit(c) || c == '_'; }
bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

class Parser {
public:
    explicit Parser(std::string_view text) : s_(text) {}

    std::vector<CallbackCall> program() {
        std::vector<CallbackCall> out;
        for (;;) {
            skipBlanks();
            if (atEnd()) return out;
            if (isSep(peek())) {  // empty statement, e.g. a trailing ";"
                ++pos_;
                continue;
            }
            out.push_back(call(0));
            skipBlanks();
            if (atEnd()) return out;
            if (!isSep(peek())) fail("expected ';' or ',' between statements");
            ++pos_;
        }
    }

private:
    static bool isSep(char c) { return c == ';' || c == ',' || c == '\n'; }

    bool atEnd() const { return pos_ >= s_.size(); }
    char peek(std::size_t ahead = 0) const {
        return pos_ + ahead < s_.size() ? s_[pos_ + ahead] : '\0';
    }
    void skipBlanks() {
        while (!atEnd() && isBlank(s_[pos_])) ++pos_;
    }
    // Inside parentheses and rows a line break is only white space.
    void skipSpace() {
        while (!atEnd() && (isBlank(s_[pos_]) || s_[pos_] == '\n')) ++pos_;
    }

    [[noreturn]] void fail(const std::string& what) const {
        std::string shown(s_.substr(0, 200));
        if (s_.size() > 200) shown += "...";
        throw Error("Syntax error in callback \"" + shown + "\" at character " +
                    std::to_string(pos_ + 1) + ": " + what + ".");
    }

    std::string ident() {
        if (!isLetter(peek())) fail("expected a function name");
        const std::size_t start = pos_;
        while (!atEnd() && isIdentChar(s_[pos_])) ++pos_;
        return std::string(s_.substr(start, pos_ - start));
    }

    CallbackCall call(int depth) {
        if (depth > kMaxDepth) fail("calls nested too deeply");
        CallbackCall c;
        c.offset = pos_;
        c.name = ident();
        const std::size_t afterName = pos_;
        skipBlanks();
        if (peek() != '(') {
            pos_ = afterName;
            return c;
        }
        ++pos_;
        skipSpace();
        if (peek() == ')') {
            ++pos_;
            return c;
        }
        for (;;) {
            c.args.push_back(expr(depth));
            skipSpace();
            if (peek() == ')') {
                ++pos_;
                return c;
            }
            if (peek() != ',') fail("expected ',' or ')' in the arguments of '" + c.name + "'");
            ++pos_;
            skipSpace();
        }
    }

    CallbackArg expr(int depth) {
        CallbackArg a;
        const char c = peek();
        if (c == '\'') {
            a.kind = CallbackArg::Kind::Text;
            a.text = text();
        } else if (c == '[') {
            a.kind = CallbackArg::Kind::Row;
            a.numbers = row();
        } else if (startsNumber()) {
            a.kind = CallbackArg::Kind::Number;
            a.numbers.push_back(number());
        } else if (isLetter(c)) {
            a.kind = CallbackArg::Kind::Call;
            a.call.push_back(call(depth + 1));
        } else {
            fail("expected a text, a number, a [row] or a call");
        }
        return a;
    }

    std::string text() {
        ++pos_;  // opening apostrophe
        std::string out;
        for (;;) {
            if (atEnd()) fail("text not closed by an apostrophe");
            const char c = s_[pos_++];
            if (c != '\'') {
                out += c;
            } else if (peek() == '\'') {
                out += '\'';
                ++pos_;
            } else {
                return out;
            }
        }
    }

    std::vector<double> row() {
        ++pos_;  // '['
        std::vector<double> out;
        skipSpace();
        if (peek() == ']') {
            ++pos_;
            return out;
        }
        for (;;) {
            if (atEnd()) fail("row not closed by ']'");
            if (!startsNumber()) fail("expected a number in a row");
            out.push_back(number());
            const std::size_t before = pos_;
            skipSpace();
            if (peek() == ']') {
                ++pos_;
                return out;
            }
            if (peek() == ',') {
                ++pos_;
                skipSpace();
            } else if (atEnd()) {
                fail("row not closed by ']'");
            } else if (pos_ == before) {
                fail("expected a blank or ',' between the numbers of a row");
            }
        }
    }

    bool startsNumber() const {
        std::size_t i = 0;
        if (peek() == '+' || peek() == '-') i = 1;
        const char c = peek(i);
        if (isDigit(c)) return true;
        if (c == '.') return isDigit(peek(i + 1));
        return word(i, "NaN") || word(i, "Inf");
    }

    // The word at pos_+i, not followed by a name character.
    bool word(std::size_t i, std::string_view w) const {
        if (pos_ + i > s_.size()) return false;
        return s_.substr(pos_ + i, w.size()) == w && !isIdentChar(peek(i + w.size()));
    }

    double number() {
        bool negative = false;
        if (peek() == '+' || peek() == '-') {
            negative = peek() == '-';
            ++pos_;
        }
        double v;
        if (word(0, "NaN")) {
            pos_ += 3;
            v = std::numeric_limits<double>::quiet_NaN();
        } else if (word(0, "Inf")) {
            pos_ += 3;
            v = std::numeric_limits<double>::infinity();
        } else {
            v = decimal();
        }
        if (isIdentChar(peek()) || peek() == '.' || peek() == '\'') fail("malformed number");
        return negative ? -v : v;
    }

    // digits [. [digits]] | . digits, then an optional exponent; pos_ at the first character.
    double decimal() {
        const std::size_t start = pos_;
        while (isDigit(peek())) ++pos_;
        const bool intDigits = pos_ > start;
        if (peek() == '.') {
            ++pos_;
            const std::size_t frac = pos_;
            while (isDigit(peek())) ++pos_;
            if (!intDigits && pos_ == frac) fail("malformed number");
        }
        bool expNegative = false;
        if (peek() == 'e' || peek() == 'E') {
            ++pos_;
            if (peek() == '+' || peek() == '-') {
                expNegative = peek() == '-';
                ++pos_;
            }
            if (!isDigit(peek())) fail("malformed exponent");
            while (isDigit(peek())) ++pos_;
        }
        // from_chars ignores the locale, unlike strtod under a GUI that set one.
        const char* first = s_.data() + start;
        const char* last = s_.data() + pos_;
        double v = 0.0;
        const auto [ptr, ec] = std::from_chars(first, last, v);
        if (ec == std::errc::result_out_of_range)
            return expNegative ? 0.0 : std::numeric_limits<double>::infinity();
        if (ec != std::errc() || ptr != last) fail("malformed number");
        return v;
    }

    std::string_view s_;
    std::size_t pos_ = 0;
};

}  // namespace

std::vector<CallbackCall> parseCallback(std::string_view utf8) { return Parser(utf8).program(); }

}  // namespace rt
