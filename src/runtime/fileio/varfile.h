// The variable file behind save and load of named variables (parameter files).
//
// Layout, version 1. All integers little-endian; nothing is padded or aligned.
//
//   offset  size  field
//   0       8     magic: 0x89 'R' 'V' 'F' '\r' '\n' 0x1A '\n'
//   8       4     version, uint32 = 1
//   12      4     number of variables, uint32
//   16      ...   the variables, in order, each:
//                   1   name length n, uint8, 1 to 63
//                   n   name: an ASCII letter, then letters, digits or '_'
//                   1   class: 1 real double, 2 complex double, 3 char, 4 logical
//                   4   rows, uint32, at most 65535
//                   4   columns, uint32, at most 65535 (empty values too)
//                   ... rows x columns elements, column by column:
//                         real     IEEE binary64, 8 bytes (bit pattern kept: -0, NaN payloads)
//                         complex  all real parts, then all imaginary parts, 8 bytes each
//                         char     16-bit code units, 2 bytes each
//                         logical  one byte each, 0 or 1
//   end-4   4     CRC-32 (the polynomial of zlib and PNG) of every byte before it
//
// Names are unique within a file. Nothing follows the CRC.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/value/value.h"

namespace rt {

struct NamedValue {
    std::string name;
    Value value;
};

// Writes the variables, in order, to `path`, replacing any file of that name. The bytes go
// to a temporary file in the same folder, which is flushed to disk and then renamed over
// `path`: a failed save leaves a previous file untouched and no temporary behind.
// Savable: 2-D double (real or complex), char and logical values of up to 65535 rows and
// columns, empties included. rt::Error for another class, an N-D or larger value, an invalid
// or repeated name; rt::SaveError for a failure of the file system (the message names the file
// and the reason). The file is replaced as rt::saveFileAtomically describes.
void save(const std::string& path, const std::vector<NamedValue>& variables);

// Reads every variable of a variable file, in file order, whatever the file's name or
// extension. rt::Error naming the file when it is not a regular file (a FIFO is refused
// without waiting on it), cannot be opened, is no variable file, is of a later version, or is
// damaged (cut short, bad CRC, impossible lengths, a dimension over 65535).
std::vector<NamedValue> load(const std::string& path);

// The byte image of save and its inverse, for callers that hold the bytes themselves.
// decodeVariables never reads outside [data, data + size) and allocates memory only in
// proportion to `size`; `label` names the source in its error messages.
std::vector<std::uint8_t> encodeVariables(const std::vector<NamedValue>& variables);
std::vector<NamedValue> decodeVariables(const std::uint8_t* data, std::size_t size,
                                        const std::string& label);

// The CRC-32 a file ends with, of the `size` bytes before it (for tools that forge files).
std::uint32_t variableFileChecksum(const std::uint8_t* data, std::size_t size);

}  // namespace rt
