#include "samplecard/SampleSettingsFile.h"

#include "recording/SettingInfo.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

QByteArray SampleSettingsFile::bytes(const SampleScenario &scenario)
{
    SettingInfo info;
    info._fileInfo = {uint8_t(scenario.fileVersion >> 8), uint8_t(scenario.fileVersion & 0xFF)};
    if (!scenario.trips.empty()) {
        // The camera's clock as UTC fields, so the file does not depend on the machine's zone.
        const QDateTime start = scenario.trips.front().start.toUTC();
        info._datetime.clear();
        for (int part : {start.date().year() % 100, start.date().month(), start.date().day(),
                         start.time().hour(), start.time().minute()}) {
            info._datetime.push_back(SettingInfo::toBcd(part, 1)[0]);
        }
    }
    info._security1 = {0x00, 0x00, 0x00, 0x00, 0x00};
    info._security2 = {0x00, 0x00, 0x00, 0x00, 0x00};
    info.setBuzzAction(1);
    info.setGuidanceVolume(3);
    info.setBuzzOperation(1);
    info.setBuzzNoCard(0);
    info.setBuzzSurv(2);
    info.setGTrgLevel(50);
    info.setGTrgTime(2);
    info.setGTrgCross(3);
    info.setModAngle(true, 0);
    const int recMode = scenario.trips.empty() || scenario.trips.front().chapters.empty()
                            ? 1
                            : scenario.trips.front().chapters.front().recMode;
    info.setQualityMode(recMode);
    info.setRecSound(1);
    info.setSurvRec(true, false, 1);
    info.setOpeTime(30);
    info.setSurvGSensorX(25);
    info.setSurvGSensorY(25);
    info.setSurvAccOffTime(1);
    info.setSurvAccOnTime(1);
    info.setAdvMode(false, true);
    info.setRecFileCnt(100);

    std::vector<SettingInfo::Bytes> items;
    const SettingInfo::Bytes all = info.toBytes();
    for (size_t at = 0; at + 8 <= all.size(); at += 8) {
        items.emplace_back(all.begin() + at, all.begin() + at + 8);
    }
    // The camera also reports its device type, which the viewer reads but never writes back.
    const uint8_t deviceType[] = {uint8_t(scenario.terminalSeparate ? 1 : 0)};
    items.insert(items.begin() + 2, SettingInfo::createItem(SettingInfo::GRP_CD_DEVICETYPE, deviceType));
    const uint8_t unknownData[] = {0x01, 0x02};
    items.push_back(SettingInfo::createItem(UNKNOWN_CODE, unknownData));

    QByteArray file(24, '\0');
    file[8] = char(items.size());
    for (const auto &item : items) {
        file.append(reinterpret_cast<const char *>(item.data()), qsizetype(item.size()));
    }
    return file;
}

bool SampleSettingsFile::write(const SampleScenario &scenario, const QString &path, QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    const QByteArray data = bytes(scenario);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        if (error) {
            *error = "cannot write " + path;
        }
        return false;
    }
    return true;
}
