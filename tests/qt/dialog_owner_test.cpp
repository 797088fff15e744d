// Which window a dialog belongs to: it opens centred over the window whose control ran the
// callback, an error that ends a callback reaches the user there once, the keyboard focus
// goes back to the control afterwards, and figure(h) brings h's window forward.
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "qt_fixture.h"
#include "support/modal_dialogs.h"

namespace {

using rt::Value;
using testsupport::offCentre;
using testsupport::onModal;
using testsupport::openErrorDialogs;

class DialogOwner : public QtFixture {
protected:
    void SetUp() override {
        QtFixture::SetUp();
        host->setDialogs(nullptr);  // Qt's own dialogs: their place is the point
        // spawn: opens another window (it becomes current), then fails.
        table.add("spawn", 0, 0, [](const rt::Values&, int) -> rt::Values {
            rt::figure({Value("Position"), Value::row({700, 500, 300, 200})});
            throw rt::Error("Variable 'cw' not found");
        });
        // tell: shows its own error dialog for a failure, then ends with the run-time's error.
        table.add("tell", 0, 0, [](const rt::Values&, int) -> rt::Values {
            rt::errordlg("Wrong Format of Cd Value:x");
            throw rt::Error("One or more output arguments not assigned during call to 'get_par'.");
        });
        // warn: tells the user something and goes on.
        table.add("warn", 0, 0, [this](const rt::Values&, int) {
            rt::warndlg("\"run.wav\" is cut short.");
            went_on = true;
            return rt::Values{};
        });
        table.add("ask", 0, 0, [this](const rt::Values&, int) {
            answer = rt::questdlg("Really?", "Tyre List", "Yes", "No", "Yes");
            return rt::Values{};
        });
    }
    void TearDown() override {
        for (QMessageBox* b : openErrorDialogs()) b->close();
        QtFixture::TearDown();
    }
    // A window at a known place with one button running `callback`.
    QWidget* button(const char* callback, rt::Handle* fig = nullptr) {
        const rt::Handle f = figure({Value("Position"), Value::row({120, 150, 500, 320})});
        if (fig) *fig = f;
        return widget(control(f, "push",
                              {Value("String"), Value("Go"), Value("Callback"), Value(callback),
                               Value("Position"), Value::row({0.1, 0.1, 0.3, 0.2})}));
    }

    std::string answer;
    bool went_on = false;
};

TEST_F(DialogOwner, AnErrorEndingACallbackShowsOnceOverTheWindowWhoseControlRanIt) {
    QWidget* go = button("spawn");
    ASSERT_NE(go, nullptr);
    go->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(go->window()));
    testing::internal::CaptureStderr();
    QTest::mouseClick(go, Qt::LeftButton);
    const std::string err = testing::internal::GetCapturedStderr();
    QCoreApplication::processEvents();
    EXPECT_NE(err.find("Variable 'cw' not found"), std::string::npos) << err;

    auto boxes = openErrorDialogs();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->text().toStdString(), "Variable 'cw' not found");
    EXPECT_EQ(boxes[0]->windowTitle().toStdString(), "Error Dialog");
    // Over the window of the button, not over the window the callback opened meanwhile.
    EXPECT_LE(offCentre(boxes[0], go->window()), 4);
    boxes[0]->close();
    QTRY_COMPARE(QApplication::focusWidget(), go);
}

TEST_F(DialogOwner, ACallbacksOwnErrorDialogIsNotRepeatedInTheRunTimesWords) {
    QWidget* go = button("tell");
    testing::internal::CaptureStderr();
    QTest::mouseClick(go, Qt::LeftButton);
    const std::string err = testing::internal::GetCapturedStderr();
    QCoreApplication::processEvents();
    auto boxes = openErrorDialogs();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->text().toStdString(), "Wrong Format of Cd Value:x");
    EXPECT_NE(err.find("not assigned"), std::string::npos) << err;  // still on standard error
}

TEST_F(DialogOwner, AWarningStandsOverItsWindowWithoutStoppingTheCallback) {
    QWidget* go = button("warn");
    figure({Value("Position"), Value::row({900, 600, 200, 150})});  // current, elsewhere
    go->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(go->window()));
    QTest::mouseClick(go, Qt::LeftButton);
    EXPECT_TRUE(went_on);
    QCoreApplication::processEvents();
    auto boxes = openErrorDialogs();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->icon(), QMessageBox::Warning);
    EXPECT_EQ(boxes[0]->windowTitle().toStdString(), "Warning Dialog");
    EXPECT_EQ(boxes[0]->windowModality(), Qt::NonModal);
    EXPECT_LE(offCentre(boxes[0], go->window()), 4);
}

TEST_F(DialogOwner, ABlockingDialogOpensOverItsWindowAndGivesTheFocusBack) {
    QWidget* go = button("ask");
    figure({Value("Position"), Value::row({900, 600, 200, 150})});  // current, elsewhere
    go->window()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(go->window()));
    int off = -1;
    onModal([&](QWidget* w) {
        off = offCentre(w, go->window());
        for (QPushButton* b : w->findChildren<QPushButton*>())
            if (b->text() == "No") b->click();
    });
    QTest::mouseClick(go, Qt::LeftButton);
    EXPECT_EQ(answer, "No");
    EXPECT_LE(off, 4);
    QTRY_COMPARE(QApplication::focusWidget(), go);
}

TEST_F(DialogOwner, OutsideACallbackDialogsBelongToTheCurrentFigure) {
    rt::Handle fig = 0;
    QWidget* go = button("hit", &fig);
    figure({Value("Position"), Value::row({900, 600, 200, 150})});
    rt::figure({Value(fig)});
    rt::errordlg("file not found:\nrun.wav", "file error");
    QCoreApplication::processEvents();
    auto boxes = openErrorDialogs();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0]->windowTitle().toStdString(), "file error");
    EXPECT_LE(offCentre(boxes[0], go->window()), 4);
}

TEST_F(DialogOwner, FigureOfAnOpenWindowBringsItForward) {
    rt::Handle first = figure({Value("Position"), Value::row({100, 100, 300, 200})});
    rt::Handle second = figure({Value("Position"), Value::row({150, 150, 300, 200})});
    QWidget* a = host->window(first);
    QWidget* b = host->window(second);
    b->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), b);
    rt::figure({Value(first)});
    QTRY_COMPARE(QApplication::activeWindow(), a);
}

}  // namespace
