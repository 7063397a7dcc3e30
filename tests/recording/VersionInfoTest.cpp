#include "recording/VersionInfo.h"
#include "recording/RecordingRead.h"
#include "support/TempDir.h"
#include <QTimeZone>

TEST(VersionInfoTest, FirstLineGivesTheDestinationOrTheErrors)
{
    TempDir dir;
    const auto folder = std::optional<QUrl>(QUrl::fromLocalFile(dir.path()));
    dir.write("ver.txt", "103 v2.01\r\nsecond line\r\n");
    VersionInfo v = VersionInfo::check(folder);
    EXPECT_EQ(v._target, TargetType::Common);
    EXPECT_EQ(v._versionString, "103 v2.01");

    dir.write("ver.txt", "104");
    EXPECT_EQ(VersionInfo::check(folder)._target, TargetType::Gyomu12);

    for (const QByteArray &bad :
         {QByteArray("10\n"), QByteArray("105 x\n"), QByteArray(""), QByteArray("\xFF\xFE")}) {
        dir.write("ver.txt", bad);
        const VersionInfo f = VersionInfo::check(folder);
        EXPECT_EQ(f._target, TargetType::Gyomu12) << bad.constData();
        EXPECT_EQ(f._versionString, "104");
    }
    EXPECT_EQ(VersionInfo::check(std::nullopt)._target, TargetType::Gyomu12);

    // The code is three user-perceived characters: one outside the basic plane is one character, and a
    // digit with a combining mark is one character that is not a plain digit.
    const std::pair<const char *, const char *> codes[] = {
        {"10", "バージョン情報が不明です。"},
        {"105abc", "未定義の向け先番号です: 105"},
        {"1\U0001F600", "バージョン情報が不明です。"},
        {"103\u0301 v1", "未定義の向け先番号です: 103\u0301"},
        {"104\u0301", "未定義の向け先番号です: 104\u0301"}};
    for (const auto &[text, error] : codes)
        EXPECT_EQ(errorOf([code = QString::fromUtf8(text)] { VersionInfo::check(code); }),
                  std::pair(-1, QString::fromUtf8(error)))
            << text;

    TempDir none;
    EXPECT_EQ(VersionInfo::check(std::optional(QUrl::fromLocalFile(none.path())))._target,
              TargetType::Gyomu12);
    QDir(dir.path()).remove("ver.txt");
    QDir(dir.path()).mkdir("SETINF.DAT");
    EXPECT_EQ(errorOf([&] { VersionInfo::check(folder); }),
              std::pair(-1, QString("バージョン情報が不明です。")));
    TempDir other;
    QDir(other.path()).mkdir("ver.txt");
    EXPECT_EQ(VersionInfo::check(std::optional<QUrl>(QUrl::fromLocalFile(other.path())))._target,
              TargetType::Gyomu12);
}

TEST(FullTimeDataInfoTest, KeysAndOrdering)
{
    FullTimeDataInfo a;
    FullTimeDataInfo b;
    EXPECT_FALSE(a.checkAllProperties());
    EXPECT_FALSE(a.checkInfoByKey(b));
    EXPECT_EQ(a.CompareTo(nullptr), 0);
    for (FullTimeDataInfo *r : {&a, &b}) {
        r->_userCarCode = "C1";
        r->_userDriverCode = "D1";
        r->_startDate = "20240501123000";
        r->_dirName = "dir";
    }
    a._creationDate = "20240501123000";
    b._creationDate = "20240501123001";
    EXPECT_TRUE(a.checkInfoByKey(b));
    EXPECT_TRUE(a.checkAllProperties());
    EXPECT_EQ(std::pair(a.CompareTo(&b), b.CompareTo(&a)), std::pair(-1, 1));
    a._userCarCode = "A";
    b._userCarCode = "a";
    EXPECT_EQ(a.CompareTo(&b), -1);

    const QDateTime local(QDate(2024, 5, 1), QTime(23, 4, 5), QTimeZone::systemTimeZone());
    a.setStartDate(Date::fromDateTime(local));
    EXPECT_EQ(a._startDate, "20240501230405");
}
