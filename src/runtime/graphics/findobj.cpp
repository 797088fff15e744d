#include <algorithm>
#include <cmath>
#include <functional>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/model.h"
#include "runtime/graphics/operations.h"

namespace rt {

namespace {

struct Criterion {
    std::string lower;  // property name
    Value value;
};

bool numericLike(const Value& v) { return v.isDouble() || v.isLogical() || v.isUInt8(); }

bool sameValue(const Value& a, const Value& b) {
    if (numericLike(a) && numericLike(b)) {
        if (a.dims() != b.dims() && !(a.isEmpty() && b.isEmpty())) return false;
        const auto x = a.real(), y = b.real();
        return x == y && a.imag() == b.imag();
    }
    return a.equals(b);
}

bool matches(const GraphicsModel& m, Handle h, const Criterion& c) {
    const Object& o = m.obj(h);
    const TypeSpec& ts = typeSpec(o.type);
    const int idx = ts.find(c.lower);
    if (idx < 0) return false;
    if (c.lower == "type")
        return c.value.isChar() && lowerAscii(c.value.text()) == typeName(o.type);
    const PropSpec& spec = ts.props[static_cast<std::size_t>(idx)];
    const Value actual = m.get(o, idx);
    if (spec.kind == PropKind::Enum) {
        if (!c.value.isChar()) return false;
        const std::string w = matchEnum(spec.options, c.value.text());
        return !w.empty() && actual.text() == w;
    }
    if (spec.kind == PropKind::Color) {
        try {
            return sameValue(normalizeValue(spec, c.value, typeName(o.type)), actual);
        } catch (const Error&) {
            return false;
        }
    }
    return sameValue(actual, c.value);
}

bool hidden(const GraphicsModel& m, Handle h) {
    if (m.prop(m.obj(0), "showhiddenhandles").text() == "on") return false;
    return m.prop(m.obj(h), "handlevisibility").text() == "off";
}

}  // namespace

Value findobj(const Values& args) {
    Graphics& g = graphics();
    const GraphicsModel& m = g.model();
    std::size_t i = 0;
    std::vector<double> starts{0.0};
    if (i < args.size() && !args[i].isChar()) {
        if (!args[i].isNumeric() && !args[i].isLogical())
            throw Error("findobj: handles must be numeric.");
        starts = args[i].real();
        for (double h : starts)
            if (!g.isValid(h)) throw Error("findobj: invalid handle.");
        ++i;
    }
    bool flat = false;
    if (i < args.size() && args[i].isChar() && lowerAscii(args[i].text()) == "flat") {
        flat = true;
        ++i;
    }
    if ((args.size() - i) % 2 != 0)
        throw Error("findobj: property names and values must come in pairs.");
    std::vector<Criterion> crit;
    const Value* tag = nullptr;
    for (; i < args.size(); i += 2) {
        if (!args[i].isChar()) throw Error("findobj: a property name must be a text.");
        crit.push_back({lowerAscii(args[i].text()), args[i + 1]});
        if (crit.back().lower == "tag") tag = &args[i + 1];
    }
    auto all = [&](Handle h) {
        for (const auto& c : crit)
            if (!matches(m, h, c)) return false;
        return true;
    };

    std::vector<double> found;
    auto addOnce = [&](Handle h) {
        if (std::find(found.begin(), found.end(), h) == found.end()) found.push_back(h);
    };
    if (flat) {
        for (double h : starts)
            if (all(h)) addOnce(h);
    } else if (tag && tag->isChar() && !tag->isEmpty()) {
        // Indexed: candidates by Tag, kept when they lie below a start object along visible
        // handles, ordered as the depth-first walk would meet them.
        const auto cands = g.withTag(tag->text16());
        auto pathOf = [&](Handle h) {
            std::vector<std::ptrdiff_t> p;
            for (Handle x = h; x != 0;) {
                const Object& o = m.obj(x);
                const auto& kids = m.obj(o.parent).kids;
                const auto pos = std::find(kids.begin(), kids.end(), x) - kids.begin();
                p.push_back(-pos);  // newest (largest position) first
                x = o.parent;
            }
            std::reverse(p.begin(), p.end());
            return p;
        };
        for (double s : starts) {
            std::vector<std::pair<std::vector<std::ptrdiff_t>, Handle>> hits;
            for (Handle c : cands) {
                bool under = false;
                for (Handle x = c;;) {
                    if (x == s) {
                        under = true;
                        break;
                    }
                    if (x == 0 || m.obj(x).isLabel || hidden(m, x)) break;
                    x = m.obj(x).parent;
                }
                if (under && all(c)) hits.emplace_back(pathOf(c), c);
            }
            std::sort(hits.begin(), hits.end());
            for (const auto& hp : hits) addOnce(hp.second);
        }
    } else {
        std::function<void(Handle)> walk = [&](Handle h) {
            if (all(h)) addOnce(h);
            const auto& kids = m.obj(h).kids;
            for (auto it = kids.rbegin(); it != kids.rend(); ++it)
                if (!hidden(m, *it)) walk(*it);
        };
        for (double s : starts) walk(s);
    }
    return found.empty() ? Value::empty(0, 1) : Value::column(found);
}

}  // namespace rt
