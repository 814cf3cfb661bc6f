#include <QApplication>
#include <gtest/gtest.h>
#include "toolkit/qt/bundled_fonts.h"

int main(int argc, char** argv) {
    // Test programs never need a display: CTest sets offscreen, and so does the test listing
    // that runs right after the build.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    lumbra::UseBundledFonts();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
