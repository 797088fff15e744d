#include "tables/table_window.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <optional>
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

// The file's entries; a missing file holds none. nullopt after telling the user why not.
std::optional<std::vector<Entry>> read_entries(const TableKind& k, const Strings& st) {
    std::error_code ec;
    if (!std::filesystem::exists(k.file, ec)) return std::vector<Entry>{};
    std::string why;
    std::string bytes;
    const int fd = rt::openRegularFile(k.file, why);
    if (fd >= 0) {
        char buf[4096];
        ssize_t n;
        while ((n = ::read(fd, buf, sizeof buf)) > 0)
            bytes.append(buf, static_cast<std::size_t>(n));
        if (n < 0) why = std::strerror(errno);
        ::close(fd);
    }
    if (!why.empty()) {
        rt::errordlg(rt::utf8(st.file_error) + ": " + quoted(k.file) + " (" + why + ")");
        return std::nullopt;
    }
    auto entries = parse_table(decode_latin1(bytes));
    if (!entries) rt::errordlg(quoted(k.file) + " " + rt::utf8(st.tab_bad_file));
    return entries;
}

// Rewrites the file whole; false after telling the user, the old file then being unchanged.
bool write_entries(const TableKind& k, const std::vector<std::u16string>& raw) {
    return shell::save_or_report(
        k.file, [&] { rt::saveFileAtomically(k.file, encode_table(raw)); },
        &Strings::tab_write_failed);
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
    if (rows.isChar()) s.raw = rows.rowTexts();
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
                     {"String", Value::charMatrix(a.display)},
                     {"FontName", "FixedWidth"},
                     {"CallBack", ""},
                     {"Value", vvv},
                     {"UserData", Value::charMatrix(a.raw)}});
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
    (*e)[3] = format_number((*e)[3]);
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
