// How small a window may become before its controls' texts are cut, how far a text shrinks
// when its control is smaller than the text, and where a window may lie on the screen.
// Controls laid out in normalized units shrink with their window; each needs a certain room
// for its text, and the window stays large enough for the neediest one, within the screen.
#pragma once

#include <QFont>
#include <QMargins>
#include <QRect>
#include <QSize>
#include <QSizeF>
#include <map>

#include "runtime/graphics/graphics.h"

class QWidget;

namespace rt {

// The room in pixels that a control widget needs to show its text whole in `font`: labels
// and buttons their longest line, boxes the indicator too, popups their longest item beside
// the arrow, lists their longest row beside a scroll bar, fields a short number. An empty
// size for a control without text (frames).
QSize textRoom(const QWidget* control, const QFont& font);

// The smallest text size in pixels still read with ease at `pixelsPerInch` (7 pt).
int readablePixels(double pixelsPerInch);

// `font`, or where the control's text does not fit `box` in it, the largest smaller pixel
// size in which it does, but never below `floorPixels`.
QFont fittedFont(const QWidget* control, const QFont& font, QSize box, int floorPixels);

// Where top-level windows may lie: the screen less the desktop's panels, and the frame that
// the window manager puts around a window.
struct ScreenRoom {
    QRect area;
    QMargins frame;
    // The room for a window's own area, inside its frame.
    QRect inner() const { return area.marginsRemoved(frame); }
};

// The room for `window` with its own area at `where` (global coordinates): the screen under
// the centre of `where`, else the window's, else the primary one, less the desktop's panels;
// the primary screen is the model's, of `primary` pixels. The frame is the window's as the
// window manager reports it, else that of another shown window, else a common title bar and
// border.
ScreenRoom screenRoom(const QWidget* window, const QRect& where, QSize primary);

// `r` (a window's own area) moved so that it lies in the room together with its frame. A
// window larger than the room keeps its size (a true-scale drawing must) and, where its
// title bar is on the screen, its place.
QRect placedWithin(QRect r, const ScreenRoom& room);

// The controls of one window and the room each needs.
class TextFit {
public:
    // For a control that takes `share` of the window (normalized width and height): `room`
    // in pixels at its own font, and `floorRoom` at the smallest size it may shrink to (empty
    // where it must not hold the window larger). A control with no share (absolute units) or
    // no room is forgotten.
    void set(Handle control, QSize room, QSize floorRoom, QSizeF share);
    void remove(Handle control);
    // The smallest window that gives every control its room. Where the program asked for a
    // smaller window (`asked`, invalid when it asked for none), the texts shrink to fit that
    // size instead, as far as their floor allows. Never beyond `limit`.
    QSize minimum(QSize asked, QSize limit) const;

private:
    struct Need {
        QSizeF full;   // the window size the control asks for at its own font
        QSizeF floor;  // and at its floor
    };
    std::map<Handle, Need> needs_;
};

}  // namespace rt
