// Internal state of the object model (not for views: they use graphics.h).
#pragma once

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "runtime/graphics/graphics.h"
#include "runtime/graphics/units.h"
#include "runtime/value/text_ops.h"

namespace rt {

// How a property's value is checked and stored.
enum class PropKind {
    Any,       // UserData: anything
    Text,      // char (any shape), cell of texts, or [] (a label, a list of entries)
    Callback,  // command text or []
    Enum,      // one word of `options`, case-insensitive, unique prefix allowed
    Number,    // real scalar
    Array,     // any numeric or logical array (data); uint8 allowed
    Row,       // numeric vector, stored as a row (line data)
    Rect,      // 4 numbers, stored as a 1x4 row (positions)
    Point,     // 2 or 3 numbers, stored as 1x3 (text positions)
    Pair,      // 2 numbers (hot spot, tick-free pairs)
    Limits,    // 2 numbers, lower < upper
    Color,     // RGB triple or colour letter/name; extra words in `options` ("none", "auto")
    ColorMap,  // m x 3 in [0,1]; [] means the default map
    Handle,    // an object handle of the allowed kind, or []
};

// Who may write a property.
enum class Access {
    Free,      // anyone
    Host,      // only the host's write path (CurrentPoint)
    Computed,  // nobody: the value is computed on reading (Type, Children, Extent, ...)
};

class GraphicsModel;
struct Object;

// A property's own rules (property_hooks.h). Null hooks take the common path.
using PropGet = Value (*)(const GraphicsModel&, const Object&);
using PropCheck = void (*)(GraphicsModel&, const Object&, Value&);
using PropApply = void (*)(GraphicsModel&, Object&, int index, const Value&);
using PropAfter = void (*)(GraphicsModel&, Object&, const Value&, bool changed);

// One entry of a type's property table. Writing runs: the kind's normalisation, `check`,
// then either `apply` or the common path (the mode set by hand, compare, assign, notify
// `change` once), then `after`.
struct PropSpec {
    std::string name;  // canonical spelling
    PropKind kind = PropKind::Any;
    Value factory;                     // the factory value
    std::vector<std::string> options;  // enumeration words / extra colour words
    ChangeKind change = ChangeKind::Style;
    Access access = Access::Free;
    PropGet get = nullptr;      // computes the value read instead of the stored one
    PropCheck check = nullptr;  // refuses or substitutes a normalised value
    PropApply apply = nullptr;  // stores the value with what it carries along, and notifies
    PropAfter after = nullptr;  // recomputes what depends on the stored value
    std::string modeName;       // the XxxMode property that a value set by hand makes "manual"
    int mode = -1;              // its index, filled in when the table is built

    PropSpec reads(PropGet g) && {
        get = g;
        return std::move(*this);
    }
    PropSpec checks(PropCheck c) && {
        check = c;
        return std::move(*this);
    }
    PropSpec applies(PropApply a) && {
        apply = a;
        return std::move(*this);
    }
    PropSpec then(PropAfter a) && {
        after = a;
        return std::move(*this);
    }
    PropSpec fixes(std::string m) && {
        modeName = std::move(m);
        return std::move(*this);
    }
    PropSpec writtenBy(Access a) && {
        access = a;
        return std::move(*this);
    }
};

struct TypeSpec {
    ObjectType type;
    std::vector<PropSpec> props;
    std::unordered_map<std::string, int> index;  // lower-case name -> position in props
    int find(const std::string& lowerName) const {
        auto it = index.find(lowerName);
        return it == index.end() ? -1 : it->second;
    }
};

const TypeSpec& typeSpec(ObjectType t);
// "figure" -> Figure etc., case-insensitive; false when no such type.
bool typeFromName(const std::string& lower, ObjectType& out);

// Whether name-value pairs name a Parent (the creating operations then skip gcf()).
bool namesParent(const Values& pairs);

// "default<type><prop>" or "factory<type><prop>" (lower case) split after its prefix of
// `prefixLen` characters into the type and the index of the property in its spec.
bool splitDefaultName(const std::string& lower, std::size_t prefixLen, ObjectType& type,
                      int& index);
// The key under which an object keeps its default for property `index` of type `t`.
std::string defaultKey(ObjectType t, int index);

// Checks and normalises a value for a property (enumerations to the full word, colours to
// RGB triples, rows to rows); rt::Error naming the property when invalid.
Value normalizeValue(const PropSpec& spec, const Value& v, const char* typeName);
// The enumeration word `text` stands for, or "" when it matches none or several.
std::string matchEnum(const std::vector<std::string>& options, const std::string& text);
// Colour letter/name to RGB; false when not a colour word.
bool colorWord(const std::string& lower, std::array<double, 3>& rgb);

// Whether `child` may live under `parent` (figures under the root, axes and controls under a
// figure, the rest under an axes).
bool allowedParentFor(ObjectType child, ObjectType parent);

// The finite range of a line's, patch's or image's data, kept until its data change (an
// axes' automatic limits then cost a merge per child, not a pass over all data).
struct DataExtent {
    struct Range {
        double lo = std::numeric_limits<double>::infinity();
        double hi = -std::numeric_limits<double>::infinity();
        void add(double v) {
            if (!std::isfinite(v)) return;
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        void add(const Range& r) {
            lo = std::min(lo, r.lo);
            hi = std::max(hi, r.hi);
        }
        bool empty() const { return lo > hi; }
    };
    Range x, y, c;  // c: scaled image data only
    bool xyKnown = false, cKnown = false;
};

struct Object {
    ObjectType type = ObjectType::Root;
    Handle handle = 0;
    Handle parent = 0;
    std::vector<Handle> kids;  // oldest first: the stacking order
    std::vector<Value> props;  // parallel to typeSpec(type).props
    std::map<std::string, Value> appData;
    std::map<std::string, Value> defaults;  // lower-case "default<type><prop>" -> value
    std::array<Handle, 3> labels{0, 0, 0};  // axes: title, xlabel, ylabel (not in kids)
    bool isLabel = false;
    bool autoPosition = false;  // a label placed by the axes until its Position is set
    bool creating = false;      // no notifications until the creation is complete
    DataExtent extent;          // lines, patches, images
    // An axes out of sight owes its automatic limits: they are worked out when read.
    bool limitsOwed = false, colourOwed = false;
};

class GraphicsModel {
public:
    explicit GraphicsModel(Graphics& owner);

    Graphics& owner;
    std::unordered_map<Handle, Object> objects;
    std::vector<Handle> figureHistory;  // most recently current last
    std::unordered_map<std::u16string, std::vector<Handle>> tagIndex;
    double nextOther = 1;        // non-integer handles: nextOther + 0.5
    Handle requestedFigure = 0;  // figure(n): the number the next figure takes
    std::optional<ScreenInfo> screenOverride;
    CallbackRunner runner;
    std::vector<GraphicsObserver*> observers;

    ScreenInfo screen() const { return screenOverride ? *screenOverride : host().screen(); }

    Object& obj(Handle h);  // rt::Error when gone
    const Object& obj(Handle h) const;
    const Value& prop(const Object& o, const char* canonicalLower) const;
    void store(Object& o, const char* canonicalLower, const Value& v);  // no checks, no notify

    Handle create(ObjectType type, Handle parent, const Values& pairs);
    void remove(Handle h);
    Value get(Handle h, const std::string& name) const;
    Value get(const Object& o, int index) const;  // property `index` of o's type, as read
    void set(Handle h, const std::string& name, const Value& v, bool fromHost);
    // Compares, stores and notifies once; false (and silent) when the value is unchanged.
    bool assign(Object& o, int index, Value v);
    bool assign(Object& o, const char* canonicalLower, Value v);
    // Tells the views that property `index` of o changed, with the kind its table gives.
    void notifyChanged(const Object& o, int index);

    // Geometry.
    Rect pixelRect(const Object& o) const;  // 0-based, relative to the parent
    std::array<double, 2> parentPixelSize(const Object& o) const;
    void setPixelRect(Object& o, const Rect& px);
    bool outOfSight(const Object& axes) const;  // wholly outside its figure
    Value textExtent(const Object& text) const;
    Rect textPositionPixels(const Object& text) const;  // x, y in axes pixels (w, h unused)
    Value textPosition(const Object& text) const;       // in its Units; labels placed by the axes
    // Data coordinates of the axes to axes-relative pixels (0-based) and back.
    std::array<double, 2> dataToPixels(const Object& axes, double x, double y) const;
    std::array<double, 2> pixelsToData(const Object& axes, double px, double py) const;

    // Automatic limits: recomputes the axes' limits whose mode is "auto" from its children.
    // The colour limits are recomputed only when `colour` is set (an image changed), so that
    // line edits over a large image stay cheap.
    // Nothing is computed for an axes out of sight: it owes its limits until they are read
    // (settleLimits) or it comes into sight.
    void updateAutoLimits(Handle axes, bool colour = true);
    // Works out owed limits, without telling observers: no view shows that axes.
    void settleLimits(const Object& axes) const;
    // The ticks an axis shows in "auto" tick mode: nice steps within its current limits, as
    // many as suit its length in pixels. [] when the limits are not finite.
    Value autoTicks(const Object& axes, bool xAxis) const;

    void makeCurrentFigure(Handle fig);
    Handle currentFigure() const;

    void notifyCreated(Handle h);
    void notifyChanged(Handle h, const std::string& name, ChangeKind kind);
    void notifyDeleted(Handle h);

    void indexTag(Handle h, const Value& oldTag, const Value& newTag);

private:
    void applyAutoLimits(Object& axes, bool colour, bool notify);
    const DataExtent& extentOf(Object& child, bool colour);
    Handle newHandle(ObjectType type, bool integerHandle);
    void applyDefaults(Object& o);
    void removeTree(Handle h);
    // "Default<Type><Property>" and "Factory<Type><Property>" names.
    Value getDefault(const Object& o, const std::string& lower, const std::string& name) const;
    void setDefault(Object& o, const std::string& lower, const std::string& name, const Value& v);
};

}  // namespace rt
