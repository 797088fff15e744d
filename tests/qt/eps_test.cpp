#include <gtest/gtest.h>

#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <limits>
#include <sstream>

#include "qt/eps_writer.h"
#include "runtime/dispatch/error.h"
#include "scenes.h"
#include "support/file_size_limit.h"
#include "support/test_helpers.h"
#include "support/tools.h"

namespace {

constexpr double kPtPerCm = 72 / 2.54;

// A 10 x 6 cm figure at 72 pixels per inch (a canvas pixel is a point): one axes filling
// [0.1 0.1 0.8 0.8] with limits in millimetres, so one data unit is 1 mm on paper.
rt::FigureScene portFigure() {
    rt::FigureScene f;
    f.width = 10 * kPtPerCm;
    f.height = 6 * kPtPerCm;
    f.pixelsPerInch = 72;
    f.background = {1, 1, 1};
    rt::AxesScene a;
    a.box = {0.1 * f.width, 0.1 * f.height, 0.8 * f.width, 0.8 * f.height};
    a.xlim[0] = 0, a.xlim[1] = 80;
    a.ylim[0] = 0, a.ylim[1] = 48;
    a.xtick = {0, 20, 40, 60, 80};
    a.ytick = {0, 24, 48};
    a.xGrid = a.yGrid = a.box3 = true;
    a.color.reset();
    rt::SceneLine wall;
    wall.x = {0, 80};
    wall.y = {40, 40};
    wall.widthPoints = 0.1;
    a.items.push_back(wall);
    rt::ScenePatch port;
    port.x = {10, 60, 60, 10};
    port.y = {5, 5, 30, 30};
    port.face = rt::Rgb{0, 0, 0};
    port.edge.reset();
    a.items.push_back(port);
    rt::SceneText label;
    label.x = 35, label.y = 20;
    label.lines = {u"Port-Map"};
    label.color = {1, 1, 1};
    label.h = rt::HAlign::Center;
    a.items.push_back(label);
    rt::SceneText result;
    result.x = 2, result.y = 36;
    result.lines = {u"90\u00b0 / 12mm\u00b2 (a\\b)"};
    result.font.name = "FixedWidth";
    a.items.push_back(result);
    f.axes.push_back(a);
    return f;
}

std::string slurp(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

int run(const std::string& cmd) { return std::system(cmd.c_str()); }

TEST(Eps, HeaderTextAndScale) {
    painter_test::ensureApp();
    const std::string dir = painter_test::outDir();
    const std::string eps = dir + "/port.eps";
    // PaperPosition [1 1 10 6] cm.
    const rt::Rect paper{kPtPerCm, kPtPerCm, 10 * kPtPerCm, 6 * kPtPerCm};
    rt::writeEps(portFigure(), paper, eps);
    const std::string text = slurp(eps);
    EXPECT_EQ(text.rfind("%!PS-Adobe-3.0 EPSF-3.0\n", 0), 0u);
    EXPECT_NE(text.find("%%BoundingBox: 28 28 312 199\n"), std::string::npos);
    EXPECT_NE(text.find("/Courier-L1 findfont"), std::string::npos);
    // Latin-1 bytes as octal escapes; parentheses and backslash escaped.
    EXPECT_NE(text.find("(90\\260 / 12mm\\262 \\(a\\\\b\\))"), std::string::npos);
    for (unsigned char c : text) ASSERT_LT(c, 0x80) << "the file is 7-bit clean";

    // Ghostscript reads it without error, and its page is the PaperPosition's size.
    const std::string png = dir + "/port.png";
    ASSERT_TRUE(testsupport::toolInstalled("gs", "ghostscript"));
    ASSERT_EQ(run("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=png16m -r254 "
                  "-sOutputFile=" +
                  png + " " + eps + " 2>" + dir + "/gs.err"),
              0);
    EXPECT_EQ(slurp(dir + "/gs.err"), "");
    QImage page(QString::fromStdString(png));
    ASSERT_FALSE(page.isNull());
    // 254 dpi: 100 pixels a centimetre; the integer BoundingBox adds under a point.
    EXPECT_NEAR(page.width(), 1000, 4);
    EXPECT_NEAR(page.height(), 600, 4);
    // True scale: the 50 mm wide patch is 500 pixels wide, at 2 cm + 1 cm from the left.
    const int row = page.height() - static_cast<int>(0.6 * 100 + 1.0 * 100);  // y = 10 mm
    auto dark = [&](int x) { return qGray(page.pixel(x, row)) < 64; };
    ASSERT_TRUE(dark(400));
    int first = 400, last = 400;
    while (first > 0 && dark(first - 1)) --first;
    while (last + 1 < page.width() && dark(last + 1)) ++last;
    // The box starts 1 cm into the figure, the patch 10 mm into the box; the page starts
    // 0.35 pt (1.2 pixels) left of the figure because the BoundingBox is whole points.
    EXPECT_NEAR(first, 201, 2);
    EXPECT_NEAR(last - first + 1, 500, 3);

    // The text comes out as the characters written, degree and superscript two included.
    const std::string txt = dir + "/port.txt";
    ASSERT_EQ(run("gs -q -dSAFER -dBATCH -dNOPAUSE -sDEVICE=txtwrite -sOutputFile=" + txt + " " +
                  eps + " 2>/dev/null"),
              0);
    EXPECT_NE(slurp(txt).find("90\u00b0 / 12mm\u00b2"), std::string::npos) << slurp(txt);
    EXPECT_NE(slurp(txt).find("Port-Map"), std::string::npos) << "a hyphen, not a minus";
}

TEST(Eps, RefusesEmptyPaperAndUnwritableFiles) {
    painter_test::ensureApp();
    EXPECT_THROW(rt::writeEps(portFigure(), {0, 0, 0, 10}, painter_test::outDir() + "/x.eps"),
                 rt::Error);
    EXPECT_THROW(rt::writeEps(portFigure(), {0, 0, 10, 10}, "/nonexistent-dir/x.eps"), rt::Error);
    EXPECT_EQ(rt::psString(u"a(b)\\\u00e9\u20ac"), "a\\(b\\)\\\\\\351?");
}

TEST(Eps, RefusesNumbersPostScriptCannotTakeAndKeepsTheOldFile) {
    painter_test::ensureApp();
    const std::string eps = painter_test::outDir() + "/huge.ps";
    std::ofstream(eps) << "the previous plot";
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    // A bore of 1e300 mm gave its paper; past 2^31 points the BoundingBox's integers end.
    for (const rt::Rect& paper : {rt::Rect{0, 0, 1e300, 1e300}, rt::Rect{28, 28, 3e9, 500},
                                  rt::Rect{-3e9, 28, 100, 60}, rt::Rect{nan, 28, 100, 60}}) {
        const std::string message =
            testsupport::errorOf([&] { rt::writeEps(portFigure(), paper, eps); });
        EXPECT_EQ(message.rfind("Cannot write \"" + eps +
                                    "\": the figure holds a number PostScript cannot take (",
                                0),
                  0u)
            << message;
        EXPECT_EQ(slurp(eps), "the previous plot");
    }
    // The largest figure it takes is written whole.
    rt::writeEps(portFigure(), {0, 0, 2e9, 1.2e9}, eps);
    EXPECT_NE(slurp(eps).find("%%BoundingBox: 0 0 2000000000 1200000000\n"), std::string::npos);
}

TEST(Eps, ReplacesAnOldFileOnlyWhenTheNewOneIsComplete) {
    painter_test::ensureApp();
    const std::string dir = painter_test::outDir();
    const std::string eps = dir + "/print.ps", link = dir + "/print_link.ps";
    std::remove(eps.c_str());
    std::remove(link.c_str());
    std::ofstream(eps) << "the previous plot";
    // A second name for the old file's contents: a file written in place would change it.
    ASSERT_EQ(run("ln " + eps + " " + link), 0);
    rt::writeEps(portFigure(), {0, 0, 100, 60}, eps);
    EXPECT_EQ(slurp(link), "the previous plot");
    EXPECT_EQ(slurp(eps).rfind("%!PS-Adobe-3.0 EPSF-3.0", 0), 0u);
    // A write that fails half way (a full disk) leaves the old file whole.
    {
        testsupport::FileSizeLimit full(200);
        EXPECT_THROW(rt::writeEps(portFigure(), {0, 0, 100, 60}, link), rt::Error);
    }
    EXPECT_EQ(slurp(link), "the previous plot");
}

}  // namespace
