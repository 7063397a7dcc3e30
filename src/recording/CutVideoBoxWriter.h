// Appends a trimmed clip's metadata as the last top-level "udat" box of its MP4 file.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

class CutVideoKihonInfo;

class CutVideoBoxWriter
{
public:
    CutVideoBoxWriter() = delete;

    // The box: 32-bit big-endian size of the whole box, "udat", the 8-byte file-information item,
    // the archive. None when the size does not fit 32 bits.
    static std::optional<QByteArray> makeBox(const QByteArray &archive);

    // Appends the box of info's archive to the file at path. Every write is checked: on failure the
    // file is cut back to its old length, error says why and false is returned, so a clip is never
    // reported good without its metadata.
    static bool append(const QString &path, const CutVideoKihonInfo &info, QString *error = nullptr);
};
