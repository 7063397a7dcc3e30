#include "HostileFiles.h"
#include <QFile>
#include <QtEndian>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

QByteArray HostileFiles::u32(uint32_t bigEndian)
{
    QByteArray b(4, '\0');
    qToBigEndian(bigEndian, b.data());
    return b;
}

QByteArray HostileFiles::box(const char *type, const QByteArray &payload)
{
    return u32(uint32_t(8 + payload.size())) + QByteArray(type, 4) + payload;
}

QByteArray HostileFiles::mp4(const std::vector<QByteArray> &entries, int durationMs)
{
    QByteArray head = box("ftyp", QByteArray("isom") + QByteArray(4, '\0'));
    // Version 0 and no flags, created and modified at 0, a millisecond time scale.
    if (durationMs >= 0)
        head += box("moov", box("mvhd", u32(0) + u32(0) + u32(0) + u32(1000) + u32(uint32_t(durationMs)) +
                                            QByteArray(80, '\0')));
    QByteArray table = u32(0) + u32(uint32_t(entries.size())), data;
    qsizetype at = head.size() + 8 + 8 + 8 * qsizetype(entries.size());
    for (const QByteArray &entry : entries) {
        table += u32(uint32_t(at)) + u32(uint32_t(entry.size()));
        at += entry.size();
        data += entry;
    }
    return head + box("udat", table + data) + box("mdat", {});
}

QByteArray HostileFiles::chapter(int records, int gapMs, int durationMs)
{
    const QByteArray key("KEY1", 4);
    QByteArray header(88, '\0');
    header[0] = char(0x17);
    header.replace(44, 4, key);
    QByteArray block;
    block.reserve(qsizetype(records) * 64 + 64);
    for (int i = 0; i < records; ++i) {
        QByteArray record(64, '\0');
        record.replace(40, 4, u32(uint32_t(i) * uint32_t(gapMs)));
        record[44] = char(0x55);
        record.replace(60, 4, key);
        block += record;
    }
    return mp4({header, block + QByteArray(64, '\0')}, durationMs);
}

bool HostileFiles::writeSparse(const QString &path, qint64 size,
                               const std::vector<std::pair<qint64, QByteArray>> &pieces)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || !file.resize(size))
        return false;
    for (const auto &[offset, bytes] : pieces) {
        if (!file.seek(offset) || file.write(bytes) != bytes.size())
            return false;
    }
    return true;
}

bool HostileFiles::makeFifo(const QString &path)
{
    return ::mkfifo(QFile::encodeName(path).constData(), 0600) == 0;
}

bool HostileFiles::resetPeakResident()
{
    QFile clear("/proc/self/clear_refs");
    return clear.open(QIODevice::WriteOnly) && clear.write("5") == 1;
}

qint64 HostileFiles::peakResidentBytes()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').front().toLongLong() * 1024;
    }
    return -1;
}
