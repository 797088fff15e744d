#include "tables/wheel_tab_bdf.h"

#include "tables/table_window.h"

namespace tables {

void wheel_tab_bdf() { accept_entry(tire_table()); }

void register_wheel_tab_bdf(rt::FunctionTable& table) {
    register_action(table, "wheel_tab_bdf", wheel_tab_bdf);
}

}  // namespace tables
