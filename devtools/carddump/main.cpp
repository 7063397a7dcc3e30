// carddump: opens a card folder or movie file as the main window does and prints what the card library sees,
// as JSON.
#include "card/AdvMoveProtectInfo.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/VrecMoveManagerInfo.h"
#include "card/WorkerGroup.h"
#include "recording/FileUtil.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTimer>

#include <cstdio>

namespace {
QJsonValue dateValue(const Date &date)
{
    if (date.isDistantPast())
        return QJsonValue::Null;
    return date.toDateTime().toUTC().toString(Qt::ISODateWithMs);
}

QJsonValue chapterName(const std::shared_ptr<ChapterData> &chapter)
{
    return chapter ? QJsonValue(chapter->_pathMp4.fileName()) : QJsonValue::Null;
}

QJsonValue clipValue(const EventClip &clip)
{
    if (!clip.chapters)
        return QJsonValue::Null;
    QJsonArray chapters;
    for (const auto &chapter : *clip.chapters)
        chapters.append(chapter->_pathMp4.fileName());
    return QJsonObject{{"chapters", chapters},
                       {"position", static_cast<qint64>(clip.position)},
                       {"start", static_cast<qint64>(clip.start)},
                       {"end", static_cast<qint64>(clip.end)}};
}

QString detectName(MoveProtectInfo::DetectStatus detect)
{
    switch (detect) {
    case MoveProtectInfo::DetectStatus::G:
        return "G";
    case MoveProtectInfo::DetectStatus::SURV:
        return "SURV";
    case MoveProtectInfo::DetectStatus::SW:
        return "SW";
    case MoveProtectInfo::DetectStatus::NON:
        break;
    }
    return "NON";
}

QJsonArray tripNames(const std::vector<std::shared_ptr<TripData>> &trips)
{
    QJsonArray names;
    for (const auto &trip : trips)
        names.append(trip->_tripName);
    return names;
}

QJsonObject dump(CardData &card)
{
    QJsonArray trips;
    for (const auto &trip : card._tripList) {
        QJsonArray chapters;
        for (const auto &chapter : trip->chapters()) {
            chapters.append(QJsonObject{{"file", chapter->_pathMp4.fileName()},
                                        {"startTime", dateValue(chapter->startTime())},
                                        {"timeStamp", static_cast<qint64>(chapter->timeStamp())},
                                        {"frameTimeSpan", static_cast<qint64>(chapter->frameTimeSpan())},
                                        {"thumbnail", chapter->pathThumbnail().has_value()}});
        }
        trips.append(QJsonObject{{"name", trip->_tripName}, {"chapters", chapters}});
    }
    QJsonArray vrec;
    for (const auto &record : card._vrecList) {
        vrec.append(QJsonObject{{"fileName", record->_fileName},
                                {"datetime", dateValue(record->_datetime)},
                                {"timeStamp", static_cast<qint64>(record->_timeStamp)}});
    }
    QJsonArray events;
    for (const auto &record : card._moveProtectList) {
        const auto clip = record->_detect == MoveProtectInfo::DetectStatus::SURV
                              ? card.getSurveillanceChapters(*record)
                              : card.getEventChapters(*record);
        events.append(QJsonObject{{"detect", detectName(record->_detect)},
                                  {"fileName", record->_fileName},
                                  {"datetime", dateValue(record->_datetime)},
                                  {"timeStamp", static_cast<qint64>(record->_timeStamp)},
                                  {"chapter", chapterName(card.getEventChapter(*record))},
                                  {"clip", clipValue(clip)},
                                  {"thumbnail", record->pathThumbnail().has_value()}});
    }
    QJsonArray adventures;
    for (const auto &record : card._advMoveProtectList) {
        const auto clip = card.getAdventureChapters(*record);
        adventures.append(QJsonObject{{"fileName", record->_fileName},
                                      {"datetime", dateValue(record->_datetime)},
                                      {"timeStamp", static_cast<qint64>(record->_timeStamp)},
                                      {"chapter", chapterName(card.getAdvChapter(*record))},
                                      {"clip", clipValue(clip)}});
    }
    QJsonArray problems;
    for (const auto &problem : card._fileProblems.problems())
        problems.append(QJsonObject{{"file", problem.file}, {"reason", problem.reason}});
    return QJsonObject{
        {"openSourcePath", card._openSourcePath ? card._openSourcePath->toLocalFile() : QString()},
        {"trips", trips},
        {"tabTrips", tripNames(card._tripList_tab)},
        {"advTrips", tripNames(card._advTripList)},
        {"vrec", vrec},
        {"events", events},
        {"adventures", adventures},
        {"problems", problems},
    };
}
void print(CardData &card)
{
    const auto json = QJsonDocument(dump(card)).toJson(QJsonDocument::Indented);
    std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
}
} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(
        "Opens PATH (a card's MOVE folder, a backup folder, a management file or one "
        "movie file) as the viewer does and prints its trips, events and adventures "
        "as JSON.");
    parser.addHelpOption();
    const QCommandLineOption workersOption(
        "workers", "Also run the two background workers until they have nothing left to try, "
                   "so that every chapter shows whether it got its thumbnail.");
    parser.addOption(workersOption);
    parser.addPositionalArgument("PATH", "folder or file to open");
    parser.process(app);
    const QStringList args = parser.positionalArguments();
    if (args.size() != 1)
        parser.showHelp(2);

    CardData card;
    card.loadCardFolder(FileUtil::fileUrl(QFileInfo(args.first()).absoluteFilePath()));
    if (!parser.isSet(workersOption)) {
        print(card);
        card.dispose();
        return 0;
    }

    // The workers report when nothing is left to try; the lists are released on the main thread
    // once both have then ended.
    card.startLoadWorkers();
    QTimer poll;
    bool printed = false;
    QObject::connect(&poll, &QTimer::timeout, [&] {
        if (!printed && card.loadWorkersDone()) {
            print(card);
            printed = true;
            card.dispose();
        }
        if (printed && !card._wkThreadGroup)
            app.quit();
    });
    poll.start(20);
    return app.exec();
}
