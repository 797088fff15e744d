#include "tables/table_file.h"

#include <algorithm>
#include <numeric>

#include "runtime/value/num2str.h"
#include "runtime/value/str2num.h"
#include "runtime/value/text_ops.h"
#include "runtime/value/value.h"

namespace tables {

namespace {

// The order sortrows gives blank-padded rows: a shorter text reads as if blanks followed it.
bool padded_less(std::u16string_view a, std::u16string_view b) {
    const std::size_t n = std::max(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const char16_t x = i < a.size() ? a[i] : u' ';
        const char16_t y = i < b.size() ? b[i] : u' ';
        if (x != y) return x < y;
    }
    return false;
}

// Every list row carries its columns' padding, so a long list pads a column no wider than its
// share of this many characters; a longer entry then pushes only the rest of its own row to
// the right, instead of widening every row (and the list's memory and layout time with it).
constexpr std::size_t kColumnBudget = 1'000'000;
constexpr std::size_t kLeastColumn = 40;

}  // namespace

bool TableReader::read(std::string_view bytes) {
    for (const char byte : bytes) {
        if (fault_) return false;
        if (line_ > kMaxLines) {
            fail(TableFault::TooManyLines);
            return false;
        }
        if (byte == '\n') {
            end_line();
        } else if (byte == ';') {
            end_field();
        } else if (run_ == kMaxFieldLength) {
            fail(TableFault::LongField);
        } else {
            ++run_;
            if (fields_ < 4)
                field_ += static_cast<char16_t>(static_cast<unsigned char>(byte));
            else if (!unless_last_)
                unless_last_ = TableFault{TableFault::NotAnEntry, line_};
        }
    }
    return !fault_;
}

void TableReader::end_field() {
    if (unless_last_) fault_ = unless_last_;
    if (fields_ == 4 || field_.find(u'\r') != std::u16string::npos) fail(TableFault::NotAnEntry);
    if (fault_) return;
    entry_[fields_++] = std::move(field_);
    field_.clear();
    run_ = 0;
    if (fields_ == 4) {
        entry_[3] = table_number(entry_[3]);
        entries_.push_back(std::move(entry_));
        entry_ = {};
    }
}

void TableReader::end_line() {
    // Fewer than four fields: one of them would hold the line break.
    if (fields_ != 0 && fields_ != 4) return fail(TableFault::NotAnEntry);
    if (fields_ == 0 && !unless_last_) unless_last_ = TableFault{TableFault::NotAnEntry, line_};
    ++line_;
    fields_ = 0;
    field_.clear();
    run_ = 0;
}

TableRead TableReader::finish() {
    if (fields_ != 0 && fields_ != 4) fail(TableFault::NotAnEntry);
    if (fault_) return *fault_;
    return std::move(entries_);
}

TableRead parse_table(std::string_view bytes) {
    TableReader r;
    r.read(bytes);
    return r.finish();
}

std::u16string format_number(std::u16string_view field) {
    const rt::Value x = rt::str2num(std::u16string(field));
    if (x.numel() != 1 || x.isComplex()) return u"";
    return rt::utf16(rt::num2str(x.scalar(), "%0.3f"));
}

std::u16string table_number(std::u16string_view field) {
    std::u16string n = format_number(field);
    return n.empty() ? std::u16string(field) : n;
}

Arranged arrange(const std::vector<Entry>& entries) {
    const std::size_t n = entries.size();
    const std::size_t cap = std::max(kLeastColumn, kColumnBudget / std::max<std::size_t>(n, 1));
    std::array<std::size_t, 3> width{};
    for (const Entry& e : entries)
        for (std::size_t f = 0; f < 3; ++f) width[f] = std::max(width[f], e[f].size());
    for (std::size_t& w : width) w = std::min(w, cap) + 2;

    std::vector<std::u16string> names;
    names.reserve(n);
    for (const Entry& e : entries) names.push_back(rt::lower(e[0]));
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t x, std::size_t y) { return padded_less(names[x], names[y]); });

    Arranged a;
    a.entries.reserve(n);
    a.display.reserve(n);
    a.raw.reserve(n);
    for (std::size_t k : order) {
        const Entry& e = entries[k];
        std::u16string row;
        for (std::size_t f = 0; f < 3; ++f)
            row += e[f] + std::u16string(std::max(width[f], e[f].size() + 2) - e[f].size(), u' ');
        a.display.push_back(row + e[3]);
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
    if (row.find_first_not_of(u' ', start) != std::u16string_view::npos) return std::nullopt;
    return e;
}

bool storable(std::u16string_view field) {
    return field.size() <= kMaxFieldLength &&
           std::none_of(field.begin(), field.end(), [](char16_t c) {
               return c == u';' || c == u'\n' || c == u'\r' || c > 0xFF;
           });
}

std::optional<std::string> encode_table(const std::vector<Entry>& entries) {
    if (entries.size() > kMaxLines) return std::nullopt;
    std::string bytes;
    for (const Entry& e : entries) {
        for (const auto& f : e) {
            if (!storable(f)) return std::nullopt;
            for (char16_t c : f) bytes += static_cast<char>(c);
            bytes += ';';
        }
        bytes += '\n';
    }
    return bytes;
}

}  // namespace tables
