#include "runtime/graphics/jet.h"

#include <cmath>

namespace rt {

Value jet(int m) {
    if (m <= 0) return Value::empty(0, 3);
    const auto rows = static_cast<std::size_t>(m);
    std::vector<double> c(rows * 3, 0.0);
    // Each channel is a trapezoid of ramp, plateau and ramp, shifted by a quarter of the map.
    const int n = static_cast<int>(std::ceil(m / 4.0));
    std::vector<double> u;
    for (int i = 1; i <= n; ++i) u.push_back(static_cast<double>(i) / n);
    for (int i = 1; i < n; ++i) u.push_back(1.0);
    for (int i = n; i >= 1; --i) u.push_back(static_cast<double>(i) / n);
    const int g0 = static_cast<int>(std::ceil(n / 2.0)) - (m % 4 == 1 ? 1 : 0);
    const int shift[3] = {n, 0, -n};  // red, green, blue
    for (int ch = 0; ch < 3; ++ch) {
        for (std::size_t k = 0; k < u.size(); ++k) {
            const int row = g0 + static_cast<int>(k) + 1 + shift[ch];  // 1-based
            if (row >= 1 && row <= m) c[static_cast<std::size_t>(ch) * rows + row - 1] = u[k];
        }
    }
    return Value::matrix(rows, 3, std::move(c));
}

}  // namespace rt
