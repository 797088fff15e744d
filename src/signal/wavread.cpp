#include "signal/wavread.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "runtime/dispatch/error.h"
#include "runtime/fileio/file_io.h"
#include "runtime/value/eigen.h"
#include "runtime/value/num2str.h"
#include "runtime/value/value.h"

namespace sig {

namespace {

using rt::Precision;
using rt::SeekOrigin;

const char* const kTruncated = "Truncated chunk header found - possibly not a WAV file.";
const char* const kFmtError = "Error reading <wave-fmt> chunk.";
const char* const kPcmFmtError = "Error reading PCM <wave-fmt> chunk.";
const char* const kPcmDataError = "Error reading PCM file format.";
const char* const kIndexError = "Index exceeds matrix dimensions.";

constexpr double kExtensibleTag = 65534;

// One chunk header (`ck`); `eof` marks the clean end of the file ("end of file").
struct Chunk {
    std::string ID;
    double Size = 0;
    bool eof = false;
};

// Closes the file whatever leaves the reader.
struct FileGuard {
    explicit FileGuard(int f) : fid(f) {}
    FileGuard(const FileGuard&) = delete;
    FileGuard& operator=(const FileGuard&) = delete;
    ~FileGuard() {
        if (rt::isOpen(fid)) rt::fclose(fid);
    }
    int fid;
};

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

// Trailing blanks, other white space and NULs go (RIFF texts are often NUL-padded).
std::string deblank(std::string s) {
    while (!s.empty()) {
        unsigned char c = static_cast<unsigned char>(s.back());
        if (c == 0 || c == ' ' || (c >= '\t' && c <= '\r'))
            s.pop_back();
        else
            break;
    }
    return s;
}

std::string readChars(int fid, double count) {
    std::vector<double> v = rt::fread(fid, static_cast<std::size_t>(count), Precision::Char);
    std::string s(v.size(), '\0');
    for (std::size_t i = 0; i < v.size(); ++i)
        s[i] = static_cast<char>(static_cast<unsigned char>(v[i]));
    return s;
}

std::optional<double> readOne(int fid, Precision p) {
    std::vector<double> v = rt::fread(fid, 1, p);
    if (v.empty()) return std::nullopt;
    return v[0];
}

double padded(double size) { return size + std::fmod(size, 2); }

// Seeks forward over what is left of a chunk whose data began at origPos.
bool skipRest(int fid, double paddedSize, std::int64_t origPos) {
    double rbytes = paddedSize - static_cast<double>(rt::ftell(fid) - origPos);
    if (rbytes == 0) return true;
    return rt::fseek(fid, static_cast<std::int64_t>(rbytes), SeekOrigin::Current) == 0;
}

// Field names of the records come from the file; they must be usable names.
void checkFieldName(const std::string& name) {
    bool ok = !name.empty() && name.size() <= 63 &&
              ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z'));
    for (char c : name)
        ok = ok && ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                    c == '_');
    if (!ok) throw rt::Error("Invalid field name \"" + name + "\".");
}

void setField(WavFields& fields, const std::string& name, std::string text) {
    checkFieldName(name);
    for (auto& f : fields)
        if (f.first == name) {
            f.second = std::move(text);
            return;
        }
    fields.emplace_back(name, std::move(text));
}

// The tag the samples are read by: 1 and 3 as they are, the extensible tag as the PCM or
// IEEE-float sub-format it names; anything else is compressed.
double dataTag(const WavFormat& fmt) {
    if (fmt.wFormatTag != kExtensibleTag || !fmt.SubFormat) return fmt.wFormatTag;
    static const std::string tail = "-0000-0010-8000-00aa00389b71";
    if (*fmt.SubFormat == "00000001" + tail) return 1;
    if (*fmt.SubFormat == "00000003" + tail) return 3;
    return fmt.wFormatTag;
}

std::pair<int, std::string> open_wav(std::string file) {
    std::size_t slash = file.rfind('/');
    std::size_t dot = file.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) file += ".wav";
    rt::OpenResult r = rt::fopen(file, "rb", "l");
    if (r.fid < 0) return {-1, "Cannot open file."};
    return {r.fid, ""};
}

std::pair<Chunk, std::string> read_ckinfo(int fid) {
    Chunk ck;
    std::string id = readChars(fid, 4);
    if (id.size() < 4) {
        if (rt::feof(fid)) {
            ck.ID = "end of file";
            ck.eof = true;
            return {ck, ""};
        }
        return {ck, kTruncated};
    }
    ck.ID = deblank(id);
    std::optional<double> size = readOne(fid, Precision::ULong);
    if (!size) return {ck, kTruncated};
    ck.Size = *size;
    return {ck, ""};
}

std::pair<Chunk, std::string> find_cktype(int fid, const std::string& ftype = "") {
    auto [ck, msg] = read_ckinfo(fid);
    if (msg.empty() && !ftype.empty() && (ck.eof || lower(ck.ID) != lower(ftype)))
        msg = "<" + ftype + "-ck> did not appear as expected";
    return {ck, msg};
}

std::string check_rifftype(int fid, const std::string& ftype) {
    std::string type = readChars(fid, 4);
    if (type.size() < 4) return "Not a WAVE file.";
    if (lower(type) != lower(ftype))
        return "File does not contain required '" + ftype + "' data chunk.";
    return "";
}

std::string read_fmt_pcm(int fid, const Chunk& ck, WavFormat& fmt) {
    if (ck.Size < 16) return kPcmFmtError;
    std::optional<double> bits = readOne(fid, Precision::UShort);
    if (!bits) return kPcmFmtError;
    fmt.nBitsPerSample = *bits;
    if (ck.Size > 16) {
        double nbytes = 16;
        if (ck.Size >= 18) {
            std::optional<double> cb = readOne(fid, Precision::UShort);
            if (!cb) return kPcmFmtError;
            fmt.cbSize = *cb;
            nbytes = 18;
        }
        double rbytes = padded(ck.Size) - nbytes;
        if (rbytes != 0 &&
            rt::fseek(fid, static_cast<std::int64_t>(rbytes), SeekOrigin::Current) != 0)
            return kPcmFmtError;
    }
    return "";
}

// The extension of tag 65534: container bits, cbSize, valid bits, channel mask and the
// sub-format GUID that says what the samples really are.
std::string read_fmt_extensible(int fid, const Chunk& ck, WavFormat& fmt) {
    if (ck.Size < 40) return "";
    std::optional<double> bits = readOne(fid, Precision::UShort);
    std::optional<double> cb = readOne(fid, Precision::UShort);
    std::optional<double> valid = readOne(fid, Precision::UShort);
    std::optional<double> mask = readOne(fid, Precision::ULong);
    std::vector<double> g = rt::fread(fid, 16, Precision::UChar);
    if (!bits || !cb || !valid || !mask || g.size() < 16) return kFmtError;
    fmt.nBitsPerSample = *bits;
    fmt.cbSize = *cb;
    fmt.wValidBitsPerSample = *valid;
    fmt.dwChannelMask = *mask;
    auto b = [&](int i) { return static_cast<unsigned>(g[static_cast<std::size_t>(i)]); };
    char text[40];
    std::snprintf(text, sizeof text,
                  "%02x%02x%02x%02x-%02x%02x-%02x%02x-%02x%02x-%02x%02x%02x%02x%02x%02x", b(3),
                  b(2), b(1), b(0), b(5), b(4), b(7), b(6), b(8), b(9), b(10), b(11), b(12), b(13),
                  b(14), b(15));
    fmt.SubFormat = text;
    return "";
}

std::string read_wavefmt(int fid, const Chunk& ck, WavOptCk& opt_ck) {
    if (ck.Size < 14) return kFmtError;
    std::int64_t origPos = rt::ftell(fid);
    std::optional<double> tag = readOne(fid, Precision::UShort);
    std::optional<double> nch = readOne(fid, Precision::UShort);
    std::optional<double> rate = readOne(fid, Precision::ULong);
    std::optional<double> avg = readOne(fid, Precision::ULong);
    std::optional<double> align = readOne(fid, Precision::UShort);
    if (!tag || !nch || !rate || !avg || !align) return kFmtError;
    WavFormat fmt = opt_ck.fmt.value_or(WavFormat{});
    fmt.wFormatTag = *tag;
    fmt.nChannels = *nch;
    fmt.nSamplesPerSec = *rate;
    fmt.nAvgBytesPerSec = *avg;
    fmt.nBlockAlign = *align;
    std::string msg;
    if (*tag == 1)
        msg = read_fmt_pcm(fid, ck, fmt);
    else if (*tag == kExtensibleTag)
        msg = read_fmt_extensible(fid, ck, fmt);
    if (!skipRest(fid, padded(ck.Size), origPos)) msg = kFmtError;
    opt_ck.fmt = fmt;
    return msg;
}

std::string read_factck(int fid, const Chunk& ck, WavOptCk& opt_ck) {
    const char* const err = "Error reading <fact-ck> chunk.";
    if (ck.Size < 4) return err;
    std::int64_t origPos = rt::ftell(fid);
    opt_ck.fact = readChars(fid, ck.Size);
    return skipRest(fid, padded(ck.Size), origPos) ? "" : err;
}

std::string read_dispck(int fid, const Chunk& ck, WavOptCk& opt_ck) {
    const char* const err = "Error reading <disp-ck> chunk.";
    if (ck.Size < 4) return err;
    std::int64_t origPos = rt::ftell(fid);
    std::string bytes = readChars(fid, ck.Size);
    auto word = [&](std::size_t at) {
        std::uint32_t w = 0;
        for (std::size_t i = 0; i < 4; ++i)
            w |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
        return w;
    };
    // Fewer than eight bytes cannot hold a picture's header: such a chunk is text.
    bool picture = bytes.size() >= 8 && word(0) == 8 && word(4) == 40;
    if (!picture) opt_ck.dispText = deblank(bytes.size() > 4 ? bytes.substr(4) : std::string());
    return skipRest(fid, padded(ck.Size), origPos) ? "" : err;
}

std::string info_text(std::string text) {
    text = deblank(std::move(text));
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) out += text[i];
    return out;
}

std::string read_listck(int fid, const Chunk& ck, WavOptCk& opt_ck) {
    const char* const err = "Error reading <list-ck> chunk.";
    if (ck.Size < 4) return err;
    std::int64_t origPos = rt::ftell(fid);
    std::string bytes = readChars(fid, ck.Size);
    if (bytes.size() < 4) throw rt::Error(kIndexError);
    std::string type = lower(bytes.substr(0, 4));
    std::string data = bytes.substr(4);
    if (type == "info") {
        std::size_t at = 0;
        while (at < data.size()) {
            // An identifier, length or text that runs past the list is an indexing failure.
            if (data.size() - at < 8) throw rt::Error(kIndexError);
            std::string id = data.substr(at, 4);
            double len = 0;
            for (int i = 3; i >= 0; --i)
                len = len * 256 +
                      static_cast<unsigned char>(data[at + 4 + static_cast<std::size_t>(i)]);
            if (len > static_cast<double>(data.size() - at - 8)) throw rt::Error(kIndexError);
            std::size_t n = static_cast<std::size_t>(len);
            if (!opt_ck.info) opt_ck.info = WavFields{};
            setField(*opt_ck.info, lower(id), info_text(data.substr(at + 8, n)));
            at += 8 + n + n % 2;
        }
    } else {
        if (!opt_ck.list) opt_ck.list = WavFields{};
        setField(*opt_ck.list, type, data);
    }
    return skipRest(fid, padded(ck.Size), origPos) ? "" : err;
}

std::string compression_name(double tag) {
    static const std::pair<double, const char*> names[] = {{2, "Microsoft ADPCM"},
                                                           {6, "CCITT a-law"},
                                                           {7, "CCITT mu-law"},
                                                           {17, "IMA ADPCM"},
                                                           {34, "DSP Group TrueSpeech TM"},
                                                           {49, "GSM 6.10"},
                                                           {50, "MSN Audio"},
                                                           {257, "IBM Mu-law"},
                                                           {258, "IBM A-law"},
                                                           {259, "IBM AVC Adaptive Differential"}};
    for (const auto& [t, name] : names)
        if (t == tag) return name;
    return "Format #" + rt::num2str(tag);
}

// Bytes from the position to the end of the file.
std::int64_t bytesLeft(int fid) {
    std::int64_t pos = rt::ftell(fid);
    rt::fseek(fid, 0, SeekOrigin::End);
    std::int64_t end = rt::ftell(fid);
    rt::fseek(fid, pos, SeekOrigin::Begin);
    return end - pos;
}

// Four-byte integers: 32-bit PCM, or 24-bit values in a 32-bit container. The standard
// layout puts the valid bits at the top (v / 2^31 is right); some writers keep 24-bit
// values sign-extended at the bottom, recognised by a non-zero low byte while every value
// fits in 24 bits.
double int32Divisor(const double* raw, std::size_t n, const WavFormat& fmt) {
    double valid = fmt.wValidBitsPerSample.value_or(fmt.nBitsPerSample.value_or(32));
    if (valid != 24) return 2147483648.0;
    bool lowBits = false, fits24 = true;
    for (std::size_t i = 0; i < n; ++i) {
        double v = raw[i];
        if (std::fmod(v, 256) != 0) lowBits = true;
        if (v < -8388608 || v > 8388607) fits24 = false;
    }
    return lowBits && fits24 ? 8388608.0 : 2147483648.0;
}

// Decoded samples, column by column: in the matrix the typed reader returns, or in the
// elements of a value, so that a call by name hands them over without a copy.
struct SampleStore {
    bool forValue = false;
    // Only where the samples lie and how they are read (WavSource); nothing is decoded
    // unless they cannot be read in parts.
    WavLayout* locate = nullptr;
    Eigen::MatrixXd matrix;
    std::vector<double> elements;
    Eigen::Index rows = 0, cols = 0;

    double* allocate(Eigen::Index r, Eigen::Index c) {
        rows = r;
        cols = c;
        if (!forValue) {
            matrix.resize(r, c);
            return matrix.data();
        }
        elements.resize(static_cast<std::size_t>(r * c));
        return elements.data();
    }
    // Only the first r rows were filled.
    void keepRows(Eigen::Index r) {
        if (!forValue) {
            matrix.conservativeResize(r, cols);
        } else {
            for (Eigen::Index c = 1; c < cols; ++c)
                std::copy_n(elements.begin() + c * rows, r, elements.begin() + c * r);
            elements.resize(static_cast<std::size_t>(r * cols));
        }
        rows = r;
    }
};

// Reads into `out` (absent samples leave it untouched); returns the message, empty on success.
std::string read_dat_pcm(int fid, const Chunk& datack, const WavFormat& fmt, double tag,
                         const WavExtent& ext, const WavShapeCheck& check,
                         std::optional<WavShape>& shape, SampleStore& out) {
    const double bps = std::ceil(fmt.nBlockAlign / fmt.nChannels);
    const bool usable = bps == 1 || bps == 2 || bps == 3 || bps == 4;
    const double frameBytes = bps * fmt.nChannels;
    // Whole frames only, and only those the file really holds: a size that is not a whole
    // number of frames, or a chunk the file cuts short, gives the frames present.
    const std::int64_t left = bytesLeft(fid);
    const double present = std::min(datack.Size, static_cast<double>(left));
    const double nan = std::nan("");
    shape =
        WavShape{fmt.nSamplesPerSec, fmt.nChannels, usable ? std::floor(present / frameBytes) : nan,
                 usable ? std::floor(datack.Size / frameBytes) : nan};
    if (check) check(*shape);
    if (!usable) return "Cannot read PCM file formats with more than 32 bits per sample.";
    const bool int32 = bps == 4 && tag == 1;
    const Precision dtype = bps == 1   ? Precision::UChar
                            : bps == 2 ? Precision::Short
                            : bps == 3 ? Precision::Bit24
                            : int32    ? Precision::ULong
                                       : Precision::Float;
    // Integer samples scale to [-1, 1); 32-bit integers once their layout is known.
    const double scale = bps == 1   ? 1.0 / 128
                         : bps == 2 ? 1.0 / 32768
                         : bps == 3 ? 1.0 / 8388608
                                    : 1;
    const double offset = bps == 1 ? -128 : 0;
    const auto nch = static_cast<std::size_t>(fmt.nChannels);
    const double frames = shape->frames;
    if (shape->cut_short())
        rt::warning("The data chunk of '" + rt::filename(fid) +
                    "' is cut short: " + rt::num2str(shape->expected) + " frames expected, " +
                    rt::num2str(frames) + " read.");
    const std::int64_t dataStart = rt::ftell(fid);
    // The end of the chunk and its pad byte, never past the end of the file.
    auto skipToEnd = [&]() -> bool {
        double rest = present - static_cast<double>(rt::ftell(fid) - dataStart);
        if (rest > 0 && rt::fseek(fid, static_cast<std::int64_t>(rest), SeekOrigin::Current) != 0)
            return false;
        if (std::fmod(datack.Size, 2) == 1) rt::fseek(fid, 1, SeekOrigin::Current);
        return true;
    };

    if (out.locate) {
        *out.locate = WavLayout{dataStart, static_cast<Eigen::Index>(frames),
                                nch,       static_cast<std::size_t>(bps),
                                dtype,     scale,
                                offset,    !int32 && nch >= 1 && nch <= 2};
        if (out.locate->inParts) {
            out.matrix.resize(0, 0);  // of an earlier data chunk decoded whole
            return skipToEnd() ? "" : kPcmDataError;
        }
    }
    if (ext.kind == WavExtent::Kind::Size) {
        double* size = out.allocate(1, 2);
        size[0] = frames;
        size[1] = fmt.nChannels;
        return skipToEnd() ? "" : kPcmDataError;
    }
    double first = 1, last = frames;
    if (ext.kind == WavExtent::Kind::Range) {
        first = ext.first;
        last = ext.last;
        auto inRange = [&](double x) { return x >= 1 && x <= frames && x == std::floor(x); };
        if (!inRange(first) || !inRange(last)) return "Sample limits out of range.";
        if (first > last) return "Sample limits must be given in ascending order.";
    }
    if (first > 1 && rt::fseek(fid, static_cast<std::int64_t>((first - 1) * frameBytes),
                               SeekOrigin::Current) != 0)
        return kPcmDataError;
    // An empty chunk reads as no frames.
    const auto n = static_cast<Eigen::Index>(std::max(0.0, last - first + 1));
    double* y = out.allocate(n, static_cast<Eigen::Index>(nch));
    // Frames come channel 1 first; blocks of raw bytes are decoded straight into the columns.
    const auto fb = static_cast<std::size_t>(frameBytes);
    const auto block = static_cast<Eigen::Index>(std::max<std::size_t>(1, (1 << 18) / fb));
    std::vector<unsigned char> raw(static_cast<std::size_t>(std::min(block, n)) * fb);
    Eigen::Index done = 0;
    while (done < n) {
        const Eigen::Index want = std::min(block, n - done);
        const std::size_t got =
            rt::freadBytes(fid, raw.data(), static_cast<std::size_t>(want) * fb);
        const auto whole = static_cast<Eigen::Index>(got / fb);
        rt::decodeFrames(raw.data(), static_cast<std::size_t>(whole), nch, dtype, y + done,
                         static_cast<std::size_t>(n), scale, offset);
        done += whole;
        if (whole < want) break;
    }
    if (done < n) out.keepRows(done);
    if (!skipToEnd()) return kPcmDataError;
    if (int32) {
        const std::size_t count = static_cast<std::size_t>(out.rows * out.cols);
        y = out.forValue ? out.elements.data() : out.matrix.data();
        for (std::size_t i = 0; i < count; ++i)
            if (y[i] >= 2147483648.0) y[i] -= 4294967296.0;
        const double divisor = int32Divisor(y, count, fmt);
        for (std::size_t i = 0; i < count; ++i) y[i] /= divisor;
    }
    return "";
}

std::string read_wavedat(int fid, const Chunk& datack, const WavFormat& fmt, const WavExtent& ext,
                         const WavShapeCheck& check, std::optional<WavShape>& shape,
                         SampleStore& out) {
    double tag = dataTag(fmt);
    if (tag == 1 || tag == 3) return read_dat_pcm(fid, datack, fmt, tag, ext, check, shape, out);
    return "Data compression format (" + compression_name(fmt.wFormatTag) + ") is not supported.";
}

// The chunk walk; the caller's guard closes the file.
void walk(int fid, const WavExtent& ext, const WavShapeCheck& check, WavReadResult& out,
          SampleStore& samples, bool& haveSamples) {
    if (!find_cktype(fid, "RIFF").second.empty()) throw rt::Error("Not a WAVE file.");
    rt::error(check_rifftype(fid, "WAVE"));
    WavOptCk& opt_ck = out.opt_ck;
    for (;;) {
        auto [ck, msg] = find_cktype(fid);
        rt::error(msg);
        if (ck.eof) break;
        const std::string id = lower(ck.ID);
        if (id == "fmt") {
            msg = read_wavefmt(fid, ck, opt_ck);
        } else if (id == "data") {
            if (!opt_ck.fmt)
                throw rt::Error("Corrupt WAV file: found audio data before format information.");
            rt::error(read_wavedat(fid, ck, *opt_ck.fmt, ext, check, out.shape, samples));
            haveSamples = true;
        } else if (id == "fact") {
            msg = read_factck(fid, ck, opt_ck);
        } else if (id == "disp") {
            msg = read_dispck(fid, ck, opt_ck);
        } else if (id == "list") {
            msg = read_listck(fid, ck, opt_ck);
        } else if (rt::fseek(fid, static_cast<std::int64_t>(padded(ck.Size)),
                             SeekOrigin::Current) != 0) {
            msg = "Incorrect chunk size information in WAV file.";
        }
        rt::error(msg);
    }
}

rt::Value latin1(const std::string& bytes) {
    std::u16string s(bytes.size(), u'\0');
    for (std::size_t i = 0; i < bytes.size(); ++i) s[i] = static_cast<unsigned char>(bytes[i]);
    return rt::Value(s);
}

rt::Value fieldsValue(const WavFields& fields) {
    rt::Value v = rt::Value::structure();
    for (const auto& [name, text] : fields) v.setField(name, latin1(text));
    return v;
}

rt::Value optCkValue(const WavOptCk& o) {
    rt::Value v;
    if (o.fmt) {
        const WavFormat& f = *o.fmt;
        rt::Value fmt = rt::Value::structure();
        fmt.setField("wFormatTag", f.wFormatTag);
        fmt.setField("nChannels", f.nChannels);
        fmt.setField("nSamplesPerSec", f.nSamplesPerSec);
        fmt.setField("nAvgBytesPerSec", f.nAvgBytesPerSec);
        fmt.setField("nBlockAlign", f.nBlockAlign);
        if (f.nBitsPerSample) fmt.setField("nBitsPerSample", *f.nBitsPerSample);
        if (f.cbSize) fmt.setField("cbSize", *f.cbSize);
        if (f.wValidBitsPerSample) fmt.setField("wValidBitsPerSample", *f.wValidBitsPerSample);
        if (f.dwChannelMask) fmt.setField("dwChannelMask", *f.dwChannelMask);
        if (f.SubFormat) fmt.setField("SubFormat", rt::Value(*f.SubFormat));
        v.setField("fmt", fmt);
    }
    if (o.fact) v.setField("fact", latin1(*o.fact));
    if (o.dispText) {
        rt::Value disp = rt::Value::structure();
        disp.setField("name", rt::Value("DisplayName"));
        disp.setField("text", latin1(*o.dispText));
        v.setField("disp", disp);
    }
    if (o.info) v.setField("info", fieldsValue(*o.info));
    if (o.list) v.setField("list", fieldsValue(*o.list));
    return v;
}

// The second input: empty, "size" (or a leading part of it), or 0, N, [N1 N2].
WavExtent extentOf(const rt::Value& ext) {
    if (ext.isEmpty()) return {};
    if (ext.isChar()) {
        std::string t = lower(ext.text());
        if (t.size() <= 4 && std::string("size").compare(0, t.size(), t) == 0)
            return {WavExtent::Kind::Size, 1, 0};
        throw rt::Error("Index range must be specified as a scalar or 2-element vector.");
    }
    return wavExtent(rt::toVector(ext));
}

// The reader behind every entry, on the file `fid` opened by open_wav: the samples go to
// `samples`; `have` tells whether the file held a data chunk.
WavReadResult readOpen(int fid, const WavExtent& ext, const WavShapeCheck& check,
                       SampleStore& samples, bool& have) {
    WavReadResult out;
    walk(fid, ext, check, out, samples, have);
    if (!out.opt_ck.fmt) throw rt::Error("Attempt to reference field of non-structure array.");
    const WavFormat& fmt = *out.opt_ck.fmt;
    out.Fs = fmt.nSamplesPerSec;
    double tag = dataTag(fmt);
    if (tag == 1 || tag == 3) out.bits = fmt.nBlockAlign / fmt.nChannels * 8;
    return out;
}

int opened(const std::string& file) {
    const auto [fid, msg] = open_wav(file);
    rt::error(msg);
    return fid;
}

WavReadResult readWav(const std::string& file, const WavExtent& ext, const WavShapeCheck& check,
                      SampleStore& samples, bool& have) {
    const FileGuard guard(opened(file));
    return readOpen(guard.fid, ext, check, samples, have);
}

rt::Values wavreadByName(const rt::Values& in, int nargout) {
    if (in.empty()) throw rt::Error("Not enough input arguments.");
    WavExtent ext = in.size() > 1 ? extentOf(in[1]) : WavExtent{};
    if (!in[0].isChar()) throw rt::Error("Cannot open file.");
    SampleStore samples;
    samples.forValue = true;
    bool have = false;
    const WavReadResult r = readWav(in[0].text(), ext, {}, samples, have);
    if (!have) return {};
    rt::Values out;
    out.reserve(4);
    out.push_back(rt::Value::matrix(static_cast<std::size_t>(samples.rows),
                                    static_cast<std::size_t>(samples.cols),
                                    std::move(samples.elements)));
    out.push_back(rt::Value(r.Fs));
    if (nargout > 2) out.push_back(r.bits ? rt::Value(*r.bits) : rt::Value());
    if (nargout > 3) out.push_back(optCkValue(r.opt_ck));
    out.resize(static_cast<std::size_t>(std::clamp(nargout, 1, 4)));
    return out;
}

}  // namespace

WavExtent wavExtent(const std::vector<double>& ext) {
    if (ext.empty()) return {};
    if (ext.size() > 2)
        throw rt::Error("Index range must be specified as a scalar or 2-element vector.");
    if (std::all_of(ext.begin(), ext.end(), [](double x) { return x == 0; }))
        return {WavExtent::Kind::Size, 1, 0};
    if (ext.size() == 1) return {WavExtent::Kind::Range, 1, ext[0]};
    return {WavExtent::Kind::Range, ext[0], ext[1]};
}

WavReadResult wavread(const std::string& file, const WavExtent& ext, const WavShapeCheck& check) {
    SampleStore samples;
    bool have = false;
    WavReadResult out = readWav(file, ext, check, samples, have);
    if (have) out.y = std::move(samples.matrix);
    return out;
}

Recording wavread_recording(const std::string& file, const WavShapeCheck& check) {
    WavReadResult r = wavread(file, {}, check);
    if (!r.y)
        throw rt::Error("One or more output arguments not assigned during call to 'wavread'.");
    return {std::move(*r.y), r.Fs, *r.shape};
}

struct WavSource::File {
    explicit File(int fid) : guard(fid) {}
    FileGuard guard;
    // Blocks of frames go through these on their way to the caller.
    static constexpr Eigen::Index kBlock = 4096;
    std::unique_ptr<unsigned char[]> raw;
};

std::variant<WavSource, Recording> WavSource::open(const std::string& file,
                                                   const WavShapeCheck& check) {
    // The file walked is the file read: another one put under the name meanwhile is not.
    auto f = std::make_shared<File>(opened(file));
    WavLayout layout;
    SampleStore samples;
    samples.locate = &layout;
    bool have = false;
    const WavReadResult r = readOpen(f->guard.fid, {}, check, samples, have);
    if (!have)
        throw rt::Error("One or more output arguments not assigned during call to 'wavread'.");
    if (!layout.inParts) return Recording{std::move(samples.matrix), r.Fs, *r.shape};
    WavSource s;
    s.Fs = r.Fs;
    s.shape = *r.shape;
    s.layout_ = layout;
    s.file_ = std::move(f);
    return s;
}

void WavSource::read(int channel, Eigen::Index first, Eigen::Index count, double* out) const {
    if (first < 0 || count < 0 || first + count > layout_.frames)
        rt::error("The recording has no samples " + std::to_string(first + 1) + " to " +
                  std::to_string(first + count) + ".");
    const std::size_t nch = layout_.channels, frameBytes = nch * layout_.bytes;
    if (rt::fseek(file_->guard.fid,
                  layout_.dataStart + std::int64_t(first) * std::int64_t(frameBytes),
                  SeekOrigin::Begin) != 0)
        rt::error(kPcmDataError);
    // Blocks of frames, decoded as wavread decodes them and taken as the caller asks: one
    // channel, or the mean of two as (left + right) / 2.
    constexpr Eigen::Index kBlock = File::kBlock;
    if (!file_->raw) file_->raw.reset(new unsigned char[std::size_t(kBlock) * frameBytes]);
    unsigned char* raw = file_->raw.get();
    for (Eigen::Index done = 0; done < count;) {
        const Eigen::Index n = std::min(kBlock, count - done);
        if (rt::freadBytes(file_->guard.fid, raw, std::size_t(n) * frameBytes) !=
            std::size_t(n) * frameBytes)
            rt::error(kPcmDataError);
        // A one-channel recording gives its channel whatever is asked.
        rt::decodeChannel(raw, std::size_t(n), nch, layout_.dtype,
                          nch == 1 ? 1 : std::size_t(channel), out + done, layout_.scale,
                          layout_.offset);
        done += n;
    }
}

void register_wavread(rt::FunctionTable& t) { t.add("wavread", 2, 4, wavreadByName); }

}  // namespace sig
