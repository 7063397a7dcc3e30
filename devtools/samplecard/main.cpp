// samplecard: writes a synthetic card for tests and manual checks.
#include "samplecard/SampleCardWriter.h"
#include "samplecard/SampleDatWriter.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes a synthetic card under OUT_DIR/MOVE: chapter movies with their driving data, "
        "the recording header file, ver.txt, SETINF.DAT and the management files VREC_MOV_MNG.DAT, "
        "MOV_PRCT.DAT and ADV_PRCT.DAT, plus a few files the movie search must skip; and under OUT_DIR/DAT "
        "one recording of each DAT layout (movie, event, divided, legacy) with its header file.");
    parser.addHelpOption();
    parser.addPositionalArgument("OUT_DIR", "folder to write the card into");
    QCommandLineOption scenario(
        "scenario",
        "standard (trips with a gap, events, surveillance and adventure; default) or single (one chapter)",
        "name", "standard");
    QCommandLineOption duration("duration", "length of each chapter of the single scenario in ms", "ms",
                                "60000");
    QCommandLineOption gop("gop", "frames between key frames of the chapter movies (default: the encoder's)",
                           "frames", "0");
    QCommandLineOption chapters("chapters", "number of chapters of the single scenario (1-9999)", "count",
                                "1");
    QCommandLineOption movie("movie-ms", "length of every chapter's movie in ms (default: the chapter's)",
                             "ms", "0");
    parser.addOption(scenario);
    parser.addOption(duration);
    parser.addOption(gop);
    parser.addOption(chapters);
    parser.addOption(movie);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        parser.showHelp(2);

    SampleScenario s;
    if (parser.value(scenario) == "standard") {
        s = SampleScenario::standard();
    } else if (parser.value(scenario) == "single") {
        bool ok = false;
        const int ms = parser.value(duration).toInt(&ok);
        if (!ok || ms <= 0 || ms > 3600000) {
            std::fprintf(stderr, "samplecard: bad --duration\n");
            return 2;
        }
        const int count = parser.value(chapters).toInt(&ok);
        if (!ok || count < 1 || count > 9999) {
            std::fprintf(stderr, "samplecard: bad --chapters\n");
            return 2;
        }
        s = SampleScenario::chapters(count, ms);
        s.movieMs = parser.value(movie).toInt(&ok);
        if (!ok || s.movieMs < 0 || s.movieMs > 3600000) {
            std::fprintf(stderr, "samplecard: bad --movie-ms\n");
            return 2;
        }
    } else {
        std::fprintf(stderr, "samplecard: unknown scenario\n");
        return 2;
    }

    bool gopOk = false;
    s.keyFrameInterval = parser.value(gop).toInt(&gopOk);
    if (!gopOk || s.keyFrameInterval < 0) {
        std::fprintf(stderr, "samplecard: bad --gop\n");
        return 2;
    }

    SampleCardWriter writer(s);
    if (!writer.writeCard(args.first())) {
        std::fprintf(stderr, "samplecard: %s\n", qPrintable(writer.lastError()));
        return 1;
    }
    // One recording of each DAT layout beside the card, under OUT_DIR/DAT.
    QString error;
    const auto jpegs = SampleDatWriter::makeJpegs(8, error);
    if (!jpegs || !SampleDatWriter(s, *jpegs).writeAll(QDir(args.first()).filePath("DAT"), error)) {
        std::fprintf(stderr, "samplecard: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
