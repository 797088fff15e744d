// The run-time's display and wait operations over the installed host.
#pragma once

#include <string>

#include "runtime/graphics/graphics.h"
#include "runtime/host.h"

namespace rt {

// drawnow: draws what is pending; takes no user input, so no callback can start.
void drawnow();

// waitfor(h, name, value): serves callbacks until h's property equals `value` (texts compared
// without regard to case, as enumerations are) or h is deleted. Returns at once when h is
// already gone or already has the value. An error inside a served callback ends that
// callback only. waitfor(h): until h is deleted.
void waitfor(Handle h, const std::string& name, const Value& value);
void waitfor(Handle h);

}  // namespace rt
