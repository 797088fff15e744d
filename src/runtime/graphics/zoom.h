// Interactive zoom, per figure: the state and the limit changes. The toolkit's window turns
// mouse drags into these calls while zoom is on; only the axes' limits change.
#pragma once

#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace rt {

// zoom('on'), zoom('off'), zoom() toggling, on the current figure; zoom(fig, 'on'|'off').
void zoom(const Values& args = {});
bool zoomIsOn(Handle figure);

// A drag from (x1, y1) to (x2, y2), in the axes' data coordinates, zooms to that rectangle;
// a drag too small to mean a rectangle (under `minPixels` on either side, measured by the
// caller) is a click, which zooms in by 2 about the point. The limits shown before the first
// zoom are remembered for zoomReset.
void zoomToRect(Handle axes, double x1, double y1, double x2, double y2);
void zoomIn(Handle axes, double x, double y, double factor = 2);
// Back to the limits shown before the first zoom (nothing when the axes was never zoomed).
void zoomReset(Handle axes);

}  // namespace rt
