#include "porttime/calc_auslass.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <numbers>

#include "runtime/dispatch/error.h"
#include "runtime/event_loop.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/ps_font_metrics.h"
#include "runtime/graphics/subplot.h"
#include "runtime/graphics/text_layout.h"
#include "runtime/graphics/units.h"
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

// The result lines are read down to this size; the window grows rather than go below it.
constexpr double kSmallestFont = 7;
constexpr double kPointsPerCm = 72 / 2.54;

// Where the twelve lines stand in the block: side by side as the two columns at x = 1 and
// x = 6 with rows 6 down to 1 (YLim [0 7]), or stacked at x = 1, the right column's lines in
// rows 6 ... 1 below the left one's in rows 12 ... 7 (YLim [0 13]).
void placeLines(const std::vector<rt::Handle>& texts, rt::Handle block, bool stacked) {
    for (int i = 0; i < 12; ++i) {
        const double x = stacked || i < 6 ? 1 : 6, y = (stacked && i < 6 ? 12 : 6) - i % 6;
        rt::setProps(texts[i], {{"Position", {x, y, 0}}});
    }
    rt::setProps(block, {{"YLim", {0, stacked ? 13.0 : 7.0}}});
}

// The room in points that the lines need at `font`, on screen or on paper, whichever is
// larger: a line ends a character before the next column or the frame, and each line keeps
// to its row.
struct Room {
    double width, height;
};
Room roomAt(const std::vector<rt::Handle>& texts, rt::Handle fig, rt::Handle block, bool stacked,
            double font) {
    for (const rt::Handle t : texts) rt::setProps(t, {{"FontSize", font}});
    const auto figure = rt::get(Value(fig), "Position").real();  // centimetres
    const auto box = rt::get(Value(block), "Position").real();   // normalized
    const auto ylim = rt::get(Value(block), "YLim").real();
    const double across = box[2] * figure[2] * kPointsPerCm / 10;
    const double up = box[3] * figure[3] * kPointsPerCm / (ylim[1] - ylim[0]);
    const rt::PsFontMetrics print = rt::psFontMetrics(rt::PsFamily::Courier);
    double unit = 0, row = (print.capHeight + print.descent) * font;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const auto extent = rt::get(Value(texts[i]), "Extent").real();  // data units
        const std::u16string line = rt::get(Value(texts[i]), "String").text16();
        const double width = std::max(extent[2] * across,
                                      rt::psTextWidth(line, rt::PsFamily::Courier, false) * font);
        const double character = width / static_cast<double>(std::max<std::size_t>(line.size(), 1));
        // Data units from the line's start to the next column or the frame.
        const double span = stacked ? 9 : i < 6 ? 5 : 4;
        unit = std::max(unit, (width + character) / span);
        row = std::max(row, extent[3] * up);
    }
    return {10 * unit, (stacked ? 13 : 7) * row};
}

// The largest font of at most 10 pt with which the lines fit a block of `width` x `height`
// points; below kSmallestFont when even that does not fit.
double fittingFont(const std::vector<rt::Handle>& texts, rt::Handle fig, rt::Handle block,
                   bool stacked, double width, double height) {
    double font = kFontSize;
    while (font >= kSmallestFont) {
        const Room need = roomAt(texts, fig, block, stacked, font);
        const double scale = std::min(width / need.width, height / need.height);
        if (scale >= 1) return font;
        // Text widths are not quite proportional to the size (hinting): measure again.
        font = std::min(font - 0.1, std::floor(font * scale * 10) / 10);
    }
    return font;
}

// Keeps an axes where it is in centimetres while the window goes from `from` to `to` (cm),
// moved by `shift` and enlarged by `extra` (cm).
void moveAxes(rt::Handle ax, std::array<double, 2> from, std::array<double, 2> to,
              std::array<double, 2> shift, std::array<double, 2> extra) {
    const auto p = rt::get(Value(ax), "Position").real();
    rt::setProps(ax,
                 {{"Position",
                   {(p[0] * from[0] + shift[0]) / to[0], (p[1] * from[1] + shift[1]) / to[1],
                    (p[2] * from[0] + extra[0]) / to[0], (p[3] * from[1] + extra[1]) / to[1]}}});
}

// The window's size follows the port map, and for small engines the block beneath it is too
// small for the result lines. They keep their two columns when those fit at a readable
// size, else stand in one column; when neither fits at kSmallestFont the window grows by what
// the layout that grows it least needs: the block takes the extra room, and the port map and
// chord keep their size in centimetres, and so their true scale, centred above it. `size` is
// the true-scale window's (cm, as set); returns the window's size.
std::array<double, 2> fitResultLines(const std::vector<rt::Handle>& texts, rt::Handle fig,
                                     rt::Handle map, rt::Handle chord, rt::Handle block,
                                     std::array<double, 2> size) {
    const auto box = rt::get(Value(block), "Position").real();
    const double width = box[2] * size[0] * kPointsPerCm, height = box[3] * size[1] * kPointsPerCm;
    for (const bool stacked : {false, true}) {
        placeLines(texts, block, stacked);
        if (fittingFont(texts, fig, block, stacked, width, height) >= kSmallestFont) return size;
    }
    // The extra centimetres each layout needs at kSmallestFont, and the one growing least.
    std::array<double, 2> grow[2];
    for (const bool stacked : {false, true}) {
        placeLines(texts, block, stacked);
        const Room need = roomAt(texts, fig, block, stacked, kSmallestFont);
        // A point to spare, so that rounding cannot put a line on the frame.
        grow[stacked] = {std::max(0.0, need.width + 1 - width) / kPointsPerCm,
                         std::max(0.0, need.height + 1 - height) / kPointsPerCm};
    }
    auto area = [&](const std::array<double, 2>& g) { return (size[0] + g[0]) * (size[1] + g[1]); };
    const bool stacked = area(grow[1]) < area(grow[0]);
    placeLines(texts, block, stacked);
    const auto [dx, dy] = grow[stacked];
    const std::array<double, 2> grown = {size[0] + dx, size[1] + dy};
    moveAxes(block, size, grown, {0, 0}, {dx, dy});
    moveAxes(chord, size, grown, {dx / 2, dy}, {0, 0});
    moveAxes(map, size, grown, {dx / 2, dy}, {0, 0});
    return grown;
}

// The height in points of a line of tick numbers, on screen or on paper, whichever is taller.
double tickNumberHeight(rt::Handle ax) {
    const std::string font = rt::get(Value(ax), "FontName").text();
    const rt::TextSize screen = rt::hostLineMeasure({font, kFontSize}, 72)(u"-0123456789");
    const rt::PsFontMetrics paper = rt::psFontMetrics(rt::psFamily(font));
    return std::max(screen.ascent + screen.descent, (paper.capHeight + paper.descent) * kFontSize);
}

// The gaps between the block, the chord and the port map are shares of the true-scale window,
// too small for the tick numbers when the port is flat or small. Each gap that is smaller
// than the numbers below it (set 0.4 em off the box), plus, under the map, the half line by
// which the chord's top number stands above its box, grows the window by the difference; the
// three keep their size in centimetres, so the map keeps its true scale. `size` is the
// window's (cm, as set); returns the window's size.
std::array<double, 2> makeRoomForTickNumbers(rt::Handle map, rt::Handle chord, rt::Handle block,
                                             std::array<double, 2> size) {
    const double line = tickNumberHeight(chord);
    // A point to spare, so that rounding cannot put a number on a frame.
    const double below = (0.4 * kFontSize + line + 1) / kPointsPerCm;
    auto bottom = [&](rt::Handle ax) { return rt::get(Value(ax), "Position").at(1) * size[1]; };
    auto top = [&](rt::Handle ax) {
        const auto p = rt::get(Value(ax), "Position").real();
        return (p[1] + p[3]) * size[1];
    };
    const double underChord = std::max(0.0, below - (bottom(chord) - top(block)));
    const double underMap =
        std::max(0.0, below + line / 2 / kPointsPerCm - (bottom(map) - top(chord)));
    if (underChord == 0 && underMap == 0) return size;
    const std::array<double, 2> grown = {size[0], size[1] + underChord + underMap};
    moveAxes(block, size, grown, {0, 0}, {0, 0});
    moveAxes(chord, size, grown, {0, underChord}, {0, 0});
    moveAxes(map, size, grown, {0, underChord + underMap}, {0, 0});
    return grown;
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
    const rt::Handle chord = rt::gca();
    for (double side : {1.0, -1.0}) {
        blackLine({side * o.xr1, side * o.c1x, side * o.c1x}, {o.yr1, o.c1y, o.c1y + o.r1}, "w");
        blackLine({side * o.xr2, side * o.c2x, side * o.c2x}, {o.yr2, o.c2y, o.c2y - o.r2}, "w");
    }
    rt::setProps(chord, {{"Box", "on"},
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
    const rt::Handle block = rt::gca();
    rt::setProps(chord, {{"Units", "normalized"}});
    rt::setProps(block, {{"Units", "normalized"},
                         {"XLim", {0, 10}},
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
    const auto fitted = fitResultLines(texts, fig, map, chord, block, {width, height});
    const auto [w, h] = makeRoomForTickNumbers(map, chord, block, fitted);
    if (w != width || h != height) {
        rt::setProps(fig, {{"Position", {1, 1, w, h}}});
        rt::setProps(fig, {{"PaperPosition", {1, 1, w, h}}});
    }
    rt::drawnow();

    if (!printFile.empty()) rt::print({Value("-depsc"), Value(printFile)});
}

// No sheet in common use is longer than A0, and no screen comes near it: a port map whose
// true-scale window is larger could be neither shown nor printed.
const double kLargestSheet = rt::paperSizeInches("a0", "portrait")[1] * 25.4;  // mm

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
