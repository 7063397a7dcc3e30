// Writes the small generated seed corpus of the MP4 recording fuzzer: a few short chapters' boxes
// (ftyp and udat, no movie data) from samplecard's writer.
#include "samplecard/SampleCardWriter.h"

#include <QDir>
#include <QFile>

#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: Mp4FuzzSeeds OUT_DIR\n");
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QDir().mkpath(out.path());
    const QByteArray ftyp = QByteArray::fromHex("000000106674797069736f6d00000200");

    int n = 0;
    for (int durationMs : {300, 1200, 2100}) {
        SampleScenario scenario = SampleScenario::singleChapter(durationMs);
        scenario.soundRecordsPerBlock = n % 2;
        SampleTrip &trip = scenario.trips.front();
        trip.gpsLostFromMs = 100;
        trip.gpsLostToMs = 200;
        trip.events = {{SampleEvent::Kind::GSensor, 150, 0x14, 0x01}};
        trip.chapters.front().detectionCode = n == 0 ? 10 : 17;
        const SampleCardWriter writer(scenario);
        const QByteArray file = ftyp + writer.udatBox(trip, trip.chapters.front(), ftyp.size());
        QFile f(out.filePath(QString("seed%1.mp4").arg(n++)));
        if (!f.open(QIODevice::WriteOnly) || f.write(file) != file.size())
            return 1;
    }
    return 0;
}
