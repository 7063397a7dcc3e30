#include "recording/RecordingTempFiles.h"

#include "recording/CommonConst.h"
#include "recording/FileUtil.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

std::unique_lock<std::mutex> RecordingTempFiles::lock()
{
    static std::mutex mutex;
    return std::unique_lock(mutex);
}

QString RecordingTempFiles::path(const QString &name)
{
    return FileUtil::appendPath(CommonConst::DIR_PATH_TMP(), name);
}

bool RecordingTempFiles::write(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return false;
    return file.commit();
}
