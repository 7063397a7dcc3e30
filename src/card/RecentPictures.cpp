#include "card/RecentPictures.h"

#include "recording/PictureData.h"

#include <algorithm>

RecentPictures &RecentPictures::shared()
{
    static RecentPictures instance;
    return instance;
}

void RecentPictures::keep(const std::shared_ptr<PictureData> &picture)
{
    if (!picture)
        return;
    std::shared_ptr<PictureData> dropped; // freed after the lock
    std::lock_guard lock(_mutex);
    if (!_kept.empty() && _kept.back() == picture)
        return; // the playing chapter, asked for on every tick
    const auto it = std::find(_kept.begin(), _kept.end(), picture);
    if (it != _kept.end()) {
        std::rotate(it, it + 1, _kept.end());
        return;
    }
    if (_kept.size() >= CAPACITY) {
        dropped = std::move(_kept.front());
        _kept.erase(_kept.begin());
    }
    _kept.push_back(picture);
}

void RecentPictures::clear()
{
    std::vector<std::shared_ptr<PictureData>> dropped;
    std::lock_guard lock(_mutex);
    dropped.swap(_kept);
}

size_t RecentPictures::size() const
{
    std::lock_guard lock(_mutex);
    return _kept.size();
}
