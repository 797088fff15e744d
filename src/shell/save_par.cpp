#include "shell/save_par.h"

#include "runtime/fileio/varfile.h"
#include "runtime/host.h"
#include "shell/get_par.h"
#include "shell/panel.h"
#include "shell/save_or_report.h"
#include "shell/strings.h"

namespace shell {

namespace {
// The parameter record's names as a file stores them (the two channels are sig1 and sig2).
const char* file_name_of(std::size_t i) {
    if (i == 12) return "sig1";
    if (i == 13) return "sig2";
    return kParNames[i];
}
}  // namespace

void save_par() {
    const Strings& st = text_table();
    auto choice = rt::uiputfile({{"*.cfg", rt::utf8(st.cfg_file)}, {"*.*", rt::utf8(st.all_file)}},
                                rt::utf8(st.par_file));
    if (!choice) return;
    // Only the name's own point counts as an extension.
    const std::optional<std::string> file =
        name_to_save(choice->folder + choice->name, ".cfg", choice->folder.size());
    if (!file) return;

    ParSlots par = read_par();
    // The coefficient is read last, so its field failing leaves it empty rather than unset: a
    // file holding it empty would not be the panel's parameters.
    if (par[par::fro]->isEmpty()) throw FieldNotANumber(rt::utf8(st.fro_no_number));
    std::vector<rt::NamedValue> vars;
    for (std::size_t i = 0; i < par.size(); ++i) vars.push_back({file_name_of(i), *par[i]});
    rt::Value wav = get_tagged("wav_file", "String");
    vars.push_back({"wavfile", wav.isEmpty() && !wav.isChar() ? rt::Value("") : wav});
    save_or_report(*file, [&] { rt::save(*file, vars); });
}

void register_save_par(rt::FunctionTable& table) {
    table.add("save_par", 0, 0, [](const rt::Values&, int) {
        save_par();
        return rt::Values{};
    });
}

}  // namespace shell
