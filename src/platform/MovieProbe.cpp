#include "platform/MovieProbe.h"

#include <QFile>
#include <algorithm>
#include <deque>
#include <mutex>
#include <tuple>

#include <sys/stat.h>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

std::optional<MovieProbe::Info> MovieProbe::probe(const QString &path)
{
    AVFormatContext *context = nullptr;
    const QByteArray encoded = QFile::encodeName(path);
    if (avformat_open_input(&context, encoded.constData(), nullptr, nullptr) != 0)
        return std::nullopt;
    Info info;
    if (avformat_find_stream_info(context, nullptr) >= 0) {
        if (context->duration > 0)
            info.durationMs = context->duration / (AV_TIME_BASE / 1000);
        const int video = av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (video >= 0) {
            info.hasVideo = true;
            const AVStream *stream = context->streams[video];
            info.width = stream->codecpar->width;
            info.height = stream->codecpar->height;
            info.videoFrames = std::max<int64_t>(stream->nb_frames, 0);
            if (stream->avg_frame_rate.num > 0 && stream->avg_frame_rate.den > 0)
                info.frameRate = av_q2d(stream->avg_frame_rate);
            if (stream->duration > 0) {
                const int64_t start = stream->start_time == AV_NOPTS_VALUE ? 0 : stream->start_time;
                info.pictureEndMs =
                    av_rescale_q_rnd(start + stream->duration, stream->time_base, {1, 1000}, AV_ROUND_DOWN);
            }
        }
        const int sound = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        if (sound >= 0)
            info.soundCodec =
                QString::fromLatin1(avcodec_get_name(context->streams[sound]->codecpar->codec_id));
    }
    avformat_close_input(&context);
    return info;
}

namespace {
struct Kept
{
    QString path;
    std::tuple<dev_t, ino_t, off_t, time_t, long> stamp;
    std::optional<MovieProbe::Info> info;
};
constexpr size_t KEPT_FILES = 8;
} // namespace

std::optional<MovieProbe::Info> MovieProbe::probeKept(const QString &path)
{
    struct stat status = {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return std::nullopt;
    const auto stamp = std::make_tuple(status.st_dev, status.st_ino, status.st_size, status.st_mtim.tv_sec,
                                       status.st_mtim.tv_nsec);
    static std::mutex mutex;
    static std::deque<Kept> kept;
    {
        const std::lock_guard lock(mutex);
        const auto found =
            std::find_if(kept.begin(), kept.end(), [&](const Kept &each) { return each.path == path; });
        if (found != kept.end() && found->stamp == stamp)
            return found->info;
    }
    // Probed outside the lock: a probe takes a while, and other files' answers need not wait for it.
    std::optional<Info> info = probe(path);
    const std::lock_guard lock(mutex);
    std::erase_if(kept, [&](const Kept &each) { return each.path == path; });
    kept.push_back({path, stamp, info});
    if (kept.size() > KEPT_FILES)
        kept.pop_front();
    return info;
}
