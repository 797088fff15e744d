// The one conversion from the object model to what the painter draws: a figure's axes with
// their properties and children become a FigureScene, so the screen, raster files and EPS
// all draw the same thing. The scene of each axes is kept and refreshed from the model's
// changes; each image's data version is kept for the colour cache.
#pragma once

#include <functional>
#include <optional>
#include <unordered_map>

class QPainter;
class QWidget;

#include "qt/axes_scene.h"
#include "qt/eps_writer.h"
#include "qt/image_cache.h"
#include "runtime/graphics/graphics.h"

namespace rt {

class QtFigureOutput;

class SceneBuilder : public GraphicsObserver {
public:
    // Observes `g` from now on. Not copyable; must not outlive `g`.
    explicit SceneBuilder(Graphics& g);
    ~SceneBuilder() override;
    SceneBuilder(const SceneBuilder&) = delete;
    SceneBuilder& operator=(const SceneBuilder&) = delete;

    // The figure at `pixelsPerInch` (the screen's resolution for the screen; 72 makes a canvas
    // pixel a point). A NaN handle means the current figure. Hidden objects are left out;
    // axes wholly outside the figure are skipped. rt::Error when `figure` is no figure.
    FigureScene figure(Handle figure, double pixelsPerInch);
    // One axes; `figureHeight` is the figure's height in canvas pixels.
    AxesScene axes(Handle axes, double pixelsPerInch, double figureHeight);
    // The scene of one axes kept across paints: a change rebuilds only what its kind touches
    // (an item's data, an item's look, the axes' frame), and a change that draws nothing
    // rebuilds nothing. Valid until the next call or change of the model.
    const AxesScene& retained(Handle axes, double pixelsPerInch, double figureHeight);

    // Items built from the model so far, and how many of them read their data (tests).
    std::size_t itemsBuilt() const { return itemsBuilt_; }
    std::size_t dataReads() const { return dataReads_; }

    ImageCache& cache() { return cache_; }
    Graphics& graphics() { return g_; }

    void objectCreated(Handle h) override;
    void propertyChanged(Handle h, const std::string& property, ChangeKind kind) override;
    void objectDeleted(Handle h) override;

private:
    struct ImageState {
        std::uint64_t version = 0;
        std::size_t rows = 0, cols = 0;
        bool trueColor = false;
    };
    struct Kid {
        std::optional<SceneItem> item;  // nullopt: draws nothing
        bool dirty = true;
        bool dataDirty = true;
    };
    struct Retained {
        bool frameDirty = true, orderDirty = true;
        double pixelsPerInch = 0, figureHeight = 0;
        Rect pixels{};
        AxesScene scene;
        std::vector<Handle> order;  // drawn children oldest first, then the labels
        std::unordered_map<Handle, Kid> kids;
    };
    AxesScene frame(Handle axes, double pixelsPerInch, double figureHeight);
    void refresh(Handle kid, Kid& k, const AxesScene& frame, double pixelsPerInch,
                 const Rect& axesPixels);
    SceneItem image(Handle h, const AxesScene& scene);
    Retained* retainedOf(Handle axes);

    Graphics& g_;
    ImageCache cache_;
    std::unordered_map<Handle, ImageState> images_;
    std::uint64_t nextVersion_ = 1;
    std::unordered_map<Handle, Retained> retained_;
    std::unordered_map<Handle, Handle> axesOf_;  // item -> the axes holding it
    std::size_t itemsBuilt_ = 0, dataReads_ = 0;
};

// Where `figure` lands on paper: its PaperPosition in points. rt::Error for normalized paper
// units.
Rect paperRect(const Graphics& g, Handle figure);

// What a figure window's paint event calls: fills the figure's colour and paints its axes at
// the screen's resolution, images through the builder's colour cache.
void paintModelFigure(QPainter& painter, SceneBuilder& builder, Handle figure);

// Points the Qt output at `builder`: print then draws figures of `g` (the current figure for
// a NaN handle) through the same scenes as the screen; getframe grabs the window that
// `windows` finds (e.g. the host's window(fig)), or renders the figure when it finds none.
void connectFigureOutput(QtFigureOutput& output, Graphics& g, SceneBuilder& builder,
                         std::function<QWidget*(double figure)> windows = {});

}  // namespace rt
