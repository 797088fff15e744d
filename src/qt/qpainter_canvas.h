// The canvas over a QPainter: the screen (a widget's paint event) and raster files.
#pragma once

#include "qt/canvas.h"

class QPainter;
class QFont;

namespace rt {

class QPainterCanvas : public Canvas {
public:
    // Draws through `painter` (not owned; must be active). Canvas pixels are the painter's
    // logical coordinates.
    explicit QPainterCanvas(QPainter& painter);

    void pushClip(const RectF& r) override;
    void popClip() override;
    void drawPolyline(const std::vector<PointF>& pts, const Pen& pen) override;
    void fillPolygon(const std::vector<PointF>& pts, const Rgb& fill) override;
    void fillRect(const RectF& r, const Rgb& fill) override;
    void drawMarkers(const std::vector<PointF>& pts, MarkerShape shape, double size,
                     const Rgb* edge, const Rgb* face, double lineWidth) override;
    void drawText(const PointF& at, const std::u16string& text, const CanvasFont& font,
                  const Rgb& color, double rotation, HAlign h, VAlign v) override;
    TextSize measureText(const std::u16string& text, const CanvasFont& font) override;
    void drawImage(const PointF& first, const PointF& last, const ArgbImage& img) override;

private:
    QPainter& p_;
    int depth_ = 0;
};

// The polyline with the points dropped that lie within `tolerance` pixels of the line through
// the points kept (first and last always kept). Antialiased strokes cost per vertex, so a curve
// denser than the screen is drawn from this at a quarter pixel: the look is the same.
std::vector<PointF> simplifyPolyline(const std::vector<PointF>& pts, double tolerance);

// The QFont for a canvas font ("FixedWidth": the system's monospace font). Sizes are set in
// pixels so text scales with the canvas resolution, not the screen's.
QFont canvasQFont(const CanvasFont& font);

}  // namespace rt
