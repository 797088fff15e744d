#include "signal/isdir.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "runtime/dispatch/error.h"
#include "runtime/dispatch/function_table.h"

namespace {

namespace fs = std::filesystem;

class IsdirTest : public ::testing::Test {
protected:
    void SetUp() override {
        root_ =
            fs::temp_directory_path() / ("isdir_test_" + std::to_string(::getpid()) + "_" +
                                         std::to_string(reinterpret_cast<std::uintptr_t>(this)));
        fs::create_directories(root_ / "folder with blank");
        std::ofstream(root_ / "file.txt") << "x";
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
};

TEST_F(IsdirTest, FolderFileMissingAndEmpty) {
    const struct {
        std::string path;
        bool expected;
    } cases[] = {
        {(root_ / "folder with blank").string(), true},
        {(root_ / "folder with blank").string() + "/", true},
        {root_.string(), true},
        {(root_ / "file.txt").string(), false},
        {(root_ / "missing").string(), false},
        {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(sig::isdir(c.path), c.expected) << c.path;
}

TEST_F(IsdirTest, ByNameGivesOneOrZeroAndHoldsItsCounts) {
    rt::FunctionTable t;
    sig::register_isdir(t);
    EXPECT_EQ(t.call("isdir", {rt::Value(root_.string())}, 1).at(0).scalar(), 1.0);
    EXPECT_EQ(t.call("isdir", {rt::Value((root_ / "file.txt").string())}, 1).at(0).scalar(), 0.0);
    EXPECT_EQ(t.call("isdir", {rt::Value("")}, 1).at(0).scalar(), 0.0);
    EXPECT_EQ(t.call("isdir", {rt::Value()}, 1).at(0).scalar(), 0.0);

    try {
        t.call("isdir", {rt::Value("a"), rt::Value("b")}, 1);
        FAIL() << "two inputs accepted";
    } catch (const rt::Error& e) {
        EXPECT_NE(std::string(e.what()).find("isdir"), std::string::npos) << e.what();
    }
    EXPECT_THROW(t.call("isdir", {}, 1), rt::Error);
}

}  // namespace
