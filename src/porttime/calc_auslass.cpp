#include "porttime/calc_auslass.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

#include "runtime/dispatch/error.h"
#include "runtime/event_loop.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/subplot.h"
#include "runtime/graphics/window.h"
#include "runtime/image_io.h"
#include "runtime/value/num2str.h"
#include "runtime/value/str2num.h"
#include "shell/panel.h"
#include "signal/clf.h"

namespace porttime {

namespace {

using rt::Value;
constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int kSamples = 10000;
constexpr double kFontSize = 10;

// A field of the input window: its Tag and its label as the window shows it.
struct Field {
    const char* tag;
    const char* label;
};
constexpr Field kStroke{"Stroke", "Stroke"}, kRod{"Rod", "Rod"}, kRpm{"RPM", "Target RPM"},
    kBore{"Bore", "Bore"}, kOpening{"ExhaustOpening", "Exhaust Opening"},
    kTransfer{"TransferOpening", "Transfer Opening"},
    kClosing{"ExhaustCloseing", "Exhaust Closeing"}, kTop{"Width@Top", "Width at Top"},
    kWidthTransfer{"Width@Transfer", "Width at Transfer"}, kR1{"RadiusUp", "Upper Radius (r1)"},
    kR2{"RadiusDown", "Lower Radius (r2)"}, kR3{"UpperRounding", "Rounding (r3)"};

[[noreturn]] void refuse(const Field& f, const std::string& why) {
    throw rt::Error(std::string(f.label) + " " + why);
}

// The field's number as typed; refused when it holds none.
double number(const Field& f) {
    const Value v = rt::str2num(shell::get_tagged(f.tag, "String"));
    if (v.numel() != 1 || v.isComplex() || !std::isfinite(v.scalar()))
        refuse(f, "must be a number.");
    return v.scalar();
}

// The cosine of the crank angle at which the crown is `height` above bottom dead centre.
double crankArgument(const PortInput& in, double height) {
    const double d = in.rod - in.stroke / 2 + height;
    return (d * d + std::pow(in.stroke / 2, 2) - in.rod * in.rod) / (in.stroke * d);
}

Value row(std::vector<double> v) { return Value::row(std::move(v)); }

// The points followed by their mirror image in reverse order: a closed outline of the port.
std::pair<Value, Value> mirrored(const std::vector<double>& x, const std::vector<double>& y) {
    std::vector<double> px(x), py(y);
    for (std::size_t i = x.size(); i-- > 0;) {
        px.push_back(-x[i]);
        py.push_back(y[i]);
    }
    return {row(px), row(py)};
}

void blackLine(std::vector<double> x, std::vector<double> y, const char* colour = "k") {
    rt::plot({row(std::move(x)), row(std::move(y)), Value(colour), Value("LineWidth"), Value(0.1)});
}

void blackPatch(const std::pair<Value, Value>& outline) {
    rt::fill({outline.first, outline.second, row({0, 0, 0}), Value("LineStyle"), Value("none")});
}

void label(double y, const char* text) {
    rt::text({Value(0.0), Value(y), Value(text), Value("HorizontalAlignment"), Value("center"),
              Value("FontSize"), Value(kFontSize), Value("Color"), Value("w")});
}

std::string f2(double v) { return rt::num2str(v, "%15.2f"); }

// The result window: found by its Tag, or made with its paper settings in inches.
rt::Handle resultWindow() {
    const Value found = rt::findobj({Value("Tag"), Value("PlotFig")});
    if (found.isEmpty()) {
        const rt::Handle fig =
            rt::makeFigure({{"Name", "Exhaust Plot"}, {"NumberTitle", "off"}, {"Tag", "PlotFig"}});
        rt::setProps(fig, {{"PaperUnits", "inches"}});
        rt::setProps(fig, {{"PaperType", "a4letter"},
                           {"PaperOrientation", "landscape"},
                           {"PaperPosition", {0.25, 0.25, 11.1, 7.7}}});
        return fig;
    }
    const rt::Handle fig = found.scalar();
    rt::setProps(0.0, {{"CurrentFigure", fig}});
    return fig;
}

// The window's size follows the port map, so at 10 pt the result lines of most engines run
// into the next column, past the block's frame or into the next row. Their font shrinks until
// each line ends a character before the next column (or the frame) and the rows clear.
void fitResultLines(const std::vector<rt::Handle>& texts) {
    double size = kFontSize;
    for (int attempt = 0; attempt < 10; ++attempt) {
        double scale = 1;
        for (const rt::Handle t : texts) {
            const auto extent = rt::get(Value(t), "Extent").real();  // data units
            const double chars = static_cast<double>(rt::get(Value(t), "String").numel());
            const double end = extent[0] < 6 ? 6 : 10;
            const double room = end - extent[0] - extent[2] / chars;
            scale = std::min({scale, room / extent[2], 1 / extent[3]});
        }
        if (scale >= 1) return;
        size = std::floor(size * scale * 10) / 10;
        for (const rt::Handle t : texts) rt::setProps(t, {{"FontSize", size}});
    }
}

void drawResults(const PortInput& in, const PortTimeArea& r, const std::string& printFile) {
    const PortOutline& o = r.outline;
    const double half = in.bore * kPi / 2;
    const rt::Handle fig = resultWindow();
    sig::clf();

    // Port map: the unrolled cylinder wall, the transfer height, the centre line, the port.
    rt::subplot({Value(211.0)});
    rt::hold("on");
    blackLine({-half, half, half, -half, -half}, {0, 0, in.stroke, in.stroke, 0});
    blackLine({half, -half}, {o.y2, o.y2});
    blackLine({0, 0}, {0, in.stroke});
    blackPatch(mirrored(r.xxx, r.Y));
    const rt::Handle map = rt::gca();
    rt::setProps(map, {{"Box", "on"},
                       {"XGrid", "on"},
                       {"YGrid", "on"},
                       {"Units", "normalized"},
                       {"FontSize", kFontSize},
                       {"XLim", {-half, half}},
                       {"YLim", {0, in.stroke}}});
    rt::axis({Value("equal")});
    label(o.y2, "Port-Map");
    rt::drawnow();
    const auto xlim = rt::get(map, "XLim").real();
    const auto ylim = rt::get(map, "YLim").real();
    const auto apos = rt::get(map, "Position").real();

    // Chord view with the corner arcs' construction lines.
    rt::subplot({Value(413.0)});
    rt::hold("on");
    blackLine({half, -half}, {o.y2, o.y2});
    blackLine({half, -half}, {0, 0});
    blackPatch(mirrored(r.X, r.Y));
    for (double side : {1.0, -1.0}) {
        blackLine({side * o.xr1, side * o.c1x, side * o.c1x}, {o.yr1, o.c1y, o.c1y + o.r1}, "w");
        blackLine({side * o.xr2, side * o.c2x, side * o.c2x}, {o.yr2, o.c2y, o.c2y - o.r2}, "w");
    }
    rt::setProps(rt::gca(), {{"Box", "on"},
                             {"XGrid", "on"},
                             {"YGrid", "on"},
                             {"FontSize", kFontSize},
                             {"XLim", {xlim[0], xlim[1]}}});
    label(o.y2, "Chord");
    rt::axis({Value("equal")});

    // The twelve result lines.
    rt::subplot({Value(414.0)});
    rt::hold("on");
    const double deg = 180 / kPi;
    const std::string lines[12] = {
        "Timing Exhaust    : " + f2(360 - r.st1 * deg * 2) + "\u00b0 /" + f2(in.stroke - o.y1) +
            "mm",
        "Timing Transfer   : " + f2(360 - r.st2 * deg * 2) + "\u00b0 /" + f2(in.stroke - o.y2) +
            "mm",
        "Total Area        : " + f2(r.AA.back()) + "mm\u00b2",
        "Mean Exhaust-TA   : " + f2(r.TAA) + " @ " + rt::num2str(in.rpm, "%15.0frpm"),
        "Mean Blowdown-TA  : " + f2(r.TAV) + " @ " + rt::num2str(in.rpm, "%15.0frpm"),
        "Maximal Width     : " + f2(2 * r.xm) + "mm / " + rt::num2str(2 * r.xm / in.bore * 100) +
            "%",
        "Closeing Exhaust  : " + f2(in.stroke - o.y3) + "mm",
        "Width at Top      : " + f2(2 * o.x1) + "mm",
        "Width at Transfer : " + f2(2 * o.x2) + "mm",
        "Upper Radius      : " + f2(o.r1) + "mm",
        "Lower Radius      : " + f2(o.r2) + "mm",
        "Rounding          : " + f2(o.r3) + "mm"};
    std::vector<rt::Handle> texts;
    for (int i = 0; i < 12; ++i)
        texts.push_back(rt::text({Value(i < 6 ? 1.0 : 6.0), Value(6.0 - i % 6), Value(lines[i]),
                                  Value("FontName"), Value("FixedWidth"), Value("FontSize"),
                                  Value(kFontSize)}));
    rt::setProps(rt::gca(), {{"XLim", {0, 10}},
                             {"YLim", {0, 7}},
                             {"XTick", Value()},
                             {"YTick", Value()},
                             {"Color", "none"},
                             {"Box", "on"}});

    // True scale: the port map's millimetres over its share of the window give the window's
    // centimetres, on screen and on paper.
    rt::setProps(fig, {{"Units", "centimeters"}, {"PaperType", "A4"}});
    rt::setProps(fig, {{"PaperUnits", "centimeters"}});
    const double width = (xlim[1] - xlim[0]) / apos[2] / 10;
    const double height = (ylim[1] - ylim[0]) / apos[3] / 10;
    rt::setProps(fig, {{"Position", {1, 1, width, height}}});
    rt::setProps(fig, {{"PaperPosition", {1, 1, width, height}}});
    fitResultLines(texts);
    rt::drawnow();

    if (!printFile.empty()) rt::print({Value("-depsc"), Value(printFile)});
}

// No sheet in common use is longer than A0's 1189 mm, and no screen comes near it: a port
// map whose true-scale window is larger could be neither shown nor printed.
constexpr double kLargestSheet = 1189;  // mm

// Refuses a bore or stroke whose true-scale window would exceed kLargestSheet. The window's
// size follows the port map's cell of the grid (its width from the bore, its height from
// the stroke), so the bound is known before anything is drawn.
void checkTrueScaleFits(const PortInput& in) {
    const auto d = rt::get(Value(0.0), "DefaultAxesPosition").real();
    const rt::Rect cell = rt::subplotPosition(2, 1, 1, {d[0], d[1], d[2], d[3]});
    auto check = [](const Field& f, double value, double largest) {
        largest = std::floor(largest * 10) / 10;
        if (value > largest)
            refuse(f, "must not be larger than " + rt::num2str(largest) +
                          " mm: its port map at true scale would fit no window or page.");
    };
    check(kBore, in.bore, kLargestSheet * cell[2] / kPi);
    check(kStroke, in.stroke, kLargestSheet * cell[3]);
}

}  // namespace

void check_port_input(const PortInput& in) {
    if (in.widthTop < in.widthTransfer) throw rt::Error("x1 has to be larger than x2");
    for (const auto& [f, v] : {std::pair{kBore, in.bore}, std::pair{kStroke, in.stroke},
                               std::pair{kRod, in.rod}, std::pair{kRpm, in.rpm}})
        if (!(v > 0)) refuse(f, "must be larger than 0.");
    if (!(in.rod > in.stroke / 2)) refuse(kRod, "must be longer than half the stroke.");
    for (const auto& [f, h] :
         {std::pair{kOpening, in.exhaustOpening}, std::pair{kTransfer, in.transferOpening},
          std::pair{kClosing, in.exhaustClosing}})
        if (h < 0 || h > in.stroke)
            refuse(f, "must lie between 0 and the stroke (" + rt::num2str(in.stroke) + " mm).");
    if (!(in.transferOpening > in.exhaustOpening))
        refuse(kTransfer, "must lie below Exhaust Opening.");
    if (!(in.exhaustClosing > in.exhaustOpening))
        refuse(kClosing, "must lie below Exhaust Opening.");
    for (const auto& [f, v] : {std::pair{kWidthTransfer, in.widthTransfer}, std::pair{kR1, in.r1},
                               std::pair{kR2, in.r2}, std::pair{kR3, in.r3}})
        if (v < 0) refuse(f, "must not be negative.");
    if (in.widthTop > in.bore) refuse(kTop, "must not be larger than the bore.");
    // Side walls that meet above the floor, or corners wider than the port, would give the
    // port a negative width there and so a negative area. Meeting walls come first: they
    // leave no width for any corner, so blaming a radius would send the user to the wrong
    // field.
    const PortOutline o = port_outline(in);
    if (o.x3 < 0) refuse(kWidthTransfer, "is too small: the side walls meet above the port floor.");
    if (o.c1x < 0) refuse(kR1, "is too large for the port's width.");
    if (o.c2x < 0) refuse(kR2, "is too large for the port's width.");
}

PortOutline port_outline(const PortInput& in) {
    PortOutline o;
    o.y1 = in.stroke - in.exhaustOpening;
    o.y2 = in.stroke - in.transferOpening;
    o.y3 = in.stroke - in.exhaustClosing;
    o.x1 = in.widthTop / 2;
    o.x2 = in.widthTransfer / 2;
    o.r1 = in.r1, o.r2 = in.r2, o.r3 = in.r3;
    o.a = std::atan((o.x1 - o.x2) / (o.y1 - o.y2));
    const double s = std::sin(o.a), t = std::tan(o.a), c = std::cos(o.a);
    o.yr1 = o.y1 - o.r1 * (1 + s);
    o.xr1 = o.x1 - (o.y1 - o.yr1) * t;
    o.x3 = o.x1 - (o.y1 - o.y3) * t;
    o.yr2 = o.y3 + o.r2 * (1 - s);
    o.xr2 = o.x3 + (o.yr2 - o.y3) * t;
    o.c1x = o.xr1 - o.r1 * c;
    o.c1y = o.y1 - o.r1;
    o.c2x = o.xr2 - o.r2 * c;
    o.c2y = o.y3 + o.r2;
    return o;
}

double port_half_width(const PortOutline& o, double y) {
    double x = kNaN;
    if (y <= o.y1 && y > o.yr1) x = o.c1x + std::sqrt(o.r1 * o.r1 - std::pow(y - o.c1y, 2));
    if (y <= o.yr1 && y > o.yr2) x = o.xr2 + (y - o.yr2) * std::tan(o.a);
    if (y <= o.yr2 && y >= o.y3) x = o.c2x + std::sqrt(o.r2 * o.r2 - std::pow(o.c2y - y, 2));
    if (o.r3 != 0 && y >= o.y1 - o.r3) x -= x * std::pow((o.y1 - y - o.r3) / o.r3, 10);
    return x;
}

double crank_angle(const PortInput& in, double height) {
    // Rounding may carry a height at a dead centre a hair past +-1, where acos gives NaN.
    return std::acos(std::clamp(crankArgument(in, height), -1.0, 1.0));
}

PortTimeArea port_time_area(const PortInput& in) {
    check_port_input(in);
    PortTimeArea r;
    const PortOutline& o = r.outline = port_outline(in);
    const double half = in.stroke / 2;
    r.ccm = (std::pow(in.bore / 10 / 2, 2) * in.stroke) / 10 * kPi;
    r.st1 = crank_angle(in, o.y1);
    r.st2 = crank_angle(in, o.y2);
    r.st3 = crank_angle(in, o.y3);

    const double step = (r.st3 - r.st1) / (kSamples - 1);
    r.Y.resize(kSamples);
    r.X.resize(kSamples);
    r.xxx.resize(kSamples);
    for (int i = 0; i < kSamples; ++i) {
        const double alp = i == kSamples - 1 ? r.st3 : r.st1 + i * step;
        const double bet = std::asin(half / in.rod * std::sin(alp));
        const double gam = kPi - alp - bet;
        const double y =
            std::sqrt(in.rod * in.rod + half * half - in.stroke * in.rod * std::cos(gam)) - in.rod +
            half;
        // The positions run from the roof to the floor; rounding must not put the first or
        // last one outside the port, where it would have no width.
        r.Y[i] = std::clamp(y, o.y3, o.y1);
        r.X[i] = port_half_width(o, r.Y[i]);
        const double radius = in.bore / 2;
        r.xxx[i] = radius * std::asin(std::clamp(r.X[i] / radius, -1.0, 1.0));
    }
    r.xm = -std::numeric_limits<double>::infinity();
    for (double x : r.X)
        if (!std::isnan(x)) r.xm = std::max(r.xm, x);

    // Uncovered area after each step, over the whole opening and over the blowdown.
    r.AA.reserve(kSamples - 1);
    double area = 0, sum = 0;
    for (int i = 1; i < kSamples; ++i) {
        area += ((o.y1 - r.Y[i]) - (o.y1 - r.Y[i - 1])) * r.X[i] * 2;
        r.AA.push_back(area);
        sum += area;
    }
    r.TA = (180 - r.st1 / kPi * 180) * 2 / in.rpm / 6;
    r.TAA = sum / r.AA.size() / r.ccm * r.TA * 1000;
    std::vector<int> index;
    for (int i = 0; i < kSamples; ++i)
        if (r.Y[i] >= o.y2) index.push_back(i);
    double blow = 0, blowSum = 0;
    for (std::size_t k = 1; k < index.size(); ++k) {
        blow += ((o.y1 - r.Y[index[k]]) - (o.y1 - r.Y[index[k - 1]])) * r.X[index[k]] * 2;
        blowSum += blow;
    }
    r.TV = (r.st2 - r.st1) / kPi * 180 / in.rpm / 6;
    r.TAV = index.size() > 1 ? blowSum / double(index.size() - 1) / r.ccm * r.TV * 10000 : kNaN;
    return r;
}

void calc_auslass() {
    PortInput in;
    in.stroke = number(kStroke);
    in.rod = number(kRod);
    in.rpm = number(kRpm);
    in.bore = number(kBore);
    in.exhaustOpening = number(kOpening);
    in.transferOpening = number(kTransfer);
    in.exhaustClosing = number(kClosing);
    in.widthTop = number(kTop);
    in.widthTransfer = number(kWidthTransfer);
    in.r1 = number(kR1);
    in.r2 = number(kR2);
    in.r3 = number(kR3);
    const PortTimeArea r = port_time_area(in);
    checkTrueScaleFits(in);
    drawResults(in, r, rt::utf8(shell::string_of("PrintFile")));
}

void register_calc_auslass(rt::FunctionTable& table) {
    table.add("calc_auslass", 0, 0, [](const rt::Values&, int) {
        calc_auslass();
        return rt::Values{};
    });
}

}  // namespace porttime
