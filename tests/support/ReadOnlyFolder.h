// A folder in which no file can be made, for the life of the guard: its rights are taken away, and
// where that does not stop the user (root), it is also marked immutable. Tests skip when neither works.
#pragma once

#include <QString>

class ReadOnlyFolder
{
public:
    // Makes the folder (with its parents) when it is missing.
    explicit ReadOnlyFolder(QString path);
    ~ReadOnlyFolder();
    ReadOnlyFolder(const ReadOnlyFolder &) = delete;
    ReadOnlyFolder &operator=(const ReadOnlyFolder &) = delete;

    const QString &path() const { return _path; }
    // True when a file cannot be made in the folder now.
    bool active() const;

private:
    bool setImmutable(bool on) const;

    QString _path;
    bool _immutable = false;
};
