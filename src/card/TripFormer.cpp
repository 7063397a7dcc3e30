#include "card/TripFormer.h"

#include "card/AdvMoveProtectInfo.h"
#include "card/CardData.h"
#include "card/ChapterData.h"
#include "card/FileProblemList.h"
#include "card/MoveProtectInfo.h"
#include "card/TripData.h"
#include "platform/BoundedFileReader.h"
#include "recording/FileUtil.h"

#include <QPair>
#include <algorithm>

namespace {
int32_t fileNumberOfPath(const QUrl &path)
{
    return FileUtil::getFileNumber(path.fileName());
}

// The order of isTripStartAscending, with each trip's start read once: a start time may need a movie
// read. Once the card's load is cancelled no more are read: the order no longer matters.
void sortByStart(TripFormer::TripList &trips, const CardData *card)
{
    using Keyed = std::pair<std::pair<bool, Date>, std::shared_ptr<TripData>>;
    std::vector<Keyed> keyed;
    keyed.reserve(trips.size());
    for (auto &trip : trips) {
        const auto first = trip->firstChapter();
        // Trips without a chapter come first, among themselves in their order.
        const bool read = first && !(card && card->_isLoadCancelled);
        keyed.emplace_back(std::pair(bool(first), read ? first->startTime() : Date::distantPast()),
                           std::move(trip));
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed &a, const Keyed &b) { return a.first < b.first; });
    for (size_t i = 0; i < keyed.size(); ++i)
        trips[i] = std::move(keyed[i].second);
}
} // namespace

void TripFormer::MovieGroups::add(const QUrl &file)
{
    const auto name = file.fileName();
    const auto key = FileUtil::getTripKey(name);
    const auto number = FileUtil::getFileNumber(name);
    auto &seen = numbers[key];
    if (!files.contains(key))
        keys.append(key);
    else if (seen.contains(number))
        return;
    seen.insert(number);
    files[key].append(file);
}

bool TripFormer::isMovieFile(const QUrl &file)
{
    const QString refusal = BoundedFileReader::whyNotRegular(file.toLocalFile());
    _problems.add(file.toLocalFile(), refusal);
    return refusal.isEmpty();
}

std::shared_ptr<TripData> TripFormer::singleMovieTrip(const QUrl &file)
{
    return isMovieFile(file) ? TripData::create(_card, {file}, QString()) : nullptr;
}

TripFormer::MovieGroups TripFormer::scanFolder(const QUrl &url)
{
    MovieGroups groups;
    for (const auto &file : FileUtil::searchMovieFiles(url))
        if (isMovieFile(file))
            groups.add(file);
    return groups;
}

void TripFormer::formKeyTrips(const QString &key, QList<QUrl> files, TripList &out)
{
    // The order of isFileNumberAscending, with each number read once.
    std::vector<std::pair<int32_t, QUrl>> numbered;
    numbered.reserve(static_cast<size_t>(files.size()));
    for (auto &file : files)
        numbered.emplace_back(fileNumberOfPath(file), std::move(file));
    std::stable_sort(numbered.begin(), numbered.end(),
                     [](const auto &a, const auto &b) { return a.first < b.first; });
    QList<QUrl> run;
    int32_t previous = 0;
    for (const auto &[number, file] : numbered) {
        // No wrap-around here: 9999 followed by 1 ends one trip and starts another.
        if (!run.isEmpty() && number != previous + 1) {
            out.push_back(TripData::create(_card, run, key));
            run.clear();
        }
        run.append(file);
        previous = number;
    }
    if (!run.isEmpty())
        out.push_back(TripData::create(_card, run, key));
}

TripFormer::TripList TripFormer::formTrips(const MovieGroups &groups)
{
    TripList trips;
    for (const auto &key : groups.keys)
        formKeyTrips(key, groups.files.value(key), trips);
    sortByStart(trips, _card);
    return trips;
}

TripFormer::TripList
TripFormer::adventureTrips(const TripList &trips,
                           const std::vector<std::shared_ptr<AdvMoveProtectInfo>> &records)
{
    QHash<QPair<QString, int32_t>, int> recordCount;
    for (const auto &record : records)
        ++recordCount[qMakePair(FileUtil::getTripKey(record->_fileName),
                                FileUtil::getFileNumber(record->_fileName))];
    // The grouping drops repeated numbers within a key, so each record's copy forms its own trip.
    MovieGroups adventure;
    for (const auto &trip : trips) {
        for (const auto &chapter : trip->sortedChapters()) {
            const int count = recordCount.value(qMakePair(trip->_tripName, chapter->fileNumber()));
            for (int i = 0; i < count; ++i)
                adventure.add(chapter->_pathMp4);
        }
    }
    auto keys = adventure.keys;
    std::sort(keys.begin(), keys.end());
    TripList out;
    for (const auto &key : keys)
        formKeyTrips(key, adventure.files.value(key), out);
    sortByStart(out, _card);
    return out;
}

TripFormer::TripList
TripFormer::tripsWithoutSurveillance(const TripList &trips,
                                     const std::vector<std::shared_ptr<MoveProtectInfo>> &records)
{
    std::vector<std::shared_ptr<MoveProtectInfo>> surveillance;
    for (const auto &record : records)
        if (record->_detect == MoveProtectInfo::DetectStatus::SURV)
            surveillance.push_back(record);
    TripList out;
    for (const auto &trip : trips)
        if (isTripWithoutSurveillance(*trip, surveillance))
            out.push_back(trip);
    return out;
}

bool TripFormer::isTripNameAscending(const TripData &a, const TripData &b)
{
    return a._tripName < b._tripName;
}

bool TripFormer::isFileNumberAscending(const QUrl &a, const QUrl &b)
{
    return fileNumberOfPath(a) < fileNumberOfPath(b);
}

bool TripFormer::isTripStartAscending(TripData &a, TripData &b)
{
    const auto firstA = a.firstChapter();
    const auto firstB = b.firstChapter();
    if (!firstA)
        return static_cast<bool>(firstB);
    if (!firstB)
        return false;
    return firstA->startTime() < firstB->startTime();
}

bool TripFormer::isTripWithoutSurveillance(TripData &trip,
                                           const std::vector<std::shared_ptr<MoveProtectInfo>> &records)
{
    // Each record's key and number once, not once per chapter.
    std::vector<std::pair<QString, int32_t>> files;
    files.reserve(records.size());
    for (const auto &record : records)
        files.emplace_back(FileUtil::getTripKey(record->_fileName),
                           FileUtil::getFileNumber(record->_fileName));
    for (const auto &chapter : trip.sortedChapters()) {
        const auto parent = chapter->parent();
        const QString tripName = parent ? parent->_tripName : QString();
        for (const auto &[key, number] : files) {
            if (key == tripName && number == chapter->fileNumber())
                return false;
        }
    }
    return true;
}
