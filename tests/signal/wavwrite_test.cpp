// The WAV writer: exact bytes, integer widths, clipping, names and round trips.
#include "signal/wavwrite.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/fileio/file_io.h"
#include "runtime/value/eigen.h"
#include "runtime/value/value.h"
#include "signal/wavread.h"
#include "support/file_size_limit.h"
#include "support/test_helpers.h"
#include "support/wav_bytes.h"

using namespace wavtest;

namespace {

using Warnings = testsupport::WarningCapture;

std::string writeError(const Eigen::MatrixXd& y, double nbits, const std::string& name) {
    try {
        sig::wavwrite(y, 8000, nbits, name);
    } catch (const rt::Error& e) {
        return e.what();
    }
    return "(no error)";
}

Eigen::MatrixXd ramp(Eigen::Index rows, Eigen::Index cols) {
    Eigen::MatrixXd y(rows, cols);
    for (Eigen::Index i = 0; i < y.size(); ++i)
        y.data()[i] = std::sin(0.37 * static_cast<double>(i)) * 0.9;
    return y;
}

}  // namespace

TEST(WavWrite, FloatHeaderOfTheThousandByTwoExample) {
    ScratchDir dir;
    Eigen::MatrixXd y = ramp(1000, 2);
    sig::wavwrite(y, 44100, 32, dir.file("f.wav"));
    Bytes b = dir.read("f.wav");
    ASSERT_EQ(b.size(), 44u + 8000u);
    const Bytes header =
        cat({str("RIFF"), le32(8036), str("WAVE"), str("fmt "), le32(16), le16(3), le16(2),
             le32(44100), le32(8 * 44100), le16(8), le16(32), str("data"), le32(8000)});
    EXPECT_EQ(Bytes(b.begin(), b.begin() + 44), header);
    // Frame after frame, channel 1 first, IEEE single.
    float first[2];
    std::memcpy(first, b.data() + 44, 8);
    EXPECT_EQ(first[0], static_cast<float>(y(0, 0)));
    EXPECT_EQ(first[1], static_cast<float>(y(0, 1)));
    // Reads back to the values rounded to single precision.
    sig::WavReadResult r = sig::wavread(dir.file("f.wav"));
    EXPECT_EQ(*r.y, y.cast<float>().cast<double>());
    EXPECT_EQ(r.Fs, 44100);
    EXPECT_EQ(*r.bits, 32);
}

TEST(WavWrite, OddEightBitFileGetsAPadByte) {
    ScratchDir dir;
    Eigen::MatrixXd y(3, 1);
    y << -1, 0, 0.5;
    sig::wavwrite(y, 8000, 8, dir.file("p.wav"));
    const Bytes want = cat({str("RIFF"), le32(36 + 3 + 1), str("WAVE"), str("fmt "), le32(16),
                            le16(1), le16(1), le32(8000), le32(8000), le16(1), le16(8), str("data"),
                            le32(3), Bytes{0, 128, 192, 0}});
    EXPECT_EQ(dir.read("p.wav"), want);
}

TEST(WavWrite, RowAndColumnWriteTheSameMonoFile) {
    ScratchDir dir;
    Eigen::MatrixXd col = ramp(7, 1);
    sig::wavwrite(col, 8000, 16, dir.file("c.wav"));
    sig::wavwrite(col.transpose(), 8000, 16, dir.file("r.wav"));
    EXPECT_EQ(dir.read("c.wav"), dir.read("r.wav"));
    EXPECT_EQ(sig::wavread(dir.file("r.wav")).y->cols(), 1);
}

TEST(WavWrite, ClippingWarnsOncePerCall) {
    ScratchDir dir;
    Eigen::MatrixXd y(4, 1);
    y << 1.0, -1.0, 2.0, 0.25;
    Warnings w;
    sig::wavwrite(y, 8000, 16, dir.file("clip"));
    ASSERT_EQ(w.lines.size(), 1u);
    EXPECT_EQ(w.lines[0], "Warning: Data clipped during write to file:" + dir.file("clip"));
    Bytes b = dir.read("clip.wav");
    EXPECT_EQ(Bytes(b.begin() + 44, b.end()),
              cat({le16(32767), le16(0x8000), le16(32767), le16(8192)}));

    // Rounding half away from zero and the limits of 8 and 24 bits.
    Eigen::MatrixXd z(3, 1);
    z << -1.5, 1.5 / 128, 127.5 / 128;
    sig::wavwrite(z, 8000, 8, dir.file("c8.wav"));
    b = dir.read("c8.wav");
    EXPECT_EQ(Bytes(b.begin() + 44, b.begin() + 47), (Bytes{0, 130, 255}));
    z << -1, 0.5 / 8388608, 1;
    sig::wavwrite(z, 8000, 24, dir.file("c24.wav"));
    b = dir.read("c24.wav");
    EXPECT_EQ(Bytes(b.begin() + 44, b.begin() + 53), cat({le24(-8388608), le24(1), le24(8388607)}));
    EXPECT_EQ(w.lines.size(), 3u);

    // 32-bit float samples are written as they are.
    sig::wavwrite(y, 8000, 32, dir.file("f.wav"));
    EXPECT_EQ(w.lines.size(), 3u);
    EXPECT_EQ(sig::wavread(dir.file("f.wav")).y->coeff(2, 0), 2.0);
}

TEST(WavWrite, RoundTripsOfEveryWidth) {
    ScratchDir dir;
    for (double nbits : {8.0, 16.0, 24.0, 32.0}) {
        SCOPED_TRACE(nbits);
        // Values on the width's grid come back exactly.
        const double m = nbits == 32 ? 1 << 20 : std::pow(2.0, nbits - 1);
        Eigen::MatrixXd y = (ramp(101, 2) * m).array().round() / m;
        sig::wavwrite(y, 22050, nbits, dir.file("rt.wav"));
        sig::WavReadResult r = sig::wavread(dir.file("rt.wav"));
        EXPECT_EQ(*r.y, y);
        EXPECT_EQ(r.Fs, 22050);
        EXPECT_EQ(*r.bits, nbits);
    }
}

TEST(WavWrite, NamesAndFailures) {
    ScratchDir dir;
    const Eigen::MatrixXd y = ramp(3, 1);
    std::filesystem::create_directories(dir.file("dir.old"));
    for (const char* name : {"out", "out.bin", "dir.old/out"})
        sig::wavwrite(y, 8000, 16, dir.file(name));
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.wav")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.bin")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("dir.old/out")));
    EXPECT_FALSE(std::filesystem::exists(dir.file("out")));

    // The width is refused after the header, and the half-written file goes with it.
    EXPECT_EQ(writeError(y, 12, dir.file("bad.wav")), "Invalid number of bits specified.");
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.wav")));
    EXPECT_NE(writeError(y, 16, dir.file("no/such/folder/x.wav")).find("No such file"),
              std::string::npos);
    if (std::filesystem::exists("/dev/full")) {
        // A device is not a recording to replace.
        std::filesystem::create_symlink("/dev/full", dir.file("full.wav"));
        EXPECT_EQ(writeError(y, 16, dir.file("full.wav")),
                  "Cannot write \"" + dir.file("full.wav") + "\": not a regular file.");
    }
    int fid = rt::fopen(dir.file("out.wav"), "rb", "l").fid;
    EXPECT_EQ(fid, 3) << "a file was left open";
    rt::fclose(fid);
}

TEST(WavWrite, ByName) {
    ScratchDir dir;
    rt::FunctionTable t;
    sig::register_wavwrite(t);
    EXPECT_EQ(t.find("wavwrite")->nin, 4);
    EXPECT_EQ(t.find("wavwrite")->nout, 0);
    const rt::Value y = rt::Value::column({0.5, -0.5});
    t.call("wavwrite", {y, rt::Value(dir.file("two"))}, 0);
    sig::WavReadResult r = sig::wavread(dir.file("two"));
    EXPECT_EQ(r.Fs, 8000);
    EXPECT_EQ(*r.bits, 16);
    t.call("wavwrite", {y, rt::Value(11025.0), rt::Value(dir.file("three"))}, 0);
    EXPECT_EQ(sig::wavread(dir.file("three")).Fs, 11025);
    t.call("wavwrite", {y, rt::Value(11025.0), rt::Value(32.0), rt::Value(dir.file("four"))}, 0);
    EXPECT_EQ(*sig::wavread(dir.file("four")).bits, 32);

    auto message = [&](const rt::Values& in, int nargout) {
        try {
            t.call("wavwrite", in, nargout);
        } catch (const rt::Error& e) {
            return std::string(e.what());
        }
        return std::string("(no error)");
    };
    const rt::Value cube = rt::Value::uint8({2, 2, 3}, std::vector<std::uint8_t>(12, 1));
    EXPECT_EQ(message({cube, rt::Value(dir.file("nd"))}, 0), "Data array cannot be an N-D array.");
    EXPECT_EQ(message({y, rt::Value(8000.0), rt::Value(16.0), rt::Value(7.0)}, 0),
              "Wave file name must be a string.");
    EXPECT_NE(message({y, rt::Value(8000.0), rt::Value(16.0), rt::Value("x"), rt::Value()}, 0)
                  .find("wavwrite"),
              std::string::npos);
    EXPECT_NE(message({y, rt::Value(dir.file("o"))}, 1).find("wavwrite"), std::string::npos);
}

TEST(WavWrite, FullDiskKeepsTheOldRecordingAndSaysWhy) {
    ScratchDir dir;
    sig::wavwrite(ramp(100, 1), 8000, 16, dir.file("run.wav"));
    const Bytes before = dir.read("run.wav");
    std::string message;
    {
        testsupport::FileSizeLimit fullDisk(64 * 1024);
        message = writeError(ramp(100000, 2), 32, dir.file("run"));
    }
    EXPECT_EQ(message, "Failed to write PCM data samples. Cannot write \"" + dir.file("run.wav") +
                           "\": File too large.");
    EXPECT_EQ(dir.read("run.wav"), before);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.file("")),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(WavWrite, WriterKilledHalfWayLeavesTheOldRecordingWhole) {
    ScratchDir dir;
    sig::wavwrite(ramp(100, 1), 8000, 16, dir.file("run.wav"));
    const Bytes before = dir.read("run.wav");
    const std::string temporaryStart = ".run.wav.tmp";
    auto temporary = [&]() -> std::filesystem::path {
        for (const auto& e : std::filesystem::directory_iterator(dir.file("")))
            if (e.path().filename().string().starts_with(temporaryStart)) return e.path();
        return {};
    };

    const Eigen::MatrixXd big = ramp(4'000'000, 2);  // 32 MB of float samples
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        sig::wavwrite(big, 44100, 32, dir.file("run.wav"));
        ::_exit(0);
    }
    // Kill it once its temporary holds the new header: the samples are still to come.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    std::error_code ec;
    while (std::chrono::steady_clock::now() < deadline) {
        const std::filesystem::path t = temporary();
        if (!t.empty() && std::filesystem::file_size(t, ec) >= 44 && !ec) break;
        ::usleep(1000);
    }
    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer finished before it could be killed";
    EXPECT_EQ(dir.read("run.wav"), before);
    ASSERT_FALSE(temporary().empty());

    // The next save clears what the killed one left.
    sig::wavwrite(ramp(10, 1), 8000, 16, dir.file("run.wav"));
    EXPECT_TRUE(temporary().empty());
    EXPECT_EQ(sig::wavread(dir.file("run.wav")).y->rows(), 10);
}
