#include "graph/EventStretch.h"

#include "card/CardData.h"
#include "card/MoveProtectInfo.h"
#include "graph/ChapterDrivingData.h"

EventStretch EventStretch::fromRecord(CardData &card, MoveProtectInfo &protectInfo)
{
    EventStretch stretch;
    const bool surveillance = protectInfo._detect == MoveProtectInfo::DetectStatus::SURV;
    stretch.type = surveillance ? CommonConst::PlayType::Surveillance : CommonConst::PlayType::Event;
    const EventClip clip =
        surveillance ? card.getSurveillanceChapters(protectInfo) : card.getEventChapters(protectInfo);
    if (clip.chapters) {
        stretch.source = std::make_shared<ChapterDrivingData>(*clip.chapters);
        stretch.accidentValue = static_cast<int>(clip.position);
        stretch.minValue = static_cast<int>(clip.start);
        stretch.maxValue = static_cast<int>(clip.end);
    }
    return stretch;
}
