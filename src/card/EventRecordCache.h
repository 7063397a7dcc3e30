// The values an event record gains after parsing (its chapter, its still, the still's retries), shared by the
// main thread and the card's workers, hence the lock.
#pragma once

#include <QUrl>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

class ChapterData;

class EventRecordCache
{
public:
    EventRecordCache() = default;
    EventRecordCache(const EventRecordCache &) = delete;
    EventRecordCache &operator=(const EventRecordCache &) = delete;

    std::shared_ptr<ChapterData> eventChapter() const;
    void setEventChapter(std::shared_ptr<ChapterData> chapter);
    std::optional<QUrl> pathThumbnail() const;
    void setPathThumbnail(std::optional<QUrl> path);
    int32_t retryCntThumbnail() const;
    void addRetryCntThumbnail();

private:
    mutable std::mutex _mutex;
    std::optional<QUrl> _pathThumbnail; // JPEG still of the event
    int32_t _retryCntThumbnail = 0;
    // The cached chapter of the record, while its trip holds it. Weak: the trips own their chapters,
    // and a chapter links back to its adventure record.
    std::weak_ptr<ChapterData> _eventChapter;
};
