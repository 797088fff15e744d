// Array semantics of the dynamic edge: 1-based, column-major indexing, indexed assignment
// that grows with zeros, deletion, concatenation, transposes, class conversions, equality
// and the ":" subscript. A subscript is a numeric value of 1-based positions, a logical mask,
// or the text ":" (every position; see colon()). Failures throw rt::Error.
#pragma once

#include <cstddef>
#include <vector>

#include "runtime/value/value.h"

namespace rt {

// The subscript ":" (every element, row or column).
Value colon();

// a(idx): a vector subscript on a vector keeps a's orientation, otherwise the result has
// the subscript's shape; ":" gives a column. Positions past the end are an error.
Value index(const Value& a, const Value& idx);
// a(r, c) of a 2-D value: rows r and columns c.
Value index(const Value& a, const Value& r, const Value& c);

// a(idx) = b; b has as many elements as idx selects, or is a scalar. Positions past the
// end grow a vector (a row when a is empty or a scalar) and fill the gap with zeros.
// The empty [] takes b's class; otherwise a keeps its class (logical turns double).
void assign(Value& a, const Value& idx, const Value& b);
// a(r, c) = b; the matrix grows to the largest row and column, gaps filled with zeros.
void assign(Value& a, const Value& r, const Value& c, const Value& b);

// a(idx) = []: a vector keeps its orientation; a matrix becomes a row (":" empties it).
void erase(Value& a, const Value& idx);
// a(r, c) = []: one subscript must cover its whole dimension; deletes rows or columns.
void erase(Value& a, const Value& r, const Value& c);

// [a b ...] and [a; b; ...]. The 0x0 empty is skipped; the result class is cell if any is
// a cell, else char if any is char (numbers become codes), else uint8, double, logical.
Value horzcat(const Values& parts);
Value vertcat(const Values& parts);

// a.' and a' of a 2-D value.
Value transpose(const Value& a);
Value ctranspose(const Value& a);

// char(x): codes to text (rounded; 0..65535), a cell of texts to a blank-padded char
// matrix (one row per text; an empty text gives a blank row), text unchanged.
Value toChar(const Value& a);
// double(x): codes of text, 0/1 of logical, bytes of uint8; double unchanged.
Value toDouble(const Value& a);

// isequal(a, b): same shape and equal elements, class aside for numbers, text and
// logicals (isequal('a', 97) holds); cells and records compare member by member. NaN
// is never equal.
bool isequal(const Value& a, const Value& b);

}  // namespace rt
