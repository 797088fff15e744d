// num2str: the run-time's short decimal text of numbers.
// Default format: whole numbers as integers (no exponent, however large); otherwise
// max(5, floor(log10(max|x|)) + 5) significant digits, trailing zeros dropped. NaN, Inf
// and -Inf as "NaN", "Inf", "-Inf". A row's numbers are right-aligned to a common width
// and joined by two blanks; a matrix gives one text row per row (a char matrix).
#pragma once

#include <string>

#include "runtime/value/value.h"

namespace rt {

// One number in the default format ("200", "0.015", "1.3697", "-Inf").
std::string num2str(double x);
// One number through a printf-style format, field width kept ("%0.3f": 1.3 -> "1.300").
std::string num2str(double x, const std::string& format);

// num2str(x): char input comes back unchanged; the empty value gives an empty text.
// Throws rt::Error for cell and record values.
Value num2str(const Value& x);
// num2str(x, format): each row of x through the format (cycled over the row's numbers);
// the empty value gives an empty text.
Value num2str(const Value& x, const Value& format);

}  // namespace rt
