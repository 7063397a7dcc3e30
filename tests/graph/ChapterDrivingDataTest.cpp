#include "graph/ChapterDrivingData.h"
#include "card/PictureDataUtil.h"
#include "graph/CircleChartModel.h"
#include "graph/DrivingInfoModel.h"
#include "graph/SpeedDurations.h"

#include "TripFixture.h"

#include <gtest/gtest.h>

TEST(ChapterDrivingDataTest, GeneratedTripReadsAsTheTimelineDoes)
{
    TripFixture trip({3000, 4000});
    ASSERT_TRUE(trip.error.isEmpty()) << qPrintable(trip.error);
    auto source = std::make_shared<ChapterDrivingData>(trip.chapters);
    const ChapterTimeline timeline(trip.chapters);
    ASSERT_EQ(source->chapterCount(), 2u);
    for (const int32_t position : {0, 1500, 3000, 3001, 5000, 7001, 9000}) {
        const auto frame = PictureDataUtil::getVideoFrame(timeline, position);
        const auto sample = source->sampleAtPosition(position);
        ASSERT_TRUE(frame && sample) << position;
        EXPECT_EQ(sample->speedKmh, frame->speed) << position;
        EXPECT_EQ(sample->gX, frame->gX);
        EXPECT_EQ(sample->time, frame->time);
        EXPECT_EQ(sample->movieTimeStampMs, frame->_movieTimeStamp);
    }

    // The fixture's speed climbs from 40 to 60 km/h: the second chapter's series and a meter table.
    DrivingInfoModel model;
    DrivingInfoModel::Settings settings;
    settings.timeZone = "UTC";
    model.loadMovieChapters(source, settings);
    model.setValue(5000, settings);
    EXPECT_EQ(model.minValue(), source->position(1, 0));
    const auto &speed = model.chart().speedData;
    ASSERT_FALSE(speed.empty());
    EXPECT_LE(speed.begin()->second, speed.rbegin()->second);
    EXPECT_GE(speed.begin()->second, 40);

    std::vector<DrivingSample> frames;
    for (int32_t offset = 0; offset <= source->chapterSpan(1); offset += 10) {
        const auto sample = source->sampleAt(1, offset);
        if (sample && (frames.empty() || frames.back().movieTimeStampMs != sample->movieTimeStampMs))
            frames.push_back(*sample);
    }
    const SpeedDurationTable table = SpeedDurations::build(frames);
    EXPECT_EQ(table.size(), frames.size());
    EXPECT_LE(*SpeedDurations::lookup(table, frames.front().movieTimeStampMs), 4.0);

    CircleChartModel chart;
    chart.loadMovieChapters(source);
    chart.updateMarker(5000, CommonConst::PlayStatus::Stop);
    EXPECT_FALSE(chart.trace().front().points.empty());
}
