#include "shell/strings.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "support/shell_test_support.h"

namespace {

using shell::Strings;

using shell_test::Build;
using shell_test::kBuilds;

std::u16string row(const rt::Value& m, std::size_t r) { return m.rowText(r); }

rt::Value table_of(const char* build) {
    const Build& b = *std::find_if(std::begin(kBuilds), std::end(kBuilds),
                                   [&](const Build& x) { return std::string(x.name) == build; });
    return shell::to_value(b.table());
}

}  // namespace

TEST(Strings, ListsArePaddedToTheirStatedWidths) {
    struct Expect {
        const char* build;
        const char* field;
        std::size_t rows, width;
    };
    const Expect cases[] = {
        {"de", "popup_sig", 5, 19},    {"fr", "popup_sig", 5, 22},    {"en", "popup_sig", 5, 22},
        {"de", "popup_sig4", 4, 19},   {"fr", "popup_sig3", 4, 22},   {"en", "popup_sig1", 4, 22},
        {"de", "popup_xaxis", 4, 22},  {"fr", "popup_xaxis", 4, 14},  {"en", "popup_xaxis", 4, 15},
        {"de", "popup_yaxis", 11, 26}, {"fr", "popup_yaxis", 11, 26}, {"en", "popup_yaxis", 11, 22},
    };
    for (const Expect& c : cases) {
        rt::Value st = table_of(c.build);
        const rt::Value& list = st.field(c.field);
        SCOPED_TRACE(std::string(c.build) + " " + c.field);
        EXPECT_TRUE(list.isChar());
        EXPECT_EQ(list.rows(), c.rows);
        EXPECT_EQ(list.cols(), c.width);
    }
    rt::Value de = shell::to_value(shell::german_table());
    EXPECT_EQ(row(de.field("popup_sig"), 4), u"Aus" + std::u16string(16, u' '));
}

TEST(Strings, TextsKeepTheirLettersAndTheTrailingBlankOfTheNumberError) {
    rt::Value de = shell::to_value(shell::german_table());
    EXPECT_EQ(de.field("air_temp").text16(), u"Luft Temperatur [°C]");
    EXPECT_EQ(de.field("error_num2s").text16(), u"Fehlerhaftes Zahlenformat von ");
    EXPECT_EQ(de.field("total_tork").text16(), u"Trägheitsmoment Rolle [kgm²]:");
    for (const Build& b : kBuilds) {
        rt::Value st = shell::to_value(b.table());
        std::u16string err = st.field("error_num2s").text16();
        ASSERT_FALSE(err.empty());
        EXPECT_EQ(err.back(), u' ') << b.name;
        EXPECT_FALSE(st.field("file_overw").text16().empty()) << b.name;
    }
    rt::Value fr = shell::to_value(shell::french_table());
    // The drum row differs in case between the lists; channel choices depend on it.
    EXPECT_EQ(row(fr.field("popup_sig"), 2).substr(0, 8), u"Rouleau ");
    EXPECT_EQ(row(fr.field("popup_sig3"), 1).substr(0, 8), u"rouleau ");
    EXPECT_FALSE(fr.isField("frame_files"));
    EXPECT_FALSE(fr.isField("frame_diag"));
    EXPECT_TRUE(de.isField("frame_files"));
}

TEST(Strings, TwoCallsGiveEqualRecordsInTheBuildsLanguage) {
    shell_test::use_table(shell::english_table());
    rt::Value a = shell::strings();
    EXPECT_TRUE(a.equals(shell::to_value(shell::english_table())));
    EXPECT_TRUE(shell::strings().equals(a));
    EXPECT_EQ(a.field("push_sdiag").text(), "Calculate Graphs >>");
    // Only the two unread fields are absent from some builds.
    EXPECT_EQ(a.fieldNames().size(), 86u);
    EXPECT_EQ(shell::to_value(shell::german_table()).fieldNames().size(), 87u);
    EXPECT_EQ(shell::to_value(shell::french_table()).fieldNames().size(), 85u);
    shell_test::use_table(shell::french_table());
    EXPECT_TRUE(shell::strings().equals(shell::to_value(shell::french_table())));
}

// Axis names, window names and panel labels show these units; each is the unit of the values.
TEST(Strings, UnitsAreThoseOfTheValues) {
    struct Expect {
        const char* build;
        const char* field;
        std::size_t row;  // of a list; 0 for a text
        std::u16string text;
    };
    const Expect cases[] = {
        {"de", "frontalA", 0, u"Stirnfläche [m²]:"},
        {"fr", "frontalA", 0, u"Surface frontale [m²]:"},
        {"en", "frontalA", 0, u"Frontal Area [m²]:"},
        {"de", "total_tork", 0, u"Trägheitsmoment Rolle [kgm²]:"},
        {"fr", "total_tork", 0, u"Moment d'inertie [kgm²]:"},
        {"en", "total_tork", 0, u"Moment of Inertia [kgm²]:"},
        {"de", "popup_yaxis", 7, u"Beschleunigung [m/s²]"},
        {"fr", "popup_yaxis", 7, u"Acceleration [m/s²]"},
        {"en", "popup_yaxis", 7, u"Acceleration [m/s²]"},
        {"de", "popup_yaxis", 6, u"Geschwindigkeit [km/h]"},
        {"fr", "popup_yaxis", 6, u"Vitesse [km/h]"},
        {"en", "popup_yaxis", 6, u"Velocity [km/h]"},
        {"de", "popup_xaxis", 4, u"Geschwindigkeit [km/h]"},
        {"fr", "popup_xaxis", 4, u"Vitesse [km/h]"},
        {"en", "popup_xaxis", 4, u"Velocity [km/h]"},
    };
    for (const Expect& c : cases) {
        const rt::Value f = table_of(c.build).field(c.field);
        std::u16string text = c.row ? row(f, c.row - 1) : f.text16();
        text.erase(text.find_last_not_of(u' ') + 1);
        EXPECT_EQ(text, c.text) << c.build << " " << c.field << " " << c.row;
    }
}

// A user finds the field a message names by the panel's label for it.
TEST(Strings, TheRollingResistanceMessageNamesTheFieldByItsLabel) {
    auto lower = [](std::u16string s) {
        for (char16_t& c : s)
            if (c >= u'A' && c <= u'Z') c = char16_t(c - u'A' + u'a');
        return s;
    };
    for (const Build& b : kBuilds) {
        const Strings& st = b.table();
        std::u16string label = lower(st.fro_value);
        label.erase(label.find_last_not_of(u": ") + 1);
        EXPECT_NE(lower(st.fro_no_number).find(label), std::u16string::npos) << b.name;
    }
}
