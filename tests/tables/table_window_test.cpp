#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <iterator>

#include "runtime/graphics/operations.h"
#include "shell/panel.h"
#include "support/file_size_limit.h"
#include "tables_fixture.h"

namespace {

using rt::Value;

constexpr const char* kTires = "tire_tab.txt";
constexpr const char* kWindow = "WheelList Figure";

class TableWindow : public tables_test::TablesTest {
protected:
    // Through the main window: the calculator's list button opens the tire table.
    void open_tires() {
        click_label(de().wheel_perim);
        press("Wheel Figure", de().Wwheellist);
        interp_->eval("close(findobj('Tag', 'Wheel Figure'))");
    }
    void select(double row) { shell::set_tagged("WheelList", "Value", Value(row)); }
    void add(bool yes = true) {
        dialogs_.answerQuestion(rt::utf8(yes ? de().yes : de().no));
        press(kWindow, de().Wtireadd);
    }
    void remove(bool yes = true) {
        dialogs_.answerQuestion(rt::utf8(yes ? de().yes : de().no));
        press(kWindow, de().Wtirerm);
    }
    void fill(const char* name, const char* size, const char* wheel, const char* circ) {
        type("TireName", name);
        type("TireSize", size);
        type("WheelSize", wheel);
        type("TireCircum", circ);
    }
};

TEST_F(TableWindow, ListsByNameWithoutCaseAndRewritesTheFileInThatOrder) {
    write_file(kTires, "b;100/80-10;10;1.3;\nA;3.50-10;10;1.25;\nc;120/70-12;12;1.4;\n");
    start();
    open_tires();
    EXPECT_EQ(rows(),
              (std::vector<std::u16string>{u"A  3.50-10    10  1.250", u"b  100/80-10  10  1.300",
                                           u"c  120/70-12  12  1.400"}));
    EXPECT_EQ(prop("WheelList", "FontName").text(), "FixedWidth");
    EXPECT_EQ(selected(), 1);
    EXPECT_EQ(text("TireName"), "A");
    EXPECT_EQ(text("TireCircum"), "1.250");

    fill("D", "90/90-10", "10", "1.2");
    add();
    const auto& q = dialogs_.shown().back();
    EXPECT_EQ(q.title, "¿Reifen Tabelle?");
    EXPECT_EQ(q.text, "D;90/90-10;10;1.2;\n" + rt::utf8(de().addask));
    EXPECT_EQ(q.buttons, (std::vector<std::string>{"Ja", "Nein"}));
    EXPECT_EQ(q.defaultButton, "Ja");
    EXPECT_EQ(read_file(kTires),
              "A;3.50-10;10;1.250;\nb;100/80-10;10;1.300;\nc;120/70-12;12;1.400;\n"
              "D;90/90-10;10;1.2;\n");
    EXPECT_EQ(rows().back(), u"D  90/90-10   10  1.200");
}

TEST_F(TableWindow, AcceptCopiesThreeDecimalsIntoTheMainWindowAndCloses) {
    write_file(kTires, "Roller;130/70-10;10;1.3;\n");
    start();
    open_tires();
    EXPECT_EQ(text("TireCircum"), "1.300");
    press(kWindow, de().accept);
    EXPECT_EQ(text("wheel_perim"), "1.300");
    EXPECT_FALSE(window_open(kWindow));

    // The gear table is the same window over its own file and field.
    write_file("gearing_tab.txt", "Moped;Automatik;1;12.6;\nmoped;Schaltung;2;8;\n");
    click_label(de().gear_ratio);
    EXPECT_EQ(rows("GearingList").size(), 2u);
    EXPECT_EQ(text("GRatio"), "12.600");
    EXPECT_EQ(rt::utf8(prop("GearList Figure", "Name").text16()), "Getriebe Tabelle");
    shell::set_tagged("GearingList", "Value", Value(2.0));
    press("GearList Figure", de().cancel);
    EXPECT_FALSE(window_open("GearList Figure"));
    EXPECT_EQ(text("gear_ratio"), "6.32");
    click_label(de().gear_ratio);
    shell::set_tagged("GearingList", "Value", Value(2.0));
    press("GearList Figure", de().accept);
    EXPECT_EQ(text("gear_ratio"), "8.000");
}

TEST_F(TableWindow, AddAndRemoveKeepTheLineNumberWithinTheList) {
    write_file(kTires, "b;s;1;1;\nc;s;1;2;\nd;s;1;3;\n");
    start();
    open_tires();
    select(2);
    fill("a", "s", "1", "4");
    add();
    // The same line stays selected, which now shows another entry.
    EXPECT_EQ(rows().front().substr(0, 1), u"a");
    EXPECT_EQ(selected(), 2);
    EXPECT_EQ(text("TireName"), "b");

    select(4);
    remove(false);
    EXPECT_EQ(rows().size(), 4u);
    remove();
    EXPECT_EQ(dialogs_.shown().back().text.substr(0, 9), "d;s;1;3.0");
    EXPECT_EQ(rows().size(), 3u);
    EXPECT_EQ(selected(), 3);  // the new last row
    EXPECT_EQ(text("TireName"), "c");
    EXPECT_EQ(read_file(kTires), "a;s;1;4.000;\nb;s;1;1.000;\nc;s;1;2.000;\n");
}

TEST_F(TableWindow, ReopeningRebuildsTheSameWindowWhereItIs) {
    write_file(kTires, "x;s;1;1;\n");
    start();
    open_tires();
    const Value fig = shell::tagged(kWindow);
    rt::set(fig, {Value("Position"), Value::row({3, 4, 15, 9})});
    type("TireName", "typed");
    interp_->eval("wheel_tab");
    EXPECT_TRUE(shell::tagged(kWindow).equals(fig));
    EXPECT_TRUE(rt::get(fig, "Position").equals(Value::row({3, 4, 15, 9})));
    EXPECT_EQ(text("TireName"), "x");
    EXPECT_EQ(rt::allchild(fig).numel(), 14u);
}

TEST_F(TableWindow, AMissingOrEmptiedTableShowsAnEmptyListToAddTo) {
    start();
    open_tires();
    EXPECT_TRUE(rows().empty());
    press(kWindow, de().accept);  // nothing selected: nothing copied
    EXPECT_EQ(text("wheel_perim"), "1.325");
    open_tires();
    press(kWindow, de().Wtirerm);  // nothing to remove: no question
    fill("first", "s", "1", "1");
    add();
    EXPECT_EQ(read_file(kTires), "first;s;1;1;\n");
    remove();
    EXPECT_EQ(read_file(kTires), "");
    EXPECT_TRUE(rows().empty());
    fill("again", "s", "1", "1");
    add();
    EXPECT_EQ(rows().size(), 1u);
    EXPECT_EQ(selected(), 1);
}

TEST_F(TableWindow, AFourthFieldThatIsNoNumberIsKeptAsItStands) {
    write_file(kTires, "Zeta;kept?;17;about two;\nAlpha;s;1;1.5;\n");
    start();
    open_tires();
    EXPECT_EQ(rows().back(), u"Zeta   kept?  17  about two");
    fill("Beta", "s", "1", "2");
    add();
    EXPECT_EQ(read_file(kTires), "Alpha;s;1;1.500;\nZeta;kept?;17;about two;\nBeta;s;1;2;\n");
    select(2);
    remove();
    EXPECT_EQ(read_file(kTires), "Alpha;s;1;1.500;\nZeta;kept?;17;about two;\n");
    // Accepted, it lands as shown, for the calculation to name, not as an empty field.
    select(2);
    press(kWindow, de().accept);
    EXPECT_EQ(text("wheel_perim"), "about two");
}

TEST_F(TableWindow, AnEntryTheFileCannotHoldIsRefusedBeforeAnythingIsWritten) {
    write_file(kTires, "a;s;1;1;\n");
    start();
    open_tires();
    const std::string long_name(1001, 'x');
    for (const char* name : {"x;y", "two\nlines", long_name.c_str()}) {
        fill(name, "s", "1", "1");
        dialogs_.expectError();
        press(kWindow, de().Wtireadd);
        EXPECT_EQ(last_dialog(), rt::utf8(de().tab_bad_field));
        EXPECT_EQ(read_file(kTires), "a;s;1;1;\n");
    }

    // A table as long as a file may be takes no further entry.
    std::string full;
    for (int i = 0; i < 100000; ++i) full += "a;s;1;1.000;\n";
    write_file(kTires, full);
    open_tires();
    fill("one more", "s", "1", "1");
    dialogs_.expectError();
    press(kWindow, de().Wtireadd);
    EXPECT_EQ(last_dialog(), rt::utf8(de().tab_full));
    EXPECT_EQ(read_file(kTires), full);
}

TEST_F(TableWindow, AFileItCannotReadIsNamedWithTheLineAndNoWindowOpens) {
    const std::string at = "\"tire_tab.txt\", Zeile ";
    std::string many;
    for (int i = 0; i < 100001; ++i) many += "a;s;1;1;\n";
    const struct {
        std::string bytes;
        std::string says;
    } cases[] = {
        {"a;b;c;1;;x;y;2;", at + "1: " + rt::utf8(de().tab_bad_file)},
        {"a;s;1;1;\r\nb;s;1;2;\r\n", at + "1: " + rt::utf8(de().tab_bad_file)},
        {"a;s;1;1;\nb;s;1;\n", at + "2: " + rt::utf8(de().tab_bad_file)},
        {"a;s;1;1;\nb;" + std::string(200000, 's') + ";1;2;\n",
         at + "2: " + rt::utf8(de().tab_long_field)},
        {many, at + "100001: " + rt::utf8(de().tab_many_lines)},
    };
    start();
    for (const auto& c : cases) {
        write_file(kTires, c.bytes);
        dialogs_.expectError();
        interp_->eval("wheel_tab");
        EXPECT_FALSE(window_open(kWindow));
        EXPECT_EQ(last_dialog(), c.says);
        EXPECT_EQ(dialogs_.shown().back().title, rt::utf8(de().file_error));
        EXPECT_EQ(read_file(kTires), c.bytes);
    }
    // Neither a folder nor a pipe is read (a pipe would wait for a writer for ever).
    std::filesystem::remove(kTires);
    ASSERT_EQ(::mkfifo(kTires, 0600), 0);
    dialogs_.expectError();
    interp_->eval("wheel_tab");
    EXPECT_EQ(last_dialog().rfind("\"tire_tab.txt\" " + rt::utf8(de().tab_unreadable) + "\n", 0),
              0u)
        << last_dialog();
    EXPECT_EQ(dialogs_.shown().back().title, rt::utf8(de().file_error));
    std::filesystem::remove(kTires);
    std::filesystem::create_directory(kTires);
    dialogs_.expectError();
    interp_->eval("wheel_tab");
    EXPECT_FALSE(window_open(kWindow));
}

TEST_F(TableWindow, AFailedWriteLeavesTheOldTableWholeAndSaysSo) {
    const std::string old = "a;s;1;1.000;\nb;s;1;2.000;\n";
    write_file(kTires, old);
    start();
    open_tires();
    fill("c", "a long size that passes the limit", "1", "1");
    dialogs_.answerQuestion("Ja");
    dialogs_.expectError();
    {
        testsupport::FileSizeLimit full(8);
        press(kWindow, de().Wtireadd);
    }

    EXPECT_EQ(last_dialog().rfind("\"tire_tab.txt\" " + rt::utf8(de().tab_write_failed), 0), 0u)
        << last_dialog();
    EXPECT_EQ(read_file(kTires), old);
    EXPECT_EQ(rows().size(), 2u);
    // Nothing is left beside the table.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_), {}), 1);
    EXPECT_EQ(rt::get(shell::tagged(kWindow), "Pointer").text(), "arrow");
}

}  // namespace
