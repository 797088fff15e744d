// The run-time's open files: a table of file ids with little-endian typed reads and writes.
// Every number in a file is little-endian whatever the host; "ulong" is 32 bits everywhere.
// An operation on a file id that is not open throws rt::Error; ordinary failures of an open
// file (short reads, seeks out of the file) are reported by the return value, as callers
// of fread/fseek expect.
#pragma once

#include <Eigen/Dense>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

namespace rt {

// The sample and field types of fread/fwrite.
enum class Precision { Char, UChar, UShort, ULong, Short, Bit24, Float };

// "char", "uchar", "ushort", "ulong", "short", "bit24", "float"; throws rt::Error otherwise.
Precision precisionFromName(const std::string& name);
// Bytes one value takes in the file (1, 2, 3 or 4).
std::size_t precisionBytes(Precision p);

struct OpenResult {
    int fid = -1;         // >= 3 when open, -1 on failure
    std::string message;  // empty when open, else why not
};

// fopen(name, permission, machine format). Permissions "r", "w", "a", "r+", "w+", "a+",
// each optionally with "b" or "t" (no difference here). Machine format "l"/"ieee-le"
// or "n"/"native" (this layer only runs on little-endian hosts). A folder cannot be opened.
// Files opened for writing are unbuffered, so fwrite's count is what reached the file.
// Never throws: failure is fid -1 with a message.
OpenResult fopen(const std::string& name, const std::string& permission = "r",
                 const std::string& machineFormat = "n");

// Closes the file: 0, or -1 when pending data could not be written. Throws for an invalid fid.
int fclose(int fid);
// True while fid names an open file.
bool isOpen(int fid);
// The name the file was opened with (fopen(fid)). Throws for an invalid fid.
std::string filename(int fid);

// Reads up to `count` values (never more than the file holds; `all` = to the end) as doubles.
// The result's size is the count read; fewer than asked sets the end-of-file flag.
inline constexpr std::size_t all = std::numeric_limits<std::size_t>::max();
std::vector<double> fread(int fid, std::size_t count, Precision p);

// Reads values into out[0 .. count) and returns how many were read (for callers that own
// their buffer). Same end-of-file rule as fread.
std::size_t freadInto(int fid, double* out, std::size_t count, Precision p);

// Reads up to `count` bytes as they stand in the file; returns how many were read. Same
// end-of-file rule as fread.
std::size_t freadBytes(int fid, void* out, std::size_t count);
// Decodes `frames` frames of `channels` interleaved values of type p into one column per
// channel, column c starting at out + c * column, as (value + offset) * scale; scale 1 and
// offset 0 store the values exactly as read.
void decodeFrames(const unsigned char* bytes, std::size_t frames, std::size_t channels, Precision p,
                  double* out, std::size_t column, double scale = 1, double offset = 0);
// The same for one channel `which` (1-based) of the frames into out, or with `which` 0 the
// mean of the two channels of two-channel frames, (left + right) / 2, each value decoded as
// above. Throws rt::Error for a channel the frames do not have.
void decodeChannel(const unsigned char* bytes, std::size_t frames, std::size_t channels,
                   Precision p, std::size_t which, double* out, double scale = 1,
                   double offset = 0);

// fread(fid, [rows cols], type): fills a rows x cols matrix column by column. When the file
// ends first, the result has ceil(read / rows) columns, the last padded with zeros;
// `countRead` (optional) receives the number of values read.
Eigen::MatrixXd freadMatrix(int fid, std::size_t rows, std::size_t cols, Precision p,
                            std::size_t* countRead = nullptr);

// Writes the values and returns how many were written. Integer types round half away from
// zero and saturate to their range (NaN writes 0); "float" narrows to IEEE single unscaled.
std::size_t fwrite(int fid, const double* values, std::size_t count, Precision p);
std::size_t fwrite(int fid, const std::vector<double>& values, Precision p);

// Origins of fseek.
enum class SeekOrigin { Begin = -1, Current = 0, End = 1 };
// Moves the position: 0 on success; -1 (position unchanged) when the target lies before the
// start or past the end of the file. A successful seek clears the end-of-file flag.
int fseek(int fid, std::int64_t offset, SeekOrigin origin);
// Current position in bytes from the start.
std::int64_t ftell(int fid);
// True after a read that ran into the end of the file.
bool feof(int fid);

}  // namespace rt
