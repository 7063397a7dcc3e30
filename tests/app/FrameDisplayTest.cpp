#include "app/FrameDisplay.h"
#include "card/ChapterData.h"
#include "card/VrecMoveManagerInfo.h"
#include "recording/FrameTable.h"

#include <gtest/gtest.h>

namespace {
VideoFrame frame(int32_t lat, int32_t lng, IconId direction, bool gps)
{
    VideoFrame f;
    f._latitude = lat;
    f._longitude = lng;
    f.ex.direction = direction;
    f.gps = gps;
    return f;
}

FrameTable tableOf(const std::vector<std::pair<int, VideoFrame>> &frames)
{
    auto pool = std::make_shared<FramePool>();
    std::vector<std::pair<int, uint32_t>> pairs;
    for (const auto &[key, f] : frames)
        pairs.emplace_back(key, pool->add(f));
    return FrameTable(pool, std::make_shared<CameraKeys>(CameraKeys::fromPairs(std::move(pairs))));
}

std::shared_ptr<ChapterData> recordChapter(int32_t lat, int32_t lng)
{
    auto chapter = std::make_shared<ChapterData>(QUrl(), nullptr, ChapterData::Records{});
    chapter->_vmmInfo = std::make_shared<VrecMoveManagerInfo>(std::span<const uint8_t>());
    chapter->_vmmInfo->_latitude = lat;
    chapter->_vmmInfo->_longitude = lng;
    return chapter;
}
} // namespace

TEST(FrameDisplayTest, CarFromTheFrameAtOrBeforeThePositionElseTheItemsFirstPositionHeadingNorth)
{
    const FrameTable frames =
        tableOf({{100, frame(10, 20, IconId::NorthEast, true)}, {200, frame(0, 5, IconId::NorthWest, true)}});
    const ChapterList located{recordChapter(0, 0), recordChapter(7, 8)};
    const CarFix fallback{7, 8, IconId::North, false};
    struct Case
    {
        int64_t offset;
        const ChapterList *chapters;
        std::optional<CarFix> car;
    } const cases[] = {
        {100, &located, CarFix{10, 20, IconId::NorthEast, true}},
        {199, &located, CarFix{10, 20, IconId::NorthEast, true}},
        {250, &located, fallback}, // latitude 0 with a longitude counts as no fix
        {50, &located, fallback},  // before the first frame
    };
    for (const Case &c : cases)
        EXPECT_EQ(FrameDisplay::carPosition(&frames, c.offset, nullptr, *c.chapters), c.car) << c.offset;
    const ChapterList nowhere{recordChapter(0, 0)};
    EXPECT_EQ(FrameDisplay::carPosition(&frames, 250, nullptr, nowhere), std::nullopt) << "the car stays";
    EXPECT_EQ(FrameDisplay::carPosition(nullptr, 0, nullptr, located), fallback);
}

TEST(FrameDisplayTest, SpeedRunTableCountsTheFirstStampTwiceAndGivesWhatIsLeftOfEachRun)
{
    const SpeedRunEntry entries[] = {{40, 10}, {100, 10}, {200, 20}, {300, 20}};
    const SpeedDurationTable table = FrameDisplay::speedRunTable(entries);
    const std::pair<int32_t, double> expected[] = {{40, 0.14}, {100, 0.08}, {200, 0.2}, {300, 0.1}};
    ASSERT_EQ(table.size(), std::size(expected));
    for (const auto &[stamp, seconds] : expected)
        EXPECT_NEAR(table.at(stamp), seconds, 1e-9) << stamp;
    EXPECT_TRUE(FrameDisplay::speedRunTable({}).empty());
}
