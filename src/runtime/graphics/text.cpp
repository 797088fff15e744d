#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/plot_support.h"

namespace rt {

Handle text(const Values& args) {
    Values data, pairs;
    splitDataAndPairs(args, data, pairs);
    Values p;
    if (!data.empty()) {
        if (data.size() != 2 && data.size() != 3) throw Error("text: give x, y and a text.");
        std::vector<double> pos;
        for (const auto& d : data) {
            if (d.numel() != 1) throw Error("text: x and y must be single numbers.");
            pos.push_back(d.scalar());
        }
        if (pairs.size() % 2 == 0) throw Error("text: the text is missing.");
        p = {Value("Position"), Value::row(pos), Value("String"), pairs[0]};
        pairs.erase(pairs.begin());
    }
    p.insert(p.end(), pairs.begin(), pairs.end());
    return graphics().create(ObjectType::Text, targetAxes(pairs), p);
}

}  // namespace rt
