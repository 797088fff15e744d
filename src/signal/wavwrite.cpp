#include "signal/wavwrite.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/fileio/atomic_file.h"
#include "runtime/fileio/file_io.h"
#include "runtime/value/eigen.h"
#include "runtime/value/value.h"

namespace sig {

namespace {

using rt::Precision;

// The format chunk's fields; `filename` is the name as the caller gave it.
struct Fmt {
    std::string filename;
    double wFormatTag = 1;
    double nChannels = 0;
    double nSamplesPerSec = 0;
    double nAvgBytesPerSec = 0;
    double nBlockAlign = 0;
    double nBitsPerSample = 0;
};

struct Ck {
    int fid;
    std::string filename;
    std::string ID;
    std::optional<double> Size;  // none for "WAVE"
};

// Closes the file whatever leaves the writer.
struct FileGuard {
    int fid;
    ~FileGuard() {
        if (rt::isOpen(fid)) rt::fclose(fid);
    }
};

bool put(int fid, double v, Precision p) { return rt::fwrite(fid, &v, 1, p) == 1; }

std::string waveFileName(std::string name) {
    if (name.find('.') == std::string::npos) name += ".wav";
    return name;
}

// A writer's message with the file and the system's reason for the failed write after it.
std::string failed(const std::string& message, const std::string& filename) {
    const int err = errno != 0 ? errno : EIO;
    return message + (message.ends_with('.') ? " " : ". ") + "Cannot write \"" +
           waveFileName(filename) + "\": " + std::strerror(err) + ".";
}

// Opens the save's temporary file; the target is replaced only once all is written.
std::pair<int, std::string> OpenWaveWrite(const std::string& temporary) {
    rt::OpenResult r = rt::fopen(temporary, "wb", "l");
    return {r.fid, r.message};
}

std::string write_ckinfo(const Ck& ck) {
    const std::string err = "Failed to write " + ck.ID + " chunk to WAVE file: " + ck.filename;
    std::vector<double> id(ck.ID.begin(), ck.ID.end());
    errno = 0;
    if (rt::fwrite(ck.fid, id, Precision::Char) != 4) return failed(err, ck.filename);
    if (ck.Size && !put(ck.fid, *ck.Size, Precision::ULong)) return failed(err, ck.filename);
    return "";
}

std::string write_wavefmt(int fid, const Fmt& fmt) {
    const std::string err = "Failed to write WAVE format chunk to file" + fmt.filename;
    errno = 0;
    if (!put(fid, fmt.wFormatTag, Precision::UShort) ||
        !put(fid, fmt.nChannels, Precision::UShort) ||
        !put(fid, fmt.nSamplesPerSec, Precision::ULong) ||
        !put(fid, fmt.nAvgBytesPerSec, Precision::ULong) ||
        !put(fid, fmt.nBlockAlign, Precision::UShort))
        return failed(err, fmt.filename);
    if (!put(fid, fmt.nBitsPerSample, Precision::UShort)) return failed(err, fmt.filename);
    return "";
}

Eigen::MatrixXd PCM_Quantize(const Eigen::MatrixXd& x, const Fmt& fmt) {
    const double nbits = fmt.nBitsPerSample;
    double b;
    if (nbits == 8)
        b = 128;
    else if (nbits == 16 || nbits == 24)
        b = 0;
    else
        throw rt::Error("Invalid number of bits specified.");
    const double m = std::pow(2.0, nbits - 1);
    const double lo = -m + b, hi = m + b - 1;
    bool clipped = false;
    Eigen::MatrixXd y = x.unaryExpr([&](double v) {
        double q = std::round(m * v + b);
        if (q < lo) {
            clipped = true;
            return lo;
        }
        if (q > hi) {
            clipped = true;
            return hi;
        }
        return q;
    });
    if (clipped) rt::warning("Data clipped during write to file:" + fmt.filename);
    return y;
}

std::string write_wavedat(int fid, const Fmt& fmt, const Eigen::MatrixXd& data) {
    const double nbits = fmt.nBitsPerSample;
    // Frame after frame, channel 1 first: the transpose read column by column.
    Eigen::MatrixXd frames = nbits == 32 ? Eigen::MatrixXd(data.transpose())
                                         : Eigen::MatrixXd(PCM_Quantize(data, fmt).transpose());
    const Precision dtype = nbits == 8    ? Precision::UChar
                            : nbits == 16 ? Precision::Short
                            : nbits == 24 ? Precision::Bit24
                                          : Precision::Float;
    const auto total = static_cast<std::size_t>(frames.size());
    errno = 0;
    if (rt::fwrite(fid, frames.data(), total, dtype) < total)
        return failed("Failed to write PCM data samples.", fmt.filename);
    // Checked too: a file short of its pad byte is not the file the header describes.
    if (total * rt::precisionBytes(dtype) % 2 == 1 && !put(fid, 0, Precision::UChar))
        return failed("Failed to write PCM data samples.", fmt.filename);
    return "";
}

rt::Values wavwriteByName(const rt::Values& in, int /*nargout*/) {
    if (in.size() < 2) throw rt::Error("Not enough input arguments.");
    double Fs = 8000, nbits = 16;
    const rt::Value* name = &in.back();
    if (in.size() >= 3) Fs = in[1].scalar();
    if (in.size() >= 4) nbits = in[2].scalar();
    if (in[0].ndims() > 2) throw rt::Error("Data array cannot be an N-D array.");
    if (!name->isChar()) throw rt::Error("Wave file name must be a string.");
    wavwrite(rt::toMatrix(in[0]), Fs, nbits, name->text());
    return {};
}

}  // namespace

void wavwrite(const Eigen::MatrixXd& y, double Fs, double nbits, const std::string& wavefile) {
    // A row is one channel.
    Eigen::MatrixXd column;
    if (y.rows() == 1) column = y.transpose();
    const Eigen::MatrixXd& data = y.rows() == 1 ? column : y;
    const double samples = static_cast<double>(data.rows());
    const double channels = static_cast<double>(data.cols());
    const double bytes_per_sample = std::ceil(nbits / 8);
    const double total_bytes = samples * channels * bytes_per_sample;
    const double data_pad = std::fmod(total_bytes, 2);
    const double riff_cksize = 36 + total_bytes + data_pad;

    rt::requireFileName(wavefile);  // before the ".wav" rule makes "sub/" a hidden "sub/.wav"
    const std::string name = waveFileName(wavefile);
    rt::saveFileAtomically(name, [&](int, const std::string& temporary) {
        auto [fid, err] = OpenWaveWrite(temporary);
        rt::error(err);
        FileGuard guard{fid};
        rt::error(write_ckinfo({fid, wavefile, "RIFF", riff_cksize}));
        rt::error(write_ckinfo({fid, wavefile, "WAVE", std::nullopt}));
        rt::error(write_ckinfo({fid, wavefile, "fmt ", 16}));
        Fmt fmt;
        fmt.filename = wavefile;
        fmt.wFormatTag = nbits == 32 ? 3 : 1;
        fmt.nChannels = channels;
        fmt.nSamplesPerSec = Fs;
        fmt.nAvgBytesPerSec = channels * bytes_per_sample * Fs;
        fmt.nBlockAlign = channels * bytes_per_sample;
        fmt.nBitsPerSample = nbits;
        rt::error(write_wavefmt(fid, fmt));
        rt::error(write_ckinfo({fid, wavefile, "data", total_bytes}));
        rt::error(write_wavedat(fid, fmt, data));
    });
}

void register_wavwrite(rt::FunctionTable& t) { t.add("wavwrite", 4, 0, wavwriteByName); }

}  // namespace sig
