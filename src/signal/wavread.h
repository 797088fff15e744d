// wavread: reads a RIFF WAVE recording as samples by channels scaled to [-1, 1).
#pragma once

#include <Eigen/Dense>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "runtime/dispatch/function_table.h"
#include "runtime/fileio/file_io.h"

namespace sig {

// The format description as read from the "fmt " chunk(s); a later chunk overwrites the
// fields it carries. The optional fields exist only when they were read: nBitsPerSample and
// cbSize for tag 1, and for the extensible tag 65534 also wValidBitsPerSample,
// dwChannelMask and SubFormat (the sub-format GUID as lower-case text).
struct WavFormat {
    double wFormatTag = 0;
    double nChannels = 0;
    double nSamplesPerSec = 0;
    double nAvgBytesPerSec = 0;
    double nBlockAlign = 0;
    std::optional<double> nBitsPerSample;
    std::optional<double> cbSize;
    std::optional<double> wValidBitsPerSample;
    std::optional<double> dwChannelMask;
    std::optional<std::string> SubFormat;
};

// Named texts in the order first seen; texts are the file's bytes (Latin-1).
using WavFields = std::vector<std::pair<std::string, std::string>>;

// Everything known about the file besides the samples (the fourth output). A member is
// set only when its chunk occurred.
struct WavOptCk {
    std::optional<WavFormat> fmt;
    std::optional<std::string> fact;      // the fact chunk's bytes
    std::optional<std::string> dispText;  // a text display chunk (its name is "DisplayName")
    std::optional<WavFields> info;        // LIST/INFO sub-chunks by lower-case identifier
    std::optional<WavFields> list;        // other LIST chunks by lower-case list type
};

// Which samples to read.
struct WavExtent {
    enum class Kind { All, Size, Range };
    Kind kind = Kind::All;
    double first = 1;  // Range: 1-based frame numbers, inclusive
    double last = 0;
};

// The second input's numeric forms: empty reads all; 0 or all zeros asks for the size;
// N reads frames 1..N; [N1 N2] frames N1..N2. Throws rt::Error "Index range must be
// specified as a scalar or 2-element vector." for more than two elements.
WavExtent wavExtent(const std::vector<double>& ext);

// What a data chunk's header says of its samples, known before any of them is decoded.
struct WavShape {
    double Fs = 0;        // nSamplesPerSec of the format in force, Hz
    double channels = 0;  // nChannels
    double frames = 0;    // whole frames the file holds; NaN when the sample width is unusable
    double expected = 0;  // whole frames the chunk's size announces (NaN as frames)
    bool cut_short() const { return frames < expected; }
};

// Called with each data chunk's shape before its samples are read; refuses the file by
// throwing. The reader allocates nothing for the samples before it returns.
using WavShapeCheck = std::function<void(const WavShape&)>;

struct WavReadResult {
    // Samples by channels (or [frames channels] for a size request); absent when the file
    // held no data chunk, which a caller asking for y must treat as an unassigned output.
    std::optional<Eigen::MatrixXd> y;
    double Fs = 0;               // Hz
    std::optional<double> bits;  // for PCM and float data (tags 1 and 3, or 65534 naming them)
    WavOptCk opt_ck;
    std::optional<WavShape> shape;  // of the data chunk read last
};

// [y, Fs, bits, opt_ck] = wavread(file, ext). ".wav" is appended when the file-name part has
// no extension. Throws rt::Error with the reader's message on any failure (the file is
// closed first), including "no format chunk" (the format description is empty).
// Integer samples scale to [-1, 1): 8-bit (v-128)/128, 16-bit v/32768, 24-bit v/2^23,
// 32-bit integers v/2^31; float samples come back unscaled. A data chunk that the file cuts
// short gives the whole frames present, with a warning naming the frames expected and read.
// `check`, when given, sees each data chunk's shape first.
WavReadResult wavread(const std::string& file, const WavExtent& ext = {},
                      const WavShapeCheck& check = {});

// [y, Fs] = wavread(file) as the system's callers use it; throws rt::Error when the file
// has no data chunk.
struct Recording {
    Eigen::MatrixXd y;
    double Fs = 0;
    WavShape shape;
};
Recording wavread_recording(const std::string& file, const WavShapeCheck& check = {});

// Where a file's samples lie and how they are read.
struct WavLayout {
    std::int64_t dataStart = 0;  // file offset of the first frame
    Eigen::Index frames = 0;     // whole frames present
    std::size_t channels = 0;
    std::size_t bytes = 0;  // per sample
    rt::Precision dtype = rt::Precision::Short;
    double scale = 1, offset = 0;  // a sample is (value + offset) · scale
    // false: decoded whole (more than two channels, or a scaling that needs every sample)
    bool inParts = true;
};

// A recording's samples read from its file on demand, scaled as wavread scales them, for a
// reader that needs one channel or the mean of two rather than the whole recording.
class WavSource {
public:
    // Walks the file as wavread does, with the same messages (and the same error when there
    // is no data chunk). Samples that cannot be read in parts (more than two channels, or
    // four-byte integers, whose scaling depends on every sample) are decoded whole in the
    // same walk and come back as wavread_recording gives them. `check`, when given, sees the
    // data chunk's shape first.
    static std::variant<WavSource, Recording> open(const std::string& file,
                                                   const WavShapeCheck& check = {});

    double Fs = 0;   // Hz
    WavShape shape;  // of the data chunk
    Eigen::Index frames() const { return layout_.frames; }
    // Frames first … first + count - 1 (0-based) of channel 1 or 2, or with 0 the mean of
    // the two, (left + right)/2, as the conversions average them; a one-channel recording
    // gives its channel whatever is asked. Throws rt::Error for frames it does not hold or a
    // file that no longer reads. Copies share the open file: one reader at a time.
    void read(int channel, Eigen::Index first, Eigen::Index count, double* out) const;

private:
    struct File;
    WavLayout layout_;
    std::shared_ptr<File> file_;
};

// Adds "wavread" (up to 2 inputs, 4 outputs) to the table of functions callable by name.
void register_wavread(rt::FunctionTable& t);

}  // namespace sig
