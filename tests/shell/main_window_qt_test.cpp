// The main window as Qt shows it, offscreen: clicks go through the real widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "qt/application.h"
#include "qt/control_view.h"
#include "qt/figure_window.h"
#include "qt/qt_host.h"
#include "qt/scripted_dialogs.h"
#include "runtime/dispatch/callback.h"
#include "runtime/graphics/operations.h"
#include "shell/panel.h"
#include "shell/rovantel.h"
#include "shell/strings.h"
#include "shell_qt_fixture.h"
#include "support/modal_dialogs.h"
#include "support/shell_test_support.h"
#include "support/working_folder.h"

namespace {

namespace fs = std::filesystem;
using testsupport::offCentre;
using testsupport::onModal;
using testsupport::openErrorDialogs;
using testsupport::WorkingFolder;

class MainWindowQt : public shell_test::ShellQtTest {
protected:
    void TearDown() override {
        for (QMessageBox* b : openErrorDialogs()) b->close();
        ShellQtTest::TearDown();
    }
    // The untagged push button showing `label`.
    QWidget* button(const std::u16string& label) {
        rt::Value h = rt::findobj(
            {rt::Value("Style"), rt::Value("pushbutton"), rt::Value("String"), rt::Value(label)});
        return h.numel() == 1 ? widget(h.scalar()) : nullptr;
    }
    rt::FigureWindow* main_window() { return host_->window(shell::tagged("Main Figure").scalar()); }
    // Starts in `table`'s language with the main window active, as a user finds it.
    rt::FigureWindow* start(const shell::Strings& table) {
        shell_test::use_table(table);
        interp_.eval("rovantel");
        rt::FigureWindow* main = main_window();
        main->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(main));
        return main;
    }
};

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
        EXPECT_EQ(window->width(), std::lround(px[2]));
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

TEST_F(MainWindowQt, AForeignFileShowsOneErrorDialogOverTheMainWindowAndTheFocusComesBack) {
    WorkingFolder wf("rovantel_main_qt");
    std::ofstream("notes.cfg") << "These are notes, not parameters.\n";
    host_->setDialogs(nullptr);
    const shell::Strings& st = shell::english_table();
    rt::FigureWindow* main = start(st);
    QWidget* load = button(st.load);
    ASSERT_NE(load, nullptr);
    int chooserOff = -1;
    onModal([&](QWidget* w) {
        auto* fd = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(fd, nullptr);
        chooserOff = offCentre(fd, main);
        fd->findChild<QLineEdit*>("fileNameEdit")->setText("notes.cfg");
        QMetaObject::invokeMethod(fd, "accept");
    });
    testsupport::Watchdog watchdog;
    testing::internal::CaptureStderr();
    QTest::mouseClick(load, Qt::LeftButton);
    const std::string err = testing::internal::GetCapturedStderr();
    QCoreApplication::processEvents();

    EXPECT_LE(chooserOff, 4);
    auto boxes = openErrorDialogs();
    ASSERT_EQ(boxes.size(), 1u);
    const std::string text = boxes[0]->text().toStdString();
    EXPECT_NE(text.find("notes.cfg"), std::string::npos) << text;
    EXPECT_NE(text.find("is not a variable file"), std::string::npos) << text;
    EXPECT_NE(err.find(text), std::string::npos) << err;
    EXPECT_LE(offCentre(boxes[0], main), 4);
    EXPECT_EQ(rt::utf8(shell::string_of("total_mass")), "200.0");  // the panel is untouched
    boxes[0]->close();
    QTRY_COMPARE(QApplication::focusWidget(), load);
}

// Also the rolling-resistance coefficient, read last, which its failure leaves empty, not unset.
TEST_F(MainWindowQt, ABadNumberOnSaveShowsExactlyOneDialog) {
    WorkingFolder wf("rovantel_main_qt");
    const shell::Strings& st = shell::german_table();
    start(st);
    for (const auto& [tag, label] :
         {std::pair{"cw_value", st.cw_value}, {"fro_value", st.fro_value}}) {
        const rt::Value kept = shell::get_tagged(tag, "String");
        shell::set_tagged(tag, "String", rt::Value("0,5x"));
        dialogs_.answerPutFile(rt::FileChoice{"run1", wf.dir.string() + "/"});
        dialogs_.expectError();
        const std::size_t before = dialogs_.shown().size();
        QTest::mouseClick(button(st.save), Qt::LeftButton);
        ASSERT_EQ(dialogs_.shown().size(), before + 2) << tag;
        EXPECT_EQ(dialogs_.shown().back().text, rt::utf8(st.error_num2s + label) + "0.5x");
        EXPECT_TRUE(dialogs_.reported().empty()) << dialogs_.reported().front();
        EXPECT_FALSE(fs::exists(wf.dir / "run1.cfg")) << tag;
        shell::set_tagged(tag, "String", kept);
    }
}

// Saves main_window_focused.png and file_chooser_de.png to ROVANTEL_GRAB_DIR when it is set.
TEST_F(MainWindowQt, TheGermanFileChooserSpeaksGermanOverTheMainWindow) {
    WorkingFolder wf("rovantel_main_qt");
    std::ofstream("lauf1.wav") << "RIFF";
    std::ofstream("README") << "x";
    ASSERT_TRUE(rt::useQtLanguage("de")) << "Qt's German translations are not installed";
    rt::setUiLanguage("de");
    host_->setDialogs(nullptr);
    const shell::Strings& st = shell::german_table();
    rt::FigureWindow* main = start(st);
    auto* field = qobject_cast<QLineEdit*>(widget_of("gear_ratio"));
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->setCursorPosition(field->text().size());
    QTRY_VERIFY(field->hasFocus());
    save_grab(main->grab().toImage(), "main_window_focused");

    QStringList types, buttons;
    QString title;
    int off = -1;
    onModal([&](QWidget* w) {
        title = w->windowTitle();
        off = offCentre(w, main);
        if (auto* c = w->findChild<QComboBox*>("fileTypeCombo"))
            for (int i = 0; i < c->count(); ++i) types << c->itemText(i);
        for (QPushButton* b : w->findChildren<QPushButton*>()) buttons << b->text();
        save_grab(w->grab().toImage(), "file_chooser_de");
        w->close();
    });
    QTest::mouseClick(button(st.get_file), Qt::LeftButton);
    rt::setUiLanguage("en");
    rt::useQtLanguage("en");
    EXPECT_EQ(title.toStdString(), rt::utf8(st.wav_files));
    EXPECT_EQ(types, (QStringList{"WAV Dateien (*.wav)", "Alle Dateien (*.*)"}));
    EXPECT_TRUE(buttons.contains("Abbrechen")) << buttons.join('|').toStdString();
    EXPECT_LE(off, 4);
}

TEST_F(MainWindowQt, TheMainWindowCannotBeMadeSmallerThanItsTextsNeed) {
    // Today's screen, as the model sees it; the offscreen one is too small for these windows.
    rt::graphics().setScreen({1920, 1080, 96});
    const std::pair<const char*, const shell::Strings& (*)()> langs[] = {
        {"de", shell::german_table}, {"fr", shell::french_table}, {"en", shell::english_table}};
    for (const auto& [code, table] : langs) {
        SCOPED_TRACE(code);
        rt::FigureWindow* main = start(table());
        const QSize least = main->minimumSize();
        EXPECT_GT(least.width(), 480);
        EXPECT_GT(least.height(), 360);
        main->resize(480, 360);
        EXPECT_EQ(main->size(), least);
        // The model knows the size the window really has.
        const rt::Rect px = rt::graphics().pixelPosition(main->handle());
        EXPECT_EQ(QSize(int(px[2]), int(px[3])), main->size());
        expect_nothing_cut_off(main->handle(), code);
    }
    rt::graphics().useHostScreen();
}
