#include "samplecard/SampleDatWriter.h"

#include "samplecard/SampleCardWriter.h"

#include "recording/CommonConst.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QTemporaryDir>

namespace {

constexpr int64_t BASE_SECONDS = 1714532400; // 2024-05-01 03:00:00 UTC
constexpr uint32_t BASE_STAMP = 50000;
constexpr int32_t BASE_LONGITUDE = 139 * 36000 + 45 * 600 + 123;
constexpr int32_t BASE_LATITUDE = 35 * 36000 + 41 * 600 + 234;

void putBE(QByteArray &b, qsizetype at, uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        b[at + i] = char((value >> (8 * (width - 1 - i))) & 0xFF);
}

void putBytes(QByteArray &b, qsizetype at, const QByteArray &bytes)
{
    b.replace(at, bytes.size(), bytes);
}

QByteArray item(int type, int subtype, std::initializer_list<uint8_t> data)
{
    QByteArray it(8, '\0');
    it[0] = char(SampleDatWriter::bcd(type));
    it[1] = char(SampleDatWriter::bcd(subtype));
    int i = 2;
    for (uint8_t d : data)
        it[i++] = char(d);
    return it;
}

// The header items of the layouts: file version, codes, cameras, rates.
QByteArray items(bool withVersion)
{
    QByteArray all;
    if (withVersion)
        all += item(0, 1, {0x07, 0x14});
    all += item(1, 3, {0x12, 0x34, 0x56, 0x78});
    all += item(1, 4, {0x87, 0x65, 0x43, 0x21});
    all += item(4, 6, {0x03});
    all += item(8, 1, {0x00, 0x64});
    all += item(9, 1, {0x05});
    all += item(10, 3, {0x01});
    return all;
}

// 8 KiB header of the movie and event layouts; countByte as each layout counts its items.
QByteArray bigHeader(const SampleDatFrame &detected, int itemCount, uint8_t countByte, const QByteArray &list)
{
    QByteArray h(0x2000, '\0');
    h[0] = char(0x10);
    putBE(h, 2, uint64_t(detected.unixSeconds), 4);
    h[29] = 1;
    h[30] = 2;
    putBE(h, 40, detected.timeStamp, 4);
    putBytes(h, 44, SampleDatWriter::IDENTIFIER);
    h[64] = char(countByte);
    putBytes(h, 80, list.left(itemCount * 8));
    return h;
}

QByteArray withMarker(const QByteArray &jpeg, qsizetype at)
{
    const auto &id = CommonConst::IMAGE_DATA_IDENTIFIER;
    const QByteArray marker(reinterpret_cast<const char *>(id.data()), qsizetype(id.size()));
    if (at == 6) // an application segment of its own right after the start of image
        return jpeg.left(2) + QByteArray("\xFF\xE1\x00\x10", 4) + marker + jpeg.mid(2);
    return jpeg.left(at) + marker + jpeg.mid(at);
}

bool writeFile(const QString &path, const QByteArray &bytes, QString &error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        error = "cannot write " + path;
        return false;
    }
    return true;
}

} // namespace

SampleDatWriter::SampleDatWriter(SampleScenario scenario, std::vector<QByteArray> jpegs, int count)
    : _scenario(std::move(scenario))
{
    for (int i = 0; i < count; ++i) {
        SampleDatFrame f;
        f.timeStamp = BASE_STAMP + uint32_t(i) * 200;
        f.unixSeconds = BASE_SECONDS + i / 5;
        f.longitude = BASE_LONGITUDE + 20 * i;
        f.latitude = BASE_LATITUDE + 15 * i;
        f.speed = 40 + i;
        f.gX = 20 * i - 60;
        f.gY = 40;
        f.gZ = -10 * i;
        f.camera = uint8_t(i % 2 == 1 ? 2 : 1);
        f.violationCode = i == 3 ? 0x14 : i == 5 ? 0x10 : 0;
        f.jpeg = jpegs.empty() ? QByteArray() : jpegs[size_t(i) % jpegs.size()];
        _frames.push_back(f);
    }
}

std::optional<std::vector<QByteArray>> SampleDatWriter::makeJpegs(int count, QString &error)
{
    QTemporaryDir dir;
    const QString pattern = dir.filePath("f%03d.jpg");
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-loglevel", "error", "-y", "-f", "lavfi", "-i", "testsrc2=size=64x48:rate=5",
                            "-frames:v", QString::number(count), "-q:v", "8", pattern});
    if (!ffmpeg.waitForStarted()) {
        error = "cannot start ffmpeg";
        return std::nullopt;
    }
    ffmpeg.waitForFinished(-1);
    if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0) {
        error = "ffmpeg failed: " + QString::fromLocal8Bit(ffmpeg.readAllStandardError());
        return std::nullopt;
    }
    std::vector<QByteArray> jpegs;
    for (int i = 1; i <= count; ++i) {
        QFile f(dir.filePath(QString::asprintf("f%03d.jpg", i)));
        if (!f.open(QIODevice::ReadOnly)) {
            error = "ffmpeg wrote no " + f.fileName();
            return std::nullopt;
        }
        jpegs.push_back(f.readAll());
    }
    return jpegs;
}

std::vector<QByteArray> SampleDatWriter::placeholderJpegs(int count)
{
    std::vector<QByteArray> jpegs;
    for (int i = 0; i < count; ++i)
        jpegs.push_back(QByteArray("\xFF\xD8\xFF\xE0\x00\x04pq", 8) + QByteArray(24 + i, char('a' + i)) +
                        QByteArray("\xFF\xD9", 2));
    return jpegs;
}

uint8_t SampleDatWriter::bcd(int value)
{
    return uint8_t(((value / 10) % 10) << 4 | (value % 10));
}

QByteArray SampleDatWriter::bcdDate(int64_t unixSeconds)
{
    const QDateTime t = QDateTime::fromSecsSinceEpoch(unixSeconds, Qt::UTC);
    QByteArray b;
    for (int v : {t.date().year() % 100, t.date().month(), t.date().day(), t.time().hour(), t.time().minute(),
                  t.time().second()})
        b.append(char(bcd(v)));
    return b;
}

QByteArray SampleDatWriter::bcdLongitude(int32_t longitude)
{
    const int deg = longitude / 36000;
    const int min = longitude % 36000 / 600;
    const int tenths = longitude % 600;
    return QByteArray::fromHex(QString::asprintf("%03d%02d%03d", deg, min, tenths).toLatin1());
}

QByteArray SampleDatWriter::bcdLatitude(int32_t latitude)
{
    const int deg = latitude / 36000;
    const int min = latitude % 36000 / 600;
    const int tenths = latitude % 600;
    return QByteArray::fromHex(QString::asprintf("%02d%02d%03d0", deg, min, tenths).toLatin1());
}

uint16_t SampleDatWriter::gSample(int milliG)
{
    return uint16_t(((milliG < 0 ? milliG + 8192 : milliG) / 2) * 16);
}

QByteArray SampleDatWriter::movieRecord(const SampleDatFrame &f, uint32_t frameSize, uint8_t id) const
{
    QByteArray r(64, '\0');
    putBE(r, 2, uint64_t(f.unixSeconds), 4);
    putBE(r, 6, uint32_t(f.longitude), 3);
    putBE(r, 9, uint32_t(f.latitude), 3);
    putBE(r, 12, uint32_t(f.speed * 10 + 3), 2);
    putBE(r, 14, 1500 + 10 * uint32_t(f.speed), 2);
    putBE(r, 16, gSample(f.gX), 2);
    putBE(r, 18, gSample(f.gY), 2);
    putBE(r, 20, gSample(f.gZ + 1000), 2);
    r[29] = 7;
    r[31] = char(0x06);
    r[32] = 1;
    putBE(r, 36, frameSize, 4);
    putBE(r, 40, f.timeStamp, 4);
    r[44] = char(id);
    r[45] = char(f.violationCode);
    return r;
}

QByteArray SampleDatWriter::movieFile() const
{
    const QByteArray list = items(true) + item(10, 6, {0x01}) + item(2, 1, {0x01});
    const int count = int(list.size() / 8); // a binary count in this layout
    QByteArray file = bigHeader(_frames.at(_frames.size() / 2), count, uint8_t(count), list);
    // Two blocks: the first half of the frames and a sound chunk, then the rest.
    const size_t half = _frames.size() / 2;
    for (const auto &[from, to] : {std::pair{size_t(0), half}, std::pair{half, _frames.size()}}) {
        QByteArray payload;
        QByteArray records;
        for (size_t i = from; i < to; ++i) {
            payload += _frames[i].jpeg;
            records += movieRecord(_frames[i], uint32_t(_frames[i].jpeg.size()), 0x55);
        }
        if (from == 0) {
            const QByteArray sound(32, char(0x21));
            payload += sound;
            records += movieRecord(_frames[from], uint32_t(sound.size()), 0xAA);
        }
        QByteArray end(64, '\0');
        putBytes(end, 60, IDENTIFIER);
        records += end;
        QByteArray head(48, '\0');
        putBE(head, 0, uint64_t(48 + payload.size() + records.size()), 4);
        putBE(head, 8, uint64_t(payload.size()), 4);
        file += head + payload + records;
    }
    return file;
}

QByteArray SampleDatWriter::eventFile() const
{
    QByteArray list = items(false) + item(2, 1, {0x02});
    const int count = int(list.size() / 8);
    QByteArray file = bigHeader(_frames.at(_frames.size() / 2), count, bcd(count), list);
    for (const SampleDatFrame &f : _frames) {
        QByteArray b(96, '\0');
        putBE(b, 0, uint64_t(96 + f.jpeg.size()), 4);
        putBE(b, 8, uint64_t(f.jpeg.size()), 4);
        putBE(b, 34, uint64_t(f.unixSeconds), 4);
        putBE(b, 38, uint32_t(f.longitude), 3);
        putBE(b, 41, uint32_t(f.latitude), 3);
        putBE(b, 44, uint32_t(f.speed * 10 + 3), 2);
        putBE(b, 46, 1500 + 10 * uint32_t(f.speed), 2);
        putBE(b, 48, gSample(f.gX), 2);
        putBE(b, 50, gSample(f.gY), 2);
        putBE(b, 52, gSample(f.gZ + 1000), 2);
        b[61] = 7;
        b[63] = char(0x06);
        b[64] = char(f.camera);
        putBE(b, 72, f.timeStamp, 4);
        b[76] = char(0x55);
        b[77] = char(f.violationCode);
        putBytes(b, 92, IDENTIFIER);
        file += b + f.jpeg;
    }
    return file;
}

QByteArray SampleDatWriter::dividedFile() const
{
    const QByteArray list = items(false);
    QByteArray file(48, '\0');
    putBytes(file, 2, bcdDate(_frames.front().unixSeconds));
    file[32] = char(list.size() / 8);
    file += list;
    // The walk stops at the thumbnail (kind 0x55), the third frame; the rest are found by their marker.
    for (size_t i = 0; i < _frames.size(); ++i) {
        const SampleDatFrame &f = _frames[i];
        const QByteArray picture = withMarker(f.jpeg, 2);
        QByteArray h(64, '\0');
        putBE(h, 0, uint64_t(picture.size()), 4);
        putBE(h, 4, f.timeStamp, 4);
        putBytes(h, 36, bcdDate(f.unixSeconds));
        h[44] = char(i == 2 ? 0x55 : 0x01);
        putBytes(h, 48, bcdLongitude(f.longitude));
        putBytes(h, 52, bcdLatitude(f.latitude));
        file += h + picture;
    }
    return file;
}

QByteArray SampleDatWriter::legacyFile() const
{
    const QByteArray list = items(false);
    QByteArray file(48, '\0');
    file[0] = char(0x10);
    putBytes(file, 2, bcdDate(_frames.at(_frames.size() / 2).unixSeconds));
    putBE(file, 8, _frames.at(_frames.size() / 2).timeStamp, 4);
    file[27] = 1;
    file[28] = 2;
    file[32] = char(list.size() / 8);
    putBE(file, 39, 0x012345, 3);
    file += list;
    for (const SampleDatFrame &f : _frames) {
        const QByteArray picture = withMarker(f.jpeg, 6);
        QByteArray r(60, '\0');
        putBE(r, 0, uint64_t(picture.size()), 4);
        putBE(r, 4, f.timeStamp, 4);
        r[8] = char(0x55);
        QByteArray d(32, '\0');
        d[0] = char(f.camera);
        putBytes(d, 4, bcdDate(f.unixSeconds));
        for (const auto &[at, milliG] : {std::pair{10, f.gX}, std::pair{12, f.gY}}) {
            const int m = std::abs(milliG);
            d[at] = char(bcd(m / 100) | (milliG < 0 ? 0x80 : 0));
            d[at + 1] = char(bcd(m % 100));
        }
        d[14] = char(bcd(f.speed / 100));
        d[15] = char(bcd(f.speed % 100));
        putBytes(d, 16, bcdLongitude(f.longitude));
        putBytes(d, 20, bcdLatitude(f.latitude));
        d[24] = char(f.violationCode);
        d[27] = 7;
        d[29] = char(0x06);
        putBytes(r, 28, d);
        file += r + picture;
    }
    return file;
}

QString SampleDatWriter::moviePath(const QString &dir)
{
    return QDir(dir).filePath("movie/M202405010300-0001.DAT");
}
QString SampleDatWriter::eventPath(const QString &dir)
{
    return QDir(dir).filePath("event/Video.dat");
}
QString SampleDatWriter::dividedPath(const QString &dir)
{
    return QDir(dir).filePath("divided/M202405010300-0002.DAT");
}
QString SampleDatWriter::legacyPath(const QString &dir)
{
    return QDir(dir).filePath("legacy/L202405010300.DAT");
}

bool SampleDatWriter::writeAll(const QString &dir, QString &error) const
{
    const std::pair<QString, QByteArray> files[] = {{moviePath(dir), movieFile()},
                                                    {eventPath(dir), eventFile()},
                                                    {dividedPath(dir), dividedFile()},
                                                    {legacyPath(dir), legacyFile()}};
    SampleCardWriter header(_scenario);
    for (const auto &[path, bytes] : files) {
        if (!writeFile(path, bytes, error))
            return false;
        if (!header.writeHeaderFile(QFileInfo(path).dir().filePath("Playback.inf"))) {
            error = header.lastError();
            return false;
        }
    }
    return true;
}
