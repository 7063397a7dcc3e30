#include "map/KmzWriter.h"

#include "platform/LockedWorkFolder.h"
#include "recording/FileUtil.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <zip.h>

namespace {

// The level the zip program uses unless told otherwise.
constexpr zip_uint32_t ZIP_DEFAULT_LEVEL = 6;

QString zipError(zip_t *archive)
{
    return QString::fromLocal8Bit(zip_strerror(archive));
}

// Builds the archive at path; false with the reason in error. libzip writes the archive itself on close.
bool writeArchive(const QString &path, const QString &entryName, const QString &sourceFile, QString &error)
{
    int code = 0;
    zip_t *archive = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_EXCL, &code);
    if (!archive) {
        zip_error_t reason;
        zip_error_init_with_code(&reason, code);
        error = QString::fromLocal8Bit(zip_error_strerror(&reason));
        zip_error_fini(&reason);
        return false;
    }
    zip_source_t *source = zip_source_file(archive, QFile::encodeName(sourceFile).constData(), 0, -1);
    if (!source) {
        error = zipError(archive);
        zip_discard(archive);
        return false;
    }
    const zip_int64_t index = zip_file_add(archive, entryName.toUtf8().constData(), source, ZIP_FL_ENC_UTF_8);
    if (index < 0) {
        error = zipError(archive);
        zip_source_free(source);
        zip_discard(archive);
        return false;
    }
    if (zip_set_file_compression(archive, zip_uint64_t(index), ZIP_CM_DEFLATE, ZIP_DEFAULT_LEVEL) != 0 ||
        zip_close(archive) != 0) {
        error = zipError(archive);
        zip_discard(archive);
        return false;
    }
    return true;
}

} // namespace

bool KmzWriter::write(const QString &destination, const QString &entryName, const QString &sourceFile,
                      QString *error, const WorkControl &control)
{
    QString reason;
    const QString folder = QFileInfo(destination).absolutePath();
    // Beside the destination, so that the final rename stays on one file system and is atomic; in a
    // folder of its own, which an export whose program was killed leaves to the next export here.
    LockedWorkFolder::removeDead(folder, QStringLiteral(".kmz-"));
    const LockedWorkFolder work(FileUtil::appendPath(folder, QStringLiteral(".kmz-XXXXXX")));
    bool ok = work.isValid();
    if (!ok) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
    } else {
        // Short: libzip writes under this name plus 7 characters of its own.
        const QString temporary = FileUtil::appendPath(work.path(), QStringLiteral("kmz.part"));
        ok = writeArchive(temporary, entryName, sourceFile, reason);
        // The last moment a stop leaves the destination as it was; after the rename the export stands.
        if (ok && control.isCancelled()) {
            reason = QStringLiteral("cancelled");
            ok = false;
        }
        if (ok && std::rename(QFile::encodeName(temporary).constData(),
                              QFile::encodeName(destination).constData()) != 0) {
            reason = QString::fromLocal8Bit(std::strerror(errno));
            ok = false;
        }
    }
    if (!ok && error)
        *error = QStringLiteral("%1: %2").arg(destination, reason);
    return ok;
}
