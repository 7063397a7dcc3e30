// Opening a card's folder, a backup folder or one movie file: the display is reset, the folder is read
// on a worker thread after a short pause, and the completion on the main thread checks the result,
// shows the card, marks the map and hands over to playback, each of the last three on a later pass of
// the event loop.
//
// Every open reads into its own card object; a completion whose card is no longer the window's (a later
// open replaced it) is dropped, so two overlapping opens never fill one card.
#pragma once

#include "app/VideoTypeSelectDialogDelegate.h"
#include "card/FileProblemList.h"
#include "card/TripData.h"

#include <QObject>
#include <QThreadPool>
#include <QUrl>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class CardData;
class CardOpenerHost;

class CardOpener : public QObject
{
    Q_OBJECT
public:
    static constexpr int LOAD_PAUSE_MSEC = 400;
    // How long the end of the opener waits for a cancelled read to stop: Quit never hangs on a card.
    static constexpr int SHUTDOWN_WAIT_MSEC = 1000;

    enum class Outcome
    {
        Opened,
        NoRecordings,
        UnreadableFile,
        NothingPlayable,
        Dropped
    };
    Q_ENUM(Outcome)

    explicit CardOpener(CardOpenerHost &host, QObject *parent = nullptr);
    // Shuts down; a read that goes on past the wait is left to end by itself with its own hold on
    // its card.
    ~CardOpener() override;

    // Reads the folder on the worker (tests give a reader of their own).
    std::function<void(CardData &card, const QUrl &url)> loadCard;
    int pauseMsec = LOAD_PAUSE_MSEC;

    void openVideoData(const QUrl &url, bool autoPlay, MovieType type);
    // Retires a card the window lets go of: one still being read is only marked, and its completion
    // releases it once the reading is over.
    void retire(const std::shared_ptr<CardData> &card);

    bool isLoading() const { return _loading != nullptr; }
    // The card is read and its list, map and first item are on their way.
    bool isShowing() const { return _showing != nullptr; }
    // Ends the opener's work: no completion is delivered any more, a read still running is
    // cancelled and waited for at most SHUTDOWN_WAIT_MSEC. True when no read runs any more; a
    // card still being read must then not be disposed by anyone else.
    bool shutDown();
    // The kind of the source that is open (none before the first successful open).
    std::optional<MovieType> openMovieType() const { return _openMovieType; }

    // Why the first trip's first chapter cannot be played (no driving data, another file version).
    static std::optional<QString> firstChapterProblem(CardData &card);
    // The lines of the "left out" alert: one per file, named without its folder, with its reasons joined
    // in the order they were found.
    static QStringList problemLines(const std::vector<FileProblemList::Problem> &problems);
    // The card's problems of the files it still holds as chapters (kept), or of all others.
    static std::vector<FileProblemList::Problem> problemsOf(CardData &card, bool kept);

signals:
    void finished(CardOpener::Outcome outcome);

private:
    void cardLoadFinished(const std::shared_ptr<CardData> &card, MovieType type, const ChapterList &found);
    // On the worker, once the card is read: the movies the first item opens are probed there, and the
    // player finds their answers kept instead of reading them on the main thread.
    static void probeFirstMovies(CardData &card);
    // Also on the worker: the first trip's chapters when all their files are there (none otherwise), so
    // that its hand-over does not look for thousands of files on the main thread.
    static ChapterList findFirstTrip(CardData &card);
    // The failures found before anything is shown: no trip, or a first chapter this viewer cannot read.
    std::optional<Outcome> check(CardData &card);
    // Runs the step on a later pass of the event loop, unless the card was let go of meanwhile.
    void nextStep(const std::shared_ptr<CardData> &card, std::function<void()> step);
    void play(CardData &card, MovieType type, const ChapterList &found);
    // A later open took the window's place, or the window let go of this card.
    bool isStale(CardData &card);
    void drop(CardData &card);
    void releaseShowing();
    void showProblems(CardData &card);

    // Where a read's completion goes: cleared under the lock when the opener ends, so a read that
    // outlives it posts nothing to an object that is gone.
    struct Receiver
    {
        std::mutex mutex;
        CardOpener *opener = nullptr;
    };

    CardOpenerHost &_host;
    std::shared_ptr<Receiver> _receiver;
    // Not a member by value: its destructor would wait for a read without end.
    QThreadPool *_pool;
    std::optional<bool> _idleAfterShutDown;
    std::shared_ptr<CardData> _loading; // the card of the latest open while it is read
    std::shared_ptr<CardData> _showing; // the card read whose list, map and first item are on their way
    std::optional<MovieType> _openMovieType;
};
