// An abstract drawing surface for the axes painter. Coordinates are canvas pixels with the
// origin at the top-left corner, y growing downwards; the screen, raster files and EPS each
// implement it. Colours are RGB in [0, 1]; angles are degrees counter-clockwise as seen.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "runtime/graphics/text_layout.h"

namespace rt {

using Rgb = std::array<double, 3>;

struct PointF {
    double x = 0;
    double y = 0;
};

struct RectF {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double right() const { return left + width; }
    double bottom() const { return top + height; }
};

enum class Dash { Solid, Dashed, Dotted, DashDot };

struct Pen {
    Rgb color{0, 0, 0};
    double width = 1;  // canvas pixels; surfaces draw at least a hairline
    Dash dash = Dash::Solid;
};

enum class MarkerShape { Point, Square };

// A font by the object model's name ("Helvetica", "FixedWidth" = the monospace font) at a
// size in canvas pixels.
struct CanvasFont {
    std::string name = "Helvetica";
    double pixelSize = 13;
    bool bold = false;
    bool italic = false;
};

// Pixels as 0xAARRGGBB (not premultiplied), row by row from the top, `width` per row.
struct ArgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // Clipping applies to everything drawn until the matching pop; nests.
    virtual void pushClip(const RectF& r) = 0;
    virtual void popClip() = 0;

    // An open polyline (at least two points; fewer draw nothing).
    virtual void drawPolyline(const std::vector<PointF>& pts, const Pen& pen) = 0;
    // A closed polygon filled with `fill` (even-odd), no outline.
    virtual void fillPolygon(const std::vector<PointF>& pts, const Rgb& fill) = 0;
    virtual void fillRect(const RectF& r, const Rgb& fill) = 0;
    // Markers of `size` pixels centred on each point. "Point" is a filled dot in the edge
    // colour; "Square" is outlined in `edge` and filled with `face` when given.
    virtual void drawMarkers(const std::vector<PointF>& pts, MarkerShape shape, double size,
                             const Rgb* edge, const Rgb* face, double lineWidth) = 0;
    // One line of text (UTF-16) anchored at `at`, turned by `rotation` about the anchor.
    virtual void drawText(const PointF& at, const std::u16string& text, const CanvasFont& font,
                          const Rgb& color, double rotation, HAlign h, VAlign v) = 0;
    virtual TextSize measureText(const std::u16string& text, const CanvasFont& font) = 0;
    // Draws `img` so that the outer corner of its first pixel lands on `first` and that of its
    // last pixel on `last` (either may lie left/right or above/below: flips follow).
    virtual void drawImage(const PointF& first, const PointF& last, const ArgbImage& img) = 0;
};

}  // namespace rt
