#include "app/CardOpener.h"

#include "app/CardOpenerHost.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/TripData.h"
#include "platform/MovieProbe.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"

#include <QFileInfo>
#include <QPointer>
#include <QSet>
#include <QThread>
#include <map>

namespace {
const char *const READABLE_VERSION = "0714";
}

CardOpener::CardOpener(CardOpenerHost &host, QObject *parent)
    : QObject(parent), _host(host), _receiver(std::make_shared<Receiver>()), _pool(new QThreadPool)
{
    _receiver->opener = this;
    loadCard = [](CardData &card, const QUrl &url) { card.loadCardFolder(url); };
}

CardOpener::~CardOpener()
{
    // A read that does not stop in time keeps the pool: the program is ending, and waiting for it
    // would freeze the window.
    if (shutDown())
        delete _pool;
}

bool CardOpener::shutDown()
{
    if (_idleAfterShutDown)
        return *_idleAfterShutDown;
    {
        std::lock_guard lock(_receiver->mutex);
        _receiver->opener = nullptr;
    }
    if (_loading) {
        _loading->_isDispose = true;
        _loading->_isLoadCancelled = true;
    }
    _showing.reset();
    _idleAfterShutDown = _pool->waitForDone(SHUTDOWN_WAIT_MSEC);
    return *_idleAfterShutDown;
}

void CardOpener::retire(const std::shared_ptr<CardData> &card)
{
    if (!card)
        return;
    if (card == _loading) {
        // Its reading stops early: nobody will look at what it finds.
        card->_isDispose = true;
        card->_isLoadCancelled = true;
    } else
        card->dispose();
}

void CardOpener::openVideoData(const QUrl &url, bool autoPlay, MovieType type)
{
    // Steps of an earlier open still to come find their card gone.
    releaseShowing();
    _host.keepMapState();
    _host.resetDisplay();
    _host.setLoading(true);
    _host.setAutoPlay(autoPlay);
    _host.setLoadingTextVisible(true);
    _host.prepareEngines();
    std::shared_ptr<CardData> card = _host.cardData();
    _loading = card;
    _openMovieType.reset();
    QPointer<CardOpener> self(this);
    const int pause = pauseMsec;
    std::function<void(CardData &, const QUrl &)> load = loadCard;
    _pool->start([self, receiver = _receiver, card, url, pause, load, type]() mutable {
        QThread::msleep(static_cast<unsigned long>(pause));
        if (!card->_isDispose)
            load(*card, url);
        ChapterList found;
        if (!card->_isDispose) {
            probeFirstMovies(*card);
            found = findFirstTrip(*card);
        }
        {
            std::lock_guard lock(receiver->mutex);
            if (!receiver->opener)
                return;
            // The card goes back with the completion, so its last owner lets go of it on the main
            // thread. Posted under the lock: the opener cannot end meanwhile.
            QMetaObject::invokeMethod(
                receiver->opener,
                [self, card, type, found = std::move(found)] {
                    if (self)
                        self->cardLoadFinished(card, type, found);
                },
                Qt::QueuedConnection);
        }
        card.reset();
    });
}

void CardOpener::cardLoadFinished(const std::shared_ptr<CardData> &card, MovieType type,
                                  const ChapterList &found)
{
    if (_loading == card)
        _loading.reset();
    if (isStale(*card)) {
        drop(*card);
        return;
    }
    if (const std::optional<Outcome> failed = check(*card)) {
        emit finished(*failed);
        return;
    }
    _host.startLoadWorkers(*card);
    // The list, the map's markers, then the first item, each on a pass of the event loop of its own: on
    // a long trip each takes the main thread a while, and a slow machine's workers and web engine
    // stretch every one. Meanwhile a click on the list or the map starts nothing, as the open's own item
    // is on its way.
    _showing = card;
    _host.holdItemChanges(true);
    nextStep(card, [this, card, type, found] {
        _host.showCard(*card);
        nextStep(card, [this, card, type, found] {
            _host.markCard(*card);
            nextStep(card, [this, card, type, found] { play(*card, type, found); });
        });
    });
}

void CardOpener::nextStep(const std::shared_ptr<CardData> &card, std::function<void()> step)
{
    QMetaObject::invokeMethod(
        this,
        [this, card, step = std::move(step)] {
            if (_idleAfterShutDown)
                return;
            // A later open or the window's reset let go of the card meanwhile.
            if (_showing != card || isStale(*card)) {
                if (_showing == card)
                    releaseShowing();
                drop(*card);
                return;
            }
            step();
        },
        Qt::QueuedConnection);
}

bool CardOpener::isStale(CardData &card)
{
    return card._isDispose || &card != _host.cardData().get();
}

void CardOpener::drop(CardData &card)
{
    card.dispose();
    emit finished(Outcome::Dropped);
}

void CardOpener::releaseShowing()
{
    if (_showing) {
        _showing.reset();
        _host.holdItemChanges(false);
    }
}

std::optional<CardOpener::Outcome> CardOpener::check(CardData &card)
{
    _host.setLoadingTextVisible(false);
    if (card._tripList.empty()) {
        const QString source = card._openSourcePath ? card._openSourcePath->toLocalFile() : QString();
        _host.warn(tr("Unable to locate the file."), tr("No recordings were found in %1.").arg(source));
        _host.disableSave();
        _host.setLoading(false);
        _host.closeStopWatch();
        _host.updateWindowTitle();
        return Outcome::NoRecordings;
    }
    // The first trip in start-time order; only a trip with chapters has a file to check.
    TripData &first = *card._tripList.front();
    if (const auto unreadable = first.sortedChapters().empty() ? std::nullopt : firstChapterProblem(card)) {
        _host.clearPlayer();
        _host.warn(tr("Unable to read the selected file."), *unreadable);
        _host.setLoading(false);
        _host.closeStopWatch();
        _host.updateWindowTitle();
        return Outcome::UnreadableFile;
    }
    return std::nullopt;
}

void CardOpener::play(CardData &card, MovieType type, const ChapterList &found)
{
    releaseShowing();
    if (!_host.playFirstItem(found)) {
        _host.warn(tr("Unable to locate the file."));
        _host.disableSave();
        _host.setLoading(false);
        showProblems(card);
        _openMovieType = type;
        emit finished(Outcome::NothingPlayable);
        return;
    }
    _host.setLoading(false);
    _host.updateWindowTitle();
    showProblems(card);
    _openMovieType = type;
    emit finished(Outcome::Opened);
}

QStringList CardOpener::problemLines(const std::vector<FileProblemList::Problem> &problems)
{
    // Each reader that fails on a damaged file reports it; the user needs the file once.
    QStringList files;
    std::map<QString, QStringList> reasons;
    for (const FileProblemList::Problem &problem : problems) {
        QStringList &known = reasons[problem.file];
        if (known.isEmpty())
            files << problem.file;
        if (!known.contains(problem.reason))
            known << problem.reason;
    }
    QStringList lines;
    for (const QString &file : files)
        lines << QStringLiteral("%1: %2").arg(QFileInfo(file).fileName(),
                                              reasons[file].join(QStringLiteral("; ")));
    return lines;
}

std::vector<FileProblemList::Problem> CardOpener::problemsOf(CardData &card, bool kept)
{
    std::vector<FileProblemList::Problem> problems = card._fileProblems.problems();
    // Most cards have none: a long trip's chapters are not walked for nothing.
    if (problems.empty())
        return {};
    QSet<QString> chapters;
    for (const auto *list : {&card._tripList, &card._advTripList})
        for (const auto &trip : *list)
            for (const auto &chapter : trip->chapters())
                chapters << chapter->_pathMp4.toLocalFile() << chapter->_pathMove.toLocalFile();
    std::vector<FileProblemList::Problem> chosen;
    for (FileProblemList::Problem &problem : problems)
        if (chapters.contains(problem.file) == kept)
            chosen.push_back(std::move(problem));
    return chosen;
}

void CardOpener::showProblems(CardData &card)
{
    // One message per open, after the card is shown, naming every file the reader could not read: apart,
    // those it left out and those still listed as chapters.
    const QStringList leftOut = _host.loadProblems(card);
    const QStringList kept = _host.keptProblems(card);
    QStringList parts;
    if (!leftOut.isEmpty())
        parts << tr("These files could not be read and were left out:") + QLatin1Char('\n') +
                     leftOut.join(QLatin1Char('\n'));
    if (!kept.isEmpty())
        parts << tr("These files could not be read; their chapters stay listed but may not play:") +
                     QLatin1Char('\n') + kept.join(QLatin1Char('\n'));
    if (parts.isEmpty())
        return;
    // The first item waits: playing on under the alert it would run into a file named here, and that
    // file's own alert would stack on this one.
    _host.holdPlayback(true);
    _host.warn(parts.join(QStringLiteral("\n\n")));
    _host.holdPlayback(false);
}

void CardOpener::probeFirstMovies(CardData &card)
{
    // The first item is the list's first trip; its second chapter goes to the player's second engine.
    const auto &trips = card._tripList_tab;
    if (trips.empty())
        return;
    for (size_t index : {0, 1})
        if (const std::shared_ptr<ChapterData> chapter = trips.front()->sortedChapter(index))
            MovieProbe::probeKept(chapter->_pathMp4.toLocalFile());
}

ChapterList CardOpener::findFirstTrip(CardData &card)
{
    const auto &trips = card._tripList_tab;
    if (trips.empty())
        return {};
    ChapterList chapters = trips.front()->sortedChapters();
    return TripData::moviesExist(chapters) ? chapters : ChapterList();
}

std::optional<QString> CardOpener::firstChapterProblem(CardData &card)
{
    if (card._tripList.empty())
        return tr("There is no recording.");
    // Reads the movie's driving data here, on the main thread, as the check needs it now.
    const std::shared_ptr<ChapterData> first = card._tripList.front()->firstChapter();
    if (!first)
        return tr("There is no recording.");
    const QString file = first->_pathMp4.toLocalFile();
    const std::shared_ptr<PictureData> picture = first->getPicture(true);
    if (!picture || !picture->video)
        return tr("No driving data was found in %1.").arg(file);
    const QString version = picture->video->_fileVersion;
    if (version != QLatin1String(READABLE_VERSION))
        return tr("%1 has the file version \"%2\", which this viewer cannot read.").arg(file, version);
    return std::nullopt;
}
