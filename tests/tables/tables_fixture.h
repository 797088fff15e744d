// Plays the tire calculator and the two table windows from the main window, in a fresh
// folder, with scripted dialogs.
#pragma once

#include <string>
#include <vector>

#include "support/shell_fixture.h"

namespace tables_test {

class TablesTest : public shell_test::ShellTest {
protected:
    const shell::Strings& de() const { return shell::german_table(); }

    static void write_file(const std::string& name, const std::string& bytes);
    static std::string read_file(const std::string& name);  // "" when missing

    // Presses the button labelled `label` on the window tagged `figure_tag`.
    void press(const char* figure_tag, const std::u16string& label);
    // The list's rows without their padding, and its selection.
    std::vector<std::u16string> rows(const char* list_tag = "WheelList") const;
    double selected(const char* list_tag = "WheelList") const { return value(list_tag); }
    bool window_open(const char* figure_tag) const;
    // The text the last dialog showed.
    std::string last_dialog() const;
};

}  // namespace tables_test
