// Whole-file saves: modes and links kept, foreign targets refused, failures and killed saves
// leave the old file whole and no temporary behind.
#include "runtime/fileio/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "runtime/dispatch/error.h"
#include "support/file_size_limit.h"
#include "support/test_helpers.h"
#include "support/wav_bytes.h"

namespace fs = std::filesystem;
using testsupport::errorOf;

namespace {

class AtomicFile : public ::testing::Test {
protected:
    std::string path(const std::string& name) const { return scratch_.file(name); }
    std::string read(const std::string& name) const {
        const wavtest::Bytes b = scratch_.read(name);
        return {b.begin(), b.end()};
    }
    void write(const std::string& name, const std::string& bytes) const {
        scratch_.write(name, wavtest::Bytes(bytes.begin(), bytes.end()));
    }
    std::vector<std::string> listing() const {
        std::vector<std::string> out;
        for (const auto& e : fs::directory_iterator(dir_)) out.push_back(e.path().filename());
        std::sort(out.begin(), out.end());
        return out;
    }
    mode_t mode(const std::string& name) const {
        struct stat st {};
        ::stat(path(name).c_str(), &st);
        return st.st_mode & 07777;
    }
    wavtest::ScratchDir scratch_;
    fs::path dir_ = scratch_.file("");
};

TEST_F(AtomicFile, ReplacesKeepingModeAndWritingThroughLinks) {
    rt::saveFileAtomically(path("new"), std::string_view("first"));
    EXPECT_EQ(read("new"), "first");
    const mode_t mask = ::umask(0);
    ::umask(mask);
    EXPECT_EQ(mode("new"), 0666 & ~mask);

    write("private", "old");
    ::chmod(path("private").c_str(), 0600);
    rt::saveFileAtomically(path("private"), std::string_view("new"));
    EXPECT_EQ(read("private"), "new");
    EXPECT_EQ(mode("private"), 0600u);

    // A chain of links, one relative and across folders: the final file changes, links stay.
    fs::create_directories(dir_ / "real");
    write("real/data", "old");
    ::chmod(path("real/data").c_str(), 0640);
    fs::create_symlink("real/data", dir_ / "hop");
    fs::create_symlink(dir_ / "hop", dir_ / "link");
    rt::saveFileAtomically(path("link"), std::string_view("through"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "link"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "hop"));
    EXPECT_EQ(read("real/data"), "through");
    EXPECT_EQ(mode("real/data"), 0640u);

    // A dangling link creates its target.
    fs::create_symlink("made", dir_ / "dangling");
    rt::saveFileAtomically(path("dangling"), std::string_view("x"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "dangling"));
    EXPECT_EQ(read("made"), "x");

    // Link loops are reported, not followed for ever.
    fs::create_symlink("loop2", dir_ / "loop1");
    fs::create_symlink("loop1", dir_ / "loop2");
    EXPECT_NE(errorOf([&] {
                  rt::saveFileAtomically(path("loop1"), std::string_view("x"));
              }).find("loop1"),
              std::string::npos);
}

TEST_F(AtomicFile, RefusesWhatIsNotARegularFile) {
    fs::create_directories(dir_ / "folder");
    ASSERT_EQ(::mkfifo(path("fifo").c_str(), 0600), 0);
    fs::create_symlink("fifo", dir_ / "tofifo");
    for (const char* name : {"folder", "fifo", "tofifo"})
        EXPECT_EQ(errorOf([&] { rt::saveFileAtomically(path(name), std::string_view("x")); }),
                  "Cannot write \"" + path(name) + "\": not a regular file.");
    EXPECT_NE(errorOf([&] {
                  rt::saveFileAtomically(path("") + "/", std::string_view("x"));
              }).find("names no file"),
              std::string::npos);
    EXPECT_TRUE(fs::is_fifo(dir_ / "fifo"));
    EXPECT_TRUE(fs::is_empty(dir_ / "folder"));
    EXPECT_EQ(listing(), (std::vector<std::string>{"fifo", "folder", "tofifo"}));
}

TEST_F(AtomicFile, FailuresKeepTheOldFileAndNoTemporary) {
    write("keep", "old contents");
    std::string message;
    {
        testsupport::FileSizeLimit limit(4096);
        message = errorOf([&] { rt::saveFileAtomically(path("keep"), std::string(100000, 'n')); });
    }
    EXPECT_EQ(message, "Cannot write \"" + path("keep") + "\": File too large.");
    EXPECT_EQ(read("keep"), "old contents");
    EXPECT_EQ(listing(), std::vector<std::string>{"keep"});

    // A producer's own error passes through unchanged, after the temporary is gone.
    EXPECT_EQ(errorOf([&] {
                  rt::saveFileAtomically(path("keep"), [](int fd, const std::string&) {
                      ASSERT_TRUE(rt::writeFully(fd, "partial"));
                      throw rt::Error("producer gave up");
                  });
              }),
              "producer gave up");
    EXPECT_EQ(read("keep"), "old contents");
    EXPECT_EQ(listing(), std::vector<std::string>{"keep"});

    EXPECT_NE(errorOf([&] {
                  rt::saveFileAtomically(path("no/folder/x"), std::string_view(""));
              }).find("No such file or directory"),
              std::string::npos);
}

TEST_F(AtomicFile, NextSaveRemovesTemporariesOfKilledSaves) {
    write("par.cfg", "old");
    // A pid that is surely gone: a child that has exited and been reaped.
    const pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    const std::string stale = ".par.cfg.tmp" + std::to_string(gone) + "_0";
    const std::string live = ".par.cfg.tmp" + std::to_string(::getppid()) + "_3";
    write(stale, "left by a killed save");
    write(live, "a save still running");
    write(".other.cfg.tmp" + std::to_string(gone) + "_0", "another target's");
    write(".par.cfg.tmpnotapid", "not ours");

    rt::saveFileAtomically(path("par.cfg"), std::string_view("new"));
    EXPECT_EQ(read("par.cfg"), "new");
    EXPECT_EQ(listing(), (std::vector<std::string>{".other.cfg.tmp" + std::to_string(gone) + "_0",
                                                   live, ".par.cfg.tmpnotapid", "par.cfg"}));
}

}  // namespace
