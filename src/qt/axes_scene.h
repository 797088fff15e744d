// A plain description of what one figure shows, built from the object model (or by hand in
// tests) and drawn by the axes painter on any canvas. Geometry is in canvas pixels (origin
// top-left), data items are in data coordinates, font sizes and line widths in points.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "qt/canvas.h"
#include "qt/line_envelope.h"
#include "runtime/value/value.h"

namespace rt {

struct SceneFont {
    std::string name = "Helvetica";
    double points = 10;
    bool bold = false;
    bool italic = false;
};

// Numbers an item draws (a line's or a patch's data), shared by every copy of the scene: a
// retained scene is painted and copied without copying its data.
class SceneSeries {
public:
    SceneSeries() = default;
    SceneSeries(std::initializer_list<double> v) : SceneSeries(std::vector<double>(v)) {}
    SceneSeries(std::vector<double> v)
        : d_(std::make_shared<const std::vector<double>>(std::move(v))) {}
    std::size_t size() const { return d_ ? d_->size() : 0; }
    bool empty() const { return size() == 0; }
    double operator[](std::size_t i) const { return (*d_)[i]; }
    const double* begin() const { return d_ ? d_->data() : nullptr; }
    const double* end() const { return begin() + size(); }
    // Identifies the numbers: equal ids hold the same numbers.
    const void* id() const { return d_.get(); }

private:
    std::shared_ptr<const std::vector<double>> d_;
};

// A line; NaN in x or y breaks it into separate pieces. No line is drawn when `dash` is
// empty (LineStyle "none"); markers are drawn at every finite point.
struct SceneLine {
    SceneSeries x, y;
    // Made from x and y by whoever sets them (may be left empty): dense lines draw faster.
    std::shared_ptr<const LineSummary> summary;
    Rgb color{0, 0, 0};
    double widthPoints = 0.5;
    std::optional<Dash> dash = Dash::Solid;
    std::optional<MarkerShape> marker;
    double markerPoints = 6;
    std::optional<Rgb> markerEdge;  // nullopt: no outline
    std::optional<Rgb> markerFace;  // nullopt: not filled
};

// A filled polygon with an optional outline (NaN points are skipped).
struct ScenePatch {
    SceneSeries x, y;
    std::optional<Rgb> face;
    std::optional<Rgb> edge;
    double edgePoints = 0.5;
    std::optional<Dash> edgeDash = Dash::Solid;
};

// A text in data coordinates; drawn also outside the plot box, never clipped. Several
// lines stack downwards (in the text's own frame).
struct SceneText {
    double x = 0, y = 0;
    bool pixels = false;  // x, y are canvas pixels instead of data coordinates
    std::vector<std::u16string> lines;
    SceneFont font;
    Rgb color{0, 0, 0};
    double rotation = 0;
    HAlign h = HAlign::Left;
    VAlign v = VAlign::Middle;
};

// An image: CData rows x cols (x cols, 3 for true colour), the centres of its first and last
// column (x1, x2) and row (y1, y2). `cdata` may be left empty when the painter's colour
// cache already holds (id, version); `version` must change whenever CData changes.
struct SceneImage {
    double id = 0;
    std::uint64_t version = 0;
    std::size_t rows = 0, cols = 0;
    bool trueColor = false;
    bool scaled = true;  // CDataMapping "scaled" (through CLim); false: direct indices
    std::shared_ptr<const Value> cdata;
    double x1 = 1, x2 = 1, y1 = 1, y2 = 1;
};

using SceneItem = std::variant<SceneLine, ScenePatch, SceneText, SceneImage>;

// A label of the axes (title, xlabel, ylabel): placed by the painter beside the box.
struct SceneLabel {
    std::vector<std::u16string> lines;
    SceneFont font;
    Rgb color{0, 0, 0};
};

struct AxesScene {
    RectF box;            // the plot box in canvas pixels
    bool visible = true;  // false: only the items, no background, frame or labels
    double xlim[2] = {0, 1};
    double ylim[2] = {0, 1};
    bool xReverse = false;
    bool yReverse = false;
    std::vector<double> xtick, ytick;
    std::vector<std::u16string> xtickLabels, ytickLabels;  // cycled over the ticks; empty: none
    bool xMinorTick = false, yMinorTick = false;
    bool xGrid = false, yGrid = false;
    bool xMinorGrid = false, yMinorGrid = false;
    bool box3 = false;                        // Box "on": frame and ticks on all four sides
    std::optional<Rgb> color = Rgb{1, 1, 1};  // nullopt: Color "none"
    Rgb xColor{0, 0, 0}, yColor{0, 0, 0};
    double lineWidthPoints = 0.5;
    double tickLength = 0.01;      // fraction of the longer box side
    SceneFont font;                // tick labels
    std::vector<double> colormap;  // m x 3, row by row (r g b r g b ...)
    double clim[2] = {0, 1};
    std::optional<SceneLabel> title, xlabel, ylabel;
    std::vector<SceneItem> items;  // stacking order, oldest first
};

struct FigureScene {
    double width = 0, height = 0;  // canvas pixels
    double pixelsPerInch = 96;     // the canvas resolution: points -> pixels
    Rgb background{0.8, 0.8, 0.8};
    std::vector<AxesScene> axes;  // stacking order, oldest first
};

}  // namespace rt
