// Opening a generated card of 1,000 chapters through the open flow, from the open (what the dialog's
// OK calls) to the filled list drawn, the open flow's fixed pause of CardOpener::LOAD_PAUSE_MSEC (0.4 s)
// before the list fills included; the part after the pause is a counter of its own. The card's movies
// are empty placeholder files, all but one (the load reads only the management records and the first
// movie): the figure is the list's own cost, not reading movies from a card. Also the longest the main
// thread is kept busy while the workers then run.
#include "app/CardOpener.h"
#include "app/CardOpenerHost.h"
#include "app/VideoListView.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/TripData.h"
#include "recording/FileUtil.h"
#include "samplecard/ManagementFileWriter.h"
#include "samplecard/SampleCardWriter.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <benchmark/benchmark.h>

namespace {
constexpr int kChapters = 1000;
constexpr int kWatchMsec = 3000; // how long the main thread is watched while the workers run

// Placeholder movies with their management records (the load reads no movie), four trip keys; the
// first trip's first chapter is a real movie so the file-version check has something to read.
struct GeneratedCard
{
    QTemporaryDir dir;
    QString root;

    GeneratedCard()
    {
        root = QDir(dir.path()).filePath("MOVE");
        QDir().mkpath(root + "/MOVE001");
        std::vector<QByteArray> movies;
        const QStringList keys = {"202405011200", "202405021200", "202405031200", "202405041200"};
        for (int i = 0; i < kChapters; ++i) {
            const QString &key = keys[i % keys.size()];
            const int number = i / static_cast<int>(keys.size()) + 1;
            QFile(root + "/MOVE001/m" + ManagementFileWriter::recordFileName(key, number) + ".MP4")
                .open(QIODevice::WriteOnly);
            ManagementRecordValues v;
            v.fileName = ManagementFileWriter::recordFileName(key, number);
            v.unixSeconds = 1714564800 + static_cast<uint32_t>(i % keys.size()) * 86400 +
                            static_cast<uint32_t>(number) * 60;
            v.timeStamp = 100000 + static_cast<uint32_t>(number) * 60000;
            movies.push_back(ManagementFileWriter::vrecRecord(v));
        }
        QFile vrec(root + "/VREC_MOV_MNG.DAT");
        vrec.open(QIODevice::WriteOnly);
        vrec.write(ManagementFileWriter::vrecFile(0, movies));
        vrec.close();

        QTemporaryDir sample;
        SampleCardWriter writer(SampleScenario::standard());
        writer.writeCard(sample.path());
        QDirIterator it(SampleCardWriter::cardFolder(sample.path()), {"*.MP4"}, QDir::Files,
                        QDirIterator::Subdirectories);
        const QString realMovie = it.next();
        CardData card;
        card.loadCardFolder(FileUtil::fileUrl(root));
        const QString first = card._tripList.front()->firstChapter()->_pathMove.toLocalFile();
        QFile::remove(first);
        QFile::copy(realMovie, first);
    }
};

struct BenchHost : CardOpenerHost
{
    VideoListView *list = nullptr;
    std::shared_ptr<CardData> card = std::make_shared<CardData>();
    QElapsedTimer *clock = nullptr;
    qint64 shownAt = -1;
    QString failure;

    void keepMapState() override {}
    void resetDisplay() override
    {
        card->dispose();
        card = std::make_shared<CardData>();
    }
    std::shared_ptr<CardData> cardData() override { return card; }
    void setLoading(bool) override {}
    void setAutoPlay(bool) override {}
    void setLoadingTextVisible(bool) override {}
    void warn(const QString &text, const QString & = {}) override { failure = text; }
    void holdPlayback(bool) override {}
    void startLoadWorkers(CardData &c) override { c.startLoadWorkers(); }
    void showCard(CardData &c) override
    {
        list->setListData(c);
        list->repaint();
        shownAt = clock->elapsed();
    }
    void markCard(CardData &) override {}
    bool playFirstItem(const ChapterList &) override
    {
        return list->selectRow(0, CommonConst::ListType::Trip, true);
    }
    void disableSave() override {}
    void clearPlayer() override {}
    void closeStopWatch() override {}
    void updateWindowTitle() override {}
    QStringList loadProblems(CardData &) override { return {}; }
};

void BM_Open1000PlaceholderChaptersToListWithPause(benchmark::State &state)
{
    GeneratedCard generated;
    const QUrl url = FileUtil::fileUrl(generated.root);
    VideoListView view;
    view.resize(360, 500);
    view.show();
    double worstFill = 0, worstBlock = 0, worstTab = 0;
    int chapterRows = 0;
    for (auto _ : state) {
        QElapsedTimer clock;
        BenchHost host;
        host.list = &view;
        host.clock = &clock;
        CardOpener opener(host);
        bool done = false;
        QObject::connect(&opener, &CardOpener::finished, [&done](CardOpener::Outcome) { done = true; });
        clock.start();
        opener.openVideoData(url, true, MovieType::Card);
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (!host.failure.isEmpty()) {
            state.SkipWithError(host.failure.toStdString().c_str());
            break;
        }
        const double fill = double(host.shownAt - CardOpener::LOAD_PAUSE_MSEC);
        // The workers hand their chapters over now; a 1 ms timer measures the main thread's gaps.
        qint64 last = clock.elapsed(), longest = 0;
        QTimer tick;
        tick.setInterval(1);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.elapsed();
            longest = std::max(longest, now - last);
            last = now;
        });
        tick.start();
        // The Chapter tab of the first trip: a quarter of the card in one list, drawn at once.
        const qint64 tabStart = clock.elapsed();
        view.onChapterButton();
        view.repaint();
        worstTab = std::max(worstTab, double(clock.elapsed() - tabStart));
        chapterRows = view.model()->rowCount();
        const qint64 until = clock.elapsed() + kWatchMsec;
        while (clock.elapsed() < until)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        tick.stop();
        state.SetIterationTime(double(host.shownAt) / 1000.0);
        worstFill = std::max(worstFill, fill);
        worstBlock = std::max(worstBlock, double(longest));
        host.card->dispose();
    }
    state.counters["pause_ms"] = CardOpener::LOAD_PAUSE_MSEC;
    state.counters["fill_ms_after_pause"] = worstFill;
    state.counters["max_main_block_ms"] = worstBlock;
    state.counters["chapter_tab_ms"] = worstTab;
    state.counters["chapter_rows"] = chapterRows;
}
BENCHMARK(BM_Open1000PlaceholderChaptersToListWithPause)
    ->UseManualTime()
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond);
} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
