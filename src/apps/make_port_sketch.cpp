// Draws kelvora's port sketch "auslassmassen.png" into the folder given as the only argument:
// the port on the cylinder wall with its heights from the cylinder top, its two widths and
// three radii, and the cylinder with bore, stroke and rod. Drawn by the run-time's own
// graphics objects and printed through the same painter as every window.
#include <cmath>
#include <cstdlib>
#include <iostream>
#include <numbers>
#include <string>
#include <vector>

#include "porttime/calc_auslass.h"
#include "qt/application.h"
#include "qt/raster_output.h"
#include "qt/scene_from_model.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/image_io.h"

namespace {

using rt::Value;
constexpr double kPi = std::numbers::pi;
constexpr double kFont = 8;

// Sketch units: 100 across, 122.5 up; 4.08 pixels each.
constexpr double kWidthPx = 408, kHeightPx = 500;

void line(std::vector<double> x, std::vector<double> y, double width = 0.75,
          const char* style = "-") {
    rt::plot({Value::row(std::move(x)), Value::row(std::move(y)), Value("k"), Value("LineWidth"),
              Value(width), Value("LineStyle"), Value(style)});
}

void patch(const std::vector<double>& x, const std::vector<double>& y, double grey) {
    rt::fill({Value::row(x), Value::row(y), Value::row({grey, grey, grey}), Value("EdgeColor"),
              Value("k"), Value("LineWidth"), Value(0.75)});
}

void label(double x, double y, const char* text, const char* align = "left") {
    rt::text({Value(x), Value(y), Value(text), Value("FontSize"), Value(kFont),
              Value("HorizontalAlignment"), Value(align)});
}

// A filled arrowhead at (x, y) pointing along (dx, dy).
void head(double x, double y, double dx, double dy) {
    const double n = std::hypot(dx, dy), ux = dx / n, uy = dy / n, len = 1.8, w = 0.6;
    rt::fill({Value::row({x, x - len * ux - w * uy, x - len * ux + w * uy}),
              Value::row({y, y - len * uy + w * ux, y - len * uy - w * ux}), Value("k"),
              Value("LineStyle"), Value("none")});
}

// A dimension line with arrowheads at both ends.
void dimension(double x0, double y0, double x1, double y1) {
    line({x0, x1}, {y0, y1}, 0.5);
    head(x1, y1, x1 - x0, y1 - y0);
    head(x0, y0, x0 - x1, y0 - y1);
}

void circle(double cx, double cy, double r, double width = 0.75) {
    std::vector<double> x, y;
    for (int i = 0; i <= 48; ++i) {
        x.push_back(cx + r * std::cos(2 * kPi * i / 48));
        y.push_back(cy + r * std::sin(2 * kPi * i / 48));
    }
    line(x, y, width);
}

// The port on the unrolled cylinder wall, its centre line at x = 40 and the cylinder top at
// y = 116; the outline is kelvora's own, for a port drawn 1 unit a millimetre.
void portView() {
    porttime::PortInput in;
    in.stroke = 60, in.bore = 200, in.rod = 110;
    in.exhaustOpening = 16, in.transferOpening = 32, in.exhaustClosing = 50;
    in.widthTop = 36, in.widthTransfer = 32, in.r1 = 5, in.r2 = 8, in.r3 = 2.5;
    const porttime::PortOutline o = porttime::port_outline(in);
    const double cx = 40, base = 116 - in.stroke;  // sketch y of bottom dead centre
    std::vector<double> px, py;
    for (int i = 0; i <= 200; ++i) {
        const double y = o.y3 + (o.y1 - o.y3) * i / 200;
        px.push_back(cx + porttime::port_half_width(o, y));
        py.push_back(base + y);
    }
    for (int i = 200; i >= 0; --i) {
        px.push_back(2 * cx - px[static_cast<std::size_t>(i)]);
        py.push_back(py[static_cast<std::size_t>(i)]);
    }
    patch(px, py, 0.82);
    const double roof = base + o.y1, transfer = base + o.y2, floor = base + o.y3;

    // The cylinder top and the transfer height.
    line({10, 96}, {116, 116}, 1.5);
    label(10, 118.5, "cylinder top");
    line({14, 66}, {transfer, transfer}, 0.5, "--");

    // Heights from the cylinder top, shortest outermost so no leader crosses an arrow.
    const struct {
        double x, y;
        const char* text;
    } heights[] = {{66, roof, "Exhaust Opening"},
                   {63, transfer, "Transfer Opening"},
                   {60, floor, "Exhaust Closeing"}};
    for (const auto& h : heights) {
        dimension(h.x, 116, h.x, h.y);
        line({cx + o.x1 - 2, 69}, {h.y, h.y}, 0.4, ":");
        label(70, h.y, h.text);
    }

    // The widths: at the roof (the side walls extended) and at the transfer height.
    line({cx - o.x1, cx - o.x1}, {roof - 3, roof + 6}, 0.4, ":");
    line({cx + o.x1, cx + o.x1}, {roof - 3, roof + 6}, 0.4, ":");
    dimension(cx - o.x1, roof + 4.5, cx + o.x1, roof + 4.5);
    label(cx, roof + 8, "Width at Top", "center");
    dimension(cx - o.x2, transfer, cx + o.x2, transfer);
    label(cx, transfer - 3, "Width at Transfer", "center");

    // The radii: the corner arcs from their centres, the rounding of the roof.
    line({o.c1x + cx, o.xr1 + cx}, {base + o.c1y, base + o.yr1}, 0.4);
    label(cx + o.c1x - 5, base + o.c1y - 2, "r1", "center");
    line({cx + o.c2x, cx + o.xr2}, {base + o.c2y, base + o.yr2}, 0.4);
    label(cx + o.c2x - 4, base + o.c2y + 1, "r2", "center");
    // r3 rounds the roof itself, not a corner: its leader ends on the roof's middle part.
    const double onRoof = cx - 5;
    line({onRoof - 3, onRoof}, {roof - 6, roof - 0.4}, 0.4);
    label(onRoof - 3, roof - 7.5, "r3", "center");
}

// The cylinder in section: liner, piston, rod and crank, with bore, stroke and rod.
void cylinderView() {
    const double left = 19, right = 51, top = 58, cx = 35;
    line({left, left, right, right}, {30, top, top, 30}, 1.5);
    patch({left + 0.6, right - 0.6, right - 0.6, left + 0.6}, {34, 34, 48, 48}, 0.9);
    const double pinY = 39, crankY = 10, crank = 7, angle = 35 * kPi / 180;
    const double pinX = cx + crank * std::sin(angle), pinY2 = crankY + crank * std::cos(angle);
    circle(cx, crankY, crank, 0.5);
    line({cx, pinX}, {pinY, pinY2}, 1.5);
    line({cx, pinX}, {crankY, pinY2}, 1.5);
    circle(cx, pinY, 1.3);
    circle(pinX, pinY2, 1.3);

    dimension(left, 53, right, 53);
    label(cx, 55.5, "Bore", "center");
    dimension(47, crankY - crank, 47, crankY + crank);
    line({cx, 49}, {crankY - crank, crankY - crank}, 0.4, ":");
    line({cx, 49}, {crankY + crank, crankY + crank}, 0.4, ":");
    label(49.5, crankY, "Stroke");
    label(42, 27, "Rod");
    label(55, 46, "piston");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_port_sketch FOLDER" << std::endl;
        return 2;
    }
    // The same picture whatever display the build runs under.
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    rt::ensureApplication(&qtArgc, argv);
    try {
        rt::Graphics& g = rt::graphics();
        g.setScreen(rt::ScreenInfo{1920, 1080, 96});
        rt::SceneBuilder scenes(g);
        rt::connectFigureOutput(rt::installQtImageOutput(), g, scenes);
        rt::makeFigure({{"Units", "pixels"},
                        {"Position", {1, 1, kWidthPx, kHeightPx}},
                        {"Color", "w"},
                        {"Visible", "off"}});
        rt::axes({Value("Position"), Value::row({0, 0, 1, 1}), Value("XLim"), Value::row({0, 100}),
                  Value("YLim"), Value::row({0, 100 * kHeightPx / kWidthPx}), Value("Visible"),
                  Value("off")});
        rt::hold("on");
        portView();
        cylinderView();
        rt::print(
            {Value("-dpng"), Value("-r96"), Value(std::string(argv[1]) + "/auslassmassen.png")});
        g.reset();
    } catch (const std::exception& e) {
        std::cerr << "make_port_sketch: " << e.what() << std::endl;
        return 1;
    }
    return 0;
}
