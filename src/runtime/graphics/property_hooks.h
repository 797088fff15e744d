// The rules of single properties, attached to their entries in the property tables: what is
// computed on reading, checked, carried along or recomputed on writing. Internal to the model.
#pragma once

#include "runtime/graphics/model.h"

namespace rt::hooks {

// --- reading: the value is computed, not the stored one ---
Value type(const GraphicsModel& m, const Object& o);
Value children(const GraphicsModel& m, const Object& o);  // visible ones, newest first
Value parent(const GraphicsModel& m, const Object& o);
Value currentFigure(const GraphicsModel& m, const Object& o);
Value screenPixelsPerInch(const GraphicsModel& m, const Object& o);
Value screenSize(const GraphicsModel& m, const Object& o);  // in the root's Units
Value title(const GraphicsModel& m, const Object& o);
Value xLabel(const GraphicsModel& m, const Object& o);
Value yLabel(const GraphicsModel& m, const Object& o);
Value xTick(const GraphicsModel& m, const Object& o);  // nice steps while XTickMode is auto
Value yTick(const GraphicsModel& m, const Object& o);
// Automatic limits an axes out of sight owes are worked out on reading.
Value xLim(const GraphicsModel& m, const Object& o);
Value yLim(const GraphicsModel& m, const Object& o);
Value cLim(const GraphicsModel& m, const Object& o);
Value extent(const GraphicsModel& m, const Object& o);
Value textPosition(const GraphicsModel& m, const Object& o);  // labels placed by the axes
Value paperSize(const GraphicsModel& m, const Object& o);

// --- checking a normalised value against the tree ---
void currentAxes(GraphicsModel& m, const Object& o, Value& v);  // an axes of this figure
void colormap(GraphicsModel& m, const Object& o, Value& v);     // [] is the default map

// --- storing a value with what it carries along (and notifying) ---
void reparent(GraphicsModel& m, Object& o, int index, const Value& v);
void tag(GraphicsModel& m, Object& o, int index, const Value& v);  // keeps the Tag index
void makeCurrent(GraphicsModel& m, Object& o, int index, const Value& v);
void placeText(GraphicsModel& m, Object& o, int index, const Value& v);  // no longer automatic
// A new Units keeps the object where it is: the position is converted.
void units(GraphicsModel& m, Object& o, int index, const Value& v);
void textUnits(GraphicsModel& m, Object& o, int index, const Value& v);
void fontUnits(GraphicsModel& m, Object& o, int index, const Value& v);
void paperUnits(GraphicsModel& m, Object& o, int index, const Value& v);

// --- recomputing once the value is stored (`changed`: it differs from the old one) ---
void limitMode(GraphicsModel& m, Object& o, const Value& v, bool changed);  // auto recomputes
void axesSize(GraphicsModel& m, Object& o, const Value& v, bool changed);   // ticks, aspect
void figureSize(GraphicsModel& m, Object& o, const Value& v, bool changed);
void childData(GraphicsModel& m, Object& o, const Value& v, bool changed);  // parent's limits

}  // namespace rt::hooks
