// The main window as Qt shows it, offscreen: clicks go through the real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <cstdlib>

#include "qt/control_view.h"
#include "qt/figure_window.h"
#include "qt/qt_host.h"
#include "qt/scripted_dialogs.h"
#include "runtime/dispatch/callback.h"
#include "runtime/graphics/operations.h"
#include "shell/panel.h"
#include "shell/rovantel.h"
#include "shell_qt_fixture.h"
#include "shell_test_support.h"

namespace {

class MainWindowQt : public shell_test::ShellQtTest {};

}  // namespace

TEST_F(MainWindowQt, EveryLanguageShowsItsWindowAndAClickRunsTheButtonsCallback) {
    const std::pair<const char*, const shell::Strings& (*)()> langs[] = {
        {"de", shell::german_table}, {"fr", shell::french_table}, {"en", shell::english_table}};
    for (const auto& [code, table] : langs) {
        SCOPED_TRACE(code);
        shell_test::use_table(table());
        interp_.eval("rovantel");
        rt::Handle fig = shell::tagged("Main Figure").scalar();
        rt::FigureWindow* window = host_->window(fig);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_EQ(window->windowTitle().toStdString(), "Rovantel V0.1.18");
        // The window is as large as the model says, never below 560 x 420.
        const rt::Rect px = rt::graphics().pixelPosition(fig);
        EXPECT_EQ(window->width(), static_cast<int>(px[2]));
        EXPECT_GE(window->width(), 560);
        EXPECT_GE(window->height(), 420);

        QImage grab = window->grab().toImage();
        EXPECT_FALSE(grab.isNull());
        if (const char* dir = std::getenv("ROVANTEL_GRAB_DIR"))
            grab.save(QString("%1/main_window_%2.png").arg(dir, code));

        QWidget* clear = widget_of("clear_cach");
        ASSERT_NE(clear, nullptr);
        QTest::mouseClick(clear, Qt::LeftButton);
        EXPECT_EQ(rt::get(rt::Value(fig), "UserData").scalar(), 2);
        // The drum fields are hidden after start-up.
        QWidget* drum = widget_of("total_tork");
        ASSERT_NE(drum, nullptr);
        EXPECT_FALSE(drum->isVisible());
    }
}
