// The clip arithmetic of the card library: which chapters, and which stretch of them, play for an
// event, a surveillance or an adventure record. Plain functions over chapters and records.
#pragma once

#include "card/EventClip.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class AdvMoveProtectInfo;
class ChapterData;

class EventClipBuilder
{
public:
    using ChapterOf = std::function<std::shared_ptr<ChapterData>(AdvMoveProtectInfo &)>;

    // 12 s before to 8 s after a G or SW event stamped at recordTimeStamp in eventChapter, over the
    // consecutive neighbouring chapters; no chapters when the event's chapter is unknown.
    static EventClip eventClip(const std::shared_ptr<ChapterData> &eventChapter, uint32_t recordTimeStamp);
    // 60 s from a surveillance event onwards.
    static EventClip surveillanceClip(const std::shared_ptr<ChapterData> &eventChapter,
                                      uint32_t recordTimeStamp);
    // The run of consecutive adventure files around the record among records (list order; the first
    // record of a file counts), each file's chapter found by chapterOf.
    static EventClip adventureClip(AdvMoveProtectInfo &record,
                                   const std::vector<std::shared_ptr<AdvMoveProtectInfo>> &records,
                                   const ChapterOf &chapterOf);
};
