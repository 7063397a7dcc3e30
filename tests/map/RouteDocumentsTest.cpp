#include "card/ChapterData.h"
#include "card/MoveProtectInfo.h"
#include "card/PictureDataUtil.h"
#include "card/StandardCardFixture.h"
#include "map/EventKmlBuilder.h"
#include "map/RouteFrameCollection.h"
#include "map/TripKmlBuilder.h"

#include <QBuffer>
#include <QRegularExpression>

namespace {

const KmlDateSettings DATES{"MM-dd-yyyy hh:mm:ss a", "Pacific/Honolulu", true};

// The document in short: past the template's head, no style block, the zeros and the altitude mode of every
// LookAt left out and each LookAt on one line, runs of track lines counted.
std::string outline(XmlData document)
{
    QString text = KmlUtil::kmlText(document).section('\n', 3).remove(KmlUtil::styleBlock());
    text.remove(QRegularExpression(
        "\n<(altitude|heading|tilt)>0.0</\\1>|\n<altitudeMode>clampToGround</altitudeMode>"));
    for (const auto &lookAt : QRegularExpression("<LookAt>\n[^/]*(/[^L][^/]*)*</LookAt>").globalMatch(text))
        text.replace(lookAt.captured(0), QString(lookAt.captured(0)).replace('\n', ' '));
    for (const char *tag : {"when", "gx:coord"}) {
        for (const auto &run : QRegularExpression(QString("(?m)(^<%1>.*\n)+").arg(tag)).globalMatch(text))
            text.replace(run.captured(0), QString("%1 %2 lines\n").arg(run.captured(0).count('\n')).arg(tag));
    }
    return text.trimmed().toStdString();
}

// Both documents below: a trip of two chapters, west and south, and a switch event whose clip is that
// trip. They share the fitted view and the car's 168 samples.
const char *const VIEW = R"(<!-- LookAt -->
<LookAt> <gx:TimeSpan><begin>2024-05-02T17:00:00Z</begin><end>2024-05-02T17:00:05Z</end></gx:TimeSpan> <longitude>-58.381486</longitude> <latitude>-34.601986</latitude> <range>675.2399999995617</range> </LookAt>
<!-- Style -->
<!-- Folder -->
)";
QString routeFolder(const char *description)
{
    return QString(R"(<Folder>
<name>Route</name>
<Placemark>
<Snippet maxLines="0"></Snippet>
<name>MyCar</name>
<styleUrl>#track_style</styleUrl>
<description><![CDATA[%1]]></description>
<gx:Track>
168 when lines
168 gx:coord lines
</gx:Track>
</Placemark>
</Folder>
</Document>
</kml>)")
        .arg(description);
}
const QString TRIP_GOLDEN = QString("<name>trip</name>\n") + VIEW + R"(<Folder>
<name>Chapter</name>
<Placemark>
<Snippet maxLines="0"></Snippet>
<name>05-02-2024 07:00:00 AM</name>
<Point><coordinates>-58.38,-34.6,0.0</coordinates></Point>
<LookAt> <gx:TimeStamp><when>2024-05-02T17:00:00Z</when></gx:TimeStamp> <longitude>-58.38</longitude> <latitude>-34.6</latitude> <range>1000.0</range> </LookAt>
</Placemark>
<Placemark>
<Snippet maxLines="0"></Snippet>
<name>05-02-2024 07:00:03 AM</name>
<Point><coordinates>-58.3815,-34.602,0.0</coordinates></Point>
<LookAt> <gx:TimeStamp><when>2024-05-02T17:00:03Z</when></gx:TimeStamp> <longitude>-58.3815</longitude> <latitude>-34.602</latitude> <range>1000.0</range> </LookAt>
</Placemark>
</Folder>
)" +
                            routeFolder("Trip<br><br>Recording start time/date<br>05-02-2024 07:00:00 "
                                        "AM<br>Recording end time/date<br>05-02-2024 07:00:05 AM<br>");
const QString EVENT_GOLDEN = QString("<name>sw</name>\n") + VIEW + R"(<Folder>
<name>Event</name>
<Placemark>
<Snippet maxLines="0"></Snippet>
<name>05-02-2024 07:00:04 AM</name>
<Point><coordinates>-58.382,-34.602667,0.0</coordinates></Point>
<LookAt> <gx:TimeStamp><when>2024-05-02T17:00:04Z</when></gx:TimeStamp> <longitude>-58.382</longitude> <latitude>-34.602667</latitude> <range>1000.0</range> </LookAt>
</Placemark>
</Folder>
)" + routeFolder("Event<br><br>Sensing time/date<br>05-02-2024 07:00:04 AM<br>");

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
    EXPECT_EQ(outline(TripKmlBuilder::buildTripKml(trip(1), "trip", DATES)), TRIP_GOLDEN.toStdString());
}

TEST_F(RouteDocumentsTest, EventDocumentGolden)
{
    MoveProtectInfo &sw = record(MoveProtectInfo::DetectStatus::SW);
    const EventClip clip = card.getEventChapters(sw);
    EXPECT_EQ(outline(EventKmlBuilder::buildEventKml(*clip.chapters, clip.start, clip.end, sw, "sw", DATES)),
              EVENT_GOLDEN.toStdString());
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
    EXPECT_FALSE(document.FolderList[1].PlacemarkList[0].PackedTrackList.empty());

    const auto collected = RouteFrameCollection::collectMovieFrames(gone, 0, 1000000);
    const auto first = RouteFrameCollection::cameraFrames(*gone[0]).frames;
    EXPECT_TRUE(std::equal(collected.begin(), collected.end(), first.begin(), first.end(),
                           [](const VideoFrame &x, const VideoFrame &y) { return x.sameAs(y); }));
}

// The trip's document as it was built before the export streamed: every chapter's frames read first, the
// track then kept as degrees. The streaming builder must write the same text to the byte.
static XmlData wholeTripDocument(const ChapterList &chapters, const QString &name)
{
    XmlData document;
    if (chapters.empty())
        return document;
    document.Name = name;
    std::vector<RouteFrameCollection::ChapterFrames> read;
    for (const auto &chapter : chapters)
        read.push_back(RouteFrameCollection::cameraFrames(*chapter));
    FolderData chapterFolder{"Chapter", {}};
    for (const auto &chapter : read) {
        if (chapter.frames.empty())
            continue;
        const VideoFrame &frame = chapter.frames.front();
        if (auto point = KmlUtil::makeFramePlacemark(frame.time, frame._longitude, frame._latitude, DATES))
            chapterFolder.PlacemarkList.push_back(std::move(*point));
    }
    if (!chapterFolder.PlacemarkList.empty())
        document.FolderList.push_back(std::move(chapterFolder));
    PlacemarkData car;
    car.Name = "MyCar";
    car.StyleUrl = "#track_style";
    car.Description = "Trip<br><br>";
    using Status = RouteFrameCollection::ChapterFrames::Status;
    if (read.front().status == Status::Read && read.back().status == Status::Read) {
        if (!read.front().frames.empty())
            car.Description += "Recording start time/date<br>" +
                               KmlUtil::kmlDisplayDateText(read.front().frames.front().time, DATES);
        car.Description += "<br>";
        if (!read.back().frames.empty())
            car.Description += "Recording end time/date<br>" +
                               KmlUtil::kmlDisplayDateText(read.back().frames.back().time, DATES);
        car.Description += "<br>";
    }
    for (const auto &chapter : read) {
        for (const VideoFrame &frame : chapter.frames) {
            if (!frame.ex.isFrameEnable || (frame._longitude == 0 && frame._latitude == 0))
                continue;
            car.TrackList.push_back(
                {frame.time, KmlUtil::degrees(frame._longitude), KmlUtil::degrees(frame._latitude), 0});
        }
    }
    document.FolderList.push_back(FolderData{"Route", {std::move(car)}});
    return document;
}

TEST_F(RouteDocumentsTest, StreamedTripDocumentIsTheWholeReadDocumentToTheByte)
{
    const ChapterList first = trip(0);
    const ChapterList second = trip(1);
    // A movie that is gone, and a file read as one without driving data (a single frame, no position).
    const auto odd = TripData::create(nullptr,
                                      {FileUtil::fileUrl(dir->filePath("gone.MP4")),
                                       FileUtil::fileUrl(dir->filePath("SETINF.DAT"))},
                                      "x")
                         ->chapters();
    ChapterList all = first;
    all.insert(all.end(), second.begin(), second.end());
    const struct
    {
        const char *name;
        ChapterList chapters;
    } cases[] = {
        {"one trip", first},
        {"two trips in a row", all},
        {"first unreadable", {odd[0], first[0], first[1]}},
        {"last unreadable", {first[0], second[0], odd[0]}},
        {"unreadable and frameless between", {first[0], odd[0], odd[1], first[1], second[1]}},
        {"first frameless", {odd[1], second[0], second[1]}},
        {"only unreadable", {odd[0], odd[1]}},
    };
    for (const auto &c : cases) {
        XmlData whole = wholeTripDocument(c.chapters, "trip");
        XmlData streamed = TripKmlBuilder::buildTripKml(c.chapters, "trip", DATES);
        const QString text = KmlUtil::kmlText(whole);
        const QString streamedText = KmlUtil::kmlText(streamed);
        // The first difference only: the documents run to thousands of lines.
        qsizetype at = 0;
        while (at < std::min(text.size(), streamedText.size()) && text[at] == streamedText[at])
            ++at;
        EXPECT_TRUE(streamedText == text)
            << c.name << ": from " << at << ": " << streamedText.mid(at, 120).toStdString() << " instead of "
            << text.mid(at, 120).toStdString();
        QBuffer written;
        written.open(QIODevice::WriteOnly);
        ASSERT_TRUE(KmlUtil::writeKml(streamed, written)) << c.name;
        EXPECT_TRUE(written.data() == text.toUtf8()) << c.name;
    }
}

TEST_F(RouteDocumentsTest, RouteRunsFromTheLastUsableFrameBeforeEachEnd)
{
    const ChapterList chapters = trip(0);
    const ChapterList first{chapters[0]};
    const auto frames = RouteFrameCollection::cameraFrames(*chapters[0]).frames;
    auto key = [&](auto it) { return int32_t(it->_timeStamp - frames[0]._timeStamp); };
    const auto same = [](const VideoFrame &a, const VideoFrame &b) { return a.sameAs(b); };
    const auto findFrame = [&](const VideoFrame &frame) {
        return std::find_if(frames.begin(), frames.end(),
                            [&](const VideoFrame &f) { return f.sameAs(frame); });
    };
    // The frame is usable (or the chapter's first) and no usable frame follows it up to the offset.
    auto isLastUsableUpTo = [&](const VideoFrame &frame, int32_t offset) {
        auto it = findFrame(frame);
        bool ok = it != frames.end() && key(it) <= offset && (frame.ex.isFrameEnable || it == frames.begin());
        while (ok && ++it != frames.end() && key(it) <= offset)
            ok = !it->ex.isFrameEnable;
        return ok;
    };
    for (const auto &[start, end] : {std::pair{0, 0}, {0, 4000}, {1500, 2500}, {2000, 3999}}) {
        const auto route = RouteFrameCollection::collectMovieFrames(first, start, end);
        ASSERT_FALSE(route.empty());
        EXPECT_TRUE(isLastUsableUpTo(route.front(), start)) << start;
        EXPECT_TRUE(isLastUsableUpTo(route.back(), end)) << end;
        EXPECT_TRUE(std::equal(route.begin(), route.end(), findFrame(route.front()), same));
    }
    EXPECT_TRUE(RouteFrameCollection::collectMovieFrames(first, 3000, 1000).empty());
    // Across chapters: the middle one whole.
    const auto route =
        RouteFrameCollection::collectMovieFrames(chapters, 0, PictureDataUtil::getTotalLength(chapters));
    const auto middle = RouteFrameCollection::cameraFrames(*chapters[1]).frames;
    EXPECT_NE(std::search(route.begin(), route.end(), middle.begin(), middle.end(), same), route.end());
}
