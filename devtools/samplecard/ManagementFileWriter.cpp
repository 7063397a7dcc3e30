#include "samplecard/ManagementFileWriter.h"

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
} // namespace

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

QByteArray ManagementFileWriter::prctRecord(const ManagementRecordValues &values)
{
    QByteArray record(PRCT_RECORD_SIZE, '\0');
    putCommon(record, values);
    record[32] = static_cast<char>(values.channel);
    putUInt(record, 36, values.frameSize, 4);
    record[44] = static_cast<char>(values.id);
    putUInt(record, 56, values.timeStamp2, 4);
    record[80] = static_cast<char>(values.protectType);
    record[81] = static_cast<char>(values.survRecValidData);
    return record;
}

QByteArray ManagementFileWriter::advRecord(const ManagementRecordValues &values)
{
    QByteArray record(PRCT_RECORD_SIZE, '\0');
    putCommon(record, values);
    record[32] = static_cast<char>(values.channel);
    putUInt(record, 36, values.frameSize, 4);
    record[44] = static_cast<char>(values.id);
    putUInt(record, 56, values.timeStamp2, 4);
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
