#include "samplecard/SampleRecord.h"

namespace {

void putU16(QByteArray &b, int at, uint32_t v)
{
    b[at] = char((v >> 8) & 0xFF);
    b[at + 1] = char(v & 0xFF);
}

void putU24(QByteArray &b, int at, uint32_t v)
{
    b[at] = char((v >> 16) & 0xFF);
    b[at + 1] = char((v >> 8) & 0xFF);
    b[at + 2] = char(v & 0xFF);
}

void putU32(QByteArray &b, int at, uint32_t v)
{
    putU16(b, at, v >> 16);
    putU16(b, at + 2, v & 0xFFFF);
}

// Position word: bit 23 is the west/south flag, bits 0-22 the magnitude.
uint32_t positionWord(int32_t value)
{
    const uint32_t magnitude = uint32_t(value < 0 ? -int64_t(value) : value) & 0x7FFFFF;
    return value < 0 ? (magnitude | 0x800000) : magnitude;
}

} // namespace

uint16_t SampleRecord::gWord(int milliG)
{
    const int count = milliG / 2;
    return uint16_t((uint32_t(count) & 0xFFF) << 4);
}

QByteArray SampleRecord::bytes() const
{
    QByteArray b(64, '\0');
    putU32(b, 2, unixSeconds);
    if (hasPosition) {
        putU24(b, 6, positionWord(longitude));
        putU24(b, 9, positionWord(latitude));
    } else {
        putU24(b, 6, 0xFFFFFF);
        putU24(b, 9, 0xFFFFFF);
    }
    putU16(b, 12, speedTenths);
    putU16(b, 16, gWord(gXmg));
    putU16(b, 18, gWord(gYmg));
    putU16(b, 20, gWord(gZmg + 1000));
    b[30] = char(sw);
    b[31] = char((powerDown ? 1 : 0) | (gps2 ? 2 : 0) | (gps ? 4 : 0));
    b[32] = char(pictureChannel);
    putU32(b, 36, frameSize);
    putU32(b, 40, counter);
    b[44] = char(id);
    b[45] = char(violation);
    b[46] = char(violationSub);
    putU32(b, 60, blockKey);
    return b;
}
