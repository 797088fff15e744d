// The jet colour map: blue through cyan, yellow and red.
#pragma once

#include "runtime/value/value.h"

namespace rt {

// m x 3 colours in [0, 1] (m = 64 by default); m <= 0 gives an empty 0 x 3 map.
Value jet(int m = 64);

}  // namespace rt
