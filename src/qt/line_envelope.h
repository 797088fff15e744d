// A line as the painter strokes it: its finite points mapped onto the canvas, cut at NaN, and
// thinned to a min/max envelope per pixel column, so that a curve of a million points costs a
// few thousand canvas points and looks the same.
#pragma once

#include <cstddef>
#include <vector>

#include "qt/canvas.h"

namespace rt {

struct AxisMap;

// Where the least and greatest y lie in each block of kBlock consecutive points of a line,
// made once per change of its data: drawing a dense line then visits blocks, not points.
struct LineSummary {
    static constexpr std::size_t kBlock = 64;
    struct Block {
        bool plain = false;  // all finite, x ascending or descending
        std::size_t lo = 0, hi = 0;
    };
    std::vector<Block> blocks;
};
LineSummary summarize(const double* x, const double* y, std::size_t n);

// The pieces of the line through (x[i], y[i]), i < n, on `map`: a non-finite x or y ends a
// piece. Up to four consecutive points that fall into one pixel column are kept as they
// are; of more only the first, the lowest, the highest and the last are kept, in their order,
// the two extremes moved to the column's middle. Points beyond the box's left or right edge are
// taken as one column each side (they are clipped away, only their links into the box show). Pieces
// of one point are kept. `summary` (of these x and y, or null) lets whole blocks of one column pass
// at once.
std::vector<std::vector<PointF>> lineRuns(const AxisMap& map, const double* x, const double* y,
                                          std::size_t n, const LineSummary* summary = nullptr);

}  // namespace rt
