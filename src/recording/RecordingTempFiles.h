// The fixed-name temporary files the DAT readers leave for the player (raw camera and sound data), in
// the per-user temporary folder.
#pragma once

#include <QByteArray>
#include <QString>

#include <mutex>

class RecordingTempFiles
{
public:
    RecordingTempFiles() = delete;

    // Held from removing the old files to writing the new ones: card workers read recordings in
    // parallel and the names are shared.
    [[nodiscard]] static std::unique_lock<std::mutex> lock();
    // name inside CommonConst::DIR_PATH_TMP().
    static QString path(const QString &name);
    // Written to a temporary name and renamed into place; the folder is created when missing.
    static bool write(const QString &path, const QByteArray &bytes);
};
