// Runs the ffmpeg program for tests that generate their movies or need a reference decode.
#pragma once

#include <QByteArray>
#include <QStringList>

class Ffmpeg
{
public:
    // Runs "ffmpeg -nostdin -loglevel error -y ARGS"; true when it exits with 0. Standard output
    // goes to *output when given.
    static bool run(const QStringList &args, QByteArray *output = nullptr);

    // Writes an H.264 MP4 of the "testsrc2" pattern whose hue turns 40 degrees per frame, so that
    // neighbouring frames differ clearly. Tagged BT.709, limited range.
    static bool writeTestMovie(const QString &path, int width, int height, double seconds, int fps = 25,
                               int keyFrameInterval = 25);
};
