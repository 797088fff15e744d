#include <gtest/gtest.h>

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QWidget>
#include <filesystem>
#include <fstream>

#include "qt/axes_painter.h"
#include "qt/qpainter_canvas.h"
#include "qt/raster_output.h"
#include "runtime/dispatch/error.h"
#include "runtime/image_io.h"
#include "scenes.h"
#include "support/file_size_limit.h"

namespace {

namespace fs = std::filesystem;

// A figure window as the Qt front-end builds one: an axes area painted through the canvas,
// beside a push button.
class AxesArea : public QWidget {
public:
    explicit AxesArea(rt::FigureScene s) : scene_(std::move(s)) {
        setFixedSize(static_cast<int>(scene_.width), static_cast<int>(scene_.height));
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        rt::QPainterCanvas canvas(p);
        rt::paintFigure(canvas, scene_, &cache_);
    }

private:
    rt::FigureScene scene_;
    rt::ImageCache cache_;
};

class Output : public ::testing::Test {
protected:
    void SetUp() override {
        painter_test::ensureApp();
        out_ = &rt::installQtImageOutput();
        dir_ = painter_test::outDir();
    }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }

    rt::QtFigureOutput* out_ = nullptr;
    std::string dir_;
};

TEST_F(Output, GrabWithControlsWrittenAndReadBack) {
    QWidget window;
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(new AxesArea(painter_test::sampleFigure()));
    layout->addWidget(new QPushButton("Export"));
    window.show();
    out_->setWindowLookup([&](double fig) { return fig == 1 ? &window : nullptr; });

    const rt::Value frame = rt::getframe(1);
    const rt::Value img = rt::frame2im(frame);
    ASSERT_TRUE(img.isUInt8());
    ASSERT_EQ(img.ndims(), 3u);
    EXPECT_EQ(img.rows(), static_cast<std::size_t>(window.height()));
    EXPECT_EQ(img.cols(), static_cast<std::size_t>(window.width()));
    EXPECT_GT(img.cols(), 400u);  // the button lies beside the axes

    struct Case {
        const char* type;
        const char* file;
        const char* detected;
    };
    const Case cases[] = {{"png", "grab.png", "png"},
                          {"bmp", "grab.bmp", "bmp"},
                          {"jpeg", "grab.jpg", "jpeg"},
                          {"JPG", "grab2.JPG", "jpeg"},
                          {"PNG", "grab_png.dat", "png"}};
    for (const Case& c : cases) {
        rt::imwrite(img, path(c.file), c.type);
        const rt::ImageFormat* f = rt::detectImageFormat(path(c.file));
        ASSERT_NE(f, nullptr) << c.file;
        EXPECT_EQ(f->name, c.detected) << c.file;
        const rt::ImageData back = f->read(path(c.file), {});
        EXPECT_EQ(back.image.dims(), img.dims()) << c.file;
        EXPECT_TRUE(back.alpha.isEmpty()) << c.file;
    }
    // Lossless formats give back the very pixels.
    EXPECT_TRUE(rt::findImageFormat("png")->read(path("grab.png"), {}).image.equals(img));
    EXPECT_TRUE(rt::findImageFormat("bmp")->read(path("grab.bmp"), {}).image.equals(img));
    out_->setWindowLookup(nullptr);
}

TEST_F(Output, UnknownTypesAndBadImagesAreErrors) {
    const rt::Value img = rt::Value::uint8({2, 3, 3}, std::vector<std::uint8_t>(18, 9));
    for (const char* type : {"gif", "", "pjg", "tiff"})
        EXPECT_THROW(rt::imwrite(img, path("x.img"), type), rt::Error) << type;
    EXPECT_FALSE(fs::exists(path("x.img")));
    EXPECT_THROW(rt::imwrite(rt::Value("text"), path("y.png"), "png"), rt::Error);
    EXPECT_THROW(rt::imwrite(img, "/nonexistent-dir/z.png", "png"), rt::Error);
    EXPECT_THROW(rt::frame2im(rt::Value(3.0)), rt::Error);
    // Grey and double images are spread and scaled to 8 bits.
    rt::imwrite(rt::Value::matrix(1, 2, {0, 1}), path("grey.png"), "png");
    const rt::Value back = rt::findImageFormat("png")->read(path("grey.png"), {}).image;
    EXPECT_EQ(back.dims(), (std::vector<std::size_t>{1, 2, 3}));
    EXPECT_EQ(back.bytes(), (std::vector<std::uint8_t>{0, 255, 0, 255, 0, 255}));
}

TEST_F(Output, PicturesReplaceOldFilesOnlyWhole) {
    const rt::Value img = rt::Value::uint8({64, 64, 3}, std::vector<std::uint8_t>(64 * 64 * 3, 7));
    const std::string old = "an earlier picture";
    std::ofstream(path("shot.bmp"), std::ios::binary) << old;
    fs::permissions(path("shot.bmp"), fs::perms(0600));
    fs::remove(path("link.bmp"));
    fs::create_symlink("shot.bmp", path("link.bmp"));
    auto contents = [&](const std::string& name) {
        std::ifstream in(path(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    {
        testsupport::FileSizeLimit fullDisk(1024);  // the 12 kB bitmap cannot fit
        try {
            rt::imwrite(img, path("link.bmp"), "bmp");
            ADD_FAILURE() << "the write did not fail";
        } catch (const rt::Error& e) {
            EXPECT_NE(std::string(e.what()).find("link.bmp\": File too large"), std::string::npos)
                << e.what();
        }
    }
    EXPECT_EQ(contents("shot.bmp"), old);
    rt::imwrite(img, path("link.bmp"), "bmp");
    EXPECT_TRUE(fs::is_symlink(path("link.bmp")));
    EXPECT_EQ(fs::status(path("shot.bmp")).permissions(), fs::perms(0600));
    EXPECT_TRUE(rt::findImageFormat("bmp")->read(path("shot.bmp"), {}).image.equals(img));
    for (const auto& e : fs::directory_iterator(dir_))
        EXPECT_FALSE(e.path().filename().string().starts_with(".shot")) << e.path();
}

TEST_F(Output, RegistryDetectsByContent) {
    struct Case {
        std::string head;
        const char* format;
    };
    const Case cases[] = {
        {std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), "png"},
        {std::string("BM\x36\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0", 18), "bmp"},
        {std::string("\xFF\xD8\xFF\xE0\0\x10JFIF", 10), "jpeg"},
        {std::string("BMx not a bitmap header", 23), ""},
        {std::string("GIF89a......", 12), ""},
        {std::string("", 0), ""},
    };
    int i = 0;
    for (const Case& c : cases) {
        const std::string file = path("probe" + std::to_string(i++) + ".img");
        std::ofstream(file, std::ios::binary) << c.head;
        const rt::ImageFormat* f = rt::detectImageFormat(file);
        EXPECT_EQ(f ? f->name : "", c.format) << i;
    }
    EXPECT_EQ(rt::detectImageFormat(path("missing.png")), nullptr);
    EXPECT_EQ(rt::findImageFormat("JPEG")->name, "jpeg");
    EXPECT_EQ(rt::findImageFormat("Jpg")->name, "jpeg");
    EXPECT_EQ(rt::findImageFormat("gif"), nullptr);
    EXPECT_THROW(rt::findImageFormat("png")->read(path("probe3.img"), {}), rt::Error);
}

TEST_F(Output, PrintRendersAtTheResolution) {
    out_->setSceneSource([](double, double ppi) {
        rt::FigureScene s = painter_test::sampleFigure();
        const double k = ppi / 96;
        s.width *= k, s.height *= k, s.pixelsPerInch = ppi;
        rt::RectF& b = s.axes[0].box;
        b = {b.left * k, b.top * k, b.width * k, b.height * k};
        return s;
    });
    rt::print(
        {rt::Value("-dpng"), rt::Value("-opengl"), rt::Value("-r192"), rt::Value(path("p192"))});
    rt::ImageData d = rt::findImageFormat("png")->read(path("p192.png"), {});
    EXPECT_EQ(d.image.rows(), 600u);
    EXPECT_EQ(d.image.cols(), 800u);
    rt::print({rt::Value("-dBMP"), rt::Value("-r96"), rt::Value(path("p96.bmp"))});
    EXPECT_EQ(rt::findImageFormat("bmp")->read(path("p96.bmp"), {}).image.cols(), 400u);
    EXPECT_THROW(rt::print({rt::Value("-dgif"), rt::Value(path("p.gif"))}), rt::Error);
    EXPECT_THROW(rt::print({rt::Value("-dpng")}), rt::Error);
    EXPECT_THROW(rt::print({rt::Value("-dpng"), rt::Value("-q"), rt::Value(path("q"))}), rt::Error);
    out_->setSceneSource(nullptr);
    EXPECT_THROW(rt::print({rt::Value("-dpng"), rt::Value(path("none.png"))}), rt::Error);
}

}  // namespace
