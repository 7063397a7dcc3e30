// Finds a source's movie files and forms them into trips: runs of consecutive file numbers that
// share a trip key.
#pragma once

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <memory>
#include <vector>

class AdvMoveProtectInfo;
class CardData;
class FileProblemList;
class MoveProtectInfo;
class TripData;

class TripFormer
{
public:
    using TripList = std::vector<std::shared_ptr<TripData>>;

    // Movie files grouped by trip key, keys in the order first listed; a repeated file number
    // within one key is dropped (the first listed wins).
    struct MovieGroups
    {
        QStringList keys;
        QHash<QString, QList<QUrl>> files;
        QHash<QString, QSet<int32_t>> numbers;

        void add(const QUrl &file);
    };

    // The trips' chapters link their records through `card`; skipped files are listed in `problems`.
    TripFormer(CardData *card, FileProblemList &problems) : _card(card), _problems(problems) {}

    // One movie opened on its own: a trip without a key, or none when it is not a regular file.
    std::shared_ptr<TripData> singleMovieTrip(const QUrl &file);
    // The movies of the folder holding `url` (a folder or one of its files).
    MovieGroups scanFolder(const QUrl &url);
    // Trips of every group, by start. The card's records must be read first: chapters link theirs
    // when made.
    TripList formTrips(const MovieGroups &groups);
    // The chapters of adventure records as trips, by start; a chapter matched by several records
    // is listed once per record.
    TripList adventureTrips(const TripList &trips,
                            const std::vector<std::shared_ptr<AdvMoveProtectInfo>> &records);
    // The trips none of whose chapters has a surveillance record, in the order given.
    static TripList tripsWithoutSurveillance(const TripList &trips,
                                             const std::vector<std::shared_ptr<MoveProtectInfo>> &records);

    static bool isTripWithoutSurveillance(TripData &trip,
                                          const std::vector<std::shared_ptr<MoveProtectInfo>> &records);
    static bool isTripNameAscending(const TripData &a, const TripData &b);
    static bool isFileNumberAscending(const QUrl &a, const QUrl &b);
    // Trips without chapters come first and are equal to each other: a strict weak ordering.
    static bool isTripStartAscending(TripData &a, TripData &b);

private:
    // A FIFO, device or folder under a movie's name is skipped with a message: opening it could
    // block, and reading it could never end.
    bool isMovieFile(const QUrl &file);
    void formKeyTrips(const QString &key, QList<QUrl> files, TripList &out);

    CardData *_card;
    FileProblemList &_problems;
};
