// One run of the ffmpeg program: its arguments, progress, cancel, outcome and the tail of its log.
#pragma once

#include <QObject>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <deque>
#include <optional>

// The job owns its QProcess and lives on the thread that made it. Two ways to run: start() returns at
// once and finished() reports the end (tool panels), run() waits on the calling thread (the trim
// worker's own thread) and watches a cancel flag another thread may set. ffmpeg runs with an argument
// list, never a shell, with stdin closed and its progress sent as key=value lines to stdout.
class FfmpegJob : public QObject
{
    Q_OBJECT

public:
    enum class Outcome
    {
        NotFinished,
        Succeeded,
        Cancelled,
        FailedToStart, // no ffmpeg on the PATH, or it could not be executed
        Failed,        // exit code not 0
        Crashed,
    };
    Q_ENUM(Outcome)

    static constexpr int LOG_TAIL_LINES = 20;
    static constexpr int CANCEL_GRACE_MS = 3000; // between terminate and kill

    // arguments: what follows the program name, as the argument builders give them.
    explicit FfmpegJob(QStringList arguments, QString label = {}, QObject *parent = nullptr);
    ~FfmpegJob() override;

    // "ffmpeg" looked up on the PATH; empty when there is none.
    static QString findProgram();
    // Another program to run instead (tests).
    void setProgram(const QString &program) { _program = program; }
    // The length of the output in ms, so progress can be given as a percentage; unknown without it.
    void setExpectedDurationMs(int64_t ms) { _expectedDurationMs = ms; }
    void setCancelGraceMs(int ms) { _cancelGraceMs = ms; }
    // The folder relative paths in the arguments start from.
    void setWorkingDirectory(const QString &folder) { _process.setWorkingDirectory(folder); }

    const QString &label() const { return _label; }
    // The arguments ffmpeg is given: our progress options, then the job's own.
    QStringList processArguments() const;
    // The command as one printable line ("ffmpeg -y -i ...").
    QString commandLine() const;

    void start();
    Outcome run(const std::atomic<bool> *cancelRequested = nullptr);
    // Terminates a started run, then kills it when it has not ended after the grace period.
    void cancel();

    Outcome outcome() const { return _outcome; }
    int exitCode() const { return _exitCode; }
    // 0...100, or -1 while unknown.
    int progressPercent() const { return _percent; }
    // The last lines ffmpeg wrote to its standard error.
    QString logTail() const;
    // One text for an error message: what went wrong and the log tail; empty after success.
    QString errorText() const;
    // ffmpeg's last log line, or how it ended when it wrote none; empty after success.
    QString shortErrorText() const;

    // Percent of expectedMs that one "-progress" line reports, when it reports a time or the end.
    static std::optional<int> progressOfLine(const QByteArray &line, int64_t expectedMs);

signals:
    void progressChanged(int percent);
    void finished(FfmpegJob::Outcome outcome);

private:
    bool launch();
    void readProgress();
    void readLog();
    void appendLogLine(const QByteArray &line);
    void onFinished(int exitCode, QProcess::ExitStatus status);
    void finishWith(Outcome outcome);
    QString outcomeText() const;

    QStringList _arguments;
    QString _label;
    QString _program;
    int64_t _expectedDurationMs = 0;
    int _cancelGraceMs = CANCEL_GRACE_MS;
    QProcess _process;
    QByteArray _progressBuffer;
    QByteArray _logBuffer;
    std::deque<QString> _logTail;
    QString _startError;
    bool _isCancelRequested = false;
    Outcome _outcome = Outcome::NotFinished;
    int _exitCode = -1;
    int _percent = -1;
};
