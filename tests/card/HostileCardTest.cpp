#include "card/CardFixture.h"
#include "card/ChapterData.h"
#include "card/StandardCardFixture.h"
#include "card/TripData.h"
#include "support/FileFlipper.h"
#include "support/HostileFiles.h"
#include "support/QuickSampleCard.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QJsonArray>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {
const QString kKey = "202405011200";

// Every entry below the folder: links by target, FIFOs by kind, files by size, time and contents
// (a file too big to hash by its size and time alone).
QMap<QString, QString> snapshot(const QString &folder)
{
    QMap<QString, QString> entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat info = {};
        ::lstat(QFile::encodeName(path).constData(), &info);
        QString text = QString::asprintf("%o %lld %lld.%09ld", unsigned(info.st_mode), qint64(info.st_size),
                                         qint64(info.st_mtim.tv_sec), long(info.st_mtim.tv_nsec));
        if (S_ISLNK(info.st_mode)) {
            text += " -> " + QFile::symLinkTarget(path);
        } else if (S_ISREG(info.st_mode) && info.st_size < (64 << 20)) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            text += " " + QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1).toHex();
        }
        entries.insert(path, text);
    }
    return entries;
}
} // namespace

TEST(HostileCardTest, EachManagementFileIsReadOncePerOpen)
{
    CardFixture f;
    f.addMovie(kKey, 1, 1000);
    for (int section = 1; section <= 3; ++section)
        f.addEvent(section, kKey, 1, 1500);
    f.addAdventure(kKey, 1);
    f.writeManagementFiles();
    const int watch = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    ASSERT_GE(watch, 0);
    for (const char *name : {"VREC_MOV_MNG.DAT", "MOV_PRCT.DAT", "ADV_PRCT.DAT"})
        ASSERT_GE(::inotify_add_watch(watch, QFile::encodeName(f.root() + "/" + name).constData(), IN_OPEN),
                  0);
    CardData card;
    card.loadCardFolder(f.folderUrl());
    EXPECT_EQ(card._moveProtectList.size(), 3u);
    alignas(inotify_event) char events[4096];
    const ssize_t length = ::read(watch, events, sizeof events);
    ::close(watch);
    std::map<int, int> opens;
    for (ssize_t at = 0; at < length;) {
        const auto *event = reinterpret_cast<const inotify_event *>(events + at);
        ++opens[event->wd];
        at += ssize_t(sizeof(inotify_event) + event->len);
    }
    EXPECT_EQ(opens, (std::map<int, int>{{1, 1}, {2, 1}, {3, 1}}));
}

// The background workers' two steps run on a movie that is cut and restored meanwhile: every round
// reads it or lists why not, and none ends in a signal.
TEST(HostileCardTest, WorkersReadOrReportAMovieCutWhileTheyReadIt)
{
    TempDir dir;
    ASSERT_TRUE(writeStandardCard(dir.path()));
    const QString path = dir.filePath("MOVE/MOVE001/m2024050112300001.MP4");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    FileFlipper flipper(path, file.readAll());
    for (int round = 0; round < 200; ++round) {
        CardData card;
        card.loadCardFolder(FileUtil::fileUrl(dir.filePath("MOVE")));
        std::thread picture([&card] { card.loadNextPictureData(); });
        std::thread thumbnail([&card] { card.loadNextThumbnail(); });
        picture.join();
        thumbnail.join();
        const auto chapter = card._tripList.front()->chapters().front();
        EXPECT_TRUE(chapter->getPicture(false) || !card._fileProblems.problems().empty()) << round;
        card.dispose();
    }
}

// The standard scenario through both programs: what the card library makes of a whole card; with
// --workers both background workers run until they have nothing left to try, also when a chapter no
// decoder can read is tried five times. Then the card mixes every kind of lying file: carddump with its
// workers ends, lists each of them once per cause, and leaves the card as it was.
TEST(HostileCardTest, CarddumpOverAMixedCardListsEveryProblemAndChangesNothing)
{
    TempDir dir;
    runTool("samplecard", quickSampleCardArgs(dir.path()));
    const QString move = dir.filePath("MOVE");
    const QString movies = move + "/MOVE001/";
    const QString corrupt = "m2024050322000002.MP4";
    ASSERT_FALSE(dir.write("MOVE/MOVE001/" + corrupt, QByteArray(4096, 'x')).isEmpty());
    const auto dump = runCarddump({"--workers", move});
    // The numbering gap splits one key's trip; the surveillance trip is off the tab; the adventure has
    // its own trip and clip.
    EXPECT_EQ(std::tuple(dump["trips"].toArray().size(), dump["tabTrips"].toArray().size(),
                         dump["advTrips"].toArray().size()),
              std::tuple(6, 5, 1));
    const auto g = dump["events"][0]["clip"];
    EXPECT_EQ(std::pair(g["chapters"].toArray().size(), g["position"].toInteger()),
              std::pair(qsizetype(3), 5501ll));
    EXPECT_EQ(dump["adventures"][0]["clip"]["chapters"].toArray().size(), 3);
    std::map<bool, QStringList> byThumbnail; // chapter files and events, by whether they got a still
    for (const auto &trip : dump["trips"].toArray())
        for (const auto &chapter : trip.toObject()["chapters"].toArray())
            byThumbnail[chapter.toObject()["thumbnail"].toBool()] << chapter.toObject()["file"].toString();
    for (const auto &event : dump["events"].toArray())
        byThumbnail[event.toObject()["thumbnail"].toBool()] << "event";
    EXPECT_EQ(byThumbnail[false], QStringList{corrupt});
    EXPECT_EQ(byThumbnail[true].size(), 12 + 3);

    for (const char *name : {"VREC_MOV_MNG.DAT", "ADV_PRCT.DAT", "MOV_PRCT.DAT"})
        ASSERT_TRUE(QFile::remove(move + "/" + name));
    QFile sparse(move + "/VREC_MOV_MNG.DAT");
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly) && sparse.resize(3ll << 30));
    ASSERT_TRUE(QFile::link("/dev/zero", move + "/ADV_PRCT.DAT"));
    ASSERT_TRUE(HostileFiles::makeFifo(move + "/MOV_PRCT.DAT"));
    ASSERT_TRUE(HostileFiles::makeFifo(movies + "m2024060100000001.MP4"));
    ASSERT_FALSE(dir.write("MOVE/MOVE001/m2024060100000002.MP4",
                           "#EXTM3U\n#EXT-X-TARGETDURATION:1\n#EXTINF:1,\n" + QFile::encodeName(movies) +
                               "m2024060100000005.MP4\n#EXT-X-ENDLIST\n")
                     .isEmpty());
    ASSERT_FALSE(dir.write("MOVE/MOVE001/m2024060100000003.MP4", HostileFiles::chapter(100000, 2000, 60000))
                     .isEmpty());
    QFile whole(movies + "m2024050112300001.MP4");
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    ASSERT_FALSE(dir.write("MOVE/MOVE001/m2024060100000004.MP4", whole.read(whole.size() / 2)).isEmpty());
    const auto before = snapshot(dir.path());

    const auto json = runCarddump({"--workers", move});
    QSet<QString> problems;
    QStringList files;
    for (const auto &value : json.value("problems").toArray()) {
        const auto problem = value.toObject();
        EXPECT_FALSE(problem.value("reason").toString().isEmpty());
        const QString key = problem.value("file").toString() + "|" + problem.value("reason").toString();
        EXPECT_FALSE(problems.contains(key)) << key.toStdString();
        problems.insert(key);
        files << QFileInfo(problem.value("file").toString()).fileName();
    }
    for (const char *name : {"VREC_MOV_MNG.DAT", "ADV_PRCT.DAT", "MOV_PRCT.DAT", "m2024060100000001.MP4",
                             "m2024060100000002.MP4", "m2024060100000003.MP4", "m2024060100000004.MP4"})
        EXPECT_TRUE(files.contains(name)) << name;
    EXPECT_EQ(snapshot(dir.path()), before);
}

// A chapter of 64 MiB of 8-byte boxes on a card without management records, whose start time the
// load's sorts need: the box walk gives up early, and neither the load nor the window's later
// questions (start times, lengths, driving data) read it a second time on this thread.
TEST(HostileCardTest, AChapterOfTinyBoxesIsReadOncePerOpenAndRefusedQuickly)
{
    CardFixture f;
    const QUrl good = f.addMovie(kKey, 1, std::nullopt);
    const QUrl tiny = f.addMovie(kKey, 2, std::nullopt);
    f.addMovie("202405011300", 1, std::nullopt);
    QFile goodFile(good.toLocalFile());
    ASSERT_TRUE(goodFile.open(QIODevice::WriteOnly));
    goodFile.write(HostileFiles::chapter(200, 30, 6000));
    goodFile.close();
    QFile tinyFile(tiny.toLocalFile());
    ASSERT_TRUE(tinyFile.open(QIODevice::WriteOnly));
    const QByteArray boxes = (HostileFiles::u32(8) + QByteArray("free")).repeated(1 << 20);
    for (int i = 0; i < 8; ++i)
        ASSERT_EQ(tinyFile.write(boxes), boxes.size());
    tinyFile.close();

    QElapsedTimer timer;
    timer.start();
    const auto card = f.load();
    for (int round = 0; round < 3; ++round) {
        for (const auto &trip : card->_tripList) {
            for (const auto &chapter : trip->sortedChapters()) {
                chapter->startTime();
                chapter->frameTimeSpan();
                chapter->getPicture(true);
            }
        }
    }
    EXPECT_LT(timer.elapsed(), 5000);
    std::shared_ptr<ChapterData> chapter;
    for (const auto &trip : card->_tripList) {
        for (const auto &c : trip->chapters()) {
            if (c->_pathMp4 == tiny)
                chapter = c;
        }
    }
    ASSERT_TRUE(chapter);
    EXPECT_FALSE(chapter->getPicture(false));
    EXPECT_EQ(chapter->retryCntPictureData(), 1);
    QStringList reasons;
    for (const auto &problem : card->_fileProblems.problems()) {
        if (problem.file == tiny.toLocalFile())
            reasons << problem.reason;
    }
    EXPECT_EQ(reasons, QStringList{"holds more than 1024 boxes"});
}

// The largest ADV_PRCT.DAT the reader takes (64 MiB: 131,071 records), each naming a file of its own but
// the last, which repeats the first: repeats are found by name at once, not by comparing each record
// with every earlier one (six minutes for this file).
TEST(HostileCardTest, AFullAdventureFileLoadsQuickly)
{
    CardFixture f;
    f.addMovie(kKey, 1, 1000);
    constexpr int records = 131071;
    for (int i = 0; i + 1 < records; ++i)
        f.addAdventure(QString::number(202405000000ll + i / 9999), 1 + i % 9999);
    f.addAdventure(QString::number(202405000000ll), 1);
    f.writeManagementFiles();
    ASSERT_EQ(QFileInfo(f.root() + "/ADV_PRCT.DAT").size(), 64 << 20);
    QElapsedTimer timer;
    timer.start();
    CardData card;
    card.loadCardFolder(f.folderUrl());
    // The pairwise search for repeats took over a minute; the load takes about 1.4 s alone and more on a
    // loaded machine, so only a bound far from both tells them apart.
    EXPECT_LT(timer.elapsed(), 20000);
    EXPECT_EQ(card._advMoveProtectList.size(), size_t(records - 1));
}
