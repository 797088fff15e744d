// Interoperability with sox, an independent WAV writer and reader (Debian package sox).
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "signal/wavread.h"
#include "signal/wavwrite.h"
#include "support/tools.h"
#include "support/wav_bytes.h"

using namespace wavtest;

namespace {

void run(const std::string& command) {
    ASSERT_EQ(std::system((command + " 2>/dev/null").c_str()), 0) << command;
}

std::string output(const std::string& command) {
    std::string out;
    if (FILE* p = popen((command + " 2>/dev/null").c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        pclose(p);
    }
    while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
    return out;
}

// The samples as sox reads them: raw 64-bit floats, frame after frame, in [-1, 1).
Eigen::MatrixXd soxSamples(const ScratchDir& dir, const std::string& wav, Eigen::Index channels) {
    const std::string raw = dir.file("samples.f64");
    run("sox '" + wav + "' -t raw -e floating-point -b 64 --endian little '" + raw + "'");
    Bytes b = dir.read("samples.f64");
    std::vector<double> v(b.size() / 8);
    std::memcpy(v.data(), b.data(), v.size() * 8);
    Eigen::MatrixXd y(static_cast<Eigen::Index>(v.size()) / channels, channels);
    for (Eigen::Index i = 0; i < static_cast<Eigen::Index>(v.size()); ++i)
        y(i / channels, i % channels) = v[static_cast<std::size_t>(i)];
    return y;
}

unsigned formatTag(const ScratchDir& dir, const std::string& name) {
    Bytes b = dir.read(name);
    return b.size() > 21 ? b[20] | (b[21] << 8) : 0;
}

class Sox : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(testsupport::toolInstalled("sox", "sox")); }
    ScratchDir dir;
};

// Noise over the whole range plus a tone, so every bit of every width is exercised. The noise
// is sox's repeatable one (-R): now and then its own noise reached a float sample of 1.0,
// which sox reads back as its largest integer sample, 1 - 2^-31, so the test failed by chance.
const char* const kSignal = "synth 0.2 whitenoise synth 0.2 sine mix 440";

}  // namespace

TEST_F(Sox, FilesSoxWritesReadToTheSamplesSoxReports) {
    struct Case {
        const char* options;
        unsigned tag;
    };
    const Case cases[] = {
        {"-t wavpcm -e unsigned-integer -b 8", 1},
        {"-t wavpcm -e signed-integer -b 16", 1},
        {"-t wavpcm -e signed-integer -b 24", 1},
        {"-t wavpcm -e floating-point -b 32", 3},
        // What sox writes by default at 24 and 32 bits: the extensible tag naming PCM.
        {"-e signed-integer -b 24", 65534},
        {"-e signed-integer -b 32", 65534},
    };
    for (const Case& c : cases) {
        for (int channels : {1, 2}) {
            SCOPED_TRACE(std::string(c.options) + ", channels " + std::to_string(channels));
            const std::string wav = dir.file("sox.wav");
            run("sox -D -R -n -r 11025 -c " + std::to_string(channels) + " " + c.options + " '" +
                wav + "' " + kSignal + " vol 0.99");
            ASSERT_EQ(formatTag(dir, "sox.wav"), c.tag);
            sig::WavReadResult r = sig::wavread(wav);
            ASSERT_TRUE(r.y);
            EXPECT_EQ(r.Fs, 11025);
            EXPECT_EQ(r.y->rows(), 2205);
            EXPECT_EQ(*r.y, soxSamples(dir, wav, channels));
        }
    }
}

TEST_F(Sox, SoxAcceptsWhatWavwriteWrites) {
    Eigen::MatrixXd y(1001, 2);
    for (Eigen::Index i = 0; i < y.rows(); ++i) {
        y(i, 0) = 0.8 * std::sin(0.05 * static_cast<double>(i));
        y(i, 1) = -0.6 * std::cos(0.011 * static_cast<double>(i));
    }
    for (double nbits : {8.0, 16.0, 24.0, 32.0}) {
        SCOPED_TRACE(nbits);
        const std::string wav = dir.file("ours.wav");
        sig::wavwrite(y, 48000, nbits, wav);
        EXPECT_EQ(output("sox --i -r '" + wav + "'"), "48000");
        EXPECT_EQ(output("sox --i -c '" + wav + "'"), "2");
        EXPECT_EQ(output("sox --i -s '" + wav + "'"), "1001");
        EXPECT_EQ(output("sox --i -b '" + wav + "'"), std::to_string(static_cast<int>(nbits)));
        // sox's samples are what our reader gives back, that is, the written values
        // (sox passes float samples through 32-bit integers: equal to within 2^-31).
        Eigen::MatrixXd theirs = soxSamples(dir, wav, 2), ours = *sig::wavread(wav).y;
        ASSERT_EQ(theirs.rows(), ours.rows());
        EXPECT_LE((theirs - ours).cwiseAbs().maxCoeff(), nbits == 32 ? 0x1p-31 : 0.0);
    }
}
