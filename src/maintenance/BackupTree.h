// The trips and chapters of an opened source as a check-box tree, with the check rules and the sums that
// the backup and delete dialogs read from it.
#pragma once

#include "maintenance/Backup.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

class CardData;
class ChapterData;

class BackupTree
{
public:
    BackupTree() = default;
    explicit BackupTree(std::vector<Backup> backups) : _backups(std::move(backups)) {}

    // One node per trip that has chapters, in the card's trip order; the playing chapter (if any) starts
    // checked. Sorts each trip's chapters by start time once; reads each movie file's size once.
    static BackupTree build(CardData &card, const ChapterData *playChapter);

    const std::vector<Backup> &backups() const { return _backups; }

    // Check-box changes; each keeps a trip's state in step with its children. A trip box that passed
    // through the mixed state (-1) counts as checking. Out-of-range indices change nothing.
    void setAll(int state);
    void setTripState(int trip, int state);
    void setChapterState(int trip, int chapter, int state);
    // A box identified as "t" (trip) or "t,c" (chapter); false when the text does not parse or names
    // no node.
    bool applyIdentifier(const QString &identifier, int state);

    int chapterCount() const;
    int checkedCount() const;
    std::uint64_t checkedSize() const;
    // Local paths of the checked chapters, trip by trip in tree order.
    QStringList checkedPaths() const;
    // Position in backups() of the trip node whose idx is given; -1 when none.
    int rowOfTrip(int idx) const;

private:
    Backup *tripByIdx(int idx);
    static void updateTripState(Backup &trip);

    std::vector<Backup> _backups;
};
