// The Qt side of image files and figure output: the QImage codec behind the image-format
// registry, and grabbing and printing figures (raster files through QPainter, EPS through
// our own writer). installQtImageOutput() wires both into the core's interfaces.
#pragma once

#include <QImage>
#include <functional>
#include <string>

#include "qt/axes_scene.h"
#include "qt/eps_writer.h"
#include "qt/image_cache.h"
#include "runtime/image_io.h"

class QWidget;

namespace rt {

class QtImageCodec : public ImageCodec {
public:
    ImageData decode(const std::string& file, const std::string& format) override;
    void encode(const Value& image, const std::string& file, const std::string& format) override;
};

// uint8 M x N x 3 <-> QImage (RGB888). rt::Error for another shape.
QImage qimageFromValue(const Value& rgb8);
Value valueFromQImage(const QImage& image);

// Paints `scene` into a new image of its size (rounded up), white before the figure's
// background.
QImage renderFigure(const FigureScene& scene, ImageCache* cache = nullptr);

class QtFigureOutput : public FigureOutput {
public:
    // The figure's window for grabs (nullptr when it has none); the scene of a figure at a
    // resolution (pixels per inch); where a figure lands on paper, in points. Until these are
    // set, grab and print fail with rt::Error.
    using WindowLookup = std::function<QWidget*(double figure)>;
    using SceneSource = std::function<FigureScene(double figure, double pixelsPerInch)>;
    using PaperSource = std::function<Rect(double figure)>;
    void setWindowLookup(WindowLookup f) { window_ = std::move(f); }
    // `cache` (not owned) is the colour cache the source's scenes rely on: a scene may leave
    // out the data of an image the cache already holds.
    void setSceneSource(SceneSource f, ImageCache* cache = nullptr) {
        scene_ = std::move(f);
        cache_ = cache;
    }
    void setPaperSource(PaperSource f) { paper_ = std::move(f); }
    void setScreenDpi(double dpi) { screenDpi_ = dpi; }

    // The window grabbed with its controls; without a window, the figure rendered at the
    // screen's resolution.
    Value grab(double figure) override;
    // "eps": the figure's scene at 72 pixels per inch onto its PaperPosition; raster formats:
    // the scene at `dpi` (0: the screen's), written through the registry.
    void print(double figure, const std::string& format, double dpi,
               const std::string& file) override;

private:
    WindowLookup window_;
    SceneSource scene_;
    PaperSource paper_;
    ImageCache* cache_ = nullptr;
    double screenDpi_ = 96;
};

// Installs a process-wide QtImageCodec and QtFigureOutput (once), and the network fetch that
// imread uses for URLs, and returns the output so that its sources can be set.
QtFigureOutput& installQtImageOutput();

}  // namespace rt
