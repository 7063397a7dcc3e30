#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QSettings>
#include <functional>
#include <gtest/gtest.h>

namespace {

class UserDefaultUtilTest : public ::testing::Test
{
protected:
    TempDir dir;
    QString file = dir.filePath(QStringLiteral("settings.conf"));

    // Writes keys the way another copy of the viewer (or an older run) left them.
    void store(const QString &key, const QVariant &value)
    {
        QSettings settings(file, QSettings::IniFormat);
        settings.setValue(key, value);
    }
};

} // namespace

TEST_F(UserDefaultUtilTest, RoundTripThroughTheStore)
{
    TempDir folders;
    const QUrl googleEarth = QUrl::fromLocalFile(folders.path() + QLatin1Char('/'));
    // (key, value written, the loaded member); the circle chart's scale 2.5 G is entry 4 of its list. The map
    // keys, the volume and mute, and the capture folder are read back in the map, player and tool tests.
    const struct
    {
        const char *key;
        QVariant value;
        std::function<QVariant(const UserDefaultUtil &)> loaded;
    } keys[] = {
        {"DateFormat", 3, [](auto &s) { return int(s.dateFormat); }},
        {"TimeZone", 0, [](auto &s) { return s.timeZone; }},
        {"SummerTime", true, [](auto &s) { return s.summerTime; }},
        {"SpeedMeter", false, [](auto &s) { return s.speedMeter; }},
        {"pathBackup", folders.path(), [](auto &s) { return s.pathBackup; }},
        {"cardDriveSelect", "/media/CARD", [](auto &s) { return s.cardDriveSelect; }},
        {"pathSelectFile", "/media/CARD/a.MP4", [](auto &s) { return s.pathSelectFile; }},
        {"viewerGamma", 2.5, [](auto &s) { return s.viewerGamma; }},
        {"dispSpeedMeter", false, [](auto &s) { return s.dispSpeedMeter; }},
        {"dispCircleChart", false, [](auto &s) { return s.dispCircleChart; }},
        {"dispCircleChartMaxG", 2.5, [](auto &s) { return s.dispCircleChartMaxG == 4 ? 2.5 : -1.0; }},
        {"pathDirCut", folders.path(), [](auto &s) { return s.pathDirCut; }},
        {"expDlgDateTime", true, [](auto &s) { return s.expDlgDateTime; }},
        {"expDlgPoint", true, [](auto &s) { return s.expDlgPoint && !s.expDlgSpeed; }},
        {"TQ-MW58_ViewerFirstLaunch", true, [](auto &s) { return s.viewerFirstLaunch; }},
    };
    {
        UserDefaultUtil writer(file);
        for (const auto &k : keys)
            writer.setValue(QString::fromLatin1(k.key), k.value);
        writer.setPathDirGoogleEarth(googleEarth);
        writer.setLanguage(1);
    }
    UserDefaultUtil settings(file);
    settings.load();
    for (const auto &k : keys)
        EXPECT_EQ(k.loaded(settings), k.value) << k.key;
    EXPECT_EQ(settings.pathDirGoogleEarth, googleEarth);
    EXPECT_EQ(settings.language, 1);
    EXPECT_EQ(settings.value(QStringLiteral("AppleLanguages")).toStringList(),
              QStringList{QStringLiteral("fr")});
}

TEST_F(UserDefaultUtilTest, OutOfRangeValuesFallBackAndAMapTypeThatIsNoTextStopsTheLoad)
{
    store(QStringLiteral("DateFormat"), 7);
    store(QStringLiteral("TimeZone"), 8);
    store(QStringLiteral("Language"), 3);
    store(QStringLiteral("dispCircleChartMaxG"), 2.4);
    UserDefaultUtil settings(file);
    settings.load();
    EXPECT_EQ(settings.dateFormat, DateFormatType::MDY24H);
    EXPECT_EQ(settings.timeZone, 5);
    EXPECT_EQ(settings.language, 0);
    EXPECT_EQ(settings.dispCircleChartMaxG, 0);

    store(QStringLiteral("TimeZone"), -1);
    store(QStringLiteral("Language"), 2);
    settings.load();
    EXPECT_EQ(settings.timeZone, 5);
    EXPECT_EQ(settings.language, 2);

    store(QStringLiteral("mapTypeId"), QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC));
    store(QStringLiteral("viewerGamma"), 2.0);
    store(QStringLiteral("mapZoom"), 11);
    settings.load();
    EXPECT_EQ(settings.mapZoom, 11);
    EXPECT_EQ(settings.mapTypeId, QStringLiteral("roadmap"));
    EXPECT_EQ(settings.viewerGamma, 1.0);

    store(QStringLiteral("mapTypeId"), 5);
    settings.load();
    EXPECT_EQ(settings.mapTypeId, QStringLiteral("5"));
    EXPECT_EQ(settings.viewerGamma, 2.0);
}

TEST_F(UserDefaultUtilTest, RemovedKeysKeepTheirValuesExceptDateFormatAndTimeZone)
{
    store(QStringLiteral("DateFormat"), 3);
    store(QStringLiteral("TimeZone"), 2);
    store(QStringLiteral("SummerTime"), true);
    UserDefaultUtil settings(file);
    settings.load();
    settings.remove(QStringLiteral("DateFormat"));
    settings.remove(QStringLiteral("TimeZone"));
    settings.remove(QStringLiteral("SummerTime"));
    settings.load();
    EXPECT_EQ(settings.dateFormat, DateFormatType::MDY24H);
    EXPECT_EQ(settings.timeZone, 5);
    EXPECT_TRUE(settings.summerTime);
    // The direct getters read the store, not the values.
    settings.summerTime = false;
    store(QStringLiteral("SummerTime"), true);
    EXPECT_TRUE(settings.getSummerTime());
    EXPECT_FALSE(settings.summerTime);
}

TEST_F(UserDefaultUtilTest, GoneBackupFolderGivesDocumentsToolFoldersOnlyWhenNoText)
{
    UserDefaultUtil settings(file);
    const QString aFile = dir.write(QStringLiteral("not-a-folder"), "x");
    for (const auto &[stored, loaded] :
         {std::pair{aFile, UserDefaultUtil::documentsPath()},
          {dir.filePath(QStringLiteral("gone")), UserDefaultUtil::documentsPath()},
          {dir.path(), dir.path()}}) {
        store(QStringLiteral("pathBackup"), stored);
        settings.load();
        EXPECT_EQ(settings.pathBackup, loaded) << qPrintable(stored);
    }

    // The trim and capture tools pick their own start folder when the stored one has gone (Documents for
    // one, the Desktop for the other), so the load keeps a removed folder's text.
    const QString gone = dir.filePath(QStringLiteral("gone"));
    store(QStringLiteral("pathDirCut"), gone);
    store(QStringLiteral("pathDirCap"), gone);
    settings.load();
    EXPECT_EQ(settings.pathDirCut, gone);
    EXPECT_EQ(settings.pathDirCap, gone);

    store(QStringLiteral("pathDirCut"), QStringList{QStringLiteral("a"), QStringLiteral("b")});
    store(QStringLiteral("pathDirCap"), QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC));
    settings.load();
    EXPECT_EQ(settings.pathDirCut, UserDefaultUtil::documentsPath());
    EXPECT_EQ(settings.pathDirCap, UserDefaultUtil::documentsPath());
}

TEST_F(UserDefaultUtilTest, LanguageOutsideTheListIsStoredAsEnglish)
{
    UserDefaultUtil settings(file);
    settings.setLanguage(7);
    EXPECT_EQ(settings.value(QStringLiteral("AppleLanguages")).toStringList(),
              QStringList{QStringLiteral("en")});
    EXPECT_EQ(settings.getLanguage(), 0);
    settings.setLanguage(2);
    EXPECT_EQ(settings.getLanguage(), 2);
    EXPECT_EQ(settings.language, 0); // takes effect at the next start
}
