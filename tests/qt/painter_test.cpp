#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "qt/axes_painter.h"
#include "qt/image_cache.h"
#include "qt/qpainter_canvas.h"
#include "qt/raster_output.h"
#include "runtime/dispatch/error.h"
#include "scenes.h"

namespace {

using painter_test::sampleFigure;

QRgb at(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

int countNear(const QImage& img, int x0, int y0, int x1, int y1, QRgb want) {
    int n = 0;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const QColor c(img.pixel(x, y)), w(want);
            if (std::abs(c.red() - w.red()) < 60 && std::abs(c.green() - w.green()) < 60 &&
                std::abs(c.blue() - w.blue()) < 60)
                ++n;
        }
    return n;
}

class Painter : public ::testing::Test {
protected:
    void SetUp() override { painter_test::ensureApp(); }
};

TEST_F(Painter, SceneLandsOnKnownPixels) {
    const QImage img = rt::renderFigure(sampleFigure());
    ASSERT_EQ(img.width(), 400);
    ASSERT_EQ(img.height(), 300);
    struct Probe {
        int x, y;
        QRgb rgb;
        const char* what;
    };
    const Probe probes[] = {
        {10, 10, 0xCCCCCC, "figure background"},
        {150, 150, 0xFFFFFF, "axes background"},
        {80, 210, 0xFF0000, "image cell (1,1): lowest colour"},
        {110, 210, 0x00FF00, "image cell (1,2)"},
        {80, 190, 0x0000FF, "image cell (2,1): rows run upwards"},
        {110, 190, 0xFFFF00, "image cell (2,2): CLim top"},
        {200, 130, 0xFF00FF, "patch face"},
        {95, 70, 0x000000, "line before the NaN gap"},
        {320 + 0, 70, 0x000000, "line after the NaN gap"},
        {200, 70, 0xFFFFFF, "NaN gap"},
        {290, 190, 0x00FF00, "square marker face"},
        {290, 150, 0x0000FF, "point marker"},
        {50, 130, 0x000000, "left frame"},
        {350, 130, 0x000000, "right frame (Box on)"},
    };
    for (const Probe& p : probes) EXPECT_EQ(at(img, p.x, p.y), p.rgb) << p.what;
    img.save(QString::fromStdString(painter_test::outDir() + "/painter_scene.png"));
    // The square's outline is black around its green face (10 pt = 13.3 px).
    EXPECT_GT(countNear(img, 281, 188, 285, 192, 0x000000), 0);
    EXPECT_EQ(at(img, 290 - 9, 190), 0xFFFFFFu);
    // Text turned by 90 degrees reads upwards from its anchor (320, 210), not to the right.
    EXPECT_GT(countNear(img, 310, 110, 330, 205, 0xFF0000), 100);
    EXPECT_EQ(countNear(img, 340, 195, 348, 225, 0xFF0000), 0);
    // Text beyond the box (x 365..) is drawn, not clipped.
    EXPECT_GT(countNear(img, 362, 120, 399, 140, 0x0000FF), 20);
}

TEST_F(Painter, YDirReverseAndColorNone) {
    rt::FigureScene f = sampleFigure();
    f.axes[0].yReverse = true;
    f.axes[0].color.reset();
    const QImage img = rt::renderFigure(f);
    // Reversed: data y maps to 30 + 20y, so image row 1 is on top.
    EXPECT_EQ(at(img, 80, 50), 0xFF0000u);
    EXPECT_EQ(at(img, 80, 70), 0x0000FFu);
    // No axes background: the figure shows through.
    EXPECT_EQ(at(img, 150, 150), 0xCCCCCCu);
}

TEST(AxisMath, MinorTicks) {
    struct Case {
        std::vector<double> major;
        double lo, hi;
        std::vector<double> want;
    };
    const Case cases[] = {
        {{0, 1, 2}, 0, 2, {0.2, 0.4, 0.6, 0.8, 1.2, 1.4, 1.6, 1.8}},
        {{0, 20, 40}, 0, 40, {5, 10, 15, 25, 30, 35}},
        {{0, 50}, -10, 60, {-10, 10, 20, 30, 40, 60}},
        {{}, 0, 1, {0.2, 0.4, 0.6, 0.8}},  // a fifth of the span's decade
    };
    for (const Case& c : cases) {
        std::vector<double> got = rt::minorTicks(c.major, c.lo, c.hi);
        ASSERT_EQ(got.size(), c.want.size());
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.want[i], 1e-9);
    }
}

TEST(AxisMath, MapFollowsDirections) {
    rt::AxisMap m;
    m.box = {10, 20, 100, 50};
    m.xlim[0] = 0, m.xlim[1] = 10, m.ylim[0] = -5, m.ylim[1] = 5;
    EXPECT_DOUBLE_EQ(m.px(0), 10);
    EXPECT_DOUBLE_EQ(m.px(10), 110);
    EXPECT_DOUBLE_EQ(m.py(-5), 70);
    EXPECT_DOUBLE_EQ(m.py(5), 20);
    m.yReverse = true;
    m.xReverse = true;
    EXPECT_DOUBLE_EQ(m.py(-5), 20);
    EXPECT_DOUBLE_EQ(m.px(0), 110);
}

TEST_F(Painter, LargeImageIsColouredOncePerChange) {
    rt::FigureScene f = sampleFigure();
    rt::SceneImage big;
    big.id = 99;
    big.version = 1;
    big.rows = 1501, big.cols = 1000;
    std::vector<double> data(big.rows * big.cols);
    for (std::size_t k = 0; k < data.size(); ++k) data[k] = static_cast<double>(k % 97);
    big.cdata = std::make_shared<rt::Value>(rt::Value::matrix(big.rows, big.cols, std::move(data)));
    big.x1 = 0, big.x2 = 10, big.y1 = 0, big.y2 = 10;
    f.axes[0].items = {big};
    f.axes[0].clim[0] = 0, f.axes[0].clim[1] = 96;
    rt::ImageCache cache;
    QImage img(400, 300, QImage::Format_RGB32);
    for (int i = 0; i < 5; ++i) {
        QPainter p(&img);
        rt::QPainterCanvas canvas(p);
        rt::paintFigure(canvas, f, &cache);
    }
    EXPECT_EQ(cache.colourings(), 1u);
    // Once cached, the scene need not even carry the data.
    rt::SceneImage& again = std::get<rt::SceneImage>(f.axes[0].items[0]);
    EXPECT_TRUE(cache.holds(again, f.axes[0].colormap, f.axes[0].clim));
    again.cdata.reset();
    {
        QPainter p(&img);
        rt::QPainterCanvas canvas(p);
        rt::paintFigure(canvas, f, &cache);
    }
    EXPECT_EQ(cache.colourings(), 1u);
    // New data, a new CLim, a new colour map: each colours once more.
    again.cdata = std::get<rt::SceneImage>(sampleFigure().axes[0].items[0]).cdata;
    again.rows = 2, again.cols = 2, again.version = 2;
    auto paint = [&] {
        QPainter p(&img);
        rt::QPainterCanvas canvas(p);
        rt::paintFigure(canvas, f, &cache);
    };
    paint();
    paint();
    EXPECT_EQ(cache.colourings(), 2u);
    f.axes[0].clim[1] = 50;
    paint();
    EXPECT_EQ(cache.colourings(), 3u);
    f.axes[0].colormap[0] = 0.5;
    paint();
    paint();
    EXPECT_EQ(cache.colourings(), 4u);
}

TEST(ImageColours, ScaledDirectTrueColourAndNaN) {
    const std::vector<double> map = {0, 0, 0, 1, 1, 1};  // black, white
    const double clim[2] = {0, 10};
    rt::SceneImage s;
    s.rows = 1, s.cols = 4;
    s.cdata = std::make_shared<rt::Value>(rt::Value::row({-5, 4.9, 5, NAN}));
    rt::ArgbImage a = rt::colourImage(s, map, clim);
    EXPECT_EQ(a.pixels, (std::vector<std::uint32_t>{0xFF000000, 0xFF000000, 0xFFFFFFFF, 0}));
    s.scaled = false;  // direct: 1-based indices, clamped
    s.cdata = std::make_shared<rt::Value>(rt::Value::row({0, 1, 2, 9}));
    a = rt::colourImage(s, map, clim);
    EXPECT_EQ(a.pixels,
              (std::vector<std::uint32_t>{0xFF000000, 0xFF000000, 0xFFFFFFFF, 0xFFFFFFFF}));
    rt::SceneImage t;
    t.rows = 1, t.cols = 2, t.trueColor = true;
    t.cdata = std::make_shared<rt::Value>(rt::Value::uint8({1, 2, 3}, {255, 0, 0, 128, 0, 255}));
    a = rt::colourImage(t, {}, clim);
    EXPECT_EQ(a.pixels, (std::vector<std::uint32_t>{0xFFFF0000, 0xFF0080FF}));
    t.cdata = std::make_shared<rt::Value>(rt::Value::row({1, 2}));
    EXPECT_THROW(rt::colourImage(t, {}, clim), rt::Error);
}

}  // namespace

TEST(AxisMath, DenseCurvesAreDrawnFromFewerPointsOfTheSameShape) {
    // Distance from p to the segment a-b.
    auto distance = [](rt::PointF p, rt::PointF a, rt::PointF b) {
        const double dx = b.x - a.x, dy = b.y - a.y, len2 = dx * dx + dy * dy;
        const double t =
            len2 > 0 ? std::clamp(((p.x - a.x) * dx + (p.y - a.y) * dy) / len2, 0.0, 1.0) : 0;
        return std::hypot(p.x - a.x - t * dx, p.y - a.y - t * dy);
    };
    std::vector<rt::PointF> curve;  // 2,000 points of a power curve across 1,000 pixels
    for (int i = 0; i < 2000; ++i) {
        const double t = i / 1999.0 - 0.8;
        curve.push_back({100 + 1000 * i / 1999.0, 800 - 600 * (1 - 1.3 * t * t)});
    }
    curve[700].y -= 3;  // a spike of one sample stays
    const auto kept = rt::simplifyPolyline(curve, 0.25);
    EXPECT_LT(kept.size(), curve.size() / 5);
    EXPECT_EQ(kept.front().x, curve.front().x);
    EXPECT_EQ(kept.back().y, curve.back().y);
    EXPECT_NE(
        std::find_if(kept.begin(), kept.end(), [&](rt::PointF p) { return p.x == curve[700].x; }),
        kept.end());
    for (const rt::PointF& p : curve) {
        double nearest = 1e9;
        for (std::size_t i = 0; i + 1 < kept.size(); ++i)
            nearest = std::min(nearest, distance(p, kept[i], kept[i + 1]));
        ASSERT_LE(nearest, 0.25 + 1e-9) << p.x;
    }
    // A straight run keeps its ends; a line that turns back keeps its turning point.
    EXPECT_EQ(rt::simplifyPolyline({{0, 0}, {1, 1}, {2, 2}, {3, 3}}, 0.25).size(), 2u);
    EXPECT_EQ(rt::simplifyPolyline({{0, 0}, {5, 0}, {1, 0}}, 0.25).size(), 3u);
}
