// Writes the seed corpora of the card-file fuzzers from samplecard's standard card: one folder per
// target (vrec, prct, adv, setinf, playback) with the card's own file and a few cuts of it.
#include "samplecard/SampleCardWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: CardFilesFuzzSeeds OUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir card;
    SampleCardWriter writer(SampleScenario::standard());
    if (!writer.writeCard(card.path())) {
        std::fprintf(stderr, "CardFilesFuzzSeeds: %s\n", qPrintable(writer.lastError()));
        return 1;
    }
    const std::pair<const char *, const char *> files[] = {
        {"vrec", "VREC_MOV_MNG.DAT"}, {"prct", "MOV_PRCT.DAT"},     {"adv", "ADV_PRCT.DAT"},
        {"setinf", "SETINF.DAT"},     {"playback", "Playback.inf"},
    };
    for (const auto &[folder, name] : files) {
        QFile in(SampleCardWriter::cardFolder(card.path()) + "/" + name);
        if (!in.open(QIODevice::ReadOnly))
            return 1;
        const QByteArray bytes = in.readAll();
        QDir().mkpath(out.filePath(folder));
        for (const qsizetype cut : {bytes.size(), bytes.size() / 2, qsizetype(100)}) {
            QFile seed(out.filePath(QString("%1/seed%2").arg(folder).arg(cut)));
            if (!seed.open(QIODevice::WriteOnly) || seed.write(bytes.left(cut)) < 0)
                return 1;
        }
    }
    return 0;
}
