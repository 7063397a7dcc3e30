#include "card/EventRecordCache.h"

std::shared_ptr<ChapterData> EventRecordCache::eventChapter() const
{
    std::lock_guard lock(_mutex);
    return _eventChapter.lock();
}

void EventRecordCache::setEventChapter(std::shared_ptr<ChapterData> chapter)
{
    std::lock_guard lock(_mutex);
    _eventChapter = std::move(chapter);
}

std::optional<QUrl> EventRecordCache::pathThumbnail() const
{
    std::lock_guard lock(_mutex);
    return _pathThumbnail;
}

void EventRecordCache::setPathThumbnail(std::optional<QUrl> path)
{
    std::lock_guard lock(_mutex);
    _pathThumbnail = std::move(path);
}

int32_t EventRecordCache::retryCntThumbnail() const
{
    std::lock_guard lock(_mutex);
    return _retryCntThumbnail;
}

void EventRecordCache::addRetryCntThumbnail()
{
    std::lock_guard lock(_mutex);
    ++_retryCntThumbnail;
}
