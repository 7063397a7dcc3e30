#include "maintenance/BackupCopyPlan.h"

#include "recording/FileUtil.h"
#include "support/TempDir.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(BackupCopyPlanTest, TargetsByPathArithmetic)
{
    const struct
    {
        QString source;
        std::optional<QString> target;
    } cases[] = {
        {"/card/MOVE/MOVE001/m1.MP4", "/b/20240501/MOVE001/m1.MP4"},
        {"/card/MOVE/MOV_PRCT.DAT", "/b/20240501/MOV_PRCT.DAT"},
        // The folder's text again further down is only a folder name there.
        {"/card/MOVE/card/MOVE/m1.MP4", "/b/20240501/card/MOVE/m1.MP4"},
        {"/card/move/MOVE001/m1.MP4", std::nullopt}, // another folder on a case-sensitive disk
        {"/card/MOVE/../secret.MP4", std::nullopt},
        {"/card/MOVEX/m1.MP4", std::nullopt},
        {"/card/MOVE", std::nullopt},
        {"/card/MOVE/", std::nullopt},
        {"MOVE001/m1.MP4", std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.source.toStdString());
        EXPECT_EQ(BackupCopyPlan::targetOf(c.source, "/card/MOVE/", "/b/20240501"), c.target);
    }
}

TEST(BackupCopyPlanTest, RefusesSourcesOutsideTheFolderAndCopiesOntoThemselves)
{
    TempDir dir;
    const QString chapter = dir.write("MOVE/MOVE001/m1.MP4", "x");
    const QString outside = dir.write("other/m2.MP4", "y");
    const auto source = FileUtil::fileUrl(dir.filePath("MOVE"));
    ASSERT_TRUE(QFile::link(dir.filePath("MOVE"), dir.filePath("linked")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("MOVE/MOVE002")) && QDir().mkpath(dir.filePath("old")));
    ASSERT_TRUE(QFile::link(dir.filePath("MOVE/MOVE002"), dir.filePath("old/MOVE001")));
    const struct
    {
        QStringList chapters;
        QString dest;
    } cases[] = {
        {{outside}, dir.filePath("b/n")},
        {{chapter}, dir.filePath("MOVE")},   // the backup folder is the source folder
        {{chapter}, dir.filePath("linked")}, // the same, through a link
        {{chapter}, {}},
        {{chapter}, "b/n"}, // a relative backup root
        {{chapter}, dir.filePath("MOVE/MOVE001/new")},
        {{chapter}, dir.filePath("linked/b/n")}, // inside the source, through a link
        {{chapter}, dir.filePath("old")},        // an earlier backup whose MOVE001 leads into the source
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.dest.toStdString());
        QString error;
        EXPECT_FALSE(BackupCopyPlan::make(source, c.chapters, c.dest, &error));
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_FALSE(BackupCopyPlan::make(std::nullopt, {chapter}, dir.filePath("b/n")));
    // A single opened movie file is all that is copied, without management files beside it: its folder may
    // hold the backup root. (The order of a folder's files is checked by the copy job's test.)
    dir.write("MOVE/VREC_MOV_MNG.DAT", "v");
    const auto single =
        BackupCopyPlan::make(QUrl::fromLocalFile(chapter), {chapter}, dir.filePath("MOVE/MOVE001/b"));
    ASSERT_TRUE(single);
    EXPECT_EQ(single->entries().size(), 1u);
}
