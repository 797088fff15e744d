#include "shell/clear_cache.h"

#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "shell/panel.h"

namespace shell {

void clear_cache() {
    rt::Value cache = tagged("Saved Data");
    for (double ax : cache.real()) {
        if (rt::graphics().type(ax) == rt::ObjectType::Axes)
            rt::deleteObjects(rt::get(rt::Value(ax), "Children"));
    }
    rt::Value fig = tagged("Main Figure");
    if (fig.isEmpty()) return;
    rt::Value gen = rt::get(fig, "UserData");
    rt::setProps(fig, {{"UserData", gen.scalar() + 1}});
}

void register_clear_cache(rt::FunctionTable& table) {
    table.add("clear_cache", 0, 0, [](const rt::Values&, int) {
        clear_cache();
        return rt::Values{};
    });
}

}  // namespace shell
