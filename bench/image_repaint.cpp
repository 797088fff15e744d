// Colouring the erase window's 1501 x 1000 spectrogram image, against repainting it from the
// colour cache (what every mouse motion during an eraser stroke costs).
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "qt/axes_painter.h"
#include "qt/image_cache.h"
#include "qt/qpainter_canvas.h"

namespace {

rt::AxesScene spectrogramAxes() {
    rt::AxesScene a;
    a.box = {60, 40, 680, 480};
    a.xlim[0] = 0, a.xlim[1] = 1000;
    a.ylim[0] = 0, a.ylim[1] = 1501;
    for (int i = 0; i < 64; ++i) {
        const double t = i / 63.0;
        a.colormap.insert(a.colormap.end(), {t, 0.5 * t, 1 - t});
    }
    a.clim[0] = 0, a.clim[1] = 1;
    rt::SceneImage img;
    img.id = 1;
    img.version = 1;
    img.rows = 1501, img.cols = 1000;
    std::vector<double> d(img.rows * img.cols);
    for (std::size_t k = 0; k < d.size(); ++k) d[k] = static_cast<double>(k % 1009) / 1009;
    img.cdata = std::make_shared<rt::Value>(rt::Value::matrix(img.rows, img.cols, std::move(d)));
    img.x1 = 0.5, img.x2 = 999.5, img.y1 = 0.5, img.y2 = 1500.5;
    a.items.push_back(img);
    return a;
}

void BM_ColourImage(benchmark::State& state) {
    const rt::AxesScene a = spectrogramAxes();
    const auto& img = std::get<rt::SceneImage>(a.items[0]);
    for (auto _ : state) benchmark::DoNotOptimize(rt::colourImage(img, a.colormap, a.clim));
}
BENCHMARK(BM_ColourImage)->Unit(benchmark::kMillisecond);

void BM_RepaintFromCache(benchmark::State& state) {
    const rt::AxesScene a = spectrogramAxes();
    rt::ImageCache cache;
    QImage target(800, 600, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&target);
        rt::QPainterCanvas canvas(p);
        rt::paintAxes(canvas, a, 96, &cache);
    }
    state.counters["colourings"] = static_cast<double>(cache.colourings());
}
BENCHMARK(BM_RepaintFromCache)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
