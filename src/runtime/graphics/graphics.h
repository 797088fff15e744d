// The graphics-object model: root 0, figures, axes, uicontrols, lines, texts, patches and
// images as a tree of handles with typed properties read and written by name. No toolkit here:
// a view (the Qt front-end) observes the model and draws it; everything a caller reads back is
// answered by the model, with screen facts and text sizes supplied by the host.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/graphics/units.h"
#include "runtime/host.h"
#include "runtime/value/value.h"

namespace rt {

// A handle is a double: the root is 0, figures are small positive integers (unless created
// with IntegerHandle "off"), every other object has a non-integer handle (n + 0.5), so figure
// numbers carried as text in callback strings read back exactly.
using Handle = double;

enum class ObjectType { Root, Figure, Axes, UIControl, Line, Text, Patch, Image };

// Lower-case type name as `get(h, 'Type')` answers it: "root", "figure", "axes", "uicontrol",
// "line", "text", "patch", "image".
const char* typeName(ObjectType t);

// What a property change means for a view. Data: what is drawn changed (line or image data,
// a text's String, a control's String/Value, an axes gaining or losing children). Mapping:
// where things land changed (Position, Units, limits, axis direction, aspect) — a view
// re-maps existing data but need not recompute it. Style: how things look (colours, fonts,
// visibility, titles). None: nothing drawn depends on it (Tag, UserData, callbacks, the
// pointer's CurrentPoint, print settings): a view need not repaint.
enum class ChangeKind { Data, Mapping, Style, None };

// Runs a callback-holding property's text (e.g. a figure's CloseRequestFcn) for `close`.
// Installed by the event loop; without one, `close` deletes directly.
using CallbackRunner = std::function<void(Handle object, const std::string& property)>;

// Notified once per change, after the model is consistent again. Observers must not delete
// objects from inside these calls. A parent's Children list changes only through
// objectCreated/objectDeleted (and "Parent" on a moved object); automatic limits that follow
// new data arrive as "XLim"/"YLim" (Mapping) and "CLim" (Data) on the axes.
class GraphicsObserver {
public:
    virtual ~GraphicsObserver() = default;
    // A new object, after all its creation properties were applied (no propertyChanged calls
    // are made for those). Its parent's Children already holds it.
    virtual void objectCreated(Handle h) = 0;
    // One property of h took a new value; `property` is the canonical name ("XData",
    // "Position", ...). Not called when a set leaves the value unchanged.
    virtual void propertyChanged(Handle h, const std::string& property, ChangeKind kind) = 0;
    // h is being deleted: called for every object of the deleted subtree, children before
    // their parent, while h is still readable (isValid(h) is true during the call).
    virtual void objectDeleted(Handle h) = 0;
};

class GraphicsModel;  // the implementation's state

// The object tree with its handle registry, property registry and current-figure bookkeeping.
// Every failure (unknown handle, property or value) throws rt::Error with a readable message.
class Graphics {
public:
    Graphics();  // a tree holding only the root
    ~Graphics();
    Graphics(const Graphics&) = delete;
    Graphics& operator=(const Graphics&) = delete;

    // Deletes every figure (observers are told) and restores the root's factory state.
    void reset();

    // --- registry ---
    // False for deleted or never-made handles: a deleted object is "gone", never reused while
    // anything could still hold it (figure numbers are reused only after the figure is gone).
    bool isValid(Handle h) const;
    ObjectType type(Handle h) const;  // rt::Error when gone
    Handle parent(Handle h) const;    // the root's parent is NaN
    // Newest first, hidden handles included. An axes' title and axis labels are text objects
    // reached through its Title/XLabel/YLabel properties, not among its children.
    std::vector<Handle> children(Handle h) const;
    std::vector<Handle> figures() const;  // newest first

    // Creates an object of `type` under `parent` (a figure for axes and uicontrols, an axes for
    // line/text/patch/image). Inherited defaults ("Default<Type><Property>" on the figure,
    // then the root) are applied first, then `pairs` (name, value, ...) in order. A figure or
    // axes becomes current. Throws (and creates nothing) when a pair is invalid.
    Handle create(ObjectType type, Handle parent, const Values& pairs = {});

    // Deletes h and everything below it. Deleting the current figure makes the previously
    // current, still existing figure current. The root cannot be deleted.
    void remove(Handle h);

    // --- properties ---
    // Names are case-insensitive. Enumerated values are case-insensitive and may be shortened
    // to a unique prefix; colours accept RGB triples in [0,1], the letters y m c r g b w k and
    // their names, and "none" where the property allows it; values are stored normalised
    // (full enumeration word, RGB triple). Read-only properties (Type, Children, Extent,
    // CurrentPoint, ScreenSize, ...) refuse `set`.
    Value get(Handle h, const std::string& name) const;
    // A stored property by reference, for views that only read large data (XData, CData):
    // no copy. Valid until the model next changes. Properties the model computes on reading
    // (Children, Extent, ticks in auto mode, a label's placed Position) need get instead.
    const Value& stored(Handle h, const std::string& name) const;
    void set(Handle h, const std::string& name, const Value& value);
    void set(Handle h, const Values& pairs);  // pairs applied in order; odd count is an error
    bool hasProperty(Handle h, const std::string& name) const;

    // The host's write path: also allowed for read-only properties the host owns
    // (CurrentPoint, a control's String/Value after user input, a figure's Position after the
    // user moved it). Observers are told as for set.
    void setFromHost(Handle h, const std::string& name, const Value& value);

    // Application data (isappdata/setappdata/getappdata).
    bool isAppData(Handle h, const std::string& name) const;
    // The value is moved in: a recording kept with a window is not copied again.
    void setAppData(Handle h, const std::string& name, Value value);
    Value getAppData(Handle h, const std::string& name) const;  // [] when absent

    // --- geometry (pixels, origin at the parent's bottom-left corner, 0-based) ---
    // Figures relative to the screen, axes and uicontrols relative to their figure.
    Rect pixelPosition(Handle h) const;
    // Whether an axes lies wholly outside its figure, so that nothing of it can show (the
    // main window's result cache). Its automatic limits are then worked out only when read.
    bool outOfSight(Handle axes) const;
    // The host reports a new pixel rectangle (the user moved or resized a window); it is
    // stored converted to h's current Units.
    void setPixelPosition(Handle h, const Rect& pixels);

    // The pointer is at (x, y) pixels from the figure's bottom-left corner (0-based): sets the
    // figure's CurrentPoint (in its Units) and every axes' CurrentPoint (its data
    // coordinates, [x y 1; x y 0]) before a mouse callback runs.
    void setPointerPosition(Handle figure, double x, double y);

    // --- current objects ---
    Handle currentFigure() const;             // 0 when there is no figure
    void setCurrentFigure(Handle figure);     // a click in a window does this
    Handle currentAxes(Handle figure) const;  // 0 when the figure has no axes

    // --- lookup ---
    // Handles whose Tag is exactly `tag` (any type), in no particular order. Fast: indexed.
    std::vector<Handle> withTag(const std::u16string& tag) const;

    // --- host facts and hooks ---
    // Screen size and resolution for every unit conversion (ScreenInfo of host.h): the
    // installed host's answer, unless a test fixed other figures with setScreen.
    ScreenInfo screen() const;
    void setScreen(const ScreenInfo& screen);
    void useHostScreen();
    // Size of a text in pixels {width, height}, from the host's font metrics.
    std::array<double, 2> measureText(const std::vector<std::u16string>& lines,
                                      const FontSpec& font) const;
    void setCallbackRunner(CallbackRunner runner);
    const CallbackRunner& callbackRunner() const;

    void addObserver(GraphicsObserver* observer);  // not owned
    void removeObserver(GraphicsObserver* observer);

    GraphicsModel& model() { return *model_; }
    const GraphicsModel& model() const { return *model_; }

private:
    std::unique_ptr<GraphicsModel> model_;
};

// The process-wide tree that the graphics operations and callback strings work on.
Graphics& graphics();

// Where a figure given no Position lies on `screen`: 0-based pixels [left bottom width height]
// as pixelPosition gives them.
Rect defaultFigurePixels(const ScreenInfo& screen);

}  // namespace rt
