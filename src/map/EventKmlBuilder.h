// The KML document of one event or surveillance recording: the event's point and the car's track over
// the recording's stretch of video.
#pragma once

#include "card/TripData.h"
#include "map/KmlUtil.h"
#include "platform/WorkControl.h"

#include <QCoreApplication>
#include <span>

class MoveProtectInfo;

class EventKmlBuilder
{
    Q_DECLARE_TR_FUNCTIONS(EventKmlBuilder)

public:
    EventKmlBuilder() = delete;

    // start and end: the stretch in ms on the chapter list's timeline, as the card library's clip of
    // the record gives it. No chapters give an unnamed document without folders; no frames a named one.
    // control: as RouteFrameCollection::collectMovieFrames takes it.
    static XmlData buildEventKml(std::span<const std::shared_ptr<ChapterData>> chapters, std::int32_t start,
                                 std::int32_t end, const MoveProtectInfo &record, const QString &name,
                                 const KmlDateSettings &settings, const WorkControl &control = {});
};
