#include "HostileFiles.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void appendU32(QByteArray &b, uint32_t v)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        b.append(char((v >> shift) & 0xFF));
}

QByteArray box(const char *type, const QByteArray &payload)
{
    QByteArray b;
    appendU32(b, uint32_t(8 + payload.size()));
    b.append(type, 4);
    return b + payload;
}

} // namespace

QByteArray HostileFiles::chapter(int records, int gapMs, int durationMs)
{
    const QByteArray ftyp = box("ftyp", QByteArray("isom") + QByteArray(12, '\0'));
    QByteArray mvhd(4, '\0'); // version 0, no flags
    appendU32(mvhd, 0);       // created
    appendU32(mvhd, 0);       // modified
    appendU32(mvhd, 1000);    // time scale
    appendU32(mvhd, uint32_t(durationMs));
    mvhd.append(QByteArray(80, '\0'));
    const QByteArray moov = box("moov", box("mvhd", mvhd));

    const char key[4] = {'K', 'E', 'Y', '1'};
    QByteArray header(88, '\0');
    header[0] = char(0x17);
    header.replace(44, 4, key, 4);
    QByteArray block;
    block.reserve(qsizetype(records) * 64 + 64);
    for (int i = 0; i < records; ++i) {
        QByteArray record(64, '\0');
        const uint32_t stamp = uint32_t(i) * uint32_t(gapMs);
        for (int k = 0; k < 4; ++k)
            record[40 + k] = char((stamp >> (24 - 8 * k)) & 0xFF);
        record[44] = char(0x55);
        record.replace(60, 4, key, 4);
        block += record;
    }
    block += QByteArray(64, '\0');

    const qsizetype udatOffset = ftyp.size() + moov.size();
    QByteArray table;
    appendU32(table, 0);
    appendU32(table, 2);
    const qsizetype dataStart = udatOffset + 8 + 8 + 16;
    appendU32(table, uint32_t(dataStart));
    appendU32(table, uint32_t(header.size()));
    appendU32(table, uint32_t(dataStart + header.size()));
    appendU32(table, uint32_t(block.size()));
    return ftyp + moov + box("udat", table + header + block) + box("mdat", {});
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
