#include "app/ToolWindows.h"

#include "app/ModalWindow.h"
#include "app/ModalWindowDelegate.h"
#include "app/TrimProgressPrompts.h"
#include "maintenance/MessagePrompter.h"
#include "videotools/ToolDialogView.h"
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
        _calls.runToolWindow = [this](ModalWindow &toolWindow, QWidget &tool) {
            const QSize size =
                toolWindow.type() == ModalWindow::Type::Capture ? CAPTURE_CONTENT_SIZE : TRIM_CONTENT_SIZE;
            toolWindow.runStandard(
                &tool, {toolWindow.windowTitle(), size, _calls.setChildWindowsTopMost, [w = _window] {
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
    if (type == CUT_BUTTON && !state.selectFrame) {
        // The first press only starts the range selection.
        _calls.setTrimMode(true);
        return;
    }
    if (type != SNAPSHOT_BUTTON && type != CUT_BUTTON)
        return;
    if (_isToolWaiting)
        return;
    _calls.pauseMovie();
    openAtRest(toolType, std::move(*info));
}

void ToolWindows::openAtRest(ToolType type, ToolInfo pressed)
{
    // The still, and the trim range's end, are the picture the pause rests on, which the position names
    // once it is on screen.
    auto open = [self = QPointer(this), type, info = std::move(pressed)]() mutable {
        if (!self)
            return;
        self->_isToolWaiting = false;
        // Another item may have come meanwhile: it is not the one pressed for.
        const PlayerState paused = self->_calls.playerState();
        if (!paused.hasRecording || paused.info.chapterList != info.chapterList)
            return;
        if (const auto atRest = makeToolInfo(type, paused))
            info = *atRest;
        type == ToolType::Capture ? self->openCaptureTool(std::move(info))
                                  : self->openTrimTool(std::move(info));
    };
    if (!_calls.whenPictureAtRest) {
        open();
        return;
    }
    _isToolWaiting = true;
    _calls.whenPictureAtRest(std::move(open));
}

void ToolWindows::openTrimTool(ToolInfo info)
{
    auto tool = std::make_unique<TrimView>(_settings);
    _trimView = tool.get();
    tool->toolinfo = std::move(info);
    tool->delegate = this;
    tool->setPrompts(std::make_unique<TrimProgressPrompts>(_settings, _window));
    tool->setupControls();
    TrimWindowCloser closer(*tool);
    runToolWindow(ModalWindow::Type::Trim, tr("Trim Tool"), *tool, &closer);
    // A job still finishing keeps its thread until the tool goes; the tool waits for it.
    tool.reset();
}

std::unique_ptr<ToolDialogView> ToolWindows::makeToolPanel() const
{
    auto panel = std::make_unique<ToolDialogView>(_settings);
    panel->setPrompts(std::make_unique<TrimProgressPrompts>(_settings, _window));
    return panel;
}

void ToolWindows::openCaptureTool(ToolInfo info)
{
    auto tool = std::make_unique<CaptureView>(_settings);
    _captureView = tool.get();
    tool->toolinfo = std::move(info);
    tool->delegate = this;
    tool->setPrompts(std::make_unique<TrimProgressPrompts>(_settings, _window));
    tool->setupControls();
    // Its close button ends the run directly; a still being written is finished on its thread
    // without a report.
    runToolWindow(ModalWindow::Type::Capture, tr("Capture Image"), *tool, nullptr);
}

void ToolWindows::runToolWindow(ModalWindow::Type type, const QString &title, QWidget &tool,
                                ModalWindowDelegate *closer)
{
    ModalWindow window(&_settings, _window);
    window.setType(type);
    window.setMwDelegate(closer);
    window.setWindowTitle(title);
    if (_calls.toolWindowTopLeft)
        window.move(_calls.toolWindowTopLeft(type == ModalWindow::Type::Capture ? ToolType::Capture
                                                                                : ToolType::Trim));
    _toolWindow = &window;
    _calls.runToolWindow(window, tool);
    _toolWindow = nullptr;
    window.setMwDelegate(nullptr);
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
