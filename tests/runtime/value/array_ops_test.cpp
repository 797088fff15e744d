#include "runtime/numeric/array_ops.h"

#include <gtest/gtest.h>

#include "runtime/dispatch/error.h"
#include "runtime/value/array_ops.h"
#include "runtime/value/text_ops.h"

using rt::Value;

namespace {
Value row(std::vector<double> v) { return Value::row(std::move(v)); }
Value col(std::vector<double> v) { return Value::column(std::move(v)); }
}  // namespace

TEST(Indexing, LinearAndTwoDimensionalReads) {
    Value m = Value::matrix(2, 3, {1, 2, 3, 4, 5, 6});  // [1 3 5; 2 4 6]
    EXPECT_TRUE(rt::index(m, Value(4.0)).equals(Value(4.0)));
    EXPECT_TRUE(rt::index(m, rt::colon()).equals(col({1, 2, 3, 4, 5, 6})));
    EXPECT_TRUE(rt::index(m, Value(2.0), rt::colon()).equals(row({2, 4, 6})));
    EXPECT_TRUE(rt::index(m, rt::colon(), Value(3.0)).equals(col({5, 6})));
    // A vector keeps its orientation whatever the subscript's.
    EXPECT_TRUE(rt::index(col({7, 8, 9}), row({3, 2, 1})).equals(col({9, 8, 7})));
    EXPECT_TRUE(rt::index(row({7, 8, 9}), Value::logical(1, 3, {1, 0, 1})).equals(row({7, 9})));
    EXPECT_TRUE(rt::index(Value("abc"), row({3, 2, 1})).equals(Value("cba")));
}

TEST(Indexing, OutOfRangeAndBadSubscriptsFail) {
    Value v = row({1, 2, 3});
    EXPECT_THROW(rt::index(v, Value(4.0)), rt::Error);
    EXPECT_THROW(rt::index(v, Value(0.0)), rt::Error);
    EXPECT_THROW(rt::index(v, Value(1.5)), rt::Error);
    EXPECT_THROW(rt::index(Value(), Value(1.0)), rt::Error);
    EXPECT_THROW(rt::index(v, Value(1.0), Value(4.0)), rt::Error);
    EXPECT_THROW(rt::index(v, Value::logical(1, 4, {0, 0, 0, 1})), rt::Error);
}

TEST(Indexing, AssignmentGrowsWithZeros) {
    Value b = row({1, 2});
    rt::assign(b, Value(5.0), Value(9.0));
    EXPECT_TRUE(b.equals(row({1, 2, 0, 0, 9})));
    Value c = col({1});
    rt::assign(c, Value(1.0), Value(4.0));
    rt::assign(c, Value(2.0), Value(5.0));
    EXPECT_TRUE(c.equals(row({4, 5})));  // a scalar grows as a row
    Value z = Value::column({});
    rt::assign(z, Value(2.0), Value(3.0));
    EXPECT_TRUE(z.equals(col({0, 3})));
    Value e;
    rt::assign(e, Value(2.0), Value(3.0), Value(7.0));
    EXPECT_TRUE(e.equals(Value::matrix(2, 3, {0, 0, 0, 0, 0, 7})));
    Value t;
    rt::assign(t, row({1, 2}), Value("hi"));
    EXPECT_TRUE(t.equals(Value("hi")));  // [] takes the class of what is stored
    Value m = Value::matrix(2, 2, {1, 2, 3, 4});
    EXPECT_THROW(rt::assign(m, Value(9.0), Value(1.0)), rt::Error);
    EXPECT_THROW(rt::assign(b, row({1, 2}), row({1, 2, 3})), rt::Error);
    rt::assign(m, rt::colon(), Value(1.0), Value(0.0));
    EXPECT_TRUE(m.equals(Value::matrix(2, 2, {0, 0, 3, 4})));
}

TEST(Indexing, DeletionKeepsOrientation) {
    Value c = col({1, 2, 3, 4});
    rt::erase(c, row({1, 3}));
    EXPECT_TRUE(c.equals(col({2, 4})));
    Value r = row({1, 2, 3});
    rt::erase(r, Value::logical(1, 3, {1, 1, 1}));
    EXPECT_EQ(r.rows(), 1u);
    EXPECT_EQ(r.cols(), 0u);
    Value m = Value::matrix(2, 3, {1, 2, 3, 4, 5, 6});
    rt::erase(m, rt::colon(), Value(2.0));
    EXPECT_TRUE(m.equals(Value::matrix(2, 2, {1, 2, 5, 6})));
    rt::erase(m, Value(1.0), rt::colon());
    EXPECT_TRUE(m.equals(row({2, 6})));
    Value x = Value::matrix(2, 2, {1, 2, 3, 4});
    EXPECT_THROW(rt::erase(x, Value(1.0), Value(1.0)), rt::Error);
    EXPECT_THROW(rt::erase(x, Value(5.0)), rt::Error);
}

TEST(Concatenation, SkipsEmptiesAndChecksExtents) {
    EXPECT_TRUE(rt::horzcat({Value(), row({1, 2}), Value(3.0)}).equals(row({1, 2, 3})));
    EXPECT_TRUE(rt::vertcat({row({1, 2}), row({3, 4})}).equals(Value::matrix(2, 2, {1, 3, 2, 4})));
    Value y = col({1, 2});
    EXPECT_TRUE(rt::horzcat({y, y}).equals(Value::matrix(2, 2, {1, 2, 1, 2})));
    EXPECT_TRUE(rt::horzcat({Value("k: "), Value("1")}).equals(Value("k: 1")));
    EXPECT_TRUE(rt::horzcat({Value("A"), Value(66.0)}).equals(Value("AB")));
    EXPECT_THROW(rt::vertcat({Value("ab"), Value("abc")}), rt::Error);
    EXPECT_THROW(rt::horzcat({row({1, 2}), col({1, 2})}), rt::Error);
    EXPECT_TRUE(rt::horzcat({}).equals(Value()));
    Value cells = rt::horzcat({Value::cell(1, 1, {Value(1.0)}), Value::cell(1, 1, {Value("a")})});
    EXPECT_EQ(cells.cols(), 2u);
    EXPECT_TRUE(cells.isCell());
}

TEST(Conversions, TransposesCharAndEquality) {
    Value z = Value::matrix(1, 2, {1, 2}, {3, -4});
    EXPECT_TRUE(rt::transpose(z).equals(Value::matrix(2, 1, {1, 2}, {3, -4})));
    EXPECT_TRUE(rt::ctranspose(z).equals(Value::matrix(2, 1, {1, 2}, {-3, 4})));
    EXPECT_TRUE(rt::toChar(Value(10.0)).equals(Value("\n")));
    Value list = rt::toChar(Value::cell(3, 1, {Value("Reifen"), Value(""), Value("ab")}));
    ASSERT_EQ(list.rows(), 3u);
    EXPECT_EQ(list.rowText(1), u"      ");
    EXPECT_EQ(list.rowText(2), u"ab    ");
    EXPECT_EQ(rt::toDouble(Value(".bmp")).real(), (std::vector<double>{46, 98, 109, 112}));
    EXPECT_TRUE(rt::isequal(Value(0.0), Value::logical(false)));
    EXPECT_TRUE(rt::isequal(Value("a"), Value(97.0)));
    EXPECT_FALSE(rt::isequal(Value("file.wav"), Value(0.0)));
    EXPECT_FALSE(rt::isequal(row({1, 2}), col({1, 2})));
}

TEST(Conversions, ColonRangesGiveTheStatedCounts) {
    auto range = [](double a, double step, double b) {
        Eigen::RowVectorXd r = rt::colon(a, step, b);
        return std::vector<double>(r.data(), r.data() + r.size());
    };
    const double st1 = 0.123, st3 = 187.7;
    auto r = range(st1, (st3 - st1) / 9999, st3);
    EXPECT_EQ(r.size(), 10000u);
    EXPECT_EQ(r.back(), st3);
    const double mr = 1234.5, Mr = 9876.1;
    EXPECT_EQ(range(mr, (Mr - mr) / 1500, Mr).size(), 1501u);
    EXPECT_EQ(range(mr, (Mr - mr) / 300, Mr).size(), 301u);
    EXPECT_EQ(range(0, 0.1, 1).size(), 11u);
    EXPECT_EQ(range(5, -1, 2), (std::vector<double>{5, 4, 3, 2}));
    EXPECT_TRUE(range(2, 1, 1).empty());
    EXPECT_TRUE(range(1, 0, 2).empty());
}

TEST(Text, ComparisonsOverCellsAndCase) {
    Value vis = Value::cell(3, 1, {Value("on"), Value("off"), Value("on")});
    EXPECT_EQ(rt::strcmp(vis, Value("on")).re(), (std::vector<double>{1, 0, 1}));
    EXPECT_EQ(rt::strcmp(vis, Value("on")).rows(), 3u);
    EXPECT_TRUE(rt::strcmp(Value("Ja"), Value("Ja")).isTrue());
    EXPECT_FALSE(rt::strcmp(Value("Ja"), Value("Ja ")).isTrue());
    EXPECT_FALSE(rt::strcmp(Value(1.0), Value(1.0)).isTrue());
    EXPECT_TRUE(rt::strcmpi(Value("FM"), Value("fm")).isTrue());
    EXPECT_TRUE(rt::strncmpi(Value("CreateCancelBtn"), Value("createcancelbtn"), 15).isTrue());
    EXPECT_TRUE(rt::strncmpi(Value("LISTx"), Value("list"), 4).isTrue());
    EXPECT_FALSE(rt::strncmpi(Value("li"), Value("list"), 4).isTrue());
}

TEST(Text, EditingFunctions) {
    EXPECT_EQ(rt::lower(Value("ÄBC.PNG")).text(), "äbc.png");
    EXPECT_EQ(rt::strrep(Value("0,75,1"), Value(","), Value(".")).text(), "0.75.1");
    EXPECT_EQ(rt::findstr(Value("a.b.wav"), Value(".")).re(), (std::vector<double>{2, 4}));
    EXPECT_EQ(rt::findstr(Value("."), Value("a.b")).re(), (std::vector<double>{2}));
    EXPECT_TRUE(rt::findstr(Value("abc"), Value("x")).isEmpty());
    EXPECT_EQ(rt::deblank(Value(std::u16string(u"fmt \0", 5))).text(), "fmt");
    Value padded = rt::deblank(Value::charMatrix(std::vector<std::string>{"ab  ", "a   "}));
    EXPECT_EQ(padded.cols(), 2u);
    auto p = rt::fileparts(u"/home/u/run.1.wav");
    EXPECT_EQ(p.dir, u"/home/u");
    EXPECT_EQ(p.name, u"run.1");
    EXPECT_EQ(p.ext, u".wav");
    EXPECT_EQ(rt::fileparts(u"run").ext, u"");
    Value flags = Value::charMatrix(std::vector<std::string>{"symmetric", "periodic"});
    EXPECT_TRUE(rt::strmatch(Value("per"), flags).equals(Value::column({2})));
    EXPECT_EQ(rt::strmatch(Value("x"), flags).cols(), 1u);
}

TEST(Text, SortrowsIsStableWithPermutation) {
    Value names = Value::charMatrix(std::vector<std::string>{"mz", "ab", "mz", "a "});
    auto [sorted, perm] = rt::sortrows(names);
    EXPECT_EQ(perm, (std::vector<std::size_t>{4, 2, 1, 3}));
    EXPECT_EQ(sorted.rowText(0), u"a ");
    EXPECT_TRUE(sorted.isChar());
}
