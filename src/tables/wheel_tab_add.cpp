#include "tables/wheel_tab_add.h"

#include "tables/table_window.h"

namespace tables {

void wheel_tab_add() { add_entry(tire_table()); }

void register_wheel_tab_add(rt::FunctionTable& table) {
    register_action(table, "wheel_tab_add", wheel_tab_add);
}

}  // namespace tables
