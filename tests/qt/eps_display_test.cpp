// EPS output is the same with and without a display, and true to scale in both directions.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QGuiApplication>
#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "qt/application.h"
#include "qt/eps_writer.h"
#include "qt/qt_host.h"
#include "runtime/event_loop.h"
#include "runtime/graphics/operations.h"
#include "runtime/image_io.h"
#include "support/temp_dir.h"
#include "support/tools.h"

namespace {

namespace fs = std::filesystem;
using rt::Value;

std::string slurp(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

int run(const std::string& cmd) { return std::system(cmd.c_str()); }

struct TempDir {
    testsupport::TempDir temp;
    fs::path path;
    explicit TempDir(const std::string& stem) : temp(stem), path(temp.path()) {}
};

// A figure with every kind of text the windows print (tick labels, a title and axis labels,
// Helvetica plain and bold, Courier, centred, right-aligned, rotated and multi-line texts),
// lines, a patch and an image, written as EPS by the installed host. Returns the platform.
std::string writeSampleEps(const std::string& file) {
    rt::ensureApplication();
    rt::graphics().reset();
    rt::QtHost host;
    rt::Host* previous = rt::setHost(&host);
    rt::figure({Value("Units"), Value("centimeters"), Value("Position"), Value::row({1, 1, 16, 11}),
                Value("PaperUnits"), Value("centimeters"), Value("PaperPosition"),
                Value::row({1, 1, 16, 11})});
    rt::axes({Value("Position"), Value::row({0.12, 0.55, 0.8, 0.36}), Value("Box"), Value("on"),
              Value("XGrid"), Value("on"), Value("YGrid"), Value("on")});
    rt::hold("on");
    rt::plot({Value::row({0, 40, 90, 130}), Value::row({0, 27, 12, 60}), Value("k"),
              Value("LineWidth"), Value(0.1)});
    rt::fill({Value::row({10, 60, 60, 10}), Value::row({5, 5, 30, 30}), Value::row({0, 0, 0}),
              Value("LineStyle"), Value("none")});
    rt::text({Value(35.0), Value(18.0), Value("Port-Map"), Value("HorizontalAlignment"),
              Value("center"), Value("Color"), Value("w")});
    rt::text({Value(125.0), Value(50.0), Value("right, bold"), Value("HorizontalAlignment"),
              Value("right"), Value("FontWeight"), Value("bold")});
    rt::text({Value(70.0), Value(10.0), Value("turned"), Value("Rotation"), Value(90.0)});
    rt::text({Value(80.0), Value(45.0),
              Value::charMatrix(std::vector<std::string>{"two", "lines \u00e4\u00df"})});
    rt::axis({Value("equal")});
    rt::set(rt::get(rt::gca(), "Title"), {Value("String"), Value("Exhaust \u00b0 Title")});
    rt::set(rt::get(rt::gca(), "XLabel"), {Value("String"), Value("Crank angle [\u00b0]")});
    rt::set(rt::get(rt::gca(), "YLabel"), {Value("String"), Value("Height [mm]")});
    rt::axes({Value("Position"), Value::row({0.12, 0.08, 0.8, 0.3}), Value("XLim"),
              Value::row({0, 10}), Value("YLim"), Value::row({0, 7}), Value("XTick"), Value(),
              Value("YTick"), Value(), Value("Box"), Value("on")});
    rt::hold("on");
    rt::image({Value::row({0.5, 3.5}), Value::row({0.5, 1.5}),
               Value::matrix(2, 4, {1, 20, 40, 64, 10, 30, 50, 60})});
    for (int i = 1; i <= 6; ++i)
        rt::text({Value(4.0), Value(double(i)),
                  Value("Timing Exhaust    :          184.45\u00b0 /"), Value("FontName"),
                  Value("FixedWidth"), Value("FontSize"), Value(10.0)});
    rt::drawnow();
    rt::print({Value("-depsc"), Value(file)});
    const std::string platform = QGuiApplication::platformName().toStdString();
    rt::graphics().reset();
    rt::setHost(previous);
    return platform;
}

// A figure's scene with tick labels and texts in both printed fonts, for writing without
// any application.
rt::FigureScene sampleScene() {
    rt::FigureScene f;
    f.width = 400;
    f.height = 300;
    f.pixelsPerInch = 72;
    rt::AxesScene a;
    a.box = {50, 30, 300, 200};
    a.xlim[1] = 200, a.ylim[1] = 60;
    a.xtick = {0, 50, 100, 150, 200};
    a.ytick = {0, 30, 60};
    a.xtickLabels = {u"0", u"50", u"100", u"150", u"200"};
    a.ytickLabels = {u"0", u"30", u"60"};
    a.box3 = a.xGrid = a.yGrid = true;
    for (const char* font : {"Helvetica", "FixedWidth"}) {
        rt::SceneText t;
        t.x = 100, t.y = font[0] == 'H' ? 20 : 40;
        t.lines = {u"Total Area        :         1051.84mm\u00b2", u"Port-Map"};
        t.font.name = font;
        t.h = rt::HAlign::Center;
        a.items.push_back(t);
    }
    f.axes.push_back(a);
    return f;
}

// Run by the test below in a process of its own: under a display (writes the sample and the
// platform it ran on), or without any application (writes the scene).
class ChildWrites : public ::testing::Test {
public:
    void TestBody() override {
        if (const char* out = std::getenv("EPS_DISPLAY_CHILD_OUT")) {
            std::ofstream(std::string(out) + ".platform") << writeSampleEps(out);
        } else {
            EXPECT_EQ(QCoreApplication::instance(), nullptr);
            rt::writeEps(sampleScene(), {0, 0, 400, 300}, std::getenv("EPS_NOAPP_CHILD_OUT"));
        }
    }
};

// Registered only in a child process, so the suite itself never lists it.
const bool kChildRegistered = [] {
    if (!std::getenv("EPS_DISPLAY_CHILD_OUT") && !std::getenv("EPS_NOAPP_CHILD_OUT")) return false;
    ::testing::RegisterTest("EpsChild", "Write", nullptr, nullptr, __FILE__, __LINE__,
                            []() -> ::testing::Test* { return new ChildWrites; });
    return true;
}();

// The first line where two files differ, for the failure message.
std::string firstDifference(const std::string& a, const std::string& b) {
    std::istringstream sa(a), sb(b);
    std::string la, lb;
    int n = 1;
    while (std::getline(sa, la) && std::getline(sb, lb) && la == lb) ++n;
    return "line " + std::to_string(n) + " differs:\n  " + la + "\n  " + lb;
}

TEST(EpsDisplay, SameFileWithAndWithoutADisplay) {
    ASSERT_TRUE(testsupport::toolInstalled("xvfb-run", "xvfb"));
    TempDir dir("eps_display");
    const fs::path headless = dir.path / "offscreen.eps";
    const fs::path shown = dir.path / "xvfb.eps";
    EXPECT_EQ(writeSampleEps(headless.string()), "offscreen");

    const std::string self = fs::read_symlink("/proc/self/exe").string();
    const std::string log = (dir.path / "child.log").string();
    ASSERT_EQ(run("xvfb-run -a -s '-screen 0 1600x1200x24 -dpi 96' env QT_QPA_PLATFORM=xcb "
                  "EPS_DISPLAY_CHILD_OUT=" +
                  shown.string() + " " + self + " --gtest_filter=EpsChild.* >" + log + " 2>&1"),
              0)
        << slurp(log);
    EXPECT_EQ(slurp(shown.string() + ".platform"), "xcb");
    const std::string a = slurp(headless), b = slurp(shown);
    ASSERT_FALSE(a.empty());
    EXPECT_TRUE(a == b) << firstDifference(a, b);

    // Without any application at all (a command-line tool) the text is measured the same.
    const fs::path bare = dir.path / "noapp.eps", withApp = dir.path / "app.eps";
    rt::writeEps(sampleScene(), {0, 0, 400, 300}, withApp.string());
    ASSERT_EQ(run("env -u DISPLAY -u QT_QPA_PLATFORM EPS_NOAPP_CHILD_OUT=" + bare.string() + " " +
                  self + " --gtest_filter=EpsChild.* >" + log + " 2>&1"),
              0)
        << slurp(log);
    EXPECT_TRUE(slurp(bare) == slurp(withApp)) << firstDifference(slurp(bare), slurp(withApp));
}

// Dark pixels along one row or column of `img` through `at`: first and last index.
std::pair<int, int> darkRun(const QImage& img, int at, bool row) {
    const int n = row ? img.width() : img.height();
    int first = -1, last = -1;
    for (int i = 0; i < n; ++i) {
        const QRgb p = row ? img.pixel(i, at) : img.pixel(at, i);
        if (qGray(p) < 128) {
            if (first < 0) first = i;
            last = i;
        }
    }
    return {first, last};
}

TEST(EpsDisplay, HundredMillimetresInBothDirections) {
    rt::ensureApplication();
    TempDir dir("eps_scale");
    // The paper as big as the window, and a window a few pixels off a whole centimetre size
    // (as a window manager may leave it): both print with one scale for both directions.
    struct Case {
        Value units, position;
        double expectMm;
    };
    const double px = 16 / 2.54 * 96;  // 16 cm in pixels at 96 per inch
    for (const Case& c : {Case{Value("centimeters"), Value::row({1, 1, 16, 16}), 100},
                          Case{Value("pixels"), Value::row({1, 1, px + 3, px - 2}), 0}}) {
        rt::graphics().reset();
        rt::QtHost host;
        rt::Host* previous = rt::setHost(&host);
        rt::graphics().setScreen(rt::ScreenInfo{1920, 1080, 96});
        rt::figure({Value("Units"), c.units, Value("Position"), c.position, Value("Color"),
                    Value("w"), Value("PaperUnits"), Value("centimeters"), Value("PaperPosition"),
                    Value::row({1, 1, 16, 16})});
        // 1 mm of data is 1 mm of the window; the axes draws nothing of its own.
        rt::axes({Value("Position"), Value::row({0, 0, 1, 1}), Value("XLim"), Value::row({0, 160}),
                  Value("YLim"), Value::row({0, 160}), Value("Visible"), Value("off")});
        rt::hold("on");
        rt::plot({Value::row({20, 120}), Value::row({30, 30}), Value("k"), Value("LineWidth"),
                  Value(2.0)});
        rt::plot({Value::row({140, 140}), Value::row({40, 140}), Value("k"), Value("LineWidth"),
                  Value(2.0)});
        const std::string eps = (dir.path / "scale.eps").string();
        rt::print({Value("-depsc"), Value(eps)});
        rt::graphics().reset();
        rt::graphics().useHostScreen();
        rt::setHost(previous);

        const std::string png = (dir.path / "scale.png").string();
        // 254 pixels an inch: 10 pixels a millimetre.
        ASSERT_TRUE(testsupport::toolInstalled("gs", "ghostscript"));
        ASSERT_EQ(run("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=pnggray -r254 "
                      "-sOutputFile=" +
                      png + " " + eps + " 2>/dev/null"),
                  0);
        QImage page(QString::fromStdString(png));
        ASSERT_FALSE(page.isNull());
        // The horizontal line at y = 30 mm, the vertical one at x = 140 mm (the page is the
        // 160 mm paper).
        const auto [x0, x1] = darkRun(page, page.height() - 300, true);
        const auto [y0, y1] = darkRun(page, 1400, false);
        const double across = (x1 - x0 + 1) / 10.0, up = (y1 - y0 + 1) / 10.0;
        if (c.expectMm > 0) {
            EXPECT_NEAR(across, c.expectMm, 0.2);
            EXPECT_NEAR(up, c.expectMm, 0.2);
        }
        EXPECT_NEAR(across, up, 0.15) << "one scale for both directions";
        // The line widths follow that scale: 2 pt is 0.71 mm.
        const auto [w0, w1] = darkRun(page, 700, true);
        EXPECT_NEAR((w1 - w0 + 1) / 10.0, 2 * 25.4 / 72, 0.15);
    }
}

}  // namespace
