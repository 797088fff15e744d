// Text functions of the run-time. Typed forms work on 16-bit texts; the Value forms take
// char values (a char matrix row by row where noted) or cells of them.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

#include "runtime/value/value.h"

namespace rt {

// strcmp(a, b): exact equality of class char, shape and codes. With a cell on either side
// the comparison is elementwise over the cell (a logical of the cell's shape; two cells
// must have the same shape unless one holds a single text). Anything not char compares
// false.
Value strcmp(const Value& a, const Value& b);
// The same without regard to case.
Value strcmpi(const Value& a, const Value& b);
// The first n characters equal without regard to case; a text shorter than n matches only
// a text of the same length.
Value strncmpi(const Value& a, const Value& b, std::size_t n);

// Lower case of ASCII and Latin-1 letters; other codes unchanged.
std::u16string lower(std::u16string s);
// Lower case of ASCII letters only, for names and keywords (property names, flags, methods).
std::string lowerAscii(std::string s);
// Char and cells of char are lowered; other values come back unchanged.
Value lower(const Value& a);

// Every occurrence of `from` replaced by `to`, left to right without overlap.
std::u16string strrep(const std::u16string& s, const std::u16string& from,
                      const std::u16string& to);
// Char rows or a cell of them.
Value strrep(const Value& s, const Value& from, const Value& to);

// 1-based positions of the shorter text within the longer (of b in a when equally long);
// empty when none or when the shorter text is empty.
std::vector<std::size_t> findstr(const std::u16string& a, const std::u16string& b);
Value findstr(const Value& a, const Value& b);  // a row of positions, [] when none

// Trailing white space and NULs removed (a char matrix loses trailing all-blank columns).
std::u16string deblank(const std::u16string& s);
Value deblank(const Value& a);

// A path split into folder (without the final "/"; "/" for the root), name and extension
// (from the last "." of the name part, empty when there is none).
struct PathParts {
    std::u16string dir, name, ext;
};
PathParts fileparts(const std::u16string& path);

// strmatch(text, list): 1-based rows of a char matrix (or items of a cell) that begin
// with `text`; a column, 0x1 when none.
Value strmatch(const Value& text, const Value& list);

// sortrows(a): rows in ascending order compared element by element (codes for text),
// equal rows kept in their order; the second member is the 1-based row permutation.
std::pair<Value, std::vector<std::size_t>> sortrows(const Value& a);

}  // namespace rt
