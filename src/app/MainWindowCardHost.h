// The main window's side of opening a source: the steps of the open flow on the window's panels, and
// the Open From dialog's calls.
#pragma once

#include "app/CardOpenerHost.h"
#include "app/VideoTypeSelectDialogDelegate.h"

#include <functional>

class MainWindow;

class MainWindowCardHost : public CardOpenerHost, public VideoTypeSelectDialogDelegate
{
public:
    explicit MainWindowCardHost(MainWindow &window);

    // The card reader's problem list, when it keeps one (none: nothing to report): those of the files
    // left out, or of those kept as chapters.
    std::function<QStringList(CardData &, bool kept)> problems;

    // VideoTypeSelectDialogDelegate
    void openVideoData(const QUrl &url, bool autoPlay, MovieType type) override;
    bool confirmStopWatchReset() override;

    // CardOpenerHost
    void keepMapState() override;
    void resetDisplay() override;
    std::shared_ptr<CardData> cardData() override;
    void setLoading(bool loading) override;
    void setAutoPlay(bool autoPlay) override;
    void setLoadingTextVisible(bool visible) override;
    void prepareEngines() override;
    void warn(const QString &text, const QString &cause = {}) override;
    void holdPlayback(bool held) override;
    void startLoadWorkers(CardData &card) override;
    void holdItemChanges(bool held) override;
    void showCard(CardData &card) override;
    void markCard(CardData &card) override;
    bool playFirstItem(const ChapterList &found) override;
    void disableSave() override;
    void clearPlayer() override;
    void closeStopWatch() override;
    void updateWindowTitle() override;
    QStringList loadProblems(CardData &card) override;
    QStringList keptProblems(CardData &card) override;

private:
    MainWindow &_window;
    bool _resumeAfterHold = false;
};
