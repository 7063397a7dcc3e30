// Writes the seed corpus of the DAT fuzzer: one recording of each layout from samplecard's DAT writer, and
// each layout in a crafted 4 GiB shape.
#include "DatFuzzStretch.h"
#include "samplecard/SampleDatWriter.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: DatFuzzSeeds OUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    const SampleDatWriter writer(SampleScenario::standard(), SampleDatWriter::placeholderJpegs(2), 4);
    // The crafted shapes: a real file's header and first block or record head claiming gigabytes,
    // then a hole to 4 GiB.
    const auto u32 = [](uint32_t value) {
        QByteArray bytes(4, '\0');
        qToBigEndian(value, bytes.data());
        return bytes;
    };
    const auto stretched = [](QByteArray bytes) {
        for (int shift = 56; shift >= 0; shift -= 8)
            bytes += char(DatFuzzStretch::MAX_LENGTH >> shift & 0xFF);
        return bytes + QByteArray(reinterpret_cast<const char *>(DatFuzzStretch::MARK.data()),
                                  qsizetype(DatFuzzStretch::MARK.size()));
    };
    constexpr uint32_t picture = 8 << 20;
    const QByteArray movie = writer.movieFile().left(0x2000) + u32(0xFFFF0000) + QByteArray(44, '\0');
    QByteArray event = writer.eventFile().left(0x2000 + 96);
    event.replace(0x2000, 4, u32(96 + picture));
    event.replace(0x2000 + 8, 4, u32(picture));
    QByteArray legacy = writer.legacyFile();
    const qsizetype records = 48 + 8 * qsizetype(uint8_t(legacy[32]));
    legacy = legacy.left(records + 60);
    legacy.replace(records, 4, u32(picture));
    const QByteArray divided =
        writer.dividedFile().left(48 + 8 * qsizetype(uint8_t(writer.dividedFile()[32])));
    const std::pair<const char *, QByteArray> seeds[] = {
        {"movie", writer.movieFile()},      {"event", writer.eventFile()},
        {"divided", writer.dividedFile()},  {"legacy", writer.legacyFile()},
        {"movie-4gib", stretched(movie)},   {"event-4gib", stretched(event)},
        {"legacy-4gib", stretched(legacy)}, {"divided-4gib", stretched(divided)}};
    for (const auto &[name, bytes] : seeds) {
        QFile f(out.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 1;
    }
    return 0;
}
