#include "diagram/print_fig.h"

#include <cmath>
#include <functional>
#include <iterator>

#include "runtime/dispatch/error.h"
#include "runtime/fileio/atomic_file.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/host.h"
#include "runtime/image_io.h"
#include "runtime/value/num2str.h"
#include "shell/recording_folder.h"
#include "shell/save_or_report.h"
#include "shell/strings.h"

namespace diagram {

namespace {

int code_sum(const std::string& s) {
    int sum = 0;
    for (char c : s) sum += static_cast<unsigned char>(std::tolower(static_cast<unsigned char>(c)));
    return sum;
}

// Pixels across the window per inch of its paper width.
double resolution(rt::Handle fig) {
    rt::setProps(fig, {{"PaperUnits", "inches"}});
    const double paper = rt::get(fig, "PaperPosition").at(2);
    const rt::Value units = rt::get(fig, "Units");
    rt::setProps(fig, {{"Units", "pixels"}});
    const double width = rt::get(fig, "Position").at(2);
    rt::setProps(fig, {{"Units", units}});
    return width / paper;
}

}  // namespace

ScreenshotName screenshot_name(std::string file) {
    rt::requireFileName(file);
    std::string suffix;
    const std::size_t dot = file.rfind('.');
    if (dot == std::string::npos) {
        file += ".bmp";
        suffix = ".bmp";
    } else {
        suffix = file.substr(dot);
        if (suffix == ".") {
            file += "bmp";
            suffix = ".bmp";
        }
    }
    const int sum = code_sum(suffix);
    if (sum != 365 && sum != 371 && sum != 367) {
        file += ".bmp";
        suffix = ".bmp";
    }
    return {file, suffix == ".jpg" ? "jpeg" : suffix.substr(1)};
}

void print_fig(rt::Handle fig) {
    const shell::Strings& st = shell::text_table();
    const auto choice = shell::in_folder_of("wav_file", [&] {
        return rt::uiputfile(
            {{"*.bmp;*.jpg;*.png;", rt::utf8(st.sup_file)}, {"*.*", rt::utf8(st.all_file)}},
            rt::utf8(st.print_files));
    });
    if (!choice) return;
    const std::string typed = choice->folder + choice->name;
    ScreenshotName name;
    if (!shell::save_or_report(typed, [&] { name = screenshot_name(typed); })) return;
    rt::graphics().setCurrentFigure(fig);
    rt::pause(1);
    const std::string dpi = "-r" + rt::num2str(std::round(resolution(fig)));

    // Each way replaces the file only whole. A refused save ends them all: the next way
    // would meet the same file.
    const rt::Value device("-d" + name.type);
    const std::function<void()> ways[] = {
        [&] { rt::imwrite(rt::frame2im(rt::getframe(fig)), name.file, name.type); },
        [&] {
            rt::print({device, rt::Value("-opengl"), rt::Value(dpi), rt::Value(name.file)});
        },
        [&] {
            rt::print({device, rt::Value(dpi), rt::Value(name.file)});
        },
    };
    shell::save_or_report(name.file, [&] {
        for (std::size_t i = 0;; ++i) {
            try {
                ways[i]();
                return;
            } catch (const rt::SaveError&) {
                throw;
            } catch (const rt::Error&) {
                if (i + 1 == std::size(ways)) throw;
            }
        }
    });
}

void register_print_fig(rt::FunctionTable& table) {
    table.add("print_fig", 1, 0, [](const rt::Values& in, int) {
        if (in.empty()) rt::error("Not enough input arguments.");
        print_fig(in[0].scalar());
        return rt::Values{};
    });
}

}  // namespace diagram
