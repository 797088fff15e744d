#include "qt/axes_painter.h"

#include <algorithm>
#include <cmath>

#include "qt/image_cache.h"
#include "qt/line_envelope.h"

namespace rt {

AxisMap::Linear AxisMap::linear() const {
    Linear l;
    const double xSpan = xlim[1] - xlim[0], ySpan = ylim[1] - ylim[0];
    if (xSpan > 0) {
        l.xScale = (xReverse ? -box.width : box.width) / xSpan;
        l.xBase = xReverse ? box.left + box.width : box.left;
    } else {
        l.xBase = box.left + box.width / 2;
    }
    if (ySpan > 0) {
        l.yScale = (yReverse ? box.height : -box.height) / ySpan;
        l.yBase = yReverse ? box.top : box.top + box.height;
    } else {
        l.yBase = box.top + box.height / 2;
    }
    return l;
}

double AxisMap::px(double x) const {
    const Linear l = linear();
    return l.xBase + (x - xlim[0]) * l.xScale;
}

double AxisMap::py(double y) const {
    const Linear l = linear();
    return l.yBase + (y - ylim[0]) * l.yScale;
}

std::vector<double> minorTicks(const std::vector<double>& major, double lo, double hi) {
    std::vector<double> out;
    if (!(hi > lo)) return out;
    double step, base;
    int n;
    if (major.size() >= 2 && major[1] > major[0]) {
        step = major[1] - major[0];
        base = major[0];
        const double mant = step / std::pow(10.0, std::floor(std::log10(step)));
        n = std::fabs(mant - 2) < 1e-6 ? 4 : 5;
    } else {
        step = std::pow(10.0, std::floor(std::log10(hi - lo)));
        base = major.empty() ? 0 : major[0];
        n = 5;
    }
    const double ms = step / n;
    const double tol = ms * 1e-6;
    const double first = base + std::ceil((lo - base - tol) / ms) * ms;
    for (int k = 0;; ++k) {
        const double v = first + k * ms;
        if (v > hi + tol) break;
        const double rel = (v - base) / step;
        if (std::fabs(rel - std::round(rel)) * step < tol) continue;  // a major tick
        out.push_back(v);
    }
    return out;
}

namespace {

struct Ctx {
    Canvas& c;
    const AxesScene& s;
    AxisMap map;
    double ppp;  // pixels per point
    ImageCache* cache;
    RectF outer;
    bool outerSet = false;

    double pts(double p) const { return p * ppp; }
    CanvasFont font(const SceneFont& f) const { return {f.name, pts(f.points), f.bold, f.italic}; }

    void grow(const RectF& r) {
        if (!outerSet) {
            outer = r;
            outerSet = true;
            return;
        }
        const double l = std::min(outer.left, r.left), t = std::min(outer.top, r.top);
        const double rr = std::max(outer.right(), r.right()),
                     b = std::max(outer.bottom(), r.bottom());
        outer = {l, t, rr - l, b - t};
    }
};

bool finite2(double x, double y) { return std::isfinite(x) && std::isfinite(y); }

// A block of lines anchored as one text, laid out as the object model lays out its Extent.
// Returns the block's bounding box on the canvas.
RectF drawTextBlock(Ctx& k, const PointF& at, const std::vector<std::u16string>& lines,
                    const CanvasFont& f, const Rgb& color, double rotation, HAlign h, VAlign v) {
    if (lines.empty()) return {at.x, at.y, 0, 0};
    const TextBlock b = layoutText(lines, h, v, rotation,
                                   [&](const std::u16string& l) { return k.c.measureText(l, f); });
    // The layout's y grows upwards, the canvas's downwards.
    for (const TextBlock::Line& l : b.lines)
        k.c.drawText({at.x + l.x, at.y - l.y}, l.text, f, color, rotation, h, VAlign::Baseline);
    return {at.x + b.boxLeft, at.y - b.boxBottom - b.boxHeight, b.boxWidth, b.boxHeight};
}

void drawText(Ctx& k, const SceneText& t) {
    if (!finite2(t.x, t.y)) return;
    drawTextBlock(k, t.pixels ? PointF{t.x, t.y} : k.map(t.x, t.y), t.lines, k.font(t.font),
                  t.color, t.rotation, t.h, t.v);
}

void drawImage(Ctx& k, const SceneImage& img) {
    if (img.rows == 0 || img.cols == 0) return;
    std::shared_ptr<const ArgbImage> coloured;
    if (k.cache) {
        coloured = k.cache->get(img, k.s.colormap, k.s.clim);
    } else {
        coloured = std::make_shared<const ArgbImage>(colourImage(img, k.s.colormap, k.s.clim));
    }
    const double dx = img.cols > 1 ? (img.x2 - img.x1) / static_cast<double>(img.cols - 1) : 1;
    const double dy = img.rows > 1 ? (img.y2 - img.y1) / static_cast<double>(img.rows - 1) : 1;
    const PointF first = k.map(img.x1 - dx / 2, img.y1 - dy / 2);
    const PointF last = k.map(img.x2 + dx / 2, img.y2 + dy / 2);
    k.c.drawImage(first, last, *coloured);
}

void drawPatch(Ctx& k, const ScenePatch& p) {
    std::vector<PointF> pts;
    const std::size_t n = std::min(p.x.size(), p.y.size());
    for (std::size_t i = 0; i < n; ++i)
        if (finite2(p.x[i], p.y[i])) pts.push_back(k.map(p.x[i], p.y[i]));
    if (pts.size() < 2) return;
    if (p.face && pts.size() >= 3) k.c.fillPolygon(pts, *p.face);
    if (p.edge && p.edgeDash) {
        pts.push_back(pts.front());
        k.c.drawPolyline(pts, {*p.edge, k.pts(p.edgePoints), *p.edgeDash});
    }
}

void drawLine(Ctx& k, const SceneLine& l) {
    if (!l.dash) return;
    const Pen pen{l.color, k.pts(l.widthPoints), *l.dash};
    const std::size_t n = std::min(l.x.size(), l.y.size());
    for (const auto& run : lineRuns(k.map, l.x.begin(), l.y.begin(), n, l.summary.get()))
        if (run.size() >= 2) k.c.drawPolyline(run, pen);
}

void drawMarkers(Ctx& k, const SceneLine& l) {
    if (!l.marker) return;
    std::vector<PointF> pts;
    const std::size_t n = std::min(l.x.size(), l.y.size());
    for (std::size_t i = 0; i < n; ++i)
        if (finite2(l.x[i], l.y[i])) pts.push_back(k.map(l.x[i], l.y[i]));
    if (pts.empty()) return;
    // A point marker is a dot a third of the marker size across.
    const double size =
        *l.marker == MarkerShape::Point ? k.pts(l.markerPoints) / 3 : k.pts(l.markerPoints);
    const Rgb* edge = l.markerEdge ? &*l.markerEdge : nullptr;
    const Rgb* face = l.markerFace ? &*l.markerFace : nullptr;
    k.c.drawMarkers(pts, *l.marker, size, edge, face, k.pts(l.widthPoints));
}

void drawGrid(Ctx& k) {
    const AxesScene& s = k.s;
    const RectF& b = k.map.box;
    auto vertical = [&](const std::vector<double>& xs, const Rgb& col) {
        const Pen pen{col, k.pts(s.lineWidthPoints), Dash::Dotted};
        for (double x : xs) {
            if (x < std::min(s.xlim[0], s.xlim[1]) || x > std::max(s.xlim[0], s.xlim[1])) continue;
            const double px = k.map.px(x);
            k.c.drawPolyline({{px, b.top}, {px, b.bottom()}}, pen);
        }
    };
    auto horizontal = [&](const std::vector<double>& ys, const Rgb& col) {
        const Pen pen{col, k.pts(s.lineWidthPoints), Dash::Dotted};
        for (double y : ys) {
            if (y < std::min(s.ylim[0], s.ylim[1]) || y > std::max(s.ylim[0], s.ylim[1])) continue;
            const double py = k.map.py(y);
            k.c.drawPolyline({{b.left, py}, {b.right(), py}}, pen);
        }
    };
    if (s.xGrid) vertical(s.xtick, s.xColor);
    if (s.yGrid) horizontal(s.ytick, s.yColor);
    if (s.xMinorGrid) vertical(minorTicks(s.xtick, s.xlim[0], s.xlim[1]), s.xColor);
    if (s.yMinorGrid) horizontal(minorTicks(s.ytick, s.ylim[0], s.ylim[1]), s.yColor);
}

void drawFrame(Ctx& k) {
    const AxesScene& s = k.s;
    const RectF& b = k.map.box;
    const Pen xp{s.xColor, k.pts(s.lineWidthPoints), Dash::Solid};
    const Pen yp{s.yColor, k.pts(s.lineWidthPoints), Dash::Solid};
    k.c.drawPolyline({{b.left, b.bottom()}, {b.right(), b.bottom()}}, xp);
    k.c.drawPolyline({{b.left, b.top}, {b.left, b.bottom()}}, yp);
    if (s.box3) {
        k.c.drawPolyline({{b.left, b.top}, {b.right(), b.top}}, xp);
        k.c.drawPolyline({{b.right(), b.top}, {b.right(), b.bottom()}}, yp);
    }
    const double len = s.tickLength * std::max(b.width, b.height);
    auto inside = [](double v, const double lim[2]) {
        const double tol = 1e-9 * std::fabs(lim[1] - lim[0]);
        return v >= std::min(lim[0], lim[1]) - tol && v <= std::max(lim[0], lim[1]) + tol;
    };
    auto xticks = [&](const std::vector<double>& xs, double l) {
        for (double x : xs) {
            if (!inside(x, s.xlim)) continue;
            const double px = k.map.px(x);
            k.c.drawPolyline({{px, b.bottom()}, {px, b.bottom() - l}}, xp);
            if (s.box3) k.c.drawPolyline({{px, b.top}, {px, b.top + l}}, xp);
        }
    };
    auto yticks = [&](const std::vector<double>& ys, double l) {
        for (double y : ys) {
            if (!inside(y, s.ylim)) continue;
            const double py = k.map.py(y);
            k.c.drawPolyline({{b.left, py}, {b.left + l, py}}, yp);
            if (s.box3) k.c.drawPolyline({{b.right(), py}, {b.right() - l, py}}, yp);
        }
    };
    xticks(s.xtick, len);
    yticks(s.ytick, len);
    if (s.xMinorTick) xticks(minorTicks(s.xtick, s.xlim[0], s.xlim[1]), len / 2);
    if (s.yMinorTick) yticks(minorTicks(s.ytick, s.ylim[0], s.ylim[1]), len / 2);
}

// Tick labels and the axis labels; returns nothing, grows the measured outer box.
void drawLabels(Ctx& k) {
    const AxesScene& s = k.s;
    const RectF& b = k.map.box;
    const CanvasFont f = k.font(s.font);
    const double gap = f.pixelSize * 0.4;
    double xLabelsHeight = 0, yLabelsWidth = 0;
    if (!s.xtickLabels.empty()) {
        for (std::size_t i = 0; i < s.xtick.size(); ++i) {
            if (s.xtick[i] <
                    std::min(s.xlim[0], s.xlim[1]) - 1e-9 * std::fabs(s.xlim[1] - s.xlim[0]) ||
                s.xtick[i] >
                    std::max(s.xlim[0], s.xlim[1]) + 1e-9 * std::fabs(s.xlim[1] - s.xlim[0]))
                continue;
            const auto& text = s.xtickLabels[i % s.xtickLabels.size()];
            const RectF r = drawTextBlock(k, {k.map.px(s.xtick[i]), b.bottom() + gap}, {text}, f,
                                          s.xColor, 0, HAlign::Center, VAlign::Top);
            xLabelsHeight = std::max(xLabelsHeight, r.height);
            k.grow(r);
        }
    }
    if (!s.ytickLabels.empty()) {
        for (std::size_t i = 0; i < s.ytick.size(); ++i) {
            if (s.ytick[i] <
                    std::min(s.ylim[0], s.ylim[1]) - 1e-9 * std::fabs(s.ylim[1] - s.ylim[0]) ||
                s.ytick[i] >
                    std::max(s.ylim[0], s.ylim[1]) + 1e-9 * std::fabs(s.ylim[1] - s.ylim[0]))
                continue;
            const auto& text = s.ytickLabels[i % s.ytickLabels.size()];
            const RectF r = drawTextBlock(k, {b.left - gap, k.map.py(s.ytick[i])}, {text}, f,
                                          s.yColor, 0, HAlign::Right, VAlign::Middle);
            yLabelsWidth = std::max(yLabelsWidth, r.width);
            k.grow(r);
        }
    }
    if (s.xlabel && !s.xlabel->lines.empty()) {
        const double y = b.bottom() + gap + (xLabelsHeight > 0 ? xLabelsHeight + gap / 2 : 0);
        k.grow(drawTextBlock(k, {b.left + b.width / 2, y}, s.xlabel->lines, k.font(s.xlabel->font),
                             s.xlabel->color, 0, HAlign::Center, VAlign::Top));
    }
    if (s.ylabel && !s.ylabel->lines.empty()) {
        const double x = b.left - gap - (yLabelsWidth > 0 ? yLabelsWidth + gap : 0);
        k.grow(drawTextBlock(k, {x, b.top + b.height / 2}, s.ylabel->lines, k.font(s.ylabel->font),
                             s.ylabel->color, 90, HAlign::Center, VAlign::Bottom));
    }
    if (s.title && !s.title->lines.empty()) {
        k.grow(drawTextBlock(k, {b.left + b.width / 2, b.top - gap}, s.title->lines,
                             k.font(s.title->font), s.title->color, 0, HAlign::Center,
                             VAlign::Bottom));
    }
}

}  // namespace

PaintedAxes paintAxes(Canvas& canvas, const AxesScene& s, double pixelsPerInch, ImageCache* cache) {
    Ctx k{canvas, s, {}, pixelsPerInch / 72.0, cache, {}, false};
    k.map.box = s.box;
    k.map.xlim[0] = s.xlim[0];
    k.map.xlim[1] = s.xlim[1];
    k.map.ylim[0] = s.ylim[0];
    k.map.ylim[1] = s.ylim[1];
    k.map.xReverse = s.xReverse;
    k.map.yReverse = s.yReverse;
    k.outer = s.box;

    // Pass 1: background and grid.
    if (s.visible && s.color) canvas.fillRect(s.box, *s.color);
    canvas.pushClip(s.box);
    if (s.visible) drawGrid(k);
    // Pass 2: images and patches, in stacking order.
    for (const SceneItem& it : s.items) {
        if (auto* img = std::get_if<SceneImage>(&it))
            drawImage(k, *img);
        else if (auto* p = std::get_if<ScenePatch>(&it))
            drawPatch(k, *p);
    }
    // Pass 3: lines.
    for (const SceneItem& it : s.items)
        if (auto* l = std::get_if<SceneLine>(&it)) drawLine(k, *l);
    // Pass 4: markers, then the frame and labels, then texts (unclipped).
    for (const SceneItem& it : s.items)
        if (auto* l = std::get_if<SceneLine>(&it)) drawMarkers(k, *l);
    canvas.popClip();
    k.outerSet = true;
    if (s.visible) {
        drawFrame(k);
        drawLabels(k);
    }
    for (const SceneItem& it : s.items)
        if (auto* t = std::get_if<SceneText>(&it)) drawText(k, *t);
    return {k.outer};
}

void paintFigure(Canvas& canvas, const FigureScene& scene, ImageCache* cache) {
    canvas.fillRect({0, 0, scene.width, scene.height}, scene.background);
    for (const AxesScene& a : scene.axes) paintAxes(canvas, a, scene.pixelsPerInch, cache);
}

}  // namespace rt
