// Test programs run without a display: default to Qt's offscreen platform.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#ifdef ROVANTEL_TEST_WITH_QT
#include <QApplication>
#endif

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    // Qt keeps the file chooser's folder history and column widths in the user's settings: a
    // folder of its own per run keeps one run from shaping the next and the user's untouched.
    std::string config = (std::filesystem::temp_directory_path() / "rovantel_config_XXXXXX");
    const bool own = mkdtemp(config.data()) != nullptr;
    if (own) setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    if (own) std::filesystem::remove_all(config, ignored);
    return result;
}
