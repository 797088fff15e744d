#include "runtime/value/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <utility>

#include "runtime/dispatch/error.h"
#include "runtime/value/eigen.h"

using rt::Value;

TEST(Value, EmptiesKeepTheirShape) {
    Value a;
    EXPECT_EQ(a.rows(), 0u);
    EXPECT_EQ(a.cols(), 0u);
    EXPECT_TRUE(a.isDouble());
    Value col = Value::column({});
    EXPECT_EQ(col.rows(), 0u);
    EXPECT_EQ(col.cols(), 1u);
    EXPECT_FALSE(a.equals(col));
    EXPECT_TRUE(Value("").isChar());
    EXPECT_TRUE(Value("").isEmpty());
    EXPECT_FALSE(a.isTrue());
}

TEST(Value, CharMatrixPadsRowsWithBlanksAndKeepsLatin1) {
    Value m = Value::charMatrix(std::vector<std::string>{"Radsensoren", "Zündung", "ä"});
    ASSERT_EQ(m.rows(), 3u);
    ASSERT_EQ(m.cols(), 11u);
    EXPECT_EQ(m.rowText(1), u"Zündung    ");
    EXPECT_EQ(m.rowText(2), u"ä          ");
    EXPECT_EQ(m.at(1 + 3 * 1), static_cast<double>(u'ü'));  // column-major
    EXPECT_EQ(Value("°C mm²").text(), "°C mm²");
    EXPECT_EQ(rt::utf16("\xE4"), u"\u00E4");  // stray Latin-1 byte survives
}

TEST(Value, RowsOfEmptyTextsAreWalkedOnlyWhileCheap) {
    // Such a shape holds no characters, so its size says nothing about the memory behind it.
    const Value huge = Value::chars(4294967295u, 0, u"");
    EXPECT_EQ(huge.text16(), u"");
    EXPECT_EQ(huge.text(), "");
    EXPECT_THROW(huge.rowTexts(), rt::Error);
    const Value most = Value::chars(Value::kMaxListedRows, 0, u"");
    EXPECT_EQ(most.rowTexts(), std::vector<std::u16string>(Value::kMaxListedRows));
    // Texts that hold characters list every row.
    const Value two = Value::charMatrix(std::vector<std::string>{"ab", "c"});
    EXPECT_EQ(two.rowTexts(), (std::vector<std::u16string>{u"ab", u"c "}));
    EXPECT_EQ(two.text16(), u"abc ");
}

TEST(Value, TruthNeedsEveryElementNonZero) {
    EXPECT_TRUE(Value(1.0).isTrue());
    EXPECT_FALSE(Value(0.0).isTrue());
    EXPECT_FALSE(Value::row({1, 0}).isTrue());
    EXPECT_TRUE(Value::row({1, 2}).isTrue());
    EXPECT_TRUE(Value(std::complex<double>(0, 1)).isTrue());
}

TEST(Value, EqualityIsByClassShapeAndElements) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_TRUE(Value::row({1, 2}).equals(Value::row({1, 2})));
    EXPECT_FALSE(Value::row({1, 2}).equals(Value::column({1, 2})));
    EXPECT_FALSE(Value(nan).equals(Value(nan)));
    EXPECT_FALSE(Value(1.0).equals(Value::logical(true)));
    EXPECT_TRUE(Value(std::complex<double>(1, 0)).equals(Value(1.0)));
}

TEST(Value, RecordsAndFaultsOfAccess) {
    Value s;
    s.setField("fmt", Value(1.0));
    s.setField("data", Value("x"));
    s.setField("fmt", Value(2.0));
    EXPECT_TRUE(s.isStruct());
    EXPECT_EQ(s.fieldNames(), (std::vector<std::string>{"fmt", "data"}));
    EXPECT_EQ(s.field("fmt").scalar(), 2.0);
    EXPECT_THROW(s.field("none"), rt::Error);
    EXPECT_THROW(Value().field("fmt"), rt::Error);  // field of an empty value
    EXPECT_THROW(Value().scalar(), rt::Error);
    EXPECT_THROW(Value::row({1, 2}).at(2), rt::Error);
    EXPECT_THROW(Value::cell(1, 1).scalar(), rt::Error);
}

TEST(Value, ImagesHaveThreeDimensions) {
    Value img = Value::uint8({2, 2, 3}, std::vector<std::uint8_t>(12, 7));
    EXPECT_EQ(img.ndims(), 3u);
    EXPECT_EQ(img.numel(), 12u);
    EXPECT_THROW(rt::toMatrix(img), rt::Error);
}

TEST(Eigen, ConversionsKeepShapeAndComplexity) {
    Eigen::MatrixXd m(2, 3);
    m << 1, 2, 3, 4, 5, 6;
    Value v = rt::fromMatrix(m);
    EXPECT_EQ(v.rows(), 2u);
    EXPECT_EQ(v.at(1), 4.0);  // column-major
    EXPECT_EQ(rt::toMatrix(v), m);
    Eigen::MatrixXcd c = Eigen::MatrixXcd::Constant(1, 2, {1.0, 0.0});
    EXPECT_TRUE(rt::fromMatrix(c).isComplex());
    EXPECT_EQ(rt::toComplexMatrix(Value::row({3, 4}))(0, 1), std::complex<double>(4, 0));
    EXPECT_EQ(rt::toMatrix(Value("AB"))(0, 1), 66.0);
    EXPECT_EQ(rt::fromMatrix(Eigen::MatrixXd(0, 1)).cols(), 1u);
    EXPECT_THROW(rt::toVector(Value::structure()), rt::Error);
    EXPECT_EQ(rt::rowVector({1, 2, 3}).cols(), 3u);
}

TEST(Eigen, VectorsAndExpressionsConvertWithTheirShape) {
    Eigen::VectorXd c(3);
    c << 1, 2, 3;
    EXPECT_EQ(rt::fromMatrix(c).cols(), 1u);
    EXPECT_EQ(rt::fromMatrix(c.transpose()).rows(), 1u);
    Eigen::RowVectorXcd z(2);
    z << std::complex<double>(1, 2), std::complex<double>(3, 0);
    const Value v = rt::fromMatrix(z);
    EXPECT_TRUE(v.isComplex());
    EXPECT_EQ(v.im()[0], 2.0);
}

TEST(Value, CopiesShareElementsUntilOneIsWritten) {
    Value a = Value::matrix(2, 2, {1, 2, 3, 4}, {0, 0, 0, 1});
    const Value b = a;
    EXPECT_TRUE(b.isCopyOf(a));
    EXPECT_EQ(std::as_const(a).re().data(), b.re().data());  // no element was copied
    a.re()[0] = 9;
    a.im()[3] = 5;
    EXPECT_FALSE(b.isCopyOf(a));
    EXPECT_EQ(b.re(), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_EQ(b.im()[3], 1.0);
    EXPECT_EQ(a.at(0), 9.0);

    // A reshaped copy holds the same elements but is not the same value.
    Value r = b;
    r.reshape({4, 1});
    EXPECT_FALSE(r.isCopyOf(b));
    EXPECT_EQ(std::as_const(r).re().data(), b.re().data());
    // NaN never equals itself, yet a copy is known to be alike.
    const Value n(std::nan(""));
    EXPECT_FALSE(n.equals(Value(n)));
    EXPECT_TRUE(Value(n).isCopyOf(n));

    // Cells and records: writing a copy's members leaves the original alone.
    Value c = Value::cell(1, 2, {Value("x"), Value(1.0)});
    const Value c0 = c;
    c.cells()[1] = Value(2.0);
    EXPECT_EQ(c0.cellAt(1).scalar(), 1.0);
    Value s = Value::structure();
    s.setField("f", Value(1.0));
    const Value s0 = s;
    s.setField("f", Value(2.0));
    s.setField("g", Value("new"));
    EXPECT_EQ(s0.field("f").scalar(), 1.0);
    EXPECT_FALSE(s0.isField("g"));
    // Empty values of any class hold nothing to share.
    EXPECT_FALSE(Value().isCopyOf(Value()));
    EXPECT_TRUE(Value::chars(0, 3, u"").charData().empty());
}

TEST(Eigen, ViewsReadDoublesInPlaceAndConvertTheRestOnce) {
    const Value v = Value::matrix(2, 3, {1, 2, 3, 4, 5, 6}, {0, 0, 0, 0, 0, 7});
    const rt::MatrixView view(v);
    EXPECT_EQ(view->data(), v.re().data());
    EXPECT_EQ(view->rows(), 2);
    EXPECT_EQ((*view)(1, 2), 6.0);  // the real part
    EXPECT_EQ(view.vector().size(), 6);
    const rt::MatrixView text(Value("AB"));
    EXPECT_EQ((*text)(0, 1), 66.0);
    const rt::MatrixView bytes(Value::uint8({1, 2}, {7, 255}));
    EXPECT_EQ((*bytes)(0, 1), 255.0);
    const rt::MatrixView empty(Value::empty(0, 3));
    EXPECT_EQ(empty->cols(), 3);
    EXPECT_THROW(rt::MatrixView(Value::cell(1, 1)), rt::Error);
    EXPECT_THROW(rt::MatrixView(Value::uint8({1, 1, 3}, {1, 2, 3})), rt::Error);

    // Conversions of every class in one pass; blocks and complex expressions as well.
    EXPECT_EQ(rt::toComplexMatrix(v)(1, 2), std::complex<double>(6, 7));
    EXPECT_EQ(rt::toComplexMatrix(Value::logical(1, 2, {0, 1}))(0, 1), std::complex<double>(1, 0));
    EXPECT_EQ(rt::toMatrix(Value::uint8({2, 1}, {3, 4}))(1, 0), 4.0);
    const Eigen::MatrixXd m = rt::toMatrix(v);
    const Value block = rt::fromMatrix(m.block(0, 1, 2, 2));
    EXPECT_EQ(block.re(), (std::vector<double>{3, 4, 5, 6}));
    const Value twice = rt::fromMatrix(rt::toComplexMatrix(v).row(1) * 2.0);
    EXPECT_EQ(twice.rows(), 1u);
    EXPECT_EQ(twice.im(), (std::vector<double>{0, 0, 14}));
}
