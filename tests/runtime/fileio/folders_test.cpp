// File and folder tests against a scratch folder made by the test.
#include "runtime/fileio/folders.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "runtime/dispatch/error.h"

namespace fs = std::filesystem;

namespace {

class Folders : public ::testing::Test {
protected:
    void SetUp() override {
        old_ = fs::current_path();
        root_ = fs::temp_directory_path() / ("rt_folders_" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_ / "sub");
        std::ofstream(root_ / "a.cfg") << "x";
        std::ofstream(root_ / "sub" / "b.txt") << "y";
    }
    void TearDown() override {
        fs::current_path(old_);
        fs::remove_all(root_);
    }
    fs::path old_, root_;
};

TEST_F(Folders, ExistTellsFilesFromFolders) {
    const std::string f = (root_ / "a.cfg").string(), d = (root_ / "sub").string();
    EXPECT_EQ(rt::exist(f, "file"), 2);
    EXPECT_EQ(rt::exist(f, "dir"), 0);
    EXPECT_EQ(rt::exist(d, "dir"), 7);
    EXPECT_EQ(rt::exist(d, "file"), 7);
    EXPECT_EQ(rt::exist((root_ / "none").string(), "file"), 0);
    EXPECT_EQ(rt::exist((root_ / "none").string(), "dir"), 0);
    EXPECT_EQ(rt::exist("", "file"), 0);
    EXPECT_THROW(rt::exist(f, "var"), rt::Error);
}

TEST_F(Folders, CdAndPwdAndRelativeNames) {
    rt::cd(root_.string());
    EXPECT_EQ(fs::path(rt::pwd()), fs::canonical(root_));
    EXPECT_EQ(rt::exist("a.cfg", "file"), 2);
    rt::cd("sub");
    EXPECT_EQ(rt::exist("b.txt", "file"), 2);
    EXPECT_EQ(rt::exist("a.cfg", "file"), 0);
    rt::cd("..");
    const std::string here = rt::pwd();
    try {
        rt::cd("no_such_folder");
        FAIL() << "cd into a missing folder must fail";
    } catch (const rt::Error& e) {
        EXPECT_NE(std::string(e.what()).find("no_such_folder"), std::string::npos);
    }
    EXPECT_EQ(rt::pwd(), here);
    EXPECT_THROW(rt::cd("a.cfg"), rt::Error);  // a file is no folder
    EXPECT_EQ(rt::filesep(), "/");
}

TEST_F(Folders, DirListsAName) {
    EXPECT_EQ(rt::dir(root_.string()), (std::vector<std::string>{"a.cfg", "sub"}));
    EXPECT_EQ(rt::dir((root_ / "sub" / "b.txt").string()), (std::vector<std::string>{"b.txt"}));
    EXPECT_TRUE(rt::dir((root_ / "missing.png").string()).empty());
}

}  // namespace

TEST_F(Folders, UserCacheFolderFollowsTheEnvironment) {
    struct Env {
        std::string name;
        std::optional<std::string> old;
        Env(const char* n) : name(n) {
            if (const char* v = std::getenv(n)) old = v;
        }
        ~Env() { old ? setenv(name.c_str(), old->c_str(), 1) : unsetenv(name.c_str()); }
    } xdg("XDG_CACHE_HOME"), home("HOME");

    setenv("XDG_CACHE_HOME", (root_ / "xdg").c_str(), 1);
    EXPECT_EQ(rt::userCacheFolder("prog"), (root_ / "xdg" / "prog").string());
    EXPECT_TRUE(fs::is_directory(root_ / "xdg" / "prog"));
    // A relative XDG_CACHE_HOME is ignored, as the convention says.
    setenv("XDG_CACHE_HOME", "relative", 1);
    setenv("HOME", (root_ / "home").c_str(), 1);
    EXPECT_EQ(rt::userCacheFolder("prog"), (root_ / "home" / ".cache" / "prog").string());
    // Nowhere to keep it, or it cannot be made: no folder.
    unsetenv("XDG_CACHE_HOME");
    unsetenv("HOME");
    EXPECT_EQ(rt::userCacheFolder("prog"), "");
    setenv("HOME", (root_ / "a.cfg").c_str(), 1);  // a file where the folder would be
    EXPECT_EQ(rt::userCacheFolder("prog"), "");
}
