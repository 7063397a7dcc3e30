#include "videotools/StillCapture.h"

#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "platform/JpegFile.h"
#include "platform/MovieStillGrabber.h"
#include "recording/UserDefaultUtil.h"
#include "videotools/OverlayChoices.h"
#include "videotools/OverlayTextLayout.h"
#include "videotools/SubtitleWriter.h"
#include "videotools/ToolInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QPainterPath>
#include <QThread>
#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <sys/stat.h>

double StillCapture::brightnessOffset(double x)
{
    if (x == 1.0)
        return 0.0;
    // Below neutral the slider darkens by up to 0.3, above it brightens by up to 0.4 at 5.
    if (x < 1.0)
        return x * 0.3 + 0.7 + (-1.0);
    return ((5.0 - x) * (-0.25) + 1.0) * 0.4;
}

double StillCapture::panelBrightnessOffset(double x)
{
    return x == 1.0 ? 0.0 : (x - 1.0) * 0.25;
}

int StillCapture::fontPixelSize(CommonConst::RecMode recMode)
{
    return recMode == CommonConst::RecMode::LongRec ? 8 : 20;
}

std::optional<CaptureRequest> StillCapture::makeRequest(const ToolInfo &info, OverlayFlags flags,
                                                        const OverlaySettings &settings,
                                                        const QString &destination)
{
    if (!info.chapter)
        return std::nullopt;
    CaptureRequest request;
    request.moviePath = info.chapter->_pathMp4.toLocalFile();
    request.positionMs = info.currentCMtimeMs;
    request.recMode = info.recMode;
    request.brightness = brightnessOffset(info.brightBarVal);
    request.destination = destination;
    const auto position = info.selectEndSumFrameTS;
    if (flags.any() && position && *position >= std::numeric_limits<int32_t>::min() &&
        *position <= std::numeric_limits<int32_t>::max()) {
        if (const auto frame = PictureDataUtil::getVideoFrame(info.positionsTimeline(), int32_t(*position));
            frame)
            request.overlayText = SubtitleWriter(settings).makeInfoText(*frame, flags);
    }
    return request;
}

std::optional<CaptureRequest> StillCapture::prepareSave(const ToolInfo &info, OverlayFlags flags,
                                                        UserDefaultUtil &settings, const QString &destination,
                                                        QString *error)
{
    OverlayChoices::store(settings, flags);
    OverlayChoices::storeCaptureFolder(settings, QFileInfo(destination).absolutePath());
    if (!info.chapter || !QFileInfo::exists(info.chapter->_pathMp4.toLocalFile())) {
        if (error) {
            *error = info.chapter
                         ? QStringLiteral("%1: %2").arg(info.chapter->_pathMp4.toLocalFile(),
                                                        QString::fromLocal8Bit(std::strerror(ENOENT)))
                         : QStringLiteral("no chapter is being played");
        }
        return std::nullopt;
    }
    return makeRequest(info, flags, OverlaySettings::from(settings), destination);
}

void StillCapture::applyBrightness(QImage &image, double offset)
{
    if (offset == 0.0)
        return;
    std::array<uchar, 256> table{};
    for (int v = 0; v < 256; ++v)
        table[size_t(v)] = uchar(std::clamp<long>(std::lround(v + offset * 255.0), 0, 255));
    image = image.convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto *row = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = row[x];
            row[x] = qRgb(table[size_t(qRed(p))], table[size_t(qGreen(p))], table[size_t(qBlue(p))]);
        }
    }
}

void StillCapture::drawOverlayText(QImage &image, const QString &text, int pixelSize)
{
    if (text.isEmpty() || image.isNull())
        return;
    if (image.format() != QImage::Format_RGB32)
        image = image.convertToFormat(QImage::Format_RGB32);
    const OverlayTextLayout layout(text, pixelSize, image.width());
    const QPainterPath path = layout.path(image.height());
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    // The outline first and the white glyphs over it, so the outline only rims them and small text
    // stays white inside.
    painter.strokePath(path, QPen(Qt::black, layout.outlineWidth()));
    painter.fillPath(path, Qt::white);
}

std::optional<QImage> StillCapture::makeStill(const CaptureRequest &request)
{
    auto still =
        MovieStillGrabber::grab(request.moviePath, request.positionMs, MovieStillGrabber::NATURAL_SIZE);
    if (!still)
        return std::nullopt;
    QImage image = still->convertToFormat(QImage::Format_RGB32);
    applyBrightness(image, request.brightness);
    drawOverlayText(image, request.overlayText, fontPixelSize(request.recMode));
    return image;
}

namespace {

// The process's umask as the kernel reports it: umask(2) can only read it by changing it, which would
// race with files other threads create.
mode_t currentUmask()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (status.open(QIODevice::ReadOnly)) {
        for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
            bool ok = false;
            const uint mask = line.startsWith("Umask:") ? line.mid(6).trimmed().toUInt(&ok, 8) : 0;
            if (ok)
                return mode_t(mask);
        }
    }
    return 022;
}

} // namespace

bool StillCapture::capture(const CaptureRequest &request, QString *error)
{
    const auto image = makeStill(request);
    if (!image) {
        if (error)
            *error = QStringLiteral("%1: no picture at %2 ms").arg(request.moviePath).arg(request.positionMs);
        return false;
    }
    QString why;
    if (!JpegFile::write(*image, request.destination, JPEG_QUALITY, true, &why)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(request.destination, why);
        return false;
    }
    // The temporary file was private to the user; the still is an ordinary document, with the
    // permissions the user's umask gives new files.
    ::chmod(QFile::encodeName(request.destination).constData(), 0666 & ~currentUmask());
    return true;
}

void StillCapture::start(CaptureRequest request, QObject *context,
                         std::function<void(bool, const QString &)> done)
{
    struct Outcome
    {
        bool saved = false;
        QString error;
    };
    auto outcome = std::make_shared<Outcome>();
    QThread *thread = QThread::create(
        [request = std::move(request), outcome] { outcome->saved = capture(request, &outcome->error); });
    // Connected to context: a tool closed meanwhile is not called back.
    QObject::connect(thread, &QThread::finished, context,
                     [outcome, done = std::move(done)] { done(outcome->saved, outcome->error); });
    QObject::connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    thread->start();
}
