#include "app/GoogleEarthExportHostImpl.h"

#include "app/BackgroundTaskRun.h"
#include "app/PlaybackControl.h"
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"
#include "videotools/SavePanel.h"

#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

GoogleEarthExportHostImpl::GoogleEarthExportHostImpl(PlaybackControl &playback, MoviePlayerView &player,
                                                     std::function<CardData *()> card, QWidget *window,
                                                     std::function<void(bool)> setChildWindowsTopMost,
                                                     ListRecords listRecords)
    : _playback(playback), _player(player), _card(std::move(card)), _window(window),
      _setChildWindowsTopMost(std::move(setChildWindowsTopMost)), _listRecords(std::move(listRecords))
{
}

template <typename Prompt> auto GoogleEarthExportHostImpl::lowered(Prompt prompt)
{
    if (_setChildWindowsTopMost)
        _setChildWindowsTopMost(false);
    auto result = prompt();
    if (_setChildWindowsTopMost)
        _setChildWindowsTopMost(true);
    return result;
}

bool GoogleEarthExportHostImpl::isReadyToExport()
{
    return _playback.readyStatus() != CommonConst::PlayStatus::NotReady;
}

void GoogleEarthExportHostImpl::pauseMovie()
{
    _playback.pauseMovie();
}

GoogleEarthExportSource GoogleEarthExportHostImpl::playingItem()
{
    GoogleEarthExportSource source;
    source.card = _card ? _card() : nullptr;
    if (_player.valueInfo()) {
        source.playType = _player.valueInfo()->playType();
        source.chapters = _player.valueInfo()->chapterDataList();
    }
    const bool isEventItem = source.playType == CommonConst::PlayType::Event ||
                             source.playType == CommonConst::PlayType::Surveillance;
    if (isEventItem && _listRecords)
        std::tie(source.records, source.row) = _listRecords(source.playType);
    return source;
}

std::optional<QString> GoogleEarthExportHostImpl::chooseSavePath(const QString &startPath,
                                                                 const QString &message)
{
    // A folder opens with an empty name; a file chosen before (a refused name) keeps its name.
    const QFileInfo start(startPath);
    SavePanel::Request request;
    request.message = message;
    request.folder = start.isDir() ? startPath : start.absolutePath();
    request.fileName = start.isDir() ? QString() : start.fileName();
    request.extension = QStringLiteral("kmz");
    request.filter = QObject::tr("Google Earth files (*.kmz)");
    return lowered([&] { return SavePanel::run(_window, request); });
}

void GoogleEarthExportHostImpl::showWarning(const QString &message, const QString &informative,
                                            const QString &cause)
{
    lowered([&] {
        QMessageBox box(QMessageBox::Critical, message, message, QMessageBox::Ok, _window);
        box.setInformativeText(informative);
        box.setDetailedText(cause);
        return box.exec();
    });
}

bool GoogleEarthExportHostImpl::askYesNo(const QString &message, const QString &informative,
                                         const QString &no, const QString &yes)
{
    return lowered([&] {
        QMessageBox box(QMessageBox::Information, message, message, QMessageBox::NoButton, _window);
        box.setInformativeText(informative);
        box.addButton(no, QMessageBox::RejectRole);
        QPushButton *yesButton = box.addButton(yes, QMessageBox::AcceptRole);
        box.exec();
        return box.clickedButton() == yesButton;
    });
}

void GoogleEarthExportHostImpl::runInBackground(const QString &title,
                                                const std::function<void(const WorkControl &)> &work)
{
    BackgroundTaskRun(_window, _setChildWindowsTopMost).run(title, work);
}
