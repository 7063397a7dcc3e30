// Writes the seed corpus of the DAT fuzzer: one recording of each layout from samplecard's DAT writer.
#include "samplecard/SampleDatWriter.h"

#include <QDir>
#include <QFile>

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
    const std::pair<const char *, QByteArray> seeds[] = {{"movie", writer.movieFile()},
                                                         {"event", writer.eventFile()},
                                                         {"divided", writer.dividedFile()},
                                                         {"legacy", writer.legacyFile()}};
    for (const auto &[name, bytes] : seeds) {
        QFile f(out.filePath(name));
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return 1;
    }
    return 0;
}
