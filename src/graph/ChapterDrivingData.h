// The driving-data source over a chapter list of the card library.
#pragma once

#include "card/ChapterTimeline.h"
#include "graph/DrivingDataSource.h"

class ChapterDrivingData : public DrivingDataSource
{
public:
    explicit ChapterDrivingData(ChapterList chapters);

    size_t chapterCount() const override { return _timeline.size(); }
    void chapterPosition(int32_t position, int64_t &index, int32_t &offset) const override;
    int32_t position(int64_t index, int32_t offset) const override;
    int32_t chapterSpan(size_t index) const override { return _timeline.length(index); }
    std::optional<DrivingSample> sampleAt(size_t index, int32_t offset) override;
    // Takes the chapter lengths the workers learned since (see ChapterTimeline::refresh).
    bool refreshTimeline() { return _timeline.refresh(); }

private:
    ChapterTimeline _timeline;
};
