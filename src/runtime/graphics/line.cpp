#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/plot_support.h"

namespace rt {

Handle line(const Values& args) {
    Values data, pairs;
    splitDataAndPairs(args, data, pairs);
    if (!data.empty() && data.size() != 2 && data.size() != 3)
        throw Error("line: give x and y (and z), or property pairs.");
    Values p;
    if (!data.empty()) {
        p = {Value("XData"), data[0], Value("YData"), data[1]};
        if (data.size() == 3) {
            p.push_back(Value("ZData"));
            p.push_back(data[2]);
        }
    }
    p.insert(p.end(), pairs.begin(), pairs.end());
    return graphics().create(ObjectType::Line, targetAxes(pairs), p);
}

}  // namespace rt
