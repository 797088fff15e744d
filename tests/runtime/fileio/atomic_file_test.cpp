// Whole-file saves: modes and links kept, foreign targets refused, failures and killed saves
// leave the old file whole and no temporary behind.
#include "runtime/fileio/atomic_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>

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
    // Nor can others read the new contents while they are written, whatever the umask.
    const mode_t was = ::umask(022);
    rt::saveFileAtomically(path("private"), [](int fd, const std::string&) {
        struct stat st {};
        ASSERT_EQ(::fstat(fd, &st), 0);
        EXPECT_EQ(st.st_mode & 0777, 0600u);
        ASSERT_TRUE(rt::writeFully(fd, "newer"));
    });
    ::umask(was);
    EXPECT_EQ(read("private"), "newer");
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
    // A name that gives a folder would otherwise become a hidden file in it.
    for (const std::string& name : {std::string(), path("folder/"), path("folder/."),
                                    path("folder/.."), std::string("folder/")})
        EXPECT_EQ(errorOf([&] { rt::saveFileAtomically(name, std::string_view("x")); }),
                  "Cannot write \"" + name + "\": it names a folder, not a file.");
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

// One rule, root included: what no permission bit lets anybody write, and a folder in which
// no file can be made, are refused naming the user's file; nothing on disk changes.
TEST_F(AtomicFile, ReadOnlyFilesAndFoldersAndAFullDiskAreRefusedNamingTheUsersFile) {
    using Reason = rt::SaveError::Reason;
    write("ro.txt", "old");
    ::chmod(path("ro.txt").c_str(), 0444);
    fs::create_symlink("ro.txt", dir_ / "to_ro");
    fs::create_directories(dir_ / "locked");
    write("locked/kept.txt", "old");
    write("full.txt", "old");
    ::chmod(path("locked").c_str(), 0555);
    const std::vector<std::string> before = listing();
    const struct {
        const char* name;
        Reason reason;
        const char* why;
        bool fullDisk;
    } cases[] = {
        {"ro.txt", Reason::ReadOnlyFile, "the file is read-only", false},
        {"to_ro", Reason::ReadOnlyFile, "the file is read-only", false},
        {"locked/kept.txt", Reason::ReadOnlyFolder, "the folder is read-only", false},
        {"locked/new.txt", Reason::ReadOnlyFolder, "the folder is read-only", false},
        {"full.txt", Reason::DiskFull, "File too large", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::optional<testsupport::FileSizeLimit> limit;
        if (c.fullDisk) limit.emplace(16);
        try {
            rt::saveFileAtomically(path(c.name), std::string(1000, 'n'));
            ADD_FAILURE() << "saved";
        } catch (const rt::SaveError& e) {
            EXPECT_EQ(e.path(), path(c.name));
            EXPECT_EQ(e.reason(), c.reason);
            EXPECT_EQ(std::string(e.what()),
                      "Cannot write \"" + path(c.name) + "\": " + c.why + ".");
        }
    }
    ::chmod(path("locked").c_str(), 0755);
    EXPECT_EQ(listing(), before);
    EXPECT_EQ(read("ro.txt"), "old");
    EXPECT_EQ(mode("ro.txt"), 0444u);
    EXPECT_EQ(read("locked/kept.txt"), "old");
    EXPECT_EQ(read("full.txt"), "old");
    EXPECT_EQ(fs::directory_iterator(dir_ / "locked")->path().filename(), "kept.txt");
    EXPECT_FALSE(fs::exists(dir_ / "locked/new.txt"));

    // What the owner may write but others may not is still the owner's to replace.
    ::chmod(path("ro.txt").c_str(), 0644);
    rt::saveFileAtomically(path("to_ro"), std::string_view("new"));
    EXPECT_EQ(read("ro.txt"), "new");
}

// A producer that writes the temporary by name may report it; the user reads their own name.
TEST_F(AtomicFile, AProducersMessagesNameTheUsersFileNotTheTemporary) {
    write("keep", "old");
    const std::string kept = path("keep");
    EXPECT_EQ(errorOf([&] {
                  rt::saveFileAtomically(kept, [](int, const std::string& temporary) {
                      throw rt::Error("Cannot open \"" + temporary + "\": Permission denied");
                  });
              }),
              "Cannot open \"" + kept + "\": Permission denied");
    // A save nested on the temporary, failing on a full disk.
    try {
        testsupport::FileSizeLimit full(16);
        rt::saveFileAtomically(kept, [](int, const std::string& temporary) {
            rt::saveFileAtomically(temporary, std::string(1000, 'n'));
        });
        ADD_FAILURE() << "saved";
    } catch (const rt::SaveError& e) {
        EXPECT_EQ(e.path(), kept);
        EXPECT_EQ(e.reason(), rt::SaveError::Reason::DiskFull);
        EXPECT_EQ(std::string(e.what()), "Cannot write \"" + kept + "\": File too large.");
    }
    EXPECT_EQ(read("keep"), "old");
    EXPECT_EQ(listing(), std::vector<std::string>{"keep"});
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
