// The WAV reader on files built byte by byte.
#include "signal/wavread.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <variant>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"
#include "runtime/fileio/file_io.h"
#include "runtime/value/eigen.h"
#include "runtime/value/value.h"
#include "support/test_helpers.h"
#include "support/wav_bytes.h"
#include "warnings.h"

using namespace wavtest;
using sig::WavExtent;

namespace {

// 16-bit stereo frames (L, R) as a data chunk.
Bytes frames16(std::initializer_list<std::pair<int, int>> frames) {
    Bytes out;
    for (auto [l, r] : frames)
        out = cat({out, le16(static_cast<unsigned>(l)), le16(static_cast<unsigned>(r))});
    return out;
}

const Bytes kFmt16 = fmtChunk(1, 2, 44100, 2);
const Bytes kData16 = chunk("data", frames16({{-32768, 32767}, {1, -1}, {16384, 0}}));

Eigen::MatrixXd expected16() {
    Eigen::MatrixXd y(3, 2);
    y << -1, 32767 / 32768.0, 1 / 32768.0, -1 / 32768.0, 0.5, 0;
    return y;
}

std::string readError(const std::string& path, const WavExtent& ext = {}) {
    try {
        sig::wavread(path, ext);
    } catch (const rt::Error& e) {
        return e.what();
    }
    return "(no error)";
}

class WavRead : public testing::Test {
protected:
    // No error may leave a file open: the next open gets the lowest id again.
    void TearDown() override {
        int fid = rt::fopen(dir.write("probe", {}), "rb", "l").fid;
        EXPECT_EQ(fid, 3) << "a file was left open";
        rt::fclose(fid);
    }
    ScratchDir dir;
};

}  // namespace

TEST_F(WavRead, ScalesEveryWidth) {
    struct Case {
        const char* what;
        Bytes fmt;
        Bytes data;
        std::vector<double> want;
        double bits;
    };
    const Case cases[] = {
        {"8-bit", fmtChunk(1, 1, 8000, 1), Bytes{0, 128, 255, 64}, {-1, 0, 127 / 128.0, -0.5}, 8},
        {"16-bit",
         fmtChunk(1, 1, 8000, 2),
         cat({le16(0x8000), le16(0x7fff), le16(0xffff)}),
         {-1, 32767 / 32768.0, -1 / 32768.0},
         16},
        {"24-bit",
         fmtChunk(1, 1, 8000, 3),
         cat({le24(-8388608), le24(8388607), le24(-1), le24(4194304)}),
         {-1, 8388607 / 8388608.0, -1 / 8388608.0, 0.5},
         24},
        {"float",
         fmtChunk(3, 1, 8000, 4),
         cat({le32(0x3fc00000), le32(0xbf800000)}),
         {1.5, -1},
         32},
        {"32-bit integer",
         fmtChunk(1, 1, 8000, 4),
         cat({le32(0x80000000u), le32(0x7fffffff), le32(0x40000000)}),
         {-1, 2147483647 / 2147483648.0, 0.5},
         32},
        // 24 valid bits at the top of a 32-bit container (the standard layout).
        {"24 in 32, top",
         fmtChunk(1, 1, 8000, 4, 24),
         cat({le32(0x80000000u), le32(0x7fffff00), le32(0xffffff00)}),
         {-1, 8388607 / 8388608.0, -1 / 8388608.0},
         32},
        // 24-bit values sign-extended at the bottom of the container.
        {"24 in 32, bottom",
         fmtChunk(1, 1, 8000, 4, 24),
         cat({le32(0xff800000u), le32(0x007fffff), le32(0xffffffff)}),
         {-1, 8388607 / 8388608.0, -1 / 8388608.0},
         32},
        {"extensible PCM 24",
         fmtExtensible(1, 8000, 3, 24, 1),
         cat({le24(-8388608), le24(4194304)}),
         {-1, 0.5},
         24},
        {"extensible PCM 32",
         fmtExtensible(1, 8000, 4, 32, 1),
         cat({le32(0x80000000u), le32(0x40000000)}),
         {-1, 0.5},
         32},
        {"extensible float",
         fmtExtensible(1, 8000, 4, 32, 3),
         cat({le32(0x3fc00000), le32(0xbf800000)}),
         {1.5, -1},
         32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sig::WavReadResult r =
            sig::wavread(dir.write("w.wav", riff(cat({c.fmt, chunk("data", c.data)}))));
        ASSERT_TRUE(r.y);
        ASSERT_EQ(r.y->cols(), 1);
        EXPECT_EQ(std::vector<double>(r.y->data(), r.y->data() + r.y->size()), c.want);
        EXPECT_EQ(r.Fs, 8000);
        ASSERT_TRUE(r.bits);
        EXPECT_EQ(*r.bits, c.bits);
    }
    // Float samples come back exactly as stored, the sign of a zero included.
    const sig::WavReadResult z = sig::wavread(
        dir.write("z.wav", riff(cat({fmtChunk(3, 2, 8000, 4),
                                     chunk("data", cat({le32(0x80000000u), le32(0x7fc00000)}))}))));
    EXPECT_TRUE(std::signbit((*z.y)(0, 0)));
    EXPECT_TRUE(std::isnan((*z.y)(0, 1)));
}

TEST_F(WavRead, StereoFramesAndLowerCaseIdentifiers) {
    for (const char* riffId : {"RIFF", "riff"}) {
        Bytes body = cat({kFmt16, kData16});
        if (std::string(riffId) == "riff") {
            body = cat({chunk("fmt ", Bytes(kFmt16.begin() + 8, kFmt16.end())),
                        chunk("data", Bytes(kData16.begin() + 8, kData16.end()))});
            std::copy_n("FmT ", 4, body.begin());
            std::copy_n("dAtA", 4, body.begin() + 24);
        }
        sig::WavReadResult r = sig::wavread(
            dir.write("s.wav", riff(body, riffId, riffId[0] == 'r' ? "wave" : "WAVE")));
        EXPECT_EQ(*r.y, expected16());
        EXPECT_EQ(r.Fs, 44100);
        EXPECT_EQ(*r.bits, 16);
    }
}

// All frames of a channel, read in one part.
Eigen::VectorXd whole(const sig::WavSource& s, int channel) {
    Eigen::VectorXd x(s.frames());
    s.read(channel, 0, s.frames(), x.data());
    return x;
}

// Read from the file in parts, a channel or the mean of two comes out as wavread's columns
// give it, for every sample width; more than two channels or four-byte integers are decoded
// whole in the same walk.
TEST_F(WavRead, SourceReadsAChannelOrTheMeanOfTwoInParts) {
    const Bytes data = chunk("data", frames16({{-32768, 32767}, {1, -1}, {16384, 0}, {3, 5}}));
    const std::string stereo = dir.write("s.wav", riff(cat({kFmt16, data})));
    const Eigen::MatrixXd y = *sig::wavread(stereo).y;
    auto opened = sig::WavSource::open(stereo);
    const sig::WavSource* s = std::get_if<sig::WavSource>(&opened);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->Fs, 44100);
    ASSERT_EQ(s->frames(), 4);
    EXPECT_EQ(whole(*s, 1), y.col(0));
    EXPECT_EQ(whole(*s, 2), y.col(1));
    EXPECT_EQ(whole(*s, 0), Eigen::VectorXd((y.col(0) + y.col(1)) / 2));
    double part[2];
    s->read(0, 2, 2, part);
    EXPECT_EQ(part[0], (y(2, 0) + y(2, 1)) / 2);
    EXPECT_EQ(part[1], (y(3, 0) + y(3, 1)) / 2);
    EXPECT_FALSE(testsupport::errorOf([&] { s->read(1, 3, 2, part); }).empty());

    // 8-bit, 24-bit and float mono: every channel asked for is the one there is.
    const std::pair<Bytes, Bytes> monos[] = {
        {fmtChunk(1, 1, 8000, 1), chunk("data", Bytes{0, 255, 128, 7})},
        {fmtChunk(1, 1, 8000, 3), chunk("data", Bytes{0, 0, 128, 255, 255, 127, 1, 0, 0})},
        {fmtChunk(3, 1, 8000, 4), chunk("data", cat({le32(0x3f000000), le32(0xbe800000)}))}};
    for (const auto& [fmt, samples] : monos) {
        const std::string mono = dir.write("m.wav", riff(cat({fmt, samples})));
        const Eigen::MatrixXd m = *sig::wavread(mono).y;
        auto mono_opened = sig::WavSource::open(mono);
        const sig::WavSource* ms = std::get_if<sig::WavSource>(&mono_opened);
        ASSERT_TRUE(ms);
        for (int ch : {0, 1, 2}) EXPECT_EQ(whole(*ms, ch), m.col(0)) << ch;
    }
    // Four-byte integers and three channels, each cut short: one walk, one warning.
    for (const Bytes& fmt : {fmtChunk(1, 1, 8000, 4), fmtChunk(1, 3, 8000, 2)}) {
        Bytes b =
            riff(cat({fmt, chunk("data", cat({le32(0x40000000), le32(0xc0000000), le32(7)}))}));
        b.pop_back();
        const std::string whole = dir.write("w.wav", b);
        WarningCapture warnings;
        const auto r = sig::WavSource::open(whole);
        EXPECT_EQ(warnings.lines.size(), 1u);
        ASSERT_TRUE(std::holds_alternative<sig::Recording>(r));
        EXPECT_EQ(std::get<sig::Recording>(r).y, *sig::wavread(whole).y);
    }
    EXPECT_EQ(testsupport::errorOf([&] { sig::WavSource::open(dir.write("n.wav", riff(kFmt16))); }),
              "One or more output arguments not assigned during call to 'wavread'.");
}

TEST_F(WavRead, OtherChunksAreSteppedOver) {
    const Bytes info = chunk("LIST", cat({str("INFO"), chunk("INAM", str("Run 3\r\n2nd  \0")),
                                          chunk("ICMT", str("dyno"))}));
    const Bytes other = chunk("LIST", cat({str("adtl"), str("xyz")}));
    const Bytes fact = chunk("fact", le32(3));
    const Bytes odd = chunk("junk", Bytes{1, 2, 3});  // odd size: the pad byte follows
    const Bytes disp = chunk("disp", cat({le32(1), str("Take 1 ")}));
    const Bytes picture = chunk("disp", cat({le32(8), le32(40), Bytes(32, 0)}));
    const Bytes bodies[] = {
        cat({info, kFmt16, fact, odd, kData16}),
        cat({kFmt16, kData16, info, odd, other, fact}),
        cat({odd, kFmt16, disp, odd, kData16, picture}),
        // A second format chunk and a data chunk before the real one: the last data wins.
        cat({kFmt16, chunk("data", frames16({{5, 5}})), kFmt16, kData16}),
    };
    for (const Bytes& body : bodies) {
        sig::WavReadResult r = sig::wavread(dir.write("o.wav", riff(body)));
        EXPECT_EQ(*r.y, expected16());
    }
    sig::WavReadResult r = sig::wavread(dir.write("o.wav", riff(bodies[1])));
    ASSERT_TRUE(r.opt_ck.info);
    EXPECT_EQ(*r.opt_ck.info, (sig::WavFields{{"inam", "Run 3\n2nd"}, {"icmt", "dyno"}}));
    EXPECT_EQ(*r.opt_ck.list, (sig::WavFields{{"adtl", "xyz"}}));
    EXPECT_EQ(*r.opt_ck.fact, std::string("\3\0\0\0", 4));
    EXPECT_FALSE(r.opt_ck.dispText);
    r = sig::wavread(dir.write("o.wav", riff(bodies[2])));
    EXPECT_EQ(*r.opt_ck.dispText, "Take 1");  // the picture after it is ignored
    // A text display chunk of 4 to 7 bytes cannot be a picture.
    r = sig::wavread(
        dir.write("o.wav", riff(cat({kFmt16, chunk("disp", cat({le32(8), str("ab")})), kData16}))));
    EXPECT_EQ(*r.opt_ck.dispText, "ab");
}

TEST_F(WavRead, FormatChunkSizes) {
    const Bytes common = fmtCommon(1, 2, 44100, 4);
    const Bytes fmts[] = {
        chunk("fmt ", cat({common, le16(16)})), chunk("fmt ", cat({common, le16(16), le16(0)})),
        chunk("fmt ", cat({common, le16(16), le16(22), Bytes(22, 0x55)})),  // 40 bytes
        chunk("fmt ", cat({common, le16(16), Bytes{9}})),                   // 17 bytes and pad
    };
    for (const Bytes& f : fmts) {
        sig::WavReadResult r = sig::wavread(dir.write("f.wav", riff(cat({f, kData16}))));
        EXPECT_EQ(*r.y, expected16());
        EXPECT_EQ(*r.opt_ck.fmt->nBitsPerSample, 16);
    }
    sig::WavReadResult r = sig::wavread(dir.write("f.wav", riff(cat({fmts[0], kData16}))));
    EXPECT_FALSE(r.opt_ck.fmt->cbSize);
    r = sig::wavread(dir.write("f.wav", riff(cat({fmts[2], kData16}))));
    EXPECT_EQ(*r.opt_ck.fmt->cbSize, 22);
    // The extensible description is kept as read.
    r = sig::wavread(dir.write(
        "f.wav", riff(cat({fmtExtensible(2, 48000, 3, 24, 1), chunk("data", Bytes(6, 0))}))));
    EXPECT_EQ(r.opt_ck.fmt->wFormatTag, 65534);
    EXPECT_EQ(*r.opt_ck.fmt->wValidBitsPerSample, 24);
    EXPECT_EQ(*r.opt_ck.fmt->SubFormat, "00000001-0000-0010-8000-00aa00389b71");
    EXPECT_EQ(r.y->rows(), 1);
}

TEST_F(WavRead, TruncatedFiles) {
    const Bytes good = riff(cat({kFmt16, kData16}));
    // One to three stray bytes after the last chunk end the walk quietly.
    for (int extra = 1; extra <= 3; ++extra) {
        Bytes b = good;
        b.insert(b.end(), static_cast<std::size_t>(extra), 'x');
        EXPECT_EQ(*sig::wavread(dir.write("t.wav", b)).y, expected16());
    }
    // A data chunk cut short, or not a whole number of frames: the whole frames present.
    Bytes cut = good;
    cut.resize(cut.size() - 3);
    EXPECT_EQ(*sig::wavread(dir.write("t.wav", cut)).y, expected16().topRows(2));
    Bytes ragged = riff(
        cat({kFmt16, chunk("data", cat({frames16({{-32768, 32767}, {1, -1}}), Bytes{7, 7, 7}})),
             chunk("LIST", cat({str("INFO"), chunk("ICMT", str("after"))}))}));
    sig::WavReadResult r = sig::wavread(dir.write("t.wav", ragged));
    EXPECT_EQ(*r.y, expected16().topRows(2));
    EXPECT_EQ(r.opt_ck.info->at(0).second, "after");
    // An odd 8-bit data chunk whose pad byte the file lacks.
    Bytes noPad = riff(cat({fmtChunk(1, 1, 8000, 1), chunk("data", Bytes{0, 128, 255}, false)}));
    EXPECT_EQ(sig::wavread(dir.write("t.wav", noPad)).y->rows(), 3);
    // A data chunk with nothing in it reads as no samples.
    r = sig::wavread(dir.write("t.wav", riff(cat({kFmt16, chunk("data", {})}))));
    EXPECT_EQ(r.y->rows(), 0);
    EXPECT_EQ(r.y->cols(), 2);
}

TEST_F(WavRead, FailureMessages) {
    const std::string trunc = "Truncated chunk header found - possibly not a WAV file.";
    const Bytes fmt8 = fmtChunk(1, 1, 8000, 1);
    const Bytes data8 = chunk("data", Bytes{1, 2});
    struct Case {
        Bytes file;
        std::string message;
    };
    const Case cases[] = {
        {{}, "Not a WAVE file."},
        {str("RIF"), "Not a WAVE file."},
        {cat({str("RIFX"), le32(4), str("WAVE")}), "Not a WAVE file."},
        {cat({str("RIFF"), le32(4)}), "Not a WAVE file."},
        {cat({str("RIFF"), le32(4), str("WAV")}), "Not a WAVE file."},
        {cat({str("RIFF"), le32(4), str("AVI ")}),
         "File does not contain required 'WAVE' data chunk."},
        {cat({riff(fmt8), str("data"), le16(2)}), trunc},
        {riff(cat({data8, fmt8})), "Corrupt WAV file: found audio data before format information."},
        {riff(cat({fmt8, str("junk"), le32(100), Bytes(10, 0)})),
         "Incorrect chunk size information in WAV file."},
        {riff(cat({fmt8, chunk("junk", {1}, false)})),
         "Incorrect chunk size information in WAV file."},
        {riff(chunk("fmt ", Bytes(13, 1))), "Error reading <wave-fmt> chunk."},
        {riff(cat({str("fmt "), le32(40), fmtCommon(3, 1, 8000, 4)})),
         "Error reading <wave-fmt> chunk."},
        {riff(chunk("fmt ", cat({fmtCommon(1, 1, 8000, 1), Bytes{8}}))),
         "Error reading PCM <wave-fmt> chunk."},
        {riff(chunk("fmt ", fmtCommon(1, 1, 8000, 1))), "Error reading PCM <wave-fmt> chunk."},
        // Cut short inside a PCM format chunk: the chunk's own skip fails last.
        {riff(cat({str("fmt "), le32(40), fmtCommon(1, 1, 8000, 1), le16(8), le16(0)})),
         "Error reading <wave-fmt> chunk."},
        {riff(cat({fmt8, chunk("fact", {1, 2, 3})})), "Error reading <fact-ck> chunk."},
        {riff(cat({fmt8, chunk("disp", {1})})), "Error reading <disp-ck> chunk."},
        {riff(cat({fmt8, chunk("LIST", {})})), "Error reading <list-ck> chunk."},
        {riff(cat({fmt8, str("LIST"), le32(50), str("INFO")})), "Error reading <list-ck> chunk."},
        {riff(cat({fmt8, str("fact"), le32(9), le32(1)})), "Error reading <fact-ck> chunk."},
        {riff(cat({chunk("fmt ", cat({fmtCommon(2, 1, 8000, 1), le16(4)})), data8})),
         "Data compression format (Microsoft ADPCM) is not supported."},
        {riff(cat({chunk("fmt ", cat({fmtCommon(85, 1, 8000, 1), le16(4)})), data8})),
         "Data compression format (Format #85) is not supported."},
        {riff(cat({chunk("fmt ", cat({fmtCommon(259, 1, 8000, 1), le16(4)})), data8})),
         "Data compression format (IBM AVC Adaptive Differential) is not supported."},
        {riff(cat({fmtExtensible(1, 8000, 2, 16, 6), data8})),
         "Data compression format (Format #65534) is not supported."},
        {riff(cat({chunk("fmt ", fmtCommon(65534, 1, 8000, 2)), data8})),
         "Data compression format (Format #65534) is not supported."},
        {riff(cat({fmtChunk(1, 1, 8000, 5), data8})),
         "Cannot read PCM file formats with more than 32 bits per sample."},
        {riff(cat({chunk("fmt ", cat({fmtCommon(1, 0, 8000, 2), le16(16)})), data8})),
         "Cannot read PCM file formats with more than 32 bits per sample."},
        {riff(cat({chunk("fmt ", cat({fmtCommon(1, 1, 8000, 0), le16(16)})), data8})),
         "Cannot read PCM file formats with more than 32 bits per sample."},
        // An INFO sub-chunk whose length runs past its list.
        {riff(cat({fmt8, chunk("LIST", cat({str("INFO"), str("INAM"), le32(99), str("ab")}))})),
         "Index exceeds matrix dimensions."},
        {riff(cat({fmt8, chunk("LIST", cat({str("INFO"), str("IN")}))})),
         "Index exceeds matrix dimensions."},
        {riff(cat({fmt8, chunk("LIST", cat({str("INFO"), chunk("1NAM", str("x"))}))})),
         "Invalid field name \"1nam\"."},
        // No format chunk at all: the format description is empty.
        {riff({}), "Attempt to reference field of non-structure array."},
        {riff(chunk("junk", {1, 2})), "Attempt to reference field of non-structure array."},
    };
    int i = 0;
    for (const Case& c : cases) {
        EXPECT_EQ(readError(dir.write("e.wav", c.file)), c.message) << "case " << i;
        ++i;
    }
    EXPECT_EQ(readError(dir.file("missing.wav")), "Cannot open file.");
    EXPECT_EQ(readError(dir.file("")), "Cannot open file.");
}

TEST_F(WavRead, ExtensionRule) {
    const Bytes file = riff(cat({kFmt16, kData16}));
    dir.write("REC.wav", file);
    EXPECT_EQ(*sig::wavread(dir.file("REC")).y, expected16());
    dir.write("rec.dat", file);
    EXPECT_EQ(*sig::wavread(dir.file("rec.dat")).y, expected16());
    EXPECT_EQ(readError(dir.file("rec")), "Cannot open file.");  // rec.wav does not exist
}

TEST_F(WavRead, SampleRanges) {
    const std::string path = dir.write("x.wav", riff(cat({kFmt16, kData16})));
    EXPECT_EQ(*sig::wavread(path, sig::wavExtent({2})).y, expected16().topRows(2));
    EXPECT_EQ(*sig::wavread(path, sig::wavExtent({2, 3})).y, expected16().bottomRows(2));
    EXPECT_EQ(*sig::wavread(path, sig::wavExtent({3, 3})).y, expected16().bottomRows(1));
    Eigen::MatrixXd size(1, 2);
    size << 3, 2;
    for (std::vector<double> ext : {std::vector<double>{0}, std::vector<double>{0, 0}})
        EXPECT_EQ(*sig::wavread(path, sig::wavExtent(ext)).y, size);
    EXPECT_EQ(readError(path, sig::wavExtent({4})), "Sample limits out of range.");
    EXPECT_EQ(readError(path, sig::wavExtent({0, 2})), "Sample limits out of range.");
    EXPECT_EQ(readError(path, sig::wavExtent({1.5, 2})), "Sample limits out of range.");
    EXPECT_EQ(readError(path, sig::wavExtent({3, 2})),
              "Sample limits must be given in ascending order.");
    EXPECT_THROW(sig::wavExtent({1, 2, 3}), rt::Error);
}

TEST_F(WavRead, ByName) {
    rt::FunctionTable t;
    sig::register_wavread(t);
    ASSERT_NE(t.find("wavread"), nullptr);
    EXPECT_EQ(t.find("wavread")->nin, 2);
    EXPECT_EQ(t.find("wavread")->nout, 4);
    const Bytes info = chunk("LIST", cat({str("INFO"), chunk("INAM", str("R\xe4"
                                                                         "der"))}));
    const std::string path = dir.write("n.wav", riff(cat({kFmt16, info, kData16})));
    rt::Values out = t.call("wavread", {rt::Value(path)}, 4);
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(rt::toMatrix(out[0]), expected16());
    EXPECT_EQ(out[1].scalar(), 44100);
    EXPECT_EQ(out[2].scalar(), 16);
    const rt::Value& opt = out[3];
    EXPECT_EQ(opt.field("fmt").field("nBlockAlign").scalar(), 4);
    EXPECT_EQ(opt.field("fmt").field("nBitsPerSample").scalar(), 16);
    EXPECT_EQ(opt.field("info").field("inam").text16(), u"R\u00e4der");  // Latin-1 text

    for (const char* s : {"size", "s", "SI"}) {
        out = t.call("wavread", {rt::Value(path), rt::Value(s)}, 1);
        EXPECT_EQ(rt::toVector(out[0]), (std::vector<double>{3, 2}));
    }
    out = t.call("wavread", {rt::Value(path), rt::Value::row({2, 3})}, 1);
    EXPECT_EQ(rt::toMatrix(out[0]), expected16().bottomRows(2));
    out = t.call("wavread", {rt::Value(path), rt::Value::empty()}, 2);
    EXPECT_EQ(out.size(), 2u);

    auto message = [&](const rt::Values& in, int nargout) {
        try {
            t.call("wavread", in, nargout);
        } catch (const rt::Error& e) {
            return std::string(e.what());
        }
        return std::string("(no error)");
    };
    const std::string range = "Index range must be specified as a scalar or 2-element vector.";
    EXPECT_EQ(message({rt::Value(path), rt::Value::row({1, 2, 3})}, 1), range);
    EXPECT_EQ(message({rt::Value(path), rt::Value("sizes")}, 1), range);
    // The range check comes before the file is opened.
    EXPECT_EQ(message({rt::Value(dir.file("none")), rt::Value::row({1, 2, 3})}, 1), range);
    EXPECT_NE(message({rt::Value(path), rt::Value(), rt::Value()}, 1).find("wavread"),
              std::string::npos);
    EXPECT_NE(message({rt::Value(path)}, 5).find("wavread"), std::string::npos);
    // A format chunk but no data chunk: y was never assigned.
    const std::string noData = dir.write("nodata.wav", riff(kFmt16));
    EXPECT_EQ(message({rt::Value(noData)}, 2),
              "One or more output arguments not assigned during call to 'wavread'.");
    EXPECT_THROW(sig::wavread_recording(noData), rt::Error);
}

TEST_F(WavRead, CutShortDataChunkWarnsAndKeepsTheWholeFrames) {
    const Bytes good = riff(cat({kFmt16, kData16}));
    Bytes cut = good;
    cut.resize(cut.size() - 3);  // half of the last frame's first sample gone, and its second
    const std::string path = dir.write("cut.wav", cut);
    WarningCapture warnings;
    EXPECT_EQ(*sig::wavread(path).y, expected16().topRows(2));
    ASSERT_EQ(warnings.lines.size(), 1u);
    EXPECT_NE(warnings.lines[0].find("cut short"), std::string::npos) << warnings.lines[0];
    EXPECT_NE(warnings.lines[0].find("3 frames expected, 2 read"), std::string::npos);
    EXPECT_NE(warnings.lines[0].find("cut.wav"), std::string::npos);
    // A size request says so too; a whole file says nothing.
    EXPECT_EQ(*sig::wavread(path, sig::wavExtent({0})).y,
              (Eigen::MatrixXd(1, 2) << 2, 2).finished());
    EXPECT_EQ(warnings.lines.size(), 2u);
    sig::wavread(dir.write("good.wav", good));
    EXPECT_EQ(warnings.lines.size(), 2u);
    // A size of no whole number of frames, cut within its broken last frame: no frame is
    // missing, nothing to warn of.
    Bytes ragged =
        riff(cat({kFmt16, chunk("data", cat({frames16({{1, 2}, {3, 4}}), Bytes{5, 6}}))}));
    ragged.pop_back();
    EXPECT_EQ(sig::wavread(dir.write("ragged.wav", ragged)).y->rows(), 2);
    EXPECT_EQ(warnings.lines.size(), 2u);
}

TEST_F(WavRead, LongFilesByNameAndTypedAgree) {
    // One, two and three channels (each decoded its own way) over several read blocks, in
    // every sample width.
    const int frames = 70001;
    for (int channels : {1, 2, 3})
        for (int bytes : {1, 2, 3, 4}) {
            SCOPED_TRACE(std::to_string(channels) + " channels, " + std::to_string(bytes));
            Bytes data;
            data.reserve(static_cast<std::size_t>(frames * channels * bytes));
            for (int f = 0; f < frames; ++f)
                for (int c = 0; c < channels; ++c) {
                    const unsigned v = static_cast<unsigned>(f * 7919 + c * 104729) * 2654435761u;
                    for (int b = 0; b < bytes; ++b)
                        data.push_back(static_cast<std::uint8_t>(v >> (8 * b)));
                }
            const std::string path = dir.write(
                "long.wav", riff(cat({fmtChunk(1, channels, 8000, bytes), chunk("data", data)})));
            const sig::WavReadResult typed = sig::wavread(path);
            ASSERT_EQ(typed.y->rows(), frames);
            ASSERT_EQ(typed.y->cols(), channels);
            rt::FunctionTable t;
            sig::register_wavread(t);
            const rt::Value byName = t.call("wavread", {rt::Value(path)}, 1)[0];
            EXPECT_EQ(rt::toMatrix(byName), *typed.y);
            // Frame 50000 of the last channel, decoded by hand.
            const int c = channels - 1;
            const unsigned v = static_cast<unsigned>(49999 * 7919 + c * 104729) * 2654435761u;
            const double want = bytes == 1   ? ((v & 0xff) - 128.0) / 128
                                : bytes == 2 ? static_cast<std::int16_t>(v & 0xffff) / 32768.0
                                : bytes == 3 ? (static_cast<std::int32_t>(v << 8) >> 8) / 8388608.0
                                             : static_cast<std::int32_t>(v) / 2147483648.0;
            EXPECT_EQ((*typed.y)(49999, c), want);
            const rt::Value part =
                t.call("wavread", {rt::Value(path), rt::Value::row({40000, 50000})}, 1)[0];
            EXPECT_EQ(rt::toMatrix(part), typed.y->middleRows(39999, 10001));
        }
}
