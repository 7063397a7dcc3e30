// A trip: the run of consecutively numbered movie files (chapters) recorded under one trip key.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

class AdvMoveProtectInfo;
class CardData;
class ChapterData;
class MoveProtectInfo;

using ChapterList = std::vector<std::shared_ptr<ChapterData>>;

class TripData : public std::enable_shared_from_this<TripData>
{
    struct Token
    {
    };

public:
    // Trips are shared (the card's lists, the chapters' back links); make them only through here.
    // parent may be null; paths are the movie files in the order the chapters are to be made.
    static std::shared_ptr<TripData> create(CardData *parent, const QList<QUrl> &paths, const QString &name);
    TripData(Token, CardData *parent, QString name);
    TripData(const TripData &) = delete;
    TripData &operator=(const TripData &) = delete;

    // Replaces the chapters, one per movie path in the given order, each handed the card's management
    // records of its file; the list is unsorted again.
    void setChapters(const QList<QUrl> &paths);
    // Sorts the chapters once (when not yet sorted and two or more), then lets go of them.
    void dispose();
    std::shared_ptr<ChapterData> getEventChapter(const MoveProtectInfo &record);
    std::shared_ptr<ChapterData> getAdvEventChapter(const AdvMoveProtectInfo &record);

    // The chapters in start-time order: sorts the list in place the first time a trip of two or
    // more chapters is read this way. Returns a copy, so callers never hold the lock.
    ChapterList sortedChapters();
    // The chapter at index in start-time order (sorting as sortedChapters does), none past the end:
    // a walk through a long trip without copying its list at every step.
    std::shared_ptr<ChapterData> sortedChapter(size_t index);
    // The chapters as they stand, sorted or not.
    ChapterList chapters() const;
    std::shared_ptr<ChapterData> firstChapter();
    size_t chapterCount() const;
    bool isSort() const;
    // The chapter before (step -1) or after (step +1) the given one in start-time order. Found by the
    // chapter's index, not by a search of the list: walks over a trip ask it at every step.
    std::shared_ptr<ChapterData> neighbour(const ChapterData *chapter, int step);
    // The chapter's index in start-time order (sorting as sortedChapters does); none when it is not here.
    std::optional<size_t> sortedIndexOf(const ChapterData *chapter);
    // True when every chapter's movie file is there; a long trip's thousands are looked for folder by
    // folder (FileUtil::allExist).
    static bool moviesExist(const ChapterList &chapters);

    CardData *_parent = nullptr;         // the card library that owns this trip (not owned here)
    std::atomic<bool> _isActive = false; // shown by the main window: the workers serve it first
    QString _tripName;                   // trip key of the chapters' file names; empty for a lone file
    std::optional<bool> _isCutVideo;     // nothing sets it

private:
    std::shared_ptr<ChapterData> findChapter(const QString &fileName);
    void sortLocked();
    std::optional<size_t> indexLocked(const ChapterData *chapter);

    // Guards the list and the sorted flag: the workers read the list while the main thread may
    // sort it in place.
    mutable std::mutex _mutex;
    ChapterList _chapterDataList;
    bool _isSort = false;
    // The list's indices by chapter address, made again when first asked after the list or its
    // order changed (empty until then).
    std::vector<std::pair<const ChapterData *, size_t>> _indexByAddress;
};
