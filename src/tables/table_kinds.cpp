#include "tables/table_kinds.h"

namespace tables {

using shell::Strings;

const TableKind& tire_table() {
    static const TableKind k{
        .file = "tire_tab.txt",
        .figure_tag = "WheelList Figure",
        .title = &Strings::Wwheellist,
        .list_tag = "WheelList",
        .field_tags = {"TireName", "TireSize", "WheelSize", "TireCircum"},
        .label_tags = {"TireNameTxT", "TireSizeTxT", "WheelSizeTxT", "TireCircTxT"},
        .labels = {&Strings::Wtirename, &Strings::Wtiresize, &Strings::Wwheelsize,
                   &Strings::Wtirecirc},
        .main_field = "wheel_perim",
        .accept_fn = "wheel_tab_bdf",
        .remove_fn = "wheel_tab_rm",
        .add_fn = "wheel_tab_add",
    };
    return k;
}

const TableKind& gear_table() {
    static const TableKind k{
        .file = "gearing_tab.txt",
        .figure_tag = "GearList Figure",
        .title = &Strings::Ggearlist,
        .list_tag = "GearingList",
        .field_tags = {"GearName", "GearType", "GGear", "GRatio"},
        .label_tags = {"GearNameTxT", "GearTypeTxT", "GGearTxT", "GRatioTxT"},
        .labels = {&Strings::Gname, &Strings::Gtype, &Strings::Ggear, &Strings::Gratio},
        .main_field = "gear_ratio",
        .accept_fn = "gearing_tab_bdf",
        .remove_fn = "gearing_tab_rm",
        .add_fn = "gearing_tab_add",
    };
    return k;
}

}  // namespace tables
