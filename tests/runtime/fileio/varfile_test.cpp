// The variable file: round trips, the parameter file's 25 variables, damaged and foreign
// files, and saves that fail part-way.
#include "runtime/fileio/varfile.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>

#include "runtime/dispatch/error.h"
#include "support/file_size_limit.h"
#include "support/test_helpers.h"

namespace fs = std::filesystem;
using testsupport::errorOf;

namespace {

std::uint64_t bits(double d) {
    std::uint64_t b;
    std::memcpy(&b, &d, 8);
    return b;
}

double fromBits(std::uint64_t b) {
    double d;
    std::memcpy(&d, &b, 8);
    return d;
}

// Same class, shape and bit patterns (NaN payloads and -0 included).
void expectIdentical(const rt::Value& a, const rt::Value& b, const std::string& name) {
    ASSERT_EQ(a.classId(), b.classId()) << name;
    ASSERT_EQ(a.dims(), b.dims()) << name;
    if (a.isChar()) {
        EXPECT_EQ(a.charData(), b.charData()) << name;
        return;
    }
    ASSERT_EQ(a.re().size(), b.re().size()) << name;
    ASSERT_EQ(a.im().size(), b.im().size()) << name;
    for (std::size_t i = 0; i < a.re().size(); ++i)
        EXPECT_EQ(bits(a.re()[i]), bits(b.re()[i])) << name;
    for (std::size_t i = 0; i < a.im().size(); ++i)
        EXPECT_EQ(bits(a.im()[i]), bits(b.im()[i])) << name;
}

std::vector<std::uint8_t> readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& p, const std::vector<std::uint8_t>& b) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

class VarFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() / ("rt_varfile_" + std::to_string(::getpid()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    std::string path(const std::string& name) const { return (dir_ / name).string(); }
    // Names in the folder, to show that no temporary file stays behind.
    std::vector<std::string> listing() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir_)) out.push_back(e.path().filename());
        std::sort(out.begin(), out.end());
        return out;
    }
    fs::path dir_;
};

TEST_F(VarFile, RoundTripIsBitExact) {
    const double nanPayload = fromBits(0x7FF8000000C0FFEEull);
    const std::vector<rt::NamedValue> vars = {
        {"zero", 0.0},
        {"negzero", -0.0},
        {"third", 1.0 / 3.0},
        {"nan", nanPayload},
        {"inf", -std::numeric_limits<double>::infinity()},
        {"tiny", std::numeric_limits<double>::denorm_min()},
        {"sub", fromBits(0x000FFFFFFFFFFFFFull)},  // largest subnormal
        {"big", std::numeric_limits<double>::max()},
        {"row", rt::Value::row({1.5, -0.0, 2e-310, 1e300})},
        {"column", rt::Value::column({7, 8})},
        {"mat", rt::Value::matrix(2, 3, {1, 2, 3, 4, 5, 6})},
        {"e00", rt::Value::empty(0, 0)},
        {"e01", rt::Value::empty(0, 1)},
        {"e10", rt::Value::empty(1, 0)},
        {"z", rt::Value::matrix(2, 1, {1, -0.0}, {-0.0, 2.5})},
        {"luft", rt::Value("Luft Temperatur [°C]")},
        {"umlaut", rt::Value("ä ö ü ß")},
        {"latin", rt::Value(u"\u00DC\u00B2\u00E9\u00E8\u00E0\u00EA\u00BF\u00FF")},
        {"wide", rt::Value(u"\u20AC\xFFFF")},  // beyond Latin-1: 16-bit units kept
        {"list", rt::Value::charMatrix(std::vector<std::string>{"ab", "cde"})},
        {"notext", rt::Value("")},
        {"flags", rt::Value::logical(2, 2, {1, 0, 0, 1})},
        {"yes", rt::Value::logical(true)},
    };
    rt::save(path("all.cfg"), vars);
    const std::vector<rt::NamedValue> back = rt::load(path("all.cfg"));
    ASSERT_EQ(back.size(), vars.size());
    for (std::size_t i = 0; i < vars.size(); ++i) {
        EXPECT_EQ(back[i].name, vars[i].name);
        expectIdentical(back[i].value, vars[i].value, vars[i].name);
    }
    EXPECT_EQ(back[15].value.text(), "Luft Temperatur [°C]");
    EXPECT_EQ(back[16].value.text(), "ä ö ü ß");
    EXPECT_EQ(listing(), std::vector<std::string>{"all.cfg"});
}

TEST_F(VarFile, ByteLayoutIsTheDocumentedOne) {
    // Expected bytes written out by hand from the layout in varfile.h; the CRC-32 from
    // Python's zlib.crc32 over the bytes before it.
    const std::vector<std::uint8_t> expected = {
        0x89, 0x52, 0x56, 0x46, 0x0D, 0x0A, 0x1A, 0x0A, 0x01, 0x00, 0x00, 0x00, 0x02, 0x00,
        0x00, 0x00, 0x01, 0x78, 0x01, 0x01, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0xF0, 0x3F, 0x01, 0x74, 0x03, 0x01, 0x00, 0x00, 0x00,
        0x02, 0x00, 0x00, 0x00, 0xE4, 0x00, 0xB0, 0x00, 0x10, 0x68, 0xE8, 0x8E};
    const std::vector<rt::NamedValue> vars = {{"x", 1.0}, {"t", rt::Value("ä°")}};
    EXPECT_EQ(rt::encodeVariables(vars), expected);
    const auto back = rt::decodeVariables(expected.data(), expected.size(), "bytes");
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].value.text(), "ä°");
}

TEST_F(VarFile, ParameterFileKeepsItsTwentyFiveVariablesInOrder) {
    const char* names[] = {"m",     "cw",    "r",       "u",       "l",       "fl",   "J",
                           "ur",    "A",     "W",       "komment", "cutvmax", "sig1", "sig2",
                           "xaxis", "yaxis", "wav_kom", "T",       "P",       "tit",  "mr",
                           "Mr",    "cbh",   "fro",     "wavfile"};
    std::vector<rt::NamedValue> vars;
    for (std::size_t i = 0; i < 25; ++i) vars.push_back({names[i], 0.015 * static_cast<double>(i)});
    vars[0].value = 200.0;
    vars[19].value = rt::Value("Leistung über Drehzahl");
    vars[24].value = rt::Value("/home/tuner/Läufe/run1.wav");
    vars[10].value = rt::Value::empty(0, 0);  // an empty number field stays empty

    // Any extension: the name decides nothing.
    for (const char* file : {"run1.cfg", "run1.txt", "my.run", "noext"}) {
        rt::save(path(file), vars);
        const auto back = rt::load(path(file));
        ASSERT_EQ(back.size(), 25u) << file;
        for (std::size_t i = 0; i < 25; ++i) {
            EXPECT_EQ(back[i].name, names[i]);
            expectIdentical(back[i].value, vars[i].value, names[i]);
        }
    }
    // Saving again replaces the file whole.
    vars.resize(1);
    rt::save(path("run1.cfg"), vars);
    EXPECT_EQ(rt::load(path("run1.cfg")).size(), 1u);
}

TEST_F(VarFile, DamagedAndForeignFilesGiveAClearError) {
    const std::vector<rt::NamedValue> vars = {{"m", 200.0},
                                              {"tit", rt::Value("Prüfstand")},
                                              {"row", rt::Value::row({1, 2, 3})},
                                              {"ok", rt::Value::logical(true)}};
    const std::vector<std::uint8_t> good = rt::encodeVariables(vars);
    auto fails = [&](const std::vector<std::uint8_t>& b, const std::string& expect) {
        writeFile(dir_ / "bad.cfg", b);
        try {
            rt::load(path("bad.cfg"));
            ADD_FAILURE() << "loaded a bad file; expected: " << expect;
        } catch (const rt::Error& e) {
            const std::string msg = e.what();
            EXPECT_NE(msg.find(expect), std::string::npos) << msg;
            EXPECT_NE(msg.find("bad.cfg"), std::string::npos) << msg;
        }
    };
    auto patched = [&](std::size_t at, std::vector<std::uint8_t> with) {
        std::vector<std::uint8_t> b = good;
        std::copy(with.begin(), with.end(), b.begin() + static_cast<std::ptrdiff_t>(at));
        return b;
    };
    // Foreign files.
    fails({}, "is not a variable file");
    fails({'m', ' ', '=', ' ', '2', '0', '0', '\n'}, "is not a variable file");
    fails({'R', 'I', 'F', 'F', 0x24, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '},
          "is not a variable file");
    // Cut short anywhere: a clear error at every length.
    for (std::size_t n = 0; n < good.size(); ++n)
        fails(
            std::vector<std::uint8_t>(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n)),
            n < 8 ? "is not a variable file" : "damaged");
    // Offsets: header 16; "m" record at 16 (name 1+1, class 1, dims 8, data 8) to 35.
    fails(patched(8, {2, 0, 0, 0}), "version 2");
    fails(patched(12, {0xFF, 0xFF, 0xFF, 0xFF}), "damaged");    // forged count
    fails(patched(19, {0xFF, 0xFF, 0xFF, 0xFF}), "cut short");  // forged rows: no huge allocation
    fails(patched(18, {9}), "unknown class");
    fails(patched(17, {'1'}), "invalid variable name");
    fails(patched(16, {0}), "invalid variable name");
    fails(patched(30, {0x41}), "checksum");  // one bit of 200.0 flipped
    std::vector<std::uint8_t> longer = good;
    longer.push_back(0);
    fails(longer, "damaged");
    // A logical byte other than 0/1 and a repeated name, with a fitting checksum: the
    // structure itself is refused.
    std::vector<rt::NamedValue> twice = {{"a", 1.0}, {"b", 2.0}};
    std::vector<std::uint8_t> t = rt::encodeVariables(twice);
    t[16 + 1 + 19] = 'a';  // second record's name
    fails(t, "appears twice");
    std::vector<std::uint8_t> lg = rt::encodeVariables({{"f", rt::Value::logical(true)}});
    lg[lg.size() - 5] = 2;
    fails(lg, "0 or 1");

    // Missing file and a folder.
    EXPECT_THROW(rt::load(path("missing.cfg")), rt::Error);
    EXPECT_THROW(rt::load(dir_.string()), rt::Error);
}

TEST_F(VarFile, ShapesAreBoundedEvenWhenEmpty) {
    // A title of 4294967295 x 0 characters with a fitting checksum: no data claims it, so only
    // a bound on each dimension keeps the rows of such a text from being walked.
    const std::vector<rt::NamedValue> vars = {{"m", 200.0}, {"tit", rt::Value::chars(1, 0, u"")}};
    std::vector<std::uint8_t> forged = rt::encodeVariables(vars);
    const std::size_t titRows = 16 + 19 + 1 + 3 + 1;  // after m's record, tit's length, name, class
    for (std::size_t k = 0; k < 4; ++k) forged[titRows + k] = 0xFF;
    auto reseal = [](std::vector<std::uint8_t>& b) {
        const std::uint32_t crc = rt::variableFileChecksum(b.data(), b.size() - 4);
        for (int k = 0; k < 4; ++k) b[b.size() - 4 + k] = static_cast<std::uint8_t>(crc >> 8 * k);
    };
    reseal(forged);
    writeFile(dir_ / "forged.cfg", forged);
    try {
        rt::load(path("forged.cfg"));
        ADD_FAILURE() << "a 4294967295 x 0 text was loaded";
    } catch (const rt::Error& e) {
        EXPECT_EQ(std::string(e.what()),
                  "load: \"" + path("forged.cfg") +
                      "\" is a damaged variable file (variable \"tit\" of 4294967295 x 0 is "
                      "larger than 65535 in a dimension).");
    }
    // The columns are bounded alike, for every class.
    const std::vector<std::uint8_t> zeroBy16M = {0, 0, 0, 0, 0, 0, 0, 1};
    std::copy(zeroBy16M.begin(), zeroBy16M.end(), forged.begin() + titRows);
    reseal(forged);
    EXPECT_THROW(rt::decodeVariables(forged.data(), forged.size(), "f"), rt::Error);

    // The largest shapes allowed load, list and save again.
    const std::vector<rt::NamedValue> edge = {{"rows", rt::Value::chars(65535, 0, u"")},
                                              {"cols", rt::Value::empty(0, 65535)}};
    rt::save(path("edge.cfg"), edge);
    const auto back = rt::load(path("edge.cfg"));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].value.dims(), (std::vector<std::size_t>{65535, 0}));
    EXPECT_EQ(back[0].value.rowTexts().size(), 65535u);
    EXPECT_EQ(back[0].value.text16(), u"");
    EXPECT_EQ(back[1].value.dims(), (std::vector<std::size_t>{0, 65535}));
    EXPECT_THROW(rt::save(path("big.cfg"), {{"tit", rt::Value::chars(65536, 0, u"")}}), rt::Error);
    EXPECT_FALSE(fs::exists(dir_ / "big.cfg"));
}

TEST_F(VarFile, WhatIsNotARegularFileIsRefusedAtOnce) {
    // Nothing writes to the FIFO: a load that opened it for reading would wait for ever.
    ASSERT_EQ(::mkfifo(path("start.cfg").c_str(), 0600), 0);
    EXPECT_EQ(errorOf([&] { rt::load(path("start.cfg")); }),
              "load: cannot read \"" + path("start.cfg") + "\": not a regular file.");
    EXPECT_EQ(errorOf([&] { rt::load(dir_.string()); }),
              "load: cannot read \"" + dir_.string() + "\": Is a directory.");
    if (fs::exists("/dev/zero")) {
        EXPECT_EQ(errorOf([&] { rt::load("/dev/zero"); }),
                  "load: cannot read \"/dev/zero\": not a regular file.");
    }
}

TEST_F(VarFile, UnsavableValuesLeaveNoFile) {
    EXPECT_THROW(rt::save(path("a.cfg"), {{"c", rt::Value::cell(1, 1)}}), rt::Error);
    EXPECT_THROW(rt::save(path("a.cfg"), {{"1x", 1.0}}), rt::Error);
    EXPECT_THROW(rt::save(path("a.cfg"), {{"x", 1.0}, {"x", 2.0}}), rt::Error);
    EXPECT_THROW(rt::save(path("a.cfg"), {{std::string(64, 'a'), 1.0}}), rt::Error);
    EXPECT_THROW(rt::save(dir_.string() + "/", {{"x", 1.0}}), rt::Error);
    EXPECT_TRUE(listing().empty());
    // A folder of the target's name is not replaced.
    fs::create_directory(dir_ / "taken");
    std::ofstream(dir_ / "taken" / "keep") << "k";
    EXPECT_THROW(rt::save(path("taken"), {{"x", 1.0}}), rt::Error);
    EXPECT_EQ(listing(), std::vector<std::string>{"taken"});
}

TEST_F(VarFile, SaveIntoReadOnlyFolderKeepsTheOldFile) {
    rt::save(path("par.cfg"), {{"m", 150.0}});
    const std::vector<std::uint8_t> before = readFile(dir_ / "par.cfg");
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::remove);
    fs::permissions(dir_,
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                        fs::perms::others_exec,
                    fs::perm_options::add);
    // Root ignores folder permissions, so the attempt runs in a child as an ordinary user.
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        try {
            rt::save(path("par.cfg"), {{"m", 999.0}});
        } catch (const rt::Error& e) {
            ::_exit(std::string(e.what()).find("par.cfg") != std::string::npos ? 0 : 2);
        }
        ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "1: saved anyway, 2: message without file, 3: setuid";
    fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
    EXPECT_EQ(readFile(dir_ / "par.cfg"), before);
    EXPECT_EQ(listing(), std::vector<std::string>{"par.cfg"});
}

TEST_F(VarFile, WriteFailingPartWayKeepsTheOldFile) {
    rt::save(path("par.cfg"), {{"m", 150.0}});
    const std::vector<std::uint8_t> before = readFile(dir_ / "par.cfg");
    bool threw = false;
    try {
        testsupport::FileSizeLimit limit(4096);
        rt::save(path("par.cfg"), {{"m", rt::Value::zeros(1, 10000)}});
    } catch (const rt::Error&) {
        threw = true;
    }
    EXPECT_TRUE(threw);
    EXPECT_EQ(readFile(dir_ / "par.cfg"), before);
    EXPECT_EQ(listing(), std::vector<std::string>{"par.cfg"});
}

}  // namespace
