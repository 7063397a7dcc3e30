// The progress dialog of backup, delete, trim and export jobs: the task text with moving dots, the elapsed
// time counted up each second, a bar and percent label fed by the owner, and Cancel.
#pragma once

#include "app/ModalWindowDelegate.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;
class QWidget;
class TaskProgressDialogDelegate;

enum class TaskMode : std::uint8_t
{
    Backup = 0,
    Cleanup = 1,
    Trim = 2,
    Export = 3 // the owner names the task (setTaskText); its worker sees the flag itself
};

class TaskProgressDialog : public QObject, public ModalWindowDelegate
{
    Q_OBJECT
public:
    // now: milliseconds of a steady clock; tests pass their own.
    explicit TaskProgressDialog(std::function<std::int64_t()> now = {}, QObject *parent = nullptr);
    ~TaskProgressDialog() override;

    // The content view the owner puts in a TaskProgress window.
    QWidget *view() const;
    QLabel *txtComment() const { return _txtComment; }
    QLabel *txtElapsedTime() const { return _txtElapsedTime; }
    QLabel *progressLabel() const { return _progressLabel; }
    QProgressBar *progressBar() const { return _progressBar; }

    TaskMode taskMode() const { return _taskMode; }
    void setTaskMode(TaskMode mode) { _taskMode = mode; }
    void setDelegate(TaskProgressDialogDelegate *delegate) { _delegate = delegate; }
    // The task text of an Export.
    void setTaskText(const QString &text) { _taskText = text; }

    // Read by the owners' workers on their own threads.
    bool cancelFlg() const { return _cancelFlg.load(std::memory_order_acquire); }
    const std::atomic<bool> &cancelFlag() const { return _cancelFlg; }

    // Sets the task text and starts the elapsed-time ticks, the first one at once.
    void startProgress();
    // Cancel button and the window's close button.
    void cancelTask();
    // Stops the elapsed time where it is (the job failed or ended) without cancelling.
    void stopTimer();

    void showSaveCompleted();
    void showBackupCancelled();
    void showDeleteCompleted();
    void showDeleteCancelled();

    void modalWindowClosing() override { cancelTask(); }
    // One tick of the elapsed-time timer (every second while running).
    void timeUpdateWithTimer();

    // "HH:MM:SS" of whole seconds; the hours take as many digits as they need.
    static QString elapsedText(double seconds);
    // The comment with its dots trimmed from both ends and dots + 1 dots added.
    static QString withDots(const QString &comment, int dots);

    // The information alert; tests replace it.
    std::function<void(const QString &text)> informationAlert;

private:
    void showInformation(const QString &text);

    std::function<std::int64_t()> _now;
    std::unique_ptr<QWidget> _view;
    QLabel *_txtComment = nullptr;
    QLabel *_txtElapsedTime = nullptr;
    QLabel *_progressLabel = nullptr;
    QProgressBar *_progressBar = nullptr;
    QPushButton *_btnCancel = nullptr;
    QTimer *_timer = nullptr;
    std::atomic<bool> _cancelFlg{false};
    std::int64_t _startMs = 0;
    int _dotCount = 1;
    TaskMode _taskMode = TaskMode::Backup;
    QString _taskText;
    TaskProgressDialogDelegate *_delegate = nullptr;
};
