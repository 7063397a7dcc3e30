// The chapters of the item shown, as the driving-data views read them: timeline arithmetic and the frame
// at a chapter offset.
#pragma once

#include "graph/DrivingSample.h"

#include <cstddef>
#include <cstdint>
#include <optional>

class DrivingDataSource
{
public:
    virtual ~DrivingDataSource() = default;

    virtual size_t chapterCount() const = 0;
    // Chapter and offset of a timeline position, clamped into the list (index 0 for an empty list).
    virtual void chapterPosition(int32_t position, int64_t &index, int32_t &offset) const = 0;
    // Timeline position of an offset in a chapter.
    virtual int32_t position(int64_t index, int32_t offset) const = 0;
    // The chapter's length on the timeline (its last offset), ms.
    virtual int32_t chapterSpan(size_t index) const = 0;
    // The frame of camera 0 at an offset, building the chapter's driving data when it is missing; none
    // when the chapter's recording cannot be read.
    virtual std::optional<DrivingSample> sampleAt(size_t index, int32_t offset) = 0;

    bool isValidIndex(int64_t index) const
    {
        return index >= 0 && index < static_cast<int64_t>(chapterCount());
    }
    // The frame at a timeline position; none for an empty list.
    std::optional<DrivingSample> sampleAtPosition(int32_t position)
    {
        int64_t index = 0;
        int32_t offset = 0;
        chapterPosition(position, index, offset);
        if (!isValidIndex(index))
            return std::nullopt;
        return sampleAt(static_cast<size_t>(index), offset);
    }
};
