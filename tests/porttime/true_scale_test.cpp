// The written EPS, rendered by Ghostscript, shows the port at true scale.
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

#include "kelvora_fixture.h"
#include "porttime/calc_auslass.h"
#include "runtime/graphics/operations.h"
#include "support/tools.h"

namespace {

using kelvora_test::KelvoraTest;
using rt::Value;

// Dark runs of one row: [first, last] pixel columns.
std::vector<std::pair<int, int>> darkRuns(const QImage& img, int row) {
    std::vector<std::pair<int, int>> runs;
    for (int x = 0; x < img.width(); ++x) {
        if (qGray(img.pixel(x, row)) >= 128) continue;
        if (!runs.empty() && runs.back().second == x - 1)
            runs.back().second = x;
        else
            runs.push_back({x, x});
    }
    return runs;
}

TEST_F(KelvoraTest, GhostscriptMeasuresThePortAndTheCylinderAtTrueScale) {
    start();
    press("CALCULATE");
    const porttime::PortTimeArea r = porttime::port_time_area(porttime::PortInput{});
    const double widest = 2 * *std::max_element(r.xxx.begin(), r.xxx.end());
    const double around = 63 * std::numbers::pi;

    // 254 pixels an inch: 10 a millimetre.
    ASSERT_TRUE(testsupport::toolInstalled("gs", "ghostscript"));
    ASSERT_EQ(std::system("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -sDEVICE=pnggray "
                          "-dGraphicsAlphaBits=4 -r254 "
                          "-sOutputFile=print.png print.ps 2>/dev/null"),
              0);
    QImage page("print.png");
    ASSERT_FALSE(page.isNull());
    const rt::Handle fig = resultWindow();
    const auto paper = rt::get(Value(fig), "PaperPosition").real();
    EXPECT_NEAR(page.width(), paper[2] * 100, 4);
    EXPECT_NEAR(page.height(), paper[3] * 100, 4);
    // The port map's bottom edge, from the paper (the page may start up to a point early); it
    // is the highest of the axes.
    double bottom = 0;
    const Value axes = rt::findobj({Value(fig), Value("Type"), Value("axes")});
    for (std::size_t i = 0; i < axes.numel(); ++i)
        bottom = std::max(bottom, rt::get(Value(axes.at(i)), "Position").at(1) * paper[3] * 100);
    auto rowAt = [&](double mm) { return static_cast<int>(page.height() - bottom - mm * 10); };

    // The unrolled cylinder: the centres of the frame's outer lines, above the port.
    const auto frameRow = darkRuns(page, rowAt(35));
    ASSERT_GE(frameRow.size(), 2u);
    const double left = (frameRow.front().first + frameRow.front().second) / 2.0;
    const double right = (frameRow.back().first + frameRow.back().second) / 2.0;
    const double frame = (right - left) / 10;
    EXPECT_NEAR(frame, around, 0.2);

    // The black port: its widest row, leaving out rows that a horizontal line crosses beside it.
    const int centre = static_cast<int>((left + right) / 2);
    double patch = 0;
    for (int row = rowAt(25); row <= rowAt(5); ++row) {
        bool crossed = false;
        for (int x = centre + 255; x <= centre + 295; ++x)
            crossed = crossed || qGray(page.pixel(x, row)) < 128;
        if (crossed) continue;
        for (const auto& run : darkRuns(page, row))
            if (run.first <= centre && run.second >= centre)
                patch = std::max(patch, (run.second - run.first + 1) / 10.0);
    }
    EXPECT_NEAR(patch, widest, 0.2);
    RecordProperty("frame_mm", std::to_string(frame));
    RecordProperty("patch_mm", std::to_string(patch));
    std::cout << "frame " << frame << " mm (bore x pi " << around << "), port " << patch
              << " mm (widest arc length " << widest << ")" << std::endl;
}

}  // namespace
