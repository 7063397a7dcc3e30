// The main window as the Open From dialog sees it.
#pragma once

#include <QUrl>

// Where the recordings come from.
enum class MovieType
{
    Card,
    Backup,
    PC
};

class VideoTypeSelectDialogDelegate
{
public:
    virtual ~VideoTypeSelectDialogDelegate() = default;
    // Starts opening a card's folder, a backup folder or one movie file; returns at once.
    virtual void openVideoData(const QUrl &url, bool autoPlay, MovieType type) = 0;
    virtual bool confirmStopWatchReset() = 0;
};
