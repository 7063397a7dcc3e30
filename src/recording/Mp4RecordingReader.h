// Reads the driving data of a camera MP4 chapter (the udat entry table, header record and blocks of
// 64-byte frame records) into a VideoInfo.
#pragma once

#include "recording/Date.h"
#include "recording/VideoFrame.h"
#include "recording/ViolationType.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

class Mp4Reader;
class VideoInfo;

class Mp4RecordingReader
{
public:
    static constexpr size_t RECORD_SIZE = 64;
    // The header record holds its setting items from this offset, 8 bytes each.
    static constexpr size_t HEADER_ITEMS_OFFSET = 80;

    // Frames a movie without a usable movie header may hold: an hour of it.
    static constexpr int64_t DURATION_WITHOUT_HEADER_MS = 3600 * 1000;

    Mp4RecordingReader() = delete;

    // Null when the file has no udat box, an empty payload, or no usable header record, and when the
    // file cannot be read (problem then says why, for the user). A file with more frames than its
    // movie's length allows keeps the frames up to that bound, and problem says so. isError is set
    // (never cleared) for a bad violation code, a header whose items run past its end, and when no
    // frame is kept. Frames of data blocks wholly outside [left, right] are dropped.
    static std::shared_ptr<VideoInfo> read(const QString &path, const Date &left, const Date &right,
                                           bool &isError, const QByteArray &fileData,
                                           QString *problem = nullptr);
    // The same over bytes the caller keeps alive (fuzzing, tests).
    static std::shared_ptr<VideoInfo> read(std::span<const uint8_t> file, const Date &left, const Date &right,
                                           bool &isError, const QByteArray &fileData,
                                           QString *problem = nullptr);

    // The first time read() gives the file with the widest window, found without decoding its frames
    // (the order of chapters that have no management record). None where read() gives no recording,
    // and for a clip cut by the trim tool (fileData marks it): only read() knows those.
    static std::optional<Date> readFirstTime(const QString &path, const QByteArray &fileData);
    // What a card's open learns of a recording in that same pass: its first time, the span read() would
    // give it (_timeSpan), and the movie's length from its header. Each is none where only read() can
    // tell (a cut clip, a file read() refuses) or the file does not say.
    struct Opening
    {
        std::optional<Date> firstTime;
        std::optional<uint32_t> timeSpan;
        std::optional<int64_t> movieDurationMs;
    };
    static Opening readOpening(const QString &path, const QByteArray &fileData);

    // Frames a recording may hold for the length of its movie: two cameras at 30 frames a second,
    // plus ten seconds of margin. Past it the file is corrupt or crafted, and the gap filling may
    // not go past it either.
    static size_t maxFramesFor(int64_t durationMs);

    // Header record: detection code, time and position, switch byte and the setting items. False when the
    // record is too short to hold its item count (it is at least 65 bytes).
    static bool decodeHeader(std::span<const uint8_t> header, VideoInfo &info, bool &isError);
    // One 64-byte frame record; the caller has checked the length.
    static VideoFrame decodeRecord(std::span<const uint8_t> record, int32_t blockNo, bool &isError);

    // Shared with the DAT readers: the 24-bit position word at offset (bit 23 west or south, the rest the
    // magnitude in 1/36000 degree), and the decimal violation code to its type (unknown codes All).
    static int32_t signedPosition(std::span<const uint8_t> record, qsizetype offset, uint16_t &negativeFlag);
    static ViolationType violationOfCode(uint8_t code);

private:
    static std::shared_ptr<VideoInfo> read(const Mp4Reader &reader, const Date &left, const Date &right,
                                           bool &isError, const QByteArray &fileData, QString *problem);
};
