// A text's Extent, as the object model answers it, covers exactly what the painter draws of
// it: both lay the block out the same way from the same font metrics.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "qt/axes_painter.h"
#include "qt/scene_from_model.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"

namespace {

using rt::Value;

// A font of 0.6 em a character, ascent 0.9 em and descent 0.3 em, on both sides.
class FixedFontHost : public rt::Host {
public:
    rt::ScreenInfo screen() const override { return {1920, 1080, 96}; }
    rt::TextMetrics measureText(const std::string& text, const rt::FontSpec& font) const override {
        const std::u16string t = rt::utf16(text);
        return {0.6 * font.points * static_cast<double>(t.size()), 1.2 * font.points,
                0.9 * font.points, 0.3 * font.points};
    }
    rt::Dialogs& dialogs() override { throw rt::Error("no dialogs"); }
    void serveUntil(const std::function<bool()>&) override {}
    void flush() override {}
    void pause(double) override {}
};

// Records the box of every line of text drawn (canvas pixels, y downwards).
class TextBoxCanvas : public rt::Canvas {
public:
    double left = std::numeric_limits<double>::infinity(), top = left, right = -left,
           bottom = -left;
    int lines = 0;

    void pushClip(const rt::RectF&) override {}
    void popClip() override {}
    void drawPolyline(const std::vector<rt::PointF>&, const rt::Pen&) override {}
    void fillPolygon(const std::vector<rt::PointF>&, const rt::Rgb&) override {}
    void fillRect(const rt::RectF&, const rt::Rgb&) override {}
    void drawMarkers(const std::vector<rt::PointF>&, rt::MarkerShape, double, const rt::Rgb*,
                     const rt::Rgb*, double) override {}
    void drawImage(const rt::PointF&, const rt::PointF&, const rt::ArgbImage&) override {}
    rt::TextSize measureText(const std::u16string& text, const rt::CanvasFont& f) override {
        return {0.6 * f.pixelSize * static_cast<double>(text.size()), 0.9 * f.pixelSize,
                0.3 * f.pixelSize};
    }
    void drawText(const rt::PointF& at, const std::u16string& text, const rt::CanvasFont& f,
                  const rt::Rgb&, double rotation, rt::HAlign h, rt::VAlign v) override {
        EXPECT_EQ(v, rt::VAlign::Baseline);
        ++lines;
        const rt::TextSize s = measureText(text, f);
        const double u0 = h == rt::HAlign::Left     ? 0
                          : h == rt::HAlign::Center ? -s.width / 2
                                                    : -s.width;
        const double rad = rotation * M_PI / 180, c = std::cos(rad), sn = std::sin(rad);
        for (double u : {u0, u0 + s.width})
            for (double w : {-s.descent, s.ascent}) {
                const double x = at.x + u * c - w * sn, y = at.y - u * sn - w * c;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
    }
};

TEST(TextExtent, CoversWhatIsDrawn) {
    FixedFontHost host;
    rt::Host* previous = rt::setHost(&host);
    rt::graphics().reset();
    rt::graphics().useHostScreen();
    const double figureHeight = 500;
    rt::figure({Value("Units"), Value("pixels"), Value("Position"),
                Value::row({1, 1, 600, figureHeight})});
    const rt::Handle ax =
        rt::axes({Value("Units"), Value("pixels"), Value("Position"),
                  Value::row({100, 80, 400, 300}), Value("Visible"), Value("off")});
    rt::SceneBuilder builder(rt::graphics());
    struct Case {
        Value string;
        const char* h;
        const char* v;
        double rotation;
    } cases[] = {
        {Value("Hello"), "left", "middle", 0},
        {Value::charMatrix(std::vector<std::string>{"ab", "abcdef"}), "center", "top", 0},
        {Value::cell(1, 3, {Value("a"), Value("bbbb"), Value("cc")}), "right", "bottom", 90},
        {Value(12.5), "center", "baseline", 270},
        {Value("ab\ncd"), "left", "cap", 30},
    };
    for (const Case& c : cases) {
        const rt::Handle t =
            rt::text({Value(0.5), Value(0.5), Value(""), Value("Units"), Value("pixels"),
                      Value("Position"), Value::row({150, 120}), Value("HorizontalAlignment"),
                      Value(c.h), Value("VerticalAlignment"), Value(c.v), Value("Rotation"),
                      Value(c.rotation), Value("FontSize"), Value(14.0)});
        rt::graphics().set(t, "String", c.string);
        const auto e = rt::graphics().get(t, "Extent").real();
        TextBoxCanvas canvas;
        rt::paintAxes(canvas, builder.retained(ax, 96, figureHeight), 96, nullptr);
        EXPECT_GT(canvas.lines, 0) << c.h << " " << c.v;
        // Extent counts pixels from 1 at the axes' lower-left corner (pixel 100, 80 of the
        // figure, 99 and 79 from 0); the canvas counts from 0 downwards.
        EXPECT_NEAR(canvas.left, 98 + e[0], 1e-9) << c.h << " " << c.v;
        EXPECT_NEAR(canvas.right, 98 + e[0] + e[2], 1e-9) << c.h << " " << c.v;
        EXPECT_NEAR(canvas.bottom, figureHeight - (78 + e[1]), 1e-9) << c.h << " " << c.v;
        EXPECT_NEAR(canvas.top, figureHeight - (78 + e[1] + e[3]), 1e-9) << c.h << " " << c.v;
        rt::graphics().remove(t);
    }
    rt::graphics().reset();
    rt::setHost(previous);
}

}  // namespace
