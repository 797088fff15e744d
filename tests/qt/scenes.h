// Hand-made scenes shared by the painter tests.
#pragma once

#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "qt/application.h"
#include "qt/axes_scene.h"
#include "support/temp_dir.h"

namespace painter_test {

inline void ensureApp() { rt::ensureApplication(); }

// A folder for the files the tests write: one per process, removed when it ends.
inline std::string outDir() {
    static const testsupport::TempDir dir("rt_painter");
    return dir.string();
}

// A 400 x 300 figure at 96 pixels per inch with one axes whose box is (50, 30, 300, 200):
// data (x, y) in [0 10]^2 lands on pixel (50 + 30x, 230 - 20y).
inline rt::FigureScene sampleFigure() {
    rt::FigureScene f;
    f.width = 400;
    f.height = 300;
    f.pixelsPerInch = 96;
    f.background = {0.8, 0.8, 0.8};
    rt::AxesScene a;
    a.box = {50, 30, 300, 200};
    a.xlim[0] = 0, a.xlim[1] = 10;
    a.ylim[0] = 0, a.ylim[1] = 10;
    a.xtick = {0, 2, 4, 6, 8, 10};
    a.ytick = {0, 5, 10};
    a.xtickLabels = {u"0", u"2", u"4", u"6", u"8", u"10"};
    a.ytickLabels = {u"0", u"5", u"10"};
    a.box3 = true;
    a.yMinorTick = true;
    a.colormap = {1, 0, 0, 0, 1, 0, 0, 0, 1, 1, 1, 0};  // red, green, blue, yellow
    a.clim[0] = 1, a.clim[1] = 4;
    a.title = rt::SceneLabel{{u"Title"}, {}, {0, 0, 0}};

    rt::SceneImage img;
    img.id = 7;
    img.rows = 2, img.cols = 2;
    img.cdata = std::make_shared<rt::Value>(rt::Value::matrix(2, 2, {1, 3, 2, 4}));
    img.x1 = 1, img.x2 = 2, img.y1 = 1, img.y2 = 2;
    a.items.push_back(img);

    rt::ScenePatch patch;
    patch.x = {4, 6, 6, 4};
    patch.y = {4, 4, 6, 6};
    patch.face = rt::Rgb{1, 0, 1};
    patch.edge.reset();
    a.items.push_back(patch);

    rt::SceneLine line;
    line.x = {0, 3, NAN, 7, 10};
    line.y = {8, 8, NAN, 8, 8};
    line.widthPoints = 2;
    a.items.push_back(line);

    rt::SceneLine squares;
    squares.x = {8};
    squares.y = {2};
    squares.dash.reset();
    squares.marker = rt::MarkerShape::Square;
    squares.markerPoints = 10;
    squares.markerEdge = rt::Rgb{0, 0, 0};
    squares.markerFace = rt::Rgb{0, 1, 0};
    a.items.push_back(squares);

    rt::SceneLine dots;
    dots.x = {8};
    dots.y = {4};
    dots.dash.reset();
    dots.marker = rt::MarkerShape::Point;
    dots.markerPoints = 18;
    dots.markerEdge = rt::Rgb{0, 0, 1};
    a.items.push_back(dots);

    rt::SceneText up;
    up.x = 9, up.y = 1;
    up.lines = {u"MMMMMM"};
    up.font.points = 16;
    up.font.bold = true;
    up.color = {1, 0, 0};
    up.rotation = 90;
    up.h = rt::HAlign::Left;
    up.v = rt::VAlign::Middle;
    a.items.push_back(up);

    rt::SceneText outside;  // beyond XLim(2): must not be clipped
    outside.x = 10.5, outside.y = 5;
    outside.lines = {u"WW"};
    outside.font.points = 14;
    outside.color = {0, 0, 1};
    a.items.push_back(outside);

    f.axes.push_back(a);
    return f;
}

}  // namespace painter_test
