// What title, xlabel and ylabel share: the label object of the current axes, dressed in the
// axes' font and given the text, then the caller's pairs.
#pragma once

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"
#include "runtime/value/value.h"

namespace sig {

enum class LabelKind { Title, XLabel, YLabel };

// Sets the label of gca (creating figure and axes when there are none): FontAngle, FontName,
// FontSize and FontWeight copied from the axes, Rotation 0 for a title, String = text, then
// `pairs` (name, value, ...) in order, so they override the copied font. Returns the label's
// handle. Throws rt::Error "Incorrect number of input arguments" for an odd pair count, and
// the model's error for an invalid pair (pairs before it are already applied).
// An axes carrying the application data "BYPASS_<kind>" refuses the call with an rt::Error:
// nothing in this system hands label calls over to another handler.
rt::Handle setLabel(LabelKind kind, const rt::Value& text, const rt::Values& pairs);
// The same on the axes `axes` instead of gca (rt::Error when it is no axes).
rt::Handle setLabel(LabelKind kind, rt::Handle axes, const rt::Value& text,
                    const rt::Values& pairs);

// The shared by-name adapter: text first, pairs after; one output (the handle) only when
// asked for. No input: "Not enough input arguments.".
void registerLabel(rt::FunctionTable& t, LabelKind kind);

}  // namespace sig
