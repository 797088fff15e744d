#include "tables/gearing_tab.h"

#include "tables/table_window.h"

namespace tables {

void gearing_tab(double vvv) { show_table(gear_table(), vvv); }

void register_gearing_tab(rt::FunctionTable& table) {
    register_show(table, "gearing_tab", gearing_tab);
}

}  // namespace tables
