#include "app/CardOpener.h"
#include "app/CardOpenerHost.h"
#include "card/CardData.h"

#include "SampleCards.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

namespace {
// Records every step; its card object is replaced by a fresh one at each reset, as the window's is.
struct FakeHost : CardOpenerHost
{
    std::shared_ptr<CardData> card = std::make_shared<CardData>();
    std::vector<std::shared_ptr<CardData>> retired;
    QStringList steps;
    bool loading = false;
    bool plays = true;
    QStringList problems;

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
    void warn(const QString &text) override { steps << "warn: " + text; }
    void startLoadWorkers(CardData &) override { steps << "workers"; }
    void showCard(CardData &shown) override
    {
        steps << (&shown == card.get() ? "show" : "show a stale card");
    }
    bool playFirstItem() override
    {
        steps << "play";
        return plays;
    }
    void disableSave() override { steps << "saveOff"; }
    void clearPlayer() override { steps << "clearPlayer"; }
    void closeStopWatch() override { steps << "closeStopWatch"; }
    void updateWindowTitle() override { steps << "title"; }
    QStringList loadProblems(CardData &) override { return problems; }
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
    std::vector<CardOpener::Outcome> waitFor(int n)
    {
        while (static_cast<int>(outcomes.size()) < n)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
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
    struct Case
    {
        const char *name;
        QUrl url;
        bool plays;
        CardOpener::Outcome outcome;
        QStringList steps;
    };
    const Case cases[] = {
        {"no trip",
         {},
         true,
         CardOpener::Outcome::NoRecordings,
         {"loadingText 0", NOT_FOUND, "saveOff", "closeStopWatch", "title"}},
        {"version 0713",
         writtenSampleCard(0x0713),
         true,
         CardOpener::Outcome::UnreadableFile,
         {"loadingText 0", "clearPlayer", UNREADABLE, "closeStopWatch", "title"}},
        {"nothing playable",
         writtenSampleCard(),
         false,
         CardOpener::Outcome::NothingPlayable,
         {"loadingText 0", "workers", "show", "play", NOT_FOUND, "saveOff"}},
        {"success",
         writtenSampleCard(),
         true,
         CardOpener::Outcome::Opened,
         {"loadingText 0", "workers", "show", "play", "title"}},
    };
    for (const Case &c : cases) {
        Fixture f;
        f.host.plays = c.plays;
        if (c.url.isEmpty())
            f.opener.loadCard = [](CardData &, const QUrl &) {};
        f.opener.openVideoData(c.url, true, MovieType::Backup);
        EXPECT_TRUE(f.host.loading) << c.name;
        EXPECT_EQ(f.host.steps.mid(0, 3), QStringList({"keepMapState", "reset", "autoPlay 1"})) << c.name;
        EXPECT_EQ(f.waitFor(1), std::vector{c.outcome}) << c.name;
        EXPECT_EQ(f.completionSteps(), c.steps) << c.name;
        EXPECT_FALSE(f.host.loading) << c.name;
        const bool open = c.outcome == CardOpener::Outcome::Opened;
        EXPECT_EQ(f.opener.openMovieType().has_value(),
                  open || c.outcome == CardOpener::Outcome::NothingPlayable)
            << c.name;
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

TEST(CardOpenerTest, ReaderProblemsShowOnceInOneMessageAfterOpening)
{
    Fixture f;
    f.host.problems = {"20260101_0001.MP4", "20260101_0002.MP4"};
    f.opener.openVideoData(writtenSampleCard(), false, MovieType::Card);
    f.waitFor(1);
    const QStringList warnings = f.host.steps.filter("warn:");
    ASSERT_EQ(warnings.size(), 1);
    EXPECT_TRUE(warnings[0].contains("20260101_0001.MP4\n20260101_0002.MP4"));
    EXPECT_EQ(f.host.steps.last(), warnings[0]) << "after the card has opened";
}
