#include "diagram/plot_diag.h"

#include <algorithm>
#include <cmath>

#include "diagram/ax_lims.h"
#include "runtime/dispatch/callback.h"
#include "runtime/dispatch/error.h"
#include "runtime/fileio/folders.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/graphics/zoom.h"
#include "runtime/value/eigen.h"
#include "runtime/value/num2str.h"
#include "shell/axis_choices.h"
#include "shell/get_par.h"
#include "shell/panel.h"
#include "shell/strings.h"
#include "signal/title.h"
#include "signal/xlabel.h"

namespace diagram {

namespace {

using rt::Value;

constexpr double kTopLine = 0.87;
constexpr double kButtonsLeft = 0.35;  // comment blocks lie left of this, the buttons not

std::u16string num(double v) { return rt::utf16(rt::num2str(v)); }
std::u16string num(const Value& v) { return rt::num2str(v).text16(); }
std::u16string two_decimals(double v) { return num(std::round(v * 100) / 100); }

// Row `row` (1-based) of a popup's list, padding kept.
std::u16string popup_row(const char* tag, int row) {
    const Value list = shell::get_tagged(tag, "String");
    if (!list.isChar() || row < 1 || static_cast<std::size_t>(row) > list.rows())
        rt::error(std::string("plot_diag: the list ") + tag + " has no row " + std::to_string(row) +
                  ".");
    return list.rowText(static_cast<std::size_t>(row) - 1);
}

// The values of the parameter record up to the title. Only their fields are read: the
// evaluation has read the record just before, and a field it could do without is not reported
// twice.
std::vector<Value> parameters() {
    shell::ParSlots slots = shell::read_par(shell::par::tit + 1);
    std::vector<Value> out;
    for (std::size_t i = 0; i <= shell::par::tit; ++i) out.push_back(*slots[i]);
    return out;
}

// "<max> <unit> / <x at max> <x unit>", both rounded to two decimals.
std::u16string maxima_text(const std::vector<double>& x, const Eigen::VectorXd& y,
                           const std::u16string& unit, const std::u16string& x_unit) {
    Eigen::Index at = 0;
    double best = std::nan("");
    for (Eigen::Index i = 0; i < y.size(); ++i)
        if (!std::isnan(y(i)) && (std::isnan(best) || y(i) > best)) best = y(i), at = i;
    const double xa = x.empty() ? std::nan("") : x[static_cast<std::size_t>(at)];
    return two_decimals(best) + u" " + unit + u" / " + two_decimals(xa) + u" " + x_unit;
}

double largest(const std::vector<double>& v) {
    double best = std::nan("");
    for (double d : v)
        if (!std::isnan(d) && (std::isnan(best) || d > best)) best = d;
    return best;
}

struct Window {
    rt::Handle fig = 0;
    rt::Handle ad = 0;
};

Window open_window(const std::u16string& figname, int vx, int vy, double k,
                   const shell::Strings& st) {
    rt::Graphics& g = rt::graphics();
    const Value found =
        rt::findobj({Value("Type"), Value("figure"), Value("Name"), Value(figname)});
    if (!found.isEmpty()) {
        Window w{found.at(0), 0};
        g.setCurrentFigure(w.fig);
        const Value axes = rt::findobj({Value("Tag"), Value(u"DiagAxes" + figname)});
        if (axes.isEmpty()) rt::error("plot_diag: the diagram window has lost its axes.");
        w.ad = axes.at(0);
        return w;
    }
    const auto ss = rt::get(0.0, "ScreenSize").real();
    const double wd = ss[2] - ss[0], ht = ss[3] - ss[1];
    Window w;
    w.fig = rt::makeFigure({{"NumberTitle", "off"},
                            {"Name", figname},
                            {"Units", "pixels"},
                            {"Position", {0.05 * wd, 0.05 * ht, 0.9 * wd, 0.9 * ht}}});
    w.ad = rt::makeAxes(w.fig,
                        {{"Tag", u"DiagAxes" + figname}, {"Position", {0.35, 0.12, 0.58, 0.78}}});
    rt::hold("on");
    const std::u16string f = num(w.fig);
    const struct {
        double left;
        const std::u16string& label;
        std::u16string callback;
    } buttons[] = {{0.35, st.meanvis,
                    u"meanvis([" + num(Value::row({w.fig, double(vx), double(vy), k})) + u"])"},
                   {0.65, st.exportascii, u"export_ascii(" + f + u")"},
                   {0.8, st.printfig, u"print_fig(" + f + u")"}};
    for (const auto& b : buttons)
        rt::makeControl(w.fig, "Push", {b.left, 0.025, 0.13, 0.03},
                        {{"Units", "normalized"}, {"String", b.label}, {"Callback", b.callback}});
    return w;
}

struct Block {
    rt::Handle fig;
    std::u16string figname, data_tag, var_y, comment;
    rt::Rgb colour;
    int ly;
    double k, font;
    std::vector<std::u16string> maxima;  // one per y column
    std::u16string x_max;
};

void add_comment_block(const Block& b) {
    rt::Graphics& g = rt::graphics();
    const std::u16string frame_tag = b.figname + u"CommentFrame";
    const Value frames = rt::findobj({Value(b.fig), Value("Tag"), Value(frame_tag)});
    const std::size_t n = frames.numel();
    const double d = n == 0 ? 1 : rt::get(frames.at(0), "Position").at(3) / 0.09;
    const double h = kTopLine - 0.1 * static_cast<double>(std::min<std::size_t>(n, 9));

    const rt::Prop normalized{"Units", "normalized"};
    const rt::Prop pixels{"FontUnits", "pixels"};
    const rt::Prop font{"FontSize", b.font};
    auto text = [&](const rt::Rect& pos, const std::u16string& s) {
        rt::makeControl(b.fig, "text", pos, {normalized, {"String", s}, pixels, font});
    };
    const std::u16string run = b.figname + b.data_tag;
    const std::u16string checkbox_cb =
        u"toggle_vis(" + rt::quotedArgument(u"Diag" + run) + u");" + u"ax_lims(findobj('Tag'," +
        rt::quotedArgument(u"DiagAxes" + b.figname) + u")," + num(double(b.ly)) + u"," +
        rt::quotedArgument(b.figname) + u"," + rt::quotedArgument(b.var_y) + u");";

    rt::makeControl(b.fig, "frame", {0.001, h, 0.31, 0.09 * d},
                    {normalized, {"Tag", frame_tag}, pixels, font});
    rt::makeControl(
        b.fig, "checkbox", {0.004, h + 0.05 * d, 0.03, 0.03 * d},
        {normalized, {"Value", 1}, {"Callback", checkbox_cb}, {"Tag", u"Checkbox" + run}});
    rt::makeControl(b.fig, "edit", {0.04, h + 0.055 * d, 0.26, 0.03 * d},
                    {normalized,
                     {"String", b.comment},
                     {"BackgroundColor", "w"},
                     {"ForegroundColor", "k"},
                     pixels,
                     font});
    rt::makeControl(b.fig, "pushbutton", {0.004, h + 0.01 * d, 0.03, 0.03 * d},
                    {normalized,
                     {"BackgroundColor", {b.colour[0], b.colour[1], b.colour[2]}},
                     {"Callback", u"ch_color(" + rt::quotedArgument(run) + u");"},
                     {"Tag", u"PushColor" + run}});
    text({0.035, h + 0.03 * d, 0.155, 0.02 * d}, b.maxima[0]);
    if (b.maxima.size() > 1) text({0.035, h + 0.005 * d, 0.155, 0.02 * d}, b.maxima[1]);
    text({0.19, h + 0.03 * d, 0.118, 0.02 * d}, u"k: " + num(b.k));
    text({0.19, h + 0.005 * d, 0.118, 0.02 * d}, b.x_max);

    const std::size_t runs = n + 1;
    if (runs <= 9) return;
    std::vector<rt::Handle> blocks;
    for (rt::Handle c : g.children(b.fig))
        if (g.type(c) == rt::ObjectType::UIControl && rt::get(c, "Position").at(0) < kButtonsLeft)
            blocks.push_back(c);
    const double fac = shrink_factor(runs);
    const double size = rt::get(blocks.back(), "FontSize").scalar() * fac;
    for (rt::Handle c : blocks) {
        const auto p = rt::get(c, "Position").real();
        rt::setProps(c, {{"FontSize", size}, {"Position", shrunk({p[0], p[1], p[2], p[3]}, fac)}});
    }
}

// The second quantity at half scale, with a dot on every round(p/36)-th point.
void add_half_scale(rt::Handle ad, const std::vector<double>& x, const Eigen::MatrixXd& y,
                    const rt::Rgb& ccc, const std::u16string& run) {
    const rt::Prop colour{"Color", {ccc[0], ccc[1], ccc[2]}};
    const rt::Prop tag{"Tag", u"2Diag" + run};
    std::vector<double> half(static_cast<std::size_t>(y.rows()));
    for (std::size_t i = 0; i < half.size(); ++i) half[i] = y(static_cast<Eigen::Index>(i), 1) / 2;
    rt::makeLine(ad, {{"XData", rt::rowVector(x)},
                      {"YData", rt::rowVector(half)},
                      {"LineStyle", "-"},
                      {"LineWidth", 1},
                      colour,
                      tag});
    const auto dy = static_cast<std::size_t>(std::round(static_cast<double>(half.size()) / 36));
    if (dy == 0) return;
    std::vector<double> mx, my;
    for (std::size_t i = 0; i < half.size(); i += dy) {
        mx.push_back(x[i]);
        my.push_back(half[i]);
    }
    rt::makeLine(ad, {{"XData", rt::rowVector(mx)},
                      {"YData", rt::rowVector(my)},
                      {"LineStyle", "none"},
                      {"Marker", "."},
                      {"MarkerSize", 12},
                      colour,
                      tag});
}

}  // namespace

std::u16string diagram_name(const std::u16string& fig_diag, const std::u16string& var_x,
                            const std::u16string& var_y) {
    const std::u16string whole = fig_diag + u": " + var_x + u" - " + var_y;
    std::u16string out;
    for (std::size_t i = 0; i < whole.size(); ++i)
        if (!(whole[i] == u' ' && i + 1 < whole.size() && whole[i + 1] == u' ')) out += whole[i];
    return out;
}

std::u16string parameter_comment(const std::u16string& komment, const RunParameters& p, double k) {
    return komment + u" [ M: " + num(p.m) + u"kg " + u" FA: " + num(p.A) + u"m² " + u" Cw: " +
           num(p.cw) + u"  R: " + num(p.r) + u"  U: " + num(p.u) + u"m " + u" L#: " + num(p.l) +
           u" FL: " + num(p.fl) + u"s " + u" S#: " + num(p.W) + u"  k: " + num(k) + u" ]";
}

double shrink_factor(std::size_t runs) {
    return runs > 9 ? static_cast<double>(runs - 1) / static_cast<double>(runs) : 1.0;
}

rt::Rect shrunk(const rt::Rect& p, double fac) {
    return {p[0], kTopLine - (kTopLine - p[1]) * fac, p[2], p[3] * fac};
}

void plot_diag(const std::vector<double>& x, const Eigen::MatrixXd& y, const rt::Rgb& ccc,
               const std::u16string& komment, int vx, int vy, double k,
               const std::optional<std::u16string>& data_tag,
               const std::optional<std::string>& wav_state) {
    const shell::Strings& st = shell::text_table();
    if (static_cast<std::size_t>(y.rows()) != x.size() || y.cols() < 1 || y.cols() > 2)
        rt::error("plot_diag: y must hold one or two columns with one row per x value.");
    const auto ss = rt::get(0.0, "ScreenSize").real();
    const double font = 0.014 * (ss[3] - ss[1]);

    const std::u16string var_x = popup_row("popup_xaxis", vx);
    const std::u16string var_y = popup_row("popup_yaxis", vy);
    const std::u16string figname = diagram_name(st.fig_diag, var_x, var_y);
    const Window w = open_window(figname, vx, vy, k, st);

    namespace par = shell::par;
    const std::vector<Value> p = parameters();
    std::u16string comment = komment == st.comment ? u"" : komment;
    const std::u16string kkk = parameter_comment(
        comment,
        {p[par::m], p[par::A], p[par::cw], p[par::r], p[par::u], p[par::l], p[par::fl], p[par::W]},
        k);
    const std::u16string wav_path = shell::string_of("wav_file");
    if (!data_tag) {
        if (p[par::komment].isTrue()) comment = kkk;
        if (shell::value_of("add_wav_to_comment") != 0) {
            const std::size_t sep = wav_path.rfind(u'/');
            comment += u" " + (sep == std::u16string::npos ? wav_path : wav_path.substr(sep + 1));
        }
    }
    // The recording's state too: another recording copied under its name is another run.
    const std::u16string tag =
        data_tag ? *data_tag
                 : wav_path + kkk + num(shell::get_tagged("Main Figure", "UserData")) +
                       rt::utf16(wav_state ? *wav_state : rt::fileStateKey(rt::utf8(wav_path)));
    const std::u16string run = figname + tag;
    const int ly = static_cast<int>(y.cols());

    const Value existing =
        rt::findobj({Value("Type"), Value("line"), Value("Tag"), Value(u"Diag" + run)});
    if (existing.isEmpty()) {
        rt::setProps(w.fig, {{"CurrentAxes", w.ad}});
        rt::makeLine(w.ad, {{"XData", rt::rowVector(x)},
                            {"YData", rt::fromMatrix(Eigen::RowVectorXd(y.col(0).transpose()))},
                            {"LineWidth", 1},
                            {"Color", {ccc[0], ccc[1], ccc[2]}},
                            {"Tag", u"Diag" + run}});
        Block b{w.fig, figname, tag, var_y, comment, ccc, ly, k, font, {}, {}};
        const std::u16string x_unit = shell::row_unit(var_x, 1);
        for (int c = 0; c < ly; ++c)
            b.maxima.push_back(maxima_text(x, y.col(c), shell::row_unit(var_y, c + 1), x_unit));
        b.x_max = u"Max: " + two_decimals(largest(x)) + u" " + x_unit;
        add_comment_block(b);
        if (ly == 2) add_half_scale(w.ad, x, y, ccc, run);
    } else {
        rt::setProps(existing, {{"Visible", "on"}});
        rt::setProps(rt::findobj({Value("Tag"), Value(u"Checkbox" + run)}), {{"Value", 1}});
        rt::setProps(rt::findobj({Value("Tag"), Value(u"2Diag" + run)}), {{"Visible", "on"}});
    }

    ax_lims(w.ad, ly, figname, var_y);
    sig::xlabel(Value(var_x));
    sig::title(p[par::tit], {Value("FontSize"), Value(12.0), Value("FontWeight"), Value("bold")});
    rt::zoom({Value("on")});
}

void register_plot_diag(rt::FunctionTable& table) {
    table.add("plot_diag", 8, 0, [](const rt::Values& in, int) {
        if (in.size() < 7) rt::error("Not enough input arguments.");
        const Eigen::MatrixXd xm = rt::toMatrix(in[0]);
        const std::vector<double> x(xm.data(), xm.data() + xm.size());
        const Eigen::MatrixXd y = rt::toMatrix(in[1]);
        const std::vector<double> c = rt::toVector(in[2]);
        if (c.size() != 3) rt::error("plot_diag: the colour must be an RGB triple.");
        auto text = [](const Value& v) { return v.isChar() ? v.text16() : std::u16string(); };
        const auto code = [](const Value& v) { return static_cast<int>(std::lround(v.scalar())); };
        std::optional<std::u16string> tag;
        if (in.size() > 7) tag = text(in[7]);
        plot_diag(x, y, {c[0], c[1], c[2]}, text(in[3]), code(in[4]), code(in[5]), in[6].scalar(),
                  tag);
        return rt::Values{};
    });
}

}  // namespace diagram
