// kmzexport: exports a trip, event or surveillance recording of a card to a KMZ file as the Google Earth
// command does, without windows or questions. Exit 0 only when the file was written.
#include "card/CardData.h"
#include "card/MoveProtectInfo.h"
#include "map/KmzExporter.h"
#include "recording/FileUtil.h"
#include "recording/UserDefaultUtil.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTranslator>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "kmzexport: %s\n", qPrintable(message));
    return 1;
}

// Records of the list panel's event or surveillance tab: those whose chapter is on the card.
std::vector<std::shared_ptr<MoveProtectInfo>> listRecords(CardData &card, bool surveillance)
{
    std::vector<std::shared_ptr<MoveProtectInfo>> records;
    for (const auto &record : card._moveProtectList) {
        const bool isSurveillance = record->_detect == MoveProtectInfo::DetectStatus::SURV;
        if (isSurveillance == surveillance && card.getEventChapter(*record))
            records.push_back(record);
    }
    return records;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription("Exports the route of a trip (card library order), an event or a "
                                     "surveillance recording (list order) of MOVE_PATH to OUT.kmz with the "
                                     "viewer's date, zone and language settings.");
    parser.addHelpOption();
    const QCommandLineOption tripOption("trip", "trip index", "N");
    const QCommandLineOption eventOption("event", "event index", "N");
    const QCommandLineOption survOption("surveillance", "surveillance index", "N");
    parser.addOptions({tripOption, eventOption, survOption});
    parser.addPositionalArgument("MOVE_PATH", "card folder, backup folder or movie file");
    parser.addPositionalArgument("OUT.kmz", "file to write");
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    const int chosen =
        int(parser.isSet(tripOption)) + int(parser.isSet(eventOption)) + int(parser.isSet(survOption));
    if (args.size() != 2 || chosen != 1)
        parser.showHelp(2);
    const QCommandLineOption &option = parser.isSet(tripOption)    ? tripOption
                                       : parser.isSet(eventOption) ? eventOption
                                                                   : survOption;
    bool isNumber = false;
    const qlonglong index = parser.value(option).toLongLong(&isNumber);
    if (!isNumber)
        return fail(QStringLiteral("%1 is not an index").arg(parser.value(option)));

    UserDefaultUtil settings;
    settings.load();
    QTranslator translator;
    if (settings.language != 0 &&
        translator.load(QStringLiteral(":/i18n/googleearth_%1.qm")
                            .arg(QString::fromLatin1(UserDefaultUtil::LANGUAGE_CODES[settings.language]))))
        QCoreApplication::installTranslator(&translator);

    CardData card;
    card.loadCardFolder(FileUtil::fileUrl(QFileInfo(args[0]).absoluteFilePath()));
    const QString destination = QFileInfo(args[1]).absoluteFilePath();
    KmzExporter exporter(settings);
    exporter.setOpenSource(card._openSourcePath);
    bool saved = false;
    if (&option == &tripOption) {
        if (index < 0 || index >= qlonglong(card._tripList.size()))
            return fail(QStringLiteral("no trip %1 (the card has %2)").arg(index).arg(card._tripList.size()));
        saved = exporter.exportTripKml(card._tripList[size_t(index)]->sortedChapters(), destination);
    } else {
        const bool surveillance = &option == &survOption;
        const auto records = listRecords(card, surveillance);
        if (index < 0 || index >= qlonglong(records.size()))
            return fail(QStringLiteral("no %1 %2 (the card has %3)")
                            .arg(option.names().first())
                            .arg(index)
                            .arg(records.size()));
        MoveProtectInfo &record = *records[size_t(index)];
        const EventClip clip =
            surveillance ? card.getSurveillanceChapters(record) : card.getEventChapters(record);
        saved = exporter.exportEventKml(clip.chapters, clip.start, clip.end, record, destination);
    }
    card.dispose();
    if (!saved)
        return fail(exporter.lastError());
    return 0;
}
