// Observes the object model and keeps one window per figure, with a widget per uicontrol.
// The views hold nothing a caller reads back: every answer comes from the model.
#pragma once

#include <map>

#include "runtime/graphics/graphics.h"

namespace rt {

class FigureWindow;
class QtHost;

class FigureViews : public GraphicsObserver {
public:
    // Builds windows for the figures that already exist and follows the model from then on.
    FigureViews(QtHost& host, Graphics& g);
    ~FigureViews() override;

    // The window of a figure, or nullptr (tests look at windows through this).
    FigureWindow* window(Handle figure) const;

    void objectCreated(Handle h) override;
    void propertyChanged(Handle h, const std::string& property, ChangeKind kind) override;
    void objectDeleted(Handle h) override;

private:
    FigureWindow* windowOf(Handle object) const;  // the window holding a control
    void repaintFigureOf(Handle object);          // axes and what they hold
    // False where a change of `property` of `object` shows nowhere: in an axes that lies
    // outside its window.
    bool shows(Handle object, const std::string& property) const;

    QtHost& host_;
    Graphics& g_;
    std::map<Handle, FigureWindow*> windows_;
};

}  // namespace rt
