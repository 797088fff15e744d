#include "qt/figure_views.h"

#include "qt/control_view.h"
#include "qt/figure_window.h"
#include "qt/qt_host.h"

namespace rt {

namespace {

// Oldest first, so that windows and controls stack in creation order.
void walk(const Graphics& g, Handle h, std::vector<Handle>& out) {
    std::vector<Handle> kids = g.children(h);
    for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
        out.push_back(*it);
        walk(g, *it, out);
    }
}

}  // namespace

FigureViews::FigureViews(QtHost& host, Graphics& g) : host_(host), g_(g) {
    std::vector<Handle> existing;
    walk(g_, 0, existing);
    for (Handle h : existing) objectCreated(h);
    g_.addObserver(this);
}

FigureViews::~FigureViews() {
    g_.removeObserver(this);
    for (auto& [h, w] : windows_) w->dispose();
}

FigureWindow* FigureViews::window(Handle figure) const {
    auto it = windows_.find(figure);
    return it == windows_.end() ? nullptr : it->second;
}

FigureWindow* FigureViews::windowOf(Handle object) const {
    if (!g_.isValid(object)) return nullptr;
    return window(g_.parent(object));
}

void FigureViews::repaintFigureOf(Handle object) {
    for (Handle h = object; g_.isValid(h) && h != 0; h = g_.parent(h))
        if (g_.type(h) == ObjectType::Figure) {
            if (FigureWindow* w = window(h)) w->update();
            return;
        }
}

bool FigureViews::shows(Handle h, const std::string& property) const {
    if (!g_.isValid(h)) return false;
    switch (g_.type(h)) {
        case ObjectType::Axes:
            // It may have been in sight before it moved.
            return property == "Position" || property == "Units" || property == "Parent" ||
                   !g_.outOfSight(h);
        case ObjectType::Line:
        case ObjectType::Patch:
        case ObjectType::Image:
        case ObjectType::Text:
            return property == "Parent" || !g_.outOfSight(g_.parent(h));
        default:
            return true;
    }
}

void FigureViews::objectCreated(Handle h) {
    switch (g_.type(h)) {
        case ObjectType::Figure:
            if (!window(h)) windows_[h] = new FigureWindow(host_, g_, h);
            break;
        case ObjectType::UIControl:
            if (FigureWindow* w = windowOf(h)) w->addControl(h);
            break;
        default:
            if (shows(h, "")) repaintFigureOf(h);
            break;
    }
}

void FigureViews::propertyChanged(Handle h, const std::string& property, ChangeKind kind) {
    if (FigureWindow* w = window(h)) {
        w->apply(property);
    } else if (FigureWindow* w = windowOf(h); w && w->control(h)) {
        ControlView* c = w->control(h);
        if (property == "Position" || property == "Units")
            c->place(g_.pixelPosition(w->handle())[3]);
        else
            c->apply(property);
    } else if (kind != ChangeKind::None && shows(h, property)) {
        repaintFigureOf(h);
    }
    host_.scheduleCheck();
}

void FigureViews::objectDeleted(Handle h) {
    if (auto it = windows_.find(h); it != windows_.end()) {
        it->second->dispose();
        windows_.erase(it);
    } else if (FigureWindow* w = windowOf(h); w && w->control(h)) {
        w->removeControl(h);
    } else if (shows(h, "")) {
        repaintFigureOf(h);
    }
    host_.scheduleCheck();
}

}  // namespace rt
