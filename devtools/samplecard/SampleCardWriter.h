// Writes a synthetic card from a SampleScenario: chapter movies with driving data, header and version files.
#pragma once

#include "samplecard/SampleRecord.h"
#include "samplecard/SampleScenario.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <vector>

class SampleCardWriter
{
public:
    explicit SampleCardWriter(SampleScenario scenario);

    const SampleScenario &scenario() const { return _scenario; }
    // Text of the last failure of a write function.
    const QString &lastError() const { return _lastError; }

    // The whole card under outDir: SETINF.DAT, MOVE/ver.txt, MOVE/Playback.inf, MOVE/SETINF.DAT, the
    // management files and every chapter movie.
    bool writeCard(const QString &outDir);

    // One file each; parent folders are created.
    bool writeChapterMovie(const SampleTrip &trip, const SampleChapter &chapter, const QString &path);
    bool writeHeaderFile(const QString &path);
    bool writeVersionFile(const QString &path);

    // Where writeCard puts things, relative to outDir.
    static QString cardFolder(const QString &outDir); // outDir/MOVE
    QString chapterPath(const QString &outDir, const SampleTrip &trip, const SampleChapter &chapter) const;
    // "m" + trip key + 4-digit file number + ".MP4", the camera's movie file name.
    static QString movieFileName(const SampleTrip &trip, const SampleChapter &chapter);
    // The data behind a chapter movie, for tests that compare what a reader sees.
    // Records in file order (blocks in order, frames before sound records within a block).
    std::vector<SampleRecord> chapterRecords(const SampleTrip &trip, const SampleChapter &chapter) const;
    QByteArray chapterHeaderRecord(const SampleTrip &trip, const SampleChapter &chapter) const;
    // The top-level udat box for a chapter whose box starts at boxOffset in the file.
    QByteArray udatBox(const SampleTrip &trip, const SampleChapter &chapter, int64_t boxOffset) const;

    // A test-pattern movie with sound, made by the ffmpeg program (SampleMovieArgs); cached per length,
    // and per start when the scenario stamps the recording time (stampStartMs: ms since the epoch).
    bool makeBaseMovie(int durationMs, const QString &path,
                       std::optional<int64_t> stampStartMs = std::nullopt);

    // Values of the scenario's profiles at a trip offset.
    static SampleRoutePoint positionAt(const SampleTrip &trip, int64_t atMs);
    static double speedAt(const SampleTrip &trip, int64_t atMs);
    static SampleGPoint gAt(const SampleTrip &trip, int64_t atMs);

private:
    bool fail(const QString &message);
    const SampleEvent *eventInChapter(const SampleTrip &trip, const SampleChapter &chapter) const;

    SampleScenario _scenario;
    QString _lastError;
    std::unique_ptr<QTemporaryDir> _cacheDir;
    QHash<QString, QString> _baseMovies; // length in ms (and stamp start) -> cached movie
};
