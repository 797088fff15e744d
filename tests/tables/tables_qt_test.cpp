// The calculator strip and the tire table as Qt shows them, offscreen, over the example table.
// ROVANTEL_GRAB_DIR=folder saves the grabs there.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <random>

#include "qt/control_view.h"
#include "qt/figure_window.h"
#include "qt/qt_host.h"
#include "qt/scripted_dialogs.h"
#include "runtime/dispatch/callback.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "shell/panel.h"
#include "shell/rovantel.h"
#include "shell/shell_qt_fixture.h"
#include "support/shell_test_support.h"

namespace {

namespace fs = std::filesystem;

class TablesQt : public shell_test::ShellQtTest {
protected:
    void SetUp() override {
        home_ = fs::current_path();
        dir_ = fs::temp_directory_path() /
               ("rovantel_tables_qt_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
        fs::copy_file(fs::path(ROVANTEL_TEST_DATA) / "../../examples/tire_tab.txt",
                      dir_ / "tire_tab.txt");
        fs::current_path(dir_);
        ShellQtTest::SetUp();
    }
    void TearDown() override {
        ShellQtTest::TearDown();
        fs::current_path(home_);
        fs::remove_all(dir_);
    }
    rt::FigureWindow* window(const char* tag) {
        return host_->window(shell::tagged(std::string(tag)).scalar());
    }
    // The push button labelled `label` on the window tagged `figure`.
    QWidget* button(const char* figure, const std::u16string& label) {
        rt::Value h = rt::findobj({shell::tagged(std::string(figure)), rt::Value("Style"),
                                   rt::Value("pushbutton"), rt::Value("String"), rt::Value(label)});
        return h.numel() == 1 ? widget(h.scalar()) : nullptr;
    }
    fs::path home_, dir_;
};

TEST_F(TablesQt, TheStripAndTheTireTableShowEverythingInEveryLanguage) {
    const std::pair<const char*, const shell::Strings& (*)()> langs[] = {
        {"de", shell::german_table}, {"fr", shell::french_table}, {"en", shell::english_table}};
    for (const auto& [code, table] : langs) {
        SCOPED_TRACE(code);
        const shell::Strings& st = table();
        shell_test::use_table(st);
        interp_.eval("rovantel");
        // The windows follow the main window; it is given a size fit for today's screens,
        // since the run-time's default (560 x 420 pixels) cuts the main window's own texts.
        rt::setProps(shell::tagged("Main Figure"),
                     {{"Units", "pixels"}, {"Position", {100, 100, 800, 600}}});
        QTest::mouseClick(button("Main Figure", st.wheel_perim), Qt::LeftButton);
        rt::FigureWindow* main = window("Main Figure");
        rt::FigureWindow* strip = window("Wheel Figure");
        ASSERT_TRUE(main && strip);
        EXPECT_TRUE(strip->isVisible());
        expect_nothing_cut_off("Wheel Figure");

        // The strip drawn where it stands over the main window.
        const QRect m = main->geometry(), s = strip->geometry();
        const QRect all = m.united(s);
        QImage over(all.size(), QImage::Format_RGB32);
        over.fill(Qt::white);
        QPainter p(&over);
        p.drawImage(m.topLeft() - all.topLeft(), main->grab().toImage());
        p.drawImage(s.topLeft() - all.topLeft(), strip->grab().toImage());
        p.end();
        save_grab(over, std::string("calculator_") + code);

        QTest::mouseClick(button("Wheel Figure", st.Wwheellist), Qt::LeftButton);
        rt::FigureWindow* list = window("WheelList Figure");
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->isVisible());
        auto* rows = qobject_cast<QListWidget*>(widget(shell::tagged("WheelList").scalar()));
        ASSERT_NE(rows, nullptr);
        EXPECT_EQ(rows->count(), 12);
        EXPECT_TRUE(QFontInfo(rows->font()).fixedPitch());
        expect_nothing_cut_off("WheelList Figure");
        save_grab(list->grab().toImage(), std::string("tire_table_") + code);

        // A click on a row selects it; accept copies that row's circumference and closes.
        QTest::mouseClick(rows->viewport(), Qt::LeftButton, {},
                          rows->visualItemRect(rows->item(2)).center());
        EXPECT_EQ(shell::value_of("WheelList"), 3);
        QTest::mouseClick(button("WheelList Figure", st.accept), Qt::LeftButton);
        EXPECT_EQ(rt::utf8(shell::string_of("wheel_perim")), "1.985");
        EXPECT_TRUE(shell::tagged("WheelList Figure").isEmpty());
    }
}

TEST_F(TablesQt, FromASmallMainWindowTheFrenchWindowsStillShowTheirWholeTexts) {
    const shell::Strings& st = shell::french_table();
    shell_test::use_table(st);
    fs::copy_file(fs::path(ROVANTEL_TEST_DATA) / "../../examples/gearing_tab.txt",
                  dir_ / "gearing_tab.txt");
    interp_.eval("rovantel");
    rt::setProps(shell::tagged("Main Figure"),
                 {{"Units", "pixels"}, {"Position", {100, 100, 480, 360}}});
    expect_nothing_cut_off("Main Figure");
    QTest::mouseClick(button("Main Figure", st.wheel_perim), Qt::LeftButton);
    expect_nothing_cut_off("Wheel Figure");
    QTest::mouseClick(button("Wheel Figure", st.Wwheellist), Qt::LeftButton);
    expect_nothing_cut_off("WheelList Figure");
    QTest::mouseClick(button("Main Figure", st.gear_ratio), Qt::LeftButton);
    expect_nothing_cut_off("GearList Figure");

    // Pressed again, the calculator's button brings its open strip forward.
    rt::FigureWindow* main = window("Main Figure");
    main->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), main);
    QTest::mouseClick(button("Main Figure", st.wheel_perim), Qt::LeftButton);
    QTRY_COMPARE(QApplication::activeWindow(), window("Wheel Figure"));
}

}  // namespace
