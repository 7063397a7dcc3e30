#include "app/Relaunch.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

TEST(RelaunchTest, TheNewCopyIsToldWhichProcessToWaitFor)
{
    const Relaunch::Plan plan = Relaunch::plan("/opt/orvalind/bin/orvalind", 4242);
    EXPECT_EQ(plan.program, "/opt/orvalind/bin/orvalind");
    QStringList argv = plan.arguments;
    argv.prepend(plan.program);
    EXPECT_EQ(Relaunch::waitTarget(argv), 4242) << "what one copy writes the next one reads";

    const QStringList noWait[] = {{"orvalind"},
                                  {"orvalind", "--relaunch-after"},
                                  {"orvalind", "--relaunch-after", "12x"},
                                  {"orvalind", "--relaunch-after", "-5"},
                                  {"orvalind", "--other", "12"}};
    for (const QStringList &arguments : noWait)
        EXPECT_FALSE(Relaunch::waitTarget(arguments)) << arguments.join(' ').toStdString();
}

TEST(RelaunchTest, WaitEndsWhenTheOldProcessHasGoneOrItsNumberRunsAnotherProgram)
{
    // cat runs until its input closes; not sleep, which another suite counts copies of.
    QProcess old;
    old.start("cat", {});
    ASSERT_TRUE(old.waitForStarted());
    const qint64 pid = old.processId();
    // Another program under that number (a reused one) is not waited for.
    EXPECT_TRUE(Relaunch::waitForExit(pid, QCoreApplication::applicationFilePath(), 0));
    EXPECT_FALSE(Relaunch::waitForExit(pid, "/proc/" + QString::number(pid) + "/exe", 0)) << "still running";
    old.closeWriteChannel();
    ASSERT_TRUE(old.waitForFinished());
    EXPECT_TRUE(Relaunch::waitForExit(pid, "/proc/self/exe", 0));
}
