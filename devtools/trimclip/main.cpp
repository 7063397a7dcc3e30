// trimclip: trims a range of a trip into one MP4 clip as the trim tool does, without windows.
#include "card/CardData.h"
#include "card/TripData.h"
#include "recording/CommonConst.h"
#include "recording/FileUtil.h"
#include "videotools/TrimWorker.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>

namespace {

int usageError(const char *text)
{
    std::fprintf(stderr, "trimclip: %s\n", text);
    return 2;
}

std::optional<OverlayFlags> parseOverlay(const QString &text)
{
    OverlayFlags flags;
    for (const QString &item : text.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        if (item == "date")
            flags.isDatetime = true;
        else if (item == "speed")
            flags.isSpeed = true;
        else if (item == "accel")
            flags.isAcceleration = true;
        else if (item == "point")
            flags.isPoint = true;
        else
            return std::nullopt;
    }
    return flags;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Cuts the range FROM..TO (ms on the trip's timeline, 0 = the start of its first chapter) of trip N "
        "of "
        "the card at MOVE_PATH into OUT.mp4 with the clip's driving data appended, as the trim tool does. "
        "Dates are burned in with the default settings (24-hour, Pacific time, km/h). Progress on stderr; "
        "exit 0 only when the clip was saved.");
    parser.addHelpOption();
    parser.addPositionalArgument("MOVE_PATH", "the card's MOVE folder, a backup folder or a movie file");
    parser.addPositionalArgument("OUT", "the clip to write (an existing file is replaced when it is done)");
    const QCommandLineOption trip("trip", "trip index in the card library's order", "N");
    const QCommandLineOption from("from", "start of the range, ms", "MS");
    const QCommandLineOption to("to", "end of the range, ms", "MS");
    const QCommandLineOption overlay("overlay", "data to burn in: any of date,speed,accel,point", "LIST");
    parser.addOptions({trip, from, to, overlay});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.size() != 2 || !parser.isSet(trip) || !parser.isSet(from) || !parser.isSet(to))
        parser.showHelp(2);
    bool okTrip = false, okFrom = false, okTo = false;
    const int tripIndex = parser.value(trip).toInt(&okTrip);
    const qint64 fromMs = parser.value(from).toLongLong(&okFrom);
    const qint64 toMs = parser.value(to).toLongLong(&okTo);
    if (!okTrip || !okFrom || !okTo)
        return usageError("--trip, --from and --to take whole numbers");
    const auto flags = parseOverlay(parser.value(overlay));
    if (!flags)
        return usageError("--overlay takes date, speed, accel and point, separated by commas");

    CardData card;
    card.loadCardFolder(FileUtil::fileUrl(QFileInfo(args[0]).absoluteFilePath()));
    if (tripIndex < 0 || size_t(tripIndex) >= card._tripList.size()) {
        std::fprintf(stderr, "trimclip: the card has %zu trips\n", card._tripList.size());
        card.dispose();
        return 1;
    }

    TrimRequest request;
    request.chapters = card._tripList[size_t(tripIndex)]->sortedChapters();
    request.startMs = fromMs;
    request.endMs = toMs;
    request.flags = *flags;
    request.destination = QFileInfo(args[1]).absoluteFilePath();
    request.openSourcePath = card._openSourcePath;
    request.workFolderBase = CommonConst::DIR_PATH_TMP();
    TrimWorker worker(std::move(request));
    QElapsedTimer clock;
    clock.start();
    worker.setLogHandler([](const QString &line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    worker.setProgressHandler([&clock](int step, int total) {
        std::fprintf(stderr, "progress %d/%d (%lld ms)\n", step, total,
                     static_cast<long long>(clock.elapsed()));
    });
    const TrimWorker::Result result = worker.run();
    card.dispose();
    if (result != TrimWorker::Result::Saved) {
        std::fprintf(stderr, "trimclip: Cut was unsuccessful. %s\n", qPrintable(worker.errorText()));
        return 1;
    }
    std::fprintf(stderr, "trimclip: saved %s\n", qPrintable(QFileInfo(args[1]).absoluteFilePath()));
    return 0;
}
