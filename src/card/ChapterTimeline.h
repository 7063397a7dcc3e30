// A chapter list laid end to end with its chapter starts worked out once, for conversions on every playback
// tick.
#pragma once

#include "card/TripData.h"

#include <cstdint>
#include <vector>

// Chapter lengths never change once known (see ChapterData::frameTimeSpan), so the starts are
// computed when the timeline is made, from the lengths known so far: making it builds no driving data.
// A length not known for good yet (the workers have not read its chapter) is the movie's own until
// refresh() takes the one they learned.
class ChapterTimeline
{
public:
    ChapterTimeline() = default;
    explicit ChapterTimeline(ChapterList chapters);

    // Every length is known for good.
    bool isSettled() const { return _unsettled.empty(); }
    // Takes the lengths learned since; true when any changed (the starts after it moved). Asks only the
    // chapters whose length revision moved since they were last asked: a hand-over costs a look at one
    // chapter, not at every chapter still unsettled.
    bool refresh();
    // How many lengths this timeline has asked its chapters for, from its making on.
    uint64_t lengthsAsked() const { return _lengthsAsked; }

    const ChapterList &chapters() const { return _chapters; }
    size_t size() const { return _chapters.size(); }
    bool empty() const { return _chapters.empty(); }
    // L(i), narrowed to 32 bits.
    int32_t length(size_t index) const { return _lengths[index]; }
    // S(i) for i in 0..n; S(n) is one past the last position.
    int32_t start(size_t index) const { return _starts[index]; }
    int32_t totalLength() const;

    void chapterPosition(int32_t position, int64_t &index, int32_t &offset) const;
    int32_t position(int64_t index, int32_t offset) const;

    // A position as its chapter and offset: what a mark keeps across a refresh.
    struct Place
    {
        int64_t index = 0;
        int32_t offset = 0;
    };
    Place place(int64_t position) const;
    // Where the place is now; past the end of a chapter that came out shorter, on its last position.
    int64_t position(const Place &at) const;

private:
    ChapterList _chapters;
    std::vector<int32_t> _lengths;
    std::vector<int32_t> _starts;
    struct Unsettled
    {
        size_t index;      // of a length not known for good
        uint32_t revision; // the chapter's length revision when it was last asked
    };
    std::vector<Unsettled> _unsettled;
    uint64_t _lengthsAsked = 0;
};
