#include "card/ThumbnailCache.h"

std::optional<QUrl> ThumbnailCache::pathThumbnail() const
{
    std::lock_guard lock(_mutex);
    return _pathThumbnail;
}

void ThumbnailCache::setPathThumbnail(std::optional<QUrl> path)
{
    std::lock_guard lock(_mutex);
    _pathThumbnail = std::move(path);
}

int64_t ThumbnailCache::retryCntThumbnail() const
{
    std::lock_guard lock(_mutex);
    return _retryCntThumbnail;
}

void ThumbnailCache::addRetryCntThumbnail()
{
    std::lock_guard lock(_mutex);
    ++_retryCntThumbnail;
}

std::optional<QUrl> ThumbnailCache::pathOrCountAttempt()
{
    std::lock_guard lock(_mutex);
    if (_pathThumbnail)
        return _pathThumbnail;
    ++_retryCntThumbnail;
    return std::nullopt;
}
