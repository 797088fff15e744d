// The tire and gear table files and the rows their windows show. A file is plain text, no
// header: per entry four fields, each followed by ";", then one line feed. Entries are found
// only by counting ";"; whatever follows the last ";" is ignored. Texts are Latin-1 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tables {

// The four fields of one entry: name, size (or type), wheel size (or gear), and the number
// (circumference in m, or ratio).
using Entry = std::array<std::u16string, 4>;

// The entries of a file's text in file order, the fourth field as format_number gives it.
// nullopt when the text is no table file: a count of ";" that is not a multiple of four, or
// a field holding a line break (which is what CR LF line ends or text after an entry's last
// ";" produce). A text without any ";" holds no entries.
std::optional<std::vector<Entry>> parse_table(std::u16string_view text);

// The text of the one number `field` holds, with three decimals ("1.3" -> "1.300"); "" when
// it holds no number or several.
std::u16string format_number(std::u16string_view field);

// What the table window shows, in sorted order (case-insensitive by name; equal names keep
// their file order).
struct Arranged {
    std::vector<Entry> entries;
    // The four columns side by side, each blank-padded to its longest entry plus 2.
    std::vector<std::u16string> display;
    // Each entry as raw_row gives it; the window keeps these to act on.
    std::vector<std::u16string> raw;
};
Arranged arrange(const std::vector<Entry>& entries);

// "name;size;wheel;number;".
std::u16string raw_row(const Entry& e);
// The fields of a raw row (blank padding after its last ";" is ignored); nullopt when it
// holds fewer than four ";".
std::optional<Entry> split_raw_row(std::u16string_view row);

// Whether the file can hold the text as a field: no ";", no line break, Latin-1 only.
bool storable(std::u16string_view field);

// The file's bytes for raw rows: each up to and including its last ";", then a line feed.
// Rows without ";" are left out. Characters beyond Latin-1 are not expected (see storable).
std::string encode_table(const std::vector<std::u16string>& raw_rows);
// Latin-1 bytes as text.
std::u16string decode_latin1(std::string_view bytes);

}  // namespace tables
