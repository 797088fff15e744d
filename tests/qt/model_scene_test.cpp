// The model's figures through the one scene path: screen/raster pixels, EPS at true scale.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "qt/axes_painter.h"
#include "qt/raster_output.h"
#include "qt/scene_from_model.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/image_io.h"
#include "scenes.h"
#include "support/tools.h"

namespace {

using rt::Value;

class ModelScene : public ::testing::Test {
protected:
    void SetUp() override {
        painter_test::ensureApp();
        rt::graphics().reset();
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
        builder_ = std::make_unique<rt::SceneBuilder>(rt::graphics());
        rt::connectFigureOutput(rt::installQtImageOutput(), rt::graphics(), *builder_);
    }
    void TearDown() override {
        rt::graphics().reset();
        rt::QtFigureOutput& out = rt::installQtImageOutput();
        out.setWindowLookup(nullptr);
        out.setSceneSource(nullptr);
        out.setPaperSource(nullptr);
        builder_.reset();
    }
    std::unique_ptr<rt::SceneBuilder> builder_;
};

// A 10 x 6 cm window whose axes fill [0.1 0.1 0.8 0.8] with limits in millimetres, printed
// onto PaperPosition [1 1 10 6] cm: a line, a filled patch and a result text.
rt::Handle portWindow() {
    const rt::Handle fig =
        rt::figure({Value("Units"), Value("centimeters"), Value("Position"),
                    Value::row({1, 1, 10, 6}), Value("Color"), Value("w"), Value("PaperUnits"),
                    Value("centimeters"), Value("PaperPosition"), Value::row({1, 1, 10, 6})});
    rt::axes({Value("Position"), Value::row({0.1, 0.1, 0.8, 0.8}), Value("XLim"),
              Value::row({0, 80}), Value("YLim"), Value::row({0, 48}), Value("Box"), Value("on")});
    rt::hold("on");
    rt::plot(
        {Value::row({0, 80}), Value::row({40, 40}), Value("k"), Value("LineWidth"), Value(0.1)});
    rt::fill({Value::row({10, 60, 60, 10}), Value::row({5, 5, 30, 30}), Value::row({0, 0, 0}),
              Value("LineStyle"), Value("none")});
    rt::text({Value(2.0), Value(36.0), Value("90\u00b0 / 12mm\u00b2"), Value("FontName"),
              Value("FixedWidth"), Value("FontSize"), Value(10.0)});
    return fig;
}

TEST_F(ModelScene, FigureBecomesItsScene) {
    const rt::Handle fig = portWindow();
    const rt::FigureScene s = builder_->figure(fig, 72);
    EXPECT_NEAR(s.width, 10 / 2.54 * 72, 1e-9);  // a canvas pixel is a point at 72 per inch
    EXPECT_NEAR(s.height, 6 / 2.54 * 72, 1e-9);
    ASSERT_EQ(s.axes.size(), 1u);
    const rt::AxesScene& a = s.axes[0];
    EXPECT_NEAR(a.box.left, 0.1 * s.width, 1e-9);
    EXPECT_NEAR(a.box.top, 0.1 * s.height, 1e-9);  // top-left origin: [0.1 .. 0.9] either way
    ASSERT_EQ(a.items.size(), 3u);
    EXPECT_TRUE(std::holds_alternative<rt::SceneLine>(a.items[0]));
    EXPECT_TRUE(std::holds_alternative<rt::ScenePatch>(a.items[1]));
    const auto& t = std::get<rt::SceneText>(a.items[2]);
    EXPECT_EQ(t.lines.at(0), u"90\u00b0 / 12mm\u00b2");
    EXPECT_EQ(t.font.name, "FixedWidth");
    EXPECT_FALSE(std::get<rt::ScenePatch>(a.items[1]).edgeDash.has_value());

    // A window's paint event: the screen's resolution (96 per inch, 37.8 pixels a cm).
    QImage shot(378, 227, QImage::Format_RGB32);
    {
        QPainter p(&shot);
        rt::paintModelFigure(p, *builder_, fig);
    }
    EXPECT_EQ(shot.pixel(150, 227 - 60) & 0xFFFFFF, 0x000000u);  // patch at (40 mm, 15 mm)
    EXPECT_EQ(shot.pixel(5, 5) & 0xFFFFFF, 0xFFFFFFu);           // the figure's Color "w"

    // Axes outside the window (the result cache's) and hidden lines are left out.
    rt::axes({Value("Position"), Value::row({-10, -10, 0.1, 0.1})});
    const rt::Handle hidden =
        rt::line({Value("XData"), Value::row({0, 1}), Value("YData"), Value::row({0, 1})});
    rt::set(Value(hidden), {Value("Visible"), Value("off")});
    EXPECT_EQ(builder_->figure(fig, 96).axes.size(), 1u);
    EXPECT_THROW(builder_->figure(12345, 96), rt::Error);
}

TEST_F(ModelScene, AxisEqualShrinksTheBoxInsideItsPosition) {
    rt::figure({Value("Units"), Value("pixels"), Value("Position"), Value::row({1, 1, 400, 400})});
    const rt::Handle ax =
        rt::axes({Value("Position"), Value::row({0.25, 0.25, 0.5, 0.5}), Value("XLim"),
                  Value::row({0, 100}), Value("YLim"), Value::row({0, 50})});
    rt::axis({Value("equal")});
    const rt::AxesScene a = builder_->axes(ax, 96, 400);
    const rt::AxisMap m{a.box, {a.xlim[0], a.xlim[1]}, {a.ylim[0], a.ylim[1]}, false, false};
    // One data unit is as long across as upwards.
    EXPECT_NEAR(m.px(10) - m.px(0), m.py(0) - m.py(10), 1e-9);
    EXPECT_NEAR(a.box.left + a.box.width / 2, 200, 1e-9);
    EXPECT_NEAR(a.box.top + a.box.height / 2, 200, 1e-9);
    EXPECT_LE(a.box.width, 200 + 1e-9);
    EXPECT_LE(a.box.height, 200 + 1e-9);
}

TEST_F(ModelScene, PrintsRasterAndTrueScaleEps) {
    portWindow();
    const std::string dir = painter_test::outDir();
    rt::print({Value("-dpng"), Value("-r254"), Value(dir + "/model_port.png")});
    QImage png(QString::fromStdString(dir + "/model_port.png"));
    ASSERT_FALSE(png.isNull());
    EXPECT_NEAR(png.width(), 1000, 1);  // 10 cm at 100 pixels a centimetre
    EXPECT_NEAR(png.height(), 600, 1);
    EXPECT_EQ(png.pixel(400, 600 - 160) & 0xFFFFFF, 0x000000u);  // inside the patch
    EXPECT_EQ(png.pixel(150, 600 - 160) & 0xFFFFFF, 0xFFFFFFu);  // beside it

    const std::string eps = dir + "/model_port.eps";
    rt::print({Value("-depsc"), Value(eps)});
    std::ifstream in(eps);
    std::stringstream ss;
    ss << in.rdbuf();
    EXPECT_NE(ss.str().find("%%BoundingBox: 28 28 312 199"), std::string::npos);
    const std::string out = dir + "/model_port_gs.png";
    ASSERT_TRUE(testsupport::toolInstalled("gs", "ghostscript"));
    ASSERT_EQ(std::system(("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=png16m -r254 "
                           "-sOutputFile=" +
                           out + " " + eps + " 2>/dev/null")
                              .c_str()),
              0);
    QImage page(QString::fromStdString(out));
    ASSERT_FALSE(page.isNull());
    EXPECT_NEAR(page.width(), 1000, 4);
    EXPECT_NEAR(page.height(), 600, 4);
}

TEST_F(ModelScene, ImageColouredOnceUntilItsDataChange) {
    rt::figure({Value("Units"), Value("pixels"), Value("Position"), Value::row({1, 1, 600, 400})});
    rt::axes({Value("Position"), Value::row({0.1, 0.1, 0.8, 0.8})});
    const std::size_t rows = 1501, cols = 200;
    std::vector<double> d(rows * cols);
    for (std::size_t k = 0; k < d.size(); ++k) d[k] = static_cast<double>(k % 50);
    const rt::Handle img =
        rt::image({Value::row({1, 2}), Value::row({0, 100}), Value::matrix(rows, cols, d),
                   Value("CDataMapping"), Value("scaled")});
    for (int i = 0; i < 4; ++i) rt::renderFigure(builder_->figure(NAN, 96), &builder_->cache());
    EXPECT_EQ(builder_->cache().colourings(), 1u);
    d[0] = 49;
    rt::set(Value(img), {Value("CData"), Value::matrix(rows, cols, d)});
    for (int i = 0; i < 3; ++i) rt::renderFigure(builder_->figure(NAN, 96), &builder_->cache());
    EXPECT_EQ(builder_->cache().colourings(), 2u);
}

}  // namespace
