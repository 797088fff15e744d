#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"

namespace rt {

namespace {

bool namesParent(const Values& pairs) {
    for (std::size_t i = 0; i < pairs.size(); i += 2)
        if (pairs[i].isChar() && lowerAscii(pairs[i].text()) == "parent") return true;
    return false;
}

}  // namespace

Handle uicontrol(const Values& args) {
    Graphics& g = graphics();
    return g.create(ObjectType::UIControl, namesParent(args) ? 0 : gcf(), args);
}

}  // namespace rt
