#include "samplecard/SampleCardWriter.h"

#include "samplecard/ManagementFileWriter.h"
#include "samplecard/SampleMovieArgs.h"
#include "samplecard/SampleSettingsFile.h"

#include "recording/ShiftJisCodec.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {

uint8_t toBcd(int value)
{
    value = std::clamp(value, 0, 99);
    return uint8_t(((value / 10) << 4) | (value % 10));
}

void appendU32(QByteArray &b, uint32_t v)
{
    b.append(char((v >> 24) & 0xFF));
    b.append(char((v >> 16) & 0xFF));
    b.append(char((v >> 8) & 0xFF));
    b.append(char(v & 0xFF));
}

void putU32(QByteArray &b, int at, uint32_t v)
{
    b[at] = char((v >> 24) & 0xFF);
    b[at + 1] = char((v >> 16) & 0xFF);
    b[at + 2] = char((v >> 8) & 0xFF);
    b[at + 3] = char(v & 0xFF);
}

// A camera settings item: group code, data, 0xFF filler to byte 6, XOR check byte.
QByteArray settingsItem(uint8_t high, uint8_t low, const QByteArray &data)
{
    QByteArray item(8, char(0xFF));
    item[0] = char(high);
    item[1] = char(low);
    for (int i = 0; i < data.size() && i < 5; ++i)
        item[2 + i] = data[i];
    uint8_t check = 0;
    for (int i = 0; i < 7; ++i)
        check ^= uint8_t(item[i]);
    item[7] = char(check);
    return item;
}

template <typename Point, typename Value>
Value interpolate(const std::vector<Point> &points, int64_t atMs, Value (*value)(const Point &),
                  Value (*mix)(const Value &, const Value &, double))
{
    if (points.empty())
        return Value{};
    if (atMs <= points.front().atMs)
        return value(points.front());
    for (size_t i = 1; i < points.size(); ++i) {
        if (atMs <= points[i].atMs) {
            const auto &a = points[i - 1];
            const auto &b = points[i];
            const double span = double(b.atMs - a.atMs);
            const double t = span > 0 ? double(atMs - a.atMs) / span : 1.0;
            return mix(value(a), value(b), t);
        }
    }
    return value(points.back());
}

} // namespace

SampleCardWriter::SampleCardWriter(SampleScenario scenario) : _scenario(std::move(scenario)) {}

bool SampleCardWriter::fail(const QString &message)
{
    _lastError = message;
    return false;
}

QString SampleCardWriter::cardFolder(const QString &outDir)
{
    return QDir(outDir).filePath("MOVE");
}

QString SampleCardWriter::movieFileName(const SampleTrip &trip, const SampleChapter &chapter)
{
    return QString("m%1%2.MP4").arg(trip.key).arg(chapter.fileNumber, 4, 10, QChar('0'));
}

QString SampleCardWriter::chapterPath(const QString &outDir, const SampleTrip &trip,
                                      const SampleChapter &chapter) const
{
    return QDir(cardFolder(outDir)).filePath(_scenario.movieFolder + "/" + movieFileName(trip, chapter));
}

bool SampleCardWriter::writeCard(const QString &outDir)
{
    const QString card = cardFolder(outDir);
    if (!QDir().mkpath(card))
        return fail("cannot create " + card);
    if (!writeVersionFile(QDir(card).filePath("ver.txt")))
        return false;
    if (!writeHeaderFile(QDir(card).filePath("Playback.inf")))
        return false;
    // The version check reads the file beside the movies' folder, the camera settings dialog at the
    // drive's root, where the camera keeps it.
    for (const QString &folder : {card, outDir}) {
        if (!SampleSettingsFile::write(_scenario, QDir(folder).filePath("SETINF.DAT"), &_lastError))
            return false;
    }
    for (const auto &trip : _scenario.trips) {
        for (const auto &chapter : trip.chapters) {
            if (!writeChapterMovie(trip, chapter, chapterPath(outDir, trip, chapter)))
                return false;
        }
    }
    if (!ManagementFileWriter::writeForScenario(_scenario, card))
        return fail("cannot write the management files in " + card);
    if (!ManagementFileWriter::writeSkippedFiles(_scenario, card))
        return fail("cannot write the files to skip in " + card);
    return true;
}

bool SampleCardWriter::writeVersionFile(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return fail("cannot write " + path);
    f.write(_scenario.versionText.toUtf8() + "\r\n");
    return f.commit() || fail("cannot write " + path);
}

bool SampleCardWriter::writeHeaderFile(const QString &path)
{
    const QString text = QString("[INFO]\r\nUSER_CAR_CODE=%1\r\nUSER_DRIVER_CODE=%2\r\nTITLE=%3\r\n")
                             .arg(_scenario.userCarCode, _scenario.userDriverCode, _scenario.title);
    const auto bytes = ShiftJisCodec::encode(text);
    if (!bytes)
        return fail("header text has characters outside Shift-JIS");
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return fail("cannot write " + path);
    f.write(*bytes);
    return f.commit() || fail("cannot write " + path);
}

SampleRoutePoint SampleCardWriter::positionAt(const SampleTrip &trip, int64_t atMs)
{
    return interpolate<SampleRoutePoint, SampleRoutePoint>(
        trip.route, atMs, [](const SampleRoutePoint &p) { return p; },
        [](const SampleRoutePoint &a, const SampleRoutePoint &b, double t) {
            return SampleRoutePoint{0, a.longitudeDeg + (b.longitudeDeg - a.longitudeDeg) * t,
                                    a.latitudeDeg + (b.latitudeDeg - a.latitudeDeg) * t};
        });
}

double SampleCardWriter::speedAt(const SampleTrip &trip, int64_t atMs)
{
    return interpolate<SampleSpeedPoint, double>(
        trip.speed, atMs, [](const SampleSpeedPoint &p) { return p.speedKmh; },
        [](const double &a, const double &b, double t) { return a + (b - a) * t; });
}

SampleGPoint SampleCardWriter::gAt(const SampleTrip &trip, int64_t atMs)
{
    return interpolate<SampleGPoint, SampleGPoint>(
        trip.g, atMs, [](const SampleGPoint &p) { return p; },
        [](const SampleGPoint &a, const SampleGPoint &b, double t) {
            return SampleGPoint{0, a.gX + (b.gX - a.gX) * t, a.gY + (b.gY - a.gY) * t,
                                a.gZ + (b.gZ - a.gZ) * t};
        });
}

const SampleEvent *SampleCardWriter::eventInChapter(const SampleTrip &trip,
                                                    const SampleChapter &chapter) const
{
    for (const auto &e : trip.events) {
        if (e.atMs >= chapter.startMs && e.atMs < chapter.startMs + chapter.durationMs)
            return &e;
    }
    return nullptr;
}

std::vector<SampleRecord> SampleCardWriter::chapterRecords(const SampleTrip &trip,
                                                           const SampleChapter &chapter) const
{
    const auto roundMilli = [](double g) { return int(std::lround(g * 500.0)) * 2; }; // 2 mg steps
    const int64_t tripStartSecs = trip.start.toSecsSinceEpoch();

    auto makeRecord = [&](int64_t tripMs, uint8_t id) {
        SampleRecord r;
        r.id = id;
        r.tripMs = tripMs;
        r.blockNo = int((tripMs - chapter.startMs) / 1000) + 1;
        r.unixSeconds = uint32_t(tripStartSecs + tripMs / 1000);
        r.counter = uint32_t(trip.counterStart + tripMs);
        const bool lost = tripMs >= trip.gpsLostFromMs && tripMs < trip.gpsLostToMs;
        const auto pos = positionAt(trip, tripMs);
        r.hasPosition = !lost && !trip.route.empty();
        r.longitude = int32_t(std::lround(pos.longitudeDeg * 36000.0));
        r.latitude = int32_t(std::lround(pos.latitudeDeg * 36000.0));
        r.gps = r.gps2 = !lost;
        r.speedTenths = uint16_t(std::clamp(std::lround(speedAt(trip, tripMs) * 10.0), 0L, 65535L));
        const auto g = gAt(trip, tripMs);
        r.gXmg = roundMilli(g.gX);
        r.gYmg = roundMilli(g.gY);
        r.gZmg = roundMilli(g.gZ);
        r.pictureChannel = id == 0x55 ? 1 : 0;
        r.frameSize = id == 0x55 ? uint32_t(3000 + (tripMs % 997)) : 512;
        r.blockKey = _scenario.blockKey;
        return r;
    };

    std::vector<SampleRecord> frames;
    for (int k = 0;; ++k) {
        const int64_t offset = std::llround(k * 1000.0 / _scenario.fps);
        if (offset >= chapter.durationMs)
            break;
        frames.push_back(makeRecord(chapter.startMs + offset, 0x55));
    }
    if (frames.empty())
        return frames;
    if (chapter.powerDownAtEnd)
        frames.back().powerDown = true;
    if (const SampleEvent *e = eventInChapter(trip, chapter)) {
        auto at = std::find_if(frames.begin(), frames.end(),
                               [&](const SampleRecord &r) { return r.tripMs >= e->atMs; });
        if (at != frames.end()) {
            at->violation = e->violationCode;
            at->sw = e->switchByte;
        }
    }

    // Blocks in order; each block's frames, then its sound records.
    std::vector<SampleRecord> records;
    const int blocks = frames.back().blockNo;
    auto it = frames.begin();
    for (int block = 1; block <= blocks; ++block) {
        for (; it != frames.end() && it->blockNo == block; ++it)
            records.push_back(*it);
        for (int s = 0; s < _scenario.soundRecordsPerBlock; ++s)
            records.push_back(makeRecord(chapter.startMs + (block - 1) * 1000 + s, 0xAA));
    }
    return records;
}

QByteArray SampleCardWriter::chapterHeaderRecord(const SampleTrip &trip, const SampleChapter &chapter) const
{
    QByteArray h(80, '\0');
    int64_t detectMs = chapter.startMs;
    int code = chapter.detectionCode;
    uint8_t sw = 0;
    if (const SampleEvent *e = eventInChapter(trip, chapter)) {
        detectMs = e->atMs;
        sw = e->switchByte;
    }
    h[0] = char(toBcd(code));
    putU32(h, 2, uint32_t(trip.start.toSecsSinceEpoch() + detectMs / 1000));
    h[30] = char(toBcd(sw));
    putU32(h, 40, uint32_t(trip.counterStart + detectMs));
    putU32(h, 44, _scenario.blockKey);
    h[64] = 3;
    QByteArray version;
    version.append(char(_scenario.fileVersion >> 8));
    version.append(char(_scenario.fileVersion & 0xFF));
    h.append(settingsItem(0x00, 0x01, version));
    h.append(settingsItem(0x01, 0x09, QByteArray(1, char(_scenario.terminalSeparate ? 1 : 0))));
    h.append(settingsItem(0x10, 0x03, QByteArray(1, char(chapter.recMode))));
    return h;
}

QByteArray SampleCardWriter::udatBox(const SampleTrip &trip, const SampleChapter &chapter,
                                     int64_t boxOffset) const
{
    // Entries: the header record, then one block per second of movie. A block is its records
    // followed by 64 bytes the camera leaves unused.
    std::vector<QByteArray> entries{chapterHeaderRecord(trip, chapter)};
    for (const auto &r : chapterRecords(trip, chapter)) {
        if (int(entries.size()) <= r.blockNo)
            entries.emplace_back();
        entries[r.blockNo].append(r.bytes());
    }
    for (size_t i = 1; i < entries.size(); ++i)
        entries[i].append(QByteArray(64, '\0'));

    const int64_t tableSize = 8 + 8 * int64_t(entries.size());
    int64_t dataOffset = boxOffset + 8 + tableSize;
    QByteArray payload;
    appendU32(payload, 0);
    appendU32(payload, uint32_t(entries.size()));
    for (const auto &e : entries) {
        appendU32(payload, uint32_t(dataOffset));
        appendU32(payload, uint32_t(e.size()));
        dataOffset += e.size();
    }
    for (const auto &e : entries)
        payload.append(e);

    QByteArray box;
    appendU32(box, uint32_t(8 + payload.size()));
    box.append("udat");
    box.append(payload);
    return box;
}

bool SampleCardWriter::makeBaseMovie(int durationMs, const QString &path, std::optional<int64_t> stampStartMs)
{
    // Plain movies of one length are alike; stamped ones differ by their start.
    if (!_scenario.timeStamp)
        stampStartMs.reset();
    const QString key =
        stampStartMs ? QString("%1_%2").arg(durationMs).arg(*stampStartMs) : QString::number(durationMs);
    if (!_baseMovies.contains(key)) {
        if (!_cacheDir) {
            _cacheDir = std::make_unique<QTemporaryDir>();
            if (!_cacheDir->isValid())
                return fail("cannot create a temporary folder");
        }
        const QString out = _cacheDir->filePath(QString("base_%1.mp4").arg(key));
        QProcess ffmpeg;
        ffmpeg.start("ffmpeg", SampleMovieArgs::forMovie(_scenario, durationMs, stampStartMs, out));
        if (!ffmpeg.waitForStarted())
            return fail("cannot start ffmpeg");
        ffmpeg.waitForFinished(-1);
        if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0)
            return fail("ffmpeg failed: " + QString::fromLocal8Bit(ffmpeg.readAllStandardError()));
        _baseMovies.insert(key, out);
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile::remove(path);
    return QFile::copy(_baseMovies.value(key), path) || fail("cannot copy the base movie to " + path);
}

bool SampleCardWriter::writeChapterMovie(const SampleTrip &trip, const SampleChapter &chapter,
                                         const QString &path)
{
    const int64_t startMs = trip.start.toMSecsSinceEpoch() + chapter.startMs;
    if (!makeBaseMovie(_scenario.movieMs > 0 ? _scenario.movieMs : chapter.durationMs, path, startMs))
        return false;
    QFile f(path);
    if (!f.open(QIODevice::Append))
        return fail("cannot append to " + path);
    const QByteArray box = udatBox(trip, chapter, f.size());
    if (f.write(box) != box.size())
        return fail("cannot append to " + path);
    return true;
}
