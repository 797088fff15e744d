// The table file reader on arbitrary bytes: it may refuse them, never crash. Read in pieces it
// decides as read whole; and whatever it reads, the window's rewrite of it (sorted, with an
// entry added when the first bytes make one the file can hold) reads back as it was written.
#include "tables/table_file.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <variant>
#include <vector>

namespace {

using tables::Entry;

void check(bool ok) {
    if (!ok) std::abort();
}

std::vector<Entry> read_back(std::string_view bytes) {
    tables::TableRead read = tables::parse_table(bytes);
    check(std::holds_alternative<std::vector<Entry>>(read));
    return std::get<std::vector<Entry>>(std::move(read));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const tables::TableRead whole = tables::parse_table(bytes);

    tables::TableReader pieces;
    const std::size_t step = size == 0 ? 1 : data[0] % 7 + 1;
    for (std::size_t at = 0; at < size; at += step) pieces.read(bytes.substr(at, step));
    check(pieces.finish() == whole);

    const auto* entries = std::get_if<std::vector<Entry>>(&whole);
    if (!entries) return 0;
    for (const Entry& e : *entries)
        for (const auto& f : e) check(tables::storable(f));

    const tables::Arranged a = tables::arrange(*entries);
    check(a.display.size() == entries->size() && a.raw.size() == entries->size());
    std::vector<Entry> rewritten;
    for (const auto& row : a.raw) {
        auto e = tables::split_raw_row(row);
        check(e.has_value());
        rewritten.push_back(*e);
    }
    check(rewritten == a.entries);

    // An entry typed into the fields: the fields of the first line, cut at its ";".
    Entry typed;
    std::size_t start = 0;
    for (auto& f : typed) {
        const std::size_t end = std::min(bytes.find(';', start), bytes.size());
        for (char c : bytes.substr(start, end - start))
            f += static_cast<char16_t>(static_cast<unsigned char>(c));
        start = std::min(end + 1, bytes.size());
    }
    if (rewritten.size() < tables::kMaxLines &&
        std::all_of(typed.begin(), typed.end(), [](const auto& f) { return tables::storable(f); }))
        rewritten.push_back(typed);

    const auto out = tables::encode_table(rewritten);
    check(out.has_value());
    std::vector<Entry> expected = rewritten;
    for (Entry& e : expected) e[3] = tables::table_number(e[3]);
    check(read_back(*out) == expected);
    return 0;
}
