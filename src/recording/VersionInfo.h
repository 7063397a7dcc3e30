// The destination and version text of the camera that wrote a folder, from its "ver.txt".
#pragma once

#include "recording/FormUtil.h"
#include "recording/TargetType.h"

#include <QString>
#include <QUrl>

#include <optional>

class VersionInfo
{
public:
    static inline const QString CommonTargetCode = QStringLiteral("103");
    static inline const QString Gyomu12TargetCode = QStringLiteral("104");

    VersionInfo() = default;
    VersionInfo(TargetType target, QString versionString);
    virtual ~VersionInfo() = default;

    // What a folder whose version cannot be read is taken as: Gyomu12, "104".
    static VersionInfo fallback();

    // Reads the first line of dir/ver.txt. No folder, or a missing, unreadable or unrecognised file:
    // the fallback. Throws PlatformError("バージョン情報が不明です。", -1) only when that fails and
    // dir/SETINF.DAT is a folder.
    static VersionInfo check(const std::optional<QUrl> &dir);
    // The first three characters are the destination code. Throws "バージョン情報が不明です。" for a
    // text shorter than three characters and "未定義の向け先番号です: <code>" for an unknown code.
    static VersionInfo check(const QString &reader);
    static TargetType getTargetType(const QString &targetCode);
    static QString getTargetCode(TargetType target);
    static QString getTargetName(TargetType target, FormUtil::AppTarget appTarget = FormUtil::appTarget);

    virtual double binaryToGValue(long long bits) const;

    TargetType _target = TargetType::None;
    QString _versionString;
};
