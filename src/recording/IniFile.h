// Reader of the small INI-style header files the camera writes in Shift-JIS.
#pragma once

#include <QHash>
#include <QString>

class IniFile
{
public:
    // The camera's header files are a few hundred bytes; a larger one is not read.
    static constexpr qint64 MAX_FILE_BYTES = 1 << 20;

    // Adds the file's keys to map; a file that cannot be read or decoded, or is larger than
    // MAX_FILE_BYTES, leaves map as it was.
    void load(const QString &path);
    // Decodes already-read text (what load does after decoding).
    void loadText(const QString &text);
    // The value of the key in the section; throws PlatformError with the domain
    // "指定されたキーが見つかりません: <section> <key>" and code -1 when it is absent.
    QString value(const QString &section, const QString &key) const;

    // Keys are the section's header line as written, brackets included, followed by the key name:
    // key TITLE of section INFO is "[INFO]TITLE".
    QHash<QString, QString> map;
};
