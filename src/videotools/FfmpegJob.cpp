#include "videotools/FfmpegJob.h"

#include "platform/ChildProcess.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStandardPaths>
#include <QTimer>
#include <algorithm>

namespace {
// A line of ffmpeg's log longer than this is cut: the tail is for an error message, not a record.
constexpr int MAX_LOG_LINE = 500;
// How long one wait in run() lasts before the cancel flag is looked at again.
constexpr int POLL_MS = 100;
} // namespace

FfmpegJob::FfmpegJob(QStringList arguments, QString label, QObject *parent)
    : QObject(parent), _arguments(std::move(arguments)), _label(std::move(label)), _program(findProgram())
{
    _process.setProcessChannelMode(QProcess::SeparateChannels);
    _process.setInputChannelMode(QProcess::ManagedInputChannel);
    ChildProcess::endWithParent(_process);
    connect(&_process, &QProcess::readyReadStandardOutput, this, &FfmpegJob::readProgress);
    connect(&_process, &QProcess::readyReadStandardError, this, &FfmpegJob::readLog);
    connect(&_process, &QProcess::finished, this, &FfmpegJob::onFinished);
    connect(&_process, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart && _outcome == Outcome::NotFinished) {
            _startError = tr("ffmpeg could not be started: %1").arg(_process.errorString());
            finishWith(Outcome::FailedToStart);
        }
    });
}

FfmpegJob::~FfmpegJob()
{
    // A job dropped while ffmpeg runs must not leave it writing behind us.
    if (_process.state() != QProcess::NotRunning) {
        _process.kill();
        _process.waitForFinished(_cancelGraceMs);
    }
}

QString FfmpegJob::findProgram()
{
    return QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
}

QStringList FfmpegJob::processArguments() const
{
    return QStringList{QStringLiteral("-hide_banner"), QStringLiteral("-nostdin"), QStringLiteral("-nostats"),
                       QStringLiteral("-progress"), QStringLiteral("pipe:1")} +
           _arguments;
}

QString FfmpegJob::commandLine() const
{
    return (QStringList{QStringLiteral("ffmpeg")} + _arguments).join(QLatin1Char(' '));
}

bool FfmpegJob::launch()
{
    if (_program.isEmpty()) {
        _startError = tr("The ffmpeg program was not found on the PATH.");
        return false;
    }
    if (_arguments.isEmpty()) {
        _startError = tr("No ffmpeg arguments.");
        return false;
    }
    _process.start(_program, processArguments());
    // ffmpeg never reads its input (-nostdin); a closed pipe keeps it from waiting on one.
    _process.closeWriteChannel();
    return true;
}

void FfmpegJob::start()
{
    if (!launch()) {
        QTimer::singleShot(0, this, [this] { finishWith(Outcome::FailedToStart); });
    }
}

FfmpegJob::Outcome FfmpegJob::run(const std::atomic<bool> *cancelRequested)
{
    if (!launch()) {
        finishWith(Outcome::FailedToStart);
        return _outcome;
    }
    if (!_process.waitForStarted(-1)) {
        if (_outcome == Outcome::NotFinished)
            finishWith(Outcome::FailedToStart);
        return _outcome;
    }
    QElapsedTimer sinceTerminate;
    bool killed = false;
    while (_outcome == Outcome::NotFinished) {
        // Blocks until output, the end or the timeout: the flag is looked at ten times a second
        // without spinning. The signals of the process are delivered inside the wait.
        _process.waitForFinished(POLL_MS);
        if (_outcome != Outcome::NotFinished)
            break;
        if (cancelRequested && cancelRequested->load() && !_isCancelRequested) {
            _isCancelRequested = true;
            _process.terminate();
            sinceTerminate.start();
        }
        if (_isCancelRequested && !killed && sinceTerminate.elapsed() >= _cancelGraceMs) {
            _process.kill();
            killed = true;
        }
        if (_process.state() == QProcess::NotRunning && _outcome == Outcome::NotFinished)
            finishWith(_isCancelRequested ? Outcome::Cancelled : Outcome::Crashed);
    }
    return _outcome;
}

void FfmpegJob::cancel()
{
    if (_outcome != Outcome::NotFinished || _process.state() == QProcess::NotRunning)
        return;
    _isCancelRequested = true;
    _process.terminate();
    QTimer::singleShot(_cancelGraceMs, this, [this] {
        if (_process.state() != QProcess::NotRunning)
            _process.kill();
    });
}

std::optional<int> FfmpegJob::progressOfLine(const QByteArray &line, int64_t expectedMs)
{
    const QByteArray trimmed = line.trimmed();
    if (trimmed == "progress=end")
        return 100;
    // out_time_us and (despite its name) out_time_ms both count microseconds.
    for (const char *key : {"out_time_us=", "out_time_ms="}) {
        if (!trimmed.startsWith(key) || expectedMs <= 0)
            continue;
        bool ok = false;
        const qint64 us = trimmed.mid(qsizetype(qstrlen(key))).toLongLong(&ok);
        if (!ok || us < 0)
            return std::nullopt;
        return int(std::clamp<qint64>(us / 10 / expectedMs, 0, 100));
    }
    return std::nullopt;
}

void FfmpegJob::readProgress()
{
    _progressBuffer += _process.readAllStandardOutput();
    qsizetype end = 0;
    while ((end = _progressBuffer.indexOf('\n')) >= 0) {
        const QByteArray line = _progressBuffer.left(end);
        _progressBuffer.remove(0, end + 1);
        const auto percent = progressOfLine(line, _expectedDurationMs);
        if (percent && *percent != _percent) {
            _percent = *percent;
            emit progressChanged(_percent);
        }
    }
    // A stream without line feeds must not grow without bound.
    if (_progressBuffer.size() > 4096)
        _progressBuffer.clear();
}

void FfmpegJob::readLog()
{
    _logBuffer += _process.readAllStandardError();
    qsizetype end = 0;
    while ((end = _logBuffer.indexOf('\n')) >= 0) {
        appendLogLine(_logBuffer.left(end));
        _logBuffer.remove(0, end + 1);
    }
    if (_logBuffer.size() > MAX_LOG_LINE) {
        appendLogLine(_logBuffer);
        _logBuffer.clear();
    }
}

void FfmpegJob::appendLogLine(const QByteArray &line)
{
    const QString text = QString::fromUtf8(line.left(MAX_LOG_LINE)).trimmed();
    if (text.isEmpty())
        return;
    _logTail.push_back(text);
    while (_logTail.size() > size_t(LOG_TAIL_LINES))
        _logTail.pop_front();
}

QString FfmpegJob::logTail() const
{
    QStringList lines(_logTail.begin(), _logTail.end());
    return lines.join(QLatin1Char('\n'));
}

QString FfmpegJob::outcomeText() const
{
    switch (_outcome) {
    case Outcome::NotFinished:
    case Outcome::Succeeded:
        return {};
    case Outcome::Cancelled:
        return tr("ffmpeg was cancelled.");
    case Outcome::FailedToStart:
        return _startError.isEmpty() ? tr("ffmpeg could not be started.") : _startError;
    case Outcome::Failed:
        return tr("ffmpeg ended with exit code %1.").arg(_exitCode);
    case Outcome::Crashed:
        return tr("ffmpeg crashed.");
    }
    return {};
}

QString FfmpegJob::errorText() const
{
    const QString text = outcomeText();
    const QString tail = logTail();
    return text.isEmpty() || tail.isEmpty() ? text : text + QLatin1Char('\n') + tail;
}

QString FfmpegJob::shortErrorText() const
{
    // ffmpeg's last line names what stopped it; without one, how it ended.
    const QString text = outcomeText();
    return text.isEmpty() || _logTail.empty() ? text : _logTail.back();
}

void FfmpegJob::onFinished(int exitCode, QProcess::ExitStatus status)
{
    if (_outcome != Outcome::NotFinished)
        return;
    readLog();
    if (!_logBuffer.isEmpty()) {
        appendLogLine(_logBuffer);
        _logBuffer.clear();
    }
    _exitCode = exitCode;
    if (_isCancelRequested)
        finishWith(Outcome::Cancelled);
    else if (status == QProcess::CrashExit)
        finishWith(Outcome::Crashed);
    else
        finishWith(exitCode == 0 ? Outcome::Succeeded : Outcome::Failed);
}

void FfmpegJob::finishWith(Outcome outcome)
{
    if (_outcome != Outcome::NotFinished)
        return;
    _outcome = outcome;
    if (outcome == Outcome::Succeeded && _percent != 100) {
        _percent = 100;
        emit progressChanged(_percent);
    }
    emit finished(outcome);
}
