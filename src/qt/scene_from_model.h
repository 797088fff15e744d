// The one conversion from the object model to what the painter draws: a figure's axes with
// their properties and children become a FigureScene, so the screen, raster files and EPS
// all draw the same thing. Also keeps each image's data version for the colour cache.
#pragma once

#include <functional>
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
    // Observes `g` from now on (CData changes bump an image's version; deleted images leave
    // the cache). Not copyable; must not outlive `g`.
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
    SceneItem image(Handle h, const AxesScene& scene);

    Graphics& g_;
    ImageCache cache_;
    std::unordered_map<Handle, ImageState> images_;
    std::uint64_t nextVersion_ = 1;
};

// Where `figure` lands on paper: its PaperPosition in points. rt::Error for normalized paper
// units.
PaperRect paperRect(const Graphics& g, Handle figure);

// What a figure window's paint event calls: fills the figure's colour and paints its axes at
// the screen's resolution, images through the builder's colour cache.
void paintModelFigure(QPainter& painter, SceneBuilder& builder, Handle figure);

// Points the Qt output at `builder`: print then draws figures of `g` (the current figure for
// a NaN handle) through the same scenes as the screen; getframe grabs the window that
// `windows` finds (e.g. the host's window(fig)), or renders the figure when it finds none.
void connectFigureOutput(QtFigureOutput& output, Graphics& g, SceneBuilder& builder,
                         std::function<QWidget*(double figure)> windows = {});

}  // namespace rt
