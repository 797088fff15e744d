#include "runtime/fileio/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <type_traits>

#include "runtime/dispatch/error.h"
#include "runtime/fileio/regular_file.h"

namespace rt {

namespace {

struct OpenFile {
    std::FILE* fp = nullptr;
    std::string name;
    bool eof = false;
};

std::map<int, OpenFile>& table() {
    static std::map<int, OpenFile> files;
    return files;
}

OpenFile& get(int fid) {
    auto it = table().find(fid);
    if (it == table().end())
        throw Error("Invalid file identifier. Use fopen to generate a valid file identifier.");
    return it->second;
}

// Bytes from the position to the end, or -1 when the file has no size (a pipe).
std::int64_t remainingBytes(OpenFile& f) {
    struct stat st {};
    if (fstat(fileno(f.fp), &st) != 0 || !S_ISREG(st.st_mode)) return -1;
    std::int64_t pos = ftello(f.fp);
    if (pos < 0) return -1;
    return std::max<std::int64_t>(0, static_cast<std::int64_t>(st.st_size) - pos);
}

double decode(const unsigned char* b, Precision p) {
    switch (p) {
        case Precision::Char:
        case Precision::UChar:
            return b[0];
        case Precision::UShort:
            return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
        case Precision::Short:
            return static_cast<std::int16_t>(static_cast<std::uint16_t>(b[0] | (b[1] << 8)));
        case Precision::ULong:
            return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                   (static_cast<std::uint32_t>(b[2]) << 16) |
                   (static_cast<std::uint32_t>(b[3]) << 24);
        case Precision::Bit24: {
            std::int32_t v = b[0] | (b[1] << 8) | (b[2] << 16);
            return v >= 0x800000 ? v - 0x1000000 : v;
        }
        case Precision::Float: {
            std::uint32_t u =
                static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
                (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
            float x;
            std::memcpy(&x, &u, sizeof x);
            return x;
        }
    }
    return 0;
}

constexpr std::size_t widthOf(Precision p) {
    return p == Precision::Char || p == Precision::UChar     ? 1
           : p == Precision::UShort || p == Precision::Short ? 2
           : p == Precision::Bit24                           ? 3
                                                             : 4;
}

// Types whose bytes a little-endian host can copy into a native value as they stand.
template <Precision P>
constexpr bool kNativeLayout = std::endian::native == std::endian::little&& P != Precision::Bit24;

template <Precision P>
double decodeOne(const unsigned char* b) {
    if constexpr (kNativeLayout<P>) {
        using T = std::conditional_t<
            P == Precision::Char, std::uint8_t,
            std::conditional_t<
                P == Precision::UChar, std::uint8_t,
                std::conditional_t<P == Precision::UShort, std::uint16_t,
                                   std::conditional_t<P == Precision::Short, std::int16_t,
                                                      std::conditional_t<P == Precision::ULong,
                                                                         std::uint32_t, float>>>>>;
        T v;
        std::memcpy(&v, b, sizeof v);
        return static_cast<double>(v);
    } else {
        return decode(b, P);
    }
}

}  // namespace

// Recordings are decoded here, tens of millions of values per evaluation: one pass over whole
// frames, with the type, the channel count and the scaling fixed at compile time, lets the
// compiler vectorise the common one- and two-channel cases.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC push_options
#pragma GCC optimize("tree-vectorize")
#endif

namespace {

// Unscaled values are stored as read (-0 stays -0).
template <Precision P, bool Scaled>
double valueAt(const unsigned char* at, double scale, double offset) {
    if constexpr (Scaled)
        return (decodeOne<P>(at) + offset) * scale;
    else
        return decodeOne<P>(at);
}

// C: the channel count when it is fixed at compile time (1 or 2, so that the loops
// vectorise), else 0.
template <Precision P, std::size_t C, bool Scaled>
void decodeFramesAs(const unsigned char* __restrict b, std::size_t n, std::size_t channels,
                    double* __restrict out, std::size_t column, double scale, double offset) {
    constexpr std::size_t w = widthOf(P);
    const std::size_t count = C ? C : channels, stride = count * w;
    for (std::size_t c = 0; c < count; ++c) {
        double* __restrict o = out + c * column;
        const unsigned char* __restrict bc = b + c * w;
        for (std::size_t i = 0; i < n; ++i)
            o[i] = valueAt<P, Scaled>(bc + i * stride, scale, offset);
    }
}

// One channel of interleaved frames, or with `which` 0 the mean of two.
template <Precision P, std::size_t C, bool Scaled>
void decodeChannelAs(const unsigned char* __restrict b, std::size_t n, std::size_t channels,
                     std::size_t which, double* __restrict out, double scale, double offset) {
    constexpr std::size_t w = widthOf(P);
    const std::size_t stride = (C ? C : channels) * w;
    const auto value = [&](const unsigned char* at) {
        return valueAt<P, Scaled>(at, scale, offset);
    };
    if (which == 0) {
        for (std::size_t i = 0; i < n; ++i)
            out[i] = (value(b + i * stride) + value(b + i * stride + w)) / 2;
        return;
    }
    const unsigned char* bc = b + (which - 1) * w;
    for (std::size_t i = 0; i < n; ++i) out[i] = value(bc + i * stride);
}

template <Precision P>
using PrecisionConstant = std::integral_constant<Precision, P>;
template <std::size_t C>
using ChannelsConstant = std::integral_constant<std::size_t, C>;

// Calls f(P, C, Scaled) with the precision, the channel count (as C above) and the scaling as
// compile-time constants, so that each decoder is made for them.
template <class F>
void withDecoder(Precision p, std::size_t channels, double scale, double offset, F&& f) {
    const bool scaled = !(scale == 1 && offset == 0);
    const auto withChannels = [&](auto P) {
        const auto withScaling = [&](auto C) {
            if (scaled)
                f(P, C, std::true_type{});
            else
                f(P, C, std::false_type{});
        };
        if (channels == 1) return withScaling(ChannelsConstant<1>{});
        if (channels == 2) return withScaling(ChannelsConstant<2>{});
        withScaling(ChannelsConstant<0>{});
    };
    switch (p) {
        case Precision::Char:
            return withChannels(PrecisionConstant<Precision::Char>{});
        case Precision::UChar:
            return withChannels(PrecisionConstant<Precision::UChar>{});
        case Precision::UShort:
            return withChannels(PrecisionConstant<Precision::UShort>{});
        case Precision::ULong:
            return withChannels(PrecisionConstant<Precision::ULong>{});
        case Precision::Short:
            return withChannels(PrecisionConstant<Precision::Short>{});
        case Precision::Bit24:
            return withChannels(PrecisionConstant<Precision::Bit24>{});
        case Precision::Float:
            return withChannels(PrecisionConstant<Precision::Float>{});
    }
}

}  // namespace

// Every decoder inlined into one function cloned for AVX2: a channel read for the evaluation
// goes through here sample by sample.
__attribute__((target_clones("avx2", "default"), flatten)) void decodeChannel(
    const unsigned char* b, std::size_t frames, std::size_t channels, Precision p,
    std::size_t which, double* out, double scale, double offset) {
    if (which > channels || (which == 0 && channels != 2))
        rt::error("decodeChannel: no such channel.");
    withDecoder(p, channels, scale, offset, [&](auto P, auto C, auto Scaled) {
        decodeChannelAs<P.value, C.value, Scaled.value>(b, frames, channels, which, out, scale,
                                                        offset);
    });
}

void decodeFrames(const unsigned char* b, std::size_t frames, std::size_t channels, Precision p,
                  double* out, std::size_t column, double scale, double offset) {
    withDecoder(p, channels, scale, offset, [&](auto P, auto C, auto Scaled) {
        decodeFramesAs<P.value, C.value, Scaled.value>(b, frames, channels, out, column, scale,
                                                       offset);
    });
}

#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC pop_options
#endif

namespace {

// Integer types round half away from zero and saturate; NaN gives 0.
std::int64_t toInteger(double x, double lo, double hi) {
    if (std::isnan(x)) return 0;
    x = std::round(x);
    if (x < lo) x = lo;
    if (x > hi) x = hi;
    return static_cast<std::int64_t>(x);
}

void encode(double x, Precision p, unsigned char* b) {
    std::uint32_t u = 0;
    switch (p) {
        case Precision::Char:
        case Precision::UChar:
            b[0] = static_cast<unsigned char>(toInteger(x, 0, 255));
            return;
        case Precision::UShort:
            u = static_cast<std::uint32_t>(toInteger(x, 0, 65535));
            break;
        case Precision::Short:
            u = static_cast<std::uint32_t>(toInteger(x, -32768, 32767));
            break;
        case Precision::ULong:
            u = static_cast<std::uint32_t>(toInteger(x, 0, 4294967295.0));
            break;
        case Precision::Bit24:
            u = static_cast<std::uint32_t>(toInteger(x, -8388608, 8388607));
            break;
        case Precision::Float: {
            float f = static_cast<float>(x);
            std::memcpy(&u, &f, sizeof u);
            break;
        }
    }
    for (std::size_t i = 0; i < precisionBytes(p); ++i)
        b[i] = static_cast<unsigned char>(u >> (8 * i));
}

// Reads up to count values in blocks; a short read sets the end-of-file flag.
std::size_t readValues(OpenFile& f, double* out, std::size_t count, Precision p) {
    const std::size_t w = precisionBytes(p);
    constexpr std::size_t block = 1 << 16;
    std::vector<unsigned char> buf(std::min(count, block) * w);
    std::size_t done = 0;
    while (done < count) {
        std::size_t want = std::min(count - done, block);
        std::size_t got = std::fread(buf.data(), 1, want * w, f.fp);
        std::size_t values = got / w;
        decodeFrames(buf.data(), values, 1, p, out + done, 0);
        done += values;
        if (got < want * w) {
            f.eof = true;
            break;
        }
    }
    return done;
}

// Opens without blocking on a FIFO that has no reader; a folder is refused.
int openForWriting(const std::string& name, char kind, bool plus, std::string& why) {
    int flags = (plus ? O_RDWR : O_WRONLY) | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if (kind == 'r') flags = O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
    if (kind == 'w') flags |= O_CREAT | O_TRUNC;
    if (kind == 'a') flags |= O_CREAT | O_APPEND;
    const int fd = ::open(name.c_str(), flags, 0666);
    struct stat st {};
    int err = fd < 0 ? errno : 0;
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) err = EISDIR;
    const int fl = fd >= 0 && err == 0 ? ::fcntl(fd, F_GETFL) : -1;
    if (err == 0 && (fl < 0 || ::fcntl(fd, F_SETFL, fl & ~O_NONBLOCK) != 0)) err = errno;
    if (err == 0) return fd;
    if (fd >= 0) ::close(fd);
    why = std::strerror(err);
    return -1;
}

}  // namespace

Precision precisionFromName(const std::string& name) {
    static const std::map<std::string, Precision> names{
        {"char", Precision::Char},   {"uchar", Precision::UChar}, {"ushort", Precision::UShort},
        {"ulong", Precision::ULong}, {"short", Precision::Short}, {"bit24", Precision::Bit24},
        {"float", Precision::Float}};
    auto it = names.find(name);
    if (it == names.end()) throw Error("Invalid precision \"" + name + "\".");
    return it->second;
}

std::size_t precisionBytes(Precision p) {
    switch (p) {
        case Precision::Char:
        case Precision::UChar:
            return 1;
        case Precision::UShort:
        case Precision::Short:
            return 2;
        case Precision::Bit24:
            return 3;
        case Precision::ULong:
        case Precision::Float:
            return 4;
    }
    return 1;
}

OpenResult fopen(const std::string& name, const std::string& permission,
                 const std::string& machineFormat) {
    OpenResult r;
    if (machineFormat != "l" && machineFormat != "ieee-le" && machineFormat != "n" &&
        machineFormat != "native") {
        r.message = "Invalid machine format \"" + machineFormat + "\".";
        return r;
    }
    std::string mode;
    bool plus = false, writes = false;
    if (!permission.empty()) {
        char kind = permission[0];
        bool ok = kind == 'r' || kind == 'w' || kind == 'a';
        for (std::size_t i = 1; i < permission.size() && ok; ++i) {
            char c = permission[i];
            if (c == '+' && !plus)
                plus = true;
            else if (c != 'b' && c != 't')
                ok = false;
        }
        if (ok) {
            mode = std::string(1, kind) + (plus ? "+b" : "b");
            writes = kind != 'r' || plus;
        }
    }
    if (mode.empty()) {
        r.message = "Invalid permission \"" + permission + "\".";
        return r;
    }
    std::string why;
    const int fd =
        writes ? openForWriting(name, permission[0], plus, why) : openRegularFile(name, why);
    std::FILE* fp = fd >= 0 ? ::fdopen(fd, mode.c_str()) : nullptr;
    if (fd >= 0 && !fp) {
        why = std::strerror(errno);
        ::close(fd);
    }
    if (!fp) {
        r.message = "Cannot open \"" + name + "\": " + why;
        return r;
    }
    // Unbuffered writes let fwrite report what really reached the file (a full disk).
    if (writes) std::setvbuf(fp, nullptr, _IONBF, 0);
    int fid = 3;
    while (table().count(fid)) ++fid;
    table()[fid] = OpenFile{fp, name, false};
    r.fid = fid;
    return r;
}

int fclose(int fid) {
    OpenFile& f = get(fid);
    int rc = std::fclose(f.fp);
    table().erase(fid);
    return rc == 0 ? 0 : -1;
}

bool isOpen(int fid) { return table().count(fid) != 0; }

std::string filename(int fid) { return get(fid).name; }

std::size_t freadInto(int fid, double* out, std::size_t count, Precision p) {
    return readValues(get(fid), out, count, p);
}

std::size_t freadBytes(int fid, void* out, std::size_t count) {
    OpenFile& f = get(fid);
    const std::size_t got = std::fread(out, 1, count, f.fp);
    if (got < count) f.eof = true;
    return got;
}

std::vector<double> fread(int fid, std::size_t count, Precision p) {
    OpenFile& f = get(fid);
    const std::size_t w = precisionBytes(p);
    // Size the buffer by what the file holds, so a huge count never allocates more.
    std::int64_t rem = remainingBytes(f);
    std::size_t hint = rem < 0 ? std::min<std::size_t>(count, 1 << 16)
                               : std::min<std::size_t>(count, static_cast<std::size_t>(rem) / w);
    std::vector<double> out(hint);
    std::size_t done = readValues(f, out.data(), hint, p);
    while (done == out.size() && done < count && !f.eof) {
        // Past the size we knew of: read on in blocks until the end shows.
        std::size_t step = std::min<std::size_t>(count - done, 1 << 16);
        out.resize(done + step);
        done += readValues(f, out.data() + done, step, p);
    }
    out.resize(done);
    return out;
}

Eigen::MatrixXd freadMatrix(int fid, std::size_t rows, std::size_t cols, Precision p,
                            std::size_t* countRead) {
    get(fid);
    if (rows == 0 || cols == 0) {
        if (countRead) *countRead = 0;
        return Eigen::MatrixXd(rows, cols);
    }
    std::size_t count = cols > all / rows ? all : rows * cols;
    std::vector<double> v = fread(fid, count, p);
    if (countRead) *countRead = v.size();
    std::size_t outCols = v.size() == count ? cols : (v.size() + rows - 1) / rows;
    Eigen::MatrixXd m = Eigen::MatrixXd::Zero(rows, outCols);
    std::copy(v.begin(), v.end(), m.data());
    return m;
}

std::size_t fwrite(int fid, const double* values, std::size_t count, Precision p) {
    OpenFile& f = get(fid);
    const std::size_t w = precisionBytes(p);
    constexpr std::size_t block = 1 << 16;
    std::vector<unsigned char> buf(std::min(count, block) * w);
    std::size_t done = 0;
    while (done < count) {
        std::size_t n = std::min(count - done, block);
        for (std::size_t i = 0; i < n; ++i) encode(values[done + i], p, buf.data() + i * w);
        std::size_t put = std::fwrite(buf.data(), 1, n * w, f.fp);
        done += put / w;
        if (put < n * w) break;
    }
    return done;
}

std::size_t fwrite(int fid, const std::vector<double>& values, Precision p) {
    return fwrite(fid, values.data(), values.size(), p);
}

int fseek(int fid, std::int64_t offset, SeekOrigin origin) {
    OpenFile& f = get(fid);
    struct stat st {};
    if (fstat(fileno(f.fp), &st) != 0) return -1;
    const std::int64_t size = st.st_size;
    std::int64_t base = 0;
    if (origin == SeekOrigin::Current)
        base = ftello(f.fp);
    else if (origin == SeekOrigin::End)
        base = size;
    if (base < 0) return -1;
    // Overflow-safe: a target outside [0, size] fails and leaves the position alone.
    if (offset < -base || offset > size - base) return -1;
    if (fseeko(f.fp, static_cast<off_t>(base + offset), SEEK_SET) != 0) return -1;
    f.eof = false;
    return 0;
}

std::int64_t ftell(int fid) {
    OpenFile& f = get(fid);
    return ftello(f.fp);
}

bool feof(int fid) { return get(fid).eof; }

}  // namespace rt
