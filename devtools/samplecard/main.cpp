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
    // Raised whenever the default card changes, so that scripts/run replaces a sample it made before.
    QCoreApplication::setApplicationVersion("2");
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Writes a synthetic card under OUT_DIR/MOVE: chapter movies with their driving data, "
        "the recording header file, ver.txt, SETINF.DAT and the management files VREC_MOV_MNG.DAT, "
        "MOV_PRCT.DAT and ADV_PRCT.DAT, plus a few files the movie search must skip; SETINF.DAT also at "
        "OUT_DIR, the drive's root; and under OUT_DIR/DAT one recording of each DAT layout (movie, event, "
        "divided, legacy) with its header file.\n"
        "By default the movies are as a camera writes them: 1280x720 H.264 at 30 pictures a second with AAC "
        "sound and the recording time (UTC) stamped in, and the standard scenario's first trip has 20-second "
        "chapters. Tests ask for small, quick movies: --size 64x48 --duration 4000 gives the standard "
        "scenario as the test library's SampleScenario::standard() makes it: below 320 pixels wide the "
        "movies "
        "are plain test patterns at the driving data's 28 pictures a second.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument("OUT_DIR", "folder to write the card into");
    QCommandLineOption scenario(
        "scenario",
        "standard (trips with a gap, events, surveillance and adventure; default) or single (one chapter)",
        "name", "standard");
    QCommandLineOption size("size", "picture size of the chapter movies (default 1280x720)", "WxH",
                            "1280x720");
    QCommandLineOption duration("duration",
                                "standard: length of the first trip's chapters in ms, the other trips' "
                                "being three quarters of it, every time of the scenario in proportion "
                                "(default 20000); single: length of each chapter in ms (default 60000)",
                                "ms");
    QCommandLineOption gop("gop", "frames between key frames of the chapter movies (default: the encoder's)",
                           "frames", "0");
    QCommandLineOption chapters("chapters", "number of chapters of the single scenario (1-9999)", "count",
                                "1");
    QCommandLineOption movie("movie-ms", "length of every chapter's movie in ms (default: the chapter's)",
                             "ms", "0");
    parser.addOption(scenario);
    parser.addOption(size);
    parser.addOption(duration);
    parser.addOption(gop);
    parser.addOption(chapters);
    parser.addOption(movie);
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        parser.showHelp(2);

    const bool isStandard = parser.value(scenario) == "standard";
    if (!isStandard && parser.value(scenario) != "single") {
        std::fprintf(stderr, "samplecard: unknown scenario\n");
        return 2;
    }
    bool ok = false;
    const int ms = parser.isSet(duration)
                       ? parser.value(duration).toInt(&ok)
                       : (ok = true, isStandard ? SampleScenario::CAMERA_FIRST_CHAPTER_MS : 60000);
    if (!ok || ms <= 0 || ms > 3600000) {
        std::fprintf(stderr, "samplecard: bad --duration\n");
        return 2;
    }
    const QStringList wh = parser.value(size).split('x');
    const int width = wh.size() == 2 ? wh[0].toInt() : 0;
    const int height = wh.size() == 2 ? wh[1].toInt() : 0;
    // Even sizes: the encoder's 4:2:0 pictures need them.
    if (width < 16 || height < 16 || width > 7680 || height > 4320 || width % 2 || height % 2) {
        std::fprintf(stderr, "samplecard: bad --size\n");
        return 2;
    }

    SampleScenario s;
    if (isStandard) {
        s = SampleScenario::camera(ms);
    } else {
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
    }
    s.withMovieSize(width, height);

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
