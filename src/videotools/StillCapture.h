// The still of the capture tools: the movie's own frame at the player's position, at the movie's
// picture size, with the player's brightness and the driving data written bottom-left, saved as JPEG.
#pragma once

#include "recording/CommonConst.h"
#include "videotools/OverlayFlags.h"
#include "videotools/OverlaySettings.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

class QObject;
class UserDefaultUtil;
struct ToolInfo;

// Everything one still needs, taken on the main thread: the job reads no widget, setting or card.
struct CaptureRequest
{
    QString moviePath;      // the chapter's MP4 file
    int64_t positionMs = 0; // the player's time in that movie
    CommonConst::RecMode recMode = CommonConst::RecMode::Nomal;
    double brightness = 0.0; // added to every colour component (1.0 = full scale)
    QString overlayText;     // empty: no text
    QString destination;
};

class StillCapture
{
public:
    StillCapture() = delete;

    static constexpr int JPEG_QUALITY = 92;

    // The brightness added to every colour component (1.0 = full scale) for the player's brightness
    // slider (0 to 5, 1 neutral): the player's own rule, so the still looks as the picture did.
    static double brightnessOffset(double brightBarVal);
    // The tool panel's own rule: a quarter of full scale per slider step, the same on both sides of 1.
    static double panelBrightnessOffset(double brightBarVal);
    // Bold text of this many pixels; the long-recording mode's smaller picture takes smaller text.
    static int fontPixelSize(CommonConst::RecMode recMode);

    // The request for the position in info. None without a chapter. The text is empty when no flag
    // is set or no driving data exists at the position (also for a position beyond 32 bits).
    static std::optional<CaptureRequest> makeRequest(const ToolInfo &info, OverlayFlags flags,
                                                     const OverlaySettings &settings,
                                                     const QString &destination);

    // The save panel's answer, as both capture tools take it: stores the choices and the folder of
    // destination, then the request. None (after storing) when the chapter's movie is missing; error,
    // when given, then names it.
    static std::optional<CaptureRequest> prepareSave(const ToolInfo &info, OverlayFlags flags,
                                                     UserDefaultUtil &settings, const QString &destination,
                                                     QString *error = nullptr);

    static void applyBrightness(QImage &image, double offset);
    // White text with a black outline, its block in the picture's bottom-left corner, broken onto more
    // lines where it is wider than the picture (OverlayTextLayout).
    static void drawOverlayText(QImage &image, const QString &text, int pixelSize);
    // The decorated still of the request, or none when the movie gives no picture there.
    static std::optional<QImage> makeStill(const CaptureRequest &request);
    // Makes the still and writes it; false when either fails (the destination is then unchanged) and
    // error, when given, gets the file and the reason.
    static bool capture(const CaptureRequest &request, QString *error = nullptr);
    // Runs capture on a thread of its own; done runs on context's thread, unless context is gone.
    static void start(CaptureRequest request, QObject *context,
                      std::function<void(bool saved, const QString &error)> done);
};
