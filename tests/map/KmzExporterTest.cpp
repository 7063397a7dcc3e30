#include "map/KmzExporter.h"
#include "card/ChapterData.h"
#include "card/StandardCardFixture.h"
#include "map/KmzWriter.h"
#include "platform/WorkerWait.h"
#include "recording/UserDefaultUtil.h"

#include "support/FileSizeLimit.h"
#include <QDir>
#include <QRandomGenerator>
#include <QThread>
#include <zip.h>

namespace {

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// The text of the archive's first entry.
QByteArray entryBytes(const QString &kmz)
{
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(kmz).constData(), ZIP_RDONLY, &code);
    if (!archive)
        return "(no archive)";
    QByteArray bytes("(no entry)");
    zip_stat_t stat;
    if (zip_stat_index(archive, 0, 0, &stat) == 0) {
        if (zip_file_t *entry = zip_fopen_index(archive, 0, 0)) {
            bytes.resize(qsizetype(stat.size));
            if (zip_fread(entry, bytes.data(), stat.size) != zip_int64_t(stat.size))
                bytes = "(short entry)";
            zip_fclose(entry);
        }
    }
    zip_discard(archive);
    return bytes;
}

QStringList entriesOf(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

} // namespace

class KmzExporterTest : public StandardCardFixture
{
protected:
    QString workDirectory() const { return out.filePath("work/MAP"); }

    TempDir out;
    UserDefaultUtil settings{out.filePath("settings.ini")};
};

// The old file stays as it was on every failure, and nothing is left beside it or in the work folder.
TEST_F(KmzExporterTest, FailedExportsLeaveTheOldFileAlone)
{
    const QString folder = out.filePath("out");
    QDir().mkpath(folder);
    const QString destination = QDir(folder).filePath("route.kmz");
    out.write("out/route.kmz", "old");
    out.write("blocker", "a file where the work folder should go");
    const struct
    {
        const char *what;
        QString workDirectory;
        QString destination;
    } cases[] = {
        {"work folder cannot be made", out.filePath("blocker/MAP"), destination},
        {"destination folder missing", workDirectory(), out.filePath("no/such/route.kmz")},
        {"destination is a folder", workDirectory(), folder},
    };
    for (const auto &c : cases) {
        KmzExporter exporter(settings, c.workDirectory);
        EXPECT_FALSE(exporter.exportTripKml(card._tripList[0]->sortedChapters(), c.destination)) << c.what;
        EXPECT_FALSE(exporter.lastError().isEmpty()) << c.what;
        EXPECT_EQ(fileBytes(destination), "old") << c.what;
        EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                  QStringList{"route.kmz"})
            << c.what;
        EXPECT_FALSE(QFileInfo::exists(workDirectory())) << c.what;
    }
    KmzExporter exporter(settings, workDirectory());
    ASSERT_TRUE(exporter.exportTripKml(card._tripList[0]->sortedChapters(), destination));
    EXPECT_TRUE(fileBytes(destination).startsWith("PK"))
        << "the old file is replaced once the new one is whole";
}

// A write that fails half-way (the file size limit stands in for a full disk).
TEST_F(KmzExporterTest, ArchiveCutShortByAFailingWriteReplacesNothing)
{
    QByteArray noise(256 * 1024, '\0');
    QRandomGenerator(7).fillRange(reinterpret_cast<quint32 *>(noise.data()), noise.size() / 4);
    const QString source = out.write("noise.bin", noise);
    const QString destination = out.write("dest/old.kmz", "old");

    QString error;
    bool written = true;
    {
        const FileSizeLimit limit(64 * 1024);
        ASSERT_TRUE(limit.active());
        written = KmzWriter::write(destination, "202401010000.kml", source, &error);
    }

    EXPECT_FALSE(written);
    EXPECT_TRUE(error.startsWith(destination + ": ") && error.size() > destination.size() + 2)
        << "the file and the reason: " << error.toStdString();
    EXPECT_EQ(fileBytes(destination), "old");
    EXPECT_EQ(QDir(out.filePath("dest")).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              QStringList{"old.kmz"});
}

// A name as long as the file system allows is written: the temporary name beside it is a short one.
TEST_F(KmzExporterTest, LongestNameIsWritten)
{
    const QString destination = out.filePath(QString(240, 'k') + ".kmz");
    KmzExporter exporter(settings, workDirectory());
    EXPECT_TRUE(exporter.exportTripKml(card._tripList[0]->sortedChapters(), destination))
        << exporter.lastError().toStdString();
    EXPECT_TRUE(fileBytes(destination).startsWith("PK"));
}

// With the opened card named, no card file is replaced, another trip's chapter included.
TEST_F(KmzExporterTest, CardFilesAreRefused)
{
    const QString move = dir->filePath("MOVE");
    KmzExporter exporter(settings, workDirectory());
    exporter.setOpenSource(card._openSourcePath);
    for (const QString &destination :
         {card._tripList.back()->sortedChapters().front()->_pathMp4.toLocalFile(), move + "/VREC_MOV_MNG.DAT",
          move + "/MOV_PRCT.DAT", move + "/SETINF.DAT", move + "/ver.txt"}) {
        const QByteArray before = fileBytes(destination);
        EXPECT_FALSE(exporter.exportTripKml(card._tripList[0]->sortedChapters(), destination));
        EXPECT_TRUE(exporter.lastError().contains("inside the opened folder"))
            << exporter.lastError().toStdString();
        EXPECT_EQ(fileBytes(destination), before);
    }
}

// The long part run on another thread writes the archive the calling thread writes, one step a chapter and
// one for the archive; stopped after any step before the archive is in place, the export is cancelled and
// the old file stays, with nothing left beside it or in the work folder.
TEST_F(KmzExporterTest, WorkOnAnotherThreadWritesTheSameArchiveAndAStopLeavesTheOldFile)
{
    const ChapterList chapters = card._tripList[0]->sortedChapters();
    const int count = int(chapters.size());
    ASSERT_GT(count, 1);
    KmzExporter exporter(settings, workDirectory());
    const QString reference = out.filePath("reference/route.kmz");
    QDir().mkpath(QFileInfo(reference).path());
    ASSERT_TRUE(exporter.exportTripKml(chapters, reference));
    const QString destination = out.write("out/route.kmz", "old");
    // A stop asked for once the archive is in place comes too late: the export stands.
    for (int stopAt = 0; stopAt <= count + 1; ++stopAt) {
        std::vector<std::pair<int, int>> steps;
        QThread *thread = nullptr;
        exporter.setRunner([&](const KmzExporter::Work &work) {
            std::atomic<bool> stop = stopAt == 0;
            const WorkControl control{&stop, [&](int done, int total) {
                                          steps.emplace_back(done, total);
                                          if (done == stopAt)
                                              stop = true;
                                      }};
            WorkerWait::run([&] {
                thread = QThread::currentThread();
                work(control);
            });
        });
        const bool stopped = stopAt <= count;
        EXPECT_EQ(exporter.exportTripKml(chapters, destination), !stopped) << stopAt;
        EXPECT_EQ(exporter.wasCancelled(), stopped) << stopAt;
        EXPECT_NE(thread, QThread::currentThread()) << stopAt;
        std::vector<std::pair<int, int>> expected;
        for (int done = 1; done <= std::min(stopAt, count + 1); ++done)
            expected.emplace_back(done, count + 1);
        EXPECT_EQ(steps, expected) << stopAt;
        if (stopped)
            EXPECT_EQ(fileBytes(destination), "old") << stopAt;
        else
            EXPECT_EQ(entryBytes(destination), entryBytes(reference));
        EXPECT_EQ(entriesOf(out.filePath("out")), QStringList{"route.kmz"}) << stopAt;
        EXPECT_FALSE(QFileInfo::exists(workDirectory())) << stopAt;
    }
}

// A stop that comes while the archive is packed: the packed archive never replaces the old file.
TEST_F(KmzExporterTest, StopWhilePackingReplacesNothing)
{
    const QString source = out.write("route.kml", "<kml/>");
    const QString destination = out.write("dest/old.kmz", "old");
    const std::atomic<bool> stop = true;
    QString error;
    EXPECT_FALSE(KmzWriter::write(destination, "202401010000.kml", source, &error, WorkControl{&stop, {}}));
    EXPECT_EQ(error, destination + ": cancelled");
    EXPECT_EQ(fileBytes(destination), "old");
    EXPECT_EQ(entriesOf(out.filePath("dest")), QStringList{"old.kmz"});
}
