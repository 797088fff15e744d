// The tire and gear table files and the rows their windows show. A file is plain text, no
// header: one entry a line, four fields each followed by ";", then one line feed. Whatever
// follows the file's last ";" is ignored. Texts are Latin-1 bytes.
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tables {

// The bounds of a table file: the reader refuses more, the windows never write more. The
// text tables' messages name them.
inline constexpr std::size_t kMaxFieldLength = 1000;  // characters of one field
inline constexpr std::size_t kMaxLines = 100000;      // entries, and lines of the file

// The four fields of one entry: name, size (or type), wheel size (or gear), and the number
// (circumference in m, or ratio) as table_number keeps it.
using Entry = std::array<std::u16string, 4>;

// Why a table file is refused, and where (line counted from 1).
struct TableFault {
    enum Kind {
        NotAnEntry,    // a line that is not four fields each ended by ";" (CR LF line ends too)
        LongField,     // a field of more than kMaxFieldLength characters
        TooManyLines,  // more than kMaxLines lines
    };
    Kind kind;
    std::size_t line;
    bool operator==(const TableFault&) const = default;
};

using TableRead = std::variant<std::vector<Entry>, TableFault>;

// Reads a table file's bytes as they arrive, one line at a time, so that a file it refuses is
// refused early and no more than the bounded entries are ever held. A line that is no entry
// is refused once a ";" follows it: text after the file's last ";" is ignored.
class TableReader {
public:
    // False once the bytes read so far are refused.
    bool read(std::string_view bytes);
    // The entries of all bytes read, in file order, or the first fault.
    TableRead finish();

private:
    void fail(TableFault::Kind kind) {
        if (!fault_) fault_ = TableFault{kind, line_};
    }
    void end_field();
    void end_line();

    std::vector<Entry> entries_;
    Entry entry_;
    std::u16string field_;
    std::size_t line_ = 1;
    std::size_t fields_ = 0;  // ";" seen on this line
    std::size_t run_ = 0;     // characters since the last ";" or line break
    std::optional<TableFault> fault_;
    // A fault in text after the last ";" so far: the file's only if another ";" follows.
    std::optional<TableFault> unless_last_;
};

// The entries of a whole file's bytes.
TableRead parse_table(std::string_view bytes);

// The text of the one number `field` holds, with three decimals ("1.3" -> "1.300"); "" when
// it holds no number or several.
std::u16string format_number(std::u16string_view field);
// The fourth field as a table keeps it: format_number of it, or, when it holds no number, the
// field as it stands (so that nothing typed there is lost).
std::u16string table_number(std::u16string_view field);

// What the table window shows, in sorted order (case-insensitive by name; equal names keep
// their file order).
struct Arranged {
    std::vector<Entry> entries;
    // The four columns side by side, each blank-padded to its longest entry plus 2 (see
    // arrange for very long lists).
    std::vector<std::u16string> display;
    // Each entry as raw_row gives it; the window keeps these to act on.
    std::vector<std::u16string> raw;
};
Arranged arrange(const std::vector<Entry>& entries);

// "name;size;wheel;number;".
std::u16string raw_row(const Entry& e);
// The fields of a raw row; nullopt unless it is four fields each ended by ";" (blanks may
// follow the last).
std::optional<Entry> split_raw_row(std::u16string_view row);

// Whether the file can hold the text as a field: no ";", no line break, Latin-1 only, at most
// kMaxFieldLength characters.
bool storable(std::u16string_view field);

// The file's bytes for entries in this order, each as its raw row and a line feed; nullopt
// when the file could not hold them (a field not storable, or more than kMaxLines entries),
// so that nothing is written that the reader would refuse.
std::optional<std::string> encode_table(const std::vector<Entry>& entries);

}  // namespace tables
