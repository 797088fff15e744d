// The progress window drawn through the Qt scene path with real font metrics, as the pulse
// conversion shows it in the German build. The PNG is left in the temporary folder.
#include <filesystem>
#include <string>

#include <unistd.h>

#include <QColor>
#include <QImage>
#include <gtest/gtest.h>

#include "qt/qt_host.h"
#include "qt/raster_output.h"
#include "qt/scene_from_model.h"
#include "runtime/graphics/operations.h"
#include "signal/waitbar.h"

namespace {

using rt::Value;

class WaitbarRender : public ::testing::Test {
protected:
    void SetUp() override {
        previous_ = rt::setHost(&host_);  // real fonts for the title's Extent
        rt::graphics().reset();
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
        builder_ = std::make_unique<rt::SceneBuilder>(rt::graphics());
    }
    void TearDown() override {
        rt::graphics().reset();
        builder_.reset();
        rt::setHost(previous_);
    }
    QImage render(rt::Handle f) { return rt::renderFigure(builder_->figure(f, 96), &builder_->cache()); }
    static std::string save(const QImage& img, const std::string& name) {
        const auto dir = std::filesystem::temp_directory_path() / ("waitbar_" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir);
        const std::string file = (dir / name).string();
        img.save(QString::fromStdString(file), "PNG");
        return file;
    }

    rt::QtHost host_;
    rt::Host* previous_ = nullptr;
    std::unique_ptr<rt::SceneBuilder> builder_;
};

bool isRed(QColor c) { return c.red() > 200 && c.green() < 60 && c.blue() < 60; }
bool isWhite(QColor c) { return c.red() > 240 && c.green() > 240 && c.blue() > 240; }

TEST_F(WaitbarRender, GermanProgressWindowAt73Percent) {
    const rt::Handle f = sig::waitbar(0, Value("Bitte warten"), {Value("NumberTitle"), Value("off"),
                                                                 Value("Name"), Value("Berechne Diagramm")});
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

}  // namespace
