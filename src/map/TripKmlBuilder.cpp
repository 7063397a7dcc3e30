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

    std::vector<RouteFrameCollection::ChapterFrames> read;
    read.reserve(chapters.size());
    for (const auto &chapter : chapters) {
        if (control.isCancelled())
            return document;
        read.push_back(RouteFrameCollection::cameraFrames(*chapter));
        control.report(int(read.size()), int(chapters.size()));
    }

    FolderData chapterFolder{tr("Chapter"), {}};
    for (const auto &chapter : read) {
        if (chapter.frames.empty())
            continue;
        const VideoFrame &frame = chapter.frames.front();
        if (auto point = KmlUtil::makeFramePlacemark(frame.time, frame._longitude, frame._latitude, settings))
            chapterFolder.PlacemarkList.push_back(std::move(*point));
    }
    if (!chapterFolder.PlacemarkList.empty())
        document.FolderList.push_back(std::move(chapterFolder));

    PlacemarkData car;
    car.Name = tr("MyCar");
    car.StyleUrl = QStringLiteral("#track_style");
    const QString br = QStringLiteral("<br>");
    car.Description = tr("Trip") + br + br;
    using Status = RouteFrameCollection::ChapterFrames::Status;
    if (read.front().status == Status::Read && read.back().status == Status::Read) {
        if (!read.front().frames.empty())
            car.Description += tr("Recording start time/date") + br +
                               KmlUtil::kmlDisplayDateText(read.front().frames.front().time, settings);
        car.Description += br;
        if (!read.back().frames.empty())
            car.Description += tr("Recording end time/date") + br +
                               KmlUtil::kmlDisplayDateText(read.back().frames.back().time, settings);
        car.Description += br;
    }
    for (const auto &chapter : read) {
        for (const VideoFrame &frame : chapter.frames) {
            if (!frame.ex.isFrameEnable || (frame._longitude == 0 && frame._latitude == 0))
                continue;
            car.TrackList.push_back(
                {frame.time, KmlUtil::degrees(frame._longitude), KmlUtil::degrees(frame._latitude), 0});
        }
    }
    document.FolderList.push_back(FolderData{tr("Route"), {std::move(car)}});
    return document;
}
