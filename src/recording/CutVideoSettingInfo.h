// The recording settings part of a trimmed clip's metadata archive: file version, camera build and mode.
#pragma once

#include "platform/KeyedArchiver.h"
#include "recording/CommonConst.h"
#include "recording/TerminalType.h"

#include <QString>
#include <optional>

class ArchivedValue;

class CutVideoSettingInfo
{
public:
    static inline const QString CLASS_NAME = QStringLiteral("CutVideoSettingInfo");

    CutVideoSettingInfo() = default;

    QString _fileVersion; // four hexadecimal digits, "0714"
    std::optional<TerminalType> _terminalType;
    std::optional<CommonConst::RecMode> _recMode;

    // Adds this object to the archive and returns its reference.
    KeyedArchiver::Ref encodeWithCoder(KeyedArchiver &archiver) const;
    // None when the file version is missing or not a text. The camera build and the mode read as None
    // and Nomal whatever integers the archive holds.
    static std::optional<CutVideoSettingInfo> initWithCoder(const ArchivedValue &coder);
};
