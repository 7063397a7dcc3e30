// The ffmpeg argument lists of the trim tools: one cut of a chapter movie, and the join of the cuts.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

class FfmpegOperate
{
public:
    FfmpegOperate() = delete;

    // ms as "HH:MM:SS.mmm", the form of the "-ss" and "-t" values.
    static QString timeText(int64_t ms);

    // One cut of inputPath into outputPath. Without a subtitle file (assPath empty) the picture is
    // copied and "-ss" goes before the input (seeking to the key frame before the start); with one the
    // picture is re-encoded with the subtitles burned in. The sound always takes ffmpeg's default for
    // MP4, which serves any sound a camera records. start and end are ms of the input's movie time;
    // "-t" is end minus start. Empty when the cut has no length (the end at or before the start).
    // A cut that is to be joined (isJoined) keeps its sound as samples, in a QuickTime file, so that
    // the sound of the join runs on without a gap or overlap. A copied cut with dropPicturesFromUs drops
    // the pictures shown from then on (µs from the cut's start) of those ffmpeg keeps (CopyCutEnd).
    static QStringList makeTrimArguments(const QString &inputPath, const QString &outputPath,
                                         const QString &assPath, std::optional<uint32_t> start,
                                         std::optional<uint32_t> end, bool isJoined = false,
                                         std::optional<int64_t> dropPicturesFromUs = std::nullopt);

    // The join of the cuts a concat list names into outputPath: their pictures copied, or re-encoded
    // when they carry burned-in subtitles (overlay), each frame once with its own time; their sound
    // (samples, see makeTrimArguments) encoded for MP4.
    static QStringList makeJoinArguments(const QString &listPath, const QString &outputPath, bool overlay);

    // The concat list of the paths, one "file" line each, joined by line feeds without a last one.
    // Each path is quoted as the concat demuxer reads it, so blanks, quotes and commas are kept. A path
    // in folder (the list's own) is written by its name: the demuxer reads it from the list's folder,
    // so no character of that folder (a line feed, "#", "?") reaches its line and URL parsing.
    static QString concatListText(const QStringList &paths, const QString &folder = QString());
    // Writes the concat list as "<12 random characters>.txt" into folder. The list's path; none when
    // there are fewer than two paths or the file was not written completely.
    static std::optional<QString> margefileCreate(const QStringList &paths, const QString &folder);

    // The "ass" filter of a subtitle file, escaped for ffmpeg's option and filter-graph parsers, so a
    // path with a quote, a colon, a comma or brackets names the file.
    static QString assFilter(const QString &assPath);
};
