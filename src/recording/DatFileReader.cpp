#include "recording/DatFileReader.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

DatFileReader::DatFileReader(const QString &path)
{
    const QByteArray name = path.toLocal8Bit();
    // O_NONBLOCK: opening a FIFO planted on a card must not wait for a writer.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st = {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size < 0) {
        ::close(fd);
        return;
    }
    _fd = fd;
    _size = uint64_t(st.st_size);
}

DatFileReader::~DatFileReader()
{
    if (_fd >= 0)
        ::close(_fd);
}

bool DatFileReader::readAt(uint64_t offset, std::span<uint8_t> out) const
{
    if (_fd < 0 || offset > _size || out.size() > _size - offset)
        return false;
    size_t done = 0;
    while (done < out.size()) {
        const ssize_t n = ::pread(_fd, out.data() + done, out.size() - done, off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false; // the file shrank or the device failed
        done += size_t(n);
    }
    return true;
}

std::optional<QByteArray> DatFileReader::read(uint64_t offset, uint64_t length, uint64_t maxLength) const
{
    if (length > maxLength || offset > _size || length > _size - offset)
        return std::nullopt;
    QByteArray bytes(qsizetype(length), Qt::Uninitialized);
    if (!readAt(offset, std::span(reinterpret_cast<uint8_t *>(bytes.data()), size_t(length))))
        return std::nullopt;
    return bytes;
}

std::optional<uint64_t> DatFileReader::find(uint64_t from, uint64_t to, std::span<const uint8_t> needle,
                                            bool last) const
{
    constexpr size_t WINDOW = 64 * 1024;
    to = std::min(to, _size);
    if (needle.empty() || needle.size() > WINDOW || from >= to || to - from < needle.size())
        return std::nullopt;
    std::array<uint8_t, WINDOW> buffer;
    std::optional<uint64_t> found;
    // Windows overlap by needle.size() - 1 bytes so a match across their boundary is seen.
    const uint64_t stride = WINDOW - (needle.size() - 1);
    for (uint64_t at = from; at + needle.size() <= to; at += stride) {
        const size_t length = size_t(std::min<uint64_t>(WINDOW, to - at));
        if (!readAt(at, std::span(buffer.data(), length)))
            return found;
        const auto begin = buffer.begin();
        const auto end = buffer.begin() + ptrdiff_t(length);
        auto hit = std::search(begin, end, needle.begin(), needle.end());
        while (hit != end) {
            found = at + uint64_t(hit - begin);
            if (!last)
                return found;
            hit = std::search(hit + 1, end, needle.begin(), needle.end());
        }
        if (at + length >= to)
            break;
    }
    return found;
}
