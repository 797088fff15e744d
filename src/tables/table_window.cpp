#include "tables/table_window.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/graphics/operations.h"
#include "runtime/host.h"
#include "runtime/value/num2str.h"
#include "shell/panel.h"
#include "tables/table_file.h"

namespace tables {

namespace {

using rt::Value;
using rt::Values;
using shell::Strings;

std::string quoted(const char* file) { return std::string("\"") + file + "\""; }

// The file's entries; a missing file holds none. nullopt after telling the user why not.
std::optional<std::vector<Entry>> read_entries(const TableKind& k, const Strings& st) {
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::exists(k.file, ec)) return std::vector<Entry>{};
    std::ifstream in(k.file, std::ios::binary);
    std::ostringstream bytes;
    if (in && fs::is_regular_file(k.file, ec)) bytes << in.rdbuf();
    if (!in || !fs::is_regular_file(k.file, ec)) {
        rt::errordlg(rt::utf8(st.file_error) + ": " + quoted(k.file));
        return std::nullopt;
    }
    auto entries = parse_table(decode_latin1(bytes.str()));
    if (!entries) rt::errordlg(quoted(k.file) + " " + rt::utf8(st.tab_bad_file));
    return entries;
}

// Rewrites the file whole; false after telling the user, the old file then being unchanged.
bool write_entries(const TableKind& k, const Strings& st, const std::vector<std::u16string>& raw) {
    const std::string bytes = encode_table(raw);
    const std::string tmp = std::string(k.file) + ".tmp";
    std::string reason;
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) reason = "write failed";
    }
    std::error_code ec;
    if (reason.empty()) std::filesystem::rename(tmp, k.file, ec);
    if (ec) reason = ec.message();
    if (reason.empty()) return true;
    std::filesystem::remove(tmp, ec);
    rt::errordlg(quoted(k.file) + " " + rt::utf8(st.tab_write_failed) + "\n" + reason);
    return false;
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
    const Value rows = rt::graphics().get(*list, "UserData");
    if (rows.isChar()) s.raw = rows.rowTexts();
    const Value v = rt::graphics().get(*list, "Value");
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
        if (fig_) rt::graphics().set(*fig_, "Pointer", Value(shape));
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
    Values pairs{Value("NumberTitle"), Value("off"),        Value("Name"),    Value(st.*k.title),
                 Value("Tag"),         Value(k.figure_tag), Value("MenuBar"), Value("none")};
    if (auto main = only(rt::graphics().withTag(u"Main Figure"))) {
        const std::vector<double> g = rt::graphics().get(*main, "Position").real();
        pairs.insert(
            pairs.end(),
            {Value("Units"), rt::graphics().get(*main, "Units"), Value("Position"),
             Value::row({g[0] - 0.15 * g[2], g[1] + 0.05 * g[3], 1.05 * g[2], 0.65 * g[3]})});
    }
    return rt::figure(pairs);
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
    const std::string number = rt::num2str(fig);
    auto control = [&](const char* style, const std::array<double, 4>& pos, const char* tag,
                       Values more) {
        Values pairs{Value("Parent"),   Value(fig),
                     Value("Style"),    Value(style),
                     Value("Position"), Value::row({pos[0], pos[1], pos[2], pos[3]})};
        if (*tag) pairs.insert(pairs.end(), {Value("Tag"), Value(tag)});
        if (std::string(style) != "ListBox" && std::string(style) != "frame")
            pairs.insert(pairs.end(), {Value("HorizontalAlignment"), Value("center")});
        pairs.insert(pairs.end(), more.begin(), more.end());
        rt::uicontrol(pairs);
    };
    control("ListBox", {0.025, 0.2, 0.95, 0.75}, k.list_tag,
            {Value("String"), Value::charMatrix(a.display), Value("FontName"), Value("FixedWidth"),
             Value("CallBack"), Value(""), Value("Value"), Value(vvv), Value("UserData"),
             Value::charMatrix(a.raw)});
    control("frame", {0.025, 0.005, 0.95, 0.18}, "", {});
    const double left[4] = {0.05, 0.31, 0.44, 0.57};
    const double label_width[4] = {0.15, 0.12, 0.12, 0.12};
    const double field_width[4] = {0.25, 0.12, 0.12, 0.12};
    for (std::size_t f = 0; f < 4; ++f) {
        control("text", {left[f], 0.085, label_width[f], 0.075}, k.label_tags[f],
                {Value("String"), Value(st.*k.labels[f])});
        control("edit", {left[f], 0.025, field_width[f], 0.075}, k.field_tags[f],
                {Value("String"), Value(shown[f])});
    }
    auto button = [&](const std::array<double, 4>& pos, const std::u16string& label,
                      const std::string& callback) {
        control("push", pos, "PushRemove",
                {Value("String"), Value(label), Value("Callback"), Value(callback)});
    };
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
    shell::set_tagged(k.main_field, "String", Value((*e)[3]));
    for (std::size_t f = 0; f < 4; ++f)
        shell::set_tagged(k.field_tags[f], "String", Value((*e)[f]));
}

void remove_entry(const TableKind& k) {
    BusyPointer busy(k);
    auto s = list_state(k);
    if (!s || !s->selected) return;
    const Strings& st = shell::text_table();
    const std::size_t row = *s->selected;
    if (!confirmed(k, st, s->raw[row], st.delask)) return;
    s->raw.erase(s->raw.begin() + static_cast<std::ptrdiff_t>(row));
    if (!write_entries(k, st, s->raw)) return;
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
    if (!write_entries(k, st, s->raw)) return;
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
