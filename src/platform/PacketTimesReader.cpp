#include "platform/PacketTimesReader.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

std::vector<PacketTimesReader::Packet> PacketTimesReader::read(const QString &path, int64_t fromUs,
                                                               int64_t toUs)
{
    AVFormatContext *context = nullptr;
    const QByteArray encoded = QFile::encodeName(path);
    if (avformat_open_input(&context, encoded.constData(), nullptr, nullptr) != 0)
        return {};
    std::vector<Packet> packets;
    const int video = avformat_find_stream_info(context, nullptr) >= 0
                          ? av_find_best_stream(context, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0)
                          : -1;
    AVPacket *packet = av_packet_alloc();
    if (video >= 0 && packet) {
        for (unsigned i = 0; i < context->nb_streams; ++i)
            context->streams[i]->discard = int(i) == video ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
        const AVStream *stream = context->streams[video];
        const int64_t startUs = context->start_time == AV_NOPTS_VALUE ? 0 : context->start_time;
        const auto us = [&](int64_t stamp) {
            return av_rescale_q(stamp, stream->time_base, AV_TIME_BASE_Q) - startUs;
        };
        const int64_t seekTo = av_rescale_q(fromUs + startUs, AV_TIME_BASE_Q, stream->time_base);
        if (fromUs <= 0 || av_seek_frame(context, video, seekTo, AVSEEK_FLAG_BACKWARD) >= 0) {
            while (av_read_frame(context, packet) >= 0) {
                const bool isTimed = packet->stream_index == video && packet->pts != AV_NOPTS_VALUE &&
                                     packet->dts != AV_NOPTS_VALUE;
                const Packet times = isTimed ? Packet{us(packet->pts), us(packet->dts)} : Packet{};
                av_packet_unref(packet);
                if (!isTimed)
                    continue;
                packets.push_back(times);
                if (times.dtsUs >= toUs)
                    break;
            }
        }
    }
    av_packet_free(&packet);
    avformat_close_input(&context);
    return packets;
}
