#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QDateTime>
#include <QSettings>
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
    {
        UserDefaultUtil writer(file);
        writer.setValue(QStringLiteral("DateFormat"), 3);
        writer.setValue(QStringLiteral("TimeZone"), 0);
        writer.setValue(QStringLiteral("SummerTime"), true);
        writer.setValue(QStringLiteral("SpeedMeter"), false);
        writer.setValue(QStringLiteral("pathBackup"), folders.path());
        writer.setValue(QStringLiteral("cardDriveSelect"), QStringLiteral("/media/CARD"));
        writer.setValue(QStringLiteral("pathSelectFile"), QStringLiteral("/media/CARD/a.MP4"));
        writer.setValue(QStringLiteral("mapZoom"), 9);
        writer.setValue(QStringLiteral("mapDispBaloon"), false);
        writer.setValue(QStringLiteral("mapTypeId"), QStringLiteral("satellite"));
        writer.setValue(QStringLiteral("viewerVolume"), 0.25f);
        writer.setValue(QStringLiteral("viewerIsMute"), true);
        writer.setValue(QStringLiteral("viewerGamma"), 2.5);
        writer.setValue(QStringLiteral("dispSpeedMeter"), false);
        writer.setValue(QStringLiteral("dispCircleChart"), false);
        writer.setValue(QStringLiteral("dispCircleChartMaxG"), 2.5);
        writer.setValue(QStringLiteral("pathDirCut"), folders.path());
        writer.setValue(QStringLiteral("expDlgDateTime"), true);
        writer.setValue(QStringLiteral("expDlgPoint"), true);
        writer.setValue(QStringLiteral("pathDirCap"), folders.path());
        writer.setPathDirGoogleEarth(QUrl::fromLocalFile(folders.path() + QLatin1Char('/')));
        writer.setValue(QStringLiteral("TQ-MW58_ViewerFirstLaunch"), true);
        writer.setLanguage(1);
    }
    UserDefaultUtil settings(file);
    settings.load();
    EXPECT_EQ(settings.language, 1);
    EXPECT_EQ(settings.dateFormat, DateFormatType::YMD24H);
    EXPECT_EQ(settings.timeZone, 0);
    EXPECT_TRUE(settings.summerTime);
    EXPECT_FALSE(settings.speedMeter);
    EXPECT_EQ(settings.pathBackup, folders.path());
    EXPECT_EQ(settings.cardDriveSelect, QStringLiteral("/media/CARD"));
    EXPECT_EQ(settings.pathSelectFile, QStringLiteral("/media/CARD/a.MP4"));
    EXPECT_EQ(settings.mapZoom, 9);
    EXPECT_FALSE(settings.mapDispBaloon);
    EXPECT_EQ(settings.mapTypeId, QStringLiteral("satellite"));
    EXPECT_EQ(settings.viewerVolume, 0.25f);
    EXPECT_TRUE(settings.viewerIsMute);
    EXPECT_EQ(settings.viewerGamma, 2.5);
    EXPECT_FALSE(settings.dispSpeedMeter);
    EXPECT_FALSE(settings.dispCircleChart);
    EXPECT_EQ(settings.dispCircleChartMaxG, 4);
    EXPECT_EQ(settings.pathDirCut, folders.path());
    EXPECT_TRUE(settings.expDlgDateTime);
    EXPECT_FALSE(settings.expDlgSpeed);
    EXPECT_TRUE(settings.expDlgPoint);
    EXPECT_EQ(settings.pathDirCap, folders.path());
    EXPECT_EQ(settings.pathDirGoogleEarth, QUrl::fromLocalFile(folders.path() + QLatin1Char('/')));
    EXPECT_TRUE(settings.viewerFirstLaunch);
    EXPECT_EQ(settings.value(QStringLiteral("AppleLanguages")).toStringList(),
              QStringList{QStringLiteral("fr")});
}

TEST_F(UserDefaultUtilTest, OutOfRangeValuesFallBack)
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
    EXPECT_EQ(settings.getDateFormat(), DateFormatType::MDY24H);
    EXPECT_EQ(settings.getTimeZone(), 5);
    EXPECT_EQ(settings.getLanguage(), 0);

    store(QStringLiteral("TimeZone"), -1);
    store(QStringLiteral("Language"), 2);
    settings.load();
    EXPECT_EQ(settings.timeZone, 5);
    EXPECT_EQ(settings.language, 2);
}

TEST_F(UserDefaultUtilTest, RemovedKeysKeepTheirValuesExceptDateFormatAndTimeZone)
{
    store(QStringLiteral("DateFormat"), 3);
    store(QStringLiteral("TimeZone"), 2);
    store(QStringLiteral("SummerTime"), true);
    UserDefaultUtil settings(file);
    settings.load();
    EXPECT_EQ(settings.dateFormat, DateFormatType::YMD24H);
    EXPECT_EQ(settings.timeZone, 2);
    EXPECT_TRUE(settings.summerTime);

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

TEST_F(UserDefaultUtilTest, BackupFolderThatIsGoneOrAFileFallsBackToDocuments)
{
    const QString aFile = dir.write(QStringLiteral("not-a-folder"), "x");
    store(QStringLiteral("pathBackup"), aFile);
    UserDefaultUtil settings(file);
    settings.load();
    EXPECT_EQ(settings.pathBackup, UserDefaultUtil::documentsPath());

    store(QStringLiteral("pathBackup"), dir.filePath(QStringLiteral("gone")));
    settings.load();
    EXPECT_EQ(settings.pathBackup, UserDefaultUtil::documentsPath());

    store(QStringLiteral("pathBackup"), dir.path());
    settings.load();
    EXPECT_EQ(settings.pathBackup, dir.path());
}

TEST_F(UserDefaultUtilTest, ToolFoldersAreKeptAsStoredAndOnlyNoTextGivesDocuments)
{
    // The trim and capture tools pick their own start folder when the stored one has gone (Documents for
    // one, the Desktop for the other), so the load keeps a removed folder's text.
    const QString gone = dir.filePath(QStringLiteral("gone"));
    store(QStringLiteral("pathDirCut"), gone);
    store(QStringLiteral("pathDirCap"), gone);
    UserDefaultUtil settings(file);
    settings.load();
    EXPECT_EQ(settings.pathDirCut, gone);
    EXPECT_EQ(settings.pathDirCap, gone);

    store(QStringLiteral("pathDirCut"), QStringList{QStringLiteral("a"), QStringLiteral("b")});
    store(QStringLiteral("pathDirCap"), QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC));
    settings.load();
    EXPECT_EQ(settings.pathDirCut, UserDefaultUtil::documentsPath());
    EXPECT_EQ(settings.pathDirCap, UserDefaultUtil::documentsPath());
}

TEST_F(UserDefaultUtilTest, MapTypeThatIsNoTextStopsTheLoad)
{
    store(QStringLiteral("mapTypeId"), QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC));
    store(QStringLiteral("viewerGamma"), 2.0);
    store(QStringLiteral("mapZoom"), 11);
    UserDefaultUtil settings(file);
    settings.load();
    EXPECT_EQ(settings.mapZoom, 11);
    EXPECT_EQ(settings.mapTypeId, QStringLiteral("roadmap"));
    EXPECT_EQ(settings.viewerGamma, 1.0);

    store(QStringLiteral("mapTypeId"), 5);
    settings.load();
    EXPECT_EQ(settings.mapTypeId, QStringLiteral("5"));
    EXPECT_EQ(settings.viewerGamma, 2.0);
}

TEST_F(UserDefaultUtilTest, DialogFlagsAreSharedThroughTheStore)
{
    UserDefaultUtil first(file);
    UserDefaultUtil second(file);
    const QString keys[] = {QStringLiteral("viewerSettingFlg"), QStringLiteral("cameraSettingFlg"),
                            QStringLiteral("backupSettingFlg"), QStringLiteral("backupDeleteFlg"),
                            QStringLiteral("backupDirectorySettingFlg")};
    for (const QString &key : keys) {
        EXPECT_FALSE(second.flag(key)) << qPrintable(key);
        first.setFlag(key, true);
        EXPECT_TRUE(second.flag(key)) << qPrintable(key);
        first.setFlag(key, false);
        EXPECT_FALSE(second.flag(key)) << qPrintable(key);
    }
    EXPECT_EQ(QLatin1String(UserDefaultUtil::KEY_BACKUP_DIRECTORY_SETTING_FLG), keys[4]);
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
