// A power/torque window as Qt shows it, offscreen, at the screen sizes in use today. With
// ROVANTEL_GRAB_DIR set, the grabs are saved there for a look.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QTest>
#include <cstdlib>

#include "diagram_qt_fixture.h"
#include "qt/control_view.h"
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
