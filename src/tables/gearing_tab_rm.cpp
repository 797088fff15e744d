#include "tables/gearing_tab_rm.h"

#include "tables/table_window.h"

namespace tables {

void gearing_tab_rm() { remove_entry(gear_table()); }

void register_gearing_tab_rm(rt::FunctionTable& table) {
    register_action(table, "gearing_tab_rm", gearing_tab_rm);
}

}  // namespace tables
