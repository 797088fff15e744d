#include "diagram/meanvis.h"

#include <Eigen/Dense>
#include <algorithm>
#include <cmath>

#include "diagram/plot_diag.h"
#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/host.h"
#include "runtime/numeric/array_ops.h"
#include "runtime/value/eigen.h"
#include "runtime/value/num2str.h"
#include "shell/strings.h"

namespace diagram {

namespace {

using rt::Value;

struct Curve {
    Eigen::VectorXd x, y;
    std::u16string tag;
    Eigen::RowVector3d colour;
};

Curve read_curve(rt::Handle h) {
    Curve c;
    c.x = rt::toMatrix(rt::get(h, "XData")).reshaped();
    c.y = rt::toMatrix(rt::get(h, "YData")).reshaped();
    const Value tag = rt::get(h, "Tag");
    c.tag = tag.isChar() ? tag.text16() : u"";
    const std::vector<double> rgb = rt::toVector(rt::get(h, "Color"));
    c.colour = Eigen::RowVector3d(rgb.at(0), rgb.at(1), rgb.at(2));
    return c;
}

double mean_step(const Eigen::VectorXd& x) {
    return x.size() < 2 ? std::nan("") : rt::mean(Eigen::VectorXd(rt::diff(x)));
}

// Character codes averaged position by position over the runs, rounded back to text.
std::u16string mean_text(const std::vector<std::u16string>& rows, std::size_t length) {
    std::u16string out;
    for (std::size_t i = 0; i < length; ++i) {
        double sum = 0;
        for (const auto& r : rows) sum += r[i];
        out += static_cast<char16_t>(std::lround(sum / static_cast<double>(rows.size())));
    }
    return out;
}

}  // namespace

void meanvis(rt::Handle fig, int vx, int vy, double k) {
    const shell::Strings& st = shell::text_table();
    const std::u16string figname = rt::get(fig, "Name").text16();
    const Value axes = rt::findobj({Value("Tag"), Value(u"DiagAxes" + figname)});
    if (axes.isEmpty()) rt::error("meanvis: the diagram window has no axes.");
    const std::vector<double> lines =
        rt::findobj({axes, Value("Type"), Value("line"), Value("Visible"), Value("on")}).real();
    const std::size_t ticked =
        rt::findobj({Value(fig), Value("Style"), Value("checkbox"), Value("Value"), Value(1.0)})
            .numel();
    const bool two = lines.size() == 3 * ticked;
    if (ticked < 2) return;
    if (lines.size() < ticked) rt::error("meanvis: a ticked run shows no curve.");

    std::vector<Curve> curves;
    for (double h : lines) curves.push_back(read_curve(h));
    double xi1 = curves[0].x.size() ? curves[0].x(0) : std::nan("");
    double xi2 = curves[0].x.size() ? curves[0].x(curves[0].x.size() - 1) : std::nan("");
    double xid = mean_step(curves[0].x);
    std::size_t lt = curves[0].tag.size();
    for (const Curve& c : curves) {
        if (c.x.size() == 0) continue;
        xi1 = std::max(xi1, c.x(0));
        xi2 = std::min(xi2, c.x(c.x.size() - 1));
        xid = std::min(xid, mean_step(c.x));
        lt = std::min(lt, c.tag.size());
    }
    const Eigen::VectorXd xi = rt::colon(xi1, xid, xi2).transpose();
    if (xi.size() == 0) {
        rt::errordlg(rt::utf8(st.mean_no_common), rt::utf8(st.meanvis));
        return;
    }

    const auto runs = static_cast<Eigen::Index>(ticked);
    Eigen::MatrixXd my = Eigen::MatrixXd::Zero(xi.size(), two ? 2 : 1);
    Eigen::RowVector3d mc = Eigen::RowVector3d::Zero();
    std::vector<std::u16string> tags;
    for (std::size_t i = 0; i < ticked; ++i) {
        const Curve& main = curves[two ? 3 * i + 2 : i];
        my.col(0) += rt::interp1(main.x, main.y, xi);
        if (two) my.col(1) += 2 * rt::interp1(main.x, curves[3 * i + 1].y, xi);
        tags.push_back(main.tag);
        mc += main.colour;
    }
    my /= static_cast<double>(runs);
    mc /= static_cast<double>(runs);

    std::u16string mt =
        mean_text(tags, lt) +
        rt::num2str(rt::fromMatrix(Eigen::RowVectorXd(my.colwise().maxCoeff()))).text16() +
        st.meanvis;
    std::erase(mt, u'\'');
    plot_diag(std::vector<double>(xi.data(), xi.data() + xi.size()), my, {mc(0), mc(1), mc(2)},
              st.meanvis, vx, vy, k, mt);
}

void register_meanvis(rt::FunctionTable& table) {
    table.add("meanvis", 1, 0, [](const rt::Values& in, int) {
        if (in.empty()) rt::error("Not enough input arguments.");
        const std::vector<double> v = rt::toVector(in[0]);
        if (v.size() < 4) rt::error("meanvis: give [figure vx vy k].");
        meanvis(v[0], static_cast<int>(std::lround(v[1])), static_cast<int>(std::lround(v[2])),
                v[3]);
        return rt::Values{};
    });
}

}  // namespace diagram
