// The event loop: waitfor as a nested loop, pause and drawnow taking no input, the start
// routine, and the window manager's close.
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "qt/start.h"
#include "qt_fixture.h"

namespace {

using rt::Value;
using rt::Values;

class EventLoop : public QtFixture {
protected:
    // A figure with a button running `code`; returns {figure, button}.
    std::pair<rt::Handle, rt::Handle> window(const std::string& code) {
        rt::Handle fig = figure({Value("NumberTitle"), Value("off")});
        rt::Handle b = control(fig, "pushbutton", {Value("Callback"), Value(code)});
        return {fig, b};
    }
    void clickLater(int ms, rt::Handle button) {
        QTimer::singleShot(ms, [this, button] {
            if (QWidget* w = widget(button)) QTest::mouseClick(w, Qt::LeftButton);
        });
    }
};

TEST_F(EventLoop, WaitforReturnsWhenACallbackHidesTheWindow) {
    auto [fig, b] = window("");
    rt::set(Value(b), {Value("Callback"), Value("set(" + std::to_string(int(fig)) +
                                                ",'Visible','off','UserData', 0);")});
    auto [other, boom] = window("boom");
    clickLater(10, boom);  // fails inside the wait: that callback ends, the wait goes on
    clickLater(30, b);
    testing::internal::CaptureStderr();
    rt::waitfor(fig, "Visible", Value("off"));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(calls, (std::vector<std::string>{"boom"}));
    EXPECT_NE(err.find("Error in callback: boom went off"), std::string::npos) << err;
    ASSERT_TRUE(rt::graphics().isValid(fig));
    EXPECT_EQ(rt::get(Value(fig), "Visible").text(), "off");
    EXPECT_EQ(rt::get(Value(fig), "UserData").scalar(), 0);
    EXPECT_FALSE(host->window(fig)->isVisible());
    rt::waitfor(fig, "Visible", Value("OFF"));  // already so: returns at once
}

TEST_F(EventLoop, WaitforReturnsWhenTheWindowIsClosed) {
    auto [fig, b] = window("hit");
    clickLater(10, b);
    QTimer::singleShot(30,
                       [this, fig = fig] { host->window(fig)->close(); });  // the window manager
    rt::waitfor(fig, "Visible", Value("off"));
    EXPECT_EQ(calls, (std::vector<std::string>{"hit"}));
    EXPECT_FALSE(rt::graphics().isValid(fig));
    rt::waitfor(fig, "Visible", Value("off"));  // gone: returns at once
}

TEST_F(EventLoop, CloseRequestFcnRunsInsteadOfDeleting) {
    auto [fig, b] = window("");
    rt::set(Value(fig), {Value("CloseRequestFcn"), Value("hit")});
    host->window(fig)->close();
    EXPECT_EQ(calls, (std::vector<std::string>{"hit"}));
    EXPECT_TRUE(rt::graphics().isValid(fig));
    rt::set(Value(fig), {Value("CloseRequestFcn"), Value("")});
    host->window(fig)->close();
    EXPECT_FALSE(rt::graphics().isValid(fig));
}

TEST_F(EventLoop, WaitforInsideACallbackServesTheWaitedWindowOnly) {
    // The editor pattern: a button's callback opens a window and waits until it is hidden;
    // the first window's own button cannot start a second run meanwhile only if inactive,
    // but the waited window's buttons work, and the outer callback resumes afterwards.
    rt::Handle inner = 0, innerButton = 0;
    table.add("editor", 0, 0, [&](const Values&, int) {
        calls.push_back("editor start");
        std::tie(inner, innerButton) = window("");
        rt::set(Value(innerButton),
                {Value("Callback"),
                 Value("hit;set(" + std::to_string(int(inner)) + ",'Visible','off')")});
        clickLater(10, innerButton);
        rt::waitfor(inner, "Visible", Value("off"));
        calls.push_back("editor end");
        return Values{};
    });
    auto [main, calc] = window("editor");
    QTest::mouseClick(widget(calc), Qt::LeftButton);
    EXPECT_EQ(calls, (std::vector<std::string>{"editor start", "hit", "editor end"}));
}

TEST_F(EventLoop, PauseAndDrawnowLetNoSecondCallbackStart) {
    auto [fig, slow] = window("");
    auto [fig2, other] = window("hit");
    int clicks = 0;
    // Posted before the wait starts, so each click lands inside it however busy the machine.
    auto clickNext = [&, other = other] {
        QTimer::singleShot(0, [&, other] {
            QTest::mouseClick(widget(other), Qt::LeftButton);
            ++clicks;
        });
    };
    table.add("slow", 0, 0, [&](const Values&, int) {
        calls.push_back("slow");
        clickNext();
        rt::pause(0.05);
        EXPECT_EQ(clicks, 1) << "no click during the pause";
        clickNext();
        rt::drawnow();
        EXPECT_EQ(clicks, 2) << "no click during drawnow";
        calls.push_back("slow end");
        return Values{};
    });
    rt::set(Value(slow), {Value("Callback"), Value("slow")});
    QTest::mouseClick(widget(slow), Qt::LeftButton);
    EXPECT_EQ(calls, (std::vector<std::string>{"slow", "slow end"}));
    QTest::mouseClick(widget(other), Qt::LeftButton);  // afterwards it runs
    EXPECT_EQ(calls.back(), "hit");
}

TEST_F(EventLoop, StartCallsTheEntryOnceAndServesUntilNoFigureRemains) {
    host.reset();  // start installs its own host
    rt::setHost(previous);
    int entries = 0;
    rt::FunctionTable program;
    program.add("close_both", 0, 0, [](const Values&, int) {
        rt::close({Value("all")});
        return Values{};
    });
    auto entry = [&](const Values&, int) -> Values {
        ++entries;
        rt::Handle main = rt::figure({Value("Tag"), Value("Main Figure")});
        rt::Handle hidden = rt::figure({Value("Visible"), Value("off")});
        rt::Handle b =
            rt::uicontrol({Value("Parent"), Value(main), Value("Callback"), Value("close_both")});
        // Closing the main window by hand leaves the hidden figure: the loop goes on.
        QTimer::singleShot(20, [main] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* f = qobject_cast<rt::FigureWindow*>(w); f && f->handle() == main)
                    f->close();
        });
        QTimer::singleShot(40, [hidden] {
            rt::Handle again = rt::figure({Value("Name"), Value("again")});
            rt::uicontrol({Value("Parent"), Value(again), Value("Callback"), Value("close_both"),
                           Value("Tag"), Value("last")});
            EXPECT_TRUE(rt::graphics().isValid(hidden));
        });
        QTimer::singleShot(60, [] {
            for (QWidget* w : QApplication::allWidgets())
                if (w->objectName() == "last") QTest::mouseClick(w, Qt::LeftButton);
        });
        (void)b;
        rt::error("entry stops here; its windows stay served");
        return {};
    };
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    testing::internal::CaptureStderr();
    EXPECT_EQ(rt::start(argc, argv, entry, program), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(entries, 1);
    EXPECT_TRUE(rt::graphics().figures().empty());
    EXPECT_NE(err.find("entry stops here"), std::string::npos) << err;
    host = std::make_unique<rt::QtHost>();  // for TearDown
    host->setDialogs(&dialogs);
    rt::setHost(host.get());
}

TEST_F(EventLoop, StartCanShowErrorsInADialogToo) {
    host.reset();  // start installs its own host
    rt::setHost(previous);
    std::string shown;
    auto entry = [&](const Values&, int) -> Values {
        rt::figure({Value("Tag"), Value("Main Figure")});
        QTimer::singleShot(30, [&shown] {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) {
                    shown = box->text().toStdString();
                    box->close();
                }
            rt::close({Value("all")});
        });
        rt::error("File \"auslassmassen.png\" does not exist.");
        return {};
    };
    int argc = 1;
    char name[] = "test";
    char* argv[] = {name, nullptr};
    testing::internal::CaptureStderr();
    EXPECT_EQ(rt::start(argc, argv, entry, rt::FunctionTable{}), 0);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(shown, "File \"auslassmassen.png\" does not exist.");
    EXPECT_NE(err.find("auslassmassen.png"), std::string::npos) << err;
    host = std::make_unique<rt::QtHost>();  // for TearDown
    host->setDialogs(&dialogs);
    rt::setHost(host.get());
}

TEST_F(EventLoop, ScriptedFileAnswerReachesACallback) {
    table.add("save_as", 0, 0, [&](const Values&, int) {
        auto f =
            rt::uiputfile({{"*.cfg", "Parameterdateien (*.cfg)"}, {"*.*", "Alle Dateien (*.*)"}},
                          "Parameterdatei");
        calls.push_back(f ? f->folder + f->name : "cancelled");
        return Values{};
    });
    auto [fig, b] = window("save_as");
    dialogs.answerPutFile(rt::FileChoice{"run7", "/home/tuner/"});
    dialogs.answerPutFile(std::nullopt);
    QTest::mouseClick(widget(b), Qt::LeftButton);
    QTest::mouseClick(widget(b), Qt::LeftButton);
    EXPECT_EQ(calls, (std::vector<std::string>{"/home/tuner/run7", "cancelled"}));
    ASSERT_EQ(dialogs.shown().size(), 2u);
    EXPECT_EQ(dialogs.shown()[0].title, "Parameterdatei");
}

}  // namespace
