#include "tables/table_window.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/fileio/atomic_file.h"
#include "runtime/fileio/regular_file.h"
#include "runtime/graphics/operations.h"
#include "runtime/graphics/window.h"
#include "runtime/host.h"
#include "runtime/value/num2str.h"
#include "shell/panel.h"
#include "shell/save_or_report.h"
#include "tables/table_file.h"

namespace tables {

namespace {

using rt::Value;
using shell::Strings;

std::string quoted(const char* file) { return std::string("\"") + file + "\""; }

// Where and why the file is refused, in the build's language.
std::string fault_text(const TableKind& k, const Strings& st, const TableFault& f) {
    const std::u16string Strings::*why[] = {&Strings::tab_bad_file, &Strings::tab_long_field,
                                            &Strings::tab_many_lines};
    std::u16string at = st.tab_at_line;
    if (const std::size_t p = at.find(u"%d"); p != std::u16string::npos)
        at.replace(p, 2, rt::utf16(std::to_string(f.line)));
    return quoted(k.file) + rt::utf8(at + u" " + st.*why[f.kind]);
}

// The file's entries; a missing file holds none. nullopt after telling the user why not, in
// a dialog titled as a failed write of the table is.
// A file it refuses is read no further than its first fault.
std::optional<std::vector<Entry>> read_entries(const TableKind& k, const Strings& st) {
    std::error_code ec;
    if (!std::filesystem::exists(k.file, ec)) return std::vector<Entry>{};
    std::string why;
    TableReader reader;
    const int fd = rt::openRegularFile(k.file, why);
    if (fd >= 0) {
        char buf[65536];
        ssize_t n;
        while ((n = ::read(fd, buf, sizeof buf)) > 0 &&
               reader.read({buf, static_cast<std::size_t>(n)})) {
        }
        if (n < 0) why = std::strerror(errno);
        ::close(fd);
    }
    if (!why.empty()) {
        rt::errordlg(quoted(k.file) + " " + rt::utf8(st.tab_unreadable) + "\n" + why,
                     rt::utf8(st.file_error));
        return std::nullopt;
    }
    TableRead read = reader.finish();
    if (auto* fault = std::get_if<TableFault>(&read)) {
        rt::errordlg(fault_text(k, st, *fault), rt::utf8(st.file_error));
        return std::nullopt;
    }
    return std::move(std::get<std::vector<Entry>>(read));
}

// Rewrites the file whole with these rows; false after telling the user, the old file then
// being unchanged. Rows the file could not hold are refused before anything is written.
bool write_entries(const TableKind& k, const std::vector<std::u16string>& raw) {
    std::vector<Entry> entries;
    entries.reserve(raw.size());
    for (const auto& row : raw)
        if (auto e = split_raw_row(row)) entries.push_back(std::move(*e));
    const std::optional<std::string> bytes = encode_table(entries);
    if (!bytes || entries.size() != raw.size()) {
        rt::errordlg(rt::utf8(shell::text_table().tab_bad_field));
        return false;
    }
    return shell::save_or_report(
        k.file, [&] { rt::saveFileAtomically(k.file, *bytes); }, &Strings::tab_write_failed);
}

// The window's texts as a list value: one text each, so that one long row does not pad
// every other.
Value text_list(const std::vector<std::u16string>& texts) {
    return Value::cell(texts.size(), 1, rt::Values(texts.begin(), texts.end()));
}

std::optional<rt::Handle> only(const std::vector<rt::Handle>& hs) {
    if (hs.empty()) return std::nullopt;
    return hs.front();
}

std::optional<rt::Handle> table_figure(const TableKind& k) {
    return only(rt::graphics().withTag(rt::utf16(k.figure_tag)));
}

// The list's selection (0-based) and raw rows, as the window keeps them.
struct ListState {
    std::optional<std::size_t> selected;  // nullopt: nothing selected, or no such row
    std::vector<std::u16string> raw;
};

std::optional<ListState> list_state(const TableKind& k) {
    auto list = only(rt::graphics().withTag(rt::utf16(k.list_tag)));
    if (!list) return std::nullopt;
    ListState s;
    const Value rows = rt::get(Value(*list), "UserData");
    if (rows.isCell())
        for (const Value& row : rows.cells())
            if (row.isChar()) s.raw.push_back(row.text16());
    const Value v = rt::get(Value(*list), "Value");
    if (v.isNumeric() && !v.isEmpty()) {
        const double x = std::round(v.scalar());
        if (x >= 1 && x <= static_cast<double>(s.raw.size()))
            s.selected = static_cast<std::size_t>(x) - 1;
    }
    return s;
}

// The window's Pointer shows "watch" while an add or remove works, whatever way it ends.
class BusyPointer {
public:
    explicit BusyPointer(const TableKind& k) : fig_(table_figure(k)) { point("watch"); }
    ~BusyPointer() {
        if (fig_ && rt::graphics().isValid(*fig_)) point("arrow");
    }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    void point(const char* shape) {
        if (fig_) rt::setProps(Value(*fig_), {{"Pointer", shape}});
    }
    std::optional<rt::Handle> fig_;
};

bool confirmed(const TableKind& k, const Strings& st, const std::u16string& row,
               const std::u16string& question) {
    const std::string yes = rt::utf8(st.yes);
    return rt::questdlg(rt::utf8(row + u"\n" + question), rt::utf8(u"¿" + st.*k.title + u"?"), yes,
                        rt::utf8(st.no), yes) == yes;
}

rt::Handle make_or_clear_figure(const TableKind& k, const Strings& st) {
    if (auto fig = table_figure(k)) {
        rt::deleteObjects(rt::allchild(Value(*fig)));
        return rt::figure({Value(*fig)});
    }
    rt::Props props{
        {"NumberTitle", "off"}, {"Name", st.*k.title}, {"Tag", k.figure_tag}, {"MenuBar", "none"}};
    if (auto main = only(rt::graphics().withTag(u"Main Figure"))) {
        const std::vector<double> g = rt::get(Value(*main), "Position").real();
        props.push_back({"Units", rt::get(Value(*main), "Units")});
        props.push_back(
            {"Position", {g[0] - 0.15 * g[2], g[1] + 0.05 * g[3], 1.05 * g[2], 0.65 * g[3]}});
    }
    return rt::makeFigure(props);
}

}  // namespace

void show_table(const TableKind& k, double vvv) {
    const Strings& st = shell::text_table();
    auto entries = read_entries(k, st);
    if (!entries) return;
    const Arranged a = arrange(*entries);
    const double n = static_cast<double>(a.entries.size());
    vvv = std::clamp(std::isfinite(vvv) ? std::round(vvv) : 1.0, 1.0, std::max(n, 1.0));
    const Entry shown = a.entries.empty() ? Entry{} : a.entries[static_cast<std::size_t>(vvv) - 1];

    const rt::Handle fig = make_or_clear_figure(k, st);
    const rt::Prop center{"HorizontalAlignment", "center"};
    rt::makeControl(fig, "ListBox", {0.025, 0.2, 0.95, 0.75},
                    {{"Tag", k.list_tag},
                     {"String", text_list(a.display)},
                     {"FontName", "FixedWidth"},
                     {"CallBack", ""},
                     {"Value", vvv},
                     {"UserData", text_list(a.raw)}});
    rt::makeControl(fig, "frame", {0.025, 0.005, 0.95, 0.18});
    const double left[4] = {0.05, 0.31, 0.44, 0.57};
    const double label_width[4] = {0.15, 0.12, 0.12, 0.12};
    const double field_width[4] = {0.25, 0.12, 0.12, 0.12};
    for (std::size_t f = 0; f < 4; ++f) {
        rt::makeControl(fig, "text", {left[f], 0.085, label_width[f], 0.075},
                        {{"Tag", k.label_tags[f]}, {"String", st.*k.labels[f]}, center});
        rt::makeControl(fig, "edit", {left[f], 0.025, field_width[f], 0.075},
                        {{"Tag", k.field_tags[f]}, {"String", shown[f]}, center});
    }
    auto button = [&](const rt::Rect& pos, const std::u16string& label,
                      const std::string& callback) {
        rt::makeControl(fig, "push", pos,
                        {{"Tag", "PushRemove"}, {"String", label}, center, {"Callback", callback}});
    };
    const std::string number = rt::num2str(fig);
    button({0.7, 0.0925, 0.125, 0.075}, st.Wtireadd, k.add_fn);
    button({0.7, 0.0175, 0.125, 0.075}, st.Wtirerm, k.remove_fn);
    button({0.835, 0.0925, 0.125, 0.075}, st.accept,
           std::string(k.accept_fn) + "; close(" + number + ")");
    button({0.835, 0.0175, 0.125, 0.075}, st.cancel, "close(" + number + ")");
}

void accept_entry(const TableKind& k) {
    auto s = list_state(k);
    if (!s || !s->selected) return;
    auto e = split_raw_row(s->raw[*s->selected]);
    if (!e) return;
    // As the window showed it: a fourth field that is no number is copied as it stands, for the
    // next calculation to name, rather than emptying the main window's field.
    (*e)[3] = table_number((*e)[3]);
    rt::setProps(shell::tagged(k.main_field), {{"String", (*e)[3]}});
    for (std::size_t f = 0; f < 4; ++f)
        rt::setProps(shell::tagged(k.field_tags[f]), {{"String", (*e)[f]}});
}

void remove_entry(const TableKind& k) {
    BusyPointer busy(k);
    auto s = list_state(k);
    if (!s || !s->selected) return;
    const Strings& st = shell::text_table();
    const std::size_t row = *s->selected;
    if (!confirmed(k, st, s->raw[row], st.delask)) return;
    s->raw.erase(s->raw.begin() + static_cast<std::ptrdiff_t>(row));
    if (!write_entries(k, s->raw)) return;
    show_table(k, static_cast<double>(std::min(row + 1, s->raw.size())));
}

void add_entry(const TableKind& k) {
    BusyPointer busy(k);
    auto s = list_state(k);
    if (!s) return;
    const Strings& st = shell::text_table();
    Entry e;
    for (std::size_t f = 0; f < 4; ++f) e[f] = shell::string_of(k.field_tags[f]);
    if (!std::all_of(e.begin(), e.end(), [](const auto& x) { return storable(x); })) {
        rt::errordlg(rt::utf8(st.tab_bad_field));
        return;
    }
    if (s->raw.size() >= kMaxLines) {
        rt::errordlg(rt::utf8(st.tab_full));
        return;
    }
    const std::u16string row = raw_row(e);
    if (!confirmed(k, st, row, st.addask)) return;
    s->raw.push_back(row);
    if (!write_entries(k, s->raw)) return;
    show_table(k, s->selected ? static_cast<double>(*s->selected + 1) : 1.0);
}

void register_show(rt::FunctionTable& table, const char* name, void (*show)(double)) {
    table.add(name, 1, 0, [show](const rt::Values& in, int) {
        show(in.empty() || in[0].isEmpty() ? 1.0 : in[0].scalar());
        return rt::Values{};
    });
}

void register_action(rt::FunctionTable& table, const char* name, void (*action)()) {
    table.add(name, 0, 0, [action](const rt::Values&, int) {
        action();
        return rt::Values{};
    });
}

}  // namespace tables
