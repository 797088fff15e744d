#include "tables/gearing_tab_bdf.h"

#include "tables/table_window.h"

namespace tables {

void gearing_tab_bdf() { accept_entry(gear_table()); }

void register_gearing_tab_bdf(rt::FunctionTable& table) {
    register_action(table, "gearing_tab_bdf", gearing_tab_bdf);
}

}  // namespace tables
