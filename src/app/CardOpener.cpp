#include "app/CardOpener.h"

#include "app/CardOpenerHost.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/TripData.h"
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
    _host.keepMapState();
    _host.resetDisplay();
    _host.setLoading(true);
    _host.setAutoPlay(autoPlay);
    _host.setLoadingTextVisible(true);
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
        {
            std::lock_guard lock(receiver->mutex);
            if (!receiver->opener)
                return;
            // The card goes back with the completion, so its last owner lets go of it on the main
            // thread. Posted under the lock: the opener cannot end meanwhile.
            QMetaObject::invokeMethod(
                receiver->opener,
                [self, card, type] {
                    if (self)
                        self->cardLoadFinished(card, type);
                },
                Qt::QueuedConnection);
        }
        card.reset();
    });
}

void CardOpener::cardLoadFinished(const std::shared_ptr<CardData> &card, MovieType type)
{
    if (_loading == card)
        _loading.reset();
    // A later open took the window's place, or the window let go of this card: nothing more happens.
    if (card->_isDispose || card != _host.cardData()) {
        card->dispose();
        emit finished(Outcome::Dropped);
        return;
    }
    const Outcome outcome = complete(*card);
    if (outcome == Outcome::Opened || outcome == Outcome::NothingPlayable)
        _openMovieType = type;
    emit finished(outcome);
}

CardOpener::Outcome CardOpener::complete(CardData &card)
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
    _host.startLoadWorkers(card);
    _host.showCard(card);
    if (!_host.playFirstItem()) {
        _host.warn(tr("Unable to locate the file."));
        _host.disableSave();
        _host.setLoading(false);
        showProblems(card);
        return Outcome::NothingPlayable;
    }
    _host.setLoading(false);
    _host.updateWindowTitle();
    showProblems(card);
    return Outcome::Opened;
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
    QSet<QString> chapters;
    for (const auto *list : {&card._tripList, &card._advTripList})
        for (const auto &trip : *list)
            for (const auto &chapter : trip->chapters())
                chapters << chapter->_pathMp4.toLocalFile() << chapter->_pathMove.toLocalFile();
    std::vector<FileProblemList::Problem> chosen;
    for (FileProblemList::Problem &problem : card._fileProblems.problems())
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
