#include "diagram/ax_lims.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "runtime/dispatch/error.h"
#include "runtime/event_loop.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/value/num2str.h"
#include "shell/axis_choices.h"
#include "signal/label_family.h"

namespace diagram {

namespace {

using rt::Value;

struct Span {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    bool empty() const { return lo > hi; }
};

// NaN points are gaps in a line, not values. Infinite ones are not drawn either: a run with
// one (a pressure of 0 typed) would otherwise leave its window without usable limits, and
// every later run of that window would fail on them.
Span span_of(const std::vector<double>& v) {
    Span s;
    for (double d : v)
        if (std::isfinite(d)) {
            s.lo = std::min(s.lo, d);
            s.hi = std::max(s.hi, d);
        }
    return s;
}

std::vector<double> visible_lines(rt::Handle ad) {
    return rt::findobj({Value(ad), Value("Type"), Value("line"), Value("Visible"), Value("on")})
        .real();
}

void set_limits(rt::Handle ad, const std::vector<double>& lines) {
    double mx = 1000000, my = 1000000, Mx = 0, My = 0;
    const double factor = lines.size() >= 2 ? 1.05 : 1.0;
    for (double h : lines) {
        const Span x = span_of(rt::get(h, "XData").real());
        const Span y = span_of(rt::get(h, "YData").real());
        if (!x.empty()) {
            Mx = std::max(Mx, x.hi);
            mx = std::min(mx, x.lo);
        }
        if (!y.empty()) {
            My = std::max(My, factor * y.hi);
            my = std::min({my, y.lo, 0.0});
        }
    }
    rt::setProps(ad, {{"XLim", {std::floor(mx), std::ceil(Mx)}},
                      {"YLim", {std::floor(my), std::ceil(My)}},
                      {"XMinorTick", "off"},
                      {"YMinorTick", "on"},
                      {"YMinorGrid", "off"},
                      {"YGrid", "on"},
                      {"XGrid", "on"},
                      {"Box", "on"}});
}

// The half-scale curves read at their real values beside the right-hand edge.
void second_scale(rt::Handle ad, const std::vector<double>& lines, const std::u16string& figname,
                  const std::u16string& var_y) {
    rt::drawnow();
    const std::vector<double> ticks = rt::get(ad, "YTick").real();
    const std::vector<double> xlim = rt::get(ad, "XLim").real();
    const Value font = rt::get(ad, "FontSize");

    double My2 = 0;
    for (double h : lines) {
        const Value tag = rt::get(h, "Tag");
        if (!tag.isChar() || tag.isEmpty() || tag.charData()[0] != u'2') continue;
        const Span y = span_of(rt::get(h, "YData").real());
        if (!y.empty()) My2 = std::max(My2, y.hi);
    }
    const auto below = static_cast<std::size_t>(
        std::count_if(ticks.begin(), ticks.end(), [&](double t) { return t < My2; }));

    const std::u16string tag = u"YTicks2" + figname;
    rt::deleteObjects(rt::findobj({Value("Tag"), Value(tag)}));
    for (std::size_t i = 0; i < std::min(below + 1, ticks.size()); ++i)
        rt::makeText(ad, {{"Position", {xlim[1], ticks[i]}},
                          {"String", "-" + rt::num2str(2 * ticks[i])},
                          {"FontSize", font},
                          {"HorizontalAlignment", "left"},
                          {"FontWeight", "bold"},
                          {"Tag", tag}});

    const auto [left, right] = shell::split_row(var_y);
    sig::setLabel(sig::LabelKind::YLabel, ad, Value(left), {});
    if (!right) return;
    rt::makeText(ad, {{"Position", {1.025 * xlim[1], My2 / 2}},
                      {"String", *right},
                      {"Rotation", 270},
                      {"FontSize", font},
                      {"HorizontalAlignment", "center"},
                      {"VerticalAlignment", "middle"},
                      {"FontWeight", "bold"},
                      {"Tag", tag}});
}

// Only the window updated last carries the text.
void watermark() {
    rt::deleteObjects(rt::findobj({Value("Tag"), Value("NotForSale")}));
    const rt::Handle ax = rt::gca();
    const std::vector<double> xt = rt::get(ax, "XTick").real();
    const std::vector<double> yt = rt::get(ax, "YTick").real();
    if (xt.size() < 2 || yt.size() < 2)
        rt::error(
            "ax_lims: the axes shows fewer than two ticks, so \"NOT FOR SALE\" has no place.");
    rt::makeText(ax, {{"Position", {xt[0] + 0.05 * (xt[1] - xt[0]), yt[0] + 0.5 * (yt[1] - yt[0])}},
                      {"String", "NOT FOR SALE"},
                      {"Tag", "NotForSale"},
                      {"FontSize", 6}});
}

}  // namespace

AxLims ax_lims(rt::Handle ad, int ly, const std::u16string& figname, const std::u16string& var_y) {
    rt::Graphics& g = rt::graphics();
    if (!g.isValid(ad) || g.type(ad) != rt::ObjectType::Axes)
        rt::error("ax_lims: the first argument must be the diagram's axes.");
    const std::vector<double> lines = visible_lines(ad);
    if (!lines.empty()) {
        set_limits(ad, lines);
        if (ly == 2)
            second_scale(ad, lines, figname, var_y);
        else
            sig::setLabel(sig::LabelKind::YLabel, ad, Value(var_y), {});
    }

    AxLims out;
    out.diags = rt::findobj({Value(ad), Value("Type"), Value("line"), Value("Visible"), Value("on"),
                             Value("Marker"), Value("none")});
    out.xx = rt::get(out.diags, "XData");
    out.yy = rt::get(out.diags, "YData");
    watermark();
    return out;
}

void register_ax_lims(rt::FunctionTable& table) {
    table.add("ax_lims", 4, 3, [](const rt::Values& in, int nargout) {
        if (in.size() < 4) rt::error("Not enough input arguments.");
        if (in[0].isEmpty()) rt::error("ax_lims: there is no diagram axes.");
        if (!in[2].isChar() || !in[3].isChar())
            rt::error("ax_lims: the window name and the y quantity must be texts.");
        AxLims r =
            ax_lims(in[0].scalar(), in[1].scalar() == 2 ? 2 : 1, in[2].text16(), in[3].text16());
        rt::Values out{std::move(r.xx), std::move(r.yy), std::move(r.diags)};
        out.resize(static_cast<std::size_t>(std::max(nargout, 1)));
        return out;
    });
}

}  // namespace diagram
