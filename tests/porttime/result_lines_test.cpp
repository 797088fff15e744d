// The twelve result lines stay readable whatever size the true-scale window takes: at 7 pt or
// more, no line runs into another or past the block's frame, on screen and in the printed
// file, while the port map keeps its true scale; and the tick numbers of the port map and the
// chord stay clear of the axes below them.
#include <QImage>
#include <QPainter>
#include <cmath>
#include <fstream>
#include <numbers>
#include <regex>

#include "kelvora_fixture.h"
#include "qt/axes_painter.h"
#include "qt/eps_writer.h"
#include "qt/qpainter_canvas.h"
#include "qt/scene_from_model.h"
#include "runtime/graphics/operations.h"

namespace {

using kelvora_test::KelvoraTest;
using rt::Value;

struct Engine {
    const char *name, *bore, *stroke, *rod, *opening, *transfer, *top, *transferWidth, *r1, *r2;
};

// A printed fixed-width line: its box in points and its font size.
struct Printed {
    double left, right, bottom, top, size;
};

// The printed fixed-width lines, in drawing order. The box spans a full em about the anchor
// (the lines are centred on their row), wider than the letters themselves.
std::vector<Printed> printedLines(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    const std::regex text(R"(gsave (\S+) (\S+) translate /Courier-L1 findfont (\S+) scalefont .*)");
    const std::regex shown(R"(^\((.*)\) 0 \S+ ashow)");
    std::vector<Printed> out;
    double x = 0, y = 0, size = 0;
    while (std::getline(in, line)) {
        std::smatch m;
        if (std::regex_match(line, m, text)) {
            x = std::stod(m[1]);
            y = std::stod(m[2]);
            size = std::stod(m[3]);
        } else if (size > 0 && std::regex_search(line, m, shown)) {
            // An octal escape stands for one character.
            const std::string s = std::regex_replace(m[1].str(), std::regex(R"(\\\d{3})"), "#");
            out.push_back({x, x + 0.6 * size * static_cast<double>(s.size()), y - size / 2,
                           y + size / 2, size});
            size = 0;
        }
    }
    return out;
}

// What the painter draws of the port map, the chord and the block, box and tick numbers, on
// the screen's canvas or (at 72 pixels an inch) the printed file's, in canvas pixels from
// the top.
std::vector<rt::RectF> paintedAxes(rt::Handle fig, double ppi, bool paper) {
    rt::SceneBuilder builder(rt::graphics());
    const rt::FigureScene scene = builder.figure(fig, ppi);
    std::vector<rt::RectF> out;
    auto paint = [&](rt::Canvas& canvas) {
        for (const rt::AxesScene& a : scene.axes)
            out.push_back(rt::paintAxes(canvas, a, ppi, nullptr).outer);
    };
    if (paper) {
        rt::EpsCanvas canvas(scene.width, scene.height, {0, 0, scene.width, scene.height});
        paint(canvas);
    } else {
        QImage image(static_cast<int>(std::ceil(scene.width)),
                     static_cast<int>(std::ceil(scene.height)), QImage::Format_RGB32);
        QPainter painter(&image);
        rt::QPainterCanvas canvas(painter);
        paint(canvas);
    }
    return out;
}

bool apart(double l1, double r1, double b1, double t1, double l2, double r2, double b2, double t2) {
    return r1 <= l2 || r2 <= l1 || t1 <= b2 || t2 <= b1;
}

TEST_F(KelvoraTest, ResultLinesStayReadableInsideTheirFrameAndTheMapAtTrueScale) {
    start();
    const Engine engines[] = {
        {"50 cc", "40", "39.2", "80", "12", "26", "26", "25", "5", "8"},
        {"125 cc", "54", "54.5", "110", "26", "40", "38", "36", "6", "12"},
        {"defaults", "63", "60", "110", "33", "48", "45", "43", "8", "15"},
        {"250 cc", "66.4", "72", "130", "30", "50", "46", "44", "8", "15"},
        {"bore 100", "100", "80", "160", "38", "56", "66", "62", "10", "15"},
        // The window grows in height for a flat one, in both directions for a tiny one.
        {"flat", "290", "10", "100", "3", "6", "100", "90", "1", "1"},
        {"bore 25", "25", "24", "50", "8", "15", "15", "14", "3", "4"},
        {"bore 1 mm", "1", "1", "20", "0.2", "0.4", "0.4", "0.38", "0.01", "0.01"}};
    for (const Engine& e : engines) {
        type("Bore", e.bore);
        type("Stroke", e.stroke);
        type("Rod", e.rod);
        type("ExhaustOpening", e.opening);
        type("ExhaustCloseing", e.stroke);
        type("TransferOpening", e.transfer);
        type("Width@Top", e.top);
        type("Width@Transfer", e.transferWidth);
        type("RadiusUp", e.r1);
        type("RadiusDown", e.r2);
        press("CALCULATE");
        SCOPED_TRACE(e.name);
        const Value fig(resultWindow());
        const double bore = std::stod(e.bore), stroke = std::stod(e.stroke);

        // The port map: one millimetre a millimetre on screen and on paper.
        const Value map =
            rt::findobj({fig, Value("Type"), Value("axes"), Value("XLim"),
                         Value::row({-bore * std::numbers::pi / 2, bore * std::numbers::pi / 2})});
        ASSERT_GE(map.numel(), 1u);
        const rt::Handle mapAxes = map.at(map.numel() - 1);
        const rt::Rect box = rt::graphics().pixelPosition(mapAxes);
        // A window larger than the test's screen is placed there in whole pixels.
        const double ppi = rt::graphics().screen().pixelsPerInch, pixel = 25.4 / ppi;
        EXPECT_NEAR(box[2] * pixel, bore * std::numbers::pi, pixel);
        EXPECT_NEAR(box[3] * pixel, stroke, pixel);
        const auto paper = rt::get(fig, "PaperPosition").real();
        const auto mapPos = rt::get(Value(mapAxes), "Position").real();
        EXPECT_NEAR(mapPos[2] * paper[2] * 10, bore * std::numbers::pi, 1e-6);
        EXPECT_NEAR(mapPos[3] * paper[3] * 10, stroke, 1e-6);

        // On screen: every line at 7 pt or more, inside the block, none touching another.
        const Value texts = rt::findobj(
            {fig, Value("Type"), Value("text"), Value("FontName"), Value("FixedWidth")});
        ASSERT_EQ(texts.numel(), 12u);
        const rt::Handle block = rt::get(Value(texts.at(0)), "Parent").scalar();
        const auto ylim = rt::get(Value(block), "YLim").real();
        std::vector<std::vector<double>> boxes;
        for (std::size_t i = 0; i < texts.numel(); ++i) {
            const Value t(texts.at(i));
            EXPECT_EQ(rt::get(t, "FontUnits").text(), "points");
            EXPECT_GE(rt::get(t, "FontSize").scalar(), 7);
            boxes.push_back(rt::get(t, "Extent").real());
        }
        for (std::size_t i = 0; i < boxes.size(); ++i) {
            const auto& a = boxes[i];
            EXPECT_GE(a[0], 0);
            EXPECT_LE(a[0] + a[2], 10);
            EXPECT_GE(a[1], ylim[0]);
            EXPECT_LE(a[1] + a[3], ylim[1]);
            for (std::size_t j = i + 1; j < boxes.size(); ++j) {
                const auto& b = boxes[j];
                EXPECT_TRUE(apart(a[0], a[0] + a[2], a[1], a[1] + a[3], b[0], b[0] + b[2], b[1],
                                  b[1] + b[3]))
                    << rt::get(Value(texts.at(i)), "String").text() << " / "
                    << rt::get(Value(texts.at(j)), "String").text();
            }
        }
        if (std::string(e.name) == "bore 100") {
            EXPECT_EQ(rt::get(Value(texts.at(0)), "FontSize").scalar(), 10) << "room enough: kept";
        }

        // The map's tick numbers above the chord and its numbers, the chord's above the block.
        for (const bool paper : {false, true}) {
            SCOPED_TRACE(paper ? "paper" : "screen");
            const auto painted = paintedAxes(fig.scalar(), paper ? 72 : ppi, paper);
            ASSERT_EQ(painted.size(), 3u);
            EXPECT_LT(painted[0].bottom(), painted[1].top);
            EXPECT_LT(painted[1].bottom(), painted[2].top);
        }

        // On paper: the same, within the block's frame as the page places it.
        const auto printed = printedLines("print.ps");
        ASSERT_EQ(printed.size(), 12u);
        const auto frame = rt::get(Value(block), "Position").real();
        const double cm = 72 / 2.54;
        const double left = (paper[0] + frame[0] * paper[2]) * cm,
                     right = (paper[0] + (frame[0] + frame[2]) * paper[2]) * cm,
                     bottom = (paper[1] + frame[1] * paper[3]) * cm,
                     top = (paper[1] + (frame[1] + frame[3]) * paper[3]) * cm;
        for (std::size_t i = 0; i < printed.size(); ++i) {
            const Printed& a = printed[i];
            EXPECT_GE(a.size, 7);
            EXPECT_GT(a.left, left);
            EXPECT_LT(a.right, right);
            EXPECT_GT(a.bottom, bottom);
            EXPECT_LT(a.top, top);
            for (std::size_t j = i + 1; j < printed.size(); ++j) {
                const Printed& b = printed[j];
                EXPECT_TRUE(
                    apart(a.left, a.right, a.bottom, a.top, b.left, b.right, b.bottom, b.top))
                    << i << " / " << j;
            }
        }
    }
}

}  // namespace
