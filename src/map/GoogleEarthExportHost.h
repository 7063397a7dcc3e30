// What the Google Earth export command needs of the main window: the item being played and its prompts.
#pragma once

#include "card/TripData.h"
#include "platform/WorkControl.h"
#include "recording/CommonConst.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CardData;
class MoveProtectInfo;

// The item being played, as the main window's player and list panel hold it.
struct GoogleEarthExportSource
{
    CommonConst::PlayType playType = CommonConst::PlayType::Movie;
    ChapterList chapters;     // the played trip's or adventure's chapters
    CardData *card = nullptr; // works out an event's clip; not owned
    // The list panel's event list for an event, its surveillance list for a surveillance recording,
    // and the current row in it (-1 for none).
    std::vector<std::shared_ptr<MoveProtectInfo>> records;
    qsizetype row = -1;
};

// Every prompt is application-modal; the host lowers its floating child windows while one runs.
class GoogleEarthExportHost
{
public:
    virtual ~GoogleEarthExportHost() = default;

    // A player whose item is ready to play and whose play status is not NotReady.
    virtual bool isReadyToExport() = 0;
    virtual void pauseMovie() = 0;
    virtual GoogleEarthExportSource playingItem() = 0;
    // The save panel for ".kmz" files, opened at startPath (a folder, or the file chosen before) with
    // the message; none when cancelled.
    virtual std::optional<QString> chooseSavePath(const QString &startPath, const QString &message) = 0;
    // A critical alert; cause, when given, says why a failure happened (the file and the system's error).
    virtual void showWarning(const QString &message, const QString &informative,
                             const QString &cause = {}) = 0;
    // An informational alert with the buttons no (first) and yes; true for yes.
    virtual bool askYesNo(const QString &message, const QString &informative, const QString &no,
                          const QString &yes) = 0;
    // Runs the export's long part where the window keeps answering, on a thread of its own behind a
    // progress window with the title, and returns once the part has ended. The window's Cancel and close
    // button stop the part through its control; its steps move the window's bar.
    virtual void runInBackground(const QString &title,
                                 const std::function<void(const WorkControl &control)> &work) = 0;
};
