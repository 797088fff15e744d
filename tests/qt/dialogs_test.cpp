// The dialogs: the scripted provider tests rely on, and Qt's own driven by a timer.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <filesystem>
#include <fstream>

#include "qt/application.h"
#include "qt/qt_dialogs.h"
#include "qt/qt_host.h"
#include "qt/scripted_dialogs.h"
#include "runtime/dispatch/error.h"
#include "support/modal_dialogs.h"
#include "support/working_folder.h"

namespace {

namespace fs = std::filesystem;

using testsupport::onModal;
using testsupport::Watchdog;

using testsupport::WorkingFolder;

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
    // The last group is what Qt matches; the dialog hides it and shows what precedes it.
    struct Case {
        rt::FileFilter in;
        const char* out;
    } cases[] = {
        {{"*.cfg", "Parameterdateien"}, "Parameterdateien (*.cfg) (*.cfg)"},
        {{"*.cfg", "CFG Dateien (*.cfg)"}, "CFG Dateien (*.cfg) (*.cfg)"},
        {{"*.bmp;*.jpg;*.png;", "Bilder (*.bmp,*,jpg,*.png,*.pdf)"},
         "Bilder (*.bmp,*,jpg,*.png,*.pdf) (*.bmp *.jpg *.png)"},
        {{"*.*", ""}, "*.* (*)"},
        {{"*.*", "Alle Dateien (*.*)"}, "Alle Dateien (*.*) (*)"},
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
        auto* types = fd->findChild<QComboBox*>("fileTypeCombo");
        ASSERT_NE(types, nullptr);
        for (int i = 0; i < types->count(); ++i) filters << types->itemText(i);
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

TEST(QtDialogs, FilterListShowsEachPatternOnceAndAllFilesListsNamesWithoutADot) {
    rt::QtHost host;
    WorkingFolder wf("rt_qt_filters");
    for (const char* name : {"run.cfg", "notes.txt", "README"}) std::ofstream(wf.dir / name) << "x";
    QStringList shown, cfgOnly, all;
    onModal([&](QWidget* w) {
        auto* fd = qobject_cast<QFileDialog*>(w);
        ASSERT_NE(fd, nullptr);
        auto* types = fd->findChild<QComboBox*>("fileTypeCombo");
        auto* model = fd->findChild<QFileSystemModel*>();
        ASSERT_TRUE(types && model);
        for (int i = 0; i < types->count(); ++i) shown << types->itemText(i);
        auto listed = [&] {
            QStringList names;
            const QModelIndex folder = model->index(fd->directory().absolutePath());
            for (int r = 0; r < model->rowCount(folder); ++r)
                names << model->index(r, 0, folder).data().toString();
            names.sort();
            return names;
        };
        EXPECT_TRUE(QTest::qWaitFor([&] { return !listed().isEmpty(); }));
        cfgOnly = listed();
        fd->selectNameFilter(fd->nameFilters().at(1));
        EXPECT_TRUE(QTest::qWaitFor([&] { return listed().size() == 3; }));
        all = listed();
        fd->reject();
    });
    Watchdog watchdog;
    EXPECT_FALSE(host.dialogs().getFile(
        {{"*.cfg", "CFG Dateien (*.cfg)"}, {"*.*", "Alle Dateien (*.*)"}, {"*.ps", "PS Files"}},
        "Parameter Datei"));
    EXPECT_EQ(shown, (QStringList{"CFG Dateien (*.cfg)", "Alle Dateien (*.*)", "PS Files (*.ps)"}));
    EXPECT_EQ(cfgOnly, QStringList{"run.cfg"});
    EXPECT_EQ(all, (QStringList{"README", "notes.txt", "run.cfg"}));
}

TEST(QtDialogs, TheFileChoosersSizeTypeAndDateColumnsAreShownWhole) {
    rt::QtHost host;
    WorkingFolder wf("rt_qt_columns");
    // Its type, "Tar archive (gzip-compressed)", is longer than Qt's default column.
    std::ofstream(wf.dir / "runs.tar.gz") << "x";
    QStringList cut;
    onModal([&](QWidget* w) {
        auto* list = w->findChild<QTreeView*>("treeView");
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return list->model()->rowCount(list->rootIndex()) > 0; }));
        const QModelIndex first = list->model()->index(0, 0, list->rootIndex());
        auto cutColumns = [&] {
            QStringList texts;
            for (int c = 1; c < list->header()->count(); ++c) {
                const QString shown = first.siblingAtColumn(c).data().toString();
                if (list->header()->sectionSize(c) <= list->fontMetrics().horizontalAdvance(shown))
                    texts << shown;
            }
            return texts;
        };
        // The list lays itself out once its folder is read.
        (void)QTest::qWaitFor([&] { return cutColumns().isEmpty(); }, 1000);
        cut = cutColumns();
        w->close();
    });
    Watchdog watchdog;
    host.dialogs().getFile({{"*.*", "All Files (*.*)"}}, "Recordings");
    EXPECT_TRUE(cut.isEmpty()) << cut.join(" | ").toStdString();
}

// Qt's own texts come from Debian's qt6-translations-l10n (scripts/install-deps.sh).
TEST(QtDialogs, TheGermanBuildsStandardDialogsAndMessageTitlesSpeakGerman) {
    rt::QtHost host;
    ASSERT_TRUE(rt::useQtLanguage("de")) << "Qt's German translations are not installed";
    rt::setUiLanguage("de");
    auto buttonTexts = [](QWidget* w) {
        QStringList texts;
        for (QPushButton* b : w->findChildren<QPushButton*>()) texts << b->text();
        return texts;
    };
    QStringList fileButtons, colourButtons;
    QString lookIn, fileName, colourTitle;
    onModal([&](QWidget* w) {
        fileButtons = buttonTexts(w);
        if (auto* l = w->findChild<QLabel*>("lookInLabel")) lookIn = l->text();
        if (auto* l = w->findChild<QLabel*>("fileNameLabel")) fileName = l->text();
        w->close();
    });
    host.dialogs().getFile({{"*.wav", "WAV Dateien (*.wav)"}}, "WAV Datei:");
    onModal([&](QWidget* w) {
        colourButtons = buttonTexts(w);
        colourTitle = w->windowTitle();
        w->close();
    });
    host.dialogs().color({0, 0, 1});
    rt::ScriptedDialogs scripted;
    scripted.expectError();
    scripted.expectWarning();
    host.setDialogs(&scripted);
    rt::Host* old = rt::setHost(&host);
    rt::errordlg("Fehlerhaftes Zahlenformat von Cw Wert:x");
    rt::warndlg("\"run.wav\" ist abgeschnitten.");
    rt::setHost(old);
    rt::setUiLanguage("en");
    rt::useQtLanguage("en");

    EXPECT_TRUE(fileButtons.contains("&Öffnen") || fileButtons.contains("Öffnen"))
        << fileButtons.join('|').toStdString();
    EXPECT_TRUE(fileButtons.contains("Abbrechen")) << fileButtons.join('|').toStdString();
    EXPECT_EQ(lookIn.toStdString(), "Suchen in:");
    EXPECT_EQ(fileName.remove(u'&').toStdString(), "Dateiname:");
    EXPECT_TRUE(colourButtons.contains("Abbrechen")) << colourButtons.join('|').toStdString();
    EXPECT_EQ(colourTitle.toStdString(), "Farbauswahl");
    ASSERT_EQ(scripted.shown().size(), 2u);
    EXPECT_EQ(scripted.shown()[0].title, "Fehler");
    EXPECT_EQ(scripted.shown()[1].title, "Warnung");
}

}  // namespace
