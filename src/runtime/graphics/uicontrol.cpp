#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"

namespace rt {

Handle uicontrol(const Values& args) {
    Graphics& g = graphics();
    return g.create(ObjectType::UIControl, namesParent(args) ? 0 : gcf(), args);
}

}  // namespace rt
