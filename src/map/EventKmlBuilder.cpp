#include "map/EventKmlBuilder.h"

#include "card/MoveProtectInfo.h"
#include "map/RouteFrameCollection.h"

XmlData EventKmlBuilder::buildEventKml(std::span<const std::shared_ptr<ChapterData>> chapters,
                                       std::int32_t start, std::int32_t end, const MoveProtectInfo &record,
                                       const QString &name, const KmlDateSettings &settings,
                                       const WorkControl &control)
{
    XmlData document;
    if (chapters.empty())
        return document;
    document.Name = name;
    const auto frames = RouteFrameCollection::collectMovieFrames(chapters, start, end, control);
    if (frames.empty())
        return document;

    if (auto point =
            KmlUtil::makeFramePlacemark(record._datetime, record._longitude, record._latitude, settings))
        document.FolderList.push_back(FolderData{tr("Event"), {std::move(*point)}});

    PlacemarkData car;
    car.Name = tr("MyCar");
    car.StyleUrl = QStringLiteral("#track_style");
    const QString br = QStringLiteral("<br>");
    car.Description =
        (record._detect == MoveProtectInfo::DetectStatus::SURV ? tr("Surveillance") : tr("Event")) + br + br +
        tr("Sensing time/date") + br + KmlUtil::kmlDisplayDateText(record._datetime, settings) + br;
    for (const VideoFrame &frame : frames) {
        if (!frame.ex.isFrameEnable || (frame._longitude == 0 && frame._latitude == 0))
            continue;
        car.TrackList.push_back(
            {frame.time, KmlUtil::degrees(frame._longitude), KmlUtil::degrees(frame._latitude), 0});
    }
    document.FolderList.push_back(FolderData{tr("Route"), {std::move(car)}});
    return document;
}
