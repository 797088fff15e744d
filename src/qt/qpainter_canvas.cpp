#include "qt/qpainter_canvas.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <utility>

namespace rt {

namespace {

QColor qcolor(const Rgb& c) { return QColor::fromRgbF(c[0], c[1], c[2]); }

QPolygonF polygon(const std::vector<PointF>& pts) {
    QPolygonF poly;
    poly.reserve(static_cast<qsizetype>(pts.size()));
    for (const PointF& p : pts) poly << QPointF(p.x, p.y);
    return poly;
}

QPen qpen(const Pen& pen) {
    // Hairlines (LineWidth 0.1) still show: never thinner than one device pixel.
    QPen q(qcolor(pen.color), std::max(pen.width, 1.0));
    q.setCapStyle(Qt::FlatCap);
    q.setJoinStyle(Qt::RoundJoin);
    switch (pen.dash) {
        case Dash::Solid:
            q.setStyle(Qt::SolidLine);
            break;
        case Dash::Dashed:
            q.setStyle(Qt::DashLine);
            break;
        case Dash::Dotted:
            q.setStyle(Qt::DotLine);
            break;
        case Dash::DashDot:
            q.setStyle(Qt::DashDotLine);
            break;
    }
    return q;
}

QString qstring(const std::u16string& s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

QFont canvasQFont(const CanvasFont& font) {
    QFont f = font.name == "FixedWidth" || font.name == "Courier"
                  ? QFontDatabase::systemFont(QFontDatabase::FixedFont)
                  : QFont(QString::fromStdString(font.name));
    if (font.name == "Helvetica") f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(font.pixelSize))));
    f.setBold(font.bold);
    f.setItalic(font.italic);
    return f;
}

std::vector<PointF> simplifyPolyline(const std::vector<PointF>& pts, double tolerance) {
    const std::size_t n = pts.size();
    if (n < 3) return pts;
    std::vector<char> keep(n, 0);
    keep.front() = keep.back() = 1;
    const double tol2 = tolerance * tolerance;
    // Douglas-Peucker with an explicit stack: a curve of a million points must not recurse.
    std::vector<std::pair<std::size_t, std::size_t>> spans{{0, n - 1}};
    while (!spans.empty()) {
        const auto [a, b] = spans.back();
        spans.pop_back();
        const double dx = pts[b].x - pts[a].x, dy = pts[b].y - pts[a].y;
        const double len2 = dx * dx + dy * dy;
        double worst = -1;
        std::size_t at = a;
        for (std::size_t i = a + 1; i < b; ++i) {
            const double ex = pts[i].x - pts[a].x, ey = pts[i].y - pts[a].y;
            const double t = len2 > 0 ? std::clamp((ex * dx + ey * dy) / len2, 0.0, 1.0) : 0.0;
            const double fx = ex - t * dx, fy = ey - t * dy;
            const double d2 = fx * fx + fy * fy;
            if (d2 > worst) worst = d2, at = i;
        }
        if (worst > tol2) {
            keep[at] = 1;
            if (at > a + 1) spans.emplace_back(a, at);
            if (b > at + 1) spans.emplace_back(at, b);
        }
    }
    std::vector<PointF> out;
    for (std::size_t i = 0; i < n; ++i)
        if (keep[i]) out.push_back(pts[i]);
    return out;
}

QPainterCanvas::QPainterCanvas(QPainter& painter) : p_(painter) {
    p_.setRenderHint(QPainter::Antialiasing, true);
    p_.setRenderHint(QPainter::TextAntialiasing, true);
}

void QPainterCanvas::pushClip(const RectF& r) {
    p_.save();
    ++depth_;
    p_.setClipRect(QRectF(r.left, r.top, r.width, r.height), Qt::IntersectClip);
}

void QPainterCanvas::popClip() {
    if (depth_ == 0) return;
    --depth_;
    p_.restore();
}

void QPainterCanvas::drawPolyline(const std::vector<PointF>& pts, const Pen& pen) {
    if (pts.size() < 2) return;
    p_.setPen(qpen(pen));
    p_.setBrush(Qt::NoBrush);
    if (pts.size() == 2 && pen.width <= 1.5 && (pts[0].x == pts[1].x || pts[0].y == pts[1].y)) {
        // Thin frame, tick and grid lines fall on pixel centres, so they stay crisp.
        auto snap = [](double v) { return std::floor(v) + 0.5; };
        QPointF a(pts[0].x, pts[0].y), b(pts[1].x, pts[1].y);
        if (pts[0].x == pts[1].x)
            a.setX(snap(a.x())), b.setX(a.x());
        else
            a.setY(snap(a.y())), b.setY(a.y());
        p_.drawLine(a, b);
        return;
    }
    p_.drawPolyline(polygon(simplifyPolyline(pts, 0.25)));
}

void QPainterCanvas::fillPolygon(const std::vector<PointF>& pts, const Rgb& fill) {
    if (pts.size() < 3) return;
    p_.setPen(Qt::NoPen);
    p_.setBrush(qcolor(fill));
    p_.drawPolygon(polygon(pts), Qt::OddEvenFill);
}

void QPainterCanvas::fillRect(const RectF& r, const Rgb& fill) {
    p_.fillRect(QRectF(r.left, r.top, r.width, r.height), qcolor(fill));
}

void QPainterCanvas::drawMarkers(const std::vector<PointF>& pts, MarkerShape shape, double size,
                                 const Rgb* edge, const Rgb* face, double lineWidth) {
    if (shape == MarkerShape::Point) {
        if (!edge) return;
        const double r = std::max(size, 1.0) / 2;
        p_.setPen(Qt::NoPen);
        p_.setBrush(qcolor(*edge));
        for (const PointF& p : pts) p_.drawEllipse(QPointF(p.x, p.y), r, r);
        return;
    }
    p_.setPen(edge ? qpen({*edge, lineWidth, Dash::Solid}) : QPen(Qt::NoPen));
    p_.setBrush(face ? QBrush(qcolor(*face)) : QBrush(Qt::NoBrush));
    const double h = size / 2;
    for (const PointF& p : pts) p_.drawRect(QRectF(p.x - h, p.y - h, size, size));
}

void QPainterCanvas::drawText(const PointF& at, const std::u16string& text, const CanvasFont& font,
                              const Rgb& color, double rotation, HAlign h, VAlign v) {
    const QFont f = canvasQFont(font);
    const QFontMetricsF fm(f);
    const QString s = qstring(text);
    double x = 0;
    if (h == HAlign::Center) x = -fm.horizontalAdvance(s) / 2;
    if (h == HAlign::Right) x = -fm.horizontalAdvance(s);
    double y = 0;  // baseline offset, downwards
    switch (v) {
        case VAlign::Top:
            y = fm.ascent();
            break;
        case VAlign::Cap:
            y = fm.capHeight();
            break;
        case VAlign::Middle:
            y = (fm.ascent() - fm.descent()) / 2;
            break;
        case VAlign::Baseline:
            y = 0;
            break;
        case VAlign::Bottom:
            y = -fm.descent();
            break;
    }
    p_.save();
    p_.translate(at.x, at.y);
    if (rotation != 0) p_.rotate(-rotation);
    p_.setFont(f);
    p_.setPen(qcolor(color));
    p_.drawText(QPointF(x, y), s);
    p_.restore();
}

TextSize QPainterCanvas::measureText(const std::u16string& text, const CanvasFont& font) {
    const QFontMetricsF fm(canvasQFont(font));
    return {fm.horizontalAdvance(qstring(text)), fm.ascent(), fm.descent()};
}

void QPainterCanvas::drawImage(const PointF& first, const PointF& last, const ArgbImage& img) {
    if (img.width <= 0 || img.height <= 0) return;
    // Wraps the pixels without copying them: a large image is only scaled here, never
    // converted again.
    const QImage q(reinterpret_cast<const uchar*>(img.pixels.data()), img.width, img.height,
                   img.width * 4, QImage::Format_ARGB32);
    p_.save();
    p_.translate(first.x, first.y);
    p_.scale((last.x - first.x) / img.width, (last.y - first.y) / img.height);
    p_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    p_.drawImage(QPointF(0, 0), q);
    p_.restore();
}

}  // namespace rt
