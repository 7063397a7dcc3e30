// The car's fallback place is walked for once per item and chapter: the walk may read earlier chapters'
// driving data again, and the per-frame display asks for it on every tick.
#include "app/LastKnownCar.h"

#include "card/ChapterData.h"
#include "player/PlayMovieValueInfo.h"

#include <gtest/gtest.h>

TEST(LastKnownCarTest, WalksOncePerItemAndChapter)
{
    const auto itemA = std::make_shared<PlayMovieValueInfo>();
    const auto itemB = std::make_shared<PlayMovieValueInfo>();
    const auto chapter1 = std::make_shared<ChapterData>(QUrl(), nullptr, ChapterData::Records{});
    const auto chapter2 = std::make_shared<ChapterData>(QUrl(), nullptr, ChapterData::Records{});
    struct Ask
    {
        const char *what;
        std::shared_ptr<PlayMovieValueInfo> item;
        std::shared_ptr<ChapterData> chapter;
        bool forgetFirst;
        int walksAfter;
    };
    const Ask asks[] = {
        {"first tick", itemA, chapter1, false, 1},
        {"ticks in the same chapter", itemA, chapter1, false, 1},
        {"and again", itemA, chapter1, false, 1},
        {"the next chapter", itemA, chapter2, false, 2},
        {"back to the first", itemA, chapter1, false, 3},
        {"another item on the same chapter", itemB, chapter1, false, 4},
        {"after forgetting", itemB, chapter1, true, 5},
        {"no chapter", itemB, nullptr, false, 6},
        {"still none", itemB, nullptr, false, 6},
    };
    LastKnownCar car;
    int walks = 0;
    for (const Ask &ask : asks) {
        if (ask.forgetFirst)
            car.forget();
        const auto fix = car.at(ask.item, ask.chapter, [&] {
            ++walks;
            return std::optional<CarFix>(CarFix{walks, -walks});
        });
        EXPECT_EQ(walks, ask.walksAfter) << ask.what;
        ASSERT_TRUE(fix) << ask.what;
        EXPECT_EQ(fix->latitude, walks) << ask.what << ": the answer of the latest walk";
    }
}

TEST(LastKnownCarTest, AnAnswerOfNoPlaceIsKeptToo)
{
    const auto item = std::make_shared<PlayMovieValueInfo>();
    LastKnownCar car;
    int walks = 0;
    const auto nowhere = [&] {
        ++walks;
        return std::optional<CarFix>();
    };
    EXPECT_FALSE(car.at(item, nullptr, nowhere));
    EXPECT_FALSE(car.at(item, nullptr, nowhere));
    EXPECT_EQ(walks, 1) << "a card without positions must not read every chapter on every tick";
}
