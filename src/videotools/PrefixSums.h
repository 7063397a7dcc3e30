// Whole numbers kept by index with their running sums (a Fenwick tree): a value changed and a sum of the
// values before an index both cost log n, so a sum over a long list is never a walk over it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class PrefixSums
{
public:
    explicit PrefixSums(size_t count = 0) : _tree(count + 1, 0) {}

    size_t size() const { return _tree.size() - 1; }
    void add(size_t index, int64_t value)
    {
        for (size_t i = index + 1; i < _tree.size(); i += i & (~i + 1))
            _tree[i] += value;
    }
    // The sum of the values at indices below end (end clamped to the size).
    int64_t sumBefore(size_t end) const
    {
        int64_t sum = 0;
        for (size_t i = end < size() ? end : size(); i > 0; i -= i & (~i + 1))
            sum += _tree[i];
        return sum;
    }

private:
    std::vector<int64_t> _tree; // 1-based
};
