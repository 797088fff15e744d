// Screenshots of a diagram window: names, formats, and a failed save.
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>

#include "diagram/print_fig.h"
#include "diagram_qt_fixture.h"
#include "support/file_size_limit.h"

using namespace diagram_test;

TEST(ScreenshotName, SuffixRulesAndImageTypes) {
    struct Case {
        const char* typed;
        const char* file;
        const char* type;
    };
    for (const Case& c :
         {Case{"/d/a", "/d/a.bmp", "bmp"}, Case{"/d/a.", "/d/a.bmp", "bmp"},
          Case{"/d/a.png", "/d/a.png", "png"}, Case{"/d/a.jpg", "/d/a.jpg", "jpeg"},
          Case{"/d/a.JPG", "/d/a.JPG", "JPG"},  // the sum test passes capitals
          Case{"/d/a.jpeg", "/d/a.jpeg.bmp", "bmp"}, Case{"/d/a.pdf", "/d/a.pdf.bmp", "bmp"},
          Case{"/d.x/a", "/d.x/a.bmp", "bmp"}}) {
        const diagram::ScreenshotName n = diagram::screenshot_name(c.typed);
        EXPECT_EQ(n.file, c.file) << c.typed;
        EXPECT_EQ(n.type, c.type) << c.typed;
    }
}

class ScreenshotTest : public DiagramQt {
protected:
    void SetUp() override {
        DiagramQt::SetUp();
        dir_ = std::filesystem::temp_directory_path() /
               ("rovantel_shot_" + std::to_string(std::random_device{}()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override {
        std::filesystem::remove_all(dir_);
        DiagramQt::TearDown();
    }
    void shoot(const std::string& name, bool fails = false) {
        dialogs_.answerPutFile(rt::FileChoice{name, dir_.string() + "/"});
        if (fails) dialogs_.expectError();
        const auto b = rt::findobj(
            {Value(power_window()), Value("String"), Value(shell::german_table().printfig)});
        ASSERT_EQ(b.numel(), 1u);
        interp_.eval(rt::get(b, "Callback").text());
    }
    std::filesystem::path dir_;
};

TEST_F(ScreenshotTest, EachFormatReadsBackWithTheWindowsPixelSize) {
    start(1366, 768);
    run("/runs/a.wav", 1.0, {1, 0, 0});
    run("/runs/b.wav", 0.85, {0, 0, 1});
    const rt::Rect px = rt::graphics().pixelPosition(power_window());
    for (const auto& [name, format] :
         {std::pair{"shot", "BMP"}, std::pair{"shot.png", "PNG"}, std::pair{"shot.jpg", "JPEG"},
          std::pair{"SHOT.JPG", "JPEG"}}) {
        SCOPED_TRACE(name);
        shoot(name);
        const std::string file =
            (dir_ / name).string() + (format == std::string("BMP") ? ".bmp" : "");
        QImage img(QString::fromStdString(file), format);
        ASSERT_FALSE(img.isNull());
        EXPECT_NEAR(img.width(), px[2], 1);
        EXPECT_NEAR(img.height(), px[3], 1);
    }
    EXPECT_EQ(rt::get(Value(power_window()), "PaperUnits").text(), "inches");
    EXPECT_EQ(rt::get(Value(power_window()), "Units").text(), "pixels");
}

TEST_F(ScreenshotTest, RefusalsNameTheUsersFileNotTheTemporaryAndChangeNothing) {
    start(1366, 768);
    run("/runs/a.wav", 1.0, {1, 0, 0});
    namespace fs = std::filesystem;
    fs::create_directory(dir_ / "sub");
    std::ofstream(dir_ / "old.png", std::ios::binary) << "old picture";
    std::ofstream(dir_ / "ro.png", std::ios::binary) << "old picture";
    fs::permissions(dir_ / "ro.png", fs::perms(0444));
    const shell::Strings& st = shell::german_table();
    const struct {
        const char* typed;
        std::u16string shell::Strings::*reason;
        bool fullDisk;
    } cases[] = {
        {"sub/", &shell::Strings::save_no_file, false},
        {"ro.png", &shell::Strings::save_read_only, false},
        {"old.png", &shell::Strings::save_disk_full, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        {
            std::optional<testsupport::FileSizeLimit> full;
            if (c.fullDisk) full.emplace(100);
            shoot(c.typed, true);
        }
        EXPECT_EQ(dialogs_.shown().back().text, "\"" + (dir_ / c.typed).string() + "\" " +
                                                    rt::utf8(st.write_failed) + "\n" +
                                                    rt::utf8(st.*c.reason));
    }
    for (const char* name : {"old.png", "ro.png"}) {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        EXPECT_EQ(s.str(), "old picture") << name;
    }
    EXPECT_TRUE(fs::is_empty(dir_ / "sub"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator{}), 3);
}

TEST_F(ScreenshotTest, APowerTorqueWindowWithItsMeanAsPng) {
    start(1920, 1080);
    run("/runs/a.wav", 1.0, {1, 0, 0});
    run("/runs/b.wav", 0.9, {0, 0.6, 0});
    run("/runs/c.wav", 0.8, {0, 0, 1});
    const auto mean = rt::findobj({Value(power_window()), Value("Style"), Value("pushbutton"),
                                   Value("String"), Value(shell::german_table().meanvis)});
    interp_.eval(rt::get(mean, "Callback").text());
    shoot("mean.png");
    QImage img(QString::fromStdString((dir_ / "mean.png").string()), "PNG");
    ASSERT_FALSE(img.isNull());
    // The mean of red, green and blue runs is drawn in their mean colour.
    const QColor grey = QColor::fromRgbF(1.0 / 3, 0.2, 1.0 / 3);
    int drawn = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = img.width() / 3; x < img.width(); ++x)
            if (img.pixelColor(x, y) == grey) ++drawn;
    EXPECT_GT(drawn, 200);
    if (const char* grabs = std::getenv("ROVANTEL_GRAB_DIR"))
        std::filesystem::copy_file(dir_ / "mean.png", std::filesystem::path(grabs) / "mean.png",
                                   std::filesystem::copy_options::overwrite_existing);
}
