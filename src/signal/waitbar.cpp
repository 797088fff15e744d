#include "signal/waitbar.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iostream>
#include <string>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/host.h"
#include "runtime/value/num2str.h"
#include "signal/title.h"

namespace sig {

namespace {

const char* const kTag = "WaitbarWindow";

rt::Value row(const std::array<double, 4>& r) { return rt::Value::row({r[0], r[1], r[2], r[3]}); }

// The bar's extent in axes units (0 ... 100); NaN counts as done, as the run-time's min does.
double barExtent(double x) {
    const double v = 100 * x;
    return std::isnan(v) ? 100 : std::clamp(v, 0.0, 100.0);
}

// The root's Units go to points while the window is laid out; every way out puts them back,
// so a failed creation cannot leave later screen reads in the wrong unit.
class RootUnits {
public:
    RootUnits() : old_(rt::graphics().get(0, "Units")) {
        rt::graphics().set(0, "Units", rt::Value("points"));
    }
    ~RootUnits() {
        try {
            rt::graphics().set(0, "Units", old_);
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
    std::string s = name.text();
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s == "createcancelbtn";
}

using Rect = std::array<double, 4>;
using V = rt::Value;

// Screen facts in points, read while the root's Units are points.
struct Screen {
    double width = 0, height = 0;
    double pointsPerPixel = 0.75;
};

// The caller's pairs, each under its own guard. Returns the height taken by a Cancel button.
double applyPairs(rt::Handle f, const rt::Values& pairs, const Rect& pos, double pointsPerPixel) {
    rt::Graphics& g = rt::graphics();
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
                g.set(f, "Position", row(newPos));
                g.set(f, "CloseRequestFcn", value);
                rt::uicontrol(
                    {V("Parent"), V(f), V("Units"), V("points"), V("Callback"), value,
                     V("ButtonDownFcn"), value, V("Enable"), V("on"), V("Interruptible"), V("off"),
                     V("Position"),
                     row({pos[2] - cancelBtnWidth * 1.4, 7, cancelBtnWidth, cancelBtnHeight}),
                     V("String"), V("Cancel"), V("Tag"), V("WaitbarCancelButton")});
            } else {
                rt::set(V(f), {property, value});
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
    rt::Graphics& g = rt::graphics();
    const rt::Handle tHandle = g.get(ax, "title").scalar();
    const rt::Value oldTitleUnits = g.get(tHandle, "Units");
    g.set(tHandle, "Units", V("points"));
    g.set(tHandle, "String", message);
    const std::vector<double> tExtent = g.get(tHandle, "Extent").real();
    g.set(tHandle, "Units", oldTitleUnits);

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
        g.set(ax, "Position", row(axPos));
        figPosDirty = true;
    }
    return figPosDirty;
}

rt::Handle create(double x, const rt::Value& message, const rt::Values& pairs) {
    if (pairs.size() % 2 != 0)
        rt::error("Optional initialization arguments must be passed in pairs");
    rt::Graphics& g = rt::graphics();
    const RootUnits pointsWhileHere;

    const std::vector<double> screenSize = g.get(0, "ScreenSize").real();
    const Screen screen{screenSize[2], screenSize[3],
                        72.0 / g.get(0, "ScreenPixelsPerInch").scalar()};
    const double axFontSize = g.get(0, "FactoryAxesFontSize").scalar();
    const double width = 360 * screen.pointsPerPixel;
    const double height = 75 * screen.pointsPerPixel;
    Rect pos{screen.width / 2 - width / 2, screen.height / 2 - height / 2, width, height};

    const rt::Handle f = rt::figure(
        {V("Units"),         V("points"), V("BusyAction"), V("queue"), V("Position"),    row(pos),
         V("Resize"),        V("off"),    V("CreateFcn"),  V(""),      V("NumberTitle"), V("off"),
         V("IntegerHandle"), V("off"),    V("MenuBar"),    V("none"),  V("Tag"),         V(kTag),
         V("Interruptible"), V("off"),    V("Visible"),    V("off")});
    const double vertMargin = applyPairs(f, pairs, pos, screen.pointsPerPixel);
    g.set(f, "Colormap", rt::Value());  // colormap([]): the default map

    Rect axPos{0.05 * pos[2], 0.3 * pos[3] + vertMargin, 0.9 * pos[2], 0.2 * pos[3]};
    const rt::Handle h = rt::axes({V("Parent"),
                                   V(f),
                                   V("XLim"),
                                   rt::Value::row({0, 100}),
                                   V("YLim"),
                                   rt::Value::row({0, 1}),
                                   V("Box"),
                                   V("on"),
                                   V("Units"),
                                   V("Points"),
                                   V("FontSize"),
                                   V(axFontSize),
                                   V("Position"),
                                   row(axPos),
                                   V("XTickMode"),
                                   V("manual"),
                                   V("YTickMode"),
                                   V("manual"),
                                   V("XTick"),
                                   V(),
                                   V("YTick"),
                                   V(),
                                   V("XTickLabelMode"),
                                   V("manual"),
                                   V("XTickLabel"),
                                   V(),
                                   V("YTickLabelMode"),
                                   V("manual"),
                                   V("YTickLabel"),
                                   V()});
    title(message);
    if (fitToMessage(h, message, screen, pos, axPos)) g.set(f, "Position", row(pos));

    rt::patch({V("Parent"), V(h), V("XData"), rt::Value::row({0, x, x, 0}), V("YData"),
               rt::Value::row({0, 0, 1, 1}), V("FaceColor"), V("r"), V("EdgeColor"), V("r"),
               V("EraseMode"), V("none")});
    const rt::Handle l =
        rt::line({V("Parent"), V(h), V("XData"), rt::Value::row({100, 0, 0, 100, 100}), V("YData"),
                  rt::Value::row({0, 0, 1, 1, 0}), V("EraseMode"), V("none")});
    g.set(l, "Color", g.get(h, "XColor"));

    g.set(f, "HandleVisibility", V("callback"));
    g.set(f, "Visible", V("on"));
    return f;
}

void update(double x, const rt::Value& fig, const rt::Value* message) {
    rt::Graphics& g = rt::graphics();
    const std::vector<double> handles = fig.real();
    bool valid = !handles.empty();
    for (double f : handles) valid = valid && g.isValid(f);
    if (!valid) rt::error("Couldn't find waitbar handles.");
    const rt::Value p = rt::findobj({fig, V("Type"), V("patch")});
    const rt::Value l = rt::findobj({fig, V("Type"), V("line")});
    if (p.isEmpty() || l.isEmpty()) rt::error("Couldn't find waitbar handles.");

    rt::set(p, {V("XData"), rt::Value::row({0, x, x, 0})});
    for (double line : l.real()) g.set(line, "XData", g.get(line, "XData"));  // frame over the bar
    if (message) {
        const rt::Value ax = rt::findobj({fig, V("type"), V("axes")});
        if (!ax.isEmpty()) g.set(g.get(ax.at(0), "title").scalar(), "String", *message);
    }
}

void drawnow() { rt::host().flush(); }

rt::Value firstWaitbar() {
    const rt::Value all = rt::allchild(rt::Value(0.0));
    if (all.isEmpty()) return rt::Value();
    const rt::Value found =
        rt::findobj({all, rt::Value("flat"), rt::Value("Tag"), rt::Value(kTag)});
    return found.isEmpty() ? rt::Value() : rt::Value(found.at(0));
}

}  // namespace

rt::Handle waitbar(double x, const rt::Value& message, const rt::Values& pairs) {
    const rt::Handle f = create(barExtent(x), message, pairs);
    drawnow();
    return f;
}

void waitbar(double x, rt::Handle fig) {
    update(barExtent(x), rt::Value(fig), nullptr);
    drawnow();
}

void waitbar(double x, rt::Handle fig, const rt::Value& message) {
    update(barExtent(x), rt::Value(fig), &message);
    drawnow();
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
            drawnow();
            f = in[1];
        } else {
            rt::error("Input arguments of type " + in[1].className() + " not valid.");
        }
        return nargout > 0 ? rt::Values{f} : rt::Values{};
    });
}

}  // namespace sig
