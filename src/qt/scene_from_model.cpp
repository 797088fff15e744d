#include "qt/scene_from_model.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "qt/axes_painter.h"
#include "qt/qpainter_canvas.h"
#include "qt/raster_output.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/text_layout.h"
#include "runtime/graphics/units.h"
#include "runtime/value/num2str.h"

namespace rt {

namespace {

bool on(const Value& v) { return v.isChar() && v.text() == "on"; }

// A colour property: an RGB triple, or nullopt for a word ("none", "auto", "flat").
std::optional<Rgb> colourOf(const Value& v) {
    if (v.isChar() || v.numel() != 3) return std::nullopt;
    return Rgb{v.at(0), v.at(1), v.at(2)};
}

std::optional<Dash> dashOf(const std::string& s) {
    if (s == "-") return Dash::Solid;
    if (s == "--") return Dash::Dashed;
    if (s == ":") return Dash::Dotted;
    if (s == "-.") return Dash::DashDot;
    return std::nullopt;
}

// Font size in points whatever the FontUnits (normalized: of the axes' height in pixels).
SceneFont fontOf(const Graphics& g, Handle h, double axesHeightPx) {
    SceneFont f;
    f.name = g.get(h, "FontName").text();
    const double ppi = g.screen().pixelsPerInch;
    const Unit u = unitFromName(g.get(h, "FontUnits").text());
    f.points = lengthToPixels(g.get(h, "FontSize").scalar(), u, axesHeightPx, ppi) * 72 / ppi;
    f.bold = g.get(h, "FontWeight").text() == "bold";
    f.italic = g.get(h, "FontAngle").text() != "normal";
    return f;
}

std::vector<std::u16string> tickLabels(const Graphics& g, Handle ax, const char* axis,
                                       const std::vector<double>& ticks) {
    const std::string p = std::string(axis) + "TickLabel";
    std::vector<std::u16string> labels = textLines(g.get(ax, p));
    if (labels.empty() && g.get(ax, p + "Mode").text() == "auto")
        for (double t : ticks) labels.push_back(utf16(num2str(t)));
    return labels;
}

// A text (String, Position in its Units, font, alignment) as the painter draws it.
std::optional<SceneText> textOf(const Graphics& g, Handle t, const AxesScene& scene,
                                const Rect& axesScreenPx, double k) {
    if (!on(g.get(t, "Visible"))) return std::nullopt;
    SceneText s;
    s.lines = textLines(g.stored(t, "String"));
    if (s.lines.empty()) return std::nullopt;
    const auto pos = g.get(t, "Position").real();
    const Unit u = unitFromName(g.get(t, "Units").text());
    if (u == Unit::Data) {
        s.x = pos[0];
        s.y = pos[1];
    } else {
        const Rect p = rectToPixels({pos[0], pos[1], 0, 0}, u, axesScreenPx[2], axesScreenPx[3],
                                    g.screen().pixelsPerInch);
        s.pixels = true;
        s.x = scene.box.left + p[0] * k;
        s.y = scene.box.bottom() - p[1] * k;
    }
    s.font = fontOf(g, t, axesScreenPx[3]);
    s.color = colourOf(g.get(t, "Color")).value_or(Rgb{0, 0, 0});
    s.rotation = g.get(t, "Rotation").scalar();
    s.h = hAlignFromName(g.get(t, "HorizontalAlignment").text());
    s.v = vAlignFromName(g.get(t, "VerticalAlignment").text());
    return s;
}

// Data as the scene keeps them: read once per change of the data, never per paint.
SceneSeries seriesOf(const Value& v) {
    if (v.isDouble() && !v.isComplex()) return SceneSeries(v.re());
    return SceneSeries(v.real());
}

// A line's look; its data are filled in by the caller.
SceneLine lineStyle(const Graphics& g, Handle h, const AxesScene& s) {
    SceneLine l;
    l.color = colourOf(g.get(h, "Color")).value_or(Rgb{0, 0, 0});
    l.widthPoints = g.get(h, "LineWidth").scalar();
    l.dash = dashOf(g.get(h, "LineStyle").text());
    const std::string marker = g.get(h, "Marker").text();
    if (marker == ".") l.marker = MarkerShape::Point;
    if (marker == "s" || marker == "square") l.marker = MarkerShape::Square;
    l.markerPoints = g.get(h, "MarkerSize").scalar();
    const Value edge = g.get(h, "MarkerEdgeColor");
    if (edge.isChar() && edge.text() == "auto")
        l.markerEdge = l.color;
    else
        l.markerEdge = colourOf(edge);
    const Value face = g.get(h, "MarkerFaceColor");
    if (face.isChar() && face.text() == "auto")
        l.markerFace = s.color;
    else
        l.markerFace = colourOf(face);
    return l;
}

ScenePatch patchStyle(const Graphics& g, Handle h) {
    ScenePatch p;
    p.face = colourOf(g.get(h, "FaceColor"));
    p.edge = colourOf(g.get(h, "EdgeColor"));
    p.edgePoints = g.get(h, "LineWidth").scalar();
    p.edgeDash = dashOf(g.get(h, "LineStyle").text());
    return p;
}

// The data of the item `old` held, when it is of the same kind.
template <class T>
const T* previous(const std::optional<SceneItem>& old) {
    return old ? std::get_if<T>(&*old) : nullptr;
}

}  // namespace

SceneBuilder::SceneBuilder(Graphics& g) : g_(g) { g_.addObserver(this); }

SceneBuilder::~SceneBuilder() { g_.removeObserver(this); }

SceneBuilder::Retained* SceneBuilder::retainedOf(Handle ax) {
    auto it = retained_.find(ax);
    return it == retained_.end() ? nullptr : &it->second;
}

void SceneBuilder::objectCreated(Handle h) {
    if (!g_.isValid(h)) return;
    const ObjectType t = g_.type(h);
    if (t == ObjectType::Image) images_[h].version = nextVersion_++;
    if (t == ObjectType::Line || t == ObjectType::Patch || t == ObjectType::Image ||
        t == ObjectType::Text) {
        const Handle ax = g_.parent(h);
        axesOf_[h] = ax;
        if (Retained* r = retainedOf(ax)) r->orderDirty = true;
    }
}

void SceneBuilder::propertyChanged(Handle h, const std::string& property, ChangeKind kind) {
    if (property == "CData")
        if (auto it = images_.find(h); it != images_.end()) it->second.version = nextVersion_++;
    if (kind == ChangeKind::None || !g_.isValid(h)) return;
    switch (g_.type(h)) {
        case ObjectType::Root:
            if (property == "ScreenSize")
                for (auto& [ax, r] : retained_) r.frameDirty = true;
            return;
        case ObjectType::Figure:
            // The colour map and the window's size reach into every axes' frame.
            if (property == "Colormap" || property == "Position" || property == "Units")
                for (auto& [ax, r] : retained_)
                    if (g_.isValid(ax) && g_.parent(ax) == h) r.frameDirty = true;
            return;
        case ObjectType::Axes:
            if (Retained* r = retainedOf(h)) r->frameDirty = true;
            return;
        case ObjectType::UIControl:
            return;
        default:
            break;
    }
    if (property == "Parent") {
        if (auto it = axesOf_.find(h); it != axesOf_.end())
            if (Retained* r = retainedOf(it->second)) {
                r->kids.erase(h);
                r->orderDirty = true;
            }
        const Handle ax = g_.parent(h);
        axesOf_[h] = ax;
        if (Retained* r = retainedOf(ax)) r->orderDirty = true;
        return;
    }
    Retained* r = retainedOf(g_.parent(h));
    if (!r) return;
    auto it = r->kids.find(h);
    if (it == r->kids.end()) return;  // built when the order next takes it in
    it->second.dirty = true;
    if (kind == ChangeKind::Data) it->second.dataDirty = true;
}

void SceneBuilder::objectDeleted(Handle h) {
    if (images_.erase(h)) cache_.forget(h);
    retained_.erase(h);
    if (auto it = axesOf_.find(h); it != axesOf_.end()) {
        if (Retained* r = retainedOf(it->second)) {
            r->kids.erase(h);
            r->orderDirty = true;
        }
        axesOf_.erase(it);
    }
}

SceneItem SceneBuilder::image(Handle h, const AxesScene& scene) {
    auto [it, fresh] = images_.try_emplace(h);
    ImageState& st = it->second;
    if (fresh) st.version = nextVersion_++;
    SceneImage img;
    img.id = h;
    img.version = st.version;
    img.scaled = g_.get(h, "CDataMapping").text() == "scaled";
    img.rows = st.rows;
    img.cols = st.cols;
    img.trueColor = st.trueColor;
    // CData is copied out of the model only when the cache cannot answer without it.
    if (st.rows == 0 || !cache_.holds(img, scene.colormap, scene.clim)) {
        auto data = std::make_shared<const Value>(g_.get(h, "CData"));
        const auto& d = data->dims();
        st.rows = d[0];
        st.cols = d.size() >= 2 ? d[1] : 1;
        st.trueColor = d.size() == 3 && d[2] == 3;
        img.rows = st.rows;
        img.cols = st.cols;
        img.trueColor = st.trueColor;
        img.cdata = std::move(data);
    }
    const auto xd = g_.get(h, "XData").real();
    const auto yd = g_.get(h, "YData").real();
    img.x1 = xd.empty() ? 1 : xd.front();
    img.x2 = xd.empty() ? static_cast<double>(img.cols) : xd.back();
    img.y1 = yd.empty() ? 1 : yd.front();
    img.y2 = yd.empty() ? static_cast<double>(img.rows) : yd.back();
    return img;
}

AxesScene SceneBuilder::frame(Handle ax, double ppi, double figureHeight) {
    const double k = ppi / g_.screen().pixelsPerInch;
    const Rect r = g_.pixelPosition(ax);
    AxesScene s;
    s.visible = on(g_.get(ax, "Visible"));
    s.box = {r[0] * k, figureHeight - (r[1] + r[3]) * k, r[2] * k, r[3] * k};
    const auto xl = g_.get(ax, "XLim").real();
    const auto yl = g_.get(ax, "YLim").real();
    s.xlim[0] = xl[0], s.xlim[1] = xl[1];
    s.ylim[0] = yl[0], s.ylim[1] = yl[1];
    if (g_.get(ax, "DataAspectRatioMode").text() == "manual") {
        // Equal data units per pixel: the plot box shrinks inside Position, centred.
        const auto dar = g_.get(ax, "DataAspectRatio").real();
        const double want = ((xl[1] - xl[0]) / dar[0]) / ((yl[1] - yl[0]) / dar[1]);
        if (want > 0 && std::isfinite(want) && s.box.height > 0) {
            if (s.box.width / s.box.height > want) {
                const double w = s.box.height * want;
                s.box.left += (s.box.width - w) / 2;
                s.box.width = w;
            } else {
                const double h = s.box.width / want;
                s.box.top += (s.box.height - h) / 2;
                s.box.height = h;
            }
        }
    }
    s.xReverse = g_.get(ax, "XDir").text() == "reverse";
    s.yReverse = g_.get(ax, "YDir").text() == "reverse";
    s.xtick = g_.get(ax, "XTick").real();
    s.ytick = g_.get(ax, "YTick").real();
    s.xtickLabels = tickLabels(g_, ax, "X", s.xtick);
    s.ytickLabels = tickLabels(g_, ax, "Y", s.ytick);
    s.xMinorTick = on(g_.get(ax, "XMinorTick"));
    s.yMinorTick = on(g_.get(ax, "YMinorTick"));
    s.xGrid = on(g_.get(ax, "XGrid"));
    s.yGrid = on(g_.get(ax, "YGrid"));
    s.xMinorGrid = on(g_.get(ax, "XMinorGrid"));
    s.yMinorGrid = on(g_.get(ax, "YMinorGrid"));
    s.box3 = on(g_.get(ax, "Box"));
    s.color = colourOf(g_.get(ax, "Color"));
    s.xColor = colourOf(g_.get(ax, "XColor")).value_or(Rgb{0, 0, 0});
    s.yColor = colourOf(g_.get(ax, "YColor")).value_or(Rgb{0, 0, 0});
    s.lineWidthPoints = g_.get(ax, "LineWidth").scalar();
    s.tickLength = g_.get(ax, "TickLength").at(0);
    s.font = fontOf(g_, ax, r[3]);
    Value map = g_.get(g_.parent(ax), "Colormap");
    if (map.isEmpty()) map = defaultColormap();
    const std::size_t m = map.rows();
    const auto md = map.real();
    s.colormap.resize(m * 3);
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t c = 0; c < 3; ++c) s.colormap[3 * i + c] = md[c * m + i];
    const auto cl = g_.get(ax, "CLim").real();
    s.clim[0] = cl[0], s.clim[1] = cl[1];

    return s;
}

void SceneBuilder::refresh(Handle h, Kid& k, const AxesScene& s, double ppi, const Rect& axesPx) {
    ++itemsBuilt_;
    const bool readData = k.dataDirty;
    k.dirty = false;
    k.dataDirty = false;
    const ObjectType t = g_.type(h);
    if (t == ObjectType::Text) {
        const double scale = ppi / g_.screen().pixelsPerInch;
        auto txt = textOf(g_, h, s, axesPx, scale);
        k.item = txt ? std::optional<SceneItem>(std::move(*txt)) : std::nullopt;
        return;
    }
    if (!on(g_.get(h, "Visible"))) {
        k.item.reset();
        k.dataDirty = true;  // read again when it shows
        return;
    }
    if (t == ObjectType::Line) {
        SceneLine l = lineStyle(g_, h, s);
        const SceneLine* old = previous<SceneLine>(k.item);
        if (readData || !old) {
            l.x = seriesOf(g_.stored(h, "XData"));
            l.y = seriesOf(g_.stored(h, "YData"));
            l.summary = std::make_shared<const LineSummary>(
                summarize(l.x.begin(), l.y.begin(), std::min(l.x.size(), l.y.size())));
            ++dataReads_;
        } else {
            l.x = old->x;
            l.y = old->y;
            l.summary = old->summary;
        }
        k.item = std::move(l);
    } else if (t == ObjectType::Patch) {
        ScenePatch p = patchStyle(g_, h);
        const ScenePatch* old = previous<ScenePatch>(k.item);
        if (readData || !old) {
            p.x = seriesOf(g_.stored(h, "XData"));
            p.y = seriesOf(g_.stored(h, "YData"));
            ++dataReads_;
        } else {
            p.x = old->x;
            p.y = old->y;
        }
        k.item = std::move(p);
    } else if (t == ObjectType::Image) {
        k.item = image(h, s);
        // CData was fetched for the colour cache: once coloured, it need not be held.
        if (std::get<SceneImage>(*k.item).cdata) k.dirty = true;
    }
}

const AxesScene& SceneBuilder::retained(Handle ax, double ppi, double figureHeight) {
    if (!g_.isValid(ax) || g_.type(ax) != ObjectType::Axes)
        throw Error("There is no axes to draw.");
    Retained& r = retained_[ax];
    const Rect px = g_.pixelPosition(ax);
    if (r.pixelsPerInch != ppi || r.figureHeight != figureHeight || r.pixels != px)
        r.frameDirty = true;
    bool changed = false;
    if (r.frameDirty) {
        r.scene = frame(ax, ppi, figureHeight);
        r.pixelsPerInch = ppi;
        r.figureHeight = figureHeight;
        r.pixels = px;
        r.frameDirty = false;
        r.orderDirty = true;  // the labels show with a visible axes only
        // Texts placed in pixels and markers filled with the axes' colour follow the frame.
        for (auto& [h, k] : r.kids) k.dirty = true;
        changed = true;
    }
    if (r.orderDirty) {
        std::vector<Handle> order = g_.children(ax);
        std::reverse(order.begin(), order.end());  // stacking order: oldest first
        if (r.scene.visible)
            for (const char* which : {"Title", "XLabel", "YLabel"}) {
                const Value lh = g_.get(ax, which);
                if (!lh.isEmpty() && g_.isValid(lh.scalar())) order.push_back(lh.scalar());
            }
        std::unordered_map<Handle, Kid> kids;
        for (Handle h : order) {
            auto it = r.kids.find(h);
            kids.emplace(h, it == r.kids.end() ? Kid{} : std::move(it->second));
        }
        r.kids = std::move(kids);
        r.order = std::move(order);
        r.orderDirty = false;
        changed = true;
    }
    for (Handle h : r.order) {
        Kid& k = r.kids[h];
        if (!k.dirty) continue;
        refresh(h, k, r.scene, ppi, px);
        changed = true;
    }
    if (changed) {
        r.scene.items.clear();
        for (Handle h : r.order)
            if (const auto& item = r.kids[h].item) r.scene.items.push_back(*item);
    }
    return r.scene;
}

AxesScene SceneBuilder::axes(Handle ax, double ppi, double figureHeight) {
    return retained(ax, ppi, figureHeight);
}

FigureScene SceneBuilder::figure(Handle fig, double ppi) {
    if (std::isnan(fig)) fig = g_.currentFigure();
    if (!g_.isValid(fig) || g_.type(fig) != ObjectType::Figure)
        throw Error("There is no figure to draw.");
    const double k = ppi / g_.screen().pixelsPerInch;
    const Rect r = g_.pixelPosition(fig);
    FigureScene f;
    f.width = r[2] * k;
    f.height = r[3] * k;
    f.pixelsPerInch = ppi;
    f.background = colourOf(g_.get(fig, "Color")).value_or(Rgb{0.8, 0.8, 0.8});
    auto kids = g_.children(fig);
    std::reverse(kids.begin(), kids.end());
    for (Handle h : kids) {
        // The result cache's axes lies outside its window: nothing of it can show.
        if (!g_.isValid(h) || g_.type(h) != ObjectType::Axes || g_.outOfSight(h)) continue;
        f.axes.push_back(retained(h, ppi, f.height));
    }
    return f;
}

Rect paperRect(const Graphics& g, Handle fig) {
    const auto p = g.get(fig, "PaperPosition").real();
    const Unit u = unitFromName(g.get(fig, "PaperUnits").text());
    if (u == Unit::Normalized)
        throw Error("print: PaperPosition in normalized units is not supported.");
    auto pt = [&](double v) { return paperToInches(v, u, 1) * 72; };
    return {pt(p[0]), pt(p[1]), pt(p[2]), pt(p[3])};
}

void paintModelFigure(QPainter& painter, SceneBuilder& builder, Handle figure) {
    Graphics& g = builder.graphics();
    if (std::isnan(figure)) figure = g.currentFigure();
    const double ppi = g.screen().pixelsPerInch;
    const Rect r = g.pixelPosition(figure);
    QPainterCanvas canvas(painter);
    canvas.fillRect({0, 0, r[2], r[3]},
                    colourOf(g.get(figure, "Color")).value_or(Rgb{0.8, 0.8, 0.8}));
    auto kids = g.children(figure);
    std::reverse(kids.begin(), kids.end());
    for (Handle h : kids)
        if (g.type(h) == ObjectType::Axes && !g.outOfSight(h))
            paintAxes(canvas, builder.retained(h, ppi, r[3]), ppi, &builder.cache());
}

void connectFigureOutput(QtFigureOutput& output, Graphics& g, SceneBuilder& builder,
                         std::function<QWidget*(double figure)> windows) {
    output.setScreenDpi(g.screen().pixelsPerInch);
    output.setWindowLookup([&g, windows](double fig) -> QWidget* {
        if (!windows) return nullptr;
        return windows(std::isnan(fig) ? g.currentFigure() : fig);
    });
    output.setSceneSource([&builder](double fig, double ppi) { return builder.figure(fig, ppi); },
                          &builder.cache());
    output.setPaperSource([&g](double fig) {
        if (std::isnan(fig)) fig = g.currentFigure();
        return paperRect(g, fig);
    });
}

}  // namespace rt
