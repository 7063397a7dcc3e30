#include "platform/MovieProbe.h"

#include <QFile>
#include <algorithm>

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
            info.width = context->streams[video]->codecpar->width;
            info.height = context->streams[video]->codecpar->height;
            info.videoFrames = std::max<int64_t>(context->streams[video]->nb_frames, 0);
        }
        const int sound = av_find_best_stream(context, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
        if (sound >= 0)
            info.soundCodec =
                QString::fromLatin1(avcodec_get_name(context->streams[sound]->codecpar->codec_id));
    }
    avformat_close_input(&context);
    return info;
}
