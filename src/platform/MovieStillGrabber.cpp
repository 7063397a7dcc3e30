#include "platform/MovieStillGrabber.h"

#include "platform/MovieInput.h"

#include <QCoreApplication>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/common.h>
#include <libavutil/pixdesc.h>
#include <libswscale/swscale.h>
}

namespace {

struct CodecFreer
{
    void operator()(AVCodecContext *c) const { avcodec_free_context(&c); }
};
struct FrameFreer
{
    void operator()(AVFrame *f) const { av_frame_free(&f); }
};
struct PacketFreer
{
    void operator()(AVPacket *p) const { av_packet_free(&p); }
};
struct ScalerFreer
{
    void operator()(SwsContext *s) const { sws_freeContext(s); }
};
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;

// A damaged index could send the decoder far from the wanted frame; no key frame interval of a
// camera movie comes near this many frames, so give up rather than decode the whole file.
constexpr int MAX_FRAMES_AFTER_SEEK = 1500;

int64_t frameDuration(const AVFrame *frame, const AVStream *stream)
{
#if LIBAVUTIL_VERSION_INT >= AV_VERSION_INT(57, 30, 100)
    int64_t duration = frame->duration;
#else
    int64_t duration = frame->pkt_duration;
#endif
    if (duration > 0)
        return duration;
    AVRational rate = stream->avg_frame_rate.num > 0 ? stream->avg_frame_rate : stream->r_frame_rate;
    if (rate.num > 0 && rate.den > 0)
        return std::max<int64_t>(1, av_rescale_q(1, av_inv_q(rate), stream->time_base));
    return 1;
}

// The full-range "J" formats are deprecated aliases; swscale wants the plain format plus a range.
AVPixelFormat plainFormat(AVPixelFormat format, bool &fullRange)
{
    switch (format) {
    case AV_PIX_FMT_YUVJ420P:
        fullRange = true;
        return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P:
        fullRange = true;
        return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P:
        fullRange = true;
        return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P:
        fullRange = true;
        return AV_PIX_FMT_YUV440P;
    default:
        return format;
    }
}

// The YUV matrix the frame was encoded with. Untagged material follows the usual convention of
// players: BT.709 for HD sizes, BT.601 for SD.
int colourMatrix(const AVFrame *frame)
{
    switch (frame->colorspace) {
    case AVCOL_SPC_BT709:
        return SWS_CS_ITU709;
    case AVCOL_SPC_FCC:
        return SWS_CS_FCC;
    case AVCOL_SPC_BT470BG:
    case AVCOL_SPC_SMPTE170M:
        return SWS_CS_ITU601;
    case AVCOL_SPC_SMPTE240M:
        return SWS_CS_SMPTE240M;
    case AVCOL_SPC_BT2020_NCL:
    case AVCOL_SPC_BT2020_CL:
        return SWS_CS_BT2020;
    default:
        return (frame->width >= 1280 || frame->height > 576) ? SWS_CS_ITU709 : SWS_CS_ITU601;
    }
}

std::optional<QImage> toImage(const AVFrame *frame, QSize maxSize)
{
    if (frame->width <= 0 || frame->height <= 0 || maxSize.isEmpty())
        return std::nullopt;
    double displayWidth = frame->width;
    if (frame->sample_aspect_ratio.num > 0 && frame->sample_aspect_ratio.den > 0)
        displayWidth *= av_q2d(frame->sample_aspect_ratio);
    const double scale =
        std::min({1.0, maxSize.width() / displayWidth, maxSize.height() / double(frame->height)});
    const int width = std::clamp(int(std::lround(displayWidth * scale)), 1, maxSize.width());
    const int height = std::clamp(int(std::lround(frame->height * scale)), 1, maxSize.height());

    bool fullRange = frame->color_range == AVCOL_RANGE_JPEG;
    const AVPixelFormat source = plainFormat(AVPixelFormat(frame->format), fullRange);
    std::unique_ptr<SwsContext, ScalerFreer> scaler(sws_getContext(frame->width, frame->height, source, width,
                                                                   height, AV_PIX_FMT_RGB24, SWS_BICUBIC,
                                                                   nullptr, nullptr, nullptr));
    if (!scaler)
        return std::nullopt;
    const AVPixFmtDescriptor *descriptor = av_pix_fmt_desc_get(source);
    if (descriptor && !(descriptor->flags & AV_PIX_FMT_FLAG_RGB)) {
        const int *matrix = sws_getCoefficients(colourMatrix(frame));
        sws_setColorspaceDetails(scaler.get(), matrix, fullRange ? 1 : 0, sws_getCoefficients(SWS_CS_DEFAULT),
                                 1, 0, 1 << 16, 1 << 16);
    }
    // swscale's vector code may store a little past the end of a row, so it writes into a padded
    // buffer of its own and the rows are copied into the image afterwards.
    const int stride = FFALIGN(width * 3, 64);
    std::vector<uint8_t> buffer(size_t(stride) * (height + 1) + 64);
    uint8_t *planes[4] = {buffer.data(), nullptr, nullptr, nullptr};
    int strides[4] = {stride, 0, 0, 0};
    if (sws_scale(scaler.get(), frame->data, frame->linesize, 0, frame->height, planes, strides) != height)
        return std::nullopt;
    QImage image(width, height, QImage::Format_RGB888);
    if (image.isNull())
        return std::nullopt;
    for (int y = 0; y < height; ++y)
        std::memcpy(image.scanLine(y), buffer.data() + size_t(y) * stride, size_t(width) * 3);
    return image;
}

} // namespace

std::optional<QImage> MovieStillGrabber::grab(const QString &moviePath, qint64 positionMs, QSize maxSize,
                                              const std::atomic<bool> *cancel, QString *problem)
{
    if (positionMs < 0)
        return std::nullopt;
    MovieInput input(moviePath, cancel);
    auto still = input.format() ? grabFrom(input, positionMs, maxSize) : std::nullopt;
    if (!still && problem) {
        // Whatever the input learnt about the file is the reason; a position past the end is none.
        *problem = input.error();
        if (problem->isEmpty() && !input.format())
            *problem = QCoreApplication::translate("MovieStillGrabber", "not a movie that can be read");
    }
    return still;
}

std::optional<QImage> MovieStillGrabber::grabFrom(const MovieInput &input, qint64 positionMs, QSize maxSize)
{
    AVFormatContext *const format = input.format();
    int streamIndex = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    // MP4 headers carry everything the decoder needs; probing packets is only for other containers.
    if (streamIndex < 0 || format->streams[streamIndex]->codecpar->width <= 0) {
        if (avformat_find_stream_info(format, nullptr) < 0)
            return std::nullopt;
        streamIndex = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
        if (streamIndex < 0)
            return std::nullopt;
    }
    AVStream *stream = format->streams[streamIndex];
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = int(i) == streamIndex ? AVDISCARD_DEFAULT : AVDISCARD_ALL;

    const AVCodec *codec = avcodec_find_decoder(stream->codecpar->codec_id);
    if (!codec)
        return std::nullopt;
    std::unique_ptr<AVCodecContext, CodecFreer> decoder(avcodec_alloc_context3(codec));
    if (!decoder || avcodec_parameters_to_context(decoder.get(), stream->codecpar) < 0)
        return std::nullopt;
    // One still at a time on a background thread: threads would only add start-up latency.
    decoder->thread_count = 1;
    decoder->pkt_timebase = stream->time_base;
    if (avcodec_open2(decoder.get(), codec, nullptr) < 0)
        return std::nullopt;

    const int64_t startTs = stream->start_time != AV_NOPTS_VALUE ? stream->start_time : 0;
    // Half a millisecond on: a picture's start written in whole ms may lie that far before its true
    // time, and it is that picture the position stands for, not the one before.
    const int64_t targetTs =
        startTs + av_rescale_q(2 * positionMs + 1, AVRational{1, 2000}, stream->time_base);
    if (stream->duration > 0 && targetTs >= startTs + stream->duration)
        return std::nullopt;
    // Backward: land on the key frame at or before the target, then decode forward.
    if (targetTs > startTs && av_seek_frame(format, streamIndex, targetTs, AVSEEK_FLAG_BACKWARD) < 0)
        av_seek_frame(format, streamIndex, startTs, AVSEEK_FLAG_BACKWARD);

    std::unique_ptr<AVPacket, PacketFreer> packet(av_packet_alloc());
    FramePtr frame(av_frame_alloc());
    FramePtr best(av_frame_alloc());
    if (!packet || !frame || !best)
        return std::nullopt;
    bool haveBest = false;
    int64_t bestEnd = 0;
    int framesSeen = 0;

    // Returns true when the frame on screen at the target is known (in best).
    auto takeFrames = [&]() -> bool {
        while (avcodec_receive_frame(decoder.get(), frame.get()) == 0) {
            ++framesSeen;
            const int64_t pts = frame->best_effort_timestamp;
            if (pts == AV_NOPTS_VALUE || pts <= targetTs || !haveBest) {
                // Either at or before the target, or the movie's first frame starts after it.
                av_frame_unref(best.get());
                av_frame_move_ref(best.get(), frame.get());
                haveBest = true;
                bestEnd = pts == AV_NOPTS_VALUE ? targetTs + 1 : pts + frameDuration(best.get(), stream);
                if (pts == AV_NOPTS_VALUE || pts > targetTs || bestEnd > targetTs)
                    return true;
            } else {
                av_frame_unref(frame.get());
                return true;
            }
        }
        return false;
    };

    bool found = false;
    while (!found && framesSeen < MAX_FRAMES_AFTER_SEEK && !input.isInterrupted()) {
        const int read = av_read_frame(format, packet.get());
        if (read < 0)
            break;
        if (packet->stream_index == streamIndex) {
            // The packet shown at the target is complete once sent: every frame it refers to came
            // before it in decoding order. Draining now spares decoding the frames that the
            // decoder would otherwise wait for to settle the display order.
            const bool holdsTarget = packet->pts != AV_NOPTS_VALUE && packet->pts <= targetTs &&
                                     targetTs < packet->pts + std::max<int64_t>(packet->duration, 1);
            const int sent = avcodec_send_packet(decoder.get(), packet.get());
            av_packet_unref(packet.get());
            if (sent < 0 && sent != AVERROR(EAGAIN) && sent != AVERROR_INVALIDDATA)
                break;
            found = takeFrames();
            if (!found && holdsTarget)
                break;
        } else {
            av_packet_unref(packet.get());
        }
    }
    if (!found) {
        // End of file or the target packet sent: frames held back for reordering come out on a flush.
        avcodec_send_packet(decoder.get(), nullptr);
        found = takeFrames();
        if (!found && haveBest && bestEnd > targetTs)
            found = true;
    }
    if (!found || !haveBest)
        return std::nullopt;
    return toImage(best.get(), maxSize);
}
