// The one axes painter behind the screen, raster files and EPS: draws an AxesScene on a
// Canvas in passes — background and grid; images and patches; lines; then markers, the frame
// with its ticks and labels, and texts (texts are never clipped to the plot box).
#pragma once

#include <vector>

#include "qt/axes_scene.h"
#include "qt/canvas.h"

namespace rt {

class ImageCache;

// Data coordinates to canvas pixels for one plot box. Limits with no extent map to the
// box's middle.
struct AxisMap {
    RectF box;
    double xlim[2] = {0, 1};
    double ylim[2] = {0, 1};
    bool xReverse = false;
    bool yReverse = false;
    double px(double x) const;
    double py(double y) const;
    // The map as xBase + (x - xlim[0]) * xScale (y likewise): px and py compute exactly this.
    struct Linear {
        double xScale = 0, xBase = 0, yScale = 0, yBase = 0;
    };
    Linear linear() const;
    PointF operator()(double x, double y) const { return {px(x), py(y)}; }
};

// Minor tick positions inside [lo, hi] between and beyond the (evenly spaced) major ticks:
// 4 per interval when the major step's leading digit is 2, else 5; majors are left out.
// Fewer than two majors: a tenth of the span's decade.
std::vector<double> minorTicks(const std::vector<double>& major, double lo, double hi);

// What painting measured: the union of everything the axes drew outside its box (tick
// labels, axis labels, title), in canvas pixels.
struct PaintedAxes {
    RectF outer;
};

// Paints one axes. `pixelsPerInch` turns points (fonts, widths) into canvas pixels. Images
// are coloured through `cache` when given (then a repaint with unchanged data, CLim and
// colour map colours nothing), else afresh.
PaintedAxes paintAxes(Canvas& canvas, const AxesScene& scene, double pixelsPerInch,
                      ImageCache* cache);

// Fills the figure's background and paints every axes in stacking order.
void paintFigure(Canvas& canvas, const FigureScene& scene, ImageCache* cache);

}  // namespace rt
