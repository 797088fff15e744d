// Our own Encapsulated PostScript output (Qt has none): a canvas that writes vector paths,
// fills, colour, images and Latin-1 text in re-encoded Helvetica (Courier for "FixedWidth"),
// placed on the page by the figure's PaperPosition.
#pragma once

#include <string>
#include <vector>

#include "qt/axes_scene.h"
#include "qt/canvas.h"
#include "runtime/graphics/units.h"

namespace rt {

class ImageCache;

class EpsCanvas : public Canvas {
public:
    // A canvas of canvasWidth x canvasHeight pixels mapped onto `paper`. When the paper keeps
    // the canvas's proportions (true scale among them) one scale serves both axes, so lengths
    // on paper agree in every direction; otherwise each axis is stretched to fill the paper.
    // Line widths, markers and fonts follow the one scale (the mean of the two when
    // stretched). Throws rt::Error when a size is not positive.
    EpsCanvas(double canvasWidth, double canvasHeight, const Rect& paper,
              const std::string& title = "");

    void pushClip(const RectF& r) override;
    void popClip() override;
    void drawPolyline(const std::vector<PointF>& pts, const Pen& pen) override;
    void fillPolygon(const std::vector<PointF>& pts, const Rgb& fill) override;
    void fillRect(const RectF& r, const Rgb& fill) override;
    void drawMarkers(const std::vector<PointF>& pts, MarkerShape shape, double size,
                     const Rgb* edge, const Rgb* face, double lineWidth) override;
    void drawText(const PointF& at, const std::u16string& text, const CanvasFont& font,
                  const Rgb& color, double rotation, HAlign h, VAlign v) override;
    // From the standard PostScript metrics of the printed font, never the screen's.
    TextSize measureText(const std::u16string& text, const CanvasFont& font) override;
    void drawImage(const PointF& first, const PointF& last, const ArgbImage& img) override;

    // The complete file: header with %%BoundingBox, prolog, the drawing, trailer. The
    // drawing calls and this throw rt::Error for a number out of PostScript's range.
    std::string finish();

private:
    double X(double px) const { return left_ + px * sx_; }
    double Y(double py) const { return top_ - py * sy_; }
    void path(const std::vector<PointF>& pts);
    void colour(const Rgb& c);

    Rect paper_;  // left, bottom, width, height in points from the page's lower-left corner
    double sx_, sy_;
    double size_;        // points per canvas pixel for widths, markers and fonts
    double left_, top_;  // where the canvas's top-left corner lands, in points
    std::string title_;
    std::string body_;
    int clipDepth_ = 0;
};

// Text as PostScript string contents: Latin-1 bytes, "(", ")" and "\" escaped, bytes outside
// printable ASCII as octal escapes; characters beyond Latin-1 become "?".
std::string psString(const std::u16string& text);

// Writes `scene` as EPS to `file`, replacing it atomically (an old file stays whole when the
// write fails). rt::Error naming the file when it cannot be written, or when the figure holds
// a number the file cannot (not finite, or beyond PostScript's integers once in points):
// such a figure is refused whole, before the file is touched.
void writeEps(const FigureScene& scene, const Rect& paper, const std::string& file,
              ImageCache* cache = nullptr);

}  // namespace rt
