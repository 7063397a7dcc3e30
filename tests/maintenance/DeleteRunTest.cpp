#include "maintenance/DeleteRun.h"
#include "maintenance/GuardedRemover.h"

#include "MaintenanceFakes.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {
// Runs a delete to its end and answers whether it ended cancelled.
bool runToEnd(std::unique_ptr<GuardedRemover> remover, const QString &folder, bool whole,
              const QStringList &files, FakeMaintenancePrompter &prompter, ProgressLog &log,
              DeleteRun::Settings settings)
{
    FakeMaintenanceProgress progress(log);
    DeleteRun run(std::move(remover), folder, whole, files, prompter, progress, settings);
    std::optional<bool> cancelled;
    QObject::connect(&run, &DeleteRun::finished, [&](bool c) { cancelled = c; });
    run.start();
    while (!cancelled)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return *cancelled;
}
} // namespace

TEST(GuardedRemoverTest, RefusesAnythingButADirectChildOfTheRoot)
{
    TempDir dir;
    dir.write("root/bk/MOVE001/m1.MP4", "x");
    dir.write("root/bk2/sub/m2.MP4", "y");
    dir.write("outside/precious.MP4", "z");
    ASSERT_TRUE(QFile::link(dir.filePath("outside"), dir.filePath("root/out")));
    ASSERT_TRUE(QFile::link(dir.filePath("root/bk2"), dir.filePath("root/alias")));
    ASSERT_TRUE(QFile::link(dir.filePath("outside/precious.MP4"), dir.filePath("root/bk/link.MP4")));
    const GuardedRemover remover(dir.filePath("root"));
    QStringList refused{"root/bk", ""}; // relative or empty
    for (const char *name :
         {"root/..", "root", "root/", "root/.", "root/out", "root/alias", "root/bk2/sub", "outside"})
        refused << dir.filePath(name);
    for (const QString &path : refused) {
        SCOPED_TRACE(path.toStdString());
        EXPECT_TRUE(remover.refuseFolder(path));
        EXPECT_TRUE(remover.removeFolder(path) || !QFileInfo::exists(path));
    }
    // Files: only inside the named backup folder; a link inside goes, not what it points to.
    EXPECT_TRUE(remover.removeFile(dir.filePath("outside/precious.MP4"), dir.filePath("root/bk")));
    EXPECT_TRUE(remover.removeFile(dir.filePath("root/bk/MOVE001"), dir.filePath("root/bk")));
    EXPECT_FALSE(remover.removeFile(dir.filePath("root/bk/link.MP4"), dir.filePath("root/bk")));
    EXPECT_FALSE(remover.removeFolder(dir.filePath("root/bk2")));

    EXPECT_TRUE(QFileInfo::exists(dir.filePath("outside/precious.MP4")));
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("root/bk/MOVE001/m1.MP4")));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("root/bk2")));
    EXPECT_FALSE(QFileInfo(dir.filePath("root/bk/link.MP4")).isSymLink());
}

// Removals that fail: the answers decide, and retrying has an end.
TEST(DeleteRunTest, FailedRemovalsFollowTheAnswerAndRetriesAreBounded)
{
    // Fails every removal of one path; for a folder it reports success but leaves the folder there.
    class StuckRemover : public GuardedRemover
    {
    public:
        StuckRemover(const QString &root, QString stuck) : GuardedRemover(root), _stuck(std::move(stuck)) {}
        std::optional<QString> removeFile(const QString &file, const QString &folder) const override
        {
            return file == _stuck ? std::optional<QString>("busy") : GuardedRemover::removeFile(file, folder);
        }
        std::optional<QString> removeFolder(const QString &folder) const override
        {
            return folder == _stuck ? std::nullopt : GuardedRemover::removeFolder(folder);
        }

    private:
        QString _stuck;
    };
    using A = MaintenancePrompter::RemoveAnswer;
    const struct
    {
        A answer;
        bool whole, cancelled;
        int prompts;
        bool secondRemoved;
    } cases[] = {{A::Ignore, false, false, 1, true},
                 {A::Cancel, false, true, 1, false},
                 {A::Retry, false, false, 4, true},
                 {A::Retry, true, false, 0, false}};
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.answer));
        TempDir dir;
        const QString stuck = dir.write("root/bk/A/m1.MP4", "x");
        const QString other = dir.write("root/bk/B/m2.MP4", "y");
        const QString folder = dir.filePath("root/bk");
        FakeMaintenancePrompter prompter;
        prompter.removeAnswer = c.answer;
        ProgressLog log;
        EXPECT_EQ(runToEnd(std::make_unique<StuckRemover>(dir.filePath("root"), c.whole ? folder : stuck),
                           folder, c.whole, {stuck, other}, prompter, log, {0, 4}),
                  c.cancelled);
        EXPECT_EQ(prompter.log.size(), c.prompts);
        EXPECT_EQ(QFileInfo::exists(other), !c.secondRemoved);
        EXPECT_TRUE(QFileInfo::exists(stuck));
    }
}
