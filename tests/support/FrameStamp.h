// Reads the frame number that samplecard's frame stamp writes into a picture (SampleMovieArgs): bit b
// is a white or black block 32 pixels wide at x = 32 b along the top 32 rows of the movie's picture.
#pragma once

#include "support/ScreenStampWatch.h"

#include <QImage>

#include <optional>

// The number in a picture shown at any scale; movieWidth is the movie's own width, which sets how many
// blocks the picture holds. None when a block is neither dark nor light, or when the picture is black.
inline std::optional<int> frameStampIn(const QImage &picture, int movieWidth)
{
    if (picture.isNull() || movieWidth < 32)
        return std::nullopt;
    const double scale = double(picture.width()) / movieWidth;
    int frame = 0;
    for (int bit = 0; bit < movieWidth / 32 && bit < 16; ++bit) {
        const int grey = qGray(picture.pixel(int((32 * bit + 16) * scale), int(16 * scale)));
        if (grey > 64 && grey < 192)
            return std::nullopt;
        frame |= (grey >= 192 ? 1 : 0) << bit;
    }
    if (frame == 0 && picture.height() > int(ScreenStampWatch::BLACK_ROW_Y * scale)) {
        bool black = true;
        for (int x = 0; black && x < ScreenStampWatch::BLACK_ROW_WIDTH && int(x * scale) < picture.width();
             x += 8) {
            const QRgb pixel = picture.pixel(int(x * scale), int(ScreenStampWatch::BLACK_ROW_Y * scale));
            black = ScreenStampWatch::isDarkPixel(qRed(pixel), qGreen(pixel), qBlue(pixel));
        }
        if (black)
            return std::nullopt;
    }
    return frame;
}
