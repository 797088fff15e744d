#include "runtime/graphics/subplot.h"

#include <cmath>
#include <limits>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"

namespace rt {

namespace {

// The cell's rectangle in the figure, normalized, whatever the axes' Units.
Rect normalizedRect(const Graphics& g, Handle ax, Handle fig) {
    const Rect a = g.pixelPosition(ax);
    const Rect f = g.pixelPosition(fig);
    if (!(f[2] > 0) || !(f[3] > 0)) return {0, 0, 0, 0};
    return {a[0] / f[2], a[1] / f[3], a[2] / f[2], a[3] / f[3]};
}

bool overlaps(const Rect& a, const Rect& b) {
    return a[0] < b[0] + b[2] && b[0] < a[0] + a[2] && a[1] < b[1] + b[3] && b[1] < a[1] + a[3];
}

bool samePlace(const Rect& a, const Rect& b) {
    static const double tol = std::sqrt(std::numeric_limits<double>::epsilon());
    for (std::size_t i = 0; i < 4; ++i)
        if (std::fabs(a[i] - b[i]) > tol) return false;
    return true;
}

// The figure's default axes position in normalized units; a temporary axes answers when the
// default units are others.
Rect defaultAxesPosition(Graphics& g, Handle fig) {
    if (lowerAscii(g.get(fig, "DefaultAxesUnits").text()) == "normalized") {
        const auto p = g.get(fig, "DefaultAxesPosition").real();
        return {p[0], p[1], p[2], p[3]};
    }
    warning("DefaultAxesUnits not normalized.");
    const Handle current = g.currentAxes(fig);
    const Handle tmp = g.create(ObjectType::Axes, fig, {});
    g.set(tmp, "Units", Value("normalized"));
    const auto p = g.get(tmp, "Position").real();
    g.remove(tmp);
    if (current != 0 && g.isValid(current)) g.set(fig, "CurrentAxes", Value(current));
    return {p[0], p[1], p[2], p[3]};
}

}  // namespace

Rect subplotPosition(int nrows, int ncols, int cell, const Rect& def) {
    double left = 0.18, right = 0.09, bottom = 0.18, top = 0.09;
    if (nrows > 2) {
        bottom *= 0.9;
        top *= 0.9;
    }
    if (ncols > 2) {
        left *= 0.9;
        right *= 0.9;
    }
    const double m = nrows, n = ncols;
    const int row = (nrows - 1) - (cell - 1) / ncols;  // from the bottom
    const int col = (cell - 1) % ncols;
    const double colOffset = def[2] * (left + right) / (n - left - right);
    const double rowOffset = def[3] * (bottom + top) / (m - bottom - top);
    const double totalWidth = def[2] + colOffset;
    const double totalHeight = def[3] + rowOffset;
    Rect pos{def[0] + col * totalWidth / n, def[1] + row * totalHeight / m,
             totalWidth / n - colOffset, totalHeight / m - rowOffset};
    if (pos[2] <= 0.5 * totalWidth / n) {
        pos[0] = def[0] + col * def[2] / n;
        pos[2] = 0.7 * def[2] / n;
    }
    if (pos[3] <= 0.5 * totalHeight / m) {
        pos[1] = def[1] + row * def[3] / m;
        pos[3] = 0.7 * def[3] / m;
    }
    return pos;
}

Handle subplot(const Values& args) {
    double nrows = 0, ncols = 0, cell = 0;
    if (args.size() == 1) {
        const double code = args[0].scalar();
        cell = std::fmod(code, 10);
        ncols = std::fmod(std::trunc((code - cell) / 10), 10);
        nrows = std::trunc(code / 100);
    } else if (args.size() == 3) {
        nrows = args[0].scalar();
        ncols = args[1].scalar();
        cell = args[2].scalar();
    } else {
        throw Error("subplot: give subplot(mnp) or subplot(m, n, p).");
    }
    if (nrows * ncols < cell) throw Error("Index exceeds number of subplots.");
    if (cell < 1) throw Error("Illegal plot number.");
    if (nrows != std::trunc(nrows) || ncols != std::trunc(ncols) || cell != std::trunc(cell))
        throw Error("subplot: the grid and the cell are whole numbers.");

    Graphics& g = graphics();
    const Handle fig = gcf();
    const Rect pos = subplotPosition(static_cast<int>(nrows), static_cast<int>(ncols),
                                     static_cast<int>(cell), defaultAxesPosition(g, fig));

    const Value nextPlot = g.get(fig, "NextPlot");
    if (nextPlot.text() == "replace") g.set(fig, "NextPlot", Value("add"));
    Handle found = 0;
    for (Handle k : g.children(fig)) {
        if (!g.isValid(k) || g.type(k) != ObjectType::Axes) continue;
        const Rect r = normalizedRect(g, k, fig);
        if (found == 0 && samePlace(r, pos)) {
            found = k;
        } else if (overlaps(r, pos)) {
            g.remove(k);
        }
    }
    g.set(fig, "NextPlot", nextPlot);
    if (found != 0) return axes({Value(found)});
    const Handle ax = axes({Value("Parent"), Value(fig), Value("Units"), Value("normal"),
                            Value("Position"), Value::row({pos[0], pos[1], pos[2], pos[3]})});
    g.set(ax, "Units", g.get(fig, "DefaultAxesUnits"));
    return ax;
}

void register_subplot(FunctionTable& table) {
    table.add("subplot", 4, 1, [](const Values& in, int) { return Values{Value(subplot(in))}; });
}

}  // namespace rt
