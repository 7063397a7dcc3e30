// The trim job with the real ffmpeg on generated chapters (64 x 48, 28 fps, a key frame every 10 frames).
#include "videotools/TrimWorker.h"

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "card/StandardCardFixture.h"
#include "platform/MovieProbe.h"
#include "recording/FileUtil.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include "samplecard/SampleCardWriter.h"
#include "support/Ffmpeg.h"
#include "support/ReadOnlyFolder.h"
#include "support/TempDir.h"

#include <QDir>
#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QStorageInfo>
#include <QtEndian>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

constexpr int64_t GOP_MS = 10 * 1000 / 28 + 1;

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
}

// What a full decode of the clip reports: nothing for a clip without faults.
QByteArray decodeErrors(const QString &clip)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-nostdin", "-v", "error", "-i", clip, "-f", "null", "-"});
    ffmpeg.waitForFinished(-1);
    return ffmpeg.readAllStandardError() + (ffmpeg.exitCode() == 0 ? "" : "(failed)");
}

// The chapter's movie remuxed by ffmpeg with the given output options, and its driving data box appended
// again, its entry offsets moved with it.
bool remuxChapter(const QString &chapter, const QString &workFolder, const QStringList &options)
{
    const QByteArray bytes = readAll(chapter);
    qsizetype box = 0;
    while (box + 8 <= bytes.size() && bytes.mid(box + 4, 4) != "udat")
        box += qFromBigEndian<quint32>(bytes.constData() + box);
    if (box + 16 > bytes.size())
        return false;
    const QString movie = QDir(workFolder).filePath("movie.mp4");
    const QString pcm = QDir(workFolder).filePath("remuxed");
    QFile part(movie);
    if (!part.open(QIODevice::WriteOnly) || part.write(bytes.left(box)) != box)
        return false;
    part.close();
    if (!Ffmpeg::run(QStringList{"-i", movie} + options + QStringList{pcm}))
        return false;
    QByteArray remuxed = readAll(pcm);
    QByteArray udat = bytes.mid(box);
    const qint64 shift = remuxed.size() - box;
    const quint32 count = qFromBigEndian<quint32>(udat.constData() + 12);
    for (quint32 i = 0; i < count; ++i) {
        char *entry = udat.data() + 16 + 8 * i;
        qToBigEndian<quint32>(quint32(qFromBigEndian<quint32>(entry) + shift), entry);
    }
    QFile out(chapter);
    return out.open(QIODevice::WriteOnly) && out.write(remuxed + udat) == remuxed.size() + udat.size();
}

class TrimWorkerTest : public ::testing::Test
{
protected:
    // Three chapters of 3 s with the speed rising from 10 to 100 km/h, written once.
    static QString cardFolder()
    {
        static TempDir dir;
        static const bool written = [] {
            SampleScenario scenario = SampleScenario::singleChapter(3000);
            scenario.trips.front().chapters = {{1, 0, 3000}, {2, 3000, 3000}, {3, 6000, 3000}};
            scenario.trips.front().speed = {{0, 10.0}, {9000, 100.0}};
            scenario.keyFrameInterval = 10;
            return SampleCardWriter(scenario).writeCard(dir.path());
        }();
        EXPECT_TRUE(written);
        return dir.filePath("MOVE");
    }

    void SetUp() override
    {
        _card.loadCardFolder(FileUtil::fileUrl(cardFolder()));
        ASSERT_EQ(_card._tripList.size(), 1u);
        _chapters = _card._tripList.front()->sortedChapters();
        ASSERT_EQ(_chapters.size(), 3u);
    }
    void TearDown() override
    {
        _chapters.clear();
        _card.dispose();
    }

    TrimRequest request(int64_t startMs, int64_t endMs, const QString &destination, OverlayFlags flags = {})
    {
        TrimRequest r;
        r.chapters = _chapters;
        r.startMs = startMs;
        r.endMs = endMs;
        r.flags = flags;
        r.destination = destination;
        r.workFolderBase = _work.filePath("TMP");
        return r;
    }

    // Runs a job and keeps its ffmpeg command lines.
    TrimWorker::Result trim(TrimWorker &worker)
    {
        worker.setLogHandler([this](const QString &line) { _commands << line; });
        return worker.run();
    }

    // No work folder and no hidden ".NAME.XXXXXXXX.part" beside the destinations.
    bool nothingLeftBehind() const
    {
        return QDir(_work.filePath("TMP")).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden) &&
               QDir(_work.path()).entryList({".*.part"}, QDir::Hidden | QDir::Files).isEmpty();
    }

    // The saved clip: a sound movie of the selection's length that decodes without faults, read back as
    // a trimmed clip whose data are the source's over the range.
    void expectClipOf(const QString &path, const TrimWorker::Range &range)
    {
        const auto movie = MovieProbe::probe(path);
        ASSERT_TRUE(movie);
        EXPECT_NEAR(double(movie->durationMs), double(range.endPosition - range.startPosition), GOP_MS);
        EXPECT_EQ(movie->soundCodec, "aac");
        EXPECT_EQ(decodeErrors(path), "");

        QProcess recdump;
        recdump.start(QDir(qEnvironmentVariable("ORV_BUILD_DIR")).filePath("devtools/recdump"), {path});
        ASSERT_TRUE(recdump.waitForFinished(-1));
        const QJsonObject dump = QJsonDocument::fromJson(recdump.readAllStandardOutput()).object();
        EXPECT_TRUE(dump["isCutVideo"].toBool());
        EXPECT_TRUE(dump["errors"].toArray().isEmpty());
        const QJsonArray frames = dump["cameras"].toObject()["0"].toArray();
        ASSERT_FALSE(frames.isEmpty());
        for (const QJsonValue &value : frames) {
            const QJsonObject frame = value.toObject();
            const int64_t key = frame["key"].toInteger();
            const auto source = PictureDataUtil::getVideoFrame(_chapters, range.startPosition + int32_t(key));
            ASSERT_TRUE(source) << key;
            // Chapter borders add a millisecond each to the timeline: allow a neighbouring sample.
            EXPECT_NEAR(frame["speed"].toInt(), source->speed, 1) << key;
        }
        EXPECT_NEAR(double(frames.last()["key"].toInteger()), double(range.endPosition - range.startPosition),
                    40);
    }

    CardData _card;
    ChapterList _chapters;
    TempDir _work;
    QStringList _commands;
};

TEST_F(TrimWorkerTest, EdgeMargins)
{
    // Chapter starts: 0, 3001, 6002 (each chapter 3000 ms long, a border adds 1 ms).
    const struct
    {
        int64_t start, end;
        std::array<int32_t, 4> offsetsAndPositions;
    } cases[] = {
        {500, 2500, {500, 2500, 500, 2500}},
        {2500, 7400, {1900, 1398, 1900, 7400}}, // 500 ms before its chapter's end: back by 600
        {1000, 6302, {1000, 1100, 1000, 7102}}, // 300 ms into its chapter: forward by 800
        {2999, 3100, {1900, 1100, 1900, 4101}},
    };
    for (const auto &c : cases) {
        const auto r = TrimWorker::planRange(_chapters, c.start, c.end);
        ASSERT_TRUE(r);
        EXPECT_EQ((std::array{r->startOffset, r->endOffset, r->startPosition, r->endPosition}),
                  c.offsetsAndPositions)
            << c.start;
    }
    EXPECT_FALSE(TrimWorker::planRange(_chapters, 0, int64_t(1) << 33));
    EXPECT_FALSE(TrimWorker::planRange({}, 0, 2000));
}

// A selection handed over as chapters and offsets, as one made on a timeline whose lengths were not all
// known yet is, is planned on the chapters' own lengths: the same pictures as the positions that name them
// there, an offset past its chapter's end at that end, and places outside the list none.
TEST_F(TrimWorkerTest, ASelectionByChapterAndOffsetIsPlannedOnTheChaptersOwnLengths)
{
    using Place = ChapterTimeline::Place;
    const struct
    {
        Place start, end;
        std::optional<std::pair<int64_t, int64_t>> positions; // the same range as positions, none: refused
    } cases[] = {
        {{0, 500}, {0, 2500}, std::pair<int64_t, int64_t>{500, 2500}},
        {{0, 2500}, {2, 1398}, std::pair<int64_t, int64_t>{2500, 7400}},
        {{0, 1000}, {2, 300}, std::pair<int64_t, int64_t>{1000, 6302}},
        {{1, 2999},
         {2, 9000},
         std::pair<int64_t, int64_t>{5999, 8966}}, // past the last chapter's end (2964 ms)
        {{-1, 0}, {1, 0}, std::nullopt},
        {{0, 0}, {3, 0}, std::nullopt},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.start.index * 10000 + c.start.offset);
        const auto byPlace = TrimWorker::planRange(_chapters, c.start, c.end);
        ASSERT_EQ(byPlace.has_value(), c.positions.has_value());
        if (!c.positions)
            continue;
        const auto byPosition = TrimWorker::planRange(_chapters, c.positions->first, c.positions->second);
        ASSERT_TRUE(byPosition);
        EXPECT_EQ(
            (std::array{byPlace->startIndex, int64_t(byPlace->startOffset), int64_t(byPlace->startPosition),
                        byPlace->endIndex, int64_t(byPlace->endOffset), int64_t(byPlace->endPosition)}),
            (std::array{byPosition->startIndex, int64_t(byPosition->startOffset),
                        int64_t(byPosition->startPosition), byPosition->endIndex,
                        int64_t(byPosition->endOffset), int64_t(byPosition->endPosition)}));
    }
}

TEST_F(TrimWorkerTest, CommandsAndClipByChapterCountAndOverlay)
{
    // One pattern per ffmpeg run, in order. A stream copy cuts the first chapter's start last; a burned-in
    // overlay cuts it first and re-encodes the join. A single cut names no sound codec; cuts to be
    // joined keep their sound as samples. Every cut has a length, also one that runs to its chapter's end.
    const struct
    {
        int64_t start, end;
        OverlayFlags flags;
        std::vector<const char *> commands;
    } cases[] = {
        // clang-format off
        {500, 2500, {}, {"^ffmpeg -y -ss 00:00:00\\.\\d+ -i \\S+ -t \\S+ -vcodec copy -g 10 \\S+$"}},
        {1500, 7500, {}, {"^ffmpeg -y -i \\S+ -t 00:00:03\\.000 -vcodec copy -c:a pcm_s16le -f mov -g 10 \\S+$",
                          "^ffmpeg -y -i \\S+ -t 00:00:03\\.000 -vcodec copy -c:a pcm_s16le -f mov -g 10 \\S+$",
                          "^ffmpeg -y -i \\S+ -t \\S+ -vcodec copy -c:a pcm_s16le -f mov -g 10 \\S+$",
                          "-f concat -safe 0 .*-c:v copy \\S+$",
                          "^ffmpeg -y -ss 00:00:01\\.\\d+ -i \\S+ -vcodec copy -g 10 \\S+$"}},
        {1500, 7500, {true, true, true, true},
         {"-vf ass=.*-ss 00:00:01\\.\\d+ -t \\S+ -c:a pcm_s16le ", "-vf ass=.* -t 00:00:03\\.000 -c:a pcm_s16le ",
          "-vf ass=.* -t \\S+ -c:a pcm_s16le ", "^(?!.*-c:?v? copy)"}},
        // clang-format on
    };
    QString out;
    for (const auto &c : cases) {
        SCOPED_TRACE(c.commands.size());
        out = _work.filePath(QString("clip%1.mp4").arg(c.commands.size()));
        TrimWorker worker(request(c.start, c.end, out, c.flags));
        _commands.clear();
        ASSERT_EQ(trim(worker), TrimWorker::Result::Saved) << worker.errorText().toStdString();
        ASSERT_EQ(size_t(_commands.size()), c.commands.size());
        for (int i = 0; i < _commands.size(); ++i)
            EXPECT_TRUE(QRegularExpression(c.commands[i]).match(_commands[i]).hasMatch()) << i;
        EXPECT_TRUE(nothingLeftBehind());
        expectClipOf(out, *TrimWorker::planRange(_chapters, c.start, c.end));
    }

    // The overlay clip as a source: its own flags go into the new clip, nothing is burned in again.
    const auto trip = TripData::create(nullptr, {QUrl::fromLocalFile(out)}, QString());
    TrimRequest again = request(500, 3000, _work.filePath("again.mp4"));
    again.chapters = trip->sortedChapters();
    TrimWorker second(again);
    _commands.clear();
    ASSERT_EQ(trim(second), TrimWorker::Result::Saved) << second.errorText().toStdString();
    EXPECT_FALSE(_commands.join(' ').contains("ass="));
    const auto savedTrip = TripData::create(nullptr, {QUrl::fromLocalFile(again.destination)}, QString());
    const auto clip = savedTrip->sortedChapters().front()->getPicture(true);
    ASSERT_TRUE(clip && clip->video);
    EXPECT_TRUE(clip->video->_isCutVideo && clip->video->isDatetime && clip->video->isSpeed &&
                clip->video->isAcceleration && clip->video->isPoint);
    trip->dispose();
    savedTrip->dispose();
}

TEST_F(TrimWorkerTest, CancelBeforeOrAfterTheCommitPoint)
{
    // Just before the move into place: cancelled, nothing saved.
    const QString out = _work.write("late.mp4", "old");
    TrimWorker early(request(500, 2500, out));
    early.setProgressHandler([&](int step, int total) {
        if (step == total - 1) {
            EXPECT_TRUE(early.cancel());
        }
    });
    EXPECT_EQ(early.run(), TrimWorker::Result::Cancelled);
    QFile old(out);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
    EXPECT_TRUE(nothingLeftBehind());

    // After the job: too late, the clip stays saved and only one outcome is reported.
    TrimWorker late(request(500, 2500, out));
    EXPECT_EQ(late.run(), TrimWorker::Result::Saved);
    EXPECT_FALSE(late.cancel());
    EXPECT_TRUE(MovieProbe::probe(out));
}

TEST_F(TrimWorkerTest, RefusedOrFailedDestinationsKeepTheirFiles)
{
    const QString source = _chapters[1]->_pathMp4.toLocalFile();
    const qint64 sourceSize = QFileInfo(source).size();
    // The same recording by another spelling of its path.
    const QString sameByLink = _work.filePath("link.MP4");
    ASSERT_TRUE(QFile::link(source, sameByLink));
    // A hard link (or another letter case on a card's FAT file system) is the same file too.
    const QString sameByHardLink = _work.filePath("hard.mp4");
    ASSERT_EQ(::link(QFile::encodeName(source).constData(), QFile::encodeName(sameByHardLink).constData()),
              0);
    for (const QString &destination :
         {source, sameByLink, sameByHardLink,
          QFileInfo(source).dir().filePath("../MOVE001/" + QFileInfo(source).fileName())}) {
        TrimWorker worker(request(500, 2500, destination));
        EXPECT_EQ(worker.run(), TrimWorker::Result::Failed) << destination.toStdString();
        EXPECT_EQ(QFileInfo(source).size(), sourceSize);
    }

    // A destination that cannot be replaced: a folder with contents under the clip's name.
    const QString blocked = _work.write("blocked.mp4/keep.txt", "keep");
    TrimWorker worker(request(500, 2500, QFileInfo(blocked).path()));
    EXPECT_EQ(worker.run(), TrimWorker::Result::Failed);
    EXPECT_FALSE(worker.errorText().isEmpty());
    EXPECT_TRUE(QFile::exists(blocked));
    EXPECT_TRUE(nothingLeftBehind());
}

// The reason for the user is one line: what ffmpeg said last, or the file with the system's error.
TEST_F(TrimWorkerTest, FailureReasonIsFfmpegsLastLineOrTheFileWithTheSystemsError)
{
    const QString failing = _work.write("ffmpeg-fails", "#!/bin/sh\necho 'Input #0, mov' >&2\n"
                                                        "echo 'out.mp4: Invalid argument' >&2\nexit 1\n");
    const QString silent = _work.write("ffmpeg-silent", "#!/bin/sh\nexit 3\n");
    for (const QString &program : {failing, silent})
        QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QString blocked = QFileInfo(_work.write("taken.mp4/keep.txt", "keep")).path();
    const struct
    {
        QString program, destination, reason;
    } cases[] = {
        {failing, _work.filePath("a.mp4"), "out.mp4: Invalid argument"},
        {silent, _work.filePath("b.mp4"), "ffmpeg ended with exit code 3."},
        {{}, blocked, blocked + ": Is a directory"},
    };
    for (const auto &c : cases) {
        TrimRequest r = request(500, 2500, c.destination);
        r.ffmpegProgram = c.program;
        TrimWorker worker(r);
        EXPECT_EQ(worker.run(), TrimWorker::Result::Failed);
        EXPECT_EQ(worker.failureReason(), c.reason) << worker.errorText().toStdString();
    }
    EXPECT_TRUE(nothingLeftBehind());
}

TEST_F(TrimWorkerTest, AwkwardFolderNamesForWorkAndDestination)
{
    const QString folder = _work.filePath("clips 'one', two: three");
    ASSERT_TRUE(QDir().mkpath(folder));
    TrimRequest r = request(1500, 7500, folder + "/it's, a clip.mp4", {false, true, false, false});
    // The concat list and the subtitle file live here: they reach ffmpeg's list, option and graph parsers.
    r.workFolderBase = folder + "/work 'x', y:z[f];g\\h\n#?";
    TrimWorker worker(r);
    ASSERT_EQ(worker.run(), TrimWorker::Result::Saved) << worker.errorText().toStdString();
    EXPECT_TRUE(MovieProbe::probe(r.destination));
    EXPECT_TRUE(QDir(r.workFolderBase).isEmpty());
    // Also a name as long as the file system allows.
    TrimWorker copy(request(1500, 7500, folder + "/" + QString(251, 'b') + ".mp4"));
    EXPECT_EQ(copy.run(), TrimWorker::Result::Saved) << copy.errorText().toStdString();
}

// A work folder on another file system than the clip's (a system temp folder in memory): every cut is
// made there, and only the finished clip is copied beside the destination and renamed over the old one.
TEST_F(TrimWorkerTest, WorksInTheWorkFolderOnAnotherFileSystem)
{
    QTemporaryDir memory(QStringLiteral("/dev/shm/orv-trim-XXXXXX"));
    if (!memory.isValid() || QStorageInfo(memory.path()).rootPath() == QStorageInfo(_work.path()).rootPath())
        GTEST_SKIP() << "no second file system at /dev/shm";
    const QString destination = _work.write("clip.mp4", "old");
    TrimRequest r = request(1500, 7500, destination);
    r.workFolderBase = memory.filePath("TMP");
    ASSERT_TRUE(QDir().mkpath(r.workFolderBase));
    TrimWorker worker(r);
    ASSERT_EQ(trim(worker), TrimWorker::Result::Saved) << worker.errorText().toStdString();
    ASSERT_EQ(_commands.size(), 5);
    for (const QString &command : _commands) {
        EXPECT_TRUE(command.contains(r.workFolderBase + "/trim-")) << command.toStdString();
        EXPECT_FALSE(command.contains(_work.path())) << command.toStdString();
    }
    expectClipOf(destination, *TrimWorker::planRange(_chapters, 1500, 7500));
    EXPECT_TRUE(QDir(r.workFolderBase).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
    EXPECT_EQ(QDir(_work.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
              (QStringList{"clip.mp4"}));
}

// trimclip, the job without windows: exit status, the clip, and an empty work folder either way.
TEST_F(TrimWorkerTest, TrimclipExitStatusAndNothingLeftBehind)
{
    const QString tmp = _work.filePath("tmp");
    ASSERT_TRUE(QDir().mkpath(tmp));
    const QStringList trip0{cardFolder(), "--trip", "0", "--from", "200", "--to", "2800"};
    QStringList trip1 = trip0;
    trip1[2] = "1"; // no such trip
    const struct
    {
        QStringList args;
        int exitCode;
        bool isSaved;
    } cases[] = {
        {trip0 + QStringList{"--overlay", "speed,point", _work.filePath("a.mp4")}, 0, true},
        {trip1 + QStringList{_work.filePath("b.mp4")}, 1, false},
        {trip0 + QStringList{"--overlay", "colour", _work.filePath("c.mp4")}, 2, false},
        {trip0 + QStringList{_work.filePath("no/such/folder/d.mp4")}, 1, false},
    };
    for (const auto &c : cases) {
        QProcess trimclip;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TMPDIR", tmp);
        trimclip.setProcessEnvironment(env);
        trimclip.start(QDir(qEnvironmentVariable("ORV_BUILD_DIR")).filePath("devtools/trimclip"), c.args);
        ASSERT_TRUE(trimclip.waitForFinished(-1));
        EXPECT_EQ(trimclip.exitCode(), c.exitCode) << trimclip.readAllStandardError().toStdString();
        EXPECT_EQ(QFile::exists(c.args.last()), c.isSaved);
        QDirIterator files(tmp, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        EXPECT_FALSE(files.hasNext()) << files.next().toStdString();
    }
}

// Copies of the fixture's card whose chapters were remuxed with the options.
class RemuxedCard
{
public:
    RemuxedCard(const QString &move, const QString &workFolder, const QStringList &options)
    {
        QDirIterator files(move, QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            const QString from = files.next();
            const QString to = _dir.filePath("MOVE/" + QDir(move).relativeFilePath(from));
            QDir().mkpath(QFileInfo(to).absolutePath());
            EXPECT_TRUE(QFile::copy(from, to));
            if (from.startsWith(move + "/MOVE001/m") && from.endsWith(".MP4"))
                EXPECT_TRUE(remuxChapter(to, workFolder, options)) << to.toStdString();
        }
        card.loadCardFolder(FileUtil::fileUrl(_dir.filePath("MOVE")));
        EXPECT_EQ(card._tripList.size(), 1u);
    }
    ~RemuxedCard() { card.dispose(); }
    ChapterList chapters() const { return card._tripList.front()->sortedChapters(); }

    CardData card;

private:
    TempDir _dir;
};

// A camera that records PCM sound: an MP4 clip cannot take it as it is, so the cut re-encodes it.
TEST_F(TrimWorkerTest, PcmSoundChapterTrimsWithAndWithoutOverlay)
{
    const RemuxedCard pcm(cardFolder(), _work.path(), {"-c:v", "copy", "-c:a", "pcm_s16le", "-f", "mov"});
    const ChapterList chapters = pcm.chapters();
    ASSERT_EQ(MovieProbe::probe(chapters[0]->_pathMp4.toLocalFile())->soundCodec, "pcm_s16le");
    const struct
    {
        int64_t start, end;
        OverlayFlags flags;
    } cases[] = {{500, 2500, {}}, {1500, 7500, {}}, {1500, 4500, {false, true, false, false}}};
    for (const auto &c : cases) {
        const QString out = _work.filePath(QString("pcm%1-%2.mp4").arg(c.end).arg(c.flags.any()));
        TrimRequest r = request(c.start, c.end, out, c.flags);
        r.chapters = chapters;
        TrimWorker worker(r);
        ASSERT_EQ(trim(worker), TrimWorker::Result::Saved) << worker.errorText().toStdString();
        EXPECT_EQ(decodeErrors(out), "") << out.toStdString();
        EXPECT_EQ(MovieProbe::probe(out)->soundCodec, "aac");
        expectClipOf(out, *TrimWorker::planRange(chapters, c.start, c.end));
        EXPECT_TRUE(nothingLeftBehind());
    }
}

// A selection that gives no length (one record, so "-t 00:00:00.000"), or cuts without a picture, saves
// nothing and says why; trimclip tells the same.
TEST_F(TrimWorkerTest, NoLengthOrNoPictureFailsAndLeavesNoFile)
{
    TempDir one;
    ASSERT_TRUE(SampleCardWriter(SampleScenario::singleChapter(30)).writeCard(one.path()));
    CardData card;
    card.loadCardFolder(FileUtil::fileUrl(one.filePath("MOVE")));
    const RemuxedCard soundOnly(cardFolder(), _work.path(), {"-vn", "-c:a", "copy", "-f", "mp4"});
    const struct
    {
        ChapterList chapters;
        OverlayFlags flags;
        const char *reason;
    } cases[] = {
        {card._tripList.front()->sortedChapters(), {}, "no length"},
        {card._tripList.front()->sortedChapters(), {true, true, true, true}, "no length"},
        {soundOnly.chapters(), {}, "no video frame"},
    };
    const QString out = _work.filePath("empty.mp4");
    for (const auto &c : cases) {
        TrimRequest r = request(0, 3000, out, c.flags);
        r.chapters = c.chapters;
        TrimWorker worker(r);
        EXPECT_EQ(worker.run(), TrimWorker::Result::Failed) << c.reason;
        EXPECT_TRUE(worker.failureReason().contains(c.reason)) << worker.failureReason().toStdString();
        EXPECT_FALSE(QFileInfo::exists(out));
        EXPECT_TRUE(nothingLeftBehind());
    }
    card.dispose();

    QProcess trimclip;
    trimclip.start(QDir(qEnvironmentVariable("ORV_BUILD_DIR")).filePath("devtools/trimclip"),
                   {one.filePath("MOVE"), "--trip", "0", "--from", "0", "--to", "3000", out});
    ASSERT_TRUE(trimclip.waitForFinished(-1));
    EXPECT_EQ(trimclip.exitCode(), 1);
    EXPECT_TRUE(trimclip.readAllStandardError().contains("Cut was unsuccessful."));
    EXPECT_FALSE(QFileInfo::exists(out));
}

// No file of the opened card is replaced, and a folder that takes no file is refused, before any ffmpeg.
TEST_F(TrimWorkerTest, CardFilesAndUnwritableFoldersAreRefusedBeforeAnyFfmpeg)
{
    const QString move = cardFolder();
    const ReadOnlyFolder locked(_work.filePath("locked"));
    QStringList destinations{move + "/VREC_MOV_MNG.DAT", move + "/MOV_PRCT.DAT", move + "/SETINF.DAT",
                             move + "/ver.txt", move + "/MOVE001/new.mp4"};
    if (locked.active())
        destinations << locked.path() + "/clip.mp4";
    for (const QString &destination : destinations) {
        const QByteArray before = readAll(destination);
        TrimRequest r = request(500, 2500, destination);
        r.openSourcePath = _card._openSourcePath;
        TrimWorker worker(r);
        _commands.clear();
        EXPECT_EQ(trim(worker), TrimWorker::Result::Failed) << destination.toStdString();
        EXPECT_TRUE(_commands.isEmpty()) << _commands.join('\n').toStdString();
        EXPECT_EQ(readAll(destination), before);
        EXPECT_TRUE(worker.failureReason().contains(QFileInfo(destination).absolutePath()))
            << worker.failureReason().toStdString();
    }
}

// trimclip over the standard card: every card file, another trip's chapter too, stays as it was.
TEST_F(TrimWorkerTest, TrimclipRefusesEveryCardFile)
{
    TempDir standard;
    ASSERT_TRUE(writeStandardCard(standard.path()));
    const QString move = standard.filePath("MOVE");
    CardData card;
    card.loadCardFolder(FileUtil::fileUrl(move));
    const QString otherTrip = card._tripList.back()->sortedChapters().front()->_pathMp4.toLocalFile();
    card.dispose();
    for (const QString &destination : {otherTrip, move + "/VREC_MOV_MNG.DAT", move + "/MOV_PRCT.DAT",
                                       move + "/SETINF.DAT", move + "/ver.txt"}) {
        const QByteArray before = readAll(destination);
        QProcess trimclip;
        trimclip.start(QDir(qEnvironmentVariable("ORV_BUILD_DIR")).filePath("devtools/trimclip"),
                       {move, "--trip", "0", "--from", "200", "--to", "2800", destination});
        ASSERT_TRUE(trimclip.waitForFinished(-1));
        const QByteArray errors = trimclip.readAllStandardError();
        EXPECT_EQ(trimclip.exitCode(), 1) << destination.toStdString();
        EXPECT_TRUE(errors.contains("Cut was unsuccessful.")) << errors.toStdString();
        EXPECT_TRUE(errors.contains("inside the opened")) << errors.toStdString();
        EXPECT_FALSE(errors.contains("ffmpeg -y")) << errors.toStdString();
        EXPECT_EQ(readAll(destination), before) << destination.toStdString();
    }
}

} // namespace
