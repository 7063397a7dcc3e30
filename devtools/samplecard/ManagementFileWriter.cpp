#include "samplecard/ManagementFileWriter.h"

#include "samplecard/SampleCardWriter.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cmath>

namespace {
void putUInt(QByteArray &data, int offset, uint64_t value, int width)
{
    for (int i = 0; i < width; ++i)
        data[offset + i] = static_cast<char>((value >> (8 * (width - 1 - i))) & 0xFF);
}

uint32_t positionWord(int32_t coordinate)
{
    const uint32_t magnitude =
        static_cast<uint32_t>(coordinate < 0 ? -static_cast<int64_t>(coordinate) : coordinate);
    return (magnitude & 0x7FFFFF) | (coordinate < 0 ? 0x800000u : 0u);
}
bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit();
}

const SampleChapter *chapterAt(const SampleTrip &trip, int64_t atMs)
{
    for (const auto &chapter : trip.chapters)
        if (atMs >= chapter.startMs && atMs < chapter.startMs + chapter.durationMs)
            return &chapter;
    return nullptr;
}
} // namespace

QString ManagementFileWriter::recordFileName(const QString &tripKey, int fileNumber)
{
    return tripKey + QString("%1").arg(fileNumber, 4, 10, QChar('0'));
}

ManagementRecordValues ManagementFileWriter::valuesAt(const SampleTrip &trip, int64_t atMs, int fileNumber)
{
    ManagementRecordValues v;
    v.unixSeconds = static_cast<uint32_t>(trip.start.toSecsSinceEpoch() + atMs / 1000);
    v.timeStamp = trip.counterStart + static_cast<uint32_t>(atMs);
    v.fileName = recordFileName(trip.key, fileNumber);
    v.hasPosition = !trip.route.empty();
    const auto pos = SampleCardWriter::positionAt(trip, atMs);
    v.longitude = static_cast<int32_t>(std::lround(pos.longitudeDeg * 36000.0));
    v.latitude = static_cast<int32_t>(std::lround(pos.latitudeDeg * 36000.0));
    v.speedTenths = static_cast<uint16_t>(
        std::clamp(std::lround(SampleCardWriter::speedAt(trip, atMs) * 10.0), 0L, 65535L));
    const auto g = SampleCardWriter::gAt(trip, atMs);
    v.gXmg = static_cast<int>(std::lround(g.gX * 500.0)) * 2;
    v.gYmg = static_cast<int>(std::lround(g.gY * 500.0)) * 2;
    v.gZmg = static_cast<int>(std::lround((g.gZ + 1.0) * 500.0)) * 2;
    return v;
}

bool ManagementFileWriter::writeForScenario(const SampleScenario &scenario, const QString &cardFolder)
{
    std::vector<QByteArray> movies;
    std::array<std::vector<QByteArray>, 3> sections;
    std::vector<QByteArray> adventures;
    for (const auto &trip : scenario.trips) {
        for (const auto &chapter : trip.chapters)
            movies.push_back(vrecRecord(valuesAt(trip, chapter.startMs, chapter.fileNumber)));
        for (const auto &event : trip.events) {
            if (event.kind == SampleEvent::Kind::Adventure) {
                for (const auto &chapter : trip.chapters) {
                    auto v = valuesAt(trip, chapter.startMs, chapter.fileNumber);
                    v.type = 0x25;
                    v.advModeStartFlg = &chapter == &trip.chapters.front() ? 1 : 0;
                    v.endUnixSeconds = static_cast<uint32_t>(trip.start.toSecsSinceEpoch() +
                                                             (chapter.startMs + chapter.durationMs) / 1000);
                    adventures.push_back(advRecord(v));
                }
                continue;
            }
            const SampleChapter *chapter = chapterAt(trip, event.atMs);
            if (!chapter)
                continue;
            auto v = valuesAt(trip, event.atMs, chapter->fileNumber);
            v.sw = event.switchByte;
            v.id = 0x55;
            size_t section = 0;
            switch (event.kind) {
            case SampleEvent::Kind::GSensor:
                v.type = 0x10;
                section = 0;
                break;
            case SampleEvent::Kind::Surveillance:
                v.type = 0x12;
                v.survRecValidData = 1;
                section = 1;
                break;
            default:
                v.type = 0x20;
                section = 2;
                break;
            }
            sections[section].push_back(prctRecord(v));
        }
    }
    const QDir dir(cardFolder);
    return writeFile(dir.filePath("VREC_MOV_MNG.DAT"), vrecFile(1, movies)) &&
           writeFile(dir.filePath("MOV_PRCT.DAT"), prctFile(1, sections)) &&
           writeFile(dir.filePath("ADV_PRCT.DAT"), advFile(adventures));
}

bool ManagementFileWriter::writeSkippedFiles(const SampleScenario &scenario, const QString &cardFolder)
{
    if (scenario.trips.empty())
        return true;
    // Names of a trip key no real chapter uses, so a file taken by mistake shows in the card's lists.
    const auto stray = [](int number) {
        return "m999901010000" + QString("%1").arg(number, 4, 10, QChar('0')) + ".MP4";
    };
    const QDir dir(cardFolder);
    return writeFile(dir.filePath(".Trashes/MOVE001/" + stray(1)), "hidden") &&
           writeFile(dir.filePath(scenario.movieFolder + "/." + stray(2)), "hidden") &&
           writeFile(dir.filePath(stray(3)), "not in a move folder") &&
           writeFile(dir.filePath("_extras/MOVE001/" + stray(4)), "extras") &&
           writeFile(dir.filePath(scenario.movieFolder + "/NOTES.TXT"), "stray");
}

uint16_t ManagementFileWriter::gSample(int milliG)
{
    return static_cast<uint16_t>((static_cast<uint32_t>(milliG / 2) & 0xFFF) << 4);
}

void ManagementFileWriter::putCommon(QByteArray &record, const ManagementRecordValues &values)
{
    record[0] = static_cast<char>(values.type);
    putUInt(record, 2, values.unixSeconds, 4);
    if (values.hasPosition) {
        putUInt(record, 6, positionWord(values.longitude), 3);
        putUInt(record, 9, positionWord(values.latitude), 3);
    } else {
        putUInt(record, 6, 0xFFFFFF, 3);
        putUInt(record, 9, 0xFFFFFF, 3);
    }
    putUInt(record, 12, values.speedTenths, 2);
    putUInt(record, 16, gSample(values.gXmg), 2);
    putUInt(record, 18, gSample(values.gYmg), 2);
    putUInt(record, 20, gSample(values.gZmg), 2);
    record[30] = static_cast<char>(values.sw);
    record[31] = static_cast<char>(values.status);
    putUInt(record, 40, values.timeStamp, 4);
    const QByteArray name = values.fileName.toLatin1().left(16);
    for (int i = 0; i < name.size(); ++i)
        record[64 + i] = name[i];
}

QByteArray ManagementFileWriter::vrecRecord(const ManagementRecordValues &values)
{
    QByteArray record(VREC_RECORD_SIZE, '\0');
    putCommon(record, values);
    return record;
}

// The fields the event and adventure protection records share.
QByteArray ManagementFileWriter::protectRecord(const ManagementRecordValues &values)
{
    QByteArray record(PRCT_RECORD_SIZE, '\0');
    putCommon(record, values);
    record[32] = static_cast<char>(values.channel);
    putUInt(record, 36, values.frameSize, 4);
    record[44] = static_cast<char>(values.id);
    putUInt(record, 56, values.timeStamp2, 4);
    return record;
}

QByteArray ManagementFileWriter::prctRecord(const ManagementRecordValues &values)
{
    QByteArray record = protectRecord(values);
    record[80] = static_cast<char>(values.protectType);
    record[81] = static_cast<char>(values.survRecValidData);
    return record;
}

QByteArray ManagementFileWriter::advRecord(const ManagementRecordValues &values)
{
    QByteArray record = protectRecord(values);
    record[80] = static_cast<char>(values.advModeStartFlg);
    putUInt(record, 81, values.endUnixSeconds, 4);
    return record;
}

QByteArray ManagementFileWriter::vrecFile(uint8_t mode, const std::vector<QByteArray> &records)
{
    QByteArray file(VREC_HEADER_SIZE, '\0');
    file[0] = static_cast<char>(mode);
    for (const auto &record : records)
        file += record;
    return file;
}

QByteArray ManagementFileWriter::prctFile(uint8_t mode,
                                          const std::array<std::vector<QByteArray>, 3> &sections)
{
    QByteArray file(PRCT_HEADER_SIZE, '\0');
    file[0] = static_cast<char>(mode);
    for (size_t s = 0; s < sections.size(); ++s) {
        QByteArray section;
        for (const auto &record : sections[s])
            section += record;
        section.resize(PRCT_SECTION_RECORDS[s] * PRCT_RECORD_SIZE, '\0');
        file += section;
    }
    return file;
}

QByteArray ManagementFileWriter::advFile(const std::vector<QByteArray> &records)
{
    QByteArray file(PRCT_HEADER_SIZE, '\0');
    for (const auto &record : records)
        file += record;
    return file;
}
