// The ASCII export button of a diagram window.
#pragma once

#include <string>
#include <vector>

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"

namespace diagram {

// Asks for a file name (the dialog opens in the recording's folder; the working folder is
// the same afterwards) and writes the window's visible curves without their dots into it,
// newest first, each after a line "0.000000 0.000000", as "%f %f" lines ending in CR LF; ".txt"
// is appended to a name (folder included) without a point. The file is replaced only by a
// complete new one: a refused or failed save (a name that gives a folder, a read-only file,
// a full disk) shows an error dialog (shell::save_or_report) and leaves an old file whole.
void export_ascii(rt::Handle fig);

// The export file's text for curves given as (x, y) pairs, in the order written.
std::string ascii_export_text(const std::vector<std::pair<rt::Value, rt::Value>>& curves);

// "export_ascii": the window's handle in, nothing out.
void register_export_ascii(rt::FunctionTable& table);

}  // namespace diagram
