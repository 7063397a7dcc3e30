// Timeline arithmetic over a chapter list: position <-> chapter and offset, total length, frame lookup.
#pragma once

#include "recording/VideoFrame.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

class ChapterData;
class ChapterTimeline;

// Chapter i of a list occupies the positions S(i) .. S(i) + L(i) inclusive, L(i) its frame time
// span, S(0) = 0 and S(i + 1) = S(i) + L(i) + 1; the total length is the last chapter's last position.
// Positions and offsets are signed 32-bit milliseconds; a chapter index is signed 64-bit.
class PictureDataUtil
{
public:
    using Chapters = std::span<const std::shared_ptr<ChapterData>>;

    // A position before the start gives chapter 0 at offset 0, one after the end the last chapter
    // at its last offset; an empty list gives index 0 and offset 0.
    static void getChapterPosition(Chapters chapters, int32_t position, int64_t &index, int32_t &offset);
    // Sum of L(j) + 1 over the chapters before min(index, n), plus the offset (not clamped).
    static int32_t getPosition(Chapters chapters, int64_t index, int32_t offset);
    static int32_t getTotalLength(Chapters chapters);
    // The driving data at a position (camera 0), building the chapter's picture data when missing.
    static std::optional<VideoFrame> getVideoFrame(Chapters chapters, int32_t position);
    // The position within its movie file of the frame at a position (camera 1).
    static std::optional<uint32_t> getMovieTimeStamp(Chapters chapters, int32_t position);

    // The same over a timeline that keeps its chapter starts: O(log n) per conversion.
    static void getChapterPosition(const ChapterTimeline &timeline, int32_t position, int64_t &index,
                                   int32_t &offset);
    static int32_t getPosition(const ChapterTimeline &timeline, int64_t index, int32_t offset);
    static int32_t getTotalLength(const ChapterTimeline &timeline);
    static std::optional<VideoFrame> getVideoFrame(const ChapterTimeline &timeline, int32_t position);
    static std::optional<uint32_t> getMovieTimeStamp(const ChapterTimeline &timeline, int32_t position);

private:
    static std::optional<VideoFrame> frameAt(ChapterData &chapter, int camera, int32_t offset);
};
