#include "map/TripKmlBuilder.h"

#include "map/RouteFrameCollection.h"

XmlData TripKmlBuilder::buildTripKml(std::span<const std::shared_ptr<ChapterData>> chapters,
                                     const QString &name, const KmlDateSettings &settings,
                                     const WorkControl &control)
{
    XmlData document;
    if (chapters.empty())
        return document;
    document.Name = name;

    // Each chapter is read, gives what the document needs of it, and is let go: a long trip's frames
    // never stand in memory all at once.
    using Status = RouteFrameCollection::ChapterFrames::Status;
    FolderData chapterFolder{tr("Chapter"), {}};
    PlacemarkData car;
    Status firstStatus = Status::NoPicture;
    Status lastStatus = Status::NoPicture;
    std::optional<Date> firstTime;
    std::optional<Date> lastTime;
    for (size_t i = 0; i < chapters.size(); ++i) {
        if (control.isCancelled())
            return document;
        const RouteFrameCollection::ChapterFrames read = RouteFrameCollection::cameraFrames(*chapters[i]);
        control.report(int(i + 1), int(chapters.size()));
        if (i == 0) {
            firstStatus = read.status;
            if (!read.frames.empty())
                firstTime = read.frames.front().time;
        }
        if (i + 1 == chapters.size()) {
            lastStatus = read.status;
            if (!read.frames.empty())
                lastTime = read.frames.back().time;
        }
        if (read.frames.empty())
            continue;
        const VideoFrame &frame = read.frames.front();
        if (auto point = KmlUtil::makeFramePlacemark(frame.time, frame._longitude, frame._latitude, settings))
            chapterFolder.PlacemarkList.push_back(std::move(*point));
        for (const VideoFrame &each : read.frames) {
            if (!each.ex.isFrameEnable || (each._longitude == 0 && each._latitude == 0))
                continue;
            car.PackedTrackList.push_back({each.time, each._longitude, each._latitude});
        }
    }
    if (!chapterFolder.PlacemarkList.empty())
        document.FolderList.push_back(std::move(chapterFolder));

    car.Name = tr("MyCar");
    car.StyleUrl = QStringLiteral("#track_style");
    const QString br = QStringLiteral("<br>");
    car.Description = tr("Trip") + br + br;
    if (firstStatus == Status::Read && lastStatus == Status::Read) {
        if (firstTime)
            car.Description +=
                tr("Recording start time/date") + br + KmlUtil::kmlDisplayDateText(*firstTime, settings);
        car.Description += br;
        if (lastTime)
            car.Description +=
                tr("Recording end time/date") + br + KmlUtil::kmlDisplayDateText(*lastTime, settings);
        car.Description += br;
    }
    document.FolderList.push_back(FolderData{tr("Route"), {std::move(car)}});
    return document;
}
