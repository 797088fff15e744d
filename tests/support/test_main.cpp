// Test programs run without a display: default to Qt's offscreen platform.
#include <gtest/gtest.h>

#include <cstdlib>

#ifdef ROVANTEL_TEST_WITH_QT
#include <QApplication>
#endif

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM") && !std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
