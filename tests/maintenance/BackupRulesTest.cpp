// The backup's rules: the targets it copies to, and the dialog's size text and folder-name checks.
#include "maintenance/BackupCopyPlan.h"
#include "maintenance/BackupFolderName.h"
#include "maintenance/BackupSizeText.h"
#include "maintenance/BackupSpace.h"

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

TEST(BackupSizeTextTest, BothRoundingsAndTheEmptyText)
{
    const struct
    {
        std::int64_t bytes;
        const char *backup, *cleanup;
    } cases[] = {
        {0, "0.0 MB", "0.0 MB"},
        {1572864, "1.5 MB", "1.5 MB"},
        {10485760000, "10,000.0 MB", "10,000.0 MB"},
        {-1, "", ""},
        {52428, "0.0 MB", "0.0 MB"},   // 0.04999 MB
        {52429, "0.1 MB", "0.0 MB"},   // 0.05000 MB: half up, but cut to 0.05 and then to even
        {1101005, "1.1 MB", "1.0 MB"}, // 1.050000 MB
        {1206912, "1.2 MB", "1.2 MB"}, // 1.1510 MB: cut to 1.15, the even tenth is 1.2
        {1099511627776, "1,048,576.0 MB", "1,048,576.0 MB"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(BackupSizeText::backupText(c.bytes), QString::fromUtf8(c.backup));
        EXPECT_EQ(BackupSizeText::cleanupText(c.bytes), QString::fromUtf8(c.cleanup));
    }
}

TEST(BackupFolderNameTest, ChecksInTheDialogsOrder)
{
    using P = BackupFolderName::Problem;
    const QString combining =
        QString::fromUtf16(u"e\u0301").repeated(255); // 255 characters as the user sees them
    const struct
    {
        QString name;
        int checked;
        std::int64_t freeBytes;
        std::optional<P> problem;
    } cases[] = {
        {"", 1, 100, P::Empty},
        {QString(255, 'a'), 1, 100, std::nullopt},
        {QString(256, 'a'), 1, 100, P::TooLong},
        {QString(300, 'a') + "/", 1, 100, P::BadFormat},
        {combining, 1, 100, std::nullopt},
        {combining + "e", 1, 100, P::TooLong},
        {".backup", 1, 100, P::BadFormat},
        {"back.up", 1, 100, std::nullopt},
        {QString::fromUtf16(u"a\u0007b\u0008\u000B\u000C"), 1, 100, std::nullopt},
        {"20240501", 0, 100, P::NoChapter},
        {"20240501", 1, 10, P::NoSpace}, // the selection's size equals the free space
        {"20240501", 1, -1, P::NoSpace},
        {"20240501", 1, 11, std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.left(20).toStdString());
        EXPECT_EQ(BackupFolderName::check(c.name, c.checked, c.freeBytes, 10), c.problem);
    }
    QString refused = "\"<>|:*?\\/";
    for (char16_t c = 0; c < 0x20; ++c)
        if (c != 0x07 && c != 0x08 && c != 0x0B && c != 0x0C)
            refused += QChar(c);
    for (const QChar c : refused)
        EXPECT_EQ(BackupFolderName::check("ab" + QString(c) + "cd", 1, 100, 10), P::BadFormat)
            << int(c.unicode());
}

TEST(BackupSpaceTest, EachFileTakesWholeBlocks)
{
    const std::vector<std::int64_t> sizes{1, 4096, 4097, 0, 10000};
    const struct
    {
        std::int64_t blockSize, needed;
    } cases[] = {
        {4096, 4096 + 4096 + 8192 + 0 + 12288},
        {512, 512 + 4096 + 4608 + 0 + 10240},
        {1, 18194},
        {-1, 18194}, // unknown: the bytes as they are
    };
    for (const auto &c : cases)
        EXPECT_EQ(BackupSpace::neededBytes(sizes, c.blockSize), c.needed) << c.blockSize;
}

// A thousand small chapters fit by their bytes but not by their blocks: refused before any copy.
TEST(BackupSpaceTest, BlockRoundedSelectionIsRefusedUpFront)
{
    const std::vector<std::int64_t> chapters(1000, 100);
    const std::int64_t bytes = BackupSpace::neededBytes(chapters, -1);
    const std::int64_t blocks = BackupSpace::neededBytes(chapters, 4096);
    const std::int64_t free = 1000000;
    ASSERT_LT(bytes, free);
    EXPECT_FALSE(BackupFolderName::check("bk", 1000, free, bytes));
    EXPECT_EQ(BackupFolderName::check("bk", 1000, free, blocks), BackupFolderName::Problem::NoSpace);
    TempDir dir;
    EXPECT_GT(BackupSpace::blockSizeOf(dir.path()), 0);
    EXPECT_EQ(BackupSpace::blockSizeOf(dir.filePath("missing")), -1);
}
