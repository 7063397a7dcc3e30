#include "maintenance/BackupTree.h"

#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"

#include <QFileInfo>
#include <unordered_set>

BackupTree BackupTree::build(CardData &card, const ChapterData *playChapter)
{
    // Membership by chapter identity, so a chapter in the clips of several events counts once.
    std::unordered_set<const ChapterData *> eventChapters;
    for (const auto &record : card._moveProtectList) {
        if (!record)
            continue;
        const EventClip clip = card.getEventChapters(*record);
        if (!clip.chapters)
            continue;
        for (const auto &chapter : *clip.chapters)
            eventChapters.insert(chapter.get());
    }

    std::vector<Backup> backups;
    int t = -1;
    for (const auto &tripData : card._tripList) {
        ++t; // trips without chapters still count in the indices
        if (!tripData)
            continue;
        const ChapterList chapters = tripData->sortedChapters();
        if (chapters.empty())
            continue;
        Backup trip;
        trip.idx = t;
        trip.startingTime = chapters.front()->startTime();
        int c = 0;
        for (const auto &chapter : chapters) {
            BackupItem item;
            item.idx = {t, c++};
            const QFileInfo info(chapter->_pathMove.toLocalFile());
            item.fileSize = info.isFile() ? std::uint64_t(info.size()) : 0;
            item.chapterItem = (playChapter && chapter.get() == playChapter) ? 1 : 0;
            item.dateEvent = eventChapters.contains(chapter.get());
            trip.dateEvent = trip.dateEvent || item.dateEvent;
            item.startingTime = chapter->startTime();
            item.filePath = chapter->_pathMove;
            trip.children.push_back(std::move(item));
        }
        updateTripState(trip);
        backups.push_back(std::move(trip));
    }
    return BackupTree(std::move(backups));
}

void BackupTree::updateTripState(Backup &trip)
{
    int on = 0;
    for (const auto &item : trip.children)
        on += item.chapterItem == 1 ? 1 : 0;
    trip.trip = on == 0 ? 0 : (on == int(trip.children.size()) ? 1 : -1);
}

Backup *BackupTree::tripByIdx(int idx)
{
    const int row = rowOfTrip(idx);
    return row < 0 ? nullptr : &_backups[size_t(row)];
}

int BackupTree::rowOfTrip(int idx) const
{
    for (size_t row = 0; row < _backups.size(); ++row) {
        if (_backups[row].idx == idx)
            return int(row);
    }
    return -1;
}

void BackupTree::setAll(int state)
{
    for (auto &trip : _backups) {
        trip.trip = state;
        for (auto &item : trip.children)
            item.chapterItem = state;
    }
}

void BackupTree::setTripState(int trip, int state)
{
    Backup *node = tripByIdx(trip);
    if (!node || (state != 0 && state != 1 && state != -1))
        return;
    const int value = state == 0 ? 0 : 1;
    node->trip = value;
    for (auto &item : node->children)
        item.chapterItem = value;
}

void BackupTree::setChapterState(int trip, int chapter, int state)
{
    Backup *node = tripByIdx(trip);
    if (!node || chapter < 0 || chapter >= int(node->children.size()) || (state != 0 && state != 1))
        return;
    node->children[size_t(chapter)].chapterItem = state;
    updateTripState(*node);
}

bool BackupTree::applyIdentifier(const QString &identifier, int state)
{
    const QStringList parts = identifier.split(u',');
    std::vector<int> numbers;
    for (const QString &part : parts) {
        bool ok = false;
        const int n = part.toInt(&ok, 10);
        if (!ok)
            return false;
        numbers.push_back(n);
    }
    const Backup *node = tripByIdx(numbers.front());
    if (!node)
        return false;
    if (numbers.size() == 1) {
        setTripState(numbers[0], state);
        return true;
    }
    if (numbers.size() != 2 || numbers[1] < 0 || numbers[1] >= int(node->children.size()))
        return false;
    setChapterState(numbers[0], numbers[1], state);
    return true;
}

int BackupTree::chapterCount() const
{
    int count = 0;
    for (const auto &trip : _backups)
        count += int(trip.children.size());
    return count;
}

int BackupTree::checkedCount() const
{
    int count = 0;
    for (const auto &trip : _backups) {
        for (const auto &item : trip.children)
            count += item.chapterItem == 1 ? 1 : 0;
    }
    return count;
}

std::uint64_t BackupTree::checkedSize() const
{
    std::uint64_t size = 0;
    for (const auto &trip : _backups) {
        for (const auto &item : trip.children) {
            if (item.chapterItem == 1)
                size += item.fileSize;
        }
    }
    return size;
}

QStringList BackupTree::checkedPaths() const
{
    QStringList paths;
    for (const auto &trip : _backups) {
        for (const auto &item : trip.children) {
            if (item.chapterItem == 1)
                paths << item.filePath.toLocalFile();
        }
    }
    return paths;
}
