// The KML document of one trip: a point at the start of every chapter and the car's track over the trip.
#pragma once

#include "card/TripData.h"
#include "map/KmlUtil.h"
#include "platform/WorkControl.h"

#include <QCoreApplication>
#include <span>

class TripKmlBuilder
{
    Q_DECLARE_TR_FUNCTIONS(TripKmlBuilder)

public:
    TripKmlBuilder() = delete;

    // Reads every chapter's driving data that is not read yet. An empty list gives an unnamed
    // document without folders. control: stopped, no further chapter is read (the document is then
    // incomplete); each read is reported against the chapter count.
    static XmlData buildTripKml(std::span<const std::shared_ptr<ChapterData>> chapters, const QString &name,
                                const KmlDateSettings &settings, const WorkControl &control = {});
};
