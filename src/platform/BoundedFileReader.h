// Reads card files with positioned reads into buffers we own. Only regular files are opened, every
// read has a bound, and a file that shrinks, fails or is swapped under us gives a failed read with a
// reason instead of a signal (as a memory map would) or a hang (as a FIFO would).
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <span>

class BoundedFileReader
{
public:
    // What a whole-file read does with a file above its bound.
    enum class Oversize
    {
        Refuse,     // a lie about the format: the read fails
        TakePrefix, // a fixed-size format: the bytes past it are never looked at
    };

    // The bytes of a whole-file read, or the reason it failed (bytes then empty).
    struct Contents
    {
        QByteArray bytes;
        QString error;
        bool ok() const { return error.isEmpty(); }
    };

    // Opens the path when it is (or links to) a regular file, checked before and after the open.
    explicit BoundedFileReader(const QString &path);
    BoundedFileReader(const BoundedFileReader &) = delete;
    BoundedFileReader &operator=(const BoundedFileReader &) = delete;
    ~BoundedFileReader();

    bool isOpen() const { return _fd >= 0; }
    // Size in bytes when opened; reads past it fail even when the file has grown since.
    uint64_t size() const { return _size; }
    // Why the open or the last failed read failed; empty while all went well.
    const QString &error() const { return _error; }

    // Fills out with the bytes at offset. False (and error() says why) on a read error, a range past
    // the size at open, or a file that ended before the range did.
    bool readInto(uint64_t offset, std::span<uint8_t> out);

    // Why the path is not opened as a file (empty when it is, or links to, a regular file): for
    // skipping folder entries without opening them.
    static QString whyNotRegular(const QString &path);
    // The whole file, at most maxBytes of it.
    static Contents readFile(const QString &path, qint64 maxBytes, Oversize oversize);

private:
    void fail(const QString &reason);

    int _fd = -1;
    uint64_t _size = 0;
    QString _error;
};
