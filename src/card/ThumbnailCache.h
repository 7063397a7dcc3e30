// A still that is made at most once at a time and then kept: its path, the attempts counted at it, and
// the lock its maker holds meanwhile. Chapters and event records share it with the card's workers.
#pragma once

#include <QUrl>
#include <cstdint>
#include <mutex>
#include <optional>

class ThumbnailCache
{
public:
    ThumbnailCache() = default;
    ThumbnailCache(const ThumbnailCache &) = delete;
    ThumbnailCache &operator=(const ThumbnailCache &) = delete;

    std::optional<QUrl> pathThumbnail() const;
    void setPathThumbnail(std::optional<QUrl> path);
    int64_t retryCntThumbnail() const;
    void addRetryCntThumbnail();
    // The kept still, or none after counting a new attempt: one step, so that two makers that
    // both found no still count two attempts only when both really try.
    std::optional<QUrl> pathOrCountAttempt();
    // Held while the still is being made, so that two callers never make it at once. Taken before
    // the cache's own lock, never the other way round.
    std::unique_lock<std::mutex> lockThumbnailBuild() const { return std::unique_lock(_buildMutex); }

private:
    mutable std::mutex _mutex;
    mutable std::mutex _buildMutex;
    std::optional<QUrl> _pathThumbnail; // the JPEG still
    int64_t _retryCntThumbnail = 0;
};
