#include "app/ToolWindows.h"

#include "app/ModalWindow.h"
#include "app/ModalWindowDelegate.h"
#include "app/TrimProgressPrompts.h"
#include "maintenance/MessagePrompter.h"
#include "videotools/TrimView.h"

#include <cmath>
#include <limits>

namespace {
// The trim window's close button goes through the tool, which reports Back.
class TrimWindowCloser : public ModalWindowDelegate
{
public:
    explicit TrimWindowCloser(TrimView &tool) : _tool(&tool) {}
    void modalWindowClosing() override
    {
        if (_tool)
            _tool->windowClosing();
    }

private:
    QPointer<TrimView> _tool;
};
} // namespace

ToolWindows::ToolWindows(UserDefaultUtil &settings, MessagePrompter &prompter, QWidget *window, Calls calls,
                         QObject *parent)
    : QObject(parent), _settings(settings), _prompter(prompter), _window(window), _calls(std::move(calls))
{
    if (!_calls.runToolWindow) {
        _calls.runToolWindow = [this](ModalWindow &toolWindow, TrimView &tool) {
            toolWindow.runStandard(&tool, {toolWindow.windowTitle(), TRIM_CONTENT_SIZE,
                                           _calls.setChildWindowsTopMost, [w = _window] {
                                               if (w && w->isVisible())
                                                   w->activateWindow();
                                           }});
        };
    }
}

ToolWindows::~ToolWindows() = default;

std::optional<ToolInfo> ToolWindows::makeToolInfo(ToolType type, const PlayerState &state)
{
    // A position must be finite and fit the timeline's integers; anything else is no position.
    const double position = std::floor(state.trackValue);
    if (!std::isfinite(position) || position < 0.0 ||
        position >= static_cast<double>(std::numeric_limits<int64_t>::max()))
        return std::nullopt;
    ToolInfo info = state.info;
    info.type = type;
    info.selectStartSumFrameTS = state.selectStartMs;
    info.selectEndSumFrameTS = static_cast<int64_t>(position);
    return info;
}

void ToolWindows::openToolWindow(int type)
{
    const PlayerState state = _calls.playerState();
    const ToolType toolType = type == SNAPSHOT_BUTTON ? ToolType::Capture : ToolType::Trim;
    std::optional<ToolInfo> info;
    if (state.hasRecording)
        info = makeToolInfo(toolType, state);
    if (!info) {
        showCutFailed();
        return;
    }
    if (type != CUT_BUTTON)
        return; // the capture tool joins with the stopwatch's tool panel
    if (!state.selectFrame) {
        // The first press only starts the range selection.
        _calls.setTrimMode(true);
        return;
    }
    _calls.pauseMovie();
    openTrimTool(std::move(*info));
}

void ToolWindows::openTrimTool(ToolInfo info)
{
    auto tool = std::make_unique<TrimView>(_settings);
    _trimView = tool.get();
    tool->toolinfo = std::move(info);
    tool->delegate = this;
    tool->setPrompts(std::make_unique<TrimProgressPrompts>(_settings, _window));
    tool->setupControls();

    ModalWindow window(&_settings, _window);
    window.setType(ModalWindow::Type::Trim);
    TrimWindowCloser closer(*tool);
    window.setMwDelegate(&closer);
    window.setWindowTitle(tr("Trim Tool"));
    if (_calls.toolWindowTopLeft)
        window.move(_calls.toolWindowTopLeft());
    _toolWindow = &window;
    _calls.runToolWindow(window, *tool);
    _toolWindow = nullptr;
    window.setMwDelegate(nullptr);
    // A job still finishing keeps its thread until the tool goes; the tool waits for it.
    tool.reset();
}

void ToolWindows::queueAbort()
{
    QPointer<ModalWindow> window = _toolWindow;
    QMetaObject::invokeMethod(
        this,
        [window] {
            if (window)
                window->abortModal();
        },
        Qt::QueuedConnection);
}

void ToolWindows::toolWindowClosed(int result)
{
    queueAbort();
    if (result == Cancel || result == Saved)
        _calls.setTrimMode(false);
    if (result == CancelledWhileRunning) {
        QPointer<ToolWindows> self(this);
        QMetaObject::invokeMethod(
            this,
            [self] {
                if (self)
                    self->showTrimCancelled();
            },
            Qt::QueuedConnection);
    }
}

void ToolWindows::closeToolWindow()
{
    queueAbort();
}

void ToolWindows::alert(const QString &text, bool warning)
{
    if (_calls.setChildWindowsTopMost)
        _calls.setChildWindowsTopMost(false);
    if (warning)
        _prompter.warn(_window, text);
    else
        _prompter.inform(_window, text);
    if (_calls.setChildWindowsTopMost)
        _calls.setChildWindowsTopMost(true);
}

void ToolWindows::showCutFailed()
{
    alert(tr("Cut was unsuccessful."), true);
    _calls.setTrimMode(false);
}

void ToolWindows::showTrimCancelled()
{
    alert(tr("The trim tool operation was cancelled."), false);
}

void ToolWindows::enableSaveButton()
{
    if (_calls.setBackupFlg)
        _calls.setBackupFlg(_openSource == OpenSource::Card);
}
