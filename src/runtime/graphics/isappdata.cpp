#include "runtime/graphics/operations.h"

namespace rt {

bool isappdata(Handle h, const std::string& name) { return graphics().isAppData(h, name); }

}  // namespace rt
