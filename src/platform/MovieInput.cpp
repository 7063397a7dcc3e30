#include "platform/MovieInput.h"

#include "platform/BoundedFileReader.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QSet>

#include <algorithm>
#include <cstdio>
#include <mutex>
#include <string>

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

namespace {

Q_LOGGING_CATEGORY(lcFfmpeg, "orv.platform.ffmpeg", QtInfoMsg)

// The input whose work runs on this thread: FFmpeg's log lines carry no file of their own.
thread_local MovieInput *currentInput = nullptr;

constexpr int IO_BUFFER_BYTES = 64 * 1024;
// Lines remembered for the once-per-file rule; forgetting them all now and then only repeats a line.
constexpr qsizetype MAX_REMEMBERED_LINES = 4096;
// Camera movies and the trimmed clips are MP4 files: never let content pick another demuxer
// (a playlist in a .MP4 would otherwise be opened as HLS and open what it names).
constexpr const char *MOVIE_FORMATS = "mov,mp4,m4a,3gp,3g2,mj2";

QString tr(const char *text)
{
    return QCoreApplication::translate("MovieInput", text);
}

} // namespace

MovieInput::MovieInput(const QString &path, const std::atomic<bool> *cancel,
                       std::chrono::milliseconds timeLimit)
    : _path(path), _cancel(cancel), _deadline(std::chrono::steady_clock::now() + timeLimit),
      _file(std::make_unique<BoundedFileReader>(path)), _previous(currentInput)
{
    routeLog();
    currentInput = this;
    if (!_file->isOpen()) {
        _readError = _file->error();
        return;
    }
    auto *buffer = static_cast<unsigned char *>(av_malloc(IO_BUFFER_BYTES));
    if (!buffer)
        return;
    _io = avio_alloc_context(buffer, IO_BUFFER_BYTES, 0, this, &MovieInput::readPacket, nullptr,
                             &MovieInput::seek);
    if (!_io) {
        av_free(buffer);
        return;
    }
    AVFormatContext *format = avformat_alloc_context();
    if (!format)
        return;
    format->pb = _io;
    format->flags |= AVFMT_FLAG_CUSTOM_IO;
    format->interrupt_callback = AVIOInterruptCB{&MovieInput::interrupt, this};
    AVDictionary *options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    av_dict_set(&options, "format_whitelist", MOVIE_FORMATS, 0);
    const AVInputFormat *mov = av_find_input_format("mov");
    // On failure the context is freed and the pointer cleared; our I/O context stays ours.
    if (avformat_open_input(&format, _path.toUtf8().constData(), mov, &options) == 0)
        _format = format;
    av_dict_free(&options);
}

MovieInput::~MovieInput()
{
    if (_format)
        avformat_close_input(&_format);
    if (_io) {
        av_freep(&_io->buffer);
        avio_context_free(&_io);
    }
    currentInput = _previous;
}

bool MovieInput::isInterrupted() const
{
    return (_cancel && _cancel->load()) || std::chrono::steady_clock::now() > _deadline;
}

QString MovieInput::error() const
{
    if (!_readError.isEmpty())
        return _readError;
    if (_cancel && _cancel->load())
        return tr("reading was stopped");
    if (std::chrono::steady_clock::now() > _deadline)
        return tr("reading took too long and was stopped");
    return _logError;
}

int MovieInput::readPacket(void *opaque, uint8_t *buffer, int size)
{
    auto *self = static_cast<MovieInput *>(opaque);
    if (self->isInterrupted())
        return AVERROR_EXIT;
    if (self->_position >= self->_file->size())
        return AVERROR_EOF;
    const size_t count =
        size_t(std::min<uint64_t>(uint64_t(std::max(size, 0)), self->_file->size() - self->_position));
    if (!self->_file->readInto(self->_position, std::span(buffer, count))) {
        self->_readError = self->_file->error();
        return AVERROR(EIO);
    }
    self->_position += count;
    return int(count);
}

int64_t MovieInput::seek(void *opaque, int64_t offset, int whence)
{
    auto *self = static_cast<MovieInput *>(opaque);
    const auto size = int64_t(self->_file->size());
    if (whence & AVSEEK_SIZE)
        return size;
    int64_t target = offset;
    switch (whence & ~AVSEEK_FORCE) {
    case SEEK_SET:
        break;
    case SEEK_CUR:
        target += int64_t(self->_position);
        break;
    case SEEK_END:
        target += size;
        break;
    default:
        return AVERROR(EINVAL);
    }
    if (target < 0)
        return AVERROR(EINVAL);
    self->_position = uint64_t(target);
    return target;
}

int MovieInput::interrupt(void *opaque)
{
    return static_cast<const MovieInput *>(opaque)->isInterrupted() ? 1 : 0;
}

void MovieInput::routeLog()
{
    static std::once_flag once;
    std::call_once(once, [] { av_log_set_callback(&MovieInput::logLine); });
}

void MovieInput::logLine(void *context, int level, const char *format, va_list args)
{
    if (level > AV_LOG_WARNING || level > av_log_get_level())
        return;
    // FFmpeg may hand a line over in pieces; it is printed once whole.
    thread_local std::string pending;
    char piece[1024];
    int withPrefix = 0; // its own prefix names an object at an address, different on every retry
    av_log_format_line2(context, level, format, args, piece, sizeof piece, &withPrefix);
    pending += piece;
    if (pending.empty() || pending.back() != '\n') {
        if (pending.size() > sizeof piece * 4)
            pending.clear();
        return;
    }
    const QString text = QString::fromUtf8(pending).trimmed();
    pending.clear();
    if (text.isEmpty())
        return;
    MovieInput *input = currentInput;
    const QString file = input ? input->_path : QStringLiteral("ffmpeg");
    if (input && level <= AV_LOG_ERROR && input->_logError.isEmpty())
        input->_logError = text;

    // The user learns of a broken movie from the program's own lists and alerts; the terminal only
    // when asked (QT_LOGGING_RULES="orv.platform.ffmpeg.debug=true").
    if (!lcFfmpeg().isDebugEnabled())
        return;
    static std::mutex mutex;
    static QSet<QString> printed;
    {
        std::lock_guard lock(mutex);
        if (printed.size() >= MAX_REMEMBERED_LINES)
            printed.clear();
        const QString key = file + QLatin1Char('\n') + text;
        if (printed.contains(key))
            return;
        printed.insert(key);
    }
    qCDebug(lcFfmpeg).noquote() << file + QStringLiteral(": ") + text;
}
