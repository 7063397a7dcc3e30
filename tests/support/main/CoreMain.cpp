// Test entry point for suites that need an event loop but no widgets.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "PrivateTempDir.h"

int main(int argc, char **argv)
{
    // Where the suites find the developer programs (build/devtools/samplecard...).
    if (qEnvironmentVariableIsEmpty("ORV_BUILD_DIR"))
        qputenv("ORV_BUILD_DIR", ORV_DEFAULT_BUILD_DIR);
    usePrivateTempDir();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
