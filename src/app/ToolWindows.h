// The player's tool buttons and what the tools report: the cut button's two presses (range selection
// first, then the trim tool over the range), the tool window below the pressed button, the results
// that end its run.
#pragma once

#include "app/ModalWindow.h"
#include "videotools/CaptureView.h"
#include "videotools/ToolInfo.h"
#include "videotools/ToolViewDelegate.h"
#include "videotools/TrimView.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <functional>
#include <memory>

class MessagePrompter;
class ModalWindowDelegate;
class QWidget;
class ToolDialogView;
class UserDefaultUtil;

class ToolWindows : public QObject, public ToolViewDelegate
{
    Q_OBJECT
public:
    // Tool-button codes of openToolWindow.
    static constexpr int CUT_BUTTON = 5;
    static constexpr int SNAPSHOT_BUTTON = 6;
    static constexpr QSize TRIM_CONTENT_SIZE{500, 135};
    static constexpr QSize CAPTURE_CONTENT_SIZE{500, 110};

    // What the player shows when a tool button is pressed.
    struct PlayerState
    {
        bool hasRecording = false; // picture data with its recording, and a track bar
        bool selectFrame = false;  // a trim range is being selected
        int64_t selectStartMs = 0;
        double trackValue = 0.0; // the track bar's position, ms (a double: may be anything)
        ToolInfo info;           // chapter, chapter list, recording mode, player time, brightness
    };

    struct Calls
    {
        std::function<PlayerState()> playerState;
        std::function<void(bool on)> setTrimMode;
        std::function<void()> pauseMovie;
        std::function<QPoint(ToolType)> toolWindowTopLeft; // global: below the pressed button
        std::function<void(bool topMost)> setChildWindowsTopMost;
        // Runs the tool window (its type says which tool) modally; the real run unless a test replaces it.
        std::function<void(ModalWindow &window, QWidget &tool)> runToolWindow;
        // Runs the call once the picture a pause keeps is at rest (MoviePlayerView::whenPictureAtRest); at
        // once when not given.
        std::function<void(std::function<void()>)> whenPictureAtRest;
    };

    ToolWindows(UserDefaultUtil &settings, MessagePrompter &prompter, QWidget *window, Calls calls,
                QObject *parent = nullptr);
    ~ToolWindows() override;

    void openToolWindow(int type);
    void toolWindowClosed(int result) override;
    void closeToolWindow() override;

    // The tool panel for a caller that shows it (no button here opens one): its trim's progress is the task
    // progress dialog, as the trim tool's. The caller sets toolinfo, delegate and locatePoint.
    std::unique_ptr<ToolDialogView> makeToolPanel() const;

    // The ToolInfo of a trim or capture, or none when the track value cannot be a position.
    static std::optional<ToolInfo> makeToolInfo(ToolType type, const PlayerState &state);

    // What a tool button pressed now would hand its tool.
    PlayerState playerState() const { return _calls.playerState ? _calls.playerState() : PlayerState{}; }

    TrimView *trimView() const { return _trimView; }
    CaptureView *captureView() const { return _captureView; }

private:
    void showCutFailed();
    void openAtRest(ToolType type, ToolInfo pressed);
    void openTrimTool(ToolInfo info);
    void openCaptureTool(ToolInfo info);
    void runToolWindow(ModalWindow::Type type, const QString &title, QWidget &tool,
                       ModalWindowDelegate *closer);
    void showTrimCancelled();
    void queueAbort();
    void alert(const QString &text, bool warning);

    UserDefaultUtil &_settings;
    MessagePrompter &_prompter;
    QPointer<QWidget> _window;
    Calls _calls;
    QPointer<TrimView> _trimView;
    QPointer<CaptureView> _captureView;
    QPointer<ModalWindow> _toolWindow;
    // A tool waits for the paused picture: a second press meanwhile opens no second tool.
    bool _isToolWaiting = false;
};
