#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "card/StandardCardFixture.h"
#include "map/EventKmlBuilder.h"
#include "map/RouteFrameCollection.h"
#include "map/TripKmlBuilder.h"

#include <QRegularExpression>

namespace {

const KmlDateSettings DATES{"MM-dd-yyyy hh:mm:ss a", "Pacific/Honolulu", true};

// The document without its style block and with each run of track lines counted instead of listed.
QString outline(XmlData document)
{
    QStringList out;
    QString runTag;
    int run = 0;
    const QStringList lines = KmlUtil::kmlText(document).replace(KmlUtil::styleBlock(), "").split('\n');
    for (const QString &line : lines) {
        const QString tag = line.startsWith("<when>")       ? "when"
                            : line.startsWith("<gx:coord>") ? "gx:coord"
                                                            : "";
        if (run > 0 && tag != runTag) {
            out << QString("%1 %2 lines").arg(run).arg(runTag);
            run = 0;
        }
        if (tag.isEmpty())
            out << line;
        runTag = tag;
        run += !tag.isEmpty();
    }
    return out.join('\n');
}

// A trip of two chapters, west and south: a point per chapter and 168 samples of the car.
const char *const TRIP_GOLDEN = R"(<Document>
<name>trip</name>
<!-- LookAt -->
<LookAt>
<gx:TimeSpan><begin>2024-05-02T17:00:00Z</begin><end>2024-05-02T17:00:05Z</end></gx:TimeSpan>
<longitude>-58.381486</longitude>
<latitude>-34.601986</latitude>
<altitude>0.0</altitude>
<heading>0.0</heading>
<tilt>0.0</tilt>
<range>675.2399999995617</range>
<altitudeMode>clampToGround</altitudeMode>
</LookAt>
<!-- Style -->
<!-- Folder -->
<Folder>
<name>Chapter</name>
<Placemark>
<Snippet maxLines="0"></Snippet>
<name>05-02-2024 07:00:00 AM</name>
<Point><coordinates>-58.38,-34.6,0.0</coordinates></Point>
<LookAt>
<gx:TimeStamp><when>2024-05-02T17:00:00Z</when></gx:TimeStamp>
<longitude>-58.38</longitude>
<latitude>-34.6</latitude>
<altitude>0.0</altitude>
<heading>0.0</heading>
<tilt>0.0</tilt>
<range>1000.0</range>
<altitudeMode>clampToGround</altitudeMode>
</LookAt>
</Placemark>
<Placemark>
<Snippet maxLines="0"></Snippet>
<name>05-02-2024 07:00:03 AM</name>
<Point><coordinates>-58.3815,-34.602,0.0</coordinates></Point>
<LookAt>
<gx:TimeStamp><when>2024-05-02T17:00:03Z</when></gx:TimeStamp>
<longitude>-58.3815</longitude>
<latitude>-34.602</latitude>
<altitude>0.0</altitude>
<heading>0.0</heading>
<tilt>0.0</tilt>
<range>1000.0</range>
<altitudeMode>clampToGround</altitudeMode>
</LookAt>
</Placemark>
</Folder>
<Folder>
<name>Route</name>
<Placemark>
<Snippet maxLines="0"></Snippet>
<name>MyCar</name>
<styleUrl>#track_style</styleUrl>
<description><![CDATA[Trip<br><br>Recording start time/date<br>05-02-2024 07:00:00 AM<br>Recording end time/date<br>05-02-2024 07:00:05 AM<br>]]></description>
<gx:Track>
168 when lines
168 gx:coord lines
</gx:Track>
</Placemark>
</Folder>
</Document>
</kml>)";

// A switch event whose clip is that trip: the event's point, then the same track.
const char *const EVENT_GOLDEN = R"(<Document>
<name>sw</name>
<!-- LookAt -->
<LookAt>
<gx:TimeSpan><begin>2024-05-02T17:00:00Z</begin><end>2024-05-02T17:00:05Z</end></gx:TimeSpan>
<longitude>-58.381486</longitude>
<latitude>-34.601986</latitude>
<altitude>0.0</altitude>
<heading>0.0</heading>
<tilt>0.0</tilt>
<range>675.2399999995617</range>
<altitudeMode>clampToGround</altitudeMode>
</LookAt>
<!-- Style -->
<!-- Folder -->
<Folder>
<name>Event</name>
<Placemark>
<Snippet maxLines="0"></Snippet>
<name>05-02-2024 07:00:04 AM</name>
<Point><coordinates>-58.382,-34.602667,0.0</coordinates></Point>
<LookAt>
<gx:TimeStamp><when>2024-05-02T17:00:04Z</when></gx:TimeStamp>
<longitude>-58.382</longitude>
<latitude>-34.602667</latitude>
<altitude>0.0</altitude>
<heading>0.0</heading>
<tilt>0.0</tilt>
<range>1000.0</range>
<altitudeMode>clampToGround</altitudeMode>
</LookAt>
</Placemark>
</Folder>
<Folder>
<name>Route</name>
<Placemark>
<Snippet maxLines="0"></Snippet>
<name>MyCar</name>
<styleUrl>#track_style</styleUrl>
<description><![CDATA[Event<br><br>Sensing time/date<br>05-02-2024 07:00:04 AM<br>]]></description>
<gx:Track>
168 when lines
168 gx:coord lines
</gx:Track>
</Placemark>
</Folder>
</Document>
</kml>)";

std::string body(const XmlData &document)
{
    return outline(document).section('\n', 2).trimmed().toStdString(); // past the template's first two lines
}

} // namespace

class RouteDocumentsTest : public StandardCardFixture
{
protected:
    ChapterList trip(size_t index) { return card._tripList.at(index)->sortedChapters(); }
    MoveProtectInfo &record(MoveProtectInfo::DetectStatus detect)
    {
        for (const auto &r : card._moveProtectList) {
            if (r->_detect == detect)
                return *r;
        }
        throw std::runtime_error("no such record");
    }
};

TEST_F(RouteDocumentsTest, TripDocumentGolden)
{
    EXPECT_EQ(body(TripKmlBuilder::buildTripKml(trip(1), "trip", DATES)), TRIP_GOLDEN);
}

TEST_F(RouteDocumentsTest, EventDocumentGolden)
{
    MoveProtectInfo &sw = record(MoveProtectInfo::DetectStatus::SW);
    const EventClip clip = card.getEventChapters(sw);
    EXPECT_EQ(body(EventKmlBuilder::buildEventKml(*clip.chapters, clip.start, clip.end, sw, "sw", DATES)),
              EVENT_GOLDEN);
}

TEST_F(RouteDocumentsTest, SurveillanceTextAndAStandingCarsTrack)
{
    MoveProtectInfo &surveillance = record(MoveProtectInfo::DetectStatus::SURV);
    const EventClip clip = card.getSurveillanceChapters(surveillance);
    XmlData document =
        EventKmlBuilder::buildEventKml(*clip.chapters, clip.start, clip.end, surveillance, "s", DATES);
    ASSERT_EQ(document.FolderList.size(), 2u);
    EXPECT_EQ(document.FolderList[0].Name, "Event");
    const PlacemarkData &car = document.FolderList[1].PlacemarkList.at(0);
    EXPECT_EQ(car.Description, "Surveillance<br><br>Sensing time/date<br>05-03-2024 12:00:01 PM<br>");
    // Only the frames whose position moved on make the track.
    EXPECT_EQ(car.TrackList.size(), 2u);
}

TEST_F(RouteDocumentsTest, EmptyListsGiveUnnamedDocumentsWithoutFolders)
{
    const XmlData tripDocument = TripKmlBuilder::buildTripKml({}, "name", DATES);
    const XmlData eventDocument =
        EventKmlBuilder::buildEventKml({}, 0, 0, record(MoveProtectInfo::DetectStatus::G), "name", DATES);
    for (const XmlData *document : {&tripDocument, &eventDocument}) {
        EXPECT_TRUE(document->Name.isEmpty());
        EXPECT_TRUE(document->FolderList.empty());
    }
}

// A chapter whose movie is gone: no point and no samples from it, and no dates in the text when it is
// the first; a route collection stops there.
TEST_F(RouteDocumentsTest, UnreadableChaptersDropOutOfTheRoute)
{
    const ChapterList real = trip(0);
    const auto gone =
        TripData::create(
            nullptr, {real[0]->_pathMove, FileUtil::fileUrl(dir->filePath("gone.MP4")), real[2]->_pathMove},
            "x")
            ->chapters();
    const ChapterList goneFirst{gone[1], real[1]};
    const XmlData document = TripKmlBuilder::buildTripKml(goneFirst, "t", DATES);
    ASSERT_EQ(document.FolderList.size(), 2u);
    EXPECT_EQ(document.FolderList[0].PlacemarkList.size(), 1u);
    EXPECT_EQ(document.FolderList[1].PlacemarkList[0].Description, "Trip<br><br>");
    EXPECT_FALSE(document.FolderList[1].PlacemarkList[0].TrackList.empty());

    const auto collected = RouteFrameCollection::collectMovieFrames(gone, 0, 1000000);
    EXPECT_EQ(collected, RouteFrameCollection::cameraFrames(*gone[0]).frames);
}

TEST_F(RouteDocumentsTest, RouteRunsFromTheLastUsableFrameBeforeEachEnd)
{
    const ChapterList chapters = trip(0);
    const ChapterList first{chapters[0]};
    const auto frames = RouteFrameCollection::cameraFrames(*chapters[0]).frames;
    auto key = [&](const VideoFramePtr &frame) { return int32_t(frame->_timeStamp - frames[0]->_timeStamp); };
    // Frames after the returned end are unusable, up to the end position.
    auto checkEnd = [&](const std::vector<VideoFramePtr> &route, int32_t end) {
        const auto last = std::find(frames.begin(), frames.end(), route.back());
        EXPECT_TRUE(route.back()->ex.isFrameEnable || last == frames.begin());
        for (auto it = last + 1; it != frames.end() && key(*it) <= end; ++it)
            EXPECT_FALSE((*it)->ex.isFrameEnable) << key(*it);
    };
    for (const auto &[start, end] : {std::pair{0, 0}, {0, 4000}, {1500, 2500}, {2000, 3999}}) {
        const auto route = RouteFrameCollection::collectMovieFrames(first, start, end);
        ASSERT_FALSE(route.empty()) << start << "-" << end;
        EXPECT_LE(key(route.front()), start);
        checkEnd(route, end);
        const auto begin = std::find(frames.begin(), frames.end(), route.front());
        EXPECT_TRUE(std::equal(route.begin(), route.end(), begin))
            << "one unbroken run of the chapter's frames";
        for (auto it = begin + 1; it != frames.end() && key(*it) <= start; ++it)
            EXPECT_FALSE((*it)->ex.isFrameEnable) << "a later usable frame before the start";
    }
    EXPECT_TRUE(RouteFrameCollection::collectMovieFrames(first, 3000, 1000).empty());

    // Across chapters: the middle chapter whole.
    const int32_t total = PictureDataUtil::getTotalLength(chapters);
    const auto route = RouteFrameCollection::collectMovieFrames(chapters, 0, total);
    const auto middle = RouteFrameCollection::cameraFrames(*chapters[1]).frames;
    EXPECT_NE(std::search(route.begin(), route.end(), middle.begin(), middle.end()), route.end());
    EXPECT_EQ(route.front(), frames.front());
}
