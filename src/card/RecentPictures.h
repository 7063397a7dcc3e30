// The driving data of the chapters used last, held for every thread. A chapter keeps only a weak
// reference to its own once read: a card of a thousand chapters would otherwise hold every
// chapter's frames for good, while the player, the graphs and the map's newest route work on a few
// chapters at a time and a chapter's data is read again in a fraction of a millisecond.
#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

class PictureData;

class RecentPictures
{
public:
    // Enough for the chapters around the playing one, the graphs' span and the workers' hand-over
    // to the main thread.
    static constexpr size_t CAPACITY = 32;

    static RecentPictures &shared();

    // Puts the data first; the least recently kept beyond the capacity is let go.
    void keep(const std::shared_ptr<PictureData> &picture);
    // Lets every kept data go (what the chapters' users still hold stays).
    void clear();
    size_t size() const;

private:
    mutable std::mutex _mutex;
    std::vector<std::shared_ptr<PictureData>> _kept; // most recent last
};
