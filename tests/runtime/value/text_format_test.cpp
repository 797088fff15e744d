#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <sstream>

#include "runtime/dispatch/error.h"
#include "runtime/value/num2str.h"
#include "runtime/value/sprintf.h"
#include "runtime/value/str2num.h"

using rt::Value;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();
std::string fmt(const std::string& f, const rt::Values& args) { return rt::formatUtf8(f, args); }
}  // namespace

TEST(Num2str, DefaultTexts) {
    const struct {
        double x;
        const char* text;
    } cases[] = {
        {200, "200"},         {0.015, "0.015"},
        {1.369734, "1.3697"}, {6.32, "6.32"},
        {1.325, "1.325"},     {1, "1"},
        {7500, "7500"},       {16000, "16000"},
        {1.040493, "1.0405"}, {-0.0, "0"},
        {kNaN, "NaN"},        {kInf, "Inf"},
        {-kInf, "-Inf"},      {1e20, "100000000000000000000"},
        {-2.5, "-2.5"},       {123456.789, "123456.789"},
        {0.1 + 0.2, "0.3"},
    };
    for (const auto& c : cases) EXPECT_EQ(rt::num2str(c.x), c.text) << c.x;
    EXPECT_EQ(rt::num2str(Value(6.32)).text() + rt::num2str(Value(1.325)).text(), "6.321.325");
}

// Expected texts are printf's with the format the rule asks for: whole numbers as %d, others
// with max(5, floor(log10(max|x|)) + 5) significant digits.
TEST(Num2str, DefaultFormatFollowsTheSignificantDigitRule) {
    const struct {
        double x;
        const char* text;  // printf format that gives it
    } cases[] = {
        {0.123456789, "0.12346"},                    // %.5g
        {0.000123456789, "0.00012346"},              // %.5g
        {9.87654321, "9.8765"},                      // %.5g
        {12.3456789, "12.3457"},                     // %.6g
        {-12.3456789, "-12.3457"},                   // %.6g
        {123.456789, "123.4568"},                    // %.7g
        {98765.4321, "98765.4321"},                  // %.9g
        {99999.5, "99999.5"},                        // %.9g
        {123456.7891234, "123456.7891"},             // %.10g
        {1234567.891234, "1234567.8912"},            // %.11g
        {1000000000000000.5, "1000000000000000.5"},  // %.20g
        {1.5e-7, "1.5e-07"},                         // %.5g
        {-1.23456789e-10, "-1.2346e-10"},            // %.5g
        {-0.5, "-0.5"},                              // %.5g
        {42, "42"},                                  // %d
        {-7, "-7"},                                  // %d
        {-3e10, "-30000000000"},                     // %d
        {1e15, "1000000000000000"},                  // %d
    };
    for (const auto& c : cases) {
        EXPECT_EQ(rt::num2str(c.x), c.text) << c.x;
        EXPECT_EQ(rt::num2str(Value(c.x)).text(), c.text) << c.x;
    }

    // Numbers are apart by blanks, how many is left open.
    auto words = [](std::u16string row) {
        std::vector<std::string> out;
        std::istringstream in(rt::utf8(row));
        for (std::string w; in >> w;) out.push_back(w);
        return out;
    };
    // A row shares the precision of its largest magnitude (%.8g for both).
    EXPECT_EQ(rt::num2str(Value::row({1.23456789, 1234.56789})).text(), "1.2345679  1234.5679");
    EXPECT_EQ(words(rt::num2str(Value::row({kNaN, 2.5, -kInf})).text16()),
              (std::vector<std::string>{"NaN", "2.5", "-Inf"}));

    // A matrix: one text row per row, numbers in the row's order, all at %.7g.
    const Value m = rt::num2str(Value::matrix(2, 2, {0.123456789, -123.456789, 3, 0.5}));
    ASSERT_EQ(m.rows(), 2u);
    EXPECT_EQ(words(m.rowText(0)), (std::vector<std::string>{"0.1234568", "3"}));
    EXPECT_EQ(words(m.rowText(1)), (std::vector<std::string>{"-123.4568", "0.5"}));
}

TEST(Num2str, RowsCharAndEmpties) {
    const Value r = rt::num2str(Value::row({3, 12.5, -1, 1.04}));
    EXPECT_EQ(r.text(), "3  12.5    -1  1.04");
    EXPECT_EQ(rt::str2num(r.text()).real(), (std::vector<double>{3, 12.5, -1, 1.04}));
    EXPECT_EQ(rt::num2str(Value::row({1, 2})).text(), "1  2");
    EXPECT_EQ(rt::num2str(Value::row({1, kNaN})).text(), "1  NaN");
    const Value m = rt::num2str(Value::matrix(2, 2, {1, 100, 2, 3}));
    ASSERT_EQ(m.rows(), 2u);
    EXPECT_EQ(m.rowText(0), u"  1    2");
    EXPECT_EQ(m.rowText(1), u"100    3");
    EXPECT_TRUE(rt::num2str(Value("on")).equals(Value("on")));
    EXPECT_TRUE(rt::num2str(Value()).isEmpty());
    EXPECT_TRUE(rt::num2str(Value()).isChar());
    EXPECT_EQ(rt::num2str(Value::logical(true)).text(), "1");
    EXPECT_THROW(rt::num2str(Value::cell(1, 1)), rt::Error);
}

TEST(Num2str, WithFormatKeepsFieldWidths) {
    EXPECT_EQ(rt::num2str(Value(1.3), Value("%0.3f")).text(), "1.300");
    EXPECT_EQ(rt::num2str(1234.567, "%15.2f"), "        1234.57");
    EXPECT_EQ(rt::num2str(6500.4, "%15.0frpm"), "           6500rpm");
    // A bad table field: str2num gives empty, the formatted text is empty too.
    const Value back = rt::num2str(rt::str2num("1,3x"), Value("%0.3f"));
    EXPECT_TRUE(back.isEmpty());
    EXPECT_EQ(rt::num2str(Value::row({1, 2}), Value("%d,")).text(), "1,2,");
}

TEST(Str2num, FieldTexts) {
    const struct {
        const char* text;
        std::vector<double> values;  // empty: the empty value
    } cases[] = {
        {"200.0", {200}},
        {"0.75", {0.75}},
        {"1013", {1013}},
        {"12a", {}},
        {"", {}},
        {"   ", {}},
        {"1 2", {1, 2}},
        {"1,2", {1, 2}},
        {"-5", {-5}},
        {"+.5", {0.5}},
        {"5.", {5}},
        {"1e3", {1000}},
        {"2.5E-2", {0.025}},
        {" 7 ", {7}},
        {"1 -2", {1, -2}},
        {"1 - 2", {-1}},
        {"1-2", {-1}},
        {"(1 -2)", {-1}},
        {"2*(3+4)", {14}},
        {"2^-1", {0.5}},
        {"-2^2", {-4}},
        {"2^3^2", {64}},
        {"1/4", {0.25}},
        {"[1 2 3]", {1, 2, 3}},
        {"pi", {3.141592653589793}},
        {"a", {}},
        {"1..2", {}},
        {"1e", {}},
        {"[1 2", {}},
        {"1 2]", {}},
        {"()", {}},
        {"1,", {}},
        {",1", {}},
        {"0,75", {0, 75}},
        {"x=1", {}},
        {"1;2", {1, 2}},
        {"12 a", {}},
        {"exit", {}},
        {"[]", {}},
        {"1 2;3", {}},
    };
    for (const auto& c : cases) {
        const Value v = rt::str2num(std::string(c.text));
        EXPECT_EQ(v.real(), c.values) << '"' << c.text << '"';
        if (c.values.empty()) {
            EXPECT_TRUE(v.isDouble() && v.rows() == 0 && v.cols() == 0) << c.text;
        }
    }
}

TEST(Str2num, ShapesSpecialValuesAndHostileTexts) {
    const Value m = rt::str2num("[1 2; 3 4]");
    EXPECT_EQ(m.rows(), 2u);
    EXPECT_EQ(m.real(), (std::vector<double>{1, 3, 2, 4}));
    EXPECT_EQ(rt::str2num("1;2").rows(), 2u);
    EXPECT_TRUE(std::isnan(rt::str2num("NaN").scalar()));
    EXPECT_EQ(rt::str2num("-Inf").scalar(), -kInf);
    EXPECT_TRUE(rt::str2num(std::string(100000, '(') + "1" + std::string(100000, ')')).isEmpty());
    EXPECT_TRUE(rt::str2num(std::string(5000, '-') + "1").isEmpty());
    EXPECT_TRUE(rt::str2num(std::string(3000, '[')).isEmpty());
    EXPECT_TRUE(rt::str2num(Value(5.0)).isEmpty());
    EXPECT_TRUE(rt::str2num(std::string("1\0", 2)).isEmpty());
}

TEST(Sprintf, CyclingOverColumnsAndEscapes) {
    // Interleaved 2 x n matrix: the format is applied once per column.
    const Value xy = Value::matrix(2, 2, {0.5, 10, 1, 20});
    EXPECT_EQ(fmt("%f %f\r\n", {xy}), "0.500000 10.000000\r\n1.000000 20.000000\r\n");
    EXPECT_EQ(fmt("%s\\n", {Value("Reifen")}), "Reifen\n");
    EXPECT_EQ(fmt("a \\rb\\t\\\\", {}), "a \rb\t\\");
    EXPECT_EQ(fmt("%d, ", {Value::row({1, 2, 3})}), "1, 2, 3, ");
    EXPECT_EQ(fmt("%d and %d;", {Value::row({1, 2, 3})}), "1 and 2;3 and ");
    EXPECT_EQ(fmt("value %d\\n", {}), "value \n");
    EXPECT_EQ(fmt("100%%", {}), "100%");
    EXPECT_EQ(fmt("File \"%s\" does not exist.", {Value("b ä.png")}),
              "File \"b ä.png\" does not exist.");
}

TEST(Sprintf, ConversionsNonFiniteAndText) {
    EXPECT_EQ(fmt("%f|%d|%5.1f|%-5d|%e", {Value::row({kNaN, kInf, -kInf, kNaN, kInf})}),
              "NaN|Inf| -Inf|NaN  |Inf");
    EXPECT_EQ(fmt("%05.1f|%+d|%x|%c|%5s|%-4s|",
                  {Value::row({2.25, 3, 255, 65}), Value("ab"), Value("c")}),
              "002.2|+3|ff|A|   ab|c   |");
    EXPECT_EQ(fmt("%d", {Value(1.5)}), "1.500000e+00");
    EXPECT_EQ(fmt("%d", {Value(1e20)}), "100000000000000000000");
    EXPECT_EQ(fmt("%d %s", {Value("ab")}), "97 b");
    EXPECT_EQ(fmt("%s", {Value(65.0)}), "A");
    EXPECT_EQ(fmt("%g %G", {Value::row({0.0001, 1e-10})}), "0.0001 1E-10");
    EXPECT_EQ(fmt("%*d|%.*f", {Value::row({4, 7, 2, 3.14159})}), "   7|3.14");
    EXPECT_EQ(fmt("%.2s", {Value("abc")}), "ab");
    EXPECT_EQ(fmt("%q %", {Value(1.0)}), "%q %");
    EXPECT_THROW(fmt("%d", {Value::cell(1, 1)}), rt::Error);
    EXPECT_TRUE(rt::sprintf(Value("%s"), {Value("")}).isEmpty());
}
