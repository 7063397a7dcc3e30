#include "platform/BoundedFileReader.h"

#include "support/TempDir.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(BoundedFileReaderTest, OpensOnlyRegularFilesAndLinksToThem)
{
    TempDir dir;
    const QString regular = dir.write("a.bin", "0123456789");
    const QString fifo = dir.filePath("fifo");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const auto link = [&dir](const QString &target, const QString &name) {
        EXPECT_TRUE(QFile::link(target, dir.filePath(name)));
        return dir.filePath(name);
    };
    const struct
    {
        QString path;
        bool opens;
    } cases[] = {
        {regular, true},
        {link(regular, "link"), true},
        {fifo, false},
        {link(fifo, "fifolink"), false},
        {link("/dev/zero", "zero"), false},
        {link(dir.filePath("none"), "dangling"), false},
        {dir.path(), false},
        {dir.filePath("missing"), false},
    };
    for (const auto &c : cases) {
        BoundedFileReader reader(c.path);
        EXPECT_EQ(reader.isOpen(), c.opens) << c.path.toStdString();
        EXPECT_EQ(reader.error().isEmpty(), c.opens) << c.path.toStdString();
        EXPECT_EQ(BoundedFileReader::whyNotRegular(c.path).isEmpty(), c.opens) << c.path.toStdString();
    }
}

TEST(BoundedFileReaderTest, WholeFileReadsKeepTheirBound)
{
    TempDir dir;
    const QString small = dir.write("small", QByteArray(10, 's'));
    const QString large = dir.write("large", QByteArray(20, 'l'));
    // A sparse file claims gigabytes without taking them: it must be refused before any allocation.
    const QString sparse = dir.write("sparse", {});
    ASSERT_TRUE(QFile::resize(sparse, 3ll << 30));
    using O = BoundedFileReader::Oversize;
    const struct
    {
        QString path;
        qint64 maxBytes;
        O oversize;
        qsizetype expected; // -1: refused
    } cases[] = {
        {small, 16, O::Refuse, 10},      {large, 16, O::Refuse, -1},
        {large, 16, O::TakePrefix, 16},  {sparse, 64 << 20, O::Refuse, -1},
        {sparse, 64, O::TakePrefix, 64}, {"/dev/zero", 64, O::TakePrefix, -1},
    };
    for (const auto &c : cases) {
        const auto contents = BoundedFileReader::readFile(c.path, c.maxBytes, c.oversize);
        EXPECT_EQ(contents.ok(), c.expected >= 0) << c.path.toStdString();
        EXPECT_EQ(contents.bytes.size(), std::max<qsizetype>(c.expected, 0)) << c.path.toStdString();
    }
}
