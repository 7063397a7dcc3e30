// The main window's side of the Google Earth export: the playing item, the save panel and the alerts,
// each application-modal with the floating child windows lowered around it.
#pragma once

#include "map/GoogleEarthExportHost.h"

#include <functional>
#include <utility>

class CardData;
class MoviePlayerView;
class PlaybackControl;
class QWidget;

class GoogleEarthExportHostImpl : public GoogleEarthExportHost
{
public:
    // The list panel's records of the given play type (its event or surveillance list) and the current
    // row in it.
    using ListRecords = std::function<std::pair<std::vector<std::shared_ptr<MoveProtectInfo>>, qsizetype>(
        CommonConst::PlayType)>;

    GoogleEarthExportHostImpl(PlaybackControl &playback, MoviePlayerView &player,
                              std::function<CardData *()> card, QWidget *window,
                              std::function<void(bool topMost)> setChildWindowsTopMost,
                              ListRecords listRecords);

    bool isReadyToExport() override;
    void pauseMovie() override;
    GoogleEarthExportSource playingItem() override;
    std::optional<QString> chooseSavePath(const QString &startPath, const QString &message) override;
    void showWarning(const QString &message, const QString &informative, const QString &cause = {}) override;
    bool askYesNo(const QString &message, const QString &informative, const QString &no,
                  const QString &yes) override;
    void runInBackground(const QString &title,
                         const std::function<void(const WorkControl &control)> &work) override;

private:
    template <typename Prompt> auto lowered(Prompt prompt);

    PlaybackControl &_playback;
    MoviePlayerView &_player;
    std::function<CardData *()> _card;
    QWidget *_window;
    std::function<void(bool)> _setChildWindowsTopMost;
    ListRecords _listRecords;
};
