#include "runtime/graphics/zoom.h"

#include <QTest>

#include "qt_fixture.h"

class Zoom : public QtFixture {};

TEST_F(Zoom, ADragZoomsWhileZoomIsOnAndADoubleClickResets) {
    rt::Graphics& g = rt::graphics();
    const rt::Handle fig = figure({rt::Value("Position"), rt::Value::row({50, 50, 400, 300})});
    const rt::Handle ax = rt::axes({rt::Value("Units"), rt::Value("pixels"), rt::Value("Position"),
                                    rt::Value::row({1, 1, 400, 300})});
    g.set(ax, {rt::Value("XLim"), rt::Value::row({0, 400}), rt::Value("YLim"),
               rt::Value::row({0, 300})});
    g.set(fig, "WindowButtonDownFcn", rt::Value("hit"));
    QWidget* w = host->window(fig);
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));

    // Zoom off: the mouse belongs to the figure's callbacks.
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(calls, (std::vector<std::string>{"hit"}));
    EXPECT_EQ(g.get(ax, "XLim").real(), (std::vector<double>{0, 400}));

    rt::zoom({rt::Value(fig), rt::Value("on")});
    QTest::mousePress(w, Qt::LeftButton, {}, QPoint(100, 100));
    QTest::mouseMove(w, QPoint(150, 150));
    QTest::mouseRelease(w, Qt::LeftButton, {}, QPoint(200, 200));
    EXPECT_EQ(calls.size(), 1u);  // no callback while zooming
    const auto xl = g.get(ax, "XLim").real();
    const auto yl = g.get(ax, "YLim").real();
    EXPECT_NEAR(xl[0], 100, 1.5);
    EXPECT_NEAR(xl[1], 200, 1.5);
    EXPECT_NEAR(yl[0], 100, 1.5);  // window y grows downwards, data y upwards
    EXPECT_NEAR(yl[1], 200, 1.5);

    QTest::mouseDClick(w, Qt::LeftButton, {}, QPoint(150, 150));
    EXPECT_EQ(g.get(ax, "XLim").real(), (std::vector<double>{0, 400}));
    EXPECT_EQ(g.get(ax, "YLim").real(), (std::vector<double>{0, 300}));
}
