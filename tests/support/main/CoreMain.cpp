// Test entry point for suites that need an event loop but no widgets.
#include <QCoreApplication>
#include <gtest/gtest.h>

#include "TestProcess.h"

int main(int argc, char **argv)
{
    prepareTestProcess();
    QCoreApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
