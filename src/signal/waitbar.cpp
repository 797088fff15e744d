#include "signal/waitbar.h"

#include <algorithm>
#include <cmath>
#include <iostream>
#include <string>

#include "runtime/dispatch/error.h"
#include "runtime/event_loop.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/value/num2str.h"
#include "runtime/value/text_ops.h"
#include "signal/title.h"

namespace sig {

namespace {

const char* const kTag = "WaitbarWindow";

// The bar's extent in axes units (0 ... 100); NaN counts as done, as the run-time's min does.
double barExtent(double x) {
    const double v = 100 * x;
    return std::isnan(v) ? 100 : std::clamp(v, 0.0, 100.0);
}

// The root's Units go to points while the window is laid out; every way out puts them back,
// so a failed creation cannot leave later screen reads in the wrong unit.
class RootUnits {
public:
    RootUnits() : old_(rt::get(0.0, "Units")) { rt::setProps(0.0, {{"Units", "points"}}); }
    ~RootUnits() {
        try {
            rt::setProps(0.0, {{"Units", old_}});
        } catch (...) {
        }
    }
    RootUnits(const RootUnits&) = delete;
    RootUnits& operator=(const RootUnits&) = delete;

private:
    rt::Value old_;
};

// A value as the warning line shows it; records and cells, which have no such text, by class.
std::string shown(const rt::Value& v) {
    try {
        return rt::num2str(v).text();
    } catch (const rt::Error&) {
        return "[" + v.className() + "]";
    }
}

bool isCancelPair(const rt::Value& name) {
    if (!name.isChar()) return false;
    return rt::lowerAscii(name.text()) == "createcancelbtn";
}

using rt::Rect;

// Screen facts in points, read while the root's Units are points.
struct Screen {
    double width = 0, height = 0;
    double pointsPerPixel = 0.75;
};

// The caller's pairs, each under its own guard. Returns the height taken by a Cancel button.
double applyPairs(rt::Handle f, const rt::Values& pairs, const Rect& pos, double pointsPerPixel) {
    double vertMargin = 0;
    bool cancelBtnCreated = false;
    for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
        const rt::Value& property = pairs[i];
        const rt::Value& value = pairs[i + 1];
        try {
            if (!cancelBtnCreated && isCancelPair(property)) {
                cancelBtnCreated = true;  // a second such pair goes to set, which refuses it
                const double cancelBtnHeight = 23 * pointsPerPixel;
                const double cancelBtnWidth = 60 * pointsPerPixel;
                vertMargin += cancelBtnHeight;
                Rect newPos = pos;
                newPos[3] += vertMargin;
                rt::setProps(f, {{"Position", newPos}, {"CloseRequestFcn", value}});
                rt::makeControl(f, "pushbutton",
                                {pos[2] - cancelBtnWidth * 1.4, 7, cancelBtnWidth, cancelBtnHeight},
                                {{"Units", "points"},
                                 {"Callback", value},
                                 {"ButtonDownFcn", value},
                                 {"Enable", "on"},
                                 {"Interruptible", "off"},
                                 {"String", "Cancel"},
                                 {"Tag", "WaitbarCancelButton"}});
            } else {
                rt::set(f, {property, value});
            }
        } catch (const rt::Error&) {
            std::cout << "Warning: could not set property '" << shown(property) << "' with value '"
                      << shown(value) << "'" << std::endl;
        }
    }
    return vertMargin;
}

// Makes the window taller or wider (re-centred) when the message needs it; returns whether
// `pos` changed. The axes follows a change of width.
bool fitToMessage(rt::Handle ax, const rt::Value& message, const Screen& screen, Rect& pos,
                  Rect& axPos) {
    const rt::Handle tHandle = rt::get(ax, "title").scalar();
    const rt::Value oldTitleUnits = rt::get(tHandle, "Units");
    rt::setProps(tHandle, {{"Units", "points"}, {"String", message}});
    const std::vector<double> tExtent = rt::get(tHandle, "Extent").real();
    rt::setProps(tHandle, {{"Units", oldTitleUnits}});

    bool figPosDirty = false;
    const double titleHeight = tExtent[3] + axPos[1] + axPos[3] + 5;
    if (titleHeight > pos[3]) {
        pos[3] = titleHeight;
        pos[1] = screen.height / 2 - pos[3] / 2;
        figPosDirty = true;
    }
    if (tExtent[2] > 1.1 * pos[2]) {
        pos[2] = std::min(1.1 * tExtent[2], screen.width);
        pos[0] = screen.width / 2 - pos[2] / 2;
        axPos[0] = 0.05 * pos[2];
        axPos[2] = 0.9 * pos[2];
        rt::setProps(ax, {{"Position", axPos}});
        figPosDirty = true;
    }
    return figPosDirty;
}

rt::Handle create(double x, const rt::Value& message, const rt::Values& pairs) {
    if (pairs.size() % 2 != 0)
        rt::error("Optional initialization arguments must be passed in pairs");
    const RootUnits pointsWhileHere;

    const std::vector<double> screenSize = rt::get(0.0, "ScreenSize").real();
    const Screen screen{screenSize[2], screenSize[3],
                        72.0 / rt::get(0.0, "ScreenPixelsPerInch").scalar()};
    const double axFontSize = rt::get(0.0, "FactoryAxesFontSize").scalar();
    const double width = 360 * screen.pointsPerPixel;
    const double height = 75 * screen.pointsPerPixel;
    Rect pos{screen.width / 2 - width / 2, screen.height / 2 - height / 2, width, height};

    const rt::Handle f = rt::makeFigure({{"Units", "points"},
                                         {"BusyAction", "queue"},
                                         {"Position", pos},
                                         {"Resize", "off"},
                                         {"CreateFcn", ""},
                                         {"NumberTitle", "off"},
                                         {"IntegerHandle", "off"},
                                         {"MenuBar", "none"},
                                         {"Tag", kTag},
                                         {"Interruptible", "off"},
                                         {"Visible", "off"}});
    const double vertMargin = applyPairs(f, pairs, pos, screen.pointsPerPixel);
    rt::setProps(f, {{"Colormap", {}}});  // colormap([]): the default map

    Rect axPos{0.05 * pos[2], 0.3 * pos[3] + vertMargin, 0.9 * pos[2], 0.2 * pos[3]};
    const rt::Handle h = rt::makeAxes(f, {{"XLim", {0, 100}},
                                          {"YLim", {0, 1}},
                                          {"Box", "on"},
                                          {"Units", "Points"},
                                          {"FontSize", axFontSize},
                                          {"Position", axPos},
                                          {"XTickMode", "manual"},
                                          {"YTickMode", "manual"},
                                          {"XTick", {}},
                                          {"YTick", {}},
                                          {"XTickLabelMode", "manual"},
                                          {"XTickLabel", {}},
                                          {"YTickLabelMode", "manual"},
                                          {"YTickLabel", {}}});
    title(message);
    if (fitToMessage(h, message, screen, pos, axPos)) rt::setProps(f, {{"Position", pos}});

    rt::makePatch(h, {{"XData", {0, x, x, 0}},
                      {"YData", {0, 0, 1, 1}},
                      {"FaceColor", "r"},
                      {"EdgeColor", "r"},
                      {"EraseMode", "none"}});
    const rt::Handle l = rt::makeLine(
        h, {{"XData", {100, 0, 0, 100, 100}}, {"YData", {0, 0, 1, 1, 0}}, {"EraseMode", "none"}});
    rt::setProps(l, {{"Color", rt::get(h, "XColor")}});

    rt::setProps(f, {{"HandleVisibility", "callback"}, {"Visible", "on"}});
    return f;
}

void update(double x, const rt::Value& fig, const rt::Value* message) {
    const std::vector<double> handles = fig.real();
    bool valid = !handles.empty();
    for (double f : handles) valid = valid && rt::graphics().isValid(f);
    if (!valid) rt::error("Couldn't find waitbar handles.");
    const rt::Value p = rt::findobj({fig, "Type", "patch"});
    const rt::Value l = rt::findobj({fig, "Type", "line"});
    if (p.isEmpty() || l.isEmpty()) rt::error("Couldn't find waitbar handles.");

    rt::setProps(p, {{"XData", {0, x, x, 0}}});
    for (double line : l.real())  // the frame over the bar
        rt::setProps(line, {{"XData", rt::get(line, "XData")}});
    if (message) {
        const rt::Value ax = rt::findobj({fig, "type", "axes"});
        if (!ax.isEmpty()) rt::setProps(rt::get(ax.at(0), "title"), {{"String", *message}});
    }
}

rt::Value firstWaitbar() {
    const rt::Value all = rt::allchild(rt::Value(0.0));
    if (all.isEmpty()) return rt::Value();
    const rt::Value found = rt::findobj({all, "flat", "Tag", kTag});
    return found.isEmpty() ? rt::Value() : rt::Value(found.at(0));
}

}  // namespace

rt::Handle waitbar(double x, const rt::Value& message, const rt::Values& pairs) {
    const rt::Handle f = create(barExtent(x), message, pairs);
    rt::drawnow();
    return f;
}

void waitbar(double x, rt::Handle fig) {
    update(barExtent(x), rt::Value(fig), nullptr);
    rt::drawnow();
}

void waitbar(double x, rt::Handle fig, const rt::Value& message) {
    update(barExtent(x), rt::Value(fig), &message);
    rt::drawnow();
}

rt::Handle waitbar(double x) {
    const rt::Value found = firstWaitbar();
    if (found.isEmpty()) return waitbar(x, rt::Value("Waitbar"));
    waitbar(x, found.scalar());
    return found.scalar();
}

void register_waitbar(rt::FunctionTable& t) {
    t.add("waitbar", -3, 1, [](const rt::Values& in, int nargout) {
        if (in.empty()) rt::error("Input arguments not valid.");
        rt::Value f;
        if (in.size() == 1) {
            f = rt::Value(waitbar(in[0].scalar()));
        } else if (in[1].isChar()) {
            f = rt::Value(waitbar(in[0].scalar(), in[1], rt::Values(in.begin() + 2, in.end())));
        } else if (in[1].isNumeric()) {
            update(barExtent(in[0].scalar()), in[1], in.size() >= 3 ? &in[2] : nullptr);
            rt::drawnow();
            f = in[1];
        } else {
            rt::error("Input arguments of type " + in[1].className() + " not valid.");
        }
        return nargout > 0 ? rt::Values{f} : rt::Values{};
    });
}

}  // namespace sig
