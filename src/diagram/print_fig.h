// The screenshot button of a diagram window.
#pragma once

#include <string>

#include "runtime/dispatch/function_table.h"
#include "runtime/graphics/graphics.h"

namespace diagram {

// The file name and image type a typed name stands for: ".bmp" appended to a name (folder
// included) without a point, "bmp" to a name ending in a point, ".bmp" to a name whose suffix
// has not the character sum of ".bmp", ".png" or ".jpg" in lower case; the type is "jpeg"
// for ".jpg", else the suffix as typed without its point ("PNG" stays "PNG"). A name that
// gives a folder ("sub/", "sub/.") is refused as rt::SaveError.
struct ScreenshotName {
    std::string file;
    std::string type;
};
ScreenshotName screenshot_name(std::string file);

// Asks for a file name (the dialog opens in the recording's folder; the working folder is
// the same afterwards), waits a second for the window to be redrawn without the dialog, and
// saves the window as BMP, PNG or JPEG: its grab, or else its print at the window's
// resolution on paper. The window's PaperUnits are inches afterwards. The file is replaced
// only by a complete new one: a refused or failed save shows an error dialog
// (shell::save_or_report) and leaves an old file whole.
void print_fig(rt::Handle fig);

// "print_fig": the window's handle in, nothing out.
void register_print_fig(rt::FunctionTable& table);

}  // namespace diagram
