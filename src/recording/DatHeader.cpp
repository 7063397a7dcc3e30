#include "recording/DatHeader.h"

#include "recording/DataUtility.h"
#include "recording/Mp4RecordingReader.h"

#include <QDir>
#include <QFileInfo>

DatHeader::Item DatHeader::item(std::span<const uint8_t> bytes)
{
    return Item{bcd(bytes[0]), bcd(bytes[1]), bytes.subspan(2, 5)};
}

std::optional<uint8_t> DatHeader::bcd(uint8_t value)
{
    if ((value >> 4) > 9 || (value & 0x0F) > 9)
        return std::nullopt;
    return uint8_t((value >> 4) * 10 + (value & 0x0F));
}

std::optional<QString> DatHeader::codeText(std::span<const uint8_t> data)
{
    uint32_t v = 0;
    for (size_t i = 0; i < 4; ++i) {
        const auto digits = bcd(data[i]);
        if (!digits)
            return std::nullopt;
        v = v * 100 + *digits;
    }
    return QStringLiteral("%1").arg(v, 8, 10, QLatin1Char('0'));
}

bool DatHeader::hasNoCodeMark(std::span<const uint8_t> data)
{
    return data[0] == 0xFF || data[1] == 0xFF || data[2] == 0xFF || data[3] == 0xFF;
}

bool DatHeader::applyCommon(const Item &item, PlaybackInfo &playback)
{
    if (item.is(4, 6))
        playback.d2US = DataUtility::toHexString(item.data.first(1));
    else if (item.is(8, 1))
        playback.gValue = DataUtility::toHexString(item.data.first(2));
    else if (item.is(9, 1))
        playback.eventFPS = DataUtility::toHexString(item.data.first(1));
    else if (item.is(10, 3))
        playback.movieFPS = DataUtility::toHexString(item.data.first(1));
    else
        return false;
    return true;
}

void DatHeader::decodeViolation(uint8_t code, uint8_t qualifier, VideoFrame &frame, bool &isError)
{
    const auto decimal = bcd(code);
    if (!decimal) {
        isError = true;
        return;
    }
    const ViolationType type = Mp4RecordingReader::violationOfCode(*decimal);
    if (type != ViolationType::Overspeed) {
        frame.ex.violationType = type;
        return;
    }
    const auto sub = bcd(qualifier);
    if (!sub) {
        isError = true;
        return;
    }
    frame.ex.violationType = *sub != 0 ? ViolationType::All : type;
}

bool DatHeader::decodePosition(std::span<const uint8_t> record, qsizetype longitudeOffset,
                               qsizetype latitudeOffset, VideoFrame &frame)
{
    const auto at = size_t(longitudeOffset);
    if (record[at] == 0xFF && record[at + 1] == 0xFF && record[at + 2] == 0xFF) {
        frame._longitude = 0;
        frame._latitude = 0;
        return false;
    }
    frame._longitude = Mp4RecordingReader::signedPosition(record, longitudeOffset, frame._posWest);
    frame._latitude = Mp4RecordingReader::signedPosition(record, latitudeOffset, frame._posSouth);
    return true;
}

QString DatHeader::playbackPath(const QString &filePath)
{
    return QFileInfo(filePath).dir().filePath(QStringLiteral("Playback.inf"));
}
