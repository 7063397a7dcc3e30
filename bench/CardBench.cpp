// Opening a generated card of 1,000 chapters, and timeline conversions on a 1,000-chapter trip.
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/ChapterTimeline.h"
#include "card/PictureDataUtil.h"
#include "recording/FileUtil.h"
#include "samplecard/ManagementFileWriter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <random>

#include <sched.h>

namespace {
constexpr int kChapters = 1000;

// A MOVE folder of placeholder movie files (the load reads no movie when every chapter has its
// movie-management record): four trip keys, one of them split by a numbering gap, and a few events.
struct GeneratedCard
{
    QTemporaryDir dir;
    QString root;

    GeneratedCard()
    {
        root = QDir(dir.path()).filePath("MOVE");
        QDir().mkpath(root + "/MOVE001");
        std::vector<QByteArray> movies;
        std::array<std::vector<QByteArray>, 3> events;
        const QStringList keys = {"202405011200", "202405021200", "202405031200", "202405041200"};
        for (int i = 0; i < kChapters; ++i) {
            const auto &key = keys[i % keys.size()];
            int number = i / static_cast<int>(keys.size()) + 1;
            if (i % keys.size() == 1 && number > 100)
                number += 5; // a gap
            QFile(root + "/MOVE001/m" + ManagementFileWriter::recordFileName(key, number) + ".MP4")
                .open(QIODevice::WriteOnly);
            ManagementRecordValues v;
            v.fileName = ManagementFileWriter::recordFileName(key, number);
            v.unixSeconds = 1714564800 + static_cast<uint32_t>(i % keys.size()) * 86400 +
                            static_cast<uint32_t>(number) * 60;
            v.timeStamp = 100000 + static_cast<uint32_t>(number) * 60000;
            movies.push_back(ManagementFileWriter::vrecRecord(v));
            if (number % 50 == 0 && events[0].size() < 10) {
                v.type = 0x10;
                v.timeStamp += 30000;
                events[0].push_back(ManagementFileWriter::prctRecord(v));
            }
        }
        QFile vrec(root + "/VREC_MOV_MNG.DAT");
        vrec.open(QIODevice::WriteOnly);
        vrec.write(ManagementFileWriter::vrecFile(0, movies));
        QFile prct(root + "/MOV_PRCT.DAT");
        prct.open(QIODevice::WriteOnly);
        prct.write(ManagementFileWriter::prctFile(0, events));
    }
};

// One trip of kChapters chapters of 40 to 80 s, plus one closing chapter.
struct GeneratedTrip
{
    QTemporaryDir dir;
    CardData card;
    std::shared_ptr<TripData> trip;
    ChapterList chapters;

    GeneratedTrip()
    {
        const QString key = "202405011200";
        QDir().mkpath(dir.path() + "/MOVE/MOVE001");
        std::mt19937 random(7);
        std::uniform_int_distribution<uint32_t> length(40000, 80000);
        std::vector<QByteArray> movies;
        QList<QUrl> urls;
        uint32_t stamp = 100000;
        for (int n = 1; n <= kChapters + 1; ++n) {
            const auto path =
                dir.path() + "/MOVE/MOVE001/m" + ManagementFileWriter::recordFileName(key, n) + ".MP4";
            QFile(path).open(QIODevice::WriteOnly);
            urls.append(QUrl::fromLocalFile(path));
            ManagementRecordValues v;
            v.fileName = ManagementFileWriter::recordFileName(key, n);
            v.unixSeconds = 1714564800 + static_cast<uint32_t>(n) * 60;
            v.timeStamp = stamp;
            stamp += length(random);
            movies.push_back(ManagementFileWriter::vrecRecord(v));
        }
        QFile vrec(dir.path() + "/VREC_MOV_MNG.DAT");
        vrec.open(QIODevice::WriteOnly);
        vrec.write(ManagementFileWriter::vrecFile(0, movies));
        vrec.close();
        card.readVrecMoveManagerFile(QUrl::fromLocalFile(dir.path() + "/VREC_MOV_MNG.DAT"));
        trip = TripData::create(&card, urls, key);
        const auto all = trip->sortedChapters();
        chapters.assign(all.begin(), all.begin() + kChapters);
    }
};

void BM_OpenCard1000Chapters(benchmark::State &state)
{
    GeneratedCard generated;
    const auto url = FileUtil::fileUrl(generated.root);
    for (auto _ : state) {
        CardData card;
        card.loadCardFolder(url);
        benchmark::DoNotOptimize(card._tripList.size());
    }
}
BENCHMARK(BM_OpenCard1000Chapters)->Unit(benchmark::kMillisecond);

void BM_ListMovieFiles1000(benchmark::State &state)
{
    GeneratedCard generated;
    const auto url = FileUtil::fileUrl(generated.root);
    for (auto _ : state)
        benchmark::DoNotOptimize(FileUtil::searchMovieFiles(url).size());
}
BENCHMARK(BM_ListMovieFiles1000)->Unit(benchmark::kMillisecond);

GeneratedTrip &sharedTrip()
{
    static GeneratedTrip trip;
    return trip;
}

void BM_ChapterPositionTimeline(benchmark::State &state)
{
    auto &t = sharedTrip();
    const ChapterTimeline timeline(t.chapters);
    std::mt19937 random(1);
    std::uniform_int_distribution<int32_t> position(0, timeline.totalLength());
    std::vector<int32_t> positions(4096);
    for (auto &p : positions)
        p = position(random);
    size_t i = 0;
    int64_t index = 0;
    int32_t offset = 0;
    for (auto _ : state) {
        PictureDataUtil::getChapterPosition(timeline, positions[i++ & 4095], index, offset);
        benchmark::DoNotOptimize(index);
        benchmark::DoNotOptimize(offset);
    }
}
BENCHMARK(BM_ChapterPositionTimeline);

void BM_PositionTimeline(benchmark::State &state)
{
    auto &t = sharedTrip();
    const ChapterTimeline timeline(t.chapters);
    int64_t index = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(PictureDataUtil::getPosition(timeline, index, 1234));
        index = (index + 397) % kChapters;
    }
}
BENCHMARK(BM_PositionTimeline);

// The plain list form walks the chapters (their lengths are kept once known): O(n).
void BM_ChapterPositionList(benchmark::State &state)
{
    auto &t = sharedTrip();
    const auto total = PictureDataUtil::getTotalLength(t.chapters);
    std::mt19937 random(1);
    std::uniform_int_distribution<int32_t> position(0, total);
    int64_t index = 0;
    int32_t offset = 0;
    for (auto _ : state) {
        PictureDataUtil::getChapterPosition(t.chapters, position(random), index, offset);
        benchmark::DoNotOptimize(index);
    }
}
BENCHMARK(BM_ChapterPositionList)->Unit(benchmark::kMicrosecond);

void BM_MakeTimeline(benchmark::State &state)
{
    auto &t = sharedTrip();
    for (auto _ : state) {
        const ChapterTimeline timeline(t.chapters);
        benchmark::DoNotOptimize(timeline.totalLength());
    }
}
BENCHMARK(BM_MakeTimeline)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char **argv)
{
    // The open and the conversions run on the calling thread only.
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(sched_getcpu(), &one);
    sched_setaffinity(0, sizeof(one), &one);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
