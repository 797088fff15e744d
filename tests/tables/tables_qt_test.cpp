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
#include "shell/shell_test_support.h"
#include "support/text_fit.h"

namespace {

namespace fs = std::filesystem;

class TablesQt : public ::testing::Test {
protected:
    TablesQt()
        : dialogs_([](const std::string& line) { ADD_FAILURE() << line; }),
          table_(shell::rovantel_function_table()),
          interp_(table_, &builtins_) {
        rt::register_graphics_builtins(builtins_);
    }
    void SetUp() override {
        home_ = fs::current_path();
        dir_ = fs::temp_directory_path() /
               ("rovantel_tables_qt_" + std::to_string(std::random_device{}()));
        fs::create_directories(dir_);
        fs::copy_file(fs::path(ROVANTEL_TEST_DATA) / "../../examples/tire_tab.txt",
                      dir_ / "tire_tab.txt");
        fs::current_path(dir_);
        rt::graphics().reset();
        host_ = std::make_unique<rt::QtHost>();
        host_->setDialogs(&dialogs_);
        host_->setEvaluator([this](const std::string& code) { interp_.eval(code); });
        previous_ = rt::setHost(host_.get());
    }
    void TearDown() override {
        rt::graphics().reset();
        rt::setHost(previous_);
        host_.reset();
        fs::current_path(home_);
        fs::remove_all(dir_);
    }
    rt::FigureWindow* window(const char* tag) {
        return host_->window(shell::tagged(std::string(tag)).scalar());
    }
    QWidget* widget(rt::Handle h) {
        rt::FigureWindow* w = host_->window(rt::graphics().parent(h));
        return w && w->control(h) ? w->control(h)->widget() : nullptr;
    }
    // The push button labelled `label` on the window tagged `figure`.
    QWidget* button(const char* figure, const std::u16string& label) {
        rt::Value h = rt::findobj({shell::tagged(std::string(figure)), rt::Value("Style"),
                                   rt::Value("pushbutton"), rt::Value("String"), rt::Value(label)});
        return h.numel() == 1 ? widget(h.scalar()) : nullptr;
    }
    // Every control of the window shows its whole text.
    void expect_nothing_cut_off(const char* tag) {
        std::vector<QWidget*> controls;
        for (rt::Handle h : rt::graphics().children(shell::tagged(std::string(tag)).scalar()))
            if (rt::graphics().type(h) == rt::ObjectType::UIControl) controls.push_back(widget(h));
        testsupport::expectTextsFit(controls, tag);
    }
    void save(const QImage& image, const char* name) {
        if (const char* dir = std::getenv("ROVANTEL_GRAB_DIR"))
            image.save(QString("%1/%2.png").arg(dir, name));
    }

    fs::path home_, dir_;
    rt::ScriptedDialogs dialogs_;
    rt::FunctionTable table_, builtins_;
    rt::CallbackInterpreter interp_;
    std::unique_ptr<rt::QtHost> host_;
    rt::Host* previous_ = nullptr;
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
        save(over, (std::string("calculator_") + code).c_str());

        QTest::mouseClick(button("Wheel Figure", st.Wwheellist), Qt::LeftButton);
        rt::FigureWindow* list = window("WheelList Figure");
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->isVisible());
        auto* rows = qobject_cast<QListWidget*>(widget(shell::tagged("WheelList").scalar()));
        ASSERT_NE(rows, nullptr);
        EXPECT_EQ(rows->count(), 12);
        EXPECT_TRUE(QFontInfo(rows->font()).fixedPitch());
        expect_nothing_cut_off("WheelList Figure");
        save(list->grab().toImage(), (std::string("tire_table_") + code).c_str());

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
