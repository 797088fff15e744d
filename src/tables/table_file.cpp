#include "tables/table_file.h"

#include <algorithm>

#include "runtime/value/num2str.h"
#include "runtime/value/str2num.h"
#include "runtime/value/text_ops.h"
#include "runtime/value/value.h"

namespace tables {

namespace {

bool holds_line_break(std::u16string_view s) {
    return s.find_first_of(u"\r\n") != std::u16string_view::npos;
}

std::u16string padded(const std::u16string& s, std::size_t width) {
    return s + std::u16string(width - s.size(), u' ');
}

}  // namespace

std::optional<std::vector<Entry>> parse_table(std::u16string_view text) {
    std::vector<std::size_t> semis;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == u';') semis.push_back(i);
    if (semis.size() % 4 != 0) return std::nullopt;

    std::vector<Entry> out;
    out.reserve(semis.size() / 4);
    std::size_t start = 0;
    for (std::size_t k = 0; k < semis.size(); k += 4) {
        Entry e;
        for (std::size_t f = 0; f < 4; ++f) {
            e[f] = std::u16string(text.substr(start, semis[k + f] - start));
            if (holds_line_break(e[f])) return std::nullopt;
            start = semis[k + f] + 1;
        }
        e[3] = format_number(e[3]);
        out.push_back(std::move(e));
        // The one character after an entry's last ";" is its line end.
        start += 1;
    }
    return out;
}

std::u16string format_number(std::u16string_view field) {
    const rt::Value x = rt::str2num(std::u16string(field));
    if (x.numel() != 1 || x.isComplex()) return u"";
    return rt::utf16(rt::num2str(x.scalar(), "%0.3f"));
}

Arranged arrange(const std::vector<Entry>& entries) {
    std::array<std::size_t, 4> longest{};
    for (const Entry& e : entries)
        for (std::size_t f = 0; f < 4; ++f) longest[f] = std::max(longest[f], e[f].size());

    std::vector<std::u16string> names;
    names.reserve(entries.size());
    for (const Entry& e : entries) names.push_back(rt::lower(padded(e[0], longest[0] + 2)));
    std::vector<std::size_t> order;
    if (!entries.empty()) order = rt::sortrows(rt::Value::charMatrix(names)).second;

    Arranged a;
    for (std::size_t k : order) {
        const Entry& e = entries[k - 1];
        std::u16string row;
        for (std::size_t f = 0; f < 4; ++f) row += padded(e[f], longest[f] + 2);
        a.display.push_back(std::move(row));
        a.raw.push_back(raw_row(e));
        a.entries.push_back(e);
    }
    return a;
}

std::u16string raw_row(const Entry& e) {
    std::u16string row;
    for (const auto& f : e) row += f + u";";
    return row;
}

std::optional<Entry> split_raw_row(std::u16string_view row) {
    Entry e;
    std::size_t start = 0;
    for (std::size_t f = 0; f < 4; ++f) {
        const std::size_t semi = row.find(u';', start);
        if (semi == std::u16string_view::npos) return std::nullopt;
        e[f] = std::u16string(row.substr(start, semi - start));
        start = semi + 1;
    }
    return e;
}

bool storable(std::u16string_view field) {
    return std::none_of(field.begin(), field.end(), [](char16_t c) {
        return c == u';' || c == u'\n' || c == u'\r' || c > 0xFF;
    });
}

std::string encode_table(const std::vector<std::u16string>& raw_rows) {
    std::string bytes;
    for (const auto& row : raw_rows) {
        const std::size_t last = row.rfind(u';');
        if (last == std::u16string::npos) continue;
        for (std::size_t i = 0; i <= last; ++i) bytes += static_cast<char>(row[i] & 0xFF);
        bytes += '\n';
    }
    return bytes;
}

std::u16string decode_latin1(std::string_view bytes) {
    std::u16string s(bytes.size(), u'\0');
    std::transform(bytes.begin(), bytes.end(), s.begin(),
                   [](char c) { return static_cast<char16_t>(static_cast<unsigned char>(c)); });
    return s;
}

}  // namespace tables
