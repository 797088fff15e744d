// Typed little-endian reads and writes, seeks and the file-id table.
#include "runtime/fileio/file_io.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <limits>

#include "runtime/dispatch/error.h"
#include "support/wav_bytes.h"

using namespace wavtest;
using rt::Precision;
using rt::SeekOrigin;

namespace {

struct Case {
    Precision type;
    double value;  // written
    Bytes bytes;   // expected in the file
    double back;   // read back
};

}  // namespace

TEST(FileIo, TypedWritesAreLittleEndianRoundedAndSaturated) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const Case cases[] = {
        {Precision::ULong, 0, {0, 0, 0, 0}, 0},
        {Precision::ULong, 1, {1, 0, 0, 0}, 1},
        {Precision::ULong, 2147483648.0, {0, 0, 0, 0x80}, 2147483648.0},
        {Precision::ULong, 4294967295.0, {0xff, 0xff, 0xff, 0xff}, 4294967295.0},
        {Precision::ULong, 4294967296.0, {0xff, 0xff, 0xff, 0xff}, 4294967295.0},
        {Precision::ULong, -1, {0, 0, 0, 0}, 0},
        {Precision::ULong, 0x12345678, {0x78, 0x56, 0x34, 0x12}, 0x12345678},
        {Precision::Bit24, -8388608, {0, 0, 0x80}, -8388608},
        {Precision::Bit24, 8388607, {0xff, 0xff, 0x7f}, 8388607},
        {Precision::Bit24, -1, {0xff, 0xff, 0xff}, -1},
        {Precision::Bit24, 8388608, {0xff, 0xff, 0x7f}, 8388607},
        {Precision::Bit24, -9e6, {0, 0, 0x80}, -8388608},
        {Precision::Bit24, 0x123456, {0x56, 0x34, 0x12}, 0x123456},
        {Precision::Short, -32768, {0, 0x80}, -32768},
        {Precision::Short, 2.5, {3, 0}, 3},
        {Precision::Short, -2.5, {0xfd, 0xff}, -3},
        {Precision::Short, 40000, {0xff, 0x7f}, 32767},
        {Precision::Short, nan, {0, 0}, 0},
        {Precision::UShort, 65535, {0xff, 0xff}, 65535},
        {Precision::UShort, 0x1234, {0x34, 0x12}, 0x1234},
        {Precision::UChar, 255, {0xff}, 255},
        {Precision::UChar, 300, {0xff}, 255},
        {Precision::Char, 'W', {'W'}, 'W'},
        {Precision::Char, 0xe4, {0xe4}, 0xe4},
        {Precision::Float, 1.5, {0, 0, 0xc0, 0x3f}, 1.5},
        {Precision::Float, 0.1, {0xcd, 0xcc, 0xcc, 0x3d}, static_cast<double>(0.1f)},
    };
    ScratchDir dir;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "value " << c.value << " width " << rt::precisionBytes(c.type));
        rt::OpenResult w = rt::fopen(dir.file("v.bin"), "wb", "l");
        ASSERT_GE(w.fid, 3) << w.message;
        EXPECT_EQ(rt::fwrite(w.fid, {c.value}, c.type), 1u);
        EXPECT_EQ(rt::fclose(w.fid), 0);
        EXPECT_EQ(dir.read("v.bin"), c.bytes);
        int fid = rt::fopen(dir.file("v.bin"), "rb", "l").fid;
        std::vector<double> v = rt::fread(fid, 1, c.type);
        ASSERT_EQ(v.size(), 1u);
        EXPECT_EQ(v[0], c.back);
        rt::fclose(fid);
    }
}

TEST(FileIo, PrecisionNames) {
    EXPECT_EQ(rt::precisionFromName("ulong"), Precision::ULong);
    EXPECT_EQ(rt::precisionFromName("bit24"), Precision::Bit24);
    EXPECT_EQ(rt::precisionBytes(Precision::ULong), 4u);
    EXPECT_THROW(rt::precisionFromName("int64"), rt::Error);
}

TEST(FileIo, SeekTellAndEndOfFile) {
    ScratchDir dir;
    int fid = rt::fopen(dir.write("ten.bin", Bytes{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}), "rb", "l").fid;
    ASSERT_GE(fid, 3);
    EXPECT_EQ(rt::fseek(fid, 4, SeekOrigin::Current), 0);
    EXPECT_EQ(rt::ftell(fid), 4);
    // Before the start and past the end fail and leave the position alone.
    EXPECT_EQ(rt::fseek(fid, -5, SeekOrigin::Current), -1);
    EXPECT_EQ(rt::fseek(fid, 7, SeekOrigin::Current), -1);
    EXPECT_EQ(rt::fseek(fid, -1, SeekOrigin::Begin), -1);
    EXPECT_EQ(rt::fseek(fid, 1, SeekOrigin::End), -1);
    EXPECT_EQ(rt::fseek(fid, std::numeric_limits<std::int64_t>::max(), SeekOrigin::Current), -1);
    EXPECT_EQ(rt::ftell(fid), 4);
    // The end itself is a valid target; reading there runs into the end.
    EXPECT_EQ(rt::fseek(fid, 6, SeekOrigin::Current), 0);
    EXPECT_FALSE(rt::feof(fid));
    EXPECT_TRUE(rt::fread(fid, 1, Precision::UChar).empty());
    EXPECT_TRUE(rt::feof(fid));
    EXPECT_EQ(rt::fseek(fid, -3, SeekOrigin::End), 0);
    EXPECT_FALSE(rt::feof(fid));
    // A whole read of what is left is no end-of-file yet; one value more is.
    EXPECT_EQ(rt::fread(fid, 3, Precision::UChar), (std::vector<double>{7, 8, 9}));
    EXPECT_FALSE(rt::feof(fid));
    EXPECT_EQ(rt::fseek(fid, 7, SeekOrigin::Begin), 0);
    EXPECT_EQ(rt::fread(fid, 2, Precision::UShort), (std::vector<double>{7 + 8 * 256}));
    EXPECT_TRUE(rt::feof(fid));
    EXPECT_EQ(rt::ftell(fid), 10);
    rt::fclose(fid);
}

TEST(FileIo, MatrixIsFilledColumnByColumn) {
    ScratchDir dir;
    int fid = rt::fopen(dir.write("m.bin", Bytes{1, 2, 3, 4, 5, 6, 7}), "rb", "l").fid;
    std::size_t n = 0;
    Eigen::MatrixXd m = rt::freadMatrix(fid, 2, 3, Precision::UChar, &n);
    EXPECT_EQ(n, 6u);
    Eigen::MatrixXd want(2, 3);
    want << 1, 3, 5, 2, 4, 6;
    EXPECT_EQ(m, want);
    // Short of the end: as many columns as begun, the last padded with zeros.
    EXPECT_EQ(rt::fseek(fid, 0, SeekOrigin::Begin), 0);
    m = rt::freadMatrix(fid, 3, 100, Precision::UChar, &n);
    EXPECT_EQ(n, 7u);
    Eigen::MatrixXd shortWant(3, 3);
    shortWant << 1, 4, 7, 2, 5, 0, 3, 6, 0;
    EXPECT_EQ(m, shortWant);
    // A huge request allocates only what the file holds.
    EXPECT_EQ(rt::fseek(fid, 0, SeekOrigin::Begin), 0);
    EXPECT_EQ(rt::fread(fid, rt::all, Precision::UChar).size(), 7u);
    rt::fclose(fid);
}

TEST(FileIo, FileIdsAndFailures) {
    ScratchDir dir;
    rt::OpenResult missing = rt::fopen(dir.file("none.bin"), "rb", "l");
    EXPECT_EQ(missing.fid, -1);
    EXPECT_NE(missing.message.find("No such file"), std::string::npos) << missing.message;
    EXPECT_EQ(rt::fopen(dir.file(""), "rb", "l").fid, -1);  // a folder
    EXPECT_EQ(rt::fopen(dir.write("a", {}), "rq", "l").fid, -1);
    EXPECT_EQ(rt::fopen(dir.file("a"), "rb", "b").fid, -1);

    int a = rt::fopen(dir.file("a"), "rb", "l").fid;
    int b = rt::fopen(dir.file("a"), "r", "n").fid;
    EXPECT_GE(a, 3);
    EXPECT_NE(a, b);
    EXPECT_EQ(rt::filename(b), dir.file("a"));
    EXPECT_EQ(rt::fclose(a), 0);
    // Every operation on a file id that is not open is an error.
    for (int fid : {a, -1, 0, 1, 2, 999}) {
        EXPECT_THROW(rt::fread(fid, 1, Precision::UChar), rt::Error);
        EXPECT_THROW(rt::fwrite(fid, {1.0}, Precision::UChar), rt::Error);
        EXPECT_THROW(rt::fseek(fid, 0, SeekOrigin::Begin), rt::Error);
        EXPECT_THROW(rt::ftell(fid), rt::Error);
        EXPECT_THROW(rt::feof(fid), rt::Error);
        EXPECT_THROW(rt::fclose(fid), rt::Error);
    }
    // The lowest free id is reused.
    EXPECT_EQ(rt::fopen(dir.file("a"), "rb", "l").fid, a);
    rt::fclose(a);
    rt::fclose(b);
}

TEST(FileIo, AFifoIsRefusedAtOnceNotWaitedOn) {
    ScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.file("run.wav").c_str(), 0600), 0);
    // No process holds the other end, so a blocking open would never return.
    rt::OpenResult r = rt::fopen(dir.file("run.wav"), "rb", "l");
    EXPECT_EQ(r.fid, -1);
    EXPECT_EQ(r.message, "Cannot open \"" + dir.file("run.wav") + "\": not a regular file");
    r = rt::fopen(dir.file("run.wav"), "wb", "l");
    EXPECT_EQ(r.fid, -1);
    EXPECT_NE(r.message.find(dir.file("run.wav")), std::string::npos) << r.message;
    if (std::filesystem::exists("/dev/zero")) {
        EXPECT_EQ(rt::fopen("/dev/zero", "r", "n").fid, -1);
    }
    // Appending and updating still work on ordinary files.
    const std::string a = dir.write("a", {1});
    int fid = rt::fopen(a, "ab", "l").fid;
    ASSERT_GE(fid, 3);
    EXPECT_EQ(rt::fwrite(fid, {2.0}, Precision::UChar), 1u);
    rt::fclose(fid);
    fid = rt::fopen(a, "r+b", "l").fid;
    ASSERT_GE(fid, 3);
    EXPECT_EQ(rt::fread(fid, rt::all, Precision::UChar), (std::vector<double>{1, 2}));
    rt::fclose(fid);
}

TEST(FileIo, WriteToAFullDeviceReportsTheShortCount) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    int fid = rt::fopen("/dev/full", "wb", "l").fid;
    ASSERT_GE(fid, 3);
    EXPECT_EQ(rt::fwrite(fid, std::vector<double>(1000, 1.0), Precision::Float), 0u);
    rt::fclose(fid);
}
