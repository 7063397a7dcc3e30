// A read-only memory map of a whole file, unmapped when the object goes.
#pragma once

#include <QFile>
#include <QString>

#include <cstdint>
#include <span>

class MappedFile
{
public:
    MappedFile() = default;
    explicit MappedFile(const QString &path) { open(path); }
    MappedFile(const MappedFile &) = delete;
    MappedFile &operator=(const MappedFile &) = delete;

    // False when the file cannot be opened or mapped; an empty file opens with no bytes.
    bool open(const QString &path);
    bool isOpen() const { return _isOpen; }
    std::span<const uint8_t> bytes() const { return _bytes; }

private:
    QFile _file;
    std::span<const uint8_t> _bytes;
    bool _isOpen = false;
};
