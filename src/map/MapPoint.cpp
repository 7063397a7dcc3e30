#include "map/MapPoint.h"

MapPoint::MapPoint(double lat, double lng) : lat(lat), lng(lng) {}

MapPoint::MapPoint(double lat, double lng, const QString &msg, MarkerType marker, int eventIndex)
    : lat(lat), lng(lng), msg(msg), marker(marker), eventIndex(eventIndex)
{
}

MapPoint::MapPoint(double lat, double lng, const QString &msg, MarkerType marker, int tripIndex,
                   int chapterIndex)
    : lat(lat), lng(lng), msg(msg), marker(marker), tripIndex(tripIndex), chapterIndex(chapterIndex)
{
}

void MapPoint::clear()
{
    *this = MapPoint();
}

qint64 MapPoint::iconCode(IconId icon)
{
    // The eight main compass points run backwards (North 9 ... East 7, SouthEast 14 ... NorthWest 10);
    // the codes 28-52, 55-59 and 64 belong to no icon.
    switch (icon) {
    case IconId::None:
        return 1;
    case IconId::GDetection:
        return 2;
    case IconId::SpeedOver:
        return 3;
    case IconId::Accel:
        return 4;
    case IconId::Brake:
        return 5;
    case IconId::Handle:
        return 6;
    case IconId::Idling:
        return 53;
    case IconId::OverEngineSpeed:
        return 62;
    case IconId::North:
        return 9;
    case IconId::NorthEast:
        return 8;
    case IconId::East:
        return 7;
    case IconId::SouthEast:
        return 14;
    case IconId::South:
        return 13;
    case IconId::SouthWest:
        return 12;
    case IconId::West:
        return 11;
    case IconId::NorthWest:
        return 10;
    case IconId::PlaybackGDetection:
        return 15;
    case IconId::PlaybackSpeedOver:
        return 16;
    case IconId::PlaybackAccel:
        return 17;
    case IconId::PlaybackBrake:
        return 18;
    case IconId::PlaybackHandle:
        return 19;
    case IconId::PlaybackIdling:
        return 54;
    case IconId::PlaybackOverEngineSpeed:
        return 63;
    case IconId::NNEast:
        return 20;
    case IconId::NorthEE:
        return 21;
    case IconId::SouthEE:
        return 22;
    case IconId::SSEast:
        return 23;
    case IconId::SSWest:
        return 24;
    case IconId::SouthWW:
        return 25;
    case IconId::NorthWW:
        return 26;
    case IconId::NNWest:
        return 27;
    case IconId::Pin_Red:
        return 60;
    case IconId::Pin_Blue:
        return 61;
    case IconId::Pin_Gray:
        return 65;
    case IconId::Pin_Red_focus:
        return 66;
    case IconId::Pin_Blue_focus:
        return 67;
    case IconId::Pin_Gray_focus:
        return 68;
    }
    return 1;
}
