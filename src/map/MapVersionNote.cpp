#include "map/MapVersionNote.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
Q_LOGGING_CATEGORY(lcVersionNote, "orv.map.versionnote", QtInfoMsg)
}

QString MapVersionNote::defaultFolder()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    if (base.isEmpty())
        return {};
    return QDir(base).filePath(QStringLiteral("Orvalind"));
}

QString MapVersionNote::text(const QDateTime &now, const QString &appVersion, const QString &mapVersion)
{
    return QLocale().toString(now, QLocale::LongFormat) + QLatin1Char('\n') +
           QStringLiteral("アプリケーション・バージョン: ") + appVersion + QLatin1Char('\n') +
           QStringLiteral("Maps JavaScript API Version: ") + mapVersion + QLatin1Char('\n');
}

bool MapVersionNote::write(const QString &folder, const QString &appVersion, const QString &mapVersion,
                           const QDateTime &now)
{
    if (folder.isEmpty())
        return false;
    const QFileInfo info(folder);
    const bool existed = info.exists() && info.isDir();
    if (existed) {
        qCDebug(lcVersionNote).noquote() << QStringLiteral("Orvalindフォルダが存在しますよ");
    } else {
        qCDebug(lcVersionNote).noquote() << QStringLiteral("Orvalindフォルダが存在しませんよ");
        if (!QDir().mkpath(folder)) {
            const QString why = info.exists() ? QStringLiteral("a file of that name is in the way")
                                              : QStringLiteral("the folder could not be created");
            qCWarning(lcVersionNote).noquote() << QStringLiteral("folder generated failed: ") + why;
            return false;
        }
    }
    // Written to a temporary name and renamed, so a failed write keeps the last good note.
    QSaveFile file(QDir(folder).filePath(QStringLiteral("mv.txt")));
    const QByteArray bytes = text(now, appVersion, mapVersion).toUtf8();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        qCWarning(lcVersionNote).noquote()
            << (existed ? QStringLiteral("error: ") : QStringLiteral("an error took place: ")) +
                   file.errorString();
        return false;
    }
    return true;
}
