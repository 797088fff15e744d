// The progress window: a small centred window with a message over a red bar that fills from
// left to right. Found again by its Tag "WaitbarWindow"; the figure handle is its identity.
#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace sig {

// Creates a progress window: 360 x 75 pixels (taller or wider when the message needs it,
// never wider than the screen), centred on the screen, the bar at x (a fraction; clamped to
// 0 ... 1, NaN fills it). `pairs` (name, value, ...) are set on the figure in order; the
// first ("createcancelbtn", command) pair (any case) adds a Cancel button whose Callback,
// ButtonDownFcn and the figure's CloseRequestFcn are the command. A pair that cannot be set
// prints "Warning: could not set property '<name>' with value '<value>'" on standard output
// and creation goes on. Throws rt::Error "Optional initialization arguments must be passed
// in pairs" for an odd pair count. The root's Units are restored on every way out.
rt::Handle waitbar(double x, const rt::Value& message, const rt::Values& pairs = {});

// Moves the bar of the progress window `fig`; with a message, the message too.
// Throws rt::Error "Couldn't find waitbar handles." when fig is gone or lacks bar or frame.
void waitbar(double x, rt::Handle fig);
void waitbar(double x, rt::Handle fig, const rt::Value& message);

// Moves the bar of the first window Tagged "WaitbarWindow" (hidden handles included), or
// creates one with the message "Waitbar" when there is none. Returns that window.
rt::Handle waitbar(double x);

// "waitbar": (x), (x, message, pairs...), (x, fig), (x, fig, message). No input: "Input
// arguments not valid."; a second input neither text nor numeric: "Input arguments of type
// <class> not valid.". The figure out only when asked for.
void register_waitbar(rt::FunctionTable& t);

}  // namespace sig
