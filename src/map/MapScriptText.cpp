#include "map/MapScriptText.h"

#include "map/MapPoint.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QtEndian>
#include <charconv>
#include <cmath>
#include <optional>

QString MapScriptText::number(double value)
{
    if (!std::isfinite(value))
        return QStringLiteral("NaN"); // still a valid script, unlike "nan" or "inf"
    char buffer[64];
    const double magnitude = std::fabs(value);
    // 2^53: beyond it the fixed form stops being the natural one; degrees never get there.
    const bool exponent = magnitude != 0.0 && (magnitude < 1e-4 || magnitude >= 9007199254740992.0);
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value,
                                      exponent ? std::chars_format::scientific : std::chars_format::fixed);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    if (!exponent && !text.contains(QLatin1Char('.')))
        text += QStringLiteral(".0");
    return text;
}

QString MapScriptText::string(const QString &text)
{
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    // Strip the array brackets; what is left is one JSON string literal.
    QString literal = QString::fromUtf8(array.mid(1, array.size() - 2));
    // Line and paragraph separators are legal in JSON but ended string literals in older scripts.
    literal.replace(QChar(0x2028), QStringLiteral("\\u2028"));
    literal.replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return literal;
}

QString MapScriptText::movePosition(double lat, double lng)
{
    return QStringLiteral("movePosition(") + number(lat) + QStringLiteral(",") + number(lng) +
           QStringLiteral(")");
}

QString MapScriptText::setCenter(double lat, double lng)
{
    return QStringLiteral("setCenter(") + number(lat) + QStringLiteral(",") + number(lng) +
           QStringLiteral(")");
}

QString MapScriptText::setZoom(int zoom)
{
    return QStringLiteral("setZoom(%1)").arg(zoom);
}

QString MapScriptText::setMapTypeId(const QString &id)
{
    return QStringLiteral("setMapTypeId(") + string(id) + QStringLiteral(")");
}

QString MapScriptText::setDispBalloon(bool show)
{
    return QStringLiteral("setDispBalloon(") + boolean(show) + QStringLiteral(")");
}

QString MapScriptText::setLanguage(int language)
{
    return QStringLiteral("setLanguage(%1)").arg(language);
}

QString MapScriptText::drawMyCar(double lat, double lng, qint64 iconCode, bool isGps)
{
    return QStringLiteral("drawMyCar(") + number(lat) + QStringLiteral(", ") + number(lng) +
           QStringLiteral(", ") + QString::number(iconCode) + QStringLiteral(", ") + boolean(isGps) +
           QStringLiteral(")");
}

QString MapScriptText::addMarker(const QString &key, double lat, double lng, const QString &text, int kind)
{
    return QStringLiteral("addMarker(") + string(key) + QStringLiteral(", ") + number(lat) +
           QStringLiteral(", ") + number(lng) + QStringLiteral(",") + string(text) + QStringLiteral(", ") +
           QString::number(kind) + QStringLiteral(")");
}

namespace {
// The millionths of a degree a value is, when it is exactly that many (as route degrees are).
std::optional<int64_t> wholeMicroDegrees(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 1000.0)
        return std::nullopt;
    const int64_t micro = std::llround(value * 1000000.0);
    if (double(micro) / 1000000.0 != value)
        return std::nullopt;
    return micro;
}

void appendVarint(QByteArray &bytes, int64_t value)
{
    // Zigzag, so that small steps either way take a byte or two.
    auto zigzag = (uint64_t(value) << 1) ^ uint64_t(value >> 63);
    do {
        const auto low = char(zigzag & 0x7f);
        zigzag >>= 7;
        bytes.append(zigzag ? char(low | 0x80) : low);
    } while (zigzag);
}
} // namespace

QString MapScriptText::addPackedPolyPoints(std::span<const RoutePoint> points)
{
    QByteArray steps;
    steps.reserve(qsizetype(points.size()) * 4);
    int64_t lastLat = 0, lastLng = 0;
    bool whole = true;
    for (const RoutePoint &p : points) {
        const auto lat = wholeMicroDegrees(p.lat), lng = wholeMicroDegrees(p.lng);
        if (!lat || !lng) {
            whole = false;
            break;
        }
        appendVarint(steps, *lat - lastLat);
        appendVarint(steps, *lng - lastLng);
        lastLat = *lat;
        lastLng = *lng;
    }
    if (whole)
        return QStringLiteral("addPackedPolyPoints(\"") + QString::fromLatin1(steps.toBase64()) +
               QStringLiteral("\",1)");
    QByteArray bytes(qsizetype(points.size()) * 16, Qt::Uninitialized);
    char *at = bytes.data();
    for (const RoutePoint &p : points) {
        qToLittleEndian(p.lat, at);
        qToLittleEndian(p.lng, at + 8);
        at += 16;
    }
    return QStringLiteral("addPackedPolyPoints(\"") + QString::fromLatin1(bytes.toBase64()) +
           QStringLiteral("\")");
}

QString MapScriptText::addMarkers(std::span<const Marker> markers)
{
    // One JSON text for the whole list: quoting each key and text alone costs a document each.
    QJsonArray list;
    for (const Marker &marker : markers)
        list.append(QJsonArray{marker.key, marker.lat, marker.lng, marker.text, marker.kind});
    QString literal = QString::fromUtf8(QJsonDocument(list).toJson(QJsonDocument::Compact));
    literal.replace(QChar(0x2028), QStringLiteral("\\u2028"));
    literal.replace(QChar(0x2029), QStringLiteral("\\u2029"));
    return QStringLiteral("addMarkers(") + literal + QLatin1Char(')');
}

QString MapScriptText::addPolyPoint(double lat, double lng)
{
    return QStringLiteral("addPolyPoint(") + number(lat) + QStringLiteral(", ") + number(lng) +
           QStringLiteral(")");
}

QString MapScriptText::addPolyPoints(std::span<const RoutePoint> points)
{
    QString text = QStringLiteral("addPolyPoints([");
    // About 24 characters a point; one allocation for a chapter's few hundred.
    text.reserve(text.size() + qsizetype(points.size()) * 26 + 2);
    bool first = true;
    for (const RoutePoint &p : points) {
        if (!first)
            text += QLatin1Char(',');
        first = false;
        text += QLatin1Char('[') + number(p.lat) + QLatin1Char(',') + number(p.lng) + QLatin1Char(']');
    }
    text += QStringLiteral("])");
    return text;
}
