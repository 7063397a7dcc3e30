#include "app/GoogleEarthExportHostImpl.h"

#include "app/PlaybackControl.h"
#include "player/MoviePlayerView.h"
#include "player/PlayMovieValueInfo.h"

#include <QFileDialog>
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
    if (_listRecords)
        std::tie(source.records, source.row) = _listRecords();
    return source;
}

std::optional<QString> GoogleEarthExportHostImpl::chooseSavePath(const QString &startPath,
                                                                 const QString &message)
{
    return lowered([&]() -> std::optional<QString> {
        QFileDialog panel(_window, message, startPath, QObject::tr("Google Earth files (*.kmz)"));
        panel.setAcceptMode(QFileDialog::AcceptSave);
        panel.setDefaultSuffix(QStringLiteral("kmz"));
        if (panel.exec() != QDialog::Accepted || panel.selectedFiles().isEmpty())
            return std::nullopt;
        return panel.selectedFiles().constFirst();
    });
}

void GoogleEarthExportHostImpl::showWarning(const QString &message, const QString &informative)
{
    lowered([&] {
        QMessageBox box(QMessageBox::Critical, message, message, QMessageBox::Ok, _window);
        box.setInformativeText(informative);
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
