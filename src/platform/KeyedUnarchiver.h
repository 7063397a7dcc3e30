// Reads a keyed archive (binary property list of $objects linked by UIDs) and hands out its root
// object as an ArchivedValue; archives written by macOS and by KeyedArchiver read alike.
#pragma once

#include "platform/ArchivedValue.h"

#include <QByteArray>
#include <QString>
#include <memory>
#include <optional>
#include <vector>

class KeyedUnarchiver
{
public:
    // None when the bytes are not a binary property list with "$objects" and "$top".
    static std::optional<KeyedUnarchiver> fromData(const QByteArray &data);

    // Values handed out stay valid while the unarchiver (or one it was moved into) lives.
    KeyedUnarchiver(KeyedUnarchiver &&) noexcept;
    KeyedUnarchiver &operator=(KeyedUnarchiver &&) noexcept;
    ~KeyedUnarchiver();

    // The "root" entry of "$top" (a missing value when absent).
    ArchivedValue root() const;
    ArchivedValue topObject(const char *key) const;

private:
    KeyedUnarchiver();

    // The parsed list; values point into it, so it stays put when the unarchiver moves.
    std::unique_ptr<KeyedArchiveData> _data;
};

// The parsed archive: the property list owning every node, and its $objects by UID.
struct KeyedArchiveData
{
    ~KeyedArchiveData();

    // A member as stored: a UID is followed into $objects, other nodes are taken inline.
    ArchivedValue resolve(void *node) const;
    // "$classname" of an instance's "$class" entry, as written (module prefix included).
    QString classNameOf(void *instance) const;

    void *plist = nullptr;
    void *top = nullptr;
    std::vector<void *> objects;
};
