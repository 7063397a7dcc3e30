#include "card/EventRecordCache.h"

std::shared_ptr<ChapterData> EventRecordCache::eventChapter() const
{
    std::lock_guard lock(_chapterMutex);
    return _eventChapter.lock();
}

void EventRecordCache::setEventChapter(std::shared_ptr<ChapterData> chapter)
{
    std::lock_guard lock(_chapterMutex);
    _eventChapter = std::move(chapter);
}
