// Test entry point for suites that create widgets. Without a display setting the suites run offscreen, so a
// plain ctest (whose test discovery does not get the suites' environment) works on a headless machine.
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Where the suites find the developer programs (build/devtools/samplecard...).
    if (qEnvironmentVariableIsEmpty("ORV_BUILD_DIR"))
        qputenv("ORV_BUILD_DIR", ORV_DEFAULT_BUILD_DIR);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
