// The tire table and the gear table are one window and one file format; what differs
// between them is this record.
#pragma once

#include <array>
#include <string>

#include "shell/strings.h"

namespace tables {

struct TableKind {
    const char* file;        // in the working folder
    const char* figure_tag;  // the window's Tag
    std::u16string shell::Strings::*
        title;  // the window's Name, and the questions' title inside "¿?"
    const char* list_tag;
    std::array<const char*, 4> field_tags;  // in column order
    std::array<const char*, 4> label_tags;
    std::array<std::u16string shell::Strings::*, 4> labels;
    const char* main_field;  // the main window's field that accept fills
    // The functions callable by name that the window's buttons run.
    const char* accept_fn;
    const char* remove_fn;
    const char* add_fn;
};

const TableKind& tire_table();
const TableKind& gear_table();

}  // namespace tables
