#include "recording/MappedFile.h"

#include <QFileInfo>

bool MappedFile::open(const QString &path)
{
    _isOpen = false;
    _bytes = {};
    if (_file.isOpen())
        _file.close();
    // A folder opens as a QFile on Linux; it is not a recording file.
    if (!QFileInfo(path).isFile())
        return false;
    _file.setFileName(path);
    if (!_file.open(QIODevice::ReadOnly))
        return false;
    const qint64 size = _file.size();
    if (size > 0) {
        uchar *data = _file.map(0, size);
        if (!data) {
            _file.close();
            return false;
        }
        _bytes = std::span<const uint8_t>(data, size_t(size));
    }
    _isOpen = true;
    return true;
}
