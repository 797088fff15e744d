#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/plot_support.h"

namespace rt {

namespace {

Value ramp(std::size_t n) {
    std::vector<double> v(n);
    for (std::size_t i = 0; i < n; ++i) v[i] = double(i + 1);
    return Value::row(v);
}

Value columnOf(const Value& m, std::size_t c) {
    const auto d = m.real();
    const std::size_t r = m.rows();
    return Value::row(std::vector<double>(d.begin() + std::ptrdiff_t(c * r),
                                          d.begin() + std::ptrdiff_t((c + 1) * r)));
}

}  // namespace

std::vector<Handle> plot(const Values& args) {
    Values data, pairs;
    splitDataAndPairs(args, data, pairs);
    LineSpec spec;
    if (pairs.size() % 2 == 1) {
        if (!parseLineSpec(pairs[0].text(), spec))
            throw Error("plot: invalid line style '" + pairs[0].text() + "'.");
        pairs.erase(pairs.begin());
    }
    if (data.empty() || data.size() > 2) throw Error("plot: give y, or x and y.");
    Value x, y = data.back();
    if (!y.isNumeric() && !y.isLogical()) throw Error("plot: data must be numeric.");
    std::vector<std::pair<Value, Value>> series;
    if (y.isVector() || y.isEmpty()) {
        x = data.size() == 2 ? data[0] : ramp(y.numel());
        if (x.numel() != y.numel()) throw Error("plot: vectors must be the same length.");
        series.emplace_back(x, y);
    } else {
        if (data.size() == 2 && data[0].numel() != y.rows())
            throw Error("plot: vectors must be the same length.");
        x = data.size() == 2 ? data[0] : ramp(y.rows());
        for (std::size_t c = 0; c < y.cols(); ++c) series.emplace_back(x, columnOf(y, c));
    }
    Graphics& g = graphics();
    const Handle ax = targetAxes(pairs);
    prepareForPlot(ax);
    const Value order = g.get(ax, "ColorOrder");
    std::vector<Handle> out;
    for (std::size_t i = 0; i < series.size(); ++i) {
        Values p = {Value("XData"), series[i].first, Value("YData"), series[i].second};
        if (!spec.color.empty()) {
            p.push_back(Value("Color"));
            p.push_back(Value(spec.color));
        } else if (order.rows() > 0) {
            const std::size_t r = i % order.rows(), n = order.rows();
            p.push_back(Value("Color"));
            p.push_back(Value::row({order.at(r), order.at(r + n), order.at(r + 2 * n)}));
        }
        const std::string style = !spec.lineStyle.empty() ? spec.lineStyle
                                  : !spec.marker.empty()  ? "none"
                                                          : "-";
        p.push_back(Value("LineStyle"));
        p.push_back(Value(style));
        if (!spec.marker.empty()) {
            p.push_back(Value("Marker"));
            p.push_back(Value(spec.marker));
        }
        p.insert(p.end(), pairs.begin(), pairs.end());
        out.push_back(g.create(ObjectType::Line, ax, p));
    }
    return out;
}

}  // namespace rt
