#include <algorithm>
#include <cmath>

#include "runtime/graphics/operations.h"

namespace rt {

Value defaultColormap() {
    // 64 entries from dark blue through cyan, yellow to dark red.
    const std::size_t n = 64;
    std::vector<double> d(n * 3);
    for (std::size_t i = 0; i < n; ++i) {
        const double x = (double(i) + 0.5) / double(n) * 4.0;  // 0 .. 4
        auto ch = [&](double centre) { return std::clamp(1.5 - std::fabs(x - centre), 0.0, 1.0); };
        d[i] = ch(3.0);          // red
        d[i + n] = ch(2.0);      // green
        d[i + 2 * n] = ch(1.0);  // blue
    }
    return Value::matrix(n, 3, d);
}

void colormap(const Value& map) { graphics().set(gcf(), "Colormap", map); }

Value colormap() { return graphics().get(gcf(), "Colormap"); }

}  // namespace rt
