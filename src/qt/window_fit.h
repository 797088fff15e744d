// How small a window may become before its controls' texts are cut. Controls laid out in
// normalized units shrink with their window; each needs a certain room for its text, and the
// window must stay large enough for the neediest one.
#pragma once

#include <QSize>
#include <QSizeF>
#include <map>

#include "runtime/graphics/graphics.h"

class QWidget;

namespace rt {

// The room in pixels that a control widget needs to show its text whole: labels and buttons
// their longest line, boxes the indicator too, popups their longest item beside the arrow,
// lists their longest row beside a scroll bar, fields a short number. An empty size for a
// control without text (frames).
QSize textRoom(const QWidget* control);

// The controls of one window and the room each needs.
class TextFit {
public:
    // `room` in pixels for a control that takes `share` of the window (normalized width and
    // height). A control with no share (absolute units) or no room is forgotten.
    void set(Handle control, QSize room, QSizeF share);
    void remove(Handle control);
    // The smallest window that gives every control its room, never beyond `limit`.
    QSize minimum(QSize limit) const;

private:
    std::map<Handle, QSizeF> needs_;  // the window size each control asks for
};

}  // namespace rt
