#include "app/CardOpener.h"
#include "app/CardOpenerHost.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/TripData.h"
#include "support/EventLoop.h"
#include "support/Ffmpeg.h"
#include "support/TempDir.h"

#include "AppFakes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <atomic>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

namespace {
// Records every step; its card object is replaced by a fresh one at each reset, as the window's is.
struct FakeHost : CardOpenerHost
{
    std::shared_ptr<CardData> card = std::make_shared<CardData>();
    std::vector<std::shared_ptr<CardData>> retired;
    QStringList steps;
    QStringList causes; // of each warning, in order
    bool loading = false;
    bool plays = true;
    QStringList problems;
    QStringList kept;
    std::function<void()> afterShow;
    std::function<void()> afterMark;
    ChapterList found; // handed to the first item

    void keepMapState() override { steps << "keepMapState"; }
    void resetDisplay() override
    {
        retired.push_back(card);
        card = std::make_shared<CardData>();
        steps << "reset";
    }
    std::shared_ptr<CardData> cardData() override { return card; }
    void setLoading(bool on) override { loading = on; }
    void setAutoPlay(bool on) override { steps << QStringLiteral("autoPlay %1").arg(on); }
    void setLoadingTextVisible(bool on) override { steps << QStringLiteral("loadingText %1").arg(on); }
    void warn(const QString &text, const QString &cause = {}) override
    {
        steps << "warn: " + text;
        causes << cause;
    }
    void startLoadWorkers(CardData &) override { steps << "workers"; }
    void holdItemChanges(bool held) override { steps << QStringLiteral("holdItems %1").arg(held); }
    void showCard(CardData &c) override
    {
        steps << (&c == card.get() ? "show" : "show a stale card");
        if (afterShow)
            afterShow();
    }
    void markCard(CardData &c) override
    {
        steps << (&c == card.get() ? "mark" : "mark a stale card");
        if (afterMark)
            afterMark();
    }
    bool playFirstItem(const ChapterList &chapters) override
    {
        found = chapters;
        return steps << "play", plays;
    }
    void disableSave() override { steps << "saveOff"; }
    void holdPlayback(bool held) override { steps << QStringLiteral("hold %1").arg(held); }
    void clearPlayer() override { steps << "clearPlayer"; }
    void closeStopWatch() override { steps << "closeStopWatch"; }
    void updateWindowTitle() override { steps << "title"; }
    QStringList loadProblems(CardData &) override { return problems; }
    QStringList keptProblems(CardData &) override { return kept; }
};

struct Fixture
{
    FakeHost host;
    CardOpener opener{host};
    std::vector<CardOpener::Outcome> outcomes;
    Fixture()
    {
        opener.pauseMsec = 0;
        QObject::connect(&opener, &CardOpener::finished,
                         [this](CardOpener::Outcome outcome) { outcomes.push_back(outcome); });
    }

    // Waits until n completions have run; returns their outcomes.
    std::vector<CardOpener::Outcome> waitFor(size_t n)
    {
        EventLoop::waitUntil([&] { return outcomes.size() >= n; });
        return outcomes;
    }
    // The steps after the background read (the completion's own).
    QStringList completionSteps() const { return host.steps.mid(host.steps.indexOf("loadingText 1") + 1); }
};

const QString NOT_FOUND = QStringLiteral("warn: Unable to locate the file.");
const QString UNREADABLE = QStringLiteral("warn: Unable to read the selected file.");
} // namespace

TEST(CardOpenerTest, CompletionCasesAlertAndStopAtTheirStep)
{
    using O = CardOpener::Outcome;
    const QString shown = "loadingText 0";
    // Listed once, in one message, after the card has opened; the first item waits meanwhile.
    const QString leftOut = "warn: These files could not be read and were left out:\na.MP4\nb.MP4";
    // Source (none: the read finds no trip), whether the first item plays, outcome, completion steps.
    const std::tuple<std::optional<QUrl>, bool, O, QStringList> cases[] = {
        {std::nullopt, true, O::NoRecordings, {shown, NOT_FOUND, "saveOff", "closeStopWatch", "title"}},
        {writtenSampleCard(0x0713),
         true,
         O::UnreadableFile,
         {shown, "clearPlayer", UNREADABLE, "closeStopWatch", "title"}},
        {writtenSampleCard(),
         false,
         O::NothingPlayable,
         {shown, "workers", "holdItems 1", "show", "mark", "holdItems 0", "play", NOT_FOUND, "saveOff",
          "hold 1", leftOut, "hold 0"}},
        {writtenSampleCard(),
         true,
         O::Opened,
         {shown, "workers", "holdItems 1", "show", "mark", "holdItems 0", "play", "title", "hold 1", leftOut,
          "hold 0"}},
    };
    for (const auto &[url, plays, outcome, steps] : cases) {
        SCOPED_TRACE(int(outcome));
        Fixture f;
        f.host.plays = plays;
        f.host.problems = {"a.MP4", "b.MP4"}; // files the reader left out
        if (!url)
            f.opener.loadCard = [](CardData &, const QUrl &) {};
        f.opener.openVideoData(url.value_or(QUrl()), true, MovieType::Backup);
        EXPECT_TRUE(f.host.loading);
        EXPECT_EQ(f.host.steps.mid(0, 3), QStringList({"keepMapState", "reset", "autoPlay 1"}));
        EXPECT_EQ(f.waitFor(1), std::vector{outcome});
        EXPECT_EQ(f.completionSteps(), steps);
        EXPECT_FALSE(f.host.loading);
        EXPECT_EQ(f.opener.openMovieType().has_value(),
                  outcome == O::Opened || outcome == O::NothingPlayable);
    }
}

// The failures of an open keep their text and say what was looked for and not found.
TEST(CardOpenerTest, FailedOpensSayWhatWasLookedFor)
{
    TempDir dir;
    const QString empty = dir.filePath("empty");
    ASSERT_TRUE(QDir().mkpath(empty));
    const QString foreign = dir.filePath("holiday.mp4");
    ASSERT_TRUE(Ffmpeg::writeTestMovie(foreign, 320, 240, 1.0));
    const QString version0713 = writtenSampleCard(0x0713).toLocalFile();
    const struct
    {
        QUrl source;
        CardOpener::Outcome outcome;
        QString warning, cause; // a cause ending in "*" is a beginning
    } cases[] = {
        {QUrl::fromLocalFile(empty + "/"), CardOpener::Outcome::NoRecordings, NOT_FOUND,
         "No recordings were found in " + empty + "/."},
        {QUrl::fromLocalFile(foreign), CardOpener::Outcome::UnreadableFile, UNREADABLE,
         "No driving data was found in " + foreign + "."},
        {QUrl::fromLocalFile(version0713), CardOpener::Outcome::UnreadableFile, UNREADABLE,
         version0713 + "*has the file version \"0713\", which this viewer cannot read."},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.source.toLocalFile().toStdString());
        Fixture f;
        f.opener.openVideoData(c.source, true, MovieType::Backup);
        EXPECT_EQ(f.waitFor(1), std::vector{c.outcome});
        ASSERT_EQ(f.host.causes.size(), 1);
        EXPECT_EQ(f.host.steps.filter("warn: "), QStringList{c.warning});
        const qsizetype star = c.cause.indexOf('*');
        if (star < 0) {
            EXPECT_EQ(f.host.causes[0], c.cause);
        } else {
            EXPECT_TRUE(f.host.causes[0].startsWith(c.cause.left(star)) &&
                        f.host.causes[0].endsWith(c.cause.mid(star + 1)))
                << f.host.causes[0].toStdString();
        }
    }
}

// A file that several readers failed on is one line, its reasons joined in the order they came.
TEST(CardOpenerTest, ProblemLinesNameEachFileOnce)
{
    const std::vector<FileProblemList::Problem> problems = {
        {"/card/MOVE/MOVE001/0002.MP4", "no driving data"},
        {"/card/MOVE/VREC_MOV_MNG.DAT", "too short"},
        {"/card/MOVE/MOVE001/0002.MP4", "moov atom not found"},
        {"/card/MOVE/MOVE001/0002.MP4", "not a movie"},
        {"/card/MOVE/MOVE001/0002.MP4", "no driving data"},
    };
    EXPECT_EQ(CardOpener::problemLines(problems),
              (QStringList{"0002.MP4: no driving data; moov atom not found; not a movie",
                           "VREC_MOV_MNG.DAT: too short"}));
}

// Files the card still lists as chapters are not said to be left out: they have their own part of the
// one alert.
TEST(CardOpenerTest, ChaptersStillListedAreApartFromFilesLeftOut)
{
    auto card = std::make_shared<CardData>();
    const auto url = [](const char *name) {
        return QUrl::fromLocalFile(QStringLiteral("/card/MOVE/") + name);
    };
    card->_tripList.push_back(TripData::create(card.get(), {url("m0001.MP4"), url("m0002.MP4")}, "m"));
    card->_advTripList.push_back(TripData::create(card.get(), {url("a0007.MP4")}, "a"));
    for (const char *file : {"m0002.MP4", "VREC_MOV_MNG.DAT", "huge.MP4", "a0007.MP4"})
        card->_fileProblems.add(url(file).toLocalFile(), "unreadable");
    const auto names = [](const std::vector<FileProblemList::Problem> &problems) {
        QStringList files;
        for (const auto &problem : problems)
            files << QFileInfo(problem.file).fileName();
        return files;
    };
    EXPECT_EQ(names(CardOpener::problemsOf(*card, true)), (QStringList{"m0002.MP4", "a0007.MP4"}));
    EXPECT_EQ(names(CardOpener::problemsOf(*card, false)), (QStringList{"VREC_MOV_MNG.DAT", "huge.MP4"}));

    const QString leftOut = "These files could not be read and were left out:\nb.DAT";
    const QString listed =
        "These files could not be read; their chapters stay listed but may not play:\na.MP4";
    // Left out, kept: the alert's text (none: no alert).
    const std::tuple<QStringList, QStringList, std::optional<QString>> cases[] = {
        {{"b.DAT"}, {"a.MP4"}, leftOut + "\n\n" + listed},
        {{}, {"a.MP4"}, listed},
        {{"b.DAT"}, {}, leftOut},
        {{}, {}, std::nullopt},
    };
    for (const auto &[out, kept, text] : cases) {
        Fixture f;
        f.host.problems = out;
        f.host.kept = kept;
        f.opener.openVideoData(writtenSampleCard(), true, MovieType::Backup);
        f.waitFor(1);
        EXPECT_EQ(f.host.steps.filter("warn: "), text ? QStringList{"warn: " + *text} : QStringList{});
    }
}

TEST(CardOpenerTest, OverlappingOpensShowOnlyTheSecondCard)
{
    Fixture f;
    f.opener.openVideoData(writtenSampleCard(), true, MovieType::Card);
    const std::shared_ptr<CardData> first = f.host.card;
    // The window lets go of the first card while it is still being read.
    f.opener.retire(first);
    f.opener.openVideoData(writtenSampleCard(), true, MovieType::Backup);
    std::vector<CardOpener::Outcome> outcomes = f.waitFor(2);
    std::sort(outcomes.begin(), outcomes.end());
    EXPECT_EQ(outcomes, (std::vector{CardOpener::Outcome::Opened, CardOpener::Outcome::Dropped}));
    EXPECT_EQ(f.host.steps.count("show"), 1);
    EXPECT_EQ(f.host.steps.count("show a stale card"), 0);
    EXPECT_TRUE(first->_tripList.empty()) << "released once its read was over";
    EXPECT_EQ(f.opener.openMovieType(), MovieType::Backup) << "the kind of the source that is open";
}

// The list, the map's markers and the first item come on passes of the event loop of their own. A card
// the window lets go of in between (a reset, a later open) is dropped there and plays nothing; an opener
// ended in between (Quit) does nothing more. The hold on the user's clicks never outlasts the open.
TEST(CardOpenerTest, ACardLetGoOfBetweenTheListAndTheFirstItemIsDropped)
{
    using O = CardOpener::Outcome;
    const auto reset = [](Fixture &f) { f.host.resetDisplay(); };
    const auto laterOpen = [](Fixture &f) {
        f.opener.openVideoData(writtenSampleCard(), true, MovieType::Backup);
    };
    const auto end = [](Fixture &f) { f.opener.shutDown(); };
    const QStringList secondOpen = {"keepMapState",  "reset",       "autoPlay 1",  "loadingText 1",
                                    "loadingText 0", "workers",     "holdItems 1", "show",
                                    "mark",          "holdItems 0", "play",        "title"};
    // What happens between the steps, after which step, the outcomes, the steps from the list on.
    const std::tuple<const char *, std::function<void(Fixture &)>, bool, std::vector<O>, QStringList>
        cases[] = {
            {"a reset after the list", reset, false, {O::Dropped}, {"show", "reset", "holdItems 0"}},
            {"a reset after the markers",
             reset,
             true,
             {O::Dropped},
             {"show", "mark", "reset", "holdItems 0"}},
            {"a later open after the list",
             laterOpen,
             false,
             {O::Dropped, O::Opened},
             QStringList({"show", "holdItems 0"}) + secondOpen},
            {"a later open after the markers",
             laterOpen,
             true,
             {O::Dropped, O::Opened},
             QStringList({"show", "mark", "holdItems 0"}) + secondOpen},
            {"the opener's end after the list", end, false, {}, {"show"}},
            {"the opener's end after the markers", end, true, {}, {"show", "mark"}},
        };
    for (const auto &[what, meanwhile, afterMarkers, outcomes, steps] : cases) {
        SCOPED_TRACE(what);
        Fixture f;
        QObject context;
        // Once: a later open shows and marks again.
        bool acted = false;
        (afterMarkers ? f.host.afterMark : f.host.afterShow) = [&, meanwhile = meanwhile] {
            if (!std::exchange(acted, true))
                QMetaObject::invokeMethod(
                    &context, [&f, meanwhile] { meanwhile(f); }, Qt::QueuedConnection);
        };
        f.opener.openVideoData(writtenSampleCard(), true, MovieType::Card);
        if (!outcomes.empty())
            EXPECT_EQ(f.waitFor(outcomes.size()), outcomes);
        EventLoop::runFor(std::chrono::milliseconds(50));
        EXPECT_EQ(f.outcomes, outcomes);
        EXPECT_EQ(f.host.steps.mid(f.host.steps.indexOf("show")), steps);
    }
}

// The read looks for the first trip's files on its worker and hands the first item its chapters when all
// are there, so that the hand-over does not look for them again on the main thread; one file gone while
// the card is read hands none, and the hand-over looks itself.
TEST(CardOpenerTest, TheFirstTripsFilesAreLookedForWhereTheCardIsRead)
{
    for (const bool lost : {false, true}) {
        SCOPED_TRACE(lost ? "a file lost" : "all there");
        TempDir dir;
        SampleCardWriter writer(SampleScenario::standard());
        ASSERT_TRUE(writer.writeCard(dir.path()));
        Fixture f;
        f.opener.loadCard = [lost](CardData &card, const QUrl &url) {
            card.loadCardFolder(url);
            if (lost)
                QFile::remove(card._tripList_tab.front()->sortedChapters().back()->_pathMp4.toLocalFile());
        };
        f.opener.openVideoData(
            QUrl::fromLocalFile(SampleCardWriter::cardFolder(dir.path()) + QLatin1Char('/')), true,
            MovieType::Card);
        EXPECT_EQ(f.waitFor(1), std::vector{CardOpener::Outcome::Opened});
        const ChapterList first = f.host.card->_tripList_tab.front()->sortedChapters();
        ASSERT_GT(first.size(), 1u);
        EXPECT_EQ(f.host.found, lost ? ChapterList() : first);
    }
}

// The end of the opener (Quit) cancels a card still being read and waits for it a moment only: a read
// that sees the cancel ends at once; one that does not is left running, and its completion goes
// nowhere.
TEST(CardOpenerTest, ShuttingDownCancelsTheReadAndWaitsAMomentAtMost)
{
    for (const bool heedsCancel : {true, false}) {
        SCOPED_TRACE(heedsCancel);
        FakeHost host;
        auto opener = std::make_unique<CardOpener>(host);
        opener->pauseMsec = 0;
        std::atomic<bool> reading = false;
        std::atomic<bool> sawCancel = false;
        opener->loadCard = [&, heedsCancel](CardData &card, const QUrl &) {
            reading = true;
            QElapsedTimer spent;
            spent.start();
            while (spent.elapsed() < 3000 && !(heedsCancel && card._isLoadCancelled))
                QThread::msleep(5);
            sawCancel = card._isLoadCancelled.load();
        };
        bool finished = false;
        QObject::connect(opener.get(), &CardOpener::finished, [&] { finished = true; });
        opener->openVideoData(QUrl::fromLocalFile("/nonexistent/"), false, MovieType::Card);
        ASSERT_TRUE(EventLoop::waitUntil([&] { return reading.load(); }));
        QElapsedTimer timer;
        timer.start();
        const bool idle = opener->shutDown();
        opener.reset();
        EXPECT_EQ(idle, heedsCancel);
        EXPECT_LT(timer.elapsed(), heedsCancel ? 500 : CardOpener::SHUTDOWN_WAIT_MSEC + 500);
        if (!heedsCancel)
            QThread::msleep(3000); // the read outlives the opener by itself
        EXPECT_TRUE(sawCancel);
        EventLoop::runFor(std::chrono::milliseconds(50));
        EXPECT_FALSE(finished);
    }
}
