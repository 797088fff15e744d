#include "tables/table_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

using tables::Entry;

TEST(TableFile, EntriesAreFoundByCountingSemicolons) {
    auto t = tables::parse_table(u"b;130/70-10;10;1.3;\nA;x;y;1.31237;\nc;;;abc;\nignored");
    ASSERT_TRUE(t);
    ASSERT_EQ(t->size(), 3u);
    EXPECT_EQ((*t)[0], (Entry{u"b", u"130/70-10", u"10", u"1.300"}));
    EXPECT_EQ((*t)[1][3], u"1.312");
    EXPECT_EQ((*t)[2], (Entry{u"c", u"", u"", u""}));  // no number shows empty

    EXPECT_TRUE(tables::parse_table(u"")->empty());
    EXPECT_TRUE(tables::parse_table(u"\n")->empty());
    EXPECT_EQ(tables::parse_table(u"a;b;c;1;")->size(), 1u);  // no final line feed
}

TEST(TableFile, RefusesWhatItCannotReadSafely) {
    EXPECT_FALSE(tables::parse_table(u"a;b;c;1;\nd;e;f;\n"));        // 7 fields
    EXPECT_FALSE(tables::parse_table(u"a;b;c;1;\r\nd;e;f;2;\r\n"));  // CR LF
    EXPECT_FALSE(tables::parse_table(u"a;b;c;1;\n\nd;e;f;2;\n"));    // empty line
    EXPECT_FALSE(tables::parse_table(u"a;b\nx;c;1;\n"));             // break in a field
}

TEST(TableFile, NumberKeepsThreeDecimalsOfOneNumberOnly) {
    EXPECT_EQ(tables::format_number(u"1.3"), u"1.300");
    EXPECT_EQ(tables::format_number(u" 6.3249 "), u"6.325");
    EXPECT_EQ(tables::format_number(u""), u"");
    EXPECT_EQ(tables::format_number(u"1 2"), u"");
    EXPECT_EQ(tables::format_number(u"1,3"), u"");
}

TEST(TableFile, ArrangeSortsByNameWithoutCaseAndPadsEachColumn) {
    const std::vector<Entry> file{{u"b", u"s1", u"10", u"1.300"},
                                  {u"A", u"size2", u"12", u"1.000"},
                                  {u"C", u"s", u"8", u"0.900"},
                                  {u"a", u"dup", u"1", u"2.000"}};
    const tables::Arranged a = tables::arrange(file);
    ASSERT_EQ(a.entries.size(), 4u);
    EXPECT_EQ(a.entries[0][1], u"size2");  // equal names keep their file order
    EXPECT_EQ(a.entries[1][1], u"dup");
    EXPECT_EQ(a.entries[2][0], u"b");
    EXPECT_EQ(a.entries[3][0], u"C");
    // name 1+2, size 5+2, wheel 2+2, number 5+2
    EXPECT_EQ(a.display[0], u"A  size2  12  1.000  ");
    EXPECT_EQ(a.display[3], u"C  s      8   0.900  ");
    EXPECT_EQ(a.raw[2], u"b;s1;10;1.300;");
    EXPECT_TRUE(tables::arrange({}).display.empty());
}

TEST(TableFile, RawRowsRoundTripThroughTheFileBytes) {
    const Entry e{u"Vespa Gänse", u"3.50-10", u"10", u"1.278"};
    const std::u16string row = tables::raw_row(e) + u"    ";  // padded as in the window
    EXPECT_EQ(tables::split_raw_row(row), e);
    EXPECT_FALSE(tables::split_raw_row(u"a;b;c"));

    const std::string bytes = tables::encode_table({row, u"no fields"});
    EXPECT_EQ(bytes, "Vespa G\xe4nse;3.50-10;10;1.278;\n");
    auto back = tables::parse_table(tables::decode_latin1(bytes));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->front(), e);

    EXPECT_TRUE(tables::storable(u"Straße 1/2"));
    EXPECT_FALSE(tables::storable(u"a;b"));
    EXPECT_FALSE(tables::storable(u"a\nb"));
    EXPECT_FALSE(tables::storable(u"a\rb"));
    EXPECT_FALSE(tables::storable(u"5\u20ac"));  // beyond Latin-1
}

TEST(TableFile, TheExampleTablesAreValid) {
    for (const char* name : {"tire_tab.txt", "gearing_tab.txt"}) {
        std::ifstream in(std::string(ROVANTEL_TEST_DATA) + "/../../examples/" + name,
                         std::ios::binary);
        ASSERT_TRUE(in) << name;
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        auto t = tables::parse_table(tables::decode_latin1(bytes));
        ASSERT_TRUE(t) << name;
        EXPECT_GE(t->size(), 5u) << name;
        // Sorted and formatted as the program writes them: a first add only appends.
        EXPECT_EQ(tables::encode_table(tables::arrange(*t).raw), bytes) << name;
    }
}

}  // namespace
