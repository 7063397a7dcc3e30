// Writes one recording of each of the camera's DAT layouts (movie, event, divided and legacy frame
// files) from a short run of frames, each layout in its own folder with the recording header file.
#pragma once

#include "samplecard/SampleScenario.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// One frame as the layouts carry it; positions in 1/36000 degree (east and north), G in milli-g.
struct SampleDatFrame
{
    uint32_t timeStamp = 0;
    int64_t unixSeconds = 0;
    int32_t longitude = 0;
    int32_t latitude = 0;
    int speed = 0; // km/h
    int gX = 0;
    int gY = 0;
    int gZ = 0; // without gravity
    uint8_t camera = 1;
    uint8_t violationCode = 0; // packed BCD
    QByteArray jpeg;
};

class SampleDatWriter
{
public:
    // The 4-byte recording identifier of the movie and event layouts.
    static inline const QByteArray IDENTIFIER = QByteArrayLiteral("REC1");

    // frames.size() frames, one JPEG each (cycled when fewer are given).
    SampleDatWriter(SampleScenario scenario, std::vector<QByteArray> jpegs, int count = 8);

    // count small JPEG pictures made by the ffmpeg program; none on failure (error says why).
    static std::optional<std::vector<QByteArray>> makeJpegs(int count, QString &error);
    // Byte strings shaped like JPEG pictures, for tests and seeds that need no ffmpeg.
    static std::vector<QByteArray> placeholderJpegs(int count);

    const std::vector<SampleDatFrame> &frames() const { return _frames; }

    QByteArray movieFile() const;
    QByteArray eventFile() const;
    QByteArray dividedFile() const;
    QByteArray legacyFile() const;

    // dir/movie/M<…>.DAT, dir/event/Video.dat, dir/divided/M<…>.DAT and dir/legacy/L<…>.DAT, each beside
    // a "Playback.inf" (Shift-JIS, CRLF).
    bool writeAll(const QString &dir, QString &error) const;
    static QString moviePath(const QString &dir);
    static QString eventPath(const QString &dir);
    static QString dividedPath(const QString &dir);
    static QString legacyPath(const QString &dir);

    // Encoders the tests share.
    static uint8_t bcd(int value); // 0-99
    static QByteArray bcdDate(int64_t unixSeconds);
    static QByteArray bcdLongitude(int32_t longitude); // DDDMMTTT
    static QByteArray bcdLatitude(int32_t latitude);   // DDMMTTT and a 0
    // The camera's 16-bit G sample for milli-g (even values are exact).
    static uint16_t gSample(int milliG);

private:
    QByteArray movieRecord(const SampleDatFrame &frame, uint32_t frameSize, uint8_t id) const;

    SampleScenario _scenario;
    std::vector<SampleDatFrame> _frames;
};
