// Test entry point for suites that create widgets. Without a display setting the suites run offscreen, so a
// plain ctest (whose test discovery does not get the suites' environment) works on a headless machine.
#include <QApplication>
#include <gtest/gtest.h>

#include "TestProcess.h"

int main(int argc, char **argv)
{
    prepareTestProcess();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Suites that host the map page start Qt WebEngine: as root it runs only without its sandbox, and it
    // needs shared GL contexts set before the application exists.
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
