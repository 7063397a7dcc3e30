#include "videotools/SubtitleWriter.h"

#include "card/ChapterData.h"
#include "platform/MovieProbe.h"
#include "recording/DateFormatTypeUtil.h"
#include "recording/FileUtil.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QStringList>
#include <cmath>

namespace {
Q_LOGGING_CATEGORY(lcTrim, "orv.videotools.trim", QtInfoMsg)
}

namespace {

const QString FULLWIDTH_COLON = QStringLiteral("\uFF1A");
const QString IDEOGRAPHIC_SPACE = QStringLiteral("\u3000");
const QString D_FORMAT = QStringLiteral("yyyy.MM.dd HH:mm:ss");

QString label(const char *key)
{
    return QCoreApplication::translate("SubtitleWriter", key);
}

// Degrees to six decimals, halves rounded away from zero before printing.
QString degreesText(int32_t value)
{
    const double degrees = std::round(value / 36000.0 * 1e6) / 1e6;
    return QString::asprintf("%.6f", degrees);
}

} // namespace

SubtitleWriter::SubtitleWriter(OverlaySettings settings)
    : _settings(settings),
      strDate(QLatin1Char(' ') + label(QT_TRANSLATE_NOOP("SubtitleWriter", "time/date")) + FULLWIDTH_COLON),
      strSpeed(IDEOGRAPHIC_SPACE + label(QT_TRANSLATE_NOOP("SubtitleWriter", "speed")) + FULLWIDTH_COLON),
      strAccel(IDEOGRAPHIC_SPACE + label(QT_TRANSLATE_NOOP("SubtitleWriter", "acceleration")) +
               FULLWIDTH_COLON),
      strLat(IDEOGRAPHIC_SPACE + label(QT_TRANSLATE_NOOP("SubtitleWriter", "latitude")) + FULLWIDTH_COLON),
      strLon(IDEOGRAPHIC_SPACE + label(QT_TRANSLATE_NOOP("SubtitleWriter", "longitude")) + FULLWIDTH_COLON)
{
}

QString SubtitleWriter::makeInfoText(const VideoFrame &frame, OverlayFlags flags) const
{
    QString text;
    if (flags.isDatetime) {
        const QString format =
            DateFormatTypeUtil::format(DateFormatTypeUtil::subtitleFormats(), _settings.dateFormat)
                .value_or(D_FORMAT);
        text +=
            strDate + frame.time.toString(format, DateFormatTypeUtil::timeZoneIdentifier(_settings.timeZone),
                                          _settings.summerTime);
    }
    if (flags.isSpeed) {
        const QString number =
            _settings.speedMeter
                ? QString::number(frame.speed) + QStringLiteral("[KM/H]")
                : QString::number(int32_t(std::floor(frame.speed / 1.6093))) + QStringLiteral("[MPH]");
        text += strSpeed + number;
    }
    if (flags.isAcceleration) {
        text += strAccel + QString::asprintf("%.3f", std::sqrt(frame.gX * frame.gX + frame.gY * frame.gY)) +
                QStringLiteral("[G]");
    }
    if (flags.isPoint)
        text += strLat + degreesText(frame._latitude) + strLon + degreesText(frame._longitude);
    return text;
}

QString SubtitleWriter::assTimeText(int64_t ms)
{
    return QString::asprintf("%02lld:%02lld:%02lld.%02lld", static_cast<long long>(ms / 3600000),
                             static_cast<long long>((ms / 60000) % 60),
                             static_cast<long long>((ms / 1000) % 60),
                             static_cast<long long>((ms % 1000) / 10));
}

QString SubtitleWriter::assDocument(VideoInfo *recording, int width, int height, OverlayFlags flags) const
{
    const int fontSize = width <= 640 ? 9 : 24;
    QStringList lines{
        QStringLiteral("[Script Info]"),
        QStringLiteral("ScriptType: v4.00+"),
        QStringLiteral("Collisions: Normal"),
        QStringLiteral("ScaledBorderAndShadow: Yes"),
        QStringLiteral("PlayResX: %1").arg(width),
        QStringLiteral("PlayResY: %1").arg(height),
        QStringLiteral("Timer: 100.0000"),
        QStringLiteral("WrapStyle: 0"),
        QString(),
        QStringLiteral("[V4+ Styles]"),
        QStringLiteral("Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, "
                       "BackColour, Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, "
                       "BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, MarginV, Encoding"),
        QStringLiteral("Style: Default,Helvetica,%1,&H00f8ffff,&H0000ffff,&H00000000,&H00000000,-1,0,0,0,100,"
                       "100,0,0.00,1,2,0,1,0,0,0,128")
            .arg(fontSize),
        QString(),
        QStringLiteral("[Events]"),
        QStringLiteral("Format: Layer, Start, End, Style, Actor, MarginL, MarginR, MarginV, Effect, Text"),
    };
    if (recording) {
        // Keep the table alive while walking it: a lookup may replace the recording's tables.
        const FrameTable frames = recording->getCameraFrames(0);
        std::optional<uint32_t> previous;
        for (const auto &[key, frame] : frames) {
            const uint32_t movieTime = recording->findFrame(1, key, true)._movieTimeStamp;
            if (!previous) {
                previous = movieTime;
                continue;
            }
            if (movieTime <= *previous)
                continue;
            lines << QStringLiteral("Dialogue: 0,%1,%2,Default,,0000,0000,0000,,%3")
                         .arg(assTimeText(*previous), assTimeText(movieTime), makeInfoText(frame, flags));
            previous = movieTime;
        }
    }
    return lines.join(QLatin1Char('\n'));
}

QString SubtitleWriter::ASSCreate(ChapterData &chapter, OverlayFlags flags, const QString &path) const
{
    if (!flags.any())
        return {};
    const auto movie = MovieProbe::probe(chapter._pathMp4.toLocalFile());
    if (!movie || movie->width <= 0 || movie->height <= 0)
        return {};
    const std::shared_ptr<PictureData> picture = chapter.getPicture(true);
    const QByteArray bytes =
        assDocument(picture ? picture->video.get() : nullptr, movie->width, movie->height, flags).toUtf8();
    if (!FileUtil::writeScratchFile(path, bytes)) {
        qWarning("[ASSCreate]Failed Write Error.");
        return {};
    }
    qCDebug(lcTrim).noquote() << "[ASSCreate] Success:" << path;
    return path;
}
