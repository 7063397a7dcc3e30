// Test entry point. Suites that create widgets are built with ORV_TEST_GUI; without a display setting
// they run offscreen, so a plain ctest (whose test discovery does not get the suites' environment) works
// on a headless machine.
#ifdef ORV_TEST_GUI
#include <QApplication>
#else
#include <QCoreApplication>
#endif
#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    // Where the suites find the developer programs (build/devtools/samplecard...).
    if (qEnvironmentVariableIsEmpty("ORV_BUILD_DIR"))
        qputenv("ORV_BUILD_DIR", ORV_DEFAULT_BUILD_DIR);
    // Each test process gets a temporary folder of its own: ctest runs every test as its own process, in
    // parallel, and the program keeps fixed-name files in its per-user temporary folder.
    static QTemporaryDir tempDir(QDir::tempPath() + QStringLiteral("/orv-test-XXXXXX"));
    if (tempDir.isValid())
        qputenv("TMPDIR", QFile::encodeName(tempDir.path()));
#ifdef ORV_TEST_GUI
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Suites that host the map page start Qt WebEngine: as root it runs only without its sandbox, and it
    // needs shared GL contexts set before the application exists.
    if (qEnvironmentVariableIsEmpty("QTWEBENGINE_CHROMIUM_FLAGS"))
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", "--no-sandbox --disable-gpu");
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
#else
    QCoreApplication app(argc, argv);
#endif
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
