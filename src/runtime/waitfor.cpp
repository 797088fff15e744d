#include <cctype>

#include "runtime/event_loop.h"
#include "runtime/graphics/graphics.h"
#include "runtime/host.h"
#include "runtime/value/text_ops.h"

namespace rt {

namespace {

bool sameText(const std::string& a, const std::string& b) {
    return rt::lowerAscii(a) == rt::lowerAscii(b);
}

bool matches(const Value& current, const Value& wanted) {
    if (current.isChar() && wanted.isChar()) return sameText(current.text(), wanted.text());
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
