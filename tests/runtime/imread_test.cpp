#include "runtime/imread.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QImage>
#include <filesystem>
#include <fstream>

#include "qt/application.h"
#include "qt/raster_output.h"
#include "runtime/dispatch/error.h"
#include "support/test_helpers.h"

namespace {

namespace fs = std::filesystem;
using rt::Value;
using testsupport::errorOf;

class Imread : public ::testing::Test {
protected:
    void SetUp() override {
        rt::ensureApplication();
        rt::installQtImageOutput();
        dir_ = fs::temp_directory_path() / ("imread_" + std::to_string(::getpid()));
        fs::create_directories(dir_);
    }
    void TearDown() override {
        rt::setUrlFetcher({});
        fs::remove_all(dir_);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    static std::string read(const rt::Values& args) {
        return errorOf([&] { rt::imread(args); });
    }
    // A 2 x 3 image whose every byte tells its row, column and plane.
    static Value pattern() {
        std::vector<std::uint8_t> b(18);
        for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(10 * i + 5);
        return Value::uint8({2, 3, 3}, std::move(b));
    }

    fs::path dir_;
};

TEST_F(Imread, ReadsByContentOrByTheFormatGiven) {
    rt::imwrite(pattern(), path("sketch.png"), "png");
    const rt::ImageData d = rt::imread({Value(path("sketch.png"))});
    EXPECT_TRUE(d.image.equals(pattern()));
    EXPECT_TRUE(d.colormap.isEmpty());
    // The content decides, not the name; a format finds the file with its extension added.
    fs::copy_file(path("sketch.png"), path("sketch.bmp"));
    EXPECT_TRUE(rt::imread({Value(path("sketch.bmp"))}).image.equals(pattern()));
    EXPECT_TRUE(rt::imread({Value(path("sketch")), Value("png")}).image.equals(pattern()));
    // A text that names no format goes to the reader, which ignores it.
    EXPECT_TRUE(rt::imread({Value(path("sketch.png")), Value("noformat")}).image.equals(pattern()));

    // Called by name: the image, the colour map and the alpha channel.
    QImage argb(3, 2, QImage::Format_ARGB32);
    argb.fill(qRgba(0, 128, 255, 64));
    ASSERT_TRUE(argb.save(QString::fromStdString(path("clear.png"))));
    rt::FunctionTable t;
    rt::register_imread(t);
    const rt::Values out = t.call("imread", {Value(path("clear.png"))}, 3);
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].dims(), (std::vector<std::size_t>{2, 3, 3}));
    EXPECT_EQ(out[2].dims(), (std::vector<std::size_t>{2, 3}));
    EXPECT_EQ(out[2].bytes()[0], 64);
    EXPECT_EQ(t.call("imread", {Value(path("sketch.png"))}, 1).size(), 1u);
}

TEST_F(Imread, Messages) {
    EXPECT_EQ(read({}), "Too few input arguments.");
    EXPECT_EQ(read({Value(path("missing.png"))}),
              "File \"" + path("missing.png") + "\" does not exist.");
    EXPECT_EQ(read({Value(path("missing")), Value("png")}),
              "File \"" + path("missing") + "\" does not exist.");
    // A name the listing finds but that cannot be opened (here a folder).
    fs::create_directories(dir_ / "folder");
    std::ofstream(path("folder/inside.txt")) << "x";
    EXPECT_EQ(read({Value(path("folder"))}), "Can't open file \"" + path("folder") +
                                                 "\" for reading;\nyou may not have read "
                                                 "permission.");
    std::ofstream(path("notes.png")) << "plain text, not an image";
    EXPECT_EQ(read({Value(path("notes.png"))}), "Unable to determine the file format.");
}

TEST_F(Imread, NamesWithASchemeAreFetchedToATemporaryFile) {
    rt::imwrite(pattern(), path("remote.png"), "png");
    rt::setUrlFetcher({});
    EXPECT_NE(read({Value("http://localhost/remote.png")}), "");  // no fetcher: refused
    std::string fetched;
    rt::setUrlFetcher([&](const std::string& url, const std::string& target) {
        EXPECT_EQ(url, "http://localhost/remote.png");
        fs::copy_file(path("remote.png"), target);
        fetched = target;
    });
    EXPECT_TRUE(rt::imread({Value("http://localhost/remote.png")}).image.equals(pattern()));
    EXPECT_FALSE(fetched.empty());
    EXPECT_FALSE(fs::exists(fetched)) << "the temporary copy is deleted after reading";
    // A failed fetch leaves no temporary file either.
    rt::setUrlFetcher([&](const std::string&, const std::string& target) {
        std::ofstream(target) << "partial";
        fetched = target;
        throw rt::Error("connection refused");
    });
    EXPECT_EQ(read({Value("http://localhost/remote.png")}), "connection refused");
    EXPECT_FALSE(fs::exists(fetched));
}

}  // namespace
