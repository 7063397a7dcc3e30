#include "recording/FrameTable.h"

#include <algorithm>
#include <stdexcept>

CameraKeys CameraKeys::fromPairs(std::vector<std::pair<int, uint32_t>> pairs)
{
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    CameraKeys table;
    table.keys.reserve(pairs.size());
    table.indices.reserve(pairs.size());
    bool identity = true;
    for (const auto &[key, slot] : pairs) {
        if (!table.keys.empty() && table.keys.back() == key)
            continue;
        identity = identity && slot == table.keys.size();
        table.keys.push_back(key);
        table.indices.push_back(slot);
    }
    if (identity)
        table.indices = {};
    table.keys.shrink_to_fit();
    table.indices.shrink_to_fit();
    return table;
}

bool CameraKeys::sameAs(const CameraKeys &other) const
{
    return !placeholder && !other.placeholder && keys == other.keys && indices == other.indices;
}

FrameTable::FrameTable(std::shared_ptr<const FramePool> pool, std::shared_ptr<const CameraKeys> keys)
    : _pool(std::move(pool)), _keys(std::move(keys))
{
}

VideoFrame FrameTable::frame(size_t i) const
{
    if (_keys->placeholder)
        return *_keys->placeholder;
    return _pool->at(_keys->slot(i));
}

std::optional<size_t> FrameTable::indexOf(int64_t key) const
{
    const auto &keys = _keys->keys;
    const auto it = std::lower_bound(keys.begin(), keys.end(), key,
                                     [](int32_t k, int64_t wanted) { return int64_t(k) < wanted; });
    if (it == keys.end() || *it != key)
        return std::nullopt;
    return size_t(it - keys.begin());
}

std::optional<VideoFrame> FrameTable::find(int64_t key) const
{
    if (const auto i = indexOf(key))
        return frame(*i);
    return std::nullopt;
}

VideoFrame FrameTable::at(int64_t key) const
{
    if (const auto i = indexOf(key))
        return frame(*i);
    throw std::out_of_range("no frame at this key");
}
