#include <gtest/gtest.h>

#include "runtime/dispatch/error.h"
#include "runtime/value/array_ops.h"
#include "runtime/value/num2str.h"
#include "runtime/value/sprintf.h"
#include "runtime/value/str2num.h"
#include "runtime/value/text_ops.h"

using rt::Value;

TEST(Cells, IndexingAssignmentAndDeletionStayCells) {
    Value names = Value::cell(1, 3, {Value("a"), Value("bb"), Value("c")});
    Value two = rt::index(names, Value::row({3, 1}));
    ASSERT_TRUE(two.isCell());
    EXPECT_EQ(two.cols(), 2u);
    EXPECT_EQ(two.cellAt(0).text(), "c");
    rt::assign(names, Value(5.0), Value::cell(1, 1, {Value("e")}));
    EXPECT_EQ(names.cols(), 5u);
    EXPECT_TRUE(names.cellAt(3).isEmpty());  // the gap holds []
    EXPECT_THROW(rt::assign(names, Value(1.0), Value(2.0)), rt::Error);
    rt::erase(names, Value(2.0));
    EXPECT_EQ(names.cols(), 4u);
    EXPECT_EQ(names.cellAt(1).text(), "c");
    EXPECT_THROW(names.cellAt(4), rt::Error);
    EXPECT_THROW(Value(1.0).cellAt(0), rt::Error);
}

TEST(Chars, AssignmentKeepsTextAndConcatenatesRows) {
    Value s("abc");
    rt::assign(s, Value(2.0), Value(66.0));
    EXPECT_EQ(s.text(), "aBc");
    rt::assign(s, Value(5.0), Value("x"));
    EXPECT_EQ(s.charData(), std::u16string(u"aBc\0x", 5));  // grows with NULs
    Value d = Value::row({1, 2});
    rt::assign(d, Value(1.0), Value("A"));
    EXPECT_TRUE(d.isDouble());
    EXPECT_EQ(d.at(0), 65.0);
    Value flag = Value::logical(1, 2, {1, 0});
    rt::assign(flag, Value(2.0), Value(0.5));
    EXPECT_TRUE(flag.isDouble());  // a number in a logical makes it double
    const Value rows = rt::vertcat({Value("ab"), Value("cd")});
    EXPECT_EQ(rows.rowText(1), u"cd");
    EXPECT_EQ(rt::horzcat({Value(""), Value("x")}).text(), "x");
    EXPECT_TRUE(rt::vertcat({Value(), Value("")}).isChar());
}

TEST(Chars, Utf16RoundTripAndCharMatrixFromCell) {
    const std::string s = "°/mm² ¿é \xF0\x9F\x98\x80";
    EXPECT_EQ(rt::utf8(rt::utf16(s)), s);
    EXPECT_EQ(rt::utf16("\xF0\x9F\x98\x80").size(), 2u);  // a surrogate pair
    EXPECT_EQ(rt::utf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    Value m = rt::toChar(
        Value::cell(1, 2, {Value::charMatrix(std::vector<std::string>{"x", "yy"}), Value("z")}));
    ASSERT_EQ(m.rows(), 3u);
    EXPECT_EQ(m.rowText(0), u"x ");
    EXPECT_EQ(m.rowText(2), u"z ");
    EXPECT_THROW(rt::toChar(Value::cell(1, 1, {Value(1.0)})), rt::Error);
    EXPECT_THROW(rt::toChar(Value(-1.0)), rt::Error);
    EXPECT_EQ(rt::toChar(Value::row({13, 10})).charData(), u"\r\n");
}

TEST(Empties, ShapesSurviveOperations) {
    const Value col = Value::column({});
    EXPECT_EQ(rt::transpose(col).rows(), 1u);
    EXPECT_EQ(rt::transpose(col).cols(), 0u);
    EXPECT_TRUE(rt::index(Value::row({1, 2}), Value()).isEmpty());
    EXPECT_EQ(rt::num2str(col).text(), "");
    EXPECT_TRUE(rt::isequal(Value(), Value()));
    EXPECT_FALSE(rt::isequal(Value(), col));
    EXPECT_TRUE(rt::horzcat({col, col}).isEmpty());
    Value s = Value::structure();
    s.setField("x", Value());
    Value t = Value::structure();
    t.setField("x", Value());
    EXPECT_TRUE(rt::isequal(s, t));
    t.setField("y", Value(1.0));
    EXPECT_FALSE(rt::isequal(s, t));
    EXPECT_THROW(Value(1.0).setField("x", Value()), rt::Error);
}

TEST(Sprintf, TextAndMatrixArguments) {
    // A padded name column written one row at a time.
    const Value names = Value::charMatrix(std::vector<std::string>{"Größe", "ab"});
    std::string out;
    for (const auto& r : names.rowTexts()) out += rt::formatUtf8("%s\\n", {Value(r)});
    EXPECT_EQ(out, "Größe\nab   \n");
    EXPECT_EQ(rt::formatUtf8("%d ", {Value::matrix(2, 2, {1, 2, 3, 4})}), "1 2 3 4 ");
    EXPECT_EQ(rt::formatUtf8("%s=%d;", {Value("k"), Value(2.0), Value("m"), Value(3.0)}),
              "k=2;m=3;");
    EXPECT_EQ(rt::formatUtf8("Odd order \\rat the end", {}), "Odd order \rat the end");
    EXPECT_EQ(rt::formatUtf8("\\q %.3f", {Value(3.14159265)}), "\\q 3.142");
}

TEST(Num2str, FormatOverMatrixRowsAndRoundTrip) {
    const Value m = rt::num2str(Value::matrix(2, 2, {1, 2, 3, 4}), Value("%6.2f"));
    ASSERT_EQ(m.rows(), 2u);
    EXPECT_EQ(m.rowText(0), u"  1.00  3.00");
    // Back as the number of the digits kept: all of them, or 5 for 1.36973 and 1.040493.
    const struct {
        double x, back;
    } trips[] = {{200, 200},         {0.015, 0.015}, {1.36973, 1.3697},
                 {6.32, 6.32},       {1.325, 1.325}, {7500, 7500},
                 {1.040493, 1.0405}, {-3e-7, -3e-7}, {12345.6789, 12345.6789}};
    for (const auto& t : trips) EXPECT_EQ(rt::str2num(rt::num2str(t.x)).scalar(), t.back) << t.x;
    // A row composed into a callback keeps its numbers apart.
    const Value row = Value::row({3, 0.25, 0.5, 1.0405});
    const Value back = rt::str2num("[" + rt::num2str(row).text() + "]");
    EXPECT_EQ(back.real(), row.real());
    EXPECT_EQ(back.rows(), 1u);
}
