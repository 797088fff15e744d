// str2num: a text read as a numeric expression. Never throws: any text that is not a
// number (or a list or matrix of them) gives the 0x0 empty value.
// Accepted: numbers with optional sign, decimals and exponent; pi, Inf, inf, NaN, nan;
// + - * / ^ and parentheses; lists separated by blanks or commas, rows by ";" or line
// breaks, optionally in brackets ("1 2" -> [1 2], "1 -2" -> [1 -2], "1 - 2" -> -1).
#pragma once

#include <string>

#include "runtime/value/value.h"

namespace rt {

Value str2num(const std::u16string& text);
Value str2num(const std::string& utf8Text);
Value str2num(const char* utf8Text);
// A non-char argument gives the empty value.
Value str2num(const Value& text);

}  // namespace rt
