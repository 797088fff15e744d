#include "runtime/graphics/graphics.h"

#include <algorithm>
#include <cmath>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/text_layout.h"

namespace rt {

Graphics::Graphics() : model_(std::make_unique<GraphicsModel>(*this)) {}
Graphics::~Graphics() = default;

void Graphics::reset() {
    for (Handle f : figures()) model_->remove(f);
    auto observers = model_->observers;
    auto runner = model_->runner;
    auto screen = model_->screenOverride;
    const double next = model_->nextOther;  // handles stay unique across resets
    model_ = std::make_unique<GraphicsModel>(*this);
    model_->nextOther = next;
    model_->observers = observers;
    model_->runner = runner;
    model_->screenOverride = screen;
}

bool Graphics::isValid(Handle h) const { return model_->objects.count(h) != 0; }
ObjectType Graphics::type(Handle h) const { return model_->obj(h).type; }
Handle Graphics::parent(Handle h) const { return model_->obj(h).parent; }

std::vector<Handle> Graphics::children(Handle h) const {
    const auto& k = model_->obj(h).kids;
    return {k.rbegin(), k.rend()};
}

std::vector<Handle> Graphics::figures() const { return children(0); }

Handle Graphics::create(ObjectType type, Handle parent, const Values& pairs) {
    return model_->create(type, parent, pairs);
}

void Graphics::remove(Handle h) { model_->remove(h); }

Value Graphics::get(Handle h, const std::string& name) const { return model_->get(h, name); }

const Value& Graphics::stored(Handle h, const std::string& name) const {
    const Object& o = model_->obj(h);
    const int i = typeSpec(o.type).find(lowerAscii(name));
    if (i < 0)
        throw Error("Invalid " + std::string(typeName(o.type)) + " property: '" + name + "'.");
    return o.props[static_cast<std::size_t>(i)];
}

void Graphics::set(Handle h, const std::string& name, const Value& value) {
    model_->set(h, name, value, false);
}

void Graphics::set(Handle h, const Values& pairs) {
    if (pairs.size() % 2 != 0) throw Error("Property names and values must come in pairs.");
    for (std::size_t i = 0; i < pairs.size(); i += 2) {
        if (!pairs[i].isChar()) throw Error("A property name must be a text.");
        model_->set(h, pairs[i].text(), pairs[i + 1], false);
    }
}

bool Graphics::hasProperty(Handle h, const std::string& name) const {
    return typeSpec(model_->obj(h).type).find(lowerAscii(name)) >= 0;
}

void Graphics::setFromHost(Handle h, const std::string& name, const Value& value) {
    model_->set(h, name, value, true);
}

bool Graphics::isAppData(Handle h, const std::string& name) const {
    return model_->obj(h).appData.count(name) != 0;
}

void Graphics::setAppData(Handle h, const std::string& name, Value value) {
    model_->obj(h).appData[name] = std::move(value);
}

Value Graphics::getAppData(Handle h, const std::string& name) const {
    const auto& a = model_->obj(h).appData;
    auto it = a.find(name);
    return it == a.end() ? Value() : it->second;
}

Rect Graphics::pixelPosition(Handle h) const { return model_->pixelRect(model_->obj(h)); }

bool Graphics::outOfSight(Handle axes) const {
    const Object& o = model_->obj(axes);
    return o.type == ObjectType::Axes && model_->outOfSight(o);
}

void Graphics::setPixelPosition(Handle h, const Rect& pixels) {
    model_->setPixelRect(model_->obj(h), pixels);
}

void Graphics::setPointerPosition(Handle figure, double x, double y) {
    GraphicsModel& m = *model_;
    const Object& f = m.obj(figure);
    if (f.type != ObjectType::Figure) throw Error("setPointerPosition: not a figure.");
    const Rect fp = m.pixelRect(f);
    const Rect in = rectFromPixels({x, y, 0, 0}, unitFromName(m.prop(f, "units").text()), fp[2],
                                   fp[3], m.screen().pixelsPerInch);
    m.set(figure, "CurrentPoint", Value::row({in[0], in[1]}), true);
    for (Handle k : f.kids) {
        const Object& ax = m.obj(k);
        if (ax.type != ObjectType::Axes) continue;
        const Rect ap = m.pixelRect(ax);
        const auto d = m.pixelsToData(ax, x - ap[0], y - ap[1]);
        m.set(k, "CurrentPoint", Value::matrix(2, 3, {d[0], d[0], d[1], d[1], 1, 0}), true);
    }
}

Handle Graphics::currentFigure() const { return model_->currentFigure(); }
void Graphics::setCurrentFigure(Handle figure) { model_->makeCurrentFigure(figure); }

Handle Graphics::currentAxes(Handle figure) const {
    const Value v = model_->get(figure, "CurrentAxes");
    return v.isEmpty() ? 0 : v.scalar();
}

std::vector<Handle> Graphics::withTag(const std::u16string& tag) const {
    auto it = model_->tagIndex.find(tag);
    if (it == model_->tagIndex.end()) return {};
    return it->second;
}

ScreenInfo Graphics::screen() const { return model_->screen(); }

void Graphics::setScreen(const ScreenInfo& screen) {
    model_->screenOverride = screen;
    model_->notifyChanged(0, "ScreenSize", ChangeKind::Mapping);
}

void Graphics::useHostScreen() {
    model_->screenOverride.reset();
    model_->notifyChanged(0, "ScreenSize", ChangeKind::Mapping);
}

std::array<double, 2> Graphics::measureText(const std::vector<std::u16string>& lines,
                                            const FontSpec& font) const {
    std::vector<std::u16string> shown;
    for (const auto& l : lines) {
        const auto split = textLines(Value(l));
        if (split.empty()) shown.emplace_back();
        shown.insert(shown.end(), split.begin(), split.end());
    }
    if (shown.empty()) shown.emplace_back();
    const TextBlock b = layoutText(shown, HAlign::Left, VAlign::Top, 0,
                                   hostLineMeasure(font, model_->screen().pixelsPerInch));
    return {b.width, b.height};
}

void Graphics::setCallbackRunner(CallbackRunner runner) { model_->runner = std::move(runner); }
const CallbackRunner& Graphics::callbackRunner() const { return model_->runner; }

void Graphics::addObserver(GraphicsObserver* observer) { model_->observers.push_back(observer); }

void Graphics::removeObserver(GraphicsObserver* observer) {
    auto& v = model_->observers;
    v.erase(std::remove(v.begin(), v.end(), observer), v.end());
}

Graphics& graphics() {
    static Graphics g;
    return g;
}

Rect defaultFigurePixels(const ScreenInfo& screen) {
    // A third of today's wide screens at 4:3, never below the classic 560 x 420.
    double w = std::max(560.0, std::round(0.45 * screen.width));
    double h = std::round(0.75 * w);
    if (h > 0.85 * screen.height && 0.85 * screen.height >= 420) {
        h = std::floor(0.85 * screen.height);
        w = std::round(h / 0.75);
    }
    return {std::floor((screen.width - w) / 2), std::floor((screen.height - h) / 2), w, h};
}

}  // namespace rt
