#include <cctype>

#include "runtime/event_loop.h"
#include "runtime/graphics/graphics.h"
#include "runtime/host.h"

namespace rt {

namespace {

bool sameText(const std::u16string& a, const std::u16string& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char16_t x = a[i], y = b[i];
        if (x < 128) x = static_cast<char16_t>(std::tolower(x));
        if (y < 128) y = static_cast<char16_t>(std::tolower(y));
        if (x != y) return false;
    }
    return true;
}

bool matches(const Value& current, const Value& wanted) {
    if (current.isChar() && wanted.isChar()) return sameText(current.text16(), wanted.text16());
    return current.equals(wanted);
}

}  // namespace

void waitfor(Handle h, const std::string& name, const Value& value) {
    Graphics& g = graphics();
    host().serveUntil([&] { return !g.isValid(h) || matches(g.get(h, name), value); });
}

void waitfor(Handle h) {
    Graphics& g = graphics();
    host().serveUntil([&] { return !g.isValid(h); });
}

}  // namespace rt
