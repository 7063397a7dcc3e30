#include "map/KmlUtil.h"

#include "map/MapScriptText.h"
#include "recording/DateFormatTypeUtil.h"
#include "recording/UserDefaultUtil.h"

#include <QBuffer>
#include <QIODevice>

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {

const QChar LF = QLatin1Char('\n');

QString number(double value)
{
    return MapScriptText::number(value);
}

QString element(const char *tag, const QString &text)
{
    const QString name = QString::fromLatin1(tag);
    return QLatin1Char('<') + name + QLatin1Char('>') + text + QStringLiteral("</") + name + QLatin1Char('>');
}

// A CDATA section ends at the first "]]>": split it so that no text can end the section early.
QString cdata(const QString &text)
{
    QString body = text;
    body.replace(QStringLiteral("]]>"), QStringLiteral("]]]]><![CDATA[>"));
    return QStringLiteral("<![CDATA[") + body + QStringLiteral("]]>");
}

// UTF-8 out in blocks of about a megabyte; a refused write is remembered and ends the writing.
class KmlSink
{
public:
    explicit KmlSink(QIODevice &out) : _out(out) {}
    ~KmlSink() { flush(); }
    KmlSink &operator<<(const QString &text)
    {
        _buffer += text.toUtf8();
        if (_buffer.size() >= BLOCK)
            flush();
        return *this;
    }
    bool flush()
    {
        if (_ok && !_buffer.isEmpty())
            _ok = _out.write(_buffer) == _buffer.size();
        _buffer.clear();
        return _ok;
    }

private:
    static constexpr qsizetype BLOCK = 1 << 20;
    QIODevice &_out;
    QByteArray _buffer;
    bool _ok = true;
};

QString coordText(double longitude, double latitude, double altitude)
{
    return element("gx:coord", number(longitude) + QLatin1Char(' ') + number(latitude) + QLatin1Char(' ') +
                                   number(altitude)) +
           LF;
}

void writePlacemark(KmlSink &out, const PlacemarkData &placemark)
{
    QString text = QStringLiteral("<Placemark>\n<Snippet maxLines=\"0\"></Snippet>\n");
    if (!placemark.Name.isEmpty())
        text += element("name", KmlUtil::escapeText(placemark.Name)) + LF;
    if (!placemark.StyleUrl.isEmpty())
        text += element("styleUrl", KmlUtil::escapeText(placemark.StyleUrl)) + LF;
    if (!placemark.Description.isEmpty())
        text += element("description", cdata(placemark.Description)) + LF;
    if (const auto &point = placemark.Coordinates) {
        text += QStringLiteral("<Point><coordinates>") + number(point->Longitude) + QLatin1Char(',') +
                number(point->Latitude) + QLatin1Char(',') + number(point->Altitude) +
                QStringLiteral("</coordinates></Point>\n");
    }
    if (placemark.LookAt)
        text += KmlUtil::lookAtText(placemark.LookAt) + LF;
    out << text;
    if (!placemark.TrackList.empty() || !placemark.PackedTrackList.empty()) {
        out << QStringLiteral("<gx:Track>\n");
        for (const TrackData &sample : placemark.TrackList) {
            if (sample.When)
                out << element("when", KmlUtil::kmlDateText(*sample.When)) + LF;
        }
        for (const PackedTrackSample &sample : placemark.PackedTrackList)
            out << element("when", KmlUtil::kmlDateText(sample.When)) + LF;
        for (const TrackData &sample : placemark.TrackList)
            out << coordText(sample.Longitude, sample.Latitude, sample.Altitude);
        for (const PackedTrackSample &sample : placemark.PackedTrackList)
            out << coordText(KmlUtil::degrees(sample.Longitude), KmlUtil::degrees(sample.Latitude), 0.0);
        out << QStringLiteral("</gx:Track>\n");
    }
    out << QStringLiteral("</Placemark>\n");
}

void writeFolders(KmlSink &out, const XmlData &document)
{
    for (const FolderData &folder : document.FolderList) {
        QString head = QStringLiteral("<Folder>\n");
        if (!folder.Name.isEmpty())
            head += element("name", KmlUtil::escapeText(folder.Name)) + LF;
        out << head;
        for (const PlacemarkData &placemark : folder.PlacemarkList)
            writePlacemark(out, placemark);
        out << QStringLiteral("</Folder>\n");
    }
}

// Bounds and ends of a placemark's samples, in the degrees the text shows.
struct TrackView
{
    double maxLat = -90, minLat = 90, maxLon = -180, minLon = 180;
    std::optional<Date> first;
    std::optional<Date> last;
    bool any = false;

    void add(double longitude, double latitude, const std::optional<Date> &when)
    {
        maxLat = std::max(maxLat, latitude);
        minLat = std::min(minLat, latitude);
        maxLon = std::max(maxLon, longitude);
        minLon = std::min(minLon, longitude);
        if (!any)
            first = when;
        last = when;
        any = true;
    }
    LookAtData lookAt() const
    {
        LookAtData lookAt;
        if (!any)
            return lookAt;
        lookAt.TimeStan = TimeSpanData{first, last};
        const double dLat = maxLat - minLat;
        const double midLat = minLat + dLat / 2;
        const double dLon = maxLon - minLon;
        const double midLon = minLon + dLon / 2;
        // About 170 km of view height per degree of latitude; a degree of longitude shrinks with
        // cos(latitude).
        lookAt.Range =
            std::max(170000 * dLat, std::cos(std::fabs(midLat) / 180 * std::numbers::pi) * dLon * 110000);
        lookAt.Longitude = midLon;
        lookAt.Latitude = midLat;
        lookAt.Altitude = 0;
        lookAt.Heading = 0;
        lookAt.Tilt = 0;
        return lookAt;
    }
};

} // namespace

std::optional<KmlDateSettings> KmlDateSettings::fromSettings(const UserDefaultUtil &settings)
{
    const auto format = DateFormatTypeUtil::format(DateFormatTypeUtil::exportFormats(), settings.dateFormat);
    if (!format)
        return std::nullopt;
    return KmlDateSettings{*format, DateFormatTypeUtil::timeZoneIdentifier(settings.timeZone),
                           settings.summerTime};
}

QString KmlUtil::kmlText(XmlData &document)
{
    QBuffer text;
    text.open(QIODevice::WriteOnly);
    writeKml(document, text);
    return QString::fromUtf8(text.data());
}

bool KmlUtil::writeKml(XmlData &document, QIODevice &out)
{
    // The document's view, where it has none, is the first track's.
    for (const FolderData &folder : document.FolderList) {
        for (const PlacemarkData &placemark : folder.PlacemarkList) {
            if (!document.LookAt && (!placemark.TrackList.empty() || !placemark.PackedTrackList.empty()))
                document.LookAt = fitLookAt(placemark);
        }
    }
    KmlSink sink(out);
    // Each marker of the template is filled once: a slot text that itself holds "{1}" stays as it is.
    const QString pattern = templateText();
    qsizetype from = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        if (pattern.at(i) != QLatin1Char('{') || i + 2 >= pattern.size() ||
            pattern.at(i + 2) != QLatin1Char('}'))
            continue;
        const int slot = pattern.at(i + 1).unicode() - '0';
        if (slot < 0 || slot > 3)
            continue;
        sink << pattern.mid(from, i - from);
        switch (slot) {
        case 0:
            sink << escapeText(document.Name);
            break;
        case 1:
            sink << lookAtText(document.LookAt);
            break;
        case 2:
            sink << styleBlock();
            break;
        default:
            writeFolders(sink, document);
        }
        i += 2;
        from = i + 1;
    }
    sink << pattern.mid(from);
    return sink.flush();
}

QString KmlUtil::lookAtText(const std::optional<LookAtData> &lookAt)
{
    if (!lookAt)
        return {};
    QString text = QStringLiteral("<LookAt>\n");
    if (lookAt->TimeStamp)
        text += QStringLiteral("<gx:TimeStamp>") + element("when", kmlDateText(*lookAt->TimeStamp)) +
                QStringLiteral("</gx:TimeStamp>\n");
    if (lookAt->TimeStan && lookAt->TimeStan->Begin && lookAt->TimeStan->End) {
        text += QStringLiteral("<gx:TimeSpan>") + element("begin", kmlDateText(*lookAt->TimeStan->Begin)) +
                element("end", kmlDateText(*lookAt->TimeStan->End)) + QStringLiteral("</gx:TimeSpan>\n");
    }
    const std::pair<const char *, const std::optional<double> &> values[] = {
        {"longitude", lookAt->Longitude}, {"latitude", lookAt->Latitude}, {"altitude", lookAt->Altitude},
        {"heading", lookAt->Heading},     {"tilt", lookAt->Tilt},         {"range", lookAt->Range}};
    for (const auto &[tag, value] : values) {
        if (value)
            text += element(tag, number(*value)) + LF;
    }
    text += element("altitudeMode", LookAtData::rawValue(lookAt->AltitudeMode)) + LF;
    return text + QStringLiteral("</LookAt>");
}

QString KmlUtil::kmlDateText(const Date &date)
{
    return Date::formatPattern(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss'Z'"), date.toDateTime());
}

QString KmlUtil::kmlDisplayDateText(const Date &date, const KmlDateSettings &settings)
{
    return date.toString(settings.kmlDisplayDateFormat, settings.timeZone, settings.summerTime);
}

LookAtData KmlUtil::fitLookAt(const std::vector<TrackData> &tracks)
{
    TrackView view;
    for (const TrackData &sample : tracks)
        view.add(sample.Longitude, sample.Latitude, sample.When);
    return view.lookAt();
}

LookAtData KmlUtil::fitLookAt(const PlacemarkData &placemark)
{
    TrackView view;
    for (const TrackData &sample : placemark.TrackList)
        view.add(sample.Longitude, sample.Latitude, sample.When);
    for (const PackedTrackSample &sample : placemark.PackedTrackList)
        view.add(degrees(sample.Longitude), degrees(sample.Latitude), sample.When);
    return view.lookAt();
}

std::optional<PlacemarkData> KmlUtil::makeFramePlacemark(const Date &date, std::int32_t longitude,
                                                         std::int32_t latitude,
                                                         const KmlDateSettings &settings)
{
    if (longitude == 0 || latitude == 0)
        return std::nullopt;
    PlacemarkData placemark;
    placemark.Name = kmlDisplayDateText(date, settings);
    placemark.Coordinates = CoordinatesData{degrees(longitude), degrees(latitude), 0};
    LookAtData lookAt;
    lookAt.TimeStamp = date;
    lookAt.Longitude = degrees(longitude);
    lookAt.Latitude = degrees(latitude);
    lookAt.Altitude = 0;
    lookAt.Heading = 0;
    lookAt.Tilt = 0;
    lookAt.Range = 1000;
    placemark.LookAt = lookAt;
    return placemark;
}

double KmlUtil::degrees(std::int32_t value)
{
    return std::round(value / 36000.0 * 1000000) / 1000000;
}

QString KmlUtil::escapeText(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        // XML 1.0 has no way to write most control characters (file names may hold them) or an unpaired
        // surrogate, not even as a reference: they become U+FFFD so that the document stays readable.
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
            continue;
        }
        const char16_t u = c.unicode();
        if ((u < 0x20 && u != 0x09 && u != 0x0A && u != 0x0D) || c.isSurrogate() || u == 0xFFFE ||
            u == 0xFFFF) {
            out += QChar(QChar::ReplacementCharacter);
            continue;
        }
        switch (u) {
        case '&':
            out += QStringLiteral("&amp;");
            break;
        case '<':
            out += QStringLiteral("&lt;");
            break;
        case '>':
            out += QStringLiteral("&gt;");
            break;
        case '"':
            out += QStringLiteral("&quot;");
            break;
        case '\'':
            out += QStringLiteral("&apos;");
            break;
        default:
            out += c;
        }
    }
    return out;
}

QString KmlUtil::templateText()
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<kml xmlns=\"http://www.opengis.net/kml/2.2\""
                          " xmlns:gx=\"http://www.google.com/kml/ext/2.2\""
                          " xmlns:kml=\"http://www.opengis.net/kml/2.2\""
                          " xmlns:atom=\"http://www.w3.org/2005/Atom\">\n"
                          "<Document>\n"
                          "<name>{0}</name>\n"
                          "<!-- LookAt -->\n"
                          "{1}\n"
                          "<!-- Style -->\n"
                          "{2}<!-- Folder -->\n"
                          "{3}</Document>\n"
                          "</kml>\n");
}

QString KmlUtil::styleBlock(const QString &iconHost)
{
    const QString icons =
        QStringLiteral("http://") + iconHost + QStringLiteral("/images/kml-icons/track-directional/");
    QString text = QStringLiteral("<Style id=\"track_style\"><IconStyle><Icon>\n<href>") + icons +
                   QStringLiteral("track-0.png</href>\n</Icon></IconStyle>\n"
                                  "<LineStyle><color>73ff0000</color><width>6</width></LineStyle></Style>\n");
    auto iconStyle = [&](const QString &suffix) {
        return QStringLiteral("<Style id=\"track-") + suffix +
               QStringLiteral("\"><IconStyle><scale>0.8</scale><heading>0</heading>\n<Icon><href>") + icons +
               QStringLiteral("track-") + suffix +
               QStringLiteral(".png</href></Icon>\n"
                              "<hotSpot x=\"0.5\" y=\"0.5\" xunits=\"fraction\" yunits=\"fraction\" />\n"
                              "</IconStyle></Style>\n");
    };
    text += iconStyle(QStringLiteral("none"));
    for (int i = 0; i < 16; ++i)
        text += iconStyle(QString::number(i));
    return text;
}
