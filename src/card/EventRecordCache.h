// The values an event record gains after parsing (its chapter, its still, the still's retries), shared by the
// main thread and the card's workers, hence the lock.
#pragma once

#include "card/ThumbnailCache.h"

#include <QUrl>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

class ChapterData;

class EventRecordCache : public ThumbnailCache
{
public:
    EventRecordCache() = default;

    std::shared_ptr<ChapterData> eventChapter() const;
    void setEventChapter(std::shared_ptr<ChapterData> chapter);

private:
    mutable std::mutex _chapterMutex;
    // The cached chapter of the record, while its trip holds it. Weak: the trips own their chapters,
    // and a chapter links back to its adventure record.
    std::weak_ptr<ChapterData> _eventChapter;
};
