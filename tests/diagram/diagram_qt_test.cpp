// A power/torque window as Qt shows it, offscreen, at the screen sizes in use today. With
// ROVANTEL_GRAB_DIR set, the grabs are saved there for a look.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFontInfo>
#include <QImage>
#include <QTest>
#include <cmath>
#include <cstdlib>

#include "diagram_qt_fixture.h"
#include "qt/control_view.h"
#include "qt/window_fit.h"
#include "runtime/event_loop.h"

using namespace diagram_test;

namespace {

// Pixels of exactly `c` inside `r`.
int count(const QImage& img, const QRect& r, QColor c) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (img.pixelColor(x, y) == c) ++n;
    return n;
}

}  // namespace

TEST_F(DiagramQt, ThreeRunsOneHiddenAtFullHdAndAtLaptopSize) {
    for (const auto& [w, h] : {std::pair{1920, 1080}, std::pair{1366, 768}}) {
        SCOPED_TRACE(w);
        start(w, h);
        run("/runs/a.wav", 1.0, {1, 0, 0});
        run("/runs/b.wav", 0.9, {0, 0.6, 0});
        run("/runs/c.wav", 0.8, {0, 0, 1});

        const rt::Handle fig = power_window();
        rt::FigureWindow* window = host_->window(fig);
        ASSERT_NE(window, nullptr);
        EXPECT_NEAR(window->width(), rt::graphics().pixelPosition(fig)[2], 1);

        // The user unticks the second run on its checkbox.
        const auto boxes = rt::findobj({Value(fig), Value("Style"), Value("checkbox")}).real();
        ASSERT_EQ(boxes.size(), 3u);
        auto* box = qobject_cast<QCheckBox*>(window->control(boxes[1])->widget());
        ASSERT_NE(box, nullptr);
        QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
        EXPECT_FALSE(box->isChecked());
        EXPECT_EQ(rt::get(Value(boxes[1]), "Value").scalar(), 0);

        rt::drawnow();
        const QImage grab = window->grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_FALSE(grab.isNull());
        save_grab(grab, "diagram_" + std::to_string(w) + "x" + std::to_string(h));
        expect_nothing_cut_off(fig, "diagram " + std::to_string(w));

        // Inside the axes the shown runs' colours are drawn, the hidden one's is not.
        const rt::Rect ax = rt::graphics().pixelPosition(
            shell::tagged(u"DiagAxes" + rt::get(Value(fig), "Name").text16()).scalar());
        const QRect box_px(int(ax[0]) + 2, grab.height() - int(ax[1] + ax[3]) + 2, int(ax[2]) - 4,
                           int(ax[3]) - 4);
        EXPECT_GT(count(grab, box_px, QColor(255, 0, 0)), 200);
        EXPECT_GT(count(grab, box_px, QColor(0, 0, 255)), 200);
        EXPECT_EQ(count(grab, box_px, QColor(0, 153, 0)), 0);
    }
}

TEST_F(DiagramQt, AWindowKeepsItsPlaceAndItsWholeFrameOnTheScreenWithOneAndTwelveRuns) {
    for (const auto& [w, h] : {std::pair{1920, 1080}, std::pair{1366, 768}}) {
        SCOPED_TRACE(w);
        start(w, h);
        // ScreenSize is [1 1 w h]: its width and height are w - 1 and h - 1.
        const double sw = w - 1, sh = h - 1;
        const std::vector<double> part{0.05 * sw, 0.05 * sh, 0.9 * sw, 0.9 * sh};
        for (int n = 1; n <= 12; ++n) {
            run(("/runs/" + std::to_string(n) + ".wav").c_str(), 1.0 - 0.02 * n, {0, 0, 1});
            if (n != 1 && n != 12) continue;
            SCOPED_TRACE(n);
            const rt::Handle fig = power_window();
            rt::FigureWindow* window = host_->window(fig);
            ASSERT_NE(window, nullptr);
            const auto pos = rt::get(Value(fig), "Position").real();
            ASSERT_EQ(pos.size(), 4u);
            for (int i = 0; i < 4; ++i) EXPECT_NEAR(pos[i], part[i], 1e-9) << i;
            EXPECT_EQ(window->size(), QSize(int(std::lround(part[2])), int(std::lround(part[3]))));
            // The texts' need never takes the window, frame included, off the screen.
            const QRect room = rt::screenRoom(window, window->geometry(), QSize(w, h)).inner();
            EXPECT_TRUE(room.contains(window->geometry())) << room.height();
            EXPECT_LE(window->minimumWidth(), room.width());
            EXPECT_LE(window->minimumHeight(), room.height());
        }
        // The texts shrank where the window is too small for them, and stay readable.
        const rt::Handle fig = power_window();
        if (w == 1366) {
            for (rt::Handle c : rt::graphics().children(fig)) {
                if (rt::graphics().type(c) != rt::ObjectType::UIControl ||
                    rt::get(Value(c), "Position").at(0) < 0.35)
                    continue;
                EXPECT_GE(QFontInfo(widget(c)->font()).pixelSize(), 10);
            }
        }
    }
}

TEST_F(DiagramQt, ARunsBoxTogglesOnAClickAnywhereOnItsControl) {
    start(1366, 768);
    run("/runs/a.wav", 1.0, {1, 0, 0});
    const rt::Handle fig = power_window();
    const rt::Handle h = rt::findobj({Value(fig), Value("Style"), Value("checkbox")}).scalar();
    auto* box = qobject_cast<QCheckBox*>(widget(h));
    ASSERT_NE(box, nullptr);
    ASSERT_GT(box->width(), 30);
    // Far right, and near the bottom right corner: well away from the small square.
    for (const QPoint at : {QPoint(box->width() - 3, box->height() / 2),
                            QPoint(box->width() - 2, box->height() - 2)}) {
        const bool was = box->isChecked();
        QTest::mouseClick(box, Qt::LeftButton, {}, at);
        EXPECT_NE(box->isChecked(), was) << at.x() << "," << at.y();
        EXPECT_EQ(rt::get(Value(h), "Value").scalar(), was ? 0 : 1);
    }
}
