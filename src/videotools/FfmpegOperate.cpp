#include "videotools/FfmpegOperate.h"

#include "recording/FileUtil.h"

#include <QFile>
#include <QFileInfo>
#include <QLoggingCategory>

namespace {
Q_LOGGING_CATEGORY(lcTrim, "orv.videotools.trim", QtInfoMsg)
}

namespace {

// Single quotes keep everything literal in ffmpeg's tokenizer; a quote itself is closed, escaped and
// reopened: it's -> 'it'\''s'.
QString singleQuoted(QString text)
{
    return QLatin1Char('\'') + text.replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\'');
}

} // namespace

QString FfmpegOperate::timeText(int64_t ms)
{
    return QString::asprintf("%02lld:%02lld:%02lld.%03lld", static_cast<long long>(ms / 3600000),
                             static_cast<long long>((ms / 60000) % 60),
                             static_cast<long long>((ms / 1000) % 60), static_cast<long long>(ms % 1000));
}

QStringList FfmpegOperate::makeTrimArguments(const QString &inputPath, const QString &outputPath,
                                             const QString &assPath, std::optional<uint32_t> start,
                                             std::optional<uint32_t> end, bool isJoined,
                                             std::optional<int64_t> dropPicturesFromUs)
{
    if (end && *end <= start.value_or(0))
        return {};
    const std::optional<QString> startText = start ? std::optional(timeText(*start)) : std::nullopt;
    const std::optional<QString> lengthText =
        end ? std::optional(timeText(int64_t(*end) - int64_t(start.value_or(0)))) : std::nullopt;
    QStringList args{QStringLiteral("-y")};
    if (assPath.isEmpty()) {
        if (startText)
            args << QStringLiteral("-ss") << *startText;
        args << QStringLiteral("-i") << inputPath;
        if (lengthText)
            args << QStringLiteral("-t") << *lengthText;
        args << QStringLiteral("-vcodec") << QStringLiteral("copy");
        // The expression is above 0 (drop) from the given time on; it holds no comma, which would
        // end the filter in ffmpeg's list of bitstream filters.
        if (dropPicturesFromUs)
            args << QStringLiteral("-bsf:v")
                 << QStringLiteral("noise=drop=sgn(pts*tb-%1)+1")
                        .arg(QString::asprintf("%.6f", double(*dropPicturesFromUs) / 1e6));
    } else {
        args << QStringLiteral("-i") << inputPath << QStringLiteral("-preset") << QStringLiteral("veryfast")
             << QStringLiteral("-loglevel") << QStringLiteral("quiet") << QStringLiteral("-vf")
             << assFilter(assPath);
        if (startText)
            args << QStringLiteral("-ss") << *startText;
        if (lengthText)
            args << QStringLiteral("-t") << *lengthText;
    }
    // A frame of compressed sound is a few tens of ms, and a cut's sound, encoded afresh, starts with
    // the encoder's delay and ends padded to a whole frame: joined, the padding and the next delay
    // play as sound and the sound falls behind the pictures at every join. Samples join exactly.
    if (isJoined)
        args << QStringLiteral("-c:a") << QStringLiteral("pcm_s16le") << QStringLiteral("-f")
             << QStringLiteral("mov");
    args << QStringLiteral("-g") << QStringLiteral("10") << outputPath;
    return args;
}

QStringList FfmpegOperate::makeJoinArguments(const QString &listPath, const QString &outputPath, bool overlay)
{
    QStringList args{QStringLiteral("-y"),
                     QStringLiteral("-f"),
                     QStringLiteral("concat"),
                     QStringLiteral("-safe"),
                     QStringLiteral("0"),
                     QStringLiteral("-i"),
                     listPath};
    // An encoder at a constant frame rate fills any gap between two pictures (the concat demuxer puts
    // each cut after the longer of its streams) by repeating the frame after it. Each frame is encoded
    // once, with its own time, instead.
    if (overlay)
        args << QStringLiteral("-fps_mode") << QStringLiteral("vfr") << QStringLiteral("-preset")
             << QStringLiteral("veryfast") << QStringLiteral("-loglevel") << QStringLiteral("quiet");
    else // the cuts' sound samples are encoded for MP4 here
        args << QStringLiteral("-c:v") << QStringLiteral("copy");
    args << outputPath;
    return args;
}

QString FfmpegOperate::concatListText(const QStringList &paths, const QString &folder)
{
    const QString listFolder = folder.isEmpty() ? QString() : QFileInfo(folder).absoluteFilePath();
    QStringList lines;
    for (const QString &path : paths) {
        const QFileInfo file(path);
        lines << QStringLiteral("file ") +
                     singleQuoted(file.absolutePath() == listFolder ? file.fileName() : path);
    }
    return lines.join(QLatin1Char('\n'));
}

std::optional<QString> FfmpegOperate::margefileCreate(const QStringList &paths, const QString &folder)
{
    if (paths.size() < 2)
        return std::nullopt;
    const QString listPath = FileUtil::appendPath(folder, randomString(12) + QStringLiteral(".txt"));
    if (!FileUtil::writeScratchFile(listPath, concatListText(paths, folder).toUtf8())) {
        qWarning("[margefileCreate]Failed Write Error.");
        return std::nullopt;
    }
    qCDebug(lcTrim).noquote() << "[margefileCreate] Success:" << listPath;
    return listPath;
}

QString FfmpegOperate::assFilter(const QString &assPath)
{
    // First the option parser of the filter (":" separates options, "\" escapes), then the graph
    // parser (quotes, "," and brackets), which takes one level off before the option parser runs.
    QString option;
    for (const QChar c : assPath) {
        if (c == QLatin1Char('\\') || c == QLatin1Char('\'') || c == QLatin1Char(':'))
            option += QLatin1Char('\\');
        option += c;
    }
    return QStringLiteral("ass=") + singleQuoted(option);
}
