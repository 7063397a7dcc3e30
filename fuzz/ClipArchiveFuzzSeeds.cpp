// Writes the seed corpus of the clip archive fuzzer: archives of short clips as the trim tool writes them.
#include "recording/CutVideoKihonInfo.h"
#include "recording/VideoInfo.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: ClipArchiveFuzzSeeds OUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    int n = 0;
    for (int count : {1, 3, 8}) {
        VideoInfo recording;
        std::map<int, VideoFrame> table;
        for (int i = 0; i < count; ++i) {
            VideoFrame frame;
            frame.time = Date::fromUnixSeconds(1714566896).addingMilliseconds(i * 36);
            frame._timeStamp = uint32_t(1000 + i * 36);
            frame._movieTimeStamp = uint32_t(i * 36);
            frame._id = i == 2 ? 0xAA : 0x55;
            frame._longitude = -4968000 - i;
            frame.gX = 0.5;
            table.emplace(i * 36, frame);
        }
        recording.setCameraFrames(1, table);
        recording.setCameraFrames(0, table);
        recording.rebuildKeyLists();
        recording._fileVersion = "0714";
        const auto clip = CutVideoKihonInfo::initFromVideoInfo(recording, 0, (count - 1) * 36, count * 36 + 5,
                                                               n == 0, true, false, true);
        const auto bytes = clip.archivedData();
        QFile f(out.filePath(QString("clip%1.plist").arg(n++)));
        if (!bytes || !f.open(QIODevice::WriteOnly) || f.write(*bytes) != bytes->size())
            return 1;
    }
    return 0;
}
