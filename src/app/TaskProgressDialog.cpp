#include "app/TaskProgressDialog.h"

#include "app/TaskProgressDialogDelegate.h"

#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {
std::int64_t steadyNowMs()
{
    static QElapsedTimer clock = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return clock.elapsed();
}
} // namespace

TaskProgressDialog::TaskProgressDialog(std::function<std::int64_t()> now, QObject *parent)
    : QObject(parent), _now(now ? std::move(now) : steadyNowMs), _view(std::make_unique<QWidget>())
{
    _startMs = _now();
    _view->setFixedSize(400, 130);
    auto *layout = new QVBoxLayout(_view.get());
    _txtComment = new QLabel(_view.get());
    _txtElapsedTime = new QLabel(_view.get());
    _progressBar = new QProgressBar(_view.get());
    _progressBar->setRange(0, 100);
    _progressBar->setTextVisible(false);
    _progressLabel = new QLabel(_view.get());
    _progressLabel->setMinimumWidth(44);
    _progressLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    _btnCancel = new QPushButton(tr("Cancel"), _view.get());
    // In a dialog a button takes Return by itself; a Return meant for another window must not stop the job.
    _btnCancel->setAutoDefault(false);
    auto *bar = new QHBoxLayout;
    bar->addWidget(_progressBar, 1);
    bar->addWidget(_progressLabel);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(_btnCancel);
    layout->addWidget(_txtComment);
    layout->addWidget(_txtElapsedTime);
    layout->addLayout(bar);
    layout->addLayout(buttons);
    connect(_btnCancel, &QPushButton::clicked, this, &TaskProgressDialog::cancelTask);
}

TaskProgressDialog::~TaskProgressDialog() = default;

QWidget *TaskProgressDialog::view() const
{
    return _view.get();
}

void TaskProgressDialog::startProgress()
{
    switch (_taskMode) {
    case TaskMode::Backup:
        _txtComment->setText(tr("Backing up files"));
        break;
    case TaskMode::Cleanup:
        _txtComment->setText(tr("Delete file"));
        break;
    case TaskMode::Trim:
        _txtComment->setText(tr("Trimming video file."));
        break;
    case TaskMode::Export:
        _txtComment->setText(_taskText);
        break;
    }
    delete _timer;
    // A Qt timer fires inside a modal run's event loop too. A coarse one may fire a little early and snaps
    // to whole seconds, which shows a second twice and skips the next; each tick must come a full second
    // after the start it counts from.
    _timer = new QTimer(this);
    _timer->setTimerType(Qt::PreciseTimer);
    _timer->setInterval(1000);
    connect(_timer, &QTimer::timeout, this, &TaskProgressDialog::timeUpdateWithTimer);
    _startMs = _now();
    _timer->start();
    timeUpdateWithTimer();
}

QString TaskProgressDialog::elapsedText(double seconds)
{
    const auto h = static_cast<long long>(seconds / 3600.0);
    const auto m = static_cast<long long>((seconds - h * 3600) / 60.0);
    const auto s = static_cast<long long>(seconds - (h * 3600 + m * 60));
    return QStringLiteral("%1:%2:%3")
        .arg(h, 2, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'));
}

QString TaskProgressDialog::withDots(const QString &comment, int dots)
{
    qsizetype first = 0;
    qsizetype last = comment.size();
    while (first < last && comment.at(first) == QLatin1Char('.'))
        ++first;
    while (last > first && comment.at(last - 1) == QLatin1Char('.'))
        --last;
    return comment.mid(first, last - first) + QString(dots + 1, QLatin1Char('.'));
}

void TaskProgressDialog::timeUpdateWithTimer()
{
    const double elapsed = static_cast<double>(_now() - _startMs) / 1000.0;
    _txtElapsedTime->setText(tr("elapsed time：") + elapsedText(elapsed));
    _txtComment->setText(withDots(_txtComment->text(), _dotCount));
    _dotCount = (_dotCount + 1) % 11;
}

void TaskProgressDialog::stopTimer()
{
    if (_timer)
        _timer->stop();
}

void TaskProgressDialog::cancelTask()
{
    stopTimer();
    _cancelFlg.store(true, std::memory_order_release);
    // Backup and delete workers see the flag themselves; a trim's owner has to stop its job.
    if (_taskMode == TaskMode::Trim && _delegate)
        _delegate->taskProgressDialogOnClose();
}

void TaskProgressDialog::showInformation(const QString &text)
{
    if (informationAlert) {
        informationAlert(text);
    } else {
        QMessageBox box(QMessageBox::Information, tr("Information"), tr("Information"), QMessageBox::Ok);
        box.setInformativeText(text);
        box.exec();
    }
    if (_delegate)
        _delegate->taskProgressDialogOnClose();
}

void TaskProgressDialog::showSaveCompleted()
{
    showInformation(tr("Save completed."));
}

void TaskProgressDialog::showBackupCancelled()
{
    showInformation(tr("Backup cancelled."));
}

void TaskProgressDialog::showDeleteCompleted()
{
    showInformation(tr("Delete completed."));
}

void TaskProgressDialog::showDeleteCancelled()
{
    showInformation(tr("Delete cancelled."));
}
