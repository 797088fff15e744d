// Dense lines drawn from a min/max envelope per pixel column: few canvas points, the same
// picture.
#include "qt/line_envelope.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cmath>
#include <map>

#include "qt/axes_painter.h"
#include "qt/qpainter_canvas.h"
#include "scenes.h"

namespace {

using rt::PointF;

rt::AxisMap mapOf(double xlo, double xhi) {
    rt::AxisMap m;
    m.box = {10, 10, 200, 100};
    m.xlim[0] = xlo, m.xlim[1] = xhi;
    m.ylim[0] = -1.5, m.ylim[1] = 1.5;
    return m;
}

std::vector<double> noisySine(std::size_t n) {
    std::vector<double> y(n);
    for (std::size_t i = 0; i < n; ++i)
        y[i] = std::sin(6.0 * double(i) / double(n)) + 0.3 * std::sin(0.9 * double(i) * double(i));
    return y;
}

std::vector<double> ramp(std::size_t n) {
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) x[i] = double(i);
    return x;
}

TEST(LineEnvelope, KeepsEachColumnsRangeWithFewPoints) {
    const std::size_t n = 100000;
    const auto x = ramp(n), y = noisySine(n);
    const rt::AxisMap m = mapOf(0, double(n - 1));
    const auto runs = rt::lineRuns(m, x.data(), y.data(), n);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_LE(runs[0].size(), 4u * 202);
    // Per pixel column, the kept points span what all points span.
    std::map<int, std::pair<double, double>> all, kept;
    auto add = [](auto& into, const PointF& p) {
        auto [it, fresh] = into.try_emplace(int(std::floor(p.x)), p.y, p.y);
        it->second.first = std::min(it->second.first, p.y);
        it->second.second = std::max(it->second.second, p.y);
    };
    for (std::size_t i = 0; i < n; ++i) add(all, m(x[i], y[i]));
    for (const PointF& p : runs[0]) add(kept, p);
    EXPECT_EQ(all, kept);
    EXPECT_DOUBLE_EQ(runs[0].front().x, m.px(0));  // the ends stay where they were
    EXPECT_DOUBLE_EQ(runs[0].back().y, m.py(y.back()));
}

TEST(LineEnvelope, SparseLinesGapsAndPointsBeyondTheBox) {
    // Points a column apart are all kept; NaN cuts the line; a lone point stays for markers.
    const std::vector<double> x{0, 1, 2, NAN, 4, 5, NAN, 7};
    const std::vector<double> y{0, 1, 0, 0, 1, 0, 1, 1};
    const rt::AxisMap m = mapOf(0, 7);
    const auto runs = rt::lineRuns(m, x.data(), y.data(), x.size());
    ASSERT_EQ(runs.size(), 3u);
    EXPECT_EQ(runs[0].size(), 3u);
    EXPECT_EQ(runs[1].size(), 2u);
    EXPECT_EQ(runs[2].size(), 1u);
    EXPECT_DOUBLE_EQ(runs[1][0].x, m.px(4));

    // A vertical line: its two points share a column and stay where they are.
    const std::vector<double> vx{3, 3}, vy{-1, 1};
    const rt::LineSummary vs = rt::summarize(vx.data(), vy.data(), 2);
    const auto vertical = rt::lineRuns(m, vx.data(), vy.data(), 2, &vs);
    ASSERT_EQ(vertical.size(), 1u);
    ASSERT_EQ(vertical[0].size(), 2u);
    EXPECT_DOUBLE_EQ(vertical[0][0].x, m.px(3));
    EXPECT_DOUBLE_EQ(vertical[0][1].x, m.px(3));
    EXPECT_DOUBLE_EQ(vertical[0][1].y, m.py(1));

    // Zoomed to [4000, 4010] of 100,000 points: everything left of the box is one column,
    // ending in the very point that links into the box.
    const std::size_t n = 100000;
    const auto xs = ramp(n), ys = noisySine(n);
    const rt::AxisMap z = mapOf(4000, 4010);
    const auto zoomed = rt::lineRuns(z, xs.data(), ys.data(), n);
    ASSERT_EQ(zoomed.size(), 1u);
    EXPECT_LT(zoomed[0].size(), 40u);
    std::size_t firstInside = 0;
    while (zoomed[0][firstInside].x < z.box.left - 2) ++firstInside;
    ASSERT_GT(firstInside, 0u);
    EXPECT_DOUBLE_EQ(zoomed[0][firstInside - 1].x, z.px(3999));
    EXPECT_DOUBLE_EQ(zoomed[0][firstInside - 1].y, z.py(ys[3999]));
}

TEST(LineEnvelope, BlockSummariesGiveTheSameRuns) {
    // Whole blocks of one column pass at once; the result is what point by point gives.
    const std::size_t n = 100000;
    auto x = ramp(n), y = noisySine(n);
    x[5000] = NAN;                                                   // a gap
    std::swap(x[7000], x[7001]);                                     // x not monotonic in one block
    for (std::size_t i = 90000; i < n; ++i) x[i] = 200000.0 - x[i];  // and backwards
    const rt::LineSummary summary = rt::summarize(x.data(), y.data(), n);
    for (const rt::AxisMap& m : {mapOf(0, 99999), mapOf(4000, 4010), mapOf(-5e5, 5e5)}) {
        const auto plain = rt::lineRuns(m, x.data(), y.data(), n);
        const auto fast = rt::lineRuns(m, x.data(), y.data(), n, &summary);
        ASSERT_EQ(plain.size(), fast.size());
        for (std::size_t r = 0; r < plain.size(); ++r) {
            ASSERT_EQ(plain[r].size(), fast[r].size()) << r;
            for (std::size_t i = 0; i < plain[r].size(); ++i) {
                EXPECT_EQ(plain[r][i].x, fast[r][i].x);
                EXPECT_EQ(plain[r][i].y, fast[r][i].y);
            }
        }
    }
}

// Draws every point as one polyline, as the painter did before envelopes.
QImage drawnPointByPoint(const rt::AxisMap& m, const std::vector<double>& x,
                         const std::vector<double>& y, QSize size) {
    QImage img(size, QImage::Format_RGB32);
    img.fill(Qt::white);
    QPainter p(&img);
    rt::QPainterCanvas canvas(p);
    std::vector<PointF> pts;
    for (std::size_t i = 0; i < x.size(); ++i) pts.push_back(m(x[i], y[i]));
    canvas.pushClip(m.box);
    canvas.drawPolyline(pts, {{0, 0, 1}, 1, rt::Dash::Solid});
    canvas.popClip();
    return img;
}

TEST(LineEnvelope, LooksTheSameAsEveryPointDrawn) {
    painter_test::ensureApp();
    const std::size_t n = 200000;
    const auto x = ramp(n), y = noisySine(n);
    rt::AxesScene a;
    a.box = {10, 10, 200, 100};
    a.xlim[0] = 0, a.xlim[1] = double(n - 1);
    a.ylim[0] = -1.5, a.ylim[1] = 1.5;
    a.visible = false;
    rt::SceneLine line;
    line.x = x;
    line.y = y;
    line.color = {0, 0, 1};
    line.widthPoints = 0.75;  // one pixel at 96 per inch
    a.items.push_back(line);
    QImage envelope(220, 120, QImage::Format_RGB32);
    envelope.fill(Qt::white);
    {
        QPainter p(&envelope);
        rt::QPainterCanvas canvas(p);
        rt::paintAxes(canvas, a, 96, nullptr);
    }
    const rt::AxisMap m = mapOf(0, double(n - 1));
    const QImage full = drawnPointByPoint(m, x, y, envelope.size());
    // Column by column the ink spans the same rows, give or take the antialiased edge pixel
    // that thousands of overlapping segments darken more than one stroke does.
    int inkedFull = 0, inkedEnvelope = 0;
    for (int c = 0; c < full.width(); ++c) {
        int top[2] = {-1, -1}, bottom[2] = {-1, -1};
        for (int r = 0; r < full.height(); ++r)
            for (int k = 0; k < 2; ++k)
                if ((k ? envelope : full).pixelColor(c, r).lightness() < 192) {
                    if (top[k] < 0) top[k] = r;
                    bottom[k] = r;
                    (k ? inkedEnvelope : inkedFull)++;
                }
        EXPECT_NEAR(top[1], top[0], 1) << "column " << c;
        EXPECT_NEAR(bottom[1], bottom[0], 1) << "column " << c;
    }
    ASSERT_GT(inkedFull, 2000);
    EXPECT_NEAR(inkedEnvelope, inkedFull, inkedFull / 20);
}

}  // namespace
