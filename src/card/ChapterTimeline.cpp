#include "card/ChapterTimeline.h"

#include "card/ChapterData.h"

#include <algorithm>
#include <limits>

ChapterTimeline::ChapterTimeline(ChapterList chapters) : _chapters(std::move(chapters))
{
    _lengths.reserve(_chapters.size());
    _starts.reserve(_chapters.size() + 1);
    int32_t start = 0;
    _starts.push_back(start);
    for (size_t i = 0; i < _chapters.size(); ++i) {
        // Read before the length: what is learned meanwhile moves it past the one kept.
        const uint32_t revision = _chapters[i]->lengthRevision();
        const auto known = _chapters[i]->frameTimeSpanSoFar();
        ++_lengthsAsked;
        if (!known.known)
            _unsettled.push_back({i, revision});
        const auto length = static_cast<int32_t>(known.span);
        _lengths.push_back(length);
        start += length + 1;
        _starts.push_back(start);
    }
}

bool ChapterTimeline::refresh()
{
    size_t firstChanged = _chapters.size();
    std::erase_if(_unsettled, [this, &firstChanged](Unsettled &at) {
        ChapterData &chapter = *_chapters[at.index];
        const uint32_t revision = chapter.lengthRevision();
        if (revision == at.revision)
            return false;
        at.revision = revision;
        const auto known = chapter.frameTimeSpanSoFar();
        ++_lengthsAsked;
        const auto length = static_cast<int32_t>(known.span);
        if (length != _lengths[at.index]) {
            _lengths[at.index] = length;
            firstChanged = std::min(firstChanged, at.index);
        }
        return known.known;
    });
    for (size_t i = firstChanged; i < _chapters.size(); ++i)
        _starts[i + 1] = _starts[i] + _lengths[i] + 1;
    return firstChanged < _chapters.size();
}

int32_t ChapterTimeline::totalLength() const
{
    return _chapters.empty() ? 0 : _starts.back() - 1;
}

void ChapterTimeline::chapterPosition(int32_t position, int64_t &index, int32_t &offset) const
{
    index = 0;
    offset = 0;
    if (_chapters.empty())
        return;
    if (position > totalLength()) {
        index = static_cast<int64_t>(_chapters.size()) - 1;
        offset = _lengths.back();
        return;
    }
    // The chapter whose start is the last one not above the position. With negative lengths the
    // starts are not monotonic; the linear walk of PictureDataUtil is the reference there, and
    // the chapter record never yields a negative length.
    const auto it = std::upper_bound(_starts.begin(), _starts.end() - 1, position);
    const auto i = it == _starts.begin() ? 0 : static_cast<size_t>(it - _starts.begin()) - 1;
    index = static_cast<int64_t>(i);
    offset = std::clamp(position - _starts[i], 0, std::max(_lengths[i], 0));
}

ChapterTimeline::Place ChapterTimeline::place(int64_t position) const
{
    Place at;
    chapterPosition(static_cast<int32_t>(std::clamp<int64_t>(position, std::numeric_limits<int32_t>::min(),
                                                             std::numeric_limits<int32_t>::max())),
                    at.index, at.offset);
    return at;
}

int64_t ChapterTimeline::position(const Place &at) const
{
    if (_chapters.empty())
        return 0;
    const auto i =
        static_cast<size_t>(std::clamp<int64_t>(at.index, 0, static_cast<int64_t>(_chapters.size()) - 1));
    return position(static_cast<int64_t>(i), std::min(at.offset, std::max(_lengths[i], 0)));
}

int32_t ChapterTimeline::position(int64_t index, int32_t offset) const
{
    const auto k = static_cast<size_t>(std::clamp<int64_t>(index, 0, static_cast<int64_t>(_chapters.size())));
    return _starts[k] + offset;
}
