#include "tables/wheel_tab.h"

#include "tables/table_window.h"

namespace tables {

void wheel_tab(double vvv) { show_table(tire_table(), vvv); }

void register_wheel_tab(rt::FunctionTable& table) { register_show(table, "wheel_tab", wheel_tab); }

}  // namespace tables
