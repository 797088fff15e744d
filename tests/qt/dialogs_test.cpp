// The dialogs: the scripted provider tests rely on, and Qt's own driven by a timer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include "qt/qt_dialogs.h"
#include "qt/qt_host.h"
#include "qt/scripted_dialogs.h"
#include "runtime/dispatch/error.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

// Runs `act` on the next modal dialog once it is up.
void onModal(std::function<void(QWidget*)> act, int triesLeft = 500) {
    // Polls for the dialog, so a slow or loaded machine only waits longer.
    QTimer::singleShot(20, [act, triesLeft] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            act(w);
        } else if (triesLeft > 0) {
            onModal(act, triesLeft - 1);
        } else {
            ADD_FAILURE() << "no modal dialog open";
        }
    });
}

// Closes whatever modal dialog is still open after a while, so a wrong extra dialog fails
// the test instead of hanging it. Stops with the test, so it never reaches a later test's
// dialog.
struct Watchdog {
    QTimer timer;
    bool extraDialog = false;
    Watchdog() {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            while (QWidget* w = QApplication::activeModalWidget()) {
                extraDialog = true;
                ADD_FAILURE() << "left open: " << w->metaObject()->className() << " "
                              << w->windowTitle().toStdString();
                w->close();
            }
        });
        timer.start(10000);
    }
};

struct WorkingFolder {
    fs::path old = fs::current_path();
    testsupport::TempDir temp;
    fs::path dir;
    explicit WorkingFolder(const std::string& name) : temp(name), dir(temp.path()) {
        fs::current_path(dir);
    }
    ~WorkingFolder() { fs::current_path(old); }
};

TEST(ScriptedDialogs, AnswersReachTheCallerInOrderAndRecordWhatWasShown) {
    rt::QtHost host;
    rt::ScriptedDialogs dlg([](const std::string& line) { ADD_FAILURE() << line; });
    host.setDialogs(&dlg);
    rt::Host* old = rt::setHost(&host);
    WorkingFolder wf("rt_scripted_dialogs");

    dlg.answerPutFile(rt::FileChoice{"run1", "/tmp/out/"});
    dlg.answerPutFile(std::nullopt);
    dlg.answerQuestion("Ja");
    dlg.answerColor(rt::Rgb{1, 0.5, 0});
    dlg.expectError();

    auto put = rt::uiputfile({{"*.cfg", "Parameter"}, {"*.*", "Alle Dateien"}}, "Speichern");
    ASSERT_TRUE(put);
    EXPECT_EQ(put->name, "run1");
    EXPECT_EQ(put->folder, "/tmp/out/");
    EXPECT_FALSE(rt::uiputfile({{"*.wav", "WAV"}}, "again"));
    EXPECT_EQ(rt::questdlg("x.wav\nüberschreiben?", "x.wav", "Ja", "Nein", "Nein"), "Ja");
    EXPECT_EQ(rt::uisetcolor({0, 0, 1}), (rt::Rgb{1, 0.5, 0}));
    rt::errordlg("kaputt");
    EXPECT_EQ(dlg.pending(), 0u);

    const auto& shown = dlg.shown();
    ASSERT_EQ(shown.size(), 5u);
    EXPECT_EQ(shown[0].title, "Speichern");
    ASSERT_EQ(shown[0].filters.size(), 2u);
    EXPECT_EQ(shown[0].filters[1].description, "Alle Dateien");
    EXPECT_EQ(shown[0].folder, fs::current_path());
    EXPECT_EQ(shown[2].buttons, (std::vector<std::string>{"Ja", "Nein"}));
    EXPECT_EQ(shown[2].defaultButton, "Nein");
    EXPECT_EQ(shown[3].initial, (rt::Rgb{0, 0, 1}));
    EXPECT_EQ(shown[4].title, "Error Dialog");
    EXPECT_EQ(shown[4].text, "kaputt");
    rt::setHost(old);
}

TEST(ScriptedDialogs, UnexpectedDialogIsReportedAndCancelled) {
    std::vector<std::string> failures;
    rt::ScriptedDialogs dlg([&](const std::string& line) { failures.push_back(line); });
    dlg.answerQuestion("Ja");
    EXPECT_FALSE(dlg.getFile({}, "Datei"));  // wrong kind: the question stays queued
    dlg.error("Fehler", "Titel");            // not expected either
    EXPECT_EQ(dlg.question("?", "t", {"Ja", "Nein"}, "Ja"), "Ja");
    EXPECT_EQ(dlg.question("?", "t", {"Ja", "Nein"}, "Ja"), "");  // queue empty
    ASSERT_EQ(failures.size(), 3u);
    EXPECT_NE(failures[0].find("uigetfile \"Datei\""), std::string::npos);
    EXPECT_NE(failures[1].find("errordlg"), std::string::npos);

    rt::ScriptedDialogs strict;  // default handler throws
    EXPECT_THROW(strict.color({0, 0, 0}), rt::Error);
}

TEST(QtDialogs, FilterTextKeepsTheDescriptionAndEndsInThePatterns) {
    struct Case {
        rt::FileFilter in;
        const char* out;
    } cases[] = {
        {{"*.cfg", "Parameterdateien"}, "Parameterdateien (*.cfg)"},
        {{"*.bmp;*.jpg;*.png;", "Bilder (*.bmp,*,jpg,*.png,*.pdf)"},
         "Bilder (*.bmp,*,jpg,*.png,*.pdf) (*.bmp *.jpg *.png)"},
        {{"*.*", ""}, "*.* (*.*)"},
    };
    for (const Case& c : cases) EXPECT_EQ(rt::fileDialogFilter(c.in).toStdString(), c.out);
}

TEST(QtDialogs, PutFileReturnsTheTypedNameAndFolderWithoutAskingToReplace) {
    rt::QtHost host;
    WorkingFolder wf("rt_qt_putfile");
    std::ofstream(wf.dir / "exists.cfg") << "old";
    QString openedIn;
    QStringList filters;
    onModal([&](QWidget* w) {
        auto* fd = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(fd, nullptr);
        openedIn = fd->directory().absolutePath();
        filters = fd->nameFilters();
        auto* edit = fd->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(edit, nullptr);
        edit->setText("exists.cfg");
        QMetaObject::invokeMethod(fd, "accept");
    });
    Watchdog watchdog;
    auto got = host.dialogs().putFile({{"*.cfg", "Parameter"}, {"*.*", "Alle"}}, "Sichern");
    EXPECT_FALSE(watchdog.extraDialog) << "an extra question came up";
    ASSERT_TRUE(got);
    EXPECT_EQ(got->name, "exists.cfg");
    EXPECT_EQ(got->folder, fs::canonical(wf.dir).string() + "/");
    EXPECT_EQ(fs::canonical(openedIn.toStdString()), fs::canonical(wf.dir));
    EXPECT_EQ(filters, (QStringList{"Parameter (*.cfg)", "Alle (*.*)"}));

    onModal([](QWidget* w) { w->close(); });
    EXPECT_FALSE(host.dialogs().getFile({{"*.wav", "WAV"}}, "Laden"));
}

TEST(QtDialogs, QuestionAnswersThePressedButtonOrEmptyWhenClosed) {
    rt::QtHost host;
    onModal([](QWidget* w) {
        for (QPushButton* b : w->findChildren<QPushButton*>())
            if (b->text() == "Nein") b->click();
    });
    EXPECT_EQ(host.dialogs().question("Datei\nersetzen?", "Frage", {"Ja", "Nein"}, "Ja"), "Nein");
    onModal([](QWidget* w) { w->close(); });
    EXPECT_EQ(host.dialogs().question("Datei ersetzen?", "Frage", {"Ja", "Nein"}, "Ja"), "");
}

TEST(QtDialogs, ColourDialogReturnsTheChosenColourOrNothing) {
    rt::QtHost host;
    onModal([](QWidget* w) {
        auto* cd = qobject_cast<QColorDialog*>(w);
        ASSERT_NE(cd, nullptr);
        EXPECT_EQ(cd->currentColor(), QColor(0, 0, 255));
        cd->setCurrentColor(QColor(255, 0, 51));
        cd->accept();
    });
    EXPECT_EQ(host.dialogs().color({0, 0, 1}), (rt::Rgb{1, 0, 0.2}));
    onModal([](QWidget* w) { w->close(); });
    EXPECT_FALSE(host.dialogs().color({0, 0, 1}));
}

TEST(QtDialogs, ErrorDialogsReturnAtOnceAndStandSideBySide) {
    rt::QtHost host;
    host.dialogs().error("first", "Error Dialog");
    host.dialogs().error("second", "Fehler");
    QCoreApplication::processEvents();
    std::vector<QMessageBox*> boxes;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* b = qobject_cast<QMessageBox*>(w); b && b->isVisible()) boxes.push_back(b);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0]->pos(), boxes[1]->pos());
    for (QMessageBox* b : boxes) {
        EXPECT_FALSE(b->isModal());
        b->close();
    }
}

}  // namespace
