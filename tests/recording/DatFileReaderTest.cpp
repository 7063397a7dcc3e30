// Bounded positioned reads: only regular files, nothing outside the file, markers across windows.
#include "recording/DatFileReader.h"
#include "support/HostileFiles.h"
#include "support/TempDir.h"
#include <gtest/gtest.h>

TEST(DatFileReaderTest, OpensRegularFilesOnlyReadsInsideThemAndFindsMarkersAcrossWindows)
{
    TempDir dir;
    const QString fifo = dir.filePath("fifo");
    ASSERT_TRUE(HostileFiles::makeFifo(fifo));
    EXPECT_FALSE(DatFileReader(fifo).isOpen()); // and does not wait for a writer
    EXPECT_FALSE(DatFileReader(dir.path()).isOpen());
    EXPECT_FALSE(DatFileReader(dir.filePath("missing")).isOpen());
    EXPECT_TRUE(DatFileReader(dir.write("empty", {})).isOpen());

    const DatFileReader file(dir.write("f", QByteArray("0123456789")));
    uint8_t four[4];
    EXPECT_TRUE(file.readAt(6, four));
    EXPECT_FALSE(file.readAt(7, four));
    EXPECT_FALSE(file.readAt(UINT64_MAX - 1, four));
    EXPECT_EQ(file.read(2, 3, 3), QByteArray("234"));
    EXPECT_FALSE(file.read(2, 3, 2));
    EXPECT_FALSE(file.read(8, 3, 100));

    QByteArray bytes(200000, 'x');
    const QByteArray marker("MARK");
    // One across the first window boundary (64 KiB), one near the end.
    for (qsizetype at : {65534, 199990})
        bytes.replace(at, marker.size(), marker);
    const DatFileReader marked(dir.write("m", bytes));
    const auto needle = std::span(reinterpret_cast<const uint8_t *>(marker.constData()), 4);
    EXPECT_EQ(marked.find(0, marked.size(), needle), 65534u);
    EXPECT_EQ(marked.find(65535, marked.size(), needle), 199990u);
    EXPECT_EQ(marked.find(0, marked.size(), needle, true), 199990u);
    EXPECT_EQ(marked.find(0, 199993, needle, true), 65534u); // the last one does not fit before the end
    EXPECT_FALSE(marked.find(199991, marked.size(), needle));
}
