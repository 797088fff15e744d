// "Nice" axis ticks: steps of 1, 2 or 5 times a power of ten.
#pragma once

#include <vector>

namespace rt {

struct TickSet {
    double step = 0;            // 0 when the range is not finite
    double lo = 0, hi = 0;      // the range widened outward to whole steps
    std::vector<double> ticks;  // the multiples of step within the range asked for, ascending
};

// Ticks for the range [lo, hi] (either order). The step is the smallest nice step for which
// the widened range holds at most maxCount ticks (maxCount below 2 counts as 2), made finer
// again when fewer than two ticks would fall inside the range. lo == hi is taken as
// [lo - 1, hi + 1]. Ticks are exact decimal multiples (0.3, not 0.30000000000000004).
TickSet niceTicks(double lo, double hi, int maxCount);

// How many ticks suit an axis `pixels` long: about one per 50 pixels, 2 to 11.
int tickCountFor(double pixels);

}  // namespace rt
