#include "card/EventClipBuilder.h"

#include "card/AdvMoveProtectInfo.h"
#include "card/ChapterData.h"
#include "card/PictureDataUtil.h"
#include "recording/FileUtil.h"

#include <QHash>
#include <QPair>
#include <QSet>

#include <algorithm>
#include <limits>

namespace {

// Clip windows and the numbering of the camera's files (1..9999, then 1 again).
constexpr int64_t kLeadInLimit = 11999;
constexpr int64_t kLeadOutLimit = 7999;
constexpr int64_t kSurveillanceLimit = 59999;
constexpr int64_t kLeadInWindow = 12000;
constexpr int64_t kLeadOutWindow = 8000;
constexpr int64_t kSurveillanceWindow = 60000;
constexpr int32_t kLastFileNumber = 9999;

// p comes directly before k, walking back.
bool precedes(const ChapterData &p, const ChapterData &k)
{
    return p.fileNumber() < kLastFileNumber ? p.fileNumber() + 1 == k.fileNumber() : k.fileNumber() == 1;
}

// q comes directly after k (event form).
bool followsEvent(const ChapterData &q, const ChapterData &k)
{
    return q.fileNumber() > 1 ? q.fileNumber() - 1 == k.fileNumber() : k.fileNumber() == kLastFileNumber;
}

// q comes directly after k (surveillance form).
bool followsSurveillance(const ChapterData &q, const ChapterData &k)
{
    return k.fileNumber() < kLastFileNumber ? k.fileNumber() + 1 == q.fileNumber() : q.fileNumber() == 1;
}

// Milliseconds from a chapter's start to a record's time stamp. A record stamped before its
// chapter (the camera's counter restarted) would wrap an unsigned subtraction into a huge
// offset; it is placed at the chapter's start instead.
int64_t offsetInto(uint32_t recordTimeStamp, ChapterData &chapter)
{
    return std::max<int64_t>(0, static_cast<int64_t>(recordTimeStamp) -
                                    static_cast<int64_t>(chapter.timeStamp()));
}

int32_t narrow(int64_t value)
{
    return static_cast<int32_t>(std::min<int64_t>(value, std::numeric_limits<int32_t>::max()));
}
} // namespace

EventClip EventClipBuilder::eventClip(const std::shared_ptr<ChapterData> &eventChapter,
                                      uint32_t recordTimeStamp)
{
    EventClip clip;
    if (!eventChapter)
        return clip;
    const auto d = offsetInto(recordTimeStamp, *eventChapter);

    ChapterList earlier;
    int64_t acc = d;
    auto k = eventChapter;
    for (auto p = eventChapter->previousChapter(); p; p = p->previousChapter()) {
        if (acc > kLeadInLimit || !precedes(*p, *k))
            break;
        earlier.push_back(p);
        acc += p->frameTimeSpan();
        k = p;
    }

    ChapterList later;
    int64_t rem = eventChapter->frameTimeSpan() - d;
    k = eventChapter;
    for (auto q = eventChapter->nextChapter(); q; q = q->nextChapter()) {
        if (rem > kLeadOutLimit || !followsEvent(*q, *k))
            break;
        later.push_back(q);
        rem += q->frameTimeSpan();
        k = q;
    }

    ChapterList chapters(earlier.rbegin(), earlier.rend());
    chapters.push_back(eventChapter);
    chapters.insert(chapters.end(), later.begin(), later.end());
    // The record's place in its own chapter on the timeline, where each chapter takes one position more than
    // its time span: the time since the first chapter's start would land a millisecond early per border
    // crossed, on the record before the event's own.
    clip.position = PictureDataUtil::getPosition(chapters, static_cast<int64_t>(earlier.size()), narrow(d));
    clip.start = std::max<int64_t>(0, clip.position - kLeadInWindow);
    clip.end = std::min<int64_t>(clip.position + kLeadOutWindow, PictureDataUtil::getTotalLength(chapters));
    clip.chapters = std::move(chapters);
    return clip;
}

EventClip EventClipBuilder::surveillanceClip(const std::shared_ptr<ChapterData> &eventChapter,
                                             uint32_t recordTimeStamp)
{
    EventClip clip;
    if (!eventChapter)
        return clip;
    const auto d = offsetInto(recordTimeStamp, *eventChapter);

    ChapterList chapters{eventChapter};
    int64_t rem = eventChapter->frameTimeSpan() - d;
    auto k = eventChapter;
    for (auto q = eventChapter->nextChapter(); q; q = q->nextChapter()) {
        if (rem > kSurveillanceLimit || !followsSurveillance(*q, *k))
            break;
        chapters.push_back(q);
        rem += q->frameTimeSpan();
        k = q;
    }
    clip.position = d;
    clip.start = d;
    clip.end = std::min<int64_t>(d + kSurveillanceWindow, PictureDataUtil::getTotalLength(chapters));
    clip.chapters = std::move(chapters);
    return clip;
}

EventClip EventClipBuilder::adventureClip(AdvMoveProtectInfo &record,
                                          const std::vector<std::shared_ptr<AdvMoveProtectInfo>> &records,
                                          const ChapterOf &chapterOf)
{
    EventClip clip;
    clip.position = -1;
    const auto ownChapter = chapterOf(record);
    if (!ownChapter)
        return clip;

    // The first record of each trip key and file number, in list order: the walk's look-up.
    QHash<QPair<QString, int32_t>, AdvMoveProtectInfo *> firstRecord;
    for (const auto &a : records) {
        const auto at = qMakePair(FileUtil::getTripKey(a->_fileName), a->fileNumber());
        if (!firstRecord.contains(at))
            firstRecord.insert(at, a.get());
    }
    // Walks over the neighbouring records of the same trip key. Records covering every number
    // would lead a walk round in a circle; a walk stops at a record either walk has visited.
    QSet<const AdvMoveProtectInfo *> visited{&record};
    const auto walk = [&chapterOf, &record, &firstRecord, &visited](bool backwards) {
        ChapterList found;
        const AdvMoveProtectInfo *cur = &record;
        for (;;) {
            const auto curNumber = cur->fileNumber();
            // The neighbour's number: before 1 comes 9999, after 9999 comes 1.
            const int32_t wanted = backwards ? (curNumber == 1 ? kLastFileNumber : curNumber - 1)
                                             : (curNumber == kLastFileNumber ? 1 : curNumber + 1);
            auto *next = firstRecord.value(qMakePair(FileUtil::getTripKey(cur->_fileName), wanted), nullptr);
            if (!next || visited.contains(next))
                break;
            visited.insert(next);
            if (auto chapter = chapterOf(*next))
                found.push_back(chapter);
            cur = next;
        }
        return found;
    };
    const auto earlier = walk(true);
    const auto later = walk(false);

    ChapterList chapters;
    const auto addOnce = [&chapters](const std::shared_ptr<ChapterData> &chapter) {
        if (std::find(chapters.begin(), chapters.end(), chapter) == chapters.end())
            chapters.push_back(chapter);
    };
    std::for_each(earlier.rbegin(), earlier.rend(), addOnce);
    addOnce(ownChapter);
    std::for_each(later.begin(), later.end(), addOnce);
    clip.start = 0;
    clip.end = PictureDataUtil::getTotalLength(chapters);
    clip.chapters = std::move(chapters);
    return clip;
}
