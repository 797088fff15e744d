// The property tables: every type's properties with kind, factory value and options.
#include <cctype>
#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/property_hooks.h"

namespace rt {

namespace {

using Opts = std::vector<std::string>;
const ChangeKind kData = ChangeKind::Data;
const ChangeKind kMap = ChangeKind::Mapping;
const ChangeKind kStyle = ChangeKind::Style;
const ChangeKind kNone = ChangeKind::None;

PropSpec P(std::string name, PropKind kind, Value factory, ChangeKind change = kStyle,
           Opts options = {}, Access access = Access::Free) {
    PropSpec s;
    s.name = std::move(name);
    s.kind = kind;
    s.factory = std::move(factory);
    s.options = std::move(options);
    s.change = change;
    s.access = access;
    return s;
}
PropSpec E(std::string name, Opts options, const char* factory, ChangeKind change = kStyle) {
    return P(std::move(name), PropKind::Enum, Value(factory), change, std::move(options));
}
PropSpec OnOff(std::string name, const char* factory, ChangeKind change = kStyle) {
    return E(std::move(name), {"on", "off"}, factory, change);
}
PropSpec Txt(std::string name, const char* factory = "", ChangeKind change = kStyle) {
    return P(std::move(name), PropKind::Text, Value(std::string(factory)), change);
}
PropSpec Cb(std::string name) {
    return P(std::move(name), PropKind::Callback, Value(std::string()), kNone);
}
PropSpec Num(std::string name, double factory, ChangeKind change = kStyle) {
    return P(std::move(name), PropKind::Number, Value(factory), change);
}
PropSpec Col(std::string name, std::vector<double> rgb, Opts extra = {}) {
    return P(std::move(name), PropKind::Color, Value::row(std::move(rgb)), kStyle,
             std::move(extra));
}
PropSpec ColWord(std::string name, const char* word, Opts extra) {
    return P(std::move(name), PropKind::Color, Value(word), kStyle, std::move(extra));
}
// Computed on reading; nobody writes it.
PropSpec RO(std::string name, PropGet get) {
    return P(std::move(name), PropKind::Any, Value(), kStyle, {}, Access::Computed).reads(get);
}
PropSpec Lim(std::string name) {
    return P(std::move(name), PropKind::Limits, Value::row({0, 1}), kMap);
}

const Opts kUnits = {"pixels", "points", "inches", "centimeters", "normalized"};
const Opts kFontUnits = {"points", "pixels", "inches", "centimeters", "normalized"};
const Opts kLineStyles = {"-", "--", ":", "-.", "none"};
const Opts kMarkers = {"none",    ".", "o", "x", "+", "*", "s",         "square", "d",
                       "diamond", "^", "v", "<", ">", "p", "pentagram", "h",      "hexagram"};
const Opts kEraseModes = {"normal", "none", "xor", "background"};
const Opts kFontWeights = {"normal", "bold", "light", "demi"};
const Opts kFontAngles = {"normal", "italic", "oblique"};

std::vector<PropSpec> common() {
    return {RO("Type", hooks::type),
            P("Parent", PropKind::Handle, Value(0.0), kMap)
                .applies(hooks::reparent)
                .reads(hooks::parent),
            RO("Children", hooks::children),
            Txt("Tag", "", kNone).applies(hooks::tag),
            P("UserData", PropKind::Any, Value(), kNone),
            OnOff("Visible", "on"),
            E("HandleVisibility", {"on", "callback", "off"}, "on", kNone),
            E("BusyAction", {"queue", "cancel"}, "queue", kNone),
            OnOff("Interruptible", "on", kNone),
            Cb("CreateFcn"),
            Cb("DeleteFcn"),
            Cb("ButtonDownFcn"),
            OnOff("Selected", "off"),
            OnOff("SelectionHighlight", "on"),
            OnOff("Clipping", "on"),
            OnOff("HitTest", "on", kNone)};
}

std::vector<PropSpec> fontProps(double size, const char* units = "points") {
    return {Txt("FontName", "Helvetica"), P("FontSize", PropKind::Number, Value(size), kStyle),
            E("FontUnits", kFontUnits, units).applies(hooks::fontUnits),
            E("FontWeight", kFontWeights, "normal"), E("FontAngle", kFontAngles, "normal")};
}

Value defaultColorOrder() {
    return Value::matrix(7, 3, {0, 0,   1, 0,    0.75, 0.75, 0.25,  //
                                0, 0.5, 0, 0.75, 0,    0.75, 0.25,  //
                                1, 0,   0, 0.75, 0.75, 0,    0.25});
}

Value defaultImage() {
    std::vector<double> d(64 * 64);
    for (std::size_t c = 0; c < 64; ++c)
        for (std::size_t r = 0; r < 64; ++r) d[c * 64 + r] = double((r + c) / 2 + 1);
    return Value::matrix(64, 64, std::move(d));
}

TypeSpec build(ObjectType t) {
    TypeSpec s;
    s.type = t;
    auto add = [&](std::vector<PropSpec> v) {
        for (auto& p : v) s.props.push_back(std::move(p));
    };
    switch (t) {
        case ObjectType::Root:
            // The root draws nothing; its Units only say how ScreenSize reads.
            add({RO("Type", hooks::type),
                 RO("Parent", hooks::parent).writtenBy(Access::Host).applies(hooks::reparent),
                 RO("Children", hooks::children), Txt("Tag", "", kNone).applies(hooks::tag),
                 P("UserData", PropKind::Any, Value(), kNone),
                 P("CurrentFigure", PropKind::Handle, Value())
                     .applies(hooks::makeCurrent)
                     .reads(hooks::currentFigure),
                 RO("ScreenSize", hooks::screenSize),
                 RO("ScreenPixelsPerInch", hooks::screenPixelsPerInch),
                 E("Units", kUnits, "pixels", kNone), OnOff("ShowHiddenHandles", "off", kNone),
                 OnOff("Visible", "on"),
                 E("HandleVisibility", {"on", "callback", "off"}, "on", kNone),
                 Txt("FixedWidthFontName", "Courier", kNone)});
            break;
        case ObjectType::Figure:
            add(common());
            add({Txt("Name"),
                 OnOff("NumberTitle", "on"),
                 P("Position", PropKind::Rect, Value::row({1, 1, 560, 420}), kMap)
                     .then(hooks::figureSize),
                 E("Units", kUnits, "pixels", kMap).applies(hooks::units),
                 Col("Color", {0.8, 0.8, 0.8}),
                 E("MenuBar", {"figure", "none"}, "figure"),
                 E("Toolbar", {"auto", "figure", "none"}, "auto"),
                 E("Pointer",
                   {"arrow", "watch", "custom", "crosshair", "fullcrosshair", "ibeam", "topl",
                    "topr", "botl", "botr", "left", "top", "right", "bottom", "circle", "cross",
                    "fleur", "hand"},
                   "arrow"),
                 P("PointerShapeCData", PropKind::Array, Value::zeros(16, 16)),
                 P("PointerShapeHotSpot", PropKind::Pair, Value::row({1, 1})),
                 Cb("WindowButtonDownFcn"),
                 Cb("WindowButtonMotionFcn"),
                 Cb("WindowButtonUpFcn"),
                 Cb("KeyPressFcn"),
                 Cb("ResizeFcn"),
                 Cb("CloseRequestFcn"),
                 P("CurrentAxes", PropKind::Handle, Value()).checks(hooks::currentAxes),
                 P("CurrentPoint", PropKind::Pair, Value::row({0, 0}), kNone, {}, Access::Host),
                 E("SelectionType", {"normal", "extend", "alt", "open"}, "normal", kNone),
                 P("Colormap", PropKind::ColorMap, defaultColormap(), kData)
                     .checks(hooks::colormap),
                 E("PaperUnits", {"inches", "centimeters", "points", "normalized"}, "inches", kNone)
                     .applies(hooks::paperUnits),
                 P("PaperPosition", PropKind::Rect, Value::row({0.25, 2.5, 8, 6}), kNone),
                 E("PaperPositionMode", {"auto", "manual"}, "manual", kNone),
                 E("PaperType",
                   {"usletter", "uslegal", "tabloid", "ledger", "executive", "a0", "a1", "a2", "a3",
                    "a4", "a5", "b4", "b5", "a4letter"},
                   "usletter", kNone),
                 RO("PaperSize", hooks::paperSize),
                 E("PaperOrientation", {"portrait", "landscape", "rotated"}, "portrait", kNone),
                 OnOff("Resize", "on"),
                 OnOff("IntegerHandle", "on", kNone),
                 E("NextPlot", {"add", "replace", "replacechildren", "new"}, "add", kNone),
                 OnOff("InvertHardcopy", "on", kNone),
                 E("Renderer", {"painters", "zbuffer", "opengl"}, "painters", kNone),
                 E("WindowStyle", {"normal", "modal"}, "normal"),
                 OnOff("DoubleBuffer", "on", kNone),
                 Txt("FileName", "", kNone)});
            break;
        case ObjectType::Axes:
            add(common());
            add({P("Position", PropKind::Rect, Value::row({0.13, 0.11, 0.775, 0.815}), kMap)
                     .then(hooks::axesSize),
                 E("Units", kUnits, "normalized", kMap).applies(hooks::units),
                 Lim("XLim").fixes("XLimMode").reads(hooks::xLim),
                 Lim("YLim").fixes("YLimMode").reads(hooks::yLim),
                 Lim("ZLim").fixes("ZLimMode"),
                 E("XLimMode", {"auto", "manual"}, "auto", kMap).then(hooks::limitMode),
                 E("YLimMode", {"auto", "manual"}, "auto", kMap).then(hooks::limitMode),
                 E("ZLimMode", {"auto", "manual"}, "auto", kMap),
                 P("XTick", PropKind::Array, Value(), kMap).fixes("XTickMode").reads(hooks::xTick),
                 P("YTick", PropKind::Array, Value(), kMap).fixes("YTickMode").reads(hooks::yTick),
                 E("XTickMode", {"auto", "manual"}, "auto", kMap),
                 E("YTickMode", {"auto", "manual"}, "auto", kMap),
                 Txt("XTickLabel").fixes("XTickLabelMode"),
                 Txt("YTickLabel").fixes("YTickLabelMode"),
                 E("XTickLabelMode", {"auto", "manual"}, "auto"),
                 E("YTickLabelMode", {"auto", "manual"}, "auto"),
                 OnOff("XMinorTick", "off"),
                 OnOff("YMinorTick", "off"),
                 OnOff("XGrid", "off"),
                 OnOff("YGrid", "off"),
                 OnOff("XMinorGrid", "off"),
                 OnOff("YMinorGrid", "off"),
                 OnOff("Box", "off")});
            add(fontProps(10));
            add({Col("XColor", {0, 0, 0}),
                 Col("YColor", {0, 0, 0}),
                 Col("ZColor", {0, 0, 0}),
                 Col("Color", {1, 1, 1}, {"none"}),
                 E("XDir", {"normal", "reverse"}, "normal", kMap),
                 E("YDir", {"normal", "reverse"}, "normal", kMap),
                 E("XScale", {"linear", "log"}, "linear", kMap),
                 E("YScale", {"linear", "log"}, "linear", kMap),
                 E("XAxisLocation", {"bottom", "top"}, "bottom"),
                 E("YAxisLocation", {"left", "right"}, "left"),
                 P("CLim", PropKind::Limits, Value::row({0, 1}), kData)
                     .fixes("CLimMode")
                     .reads(hooks::cLim),
                 E("CLimMode", {"auto", "manual"}, "auto", kData).then(hooks::limitMode),
                 P("DataAspectRatio", PropKind::Array, Value::row({1, 1, 1}), kMap)
                     .fixes("DataAspectRatioMode")
                     .then(hooks::axesSize),
                 E("DataAspectRatioMode", {"auto", "manual"}, "auto", kMap).then(hooks::axesSize),
                 P("PlotBoxAspectRatio", PropKind::Array, Value::row({1, 1, 1}), kMap)
                     .fixes("PlotBoxAspectRatioMode"),
                 E("PlotBoxAspectRatioMode", {"auto", "manual"}, "auto", kMap),
                 P("CurrentPoint", PropKind::Array, Value::zeros(2, 3), kNone, {}, Access::Host),
                 RO("Title", hooks::title),
                 RO("XLabel", hooks::xLabel),
                 RO("YLabel", hooks::yLabel),
                 E("NextPlot", {"add", "replace", "replacechildren"}, "replace", kNone),
                 Num("LineWidth", 0.5),
                 E("GridLineStyle", kLineStyles, ":"),
                 E("TickDir", {"in", "out"}, "in"),
                 P("TickLength", PropKind::Pair, Value::row({0.01, 0.025})),
                 E("Layer", {"bottom", "top"}, "bottom"),
                 P("ColorOrder", PropKind::Array, defaultColorOrder(), kNone)});
            break;
        case ObjectType::UIControl:
            add(common());
            add({E("Style",
                   {"pushbutton", "togglebutton", "radiobutton", "checkbox", "edit", "text",
                    "slider", "frame", "listbox", "popupmenu"},
                   "pushbutton", kData),
                 P("Position", PropKind::Rect, Value::row({20, 20, 60, 20}), kMap),
                 E("Units", kUnits, "pixels", kMap).applies(hooks::units), Txt("String", "", kData),
                 P("Value", PropKind::Array, Value(0.0), kData), Num("Min", 0, kData),
                 Num("Max", 1, kData), Cb("Callback"),
                 E("HorizontalAlignment", {"left", "center", "right"}, "center"),
                 Col("BackgroundColor", {0.8, 0.8, 0.8}), Col("ForegroundColor", {0, 0, 0}),
                 E("Enable", {"on", "inactive", "off"}, "on")});
            add(fontProps(10));
            add({Txt("TooltipString"), Num("ListboxTop", 1), RO("Extent", hooks::extent)});
            break;
        case ObjectType::Line:
            add(common());
            add({P("XData", PropKind::Row, Value::row({0, 1}), kData),
                 P("YData", PropKind::Row, Value::row({0, 1}), kData),
                 P("ZData", PropKind::Row, Value(), kData), Col("Color", {0, 0, 0}),
                 Num("LineWidth", 0.5), E("LineStyle", kLineStyles, "-"),
                 E("Marker", kMarkers, "none"), Num("MarkerSize", 6),
                 ColWord("MarkerFaceColor", "none", {"none", "auto"}),
                 ColWord("MarkerEdgeColor", "auto", {"none", "auto"}),
                 E("EraseMode", kEraseModes, "normal", kNone)});
            break;
        case ObjectType::Text:
            add(common());
            add({Txt("String", "", kData),
                 P("Position", PropKind::Point, Value::row({0, 0, 0}), kMap)
                     .applies(hooks::placeText)
                     .reads(hooks::textPosition),
                 E("Units", {"data", "pixels", "points", "inches", "centimeters", "normalized"},
                   "data", kMap)
                     .applies(hooks::textUnits)});
            add(fontProps(10));
            add({E("HorizontalAlignment", {"left", "center", "right"}, "left", kMap),
                 E("VerticalAlignment", {"top", "cap", "middle", "baseline", "bottom"}, "middle",
                   kMap),
                 Num("Rotation", 0, kMap), Col("Color", {0, 0, 0}), RO("Extent", hooks::extent),
                 E("EraseMode", kEraseModes, "normal", kNone),
                 ColWord("BackgroundColor", "none", {"none"}),
                 ColWord("EdgeColor", "none", {"none"}),
                 E("Interpreter", {"tex", "none", "latex"}, "tex")});
            break;
        case ObjectType::Patch:
            add(common());
            add({P("XData", PropKind::Array, Value(), kData),
                 P("YData", PropKind::Array, Value(), kData),
                 P("ZData", PropKind::Array, Value(), kData),
                 P("CData", PropKind::Array, Value(), kData),
                 Col("FaceColor", {0, 0, 0}, {"none", "flat", "interp"}),
                 Col("EdgeColor", {0, 0, 0}, {"none", "flat", "interp"}),
                 E("LineStyle", kLineStyles, "-"), Num("LineWidth", 0.5),
                 E("Marker", kMarkers, "none"), Num("MarkerSize", 6),
                 E("EraseMode", kEraseModes, "normal", kNone)});
            break;
        case ObjectType::Image:
            add(common());
            add({P("CData", PropKind::Array, defaultImage(), kData),
                 P("XData", PropKind::Array, Value::row({1, 64}), kData),
                 P("YData", PropKind::Array, Value::row({1, 64}), kData),
                 E("CDataMapping", {"direct", "scaled"}, "direct", kData),
                 E("EraseMode", kEraseModes, "normal", kNone)});
            break;
    }
    for (std::size_t i = 0; i < s.props.size(); ++i) s.index[lowerAscii(s.props[i].name)] = int(i);
    for (auto& p : s.props) {
        if (!p.modeName.empty()) p.mode = s.find(lowerAscii(p.modeName));
        // What a line, patch or image draws sets its axes' automatic limits.
        const bool drawsData =
            t == ObjectType::Line || t == ObjectType::Patch || t == ObjectType::Image;
        if (drawsData && p.change == kData && !p.after) p.after = hooks::childData;
    }
    return s;
}

}  // namespace

std::string lowerAscii(std::string s) {
    for (char& c : s) c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool namesParent(const Values& pairs) {
    for (std::size_t i = 0; i < pairs.size(); i += 2)
        if (pairs[i].isChar() && lowerAscii(pairs[i].text()) == "parent") return true;
    return false;
}

bool splitDefaultName(const std::string& lower, std::size_t prefixLen, ObjectType& type,
                      int& index) {
    const std::string rest = lower.substr(prefixLen);
    for (ObjectType t :
         {ObjectType::Figure, ObjectType::Axes, ObjectType::UIControl, ObjectType::Line,
          ObjectType::Text, ObjectType::Patch, ObjectType::Image, ObjectType::Root}) {
        const std::string tn = typeName(t);
        if (rest.compare(0, tn.size(), tn) == 0) {
            const int i = typeSpec(t).find(rest.substr(tn.size()));
            if (i >= 0) {
                type = t;
                index = i;
                return true;
            }
        }
    }
    return false;
}

std::string defaultKey(ObjectType t, int index) {
    return std::string(typeName(t)) + "." + std::to_string(index);
}

const TypeSpec& typeSpec(ObjectType t) {
    static const std::vector<TypeSpec> all = [] {
        std::vector<TypeSpec> v;
        for (ObjectType t2 :
             {ObjectType::Root, ObjectType::Figure, ObjectType::Axes, ObjectType::UIControl,
              ObjectType::Line, ObjectType::Text, ObjectType::Patch, ObjectType::Image})
            v.push_back(build(t2));
        return v;
    }();
    return all[static_cast<std::size_t>(t)];
}

const char* typeName(ObjectType t) {
    switch (t) {
        case ObjectType::Root:
            return "root";
        case ObjectType::Figure:
            return "figure";
        case ObjectType::Axes:
            return "axes";
        case ObjectType::UIControl:
            return "uicontrol";
        case ObjectType::Line:
            return "line";
        case ObjectType::Text:
            return "text";
        case ObjectType::Patch:
            return "patch";
        case ObjectType::Image:
            return "image";
    }
    return "root";
}

bool typeFromName(const std::string& lower, ObjectType& out) {
    for (ObjectType t :
         {ObjectType::Root, ObjectType::Figure, ObjectType::Axes, ObjectType::UIControl,
          ObjectType::Line, ObjectType::Text, ObjectType::Patch, ObjectType::Image})
        if (lower == typeName(t)) {
            out = t;
            return true;
        }
    return false;
}

}  // namespace rt
