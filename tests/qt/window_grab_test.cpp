// getframe of a real figure window (controls included) through the Qt host's windows.
#include <gtest/gtest.h>

#include <QApplication>

#include "qt/figure_window.h"
#include "qt/qt_host.h"
#include "qt/raster_output.h"
#include "qt/scene_from_model.h"
#include "runtime/graphics/operations.h"
#include "runtime/host.h"
#include "runtime/image_io.h"
#include "scenes.h"

namespace {

using rt::Value;

TEST(WindowGrab, WholeWindowWithControlsWrittenAndReadBack) {
    painter_test::ensureApp();
    rt::graphics().reset();
    auto host = std::make_unique<rt::QtHost>();
    rt::Host* previous = rt::setHost(host.get());
    {
        rt::SceneBuilder builder(rt::graphics());
        rt::connectFigureOutput(rt::installQtImageOutput(), rt::graphics(), builder,
                                [&](double fig) -> QWidget* { return host->window(fig); });
        const rt::Handle fig =
            rt::figure({Value("Units"), Value("pixels"), Value("Position"),
                        Value::row({100, 100, 420, 300}), Value("Name"), Value("Diagram")});
        rt::axes({Value("Position"), Value::row({0.1, 0.3, 0.8, 0.6})});
        rt::fill({Value::row({0.2, 0.8, 0.8, 0.2}), Value::row({0.2, 0.2, 0.8, 0.8}),
                  Value::row({0, 0, 1})});
        rt::uicontrol({Value("Style"), Value("pushbutton"), Value("String"), Value("Export"),
                       Value("Units"), Value("normalized"), Value("Position"),
                       Value::row({0.05, 0.05, 0.3, 0.12})});
        QApplication::processEvents();
        QWidget* win = host->window(fig);
        ASSERT_NE(win, nullptr);

        const Value img = rt::frame2im(rt::getframe(fig));
        ASSERT_EQ(img.ndims(), 3u);
        EXPECT_EQ(img.rows(), static_cast<std::size_t>(win->height()));
        EXPECT_EQ(img.cols(), static_cast<std::size_t>(win->width()));
        const std::string dir = painter_test::outDir();
        for (const char* type : {"png", "bmp", "jpeg"}) {
            const std::string file = dir + "/window." + type;
            rt::imwrite(img, file, type);
            const rt::ImageFormat* f = rt::detectImageFormat(file);
            ASSERT_NE(f, nullptr) << type;
            EXPECT_EQ(f->read(file, {}).image.dims(), img.dims()) << type;
        }
        rt::graphics().reset();
        rt::QtFigureOutput& out = rt::installQtImageOutput();
        out.setWindowLookup(nullptr);
        out.setSceneSource(nullptr);
        out.setPaperSource(nullptr);
    }
    rt::setHost(previous);
    host.reset();
}

}  // namespace
