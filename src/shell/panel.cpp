#include "shell/panel.h"

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"

namespace shell {

rt::Value tagged(const std::u16string& tag) {
    return rt::findobj({rt::Value("Tag"), rt::Value(tag)});
}
rt::Value tagged(const std::string& tag) { return rt::findobj({rt::Value("Tag"), rt::Value(tag)}); }

rt::Value get_tagged(const std::string& tag, const std::string& name) {
    return rt::get(tagged(tag), name);
}

void set_tagged(const std::string& tag, const std::string& name, const rt::Value& value) {
    rt::setProps(tagged(tag), {{name, value}});
}

std::u16string string_of(const std::string& tag) {
    rt::Value s = get_tagged(tag, "String");
    if (s.isCell()) s = s.cells().empty() ? rt::Value() : s.cellAt(0);
    return s.isChar() ? s.text16() : std::u16string();
}

double value_of(const std::string& tag) {
    rt::Value v = get_tagged(tag, "Value");
    if (v.isCell()) v = v.cells().empty() ? rt::Value() : v.cellAt(0);
    if (v.isEmpty()) rt::error("No control tagged '" + tag + "'.");
    return v.scalar();
}

}  // namespace shell
