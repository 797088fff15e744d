#include "diagram/export_ascii.h"

#include "runtime/dispatch/error.h"
#include "runtime/fileio/atomic_file.h"
#include "runtime/graphics/operations.h"
#include "runtime/host.h"
#include "runtime/value/sprintf.h"
#include "shell/recording_folder.h"
#include "shell/save_or_report.h"
#include "shell/strings.h"

namespace diagram {

std::string ascii_export_text(const std::vector<std::pair<rt::Value, rt::Value>>& curves) {
    std::vector<double> pairs;
    for (const auto& [x, y] : curves) {
        const std::vector<double> xs = x.real(), ys = y.real();
        if (xs.size() != ys.size())
            rt::error("export_ascii: a curve has x and y of other lengths.");
        pairs.insert(pairs.end(), {0.0, 0.0});
        for (std::size_t i = 0; i < xs.size(); ++i) pairs.insert(pairs.end(), {xs[i], ys[i]});
    }
    if (pairs.empty()) pairs = {0.0, 0.0};
    const std::size_t n = pairs.size() / 2;
    return rt::formatUtf8("%f %f\r\n", {rt::Value::matrix(2, n, std::move(pairs))});
}

void export_ascii(rt::Handle fig) {
    const shell::Strings& st = shell::text_table();
    const auto choice = shell::in_folder_of("wav_file", [&] {
        return rt::uiputfile({{"*.txt", rt::utf8(st.asc_file)}, {"*.*", rt::utf8(st.all_file)}},
                             rt::utf8(st.out_files));
    });
    if (!choice) return;
    const std::optional<std::string> file =
        shell::name_to_save(choice->folder + choice->name, ".txt");
    if (!file) return;

    rt::graphics().setCurrentFigure(fig);
    const std::u16string figname = rt::get(fig, "Name").text16();
    const rt::Value ad = rt::findobj({rt::Value("Tag"), rt::Value(u"DiagAxes" + figname)});
    if (ad.isEmpty()) rt::error("export_ascii: the diagram window has no axes.");
    std::vector<std::pair<rt::Value, rt::Value>> curves;
    for (double h : rt::findobj({ad, rt::Value("Type"), rt::Value("line"), rt::Value("Visible"),
                                 rt::Value("on"), rt::Value("Marker"), rt::Value("none")})
                        .real())
        curves.emplace_back(rt::get(h, "XData"), rt::get(h, "YData"));
    const std::string text = ascii_export_text(curves);
    shell::save_or_report(*file, [&] { rt::saveFileAtomically(*file, text); });
}

void register_export_ascii(rt::FunctionTable& table) {
    table.add("export_ascii", 1, 0, [](const rt::Values& in, int) {
        if (in.empty()) rt::error("Not enough input arguments.");
        export_ascii(in[0].scalar());
        return rt::Values{};
    });
}

}  // namespace diagram
