#include <algorithm>
#include <cmath>
#include <numeric>

#include "runtime/dispatch/error.h"
#include "runtime/value/array_ops.h"
#include "runtime/value/text_ops.h"

namespace rt {

std::pair<Value, std::vector<std::size_t>> sortrows(const Value& a) {
    if (a.isCell() || a.isStruct() || a.ndims() > 2)
        throw Error("sortrows needs a two-dimensional text or numeric array.");
    const std::size_t r = a.rows(), c = a.cols();
    const std::vector<double> d = a.real();
    std::vector<std::size_t> order(r);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t x, std::size_t y) {
        for (std::size_t j = 0; j < c; ++j) {
            const double u = d[j * r + x], v = d[j * r + y];
            // NaN sorts last, so the order stays strict.
            const bool nu = std::isnan(u), nv = std::isnan(v);
            if (nu || nv) {
                if (nu != nv) return nv;
                continue;
            }
            if (u != v) return u < v;
        }
        return false;
    });
    std::vector<double> pos(r);
    std::vector<std::size_t> perm(r);
    for (std::size_t i = 0; i < r; ++i) {
        perm[i] = order[i] + 1;
        pos[i] = static_cast<double>(perm[i]);
    }
    return {index(a, Value::column(pos), colon()), perm};
}

}  // namespace rt
