// The window of one figure. It mirrors the model's figure (title, position, colour,
// visibility, pointer) and holds the figure's controls; a resize or move by the user is written
// back to the model's Position, and a window-manager close deletes the figure or runs its
// CloseRequestFcn.
#pragma once

#include <QWidget>
#include <map>
#include <memory>

#include "qt/window_fit.h"
#include "runtime/graphics/graphics.h"

class QRubberBand;

namespace rt {

class ControlView;
class QtHost;

class FigureWindow : public QWidget {
    Q_OBJECT
public:
    FigureWindow(QtHost& host, Graphics& g, Handle figure);
    ~FigureWindow() override;

    Handle handle() const { return h_; }
    // Whether the window has painted itself yet (a first paint is never held back).
    bool painted() const { return painted_; }

    void apply(const std::string& property);
    void addControl(Handle control);
    ControlView* control(Handle control) const;
    void removeControl(Handle control);
    // Places every control from the model (after the figure's size changed).
    void layoutControls();
    // The room a control's text needs changed (its text, font, style or place did): its text
    // is fitted to it at once, the window's least size once the whole change is made.
    void fitControl(Handle control);
    // Closes the window without asking the model (the figure is being deleted).
    void dispose();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void applyGeometry();
    void applyTitle();
    void applyPointer();
    void applyColour();
    void userMovedOrResized();
    // The model learns where the window lies (the user or the run-time moved or resized it).
    void storeGeometry(const QRect& r);
    QSize screenSize() const;  // the model's screen
    QSize leastSize() const;   // what the controls' texts need, within the screen
    void applyMinimum();
    // A change moves many controls at once (a new run shrinks every comment block): the
    // window's least size follows once they all are in place, before the window paints, so
    // that no half-made state (a block in its new place with its old font) enlarges it.
    void scheduleMinimum();
    // Where Qt kept the window larger than the model asked, the model learns the real size.
    void followQtSize();
    // A mouse event on the figure: the pointer position goes to the model (figure and axes
    // CurrentPoint), then the figure's callback `property` runs.
    void mouseCallback(QMouseEvent* event, const char* property);
    // While zoom is on the mouse zooms the axes under it instead of running callbacks.
    bool zoomPress(QMouseEvent* event);
    bool zoomMove(QMouseEvent* event);
    bool zoomRelease(QMouseEvent* event);
    Handle axesAt(const QPoint& at) const;  // 0 when no visible axes is there

    QtHost& host_;
    Graphics& g_;
    Handle h_;
    std::map<Handle, ControlView*> controls_;
    TextFit fit_;
    QRect applied_;          // the geometry last taken from the model
    QSize asked_;            // the size the program gave; invalid where it gave none
    bool applying_ = false;  // geometry changes now come from the model, not the user
    bool disposing_ = false;
    bool minimumDue_ = false;
    bool painted_ = false;
    QRubberBand* band_ = nullptr;  // the zoom rectangle while dragging
    QPoint zoomStart_;
    Handle zoomAxes_ = 0;
};

}  // namespace rt
