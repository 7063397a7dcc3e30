// Header values of one recording: detection, times, codes and title, partly loaded from its INI header file.
#pragma once

#include "recording/Date.h"
#include "recording/DetectionType.h"

#include <QString>

#include <cstdint>
#include <optional>

class PlaybackInfo
{
public:
    PlaybackInfo();

    // Overwrites userCarCode, userDriverCode and title from the header file at path (Shift-JIS INI,
    // section INFO). Missing keys or an unreadable file give "", "" and "なし": the readers rely on the
    // empty codes to take them from elsewhere.
    void load(const QString &path);

    static inline const QString DATANOTHING_ZERO_8 = QStringLiteral("00000000");

    QString userCarCode;
    QString userDriverCode;
    QString _m_NumberPlate;
    QString _m_DriverName;
    QString organizeCode;
    QString _m_OrganizeName;
    Date recordTime; // 2000-01-01 00:00:00 local time until a reader sets it
    Date endTime;
    Date detectTime;
    DetectionType detectionType = DetectionType::GSensor;
    int64_t detectPosition = 0; // frame-table key (ms) of the detection once a reader has placed it
    QString title;
    QString d2US = QStringLiteral("03"); // header bytes as hex text
    std::optional<QString> gValue;
    QString eventFPS = QStringLiteral("00");
    QString movieFPS = QStringLiteral("99");
};
