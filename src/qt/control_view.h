// One uicontrol drawn as a Qt widget. The widget mirrors the model; the user's input is
// written back to the model (edit text to String, selection to Value) before the control's
// Callback runs, and a programmatic set never runs it.
#pragma once

#include <QFont>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include "runtime/graphics/graphics.h"

namespace rt {

class QtHost;

class ControlView : public QObject {
    Q_OBJECT
public:
    // Builds the widget for h's Style inside `figureWidget`, stacked above earlier controls.
    ControlView(QtHost& host, Graphics& g, Handle h, Handle figure, QWidget* figureWidget);
    ~ControlView() override;

    Handle handle() const { return h_; }
    QWidget* widget() const { return widget_; }

    // A property changed in the model. Its text is not fitted here: a change of its text,
    // font or place is followed by FigureWindow::fitControl.
    void apply(const std::string& property);
    // Places the widget from the model's pixel position (the figure is `figureHeight` high);
    // whether its size changed, so that its text needs fitting anew.
    bool place(double figureHeight);
    // The control's own font, as the model gives it.
    QFont font() const;
    // The smallest pixel size its text may shrink to where the control is too small for it.
    int floorPixels(const QFont& font) const;
    // Shows the text in its own font, or where that does not fit the control, in the largest
    // smaller size that does, down to a readable floor.
    void fitFont();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void build();
    void applyAll();
    void applyText();
    void applyValue();
    void applyColours();
    void applyEnable();
    // A user action on the control: refused while another callback runs (the widget goes
    // back to the model's state); otherwise the figure becomes current, `writeBack` stores
    // the user's input and the Callback runs. Returns whether it was accepted.
    bool userAction(const std::function<void()>& writeBack);

    QtHost& host_;
    Graphics& g_;
    Handle h_;
    Handle figure_;
    std::string style_;
    QPointer<QWidget> widget_;
    QWidget* figureWidget_;
    bool inactive_ = false;
    bool edited_ = false;  // the user typed since the last write-back
};

}  // namespace rt
