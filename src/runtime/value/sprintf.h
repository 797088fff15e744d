// printf-style formatting of the run-time (sprintf, and fprintf through the file layer).
// The format's escapes \n \r \t \\ (and \a \b \f \v) are interpreted here. The format is
// applied again and again until every element of the arguments is used (column-major);
// output stops before the first conversion that finds no data left. Conversions:
// %d %i %u %o %x %X %f %F %e %E %g %G %s %c %% with flags "-+ 0#", width and precision
// (numbers or "*"). NaN and Inf print as "NaN", "Inf", "-Inf" in every numeric conversion;
// a non-integer under %d prints as %e. A char argument is consumed whole by %s and code by
// code by the numeric conversions; a number under %s or %c prints as the character of
// that code when it is a whole number, else as %e. Cell and record arguments are an error.
#pragma once

#include <string>

#include "runtime/value/value.h"

namespace rt {

std::u16string formatText(const std::u16string& format, const Values& args);
std::string formatUtf8(const std::string& format, const Values& args);

// sprintf(format, args...): the text as a char row.
Value sprintf(const Value& format, const Values& args);

}  // namespace rt
