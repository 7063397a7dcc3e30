// The frames of one camera: a sorted array of keys (signed ms from the recording's first counter value)
// with the pool slot of each, read by binary search. A table is never changed once published; holders
// keep a consistent view while another thread looks up in the same recording.
#pragma once

#include "recording/FramePool.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

// The keys and indices of one camera. Slots are left empty when slot i is simply i, as for the frames of
// one MP4 chapter, and a placeholder table holds its single frame itself.
struct CameraKeys
{
    std::vector<int32_t> keys;
    std::vector<uint32_t> indices;
    std::optional<VideoFrame> placeholder;

    // From (key, slot) pairs in filing order: the first pair filed under a key keeps it.
    static CameraKeys fromPairs(std::vector<std::pair<int, uint32_t>> pairs);
    uint32_t slot(size_t i) const { return indices.empty() ? uint32_t(i) : indices[i]; }
    bool sameAs(const CameraKeys &other) const;
};

class FrameTable
{
public:
    struct Entry
    {
        int key = 0;
        VideoFrame frame;
    };
    class Iterator
    {
    public:
        Iterator(const FrameTable *table, size_t i) : _table(table), _i(i) {}
        Entry operator*() const { return {_table->key(_i), _table->frame(_i)}; }
        Iterator &operator++()
        {
            ++_i;
            return *this;
        }
        bool operator==(const Iterator &other) const { return _i == other._i; }

    private:
        const FrameTable *_table;
        size_t _i;
    };

    FrameTable(std::shared_ptr<const FramePool> pool, std::shared_ptr<const CameraKeys> keys);

    size_t size() const { return _keys->keys.size(); }
    bool empty() const { return _keys->keys.empty(); }
    int key(size_t i) const { return _keys->keys[i]; }
    VideoFrame frame(size_t i) const;
    std::span<const int32_t> keys() const { return _keys->keys; }
    // Position of the key in the table, if it is there.
    std::optional<size_t> indexOf(int64_t key) const;
    std::optional<VideoFrame> find(int64_t key) const;
    // The frame at a key that is there; throws std::out_of_range otherwise.
    VideoFrame at(int64_t key) const;
    bool contains(int64_t key) const { return indexOf(key).has_value(); }
    Iterator begin() const { return {this, 0}; }
    Iterator end() const { return {this, size()}; }

    const std::shared_ptr<const CameraKeys> &cameraKeys() const { return _keys; }

private:
    std::shared_ptr<const FramePool> _pool;
    std::shared_ptr<const CameraKeys> _keys;
};
