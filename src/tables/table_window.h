// The table window shared by the tire and the gear table: a fixed-width list sorted by name,
// four fields showing the selected entry, and add, remove, accept and cancel. The window keeps
// its state in its list: String = the shown rows, Value = the selection (1-based, sorted
// order), UserData = the raw rows "a;b;c;d;" in the same order (both lists of texts, one a
// row). The file is the only lasting state; it is read on every (re)build and rewritten whole
// on every add or remove.
//
// Problems the user can act on (a file that is no table file, an entry the file cannot hold,
// a failed write) are shown in an error dialog naming the file, and the line where it is the
// file's; nothing is written then and the window stays as it was.
#pragma once

#include "runtime/dispatch/function_table.h"
#include "tables/table_kinds.h"

namespace tables {

// Builds the window, or rebuilds it in place (same window and position, new controls), with
// row `vvv` selected, clamped to the list. A missing or empty file shows an empty list.
void show_table(const TableKind& kind, double vvv);

// Copies the selected entry's number ("%0.3f") into the main window's field and the entry into
// the four fields. Does nothing when nothing is selected.
void accept_entry(const TableKind& kind);

// Asks, then removes the selected entry, rewrites the file and rebuilds the window; the same
// line stays selected, or the new last one.
void remove_entry(const TableKind& kind);

// Asks, then appends the four fields as typed as a new entry, rewrites the file and rebuilds
// the window with the same line selected. A missing file is created.
void add_entry(const TableKind& kind);

// The by-name entry of a window's opener: the row to select (1 when omitted), no outputs.
void register_show(rt::FunctionTable& table, const char* name, void (*show)(double vvv));
// The by-name entry of a window action: no inputs, no outputs.
void register_action(rt::FunctionTable& table, const char* name, void (*action)());

}  // namespace tables
