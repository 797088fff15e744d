#include "tables/gearing_tab_add.h"

#include "tables/table_window.h"

namespace tables {

void gearing_tab_add() { add_entry(gear_table()); }

void register_gearing_tab_add(rt::FunctionTable& table) {
    register_action(table, "gearing_tab_add", gearing_tab_add);
}

}  // namespace tables
