// The progress window as the Qt front-end shows it (window grab with its controls, real font
// metrics), as the pulse conversion opens it in the German build. Where the message lies
// depends on the font installed, so it is measured, not assumed.
#include <gtest/gtest.h>

#include <QColor>
#include <QFontDatabase>
#include <QImage>
#include <algorithm>
#include <string>
#include <vector>

#include "qt/qt_host.h"
#include "qt/raster_output.h"
#include "runtime/graphics/operations.h"
#include "runtime/image_io.h"
#include "signal/waitbar.h"

namespace {

using rt::Value;

class WaitbarRender : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(QFontDatabase::families().isEmpty())
            << "no fonts: install the Debian package fonts-dejavu-core";
        previous_ = rt::setHost(&host_);  // real fonts for the title's Extent
        rt::graphics().reset();
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
    }
    void TearDown() override {
        rt::graphics().reset();
        rt::setHost(previous_);
    }
    static QImage render(rt::Handle f) {
        return rt::qimageFromValue(rt::getframe(f).field("cdata"));
    }
    // The title's Extent in pixels (at 96 per inch), as the font in use measures it.
    static std::vector<double> titleExtent(rt::Handle f) {
        const rt::Value ax = rt::findobj({Value(f), Value("Type"), Value("axes")});
        const Value title = rt::get(Value(ax.at(0)), "title");
        const Value units = rt::get(title, "Units");
        rt::set(title, {Value("Units"), Value("pixels")});
        const std::vector<double> extent = rt::get(title, "Extent").real();
        rt::set(title, {Value("Units"), units});
        return extent;
    }

    rt::QtHost host_;
    rt::Host* previous_ = nullptr;
};

bool isRed(QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
bool isWhite(QColor c) { return c.red() > 240 && c.green() > 240 && c.blue() > 240; }

TEST_F(WaitbarRender, GermanProgressWindowAt73Percent) {
    const rt::Handle f = sig::waitbar(
        0, Value("Bitte warten"),
        {Value("NumberTitle"), Value("off"), Value("Name"), Value("Berechne Diagramm")});
    sig::waitbar(0.73, f);
    const QImage img = render(f);
    ASSERT_EQ(img.width(), 360);
    // 75 pixels, unless the message with the 44 pixels of axes and margin below it needs more.
    const std::vector<double> extent = titleExtent(f);
    ASSERT_EQ(extent.size(), 4u);
    ASSERT_GT(extent[3], 0) << "the message has no height: is a font installed?";
    EXPECT_NEAR(img.height(), std::max(75.0, extent[3] + 44.1667), 1.0);

    // Axes box: x 18 ... 342, rows 22.5 ... 37.5 from the bottom; the bar ends at
    // 18 + 0.73 * 324.
    const int mid = img.height() - 30;
    EXPECT_TRUE(isRed(img.pixelColor(30, mid)));
    EXPECT_TRUE(isRed(img.pixelColor(250, mid)));
    EXPECT_TRUE(isWhite(img.pixelColor(262, mid)));
    EXPECT_TRUE(isWhite(img.pixelColor(335, mid)));
    EXPECT_FALSE(isWhite(img.pixelColor(5, mid))) << "figure background around the axes";

    // The message stands centred above the box: dark pixels there, none beyond its measured
    // width (a few pixels allowed for antialiasing).
    ASSERT_LT(extent[2], 340) << "the message is wider than the window";
    const double left = 180 - extent[2] / 2 - 3, right = 180 + extent[2] / 2 + 3;
    int dark = 0, darkLeft = 0, darkRight = 0;
    for (int y = 5; y < mid - 9; ++y)
        for (int x = 0; x < 360; ++x)
            if (img.pixelColor(x, y).lightness() < 100) {
                ++dark;
                darkLeft += x < left;
                darkRight += x > right;
            }
    EXPECT_GT(dark, 30);
    EXPECT_EQ(darkLeft, 0);
    EXPECT_EQ(darkRight, 0);

    sig::waitbar(1.5, f);
    EXPECT_TRUE(isRed(render(f).pixelColor(335, mid)));
    sig::waitbar(-1, f);
    EXPECT_TRUE(isWhite(render(f).pixelColor(30, mid)));
}

TEST_F(WaitbarRender, CancelButtonBelowTheBar) {
    const rt::Handle f = sig::waitbar(
        0.4, Value("Bitte warten"),
        {Value("Name"), Value("Berechne Diagramm"), Value("createcancelbtn"), Value("disp('x')")});
    const QImage img = render(f);
    ASSERT_EQ(img.width(), 360);
    // The window grows to hold the raised axes and the message above it (not by the whole
    // button height: the title rule decides the height).
    ASSERT_GT(img.height(), 75);
    // The button (60 x 23 pixels, 9.3 pixels up, left edge at 276) is no window grey.
    const QColor grey = img.pixelColor(5, img.height() - 5);
    bool buttonDrawn = false;
    for (int x = 278; x < 334; ++x)
        buttonDrawn = buttonDrawn || img.pixelColor(x, img.height() - 20) != grey;
    EXPECT_TRUE(buttonDrawn);
}

}  // namespace
