#include "map/MapPoint.h"

#include <gtest/gtest.h>

#include <set>
#include <utility>

TEST(MapPointTest, EveryIconHasItsPageCode)
{
    const std::pair<IconId, qint64> table[] = {
        {IconId::None, 1},
        {IconId::GDetection, 2},
        {IconId::SpeedOver, 3},
        {IconId::Accel, 4},
        {IconId::Brake, 5},
        {IconId::Handle, 6},
        {IconId::Idling, 53},
        {IconId::OverEngineSpeed, 62},
        {IconId::North, 9},
        {IconId::NorthEast, 8},
        {IconId::East, 7},
        {IconId::SouthEast, 14},
        {IconId::South, 13},
        {IconId::SouthWest, 12},
        {IconId::West, 11},
        {IconId::NorthWest, 10},
        {IconId::PlaybackGDetection, 15},
        {IconId::PlaybackSpeedOver, 16},
        {IconId::PlaybackAccel, 17},
        {IconId::PlaybackBrake, 18},
        {IconId::PlaybackHandle, 19},
        {IconId::PlaybackIdling, 54},
        {IconId::PlaybackOverEngineSpeed, 63},
        {IconId::NNEast, 20},
        {IconId::NorthEE, 21},
        {IconId::SouthEE, 22},
        {IconId::SSEast, 23},
        {IconId::SSWest, 24},
        {IconId::SouthWW, 25},
        {IconId::NorthWW, 26},
        {IconId::NNWest, 27},
        {IconId::Pin_Red, 60},
        {IconId::Pin_Blue, 61},
        {IconId::Pin_Gray, 65},
        {IconId::Pin_Red_focus, 66},
        {IconId::Pin_Blue_focus, 67},
        {IconId::Pin_Gray_focus, 68},
    };
    static_assert(std::size(table) == 37);
    std::set<qint64> codes;
    for (const auto &[icon, code] : table) {
        EXPECT_EQ(MapPoint::iconCode(icon), code) << caseName(icon).toStdString();
        codes.insert(code);
    }
    EXPECT_EQ(codes.size(), 37u);
}

TEST(MapPointTest, InitialisersSetOnlyTheirIndices)
{
    const MapPoint event(1.5, 2.5, "msg", MarkerType::EVENT, 4);
    EXPECT_EQ(event.eventIndex, 4);
    EXPECT_EQ(event.tripIndex, -1);
    EXPECT_EQ(event.chapterIndex, -1);
    EXPECT_EQ(event.icon, IconId::None);
    EXPECT_FALSE(event.isGps);

    const MapPoint trip(1.5, 2.5, "msg", MarkerType::NORMAL, 2, 7);
    EXPECT_EQ(trip.tripIndex, 2);
    EXPECT_EQ(trip.chapterIndex, 7);
    EXPECT_EQ(trip.eventIndex, -1);
    EXPECT_EQ(trip.msg, "msg");
}

TEST(MapPointTest, ClearPutsEverythingBack)
{
    MapPoint p(1.5, 2.5, "msg", MarkerType::ADVENTURE, 2, 7);
    p.icon = IconId::NorthWest;
    p.isGps = true;
    p.eventIndex = 3;
    p.clear();
    EXPECT_EQ(p.lat, 0.0);
    EXPECT_EQ(p.lng, 0.0);
    EXPECT_EQ(p.icon, IconId::None);
    EXPECT_EQ(MapPoint::iconCode(p.icon), 1);
    EXPECT_FALSE(p.isGps);
    EXPECT_TRUE(p.msg.isEmpty());
    EXPECT_EQ(p.marker, MarkerType::NORMAL);
    EXPECT_EQ(p.tripIndex, -1);
    EXPECT_EQ(p.chapterIndex, -1);
    EXPECT_EQ(p.eventIndex, -1);
}
