// The progress window as the Qt front-end shows it (window grab with its controls, real font
// metrics), as the pulse conversion opens it in the German build. The PNGs are left in the
// temporary folder for a look.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QColor>
#include <QImage>
#include <filesystem>
#include <string>

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
    static std::string save(const QImage& img, const std::string& name) {
        const auto dir =
            std::filesystem::temp_directory_path() / ("waitbar_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const std::string file = (dir / name).string();
        img.save(QString::fromStdString(file), "PNG");
        return file;
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
    RecordProperty("png", save(img, "waitbar_de_73.png"));
    ASSERT_EQ(img.width(), 360);
    ASSERT_EQ(img.height(), 75);

    // Axes box: x 18 ... 342, rows 37.5 ... 52.5 from the top; the bar ends at 18 + 0.73 * 324.
    const int mid = 45;
    EXPECT_TRUE(isRed(img.pixelColor(30, mid)));
    EXPECT_TRUE(isRed(img.pixelColor(250, mid)));
    EXPECT_TRUE(isWhite(img.pixelColor(262, mid)));
    EXPECT_TRUE(isWhite(img.pixelColor(335, mid)));
    EXPECT_FALSE(isWhite(img.pixelColor(5, mid))) << "figure background around the axes";

    // The message stands centred above the box: dark pixels there, none far left or right.
    int dark = 0, darkLeft = 0, darkRight = 0;
    for (int y = 5; y < 36; ++y)
        for (int x = 0; x < 360; ++x)
            if (img.pixelColor(x, y).lightness() < 100) {
                ++dark;
                darkLeft += x < 120;
                darkRight += x >= 240;
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
    RecordProperty("png", save(img, "waitbar_de_cancel.png"));
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
