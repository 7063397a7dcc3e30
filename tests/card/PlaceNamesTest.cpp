// Telling places apart as the file system holding them compares names.
#include "card/PlaceNames.h"

#include "support/TempDir.h"

#include <QDir>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

TEST(PlaceNamesTest, ReadsTheMountList)
{
    const QByteArray text = "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
                            "46 27 7:0 / /media/u/CARD\\040ONE rw,relatime shared:5 - fuseblk /dev/loop0 rw\n"
                            "47 27 8:17 /backups /mnt/bk rw master:1 shared:2 - vfat /dev/sdb1 rw\n"
                            "broken line\n";
    const auto mounts = PlaceNames::parseMountInfo(text);
    ASSERT_EQ(mounts.size(), 3u);
    EXPECT_EQ(mounts[1].device, makedev(7, 0));
    EXPECT_EQ(mounts[1].point, "/media/u/CARD ONE");
    EXPECT_EQ(mounts[1].type, "fuseblk");
    EXPECT_EQ(mounts[2].root, "/backups");
    EXPECT_EQ(mounts[2].type, "vfat");
}

TEST(PlaceNamesTest, CardDrivesIgnoreCase)
{
    const struct
    {
        const char *type;
        bool ignoresCase;
    } rows[] = {
        {"vfat", true},     {"msdos", true},      {"exfat", true},        {"ntfs3", true},
        {"fuseblk", true},  {"fuse.exfat", true}, {"fuse.fusefat", true}, {"fuse.ntfs-3g", true},
        {"ext4", false},    {"btrfs", false},     {"tmpfs", false},       {"fuse.sshfs", false},
        {"overlay", false},
    };
    for (const auto &row : rows)
        EXPECT_EQ(PlaceNames::ignoresCase(row.type), row.ignoresCase) << row.type;
}

TEST(PlaceNamesTest, NamesComparedAsTheFileSystemDoes)
{
    const struct
    {
        const char *a;
        const char *b;
        bool ignoringCase;
        bool same;
    } rows[] = {
        {"/MOVE/MOVE001/m1.MP4", "/move/move001/M1.mp4", true, true},
        {"/MOVE/MOVE001/m1.MP4", "/move/move001/M1.mp4", false, false},
        {"/MOVE", "/MOVE", false, true},
        {"/MOVE", "/MOVE1", true, false},
        {"/MOVE/a", "/MOVE/b", true, false},
        {"/Ärger", "/äRGER", true, true},
    };
    for (const auto &row : rows)
        EXPECT_EQ(PlaceNames::sameName(QString::fromUtf8(row.a), QString::fromUtf8(row.b), row.ignoringCase),
                  row.same)
            << row.a << " " << row.b << " " << row.ignoringCase;
}

// Two folders whose names differ only in case, on a file system said to ignore case or not.
TEST(PlaceNamesTest, SamePlaceByPathWhereTheMountIgnoresCase)
{
    TempDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("card/MOVE/MOVE001")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("card/move")));
    ASSERT_TRUE(QDir().mkpath(dir.filePath("card/other")));
    struct stat st
    {
    };
    ASSERT_EQ(::stat(QFile::encodeName(dir.path()).constData(), &st), 0);
    const struct
    {
        const char *type;
        const char *root;
        const char *a;
        const char *b;
        bool same;
    } rows[] = {
        {"vfat", "/", "card/MOVE", "card/move", true},
        {"fuseblk", "/", "card/MOVE/MOVE001", "card/MOVE/MOVE001", true},
        {"vfat", "/", "card/MOVE", "card/other", false},
        {"vfat", "/", "card/MOVE", "card/missing", false},
        {"ext4", "/", "card/MOVE", "card/move", false},
        {"ext4", "/", "card/MOVE/MOVE001", "card/MOVE/./MOVE001", true}, // one inode
        {"vfat", "/bound", "card/MOVE", "card/move", true},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::string(row.type) + " " + row.a + " " + row.b);
        const PlaceNames places({{st.st_dev, row.root, dir.path(), row.type}});
        EXPECT_EQ(places.samePlace(dir.filePath(row.a), dir.filePath(row.b)), row.same);
    }
}
