// Small conversions from the object model's values to Qt's, shared by the views.
#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <QStringList>

#include "runtime/graphics/graphics.h"

namespace rt {

// An RGB row in [0,1] as a colour; anything else gives `fallback`.
QColor toQColor(const Value& rgb, QColor fallback = Qt::black);
// A text property as display rows: the rows of a char matrix with their padding trimmed, the
// texts of a cell, or none for [] (and for an empty text of more rows than can be listed).
QStringList displayRows(const Value& text);
// A callback property's command text (UTF-8); "" for [].
std::string commandText(const Value& command);
// The lower-case word of an enumerated property.
std::string enumWord(Graphics& g, Handle h, const char* property);
// The object's font (FontName, FontSize in FontUnits, FontWeight, FontAngle); `heightPx` is
// the object's height for normalized font units.
QFont fontOf(Graphics& g, Handle h, double heightPx);
// A model rectangle (0-based pixels, origin bottom-left of a parent `parentHeight` high) as a
// Qt rectangle (origin top-left).
QRect toQtRect(const Rect& px, double parentHeight);

}  // namespace rt
