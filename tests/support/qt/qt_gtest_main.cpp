#include <QApplication>
#include <QThreadPool>
#include <gtest/gtest.h>
#include "toolkit/qt/bundled_fonts.h"

int main(int argc, char** argv) {
    // Test programs never need a display: CTest sets offscreen, and so does the test listing
    // that runs right after the build.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    lumbra::UseBundledFonts();
#if defined(__SANITIZE_THREAD__)
    // Qt Gui splits big image work across Qt's thread pool; the pool's threads name themselves
    // and hand work over through Qt code that ThreadSanitizer cannot see, which it reports as
    // races between two pool threads. One pool thread that never retires keeps the image work
    // (and the tests) the same while leaving no second pool thread to race with.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    QThreadPool::globalInstance()->setExpiryTimeout(-1);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
