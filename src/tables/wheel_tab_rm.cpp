#include "tables/wheel_tab_rm.h"

#include "tables/table_window.h"

namespace tables {

void wheel_tab_rm() { remove_entry(tire_table()); }

void register_wheel_tab_rm(rt::FunctionTable& table) {
    register_action(table, "wheel_tab_rm", wheel_tab_rm);
}

}  // namespace tables
