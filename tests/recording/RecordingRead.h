// Helpers the recording suites share: what a read gives, files and their bytes, recdump's view of a
// file, thrown errors and UTC instants.
#pragma once

#include "platform/PlatformError.h"
#include "recording/FullTimeDataInfo.h"
#include "recording/PictureData.h"
#include "recording/VideoInfo.h"
#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <span>
#include <vector>

// A change to a good file, the frames the read still gives and whether it reports an error.
struct Damage
{
    const char *name;
    std::function<void(QByteArray &)> damage;
    size_t frames;
    bool isError;
};

struct Read
{
    std::shared_ptr<VideoInfo> info;
    bool isError = false;
};

// Camera 0's counters in key order.
inline std::vector<uint32_t> stamps(VideoInfo &info)
{
    std::vector<uint32_t> out;
    for (const auto &[key, frame] : info.getCameraFrames(0))
        out.push_back(frame._timeStamp);
    return out;
}

inline std::span<const uint8_t> bytesOf(const QByteArray &bytes)
{
    return {reinterpret_cast<const uint8_t *>(bytes.data()), size_t(bytes.size())};
}

inline QString tool(const QString &name)
{
    return QDir(qEnvironmentVariable("ORV_BUILD_DIR")).filePath("devtools/" + name);
}

// recdump's JSON for these arguments; an exit other than 0 fails the test.
inline QJsonObject recdump(const QStringList &args)
{
    QProcess p;
    p.start(tool("recdump"), args);
    p.waitForFinished(-1);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    return QJsonDocument::fromJson(p.readAllStandardOutput()).object();
}

inline QString iso(int64_t unixSeconds)
{
    return QDateTime::fromSecsSinceEpoch(unixSeconds, Qt::UTC).toString(Qt::ISODateWithMs);
}

// The error code a call throws and its domain (the description); 999 when it throws nothing.
inline std::pair<int, QString> errorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const PlatformError &error) {
        return {error.code(), error.domain()};
    }
    return {999, {}};
}

inline Date utc(int y, int mo, int d, int h, int mi, int s = 0)
{
    return Date::fromDateTime(QDateTime(QDate(y, mo, d), QTime(h, mi, s), Qt::UTC));
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file read as the card's workers read it.
inline PictureData pictureOf(const QString &path,
                             std::optional<PictureData::RecType> rec = PictureData::RecType::Yohin14Rec,
                             PictureData::PictureDataType type = PictureData::PictureDataType::All)
{
    return PictureData(QUrl::fromLocalFile(path), type, Date::distantPast(), Date::distantFuture(),
                       std::make_shared<FullTimeDataInfo>(), rec, {});
}
