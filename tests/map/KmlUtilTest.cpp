#include "map/KmlUtil.h"

#include <QBuffer>
#include <QFile>
#include <QMap>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

namespace {

const Date TEN_AM_HONOLULU = Date::fromUnixSeconds(1556740800); // 2019-05-01 20:00:00 UTC
const KmlDateSettings HONOLULU{"MM-dd-yyyy hh:mm:ss a", "Pacific/Honolulu", true};

const char *const POINT_FOLDER = "<Folder>\n"
                                 "<name>Event</name>\n"
                                 "<Placemark>\n"
                                 "<Snippet maxLines=\"0\"></Snippet>\n"
                                 "<name>05-01-2019 10:00:00 AM</name>\n"
                                 "<Point><coordinates>139.691694,35.689472,0.0</coordinates></Point>\n"
                                 "<LookAt>\n"
                                 "<gx:TimeStamp><when>2019-05-01T20:00:00Z</when></gx:TimeStamp>\n"
                                 "<longitude>139.691694</longitude>\n"
                                 "<latitude>35.689472</latitude>\n"
                                 "<altitude>0.0</altitude>\n"
                                 "<heading>0.0</heading>\n"
                                 "<tilt>0.0</tilt>\n"
                                 "<range>1000.0</range>\n"
                                 "<altitudeMode>clampToGround</altitudeMode>\n"
                                 "</LookAt>\n"
                                 "</Placemark>\n"
                                 "</Folder>\n";

const char *const TRACK_FOLDER = "<Folder>\n"
                                 "<Placemark>\n"
                                 "<Snippet maxLines=\"0\"></Snippet>\n"
                                 "<name>MyCar</name>\n"
                                 "<styleUrl>#track_style</styleUrl>\n"
                                 "<description><![CDATA[Trip<br><br>]]></description>\n"
                                 "<gx:Track>\n"
                                 "<when>2019-05-01T20:00:00Z</when>\n"
                                 "<gx:coord>139.5 35.25 0.0</gx:coord>\n"
                                 "<gx:coord>139.75 35.5 0.0</gx:coord>\n"
                                 "</gx:Track>\n"
                                 "</Placemark>\n"
                                 "</Folder>\n";

// The view fitted to the track above: the box's middle, its height (170 km a degree) as the range, and the
// samples' times (the second has none).
const char *const FITTED_VIEW = "<LookAt>\n"
                                "<longitude>139.625</longitude>\n"
                                "<latitude>35.375</latitude>\n"
                                "<altitude>0.0</altitude>\n"
                                "<heading>0.0</heading>\n"
                                "<tilt>0.0</tilt>\n"
                                "<range>42500.0</range>\n"
                                "<altitudeMode>clampToGround</altitudeMode>\n"
                                "</LookAt>";

XmlData pointAndTrackDocument(const QString &name)
{
    XmlData document;
    document.Name = name;
    auto point = KmlUtil::makeFramePlacemark(TEN_AM_HONOLULU, 5028901, 1284821, HONOLULU);
    document.FolderList.push_back({"Event", {*point}});
    PlacemarkData car{
        "MyCar", "#track_style", {{TEN_AM_HONOLULU, 139.5, 35.25, 0}, {{}, 139.75, 35.5, 0}}, "Trip<br><br>"};
    document.FolderList.push_back({"", {car}});
    return document;
}

} // namespace

TEST(KmlUtilTest, TemplateIsTheKml22SkeletonWithFourSlots)
{
    EXPECT_EQ(KmlUtil::templateText(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/2.2\" "
              "xmlns:kml=\"http://www.opengis.net/kml/2.2\" xmlns:atom=\"http://www.w3.org/2005/Atom\">\n"
              "<Document>\n<name>{0}</name>\n<!-- LookAt -->\n{1}\n<!-- Style -->\n{2}<!-- Folder -->\n"
              "{3}</Document>\n</kml>\n");
}

TEST(KmlUtilTest, StyleBlockHoldsEighteenStylesSizedByTheIconHost)
{
    const QString block = KmlUtil::styleBlock();
    EXPECT_EQ(block.toUtf8().size(), 4519);
    EXPECT_EQ(KmlUtil::styleBlock("h").toUtf8().size(), 4231 + 18);
    const QString icons = "http://earth.google.com/images/kml-icons/track-directional/";
    auto iconStyle = [&](const QString &n) {
        return "<Style id=\"track-" + n +
               "\"><IconStyle><scale>0.8</scale><heading>0</heading>\n<Icon><href>" + icons + "track-" + n +
               ".png</href></Icon>\n<hotSpot x=\"0.5\" y=\"0.5\" xunits=\"fraction\" yunits=\"fraction\" />\n"
               "</IconStyle></Style>\n";
    };
    QString expected = "<Style id=\"track_style\"><IconStyle><Icon>\n<href>" + icons +
                       "track-0.png</href>\n</Icon></IconStyle>\n"
                       "<LineStyle><color>73ff0000</color><width>6</width></LineStyle></Style>\n" +
                       iconStyle("none");
    for (int i = 0; i < 16; ++i)
        expected += iconStyle(QString::number(i));
    EXPECT_EQ(block, expected);
}

TEST(KmlUtilTest, PlacemarkTrackAndFittedViewGolden)
{
    XmlData document = pointAndTrackDocument("Trip \"A\"");
    const QString text = KmlUtil::kmlText(document);
    const QString head = KmlUtil::templateText().section("{1}", 0, 0).replace("{0}", "Trip &quot;A&quot;");
    EXPECT_EQ(text, head + FITTED_VIEW + "\n<!-- Style -->\n" + KmlUtil::styleBlock() + "<!-- Folder -->\n" +
                        POINT_FOLDER + TRACK_FOLDER + "</Document>\n</kml>\n");
    // The writer kept the view it fitted: a second run writes the same text.
    ASSERT_TRUE(document.LookAt);
    EXPECT_EQ(KmlUtil::kmlText(document), text);
}

TEST(KmlUtilTest, ViewIsFittedOnlyWhenMissingAndOnlyToTheFirstTrack)
{
    XmlData document = pointAndTrackDocument("x");
    document.FolderList.insert(document.FolderList.begin(), {"", {{"First", "", {{{}, 10, 20, 0}}}, {}}});
    KmlUtil::kmlText(document);
    EXPECT_EQ(document.LookAt->Longitude, 10);
    EXPECT_EQ(document.LookAt->Range, 0) << "one sample";
    document.LookAt = LookAtData{};
    document.LookAt->TimeStan = TimeSpanData{TEN_AM_HONOLULU, std::nullopt};
    EXPECT_TRUE(KmlUtil::kmlText(document).contains(
        "<LookAt>\n<altitudeMode>clampToGround</altitudeMode>\n</LookAt>"));
    // Where the longitude span is the wider view: 2 degrees at cos(60°) = 0.5.
    EXPECT_DOUBLE_EQ(*KmlUtil::fitLookAt({{{}, 10, 60, 0}, {{}, 12, 60, 0}}).Range, 110000);

    document = XmlData{"n", {}, {{"", {PlacemarkData{}}}}};
    EXPECT_TRUE(KmlUtil::kmlText(document).endsWith(
        "<!-- Folder -->\n<Folder>\n<Placemark>\n<Snippet maxLines=\"0\"></Snippet>\n"
        "</Placemark>\n</Folder>\n</Document>\n</kml>\n"));
    EXPECT_TRUE(KmlUtil::kmlText(document).contains("<!-- LookAt -->\n\n<!-- Style -->"))
        << "no track, no view";
}

// Every text reaches the reader as it was given: markup, quotes, template markers and CDATA ends included.
TEST(KmlUtilTest, HostileTextsStayTextAndTheDocumentStaysWellFormed)
{
    const QString hostile = "a<b>&c\"d'e {1}{3} ]]> f";
    XmlData document = pointAndTrackDocument(hostile);
    document.FolderList[1].Name = hostile;
    document.FolderList[1].PlacemarkList[0].Description = hostile;
    document.FolderList[1].PlacemarkList[0].StyleUrl = hostile;
    const QString text = KmlUtil::kmlText(document);
    EXPECT_EQ(text.count("<LookAt>"), 2) << "a marker in a name is not filled";

    QXmlStreamReader reader(text);
    QMap<QString, QStringList> texts;
    while (!reader.atEnd()) {
        if (reader.readNext() == QXmlStreamReader::StartElement &&
            QStringList{"name", "description", "styleUrl"}.contains(reader.name()))
            texts[reader.name().toString()] << reader.readElementText();
    }
    ASSERT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(texts["name"], (QStringList{hostile, "Event", "05-01-2019 10:00:00 AM", hostile, "MyCar"}));
    EXPECT_EQ(texts["description"], QStringList{hostile});
    EXPECT_EQ(texts["styleUrl"], QStringList{hostile});

    // A file name may hold BEL, BS, VT or FF, which XML cannot carry even as references.
    XmlData named{QString("a\u0007b\u000Cc") + QChar(0xD800) + "\U0001F697", {}, {}};
    QXmlStreamReader names(KmlUtil::kmlText(named));
    QString name;
    while (!names.atEnd()) {
        if (names.readNext() == QXmlStreamReader::StartElement && names.name() == u"name")
            name = names.readElementText();
    }
    ASSERT_FALSE(names.hasError()) << names.errorString().toStdString();
    EXPECT_EQ(name, QString("a\uFFFDb\uFFFDc\uFFFD\U0001F697"));
}

TEST(KmlUtilTest, TimeElementsAreUtcAndNamesAreInTheViewersZone)
{
    EXPECT_EQ(KmlUtil::kmlDateText(TEN_AM_HONOLULU), "2019-05-01T20:00:00Z");
    EXPECT_EQ(KmlUtil::kmlDisplayDateText(TEN_AM_HONOLULU, {"HH:mm", "America/Toronto", true}), "16:00");
    EXPECT_EQ(KmlUtil::kmlDisplayDateText(TEN_AM_HONOLULU, {"HH:mm", "America/Toronto", false}), "15:00");
}

TEST(KmlUtilTest, PointPlacemarkNeedsBothCoordinates)
{
    EXPECT_FALSE(KmlUtil::makeFramePlacemark(TEN_AM_HONOLULU, 0, 1, HONOLULU));
    EXPECT_FALSE(KmlUtil::makeFramePlacemark(TEN_AM_HONOLULU, 1, 0, HONOLULU));
    XmlData document{"", {}, {{"", {*KmlUtil::makeFramePlacemark(TEN_AM_HONOLULU, 1, -18, HONOLULU)}}}};
    EXPECT_TRUE(KmlUtil::kmlText(document).contains("<coordinates>2.8e-05,-0.0005,0.0</coordinates>"));
}

// A trip's track kept packed is written, block by block, as the same samples in TrackData are, with the
// view fitted to them; a device that refuses a write makes the writing fail.
TEST(KmlUtilTest, APackedTrackIsWrittenAsItsSamplesInTrackDataAndARefusedWriteIsSaid)
{
    // Enough samples for several of the writer's blocks, west and south of the zero lines too.
    constexpr int SAMPLES = 30000;
    XmlData plain;
    plain.Name = "trip";
    PlacemarkData car;
    car.Name = "car";
    car.Description = "Trip<br>";
    PlacemarkData packedCar = car;
    for (int i = 0; i < SAMPLES; ++i) {
        const Date when = Date::fromUnixSeconds(1556740800 + i / 10);
        const int32_t longitude = -5000000 + i * 37;
        const int32_t latitude = 1280000 - i * 11;
        car.TrackList.push_back({when, KmlUtil::degrees(longitude), KmlUtil::degrees(latitude), 0.0});
        packedCar.PackedTrackList.push_back({when, longitude, latitude});
    }
    XmlData packed = plain;
    plain.FolderList.push_back({"Route", {car}});
    packed.FolderList.push_back({"Route", {packedCar}});
    const QString text = KmlUtil::kmlText(plain);
    ASSERT_GT(text.size(), 2 << 20);
    EXPECT_EQ(KmlUtil::kmlText(packed), text);

    QBuffer written;
    written.open(QIODevice::WriteOnly);
    packed.LookAt.reset();
    ASSERT_TRUE(KmlUtil::writeKml(packed, written));
    EXPECT_TRUE(written.data() == text.toUtf8());

    QFile full(QStringLiteral("/dev/full"));
    if (full.open(QIODevice::WriteOnly))
        EXPECT_FALSE(KmlUtil::writeKml(packed, full));
}
