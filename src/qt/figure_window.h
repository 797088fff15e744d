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

    void apply(const std::string& property);
    void addControl(Handle control);
    ControlView* control(Handle control) const;
    void removeControl(Handle control);
    // Places every control from the model (after the figure's size changed).
    void layoutControls();
    // The room a control's text needs changed (its text, font, style or place did): the window
    // never gets smaller than its controls' texts need.
    void fitControl(Handle control);
    // Closes the window without asking the model (the figure is being deleted).
    void dispose();

protected:
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
    QSize leastSize() const;  // what the controls' texts need, within the screen
    void applyMinimum();
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
    bool applying_ = false;  // geometry changes now come from the model, not the user
    bool disposing_ = false;
    QRubberBand* band_ = nullptr;  // the zoom rectangle while dragging
    QPoint zoomStart_;
    Handle zoomAxes_ = 0;
};

}  // namespace rt
