#include "tables/table_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include "runtime/value/num2str.h"
#include "runtime/value/text_ops.h"

namespace {

using tables::Entry;
using tables::TableFault;

std::vector<Entry> entries_of(std::string_view bytes) {
    auto read = tables::parse_table(bytes);
    EXPECT_TRUE(std::holds_alternative<std::vector<Entry>>(read)) << bytes.substr(0, 80);
    auto* e = std::get_if<std::vector<Entry>>(&read);
    return e ? *e : std::vector<Entry>{};
}

TEST(TableFile, EachLineIsOneEntryAndTextAfterTheLastSemicolonIsIgnored) {
    auto t = entries_of("b;130/70-10;10;1.3;\nA;x;y;1.31237;\nc;;;about two;\nignored");
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0], (Entry{u"b", u"130/70-10", u"10", u"1.300"}));
    EXPECT_EQ(t[1][3], u"1.312");
    EXPECT_EQ(t[2], (Entry{u"c", u"", u"", u"about two"}));  // no number: kept as it stands
    EXPECT_EQ(entries_of("G\xe4nse;s;w;1;\n")[0][0], u"G\u00e4nse");  // Latin-1

    const std::pair<const char*, std::size_t> counts[] = {
        {"", 0},         {"\n", 0}, {"a;b;c;1;", 1}, {"a;b;c;1;\n\n", 1}, {"a;b;c;1;\r\n", 1},
        {"a;b;c;1;x", 1}};
    for (const auto& [bytes, n] : counts) EXPECT_EQ(entries_of(bytes).size(), n) << bytes;
}

TEST(TableFile, RefusesNamingTheFirstLineItCannotRead) {
    const std::string entry = "n;s;w;1;\n";
    std::string many;
    for (std::size_t i = 0; i < tables::kMaxLines; ++i) many += entry;
    const std::string field(tables::kMaxFieldLength, 'x');
    const struct {
        std::string bytes;
        std::optional<TableFault> fault;
    } cases[] = {
        {"a;b;c;1;;x;y;2;", TableFault{TableFault::NotAnEntry, 1}},  // ";;" ends no entry
        {"a;b;c;1;\nd;e;f;\n", TableFault{TableFault::NotAnEntry, 2}},
        {"a;b;c;1;\r\nd;e;f;2;\r\n", TableFault{TableFault::NotAnEntry, 1}},
        {"a;b;c;1;\n\nd;e;f;2;\n", TableFault{TableFault::NotAnEntry, 2}},
        {"a;b\nx;c;1;\n", TableFault{TableFault::NotAnEntry, 1}},
        {"a;b;c;1;x\nd;e;f;2;\n", TableFault{TableFault::NotAnEntry, 1}},
        {"a;b;c;1;\nd;e", TableFault{TableFault::NotAnEntry, 2}},
        {entry + "n;" + field + ";w;1;\n", std::nullopt},
        {entry + "n;" + field + "x;w;1;\n", TableFault{TableFault::LongField, 2}},
        {entry + field + "x", TableFault{TableFault::LongField, 2}},
        {many, std::nullopt},
        {many + entry, TableFault{TableFault::TooManyLines, tables::kMaxLines + 1}},
    };
    for (const auto& c : cases) {
        const tables::TableRead read = tables::parse_table(c.bytes);
        const TableFault* fault = std::get_if<TableFault>(&read);
        EXPECT_EQ(fault ? std::optional(*fault) : std::nullopt, c.fault) << c.bytes.substr(0, 40);
    }

    // A field past the bound is refused at once: the rest of the file is never read.
    tables::TableReader r;
    EXPECT_FALSE(r.read(entry + std::string(65536, 'x')));
}

TEST(TableFile, NumbersGetThreeDecimalsAndOtherFourthFieldsStayAsTheyAre) {
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"1.3", u"1.300"}, {u" 6.3249 ", u"6.325"}, {u"", u""},
        {u"1 2", u"1 2"},   {u"1,3", u"1,3"},        {u"about two", u"about two"}};
    for (const auto& [field, kept] : cases) EXPECT_EQ(tables::table_number(field), kept);
    EXPECT_EQ(tables::format_number(u"about two"), u"");
}

TEST(TableFile, ArrangeSortsByNameWithoutCaseAndPadsEachColumn) {
    const std::vector<Entry> file{{u"b", u"s1", u"10", u"1.300"},
                                  {u"A", u"size2", u"12", u"1.000"},
                                  {u"C", u"s", u"8", u"0.900"},
                                  {u"a", u"dup", u"1", u"2.000"},
                                  {u"c\tx", u"t", u"1", u"x"}};
    const tables::Arranged a = tables::arrange(file);
    ASSERT_EQ(a.entries.size(), 5u);
    EXPECT_EQ(a.entries[0][1], u"size2");  // equal names keep their file order
    EXPECT_EQ(a.entries[1][1], u"dup");
    EXPECT_EQ(a.entries[2][0], u"b");
    EXPECT_EQ(a.entries[3][0], u"c\tx");  // names compare as if padded with blanks
    EXPECT_EQ(a.entries[4][0], u"C");
    // name 3+2, size 5+2, wheel 2+2, then the number
    EXPECT_EQ(a.display[0], u"A    size2  12  1.000");
    EXPECT_EQ(a.display[4], u"C    s      8   0.900");
    EXPECT_EQ(a.raw[2], u"b;s1;10;1.300;");
    EXPECT_TRUE(tables::arrange({}).display.empty());

    // In a list as long as a file may be, one long name does not widen every row.
    std::vector<Entry> many(tables::kMaxLines, Entry{u"n", u"s", u"w", u"1.000"});
    many.back()[0] = std::u16string(tables::kMaxFieldLength, u'z');
    const tables::Arranged m = tables::arrange(many);
    EXPECT_LT(m.display.front().size(), 100u);
    EXPECT_EQ(m.display.back().substr(tables::kMaxFieldLength), u"  s  w  1.000");
}

TEST(TableFile, RawRowsAreFourFieldsAndTheFileHoldsOnlyWhatItCanReadBack) {
    const Entry e{u"Vespa G\u00e4nse", u"3.50-10", u"10", u"1.278"};
    EXPECT_EQ(tables::split_raw_row(tables::raw_row(e) + u"  "), e);
    EXPECT_FALSE(tables::split_raw_row(u"a;b;c"));
    EXPECT_FALSE(tables::split_raw_row(u"a;b;c;d;e;"));
    EXPECT_EQ(tables::encode_table({e}), "Vespa G\xe4nse;3.50-10;10;1.278;\n");

    EXPECT_TRUE(tables::storable(u"Stra\u00dfe 1/2"));
    EXPECT_TRUE(tables::storable(std::u16string(tables::kMaxFieldLength, u'x')));
    for (const std::u16string& bad :
         std::vector<std::u16string>{u"a;b", u"a\nb", u"a\rb", u"5\u20ac",
                                     std::u16string(tables::kMaxFieldLength + 1, u'x')}) {
        EXPECT_FALSE(tables::storable(bad));
        EXPECT_FALSE(tables::encode_table({{u"n", bad, u"w", u"1"}}));
    }
    EXPECT_FALSE(tables::encode_table(std::vector<Entry>(tables::kMaxLines + 1)));
}

// Random tables of every character a field may hold: written and read back, they are equal.
TEST(TableFile, RandomTablesReadBackAsWritten) {
    std::mt19937 rng(30);
    auto pick = [&](std::size_t n) {
        return std::uniform_int_distribution<std::size_t>(0, n)(rng);
    };
    auto text = [&] {
        std::u16string s(pick(3) == 0 ? pick(tables::kMaxFieldLength) : pick(12), u' ');
        for (char16_t& c : s) {
            do c = static_cast<char16_t>(pick(0xFF));
            while (c == u';' || c == u'\n' || c == u'\r');
        }
        return s;
    };
    for (int round = 0; round < 300; ++round) {
        std::vector<Entry> table(pick(20));
        for (Entry& e : table) {
            e = {text(), text(), text(), u""};
            // The fourth field as the file keeps it: a number with three decimals, or a text
            // that holds no number.
            if (pick(1))
                e[3] = rt::utf16(rt::num2str(
                    std::ldexp(double(pick(1 << 20)), int(pick(60)) - 30) * (pick(1) ? 1 : -1),
                    "%0.3f"));
            else
                while (e[3] = text(), !tables::format_number(e[3]).empty()) {
                }
        }
        const auto bytes = tables::encode_table(table);
        ASSERT_TRUE(bytes);
        EXPECT_EQ(entries_of(*bytes), table) << round;
        // What the window writes back, it reads back as it was.
        const std::vector<Entry> sorted = tables::arrange(table).entries;
        EXPECT_EQ(entries_of(*tables::encode_table(sorted)), sorted) << round;
    }
}

TEST(TableFile, TheExampleTablesAreValid) {
    for (const char* name : {"tire_tab.txt", "gearing_tab.txt"}) {
        std::ifstream in(std::string(ROVANTEL_TEST_DATA) + "/../../examples/" + name,
                         std::ios::binary);
        ASSERT_TRUE(in) << name;
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        const auto t = entries_of(bytes);
        EXPECT_GE(t.size(), 5u) << name;
        // Sorted and formatted as the program writes them: a first add only appends.
        EXPECT_EQ(tables::encode_table(tables::arrange(t).entries), bytes) << name;
    }
}

}  // namespace
