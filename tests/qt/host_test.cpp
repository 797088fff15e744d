// The Qt host without figures: fonts, screen, the wait loop and the one-callback-at-a-time rule.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFontDatabase>
#include <QFontInfo>
#include <QRawFont>
#include <QScreen>
#include <QTimer>
#include <cmath>

#include "qt/qt_host.h"
#include "runtime/dispatch/error.h"

namespace {

// Qt draws empty boxes without complaint when no font is installed.
TEST(QtHost, AFontWithLatin1GlyphsIsAvailable) {
    rt::QtHost host;
    ASSERT_FALSE(QFontDatabase::families().isEmpty()) << "no fonts: install fonts-dejavu-core";
    for (QFont f : {QApplication::font(), QFontDatabase::systemFont(QFontDatabase::FixedFont)}) {
        QRawFont raw = QRawFont::fromFont(f);
        ASSERT_TRUE(raw.isValid()) << f.family().toStdString();
        for (char16_t c : std::u16string(u"Aä°²ß¿"))
            EXPECT_TRUE(raw.supportsCharacter(QChar(c)))
                << f.family().toStdString() << " " << int(c);
    }
    rt::TextMetrics one = host.measureText("NOT FOR SALE", {"Helvetica", 10});
    rt::TextMetrics two = host.measureText("NOT FOR SALE\nx", {"Helvetica", 20});
    EXPECT_GT(one.width, 20);
    EXPECT_LT(one.width, 120);
    EXPECT_NEAR(two.width, 2 * one.width, 0.2 * one.width);
    EXPECT_GT(two.height, 3 * one.height);
    rt::TextMetrics mono1 = host.measureText("iii", {"FixedWidth", 10});
    rt::TextMetrics mono2 = host.measureText("WWW", {"FixedWidth", 10});
    EXPECT_DOUBLE_EQ(mono1.width, mono2.width);
}

TEST(QtHost, ScreenHasASizeAndResolution) {
    rt::QtHost host;
    rt::ScreenInfo s = host.screen();
    const QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    EXPECT_EQ(s.width, screen->geometry().width());
    EXPECT_EQ(s.height, screen->geometry().height());
    EXPECT_EQ(s.pixelsPerInch, screen->logicalDotsPerInchY());
    EXPECT_GT(s.width, 0);
    EXPECT_GT(s.height, 0);
    EXPECT_GT(s.pixelsPerInch, 0);
}

TEST(QtHost, ServeUntilEndsWhenTheConditionHoldsAfterACallback) {
    rt::QtHost host;
    bool hidden = false;
    std::vector<std::string> ran;
    host.setEvaluator([&](const std::string& code) {
        ran.push_back(code);
        if (code == "hide") hidden = true;
        if (code == "fail") rt::error("broken callback");
    });
    QTimer::singleShot(10, [&] { EXPECT_TRUE(host.runUserCallback("fail")); });
    QTimer::singleShot(20, [&] { EXPECT_TRUE(host.runUserCallback("other")); });
    QTimer::singleShot(30, [&] { EXPECT_TRUE(host.runUserCallback("hide")); });
    testing::internal::CaptureStderr();
    host.serveUntil([&] { return hidden; });
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(ran, (std::vector<std::string>{"fail", "other", "hide"}));
    EXPECT_NE(err.find("broken callback"), std::string::npos);
    EXPECT_EQ(rt::lasterr(), "broken callback");
}

TEST(QtHost, NoSecondCallbackStartsUnlessTheFirstWaits) {
    rt::QtHost host;
    std::vector<std::string> ran;
    bool done = false;
    host.setEvaluator([&](const std::string& code) {
        ran.push_back(code);
        if (code == "busy") {
            // A click during a drawnow or pause of a running callback is refused.
            EXPECT_FALSE(host.runUserCallback("second"));
            host.pause(0.01);
            host.flush();
        } else if (code == "wait") {
            QTimer::singleShot(10, [&] { EXPECT_TRUE(host.runUserCallback("inner")); });
            host.serveUntil([&] { return done; });
        } else if (code == "inner") {
            EXPECT_FALSE(host.runUserCallback("nested"));
            done = true;
        }
    });
    EXPECT_TRUE(host.runUserCallback("busy"));
    EXPECT_TRUE(host.runUserCallback("wait"));
    EXPECT_EQ(ran, (std::vector<std::string>{"busy", "wait", "inner"}));
}

TEST(QtHost, PauseWaitsRoughlyTheTimeGiven) {
    rt::QtHost host;
    QElapsedTimer t;
    t.start();
    host.pause(0.05);
    EXPECT_GE(t.elapsed(), 45);
    // No time to wait: what is pending is drawn, and nothing waits for a later event.
    for (double seconds : {0.0, -1.0, std::nan("")}) {
        bool drawn = false, late = false;
        QObject scope;  // ends the timers with the loop's turn
        QTimer::singleShot(0, &scope, [&] { drawn = true; });
        QTimer::singleShot(60000, &scope, [&] { late = true; });
        t.restart();
        host.pause(seconds);
        EXPECT_TRUE(drawn) << seconds;
        EXPECT_FALSE(late) << seconds;
        EXPECT_LT(t.elapsed(), 30000) << seconds;
    }
}

}  // namespace
