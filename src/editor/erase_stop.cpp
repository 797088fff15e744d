#include "editor/erase_stop.h"

#include <limits>

#include "editor/editor_window.h"
#include "editor/erase.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/value/eigen.h"
#include "shell/strings.h"

namespace editor {

namespace {

// Indices of v strictly between lo and hi, in order.
std::vector<Eigen::Index> strictly_between(const Eigen::VectorXd& v, double lo, double hi) {
    std::vector<Eigen::Index> out;
    for (Eigen::Index i = 0; i < v.size(); ++i)
        if (lo < v(i) && v(i) < hi) out.push_back(i);
    return out;
}

rt::Handle tagged(const char16_t* tag) {
    const auto h = rt::graphics().withTag(tag);
    return h.empty() ? 0 : h.front();
}

}  // namespace

void clear_cells(Eigen::MatrixXd& cd, const Eigen::VectorXd& xd, const Eigen::VectorXd& yd,
                 const Eigen::VectorXd& xe, const Eigen::VectorXd& ye, double dx, double dy) {
    for (Eigen::Index i = 1; i < xe.size() && i < ye.size(); ++i) {
        const auto cols = strictly_between(xd, xe(i) - 6 * dx, xe(i) + 6 * dx);
        const auto rows = strictly_between(yd, ye(i) - 6 * dy, ye(i) + 5 * dy);
        for (Eigen::Index c : cols)
            for (Eigen::Index r : rows) cd(r, c) = 0;
    }
}

Eigen::VectorXi peak_rows(const Eigen::MatrixXd& cd) {
    Eigen::VectorXi index = Eigen::VectorXi::Zero(cd.cols());
    for (Eigen::Index c = 0; c < cd.cols(); ++c) {
        double best = -1;
        for (Eigen::Index r = 0; r < cd.rows(); ++r) {
            const double m = std::abs(cd(r, c));
            if (m > best) {
                best = m;
                index(c) = static_cast<int>(r);
            }
        }
    }
    return index;
}

void erase_stop() {
    erase();
    const shell::Strings& st = shell::text_table();
    const rt::Handle fig = editor_window(st.cut_File);
    const rt::Handle ax = editor_axes(st.cut_File);
    const rt::Handle trail = tagged(u"TempPlot");
    const rt::Handle image = tagged(u"SpectrumI");
    const rt::Handle trace = tagged(u"SpectrumP");
    if (fig == 0 || ax == 0 || trail == 0) return;
    const rt::Value window(fig);
    rt::setProps(window, {{"Pointer", "watch"},
                          {"PointerShapeHotSpot", {1, 1}},
                          {"WindowButtonMotionFcn", ""},
                          {"WindowButtonUpFcn", ""}});

    const Eigen::VectorXd xe = rt::toMatrix(rt::get(rt::Value(trail), "XData")).reshaped();
    const Eigen::VectorXd ye = rt::toMatrix(rt::get(rt::Value(trail), "YData")).reshaped();
    rt::setProps(rt::Value(ax), {{"Units", "pixels"}});
    const auto pos = rt::get(rt::Value(ax), "Position").real();
    const auto xlim = rt::get(rt::Value(ax), "XLim").real();
    const auto ylim = rt::get(rt::Value(ax), "YLim").real();
    // The axes' own extent in pixels: a difference of position values can be zero or
    // negative in a small window, which would turn the block inside out.
    const double dx = (xlim[1] - xlim[0]) / pos[2];
    const double dy = (ylim[1] - ylim[0]) / pos[3];

    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (image != 0) {
        const rt::Value img(image);
        const Eigen::VectorXd xd = rt::toMatrix(rt::get(img, "XData")).reshaped();
        const Eigen::VectorXd yd = rt::toMatrix(rt::get(img, "YData")).reshaped();
        Eigen::MatrixXd cd = rt::toMatrix(rt::get(img, "CData"));
        clear_cells(cd, xd, yd, xe, ye, dx, dy);
        const Eigen::VectorXi index = peak_rows(cd);
        rt::setProps(img, {{"CData", rt::fromMatrix(cd)}});
        rt::setProps(rt::Value(trail), {{"XData", nan}, {"YData", nan}, {"EraseMode", "normal"}});
        if (trace != 0 && yd.size() > 0) {
            Eigen::RowVectorXd peaks(index.size());
            for (Eigen::Index c = 0; c < index.size(); ++c) peaks(c) = yd(index(c));
            rt::setProps(rt::Value(trace),
                         {{"YData", rt::fromMatrix(peaks)}, {"EraseMode", "normal"}});
        }
    } else {
        rt::setProps(rt::Value(trail), {{"XData", nan}, {"YData", nan}, {"EraseMode", "normal"}});
    }
    rt::setProps(rt::Value(trail), {{"EraseMode", "none"}});
    if (trace != 0) rt::setProps(rt::Value(trace), {{"EraseMode", "none"}});
    rt::setProps(window, {{"Pointer", "custom"}, {"PointerShapeHotSpot", {8, 8}}});
}

void register_erase_stop(rt::FunctionTable& table) {
    table.add("erase_stop", 0, 0, [](const rt::Values&, int) {
        erase_stop();
        return rt::Values{};
    });
}

}  // namespace editor
