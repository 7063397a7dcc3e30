#include "card/AVUtil.h"

#include "platform/JpegFile.h"
#include "platform/MovieStillGrabber.h"
#include "platform/UserTempFolder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTimeZone>

QString AVUtil::thumbnailFileName(const QUrl &movie, qint64 positionMs)
{
    const QTime time = QDateTime::fromSecsSinceEpoch(positionMs / 1000, QTimeZone::utc()).time();
    const QString digits = time.isValid()
                               ? QString::asprintf("%02d%02d%02d", time.hour(), time.minute(), time.second())
                               : QStringLiteral("000000");
    return QFileInfo(movie.path()).completeBaseName() + '_' + digits + QStringLiteral(".jpeg");
}

std::optional<QUrl> AVUtil::saveThumbnail(const QUrl &movie, qint64 positionMs, const QUrl &folder,
                                          const std::atomic<bool> *cancel, QString *problem)
{
    if (!movie.isLocalFile() || !folder.isLocalFile() || !folder.path().endsWith('/'))
        return std::nullopt;
    const QString folderPath = folder.toLocalFile();
    if (!UserTempFolder::makeFolder(folderPath))
        return std::nullopt;
    const QString target = QDir(folderPath).filePath(thumbnailFileName(movie, positionMs));

    const auto still = MovieStillGrabber::grab(movie.toLocalFile(), positionMs, MovieStillGrabber::MAX_SIZE,
                                               cancel, problem);
    if (!still || !JpegFile::write(*still, target))
        return std::nullopt;
    return QUrl::fromLocalFile(target);
}
