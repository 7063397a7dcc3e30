#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <chrono>
#include <fcntl.h>
#include <functional>
#include <future>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

class UserDefaultUtilTest : public ::testing::Test
{
protected:
    TempDir dir;
    QString file = dir.filePath("settings.conf");

    // Writes keys the way another copy of the viewer (or an older run) left them.
    void store(std::initializer_list<std::pair<const char *, QVariant>> values)
    {
        QSettings settings(file, QSettings::IniFormat);
        for (const auto &[key, value] : values)
            settings.setValue(QString::fromLatin1(key), value);
    }
};

} // namespace

TEST_F(UserDefaultUtilTest, RoundTripThroughTheStoreAndALanguageOutsideTheListStoredAsEnglish)
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
    EXPECT_EQ(settings.value("AppleLanguages").toStringList(), QStringList{"fr"});

    settings.setLanguage(7);
    EXPECT_EQ(settings.value("AppleLanguages").toStringList(), QStringList{"en"});
    EXPECT_EQ(settings.getLanguage(), 0);
    settings.setLanguage(2);
    EXPECT_EQ(settings.getLanguage(), 2);
    EXPECT_EQ(settings.language, 1); // takes effect at the next start
}

TEST_F(UserDefaultUtilTest, OutOfRangeValuesFallBackAndAMapTypeThatIsNoTextStopsTheLoad)
{
    store({{"DateFormat", 7}, {"TimeZone", 8}, {"Language", 3}, {"dispCircleChartMaxG", 2.4}});
    UserDefaultUtil settings(file);
    settings.load();
    EXPECT_EQ(settings.dateFormat, DateFormatType::MDY24H);
    EXPECT_EQ(settings.timeZone, 5);
    EXPECT_EQ(settings.language, 0);
    EXPECT_EQ(settings.dispCircleChartMaxG, 0);

    store({{"TimeZone", -1}, {"Language", 2}});
    settings.load();
    EXPECT_EQ(settings.timeZone, 5);
    EXPECT_EQ(settings.language, 2);

    store({{"mapTypeId", QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC)},
           {"viewerGamma", 2.0},
           {"mapZoom", 11}});
    settings.load();
    EXPECT_EQ(settings.mapZoom, 11);
    EXPECT_EQ(settings.mapTypeId, "roadmap");
    EXPECT_EQ(settings.viewerGamma, 1.0);

    store({{"mapTypeId", 5}});
    settings.load();
    EXPECT_EQ(settings.mapTypeId, "5");
    EXPECT_EQ(settings.viewerGamma, 2.0);
}

TEST_F(UserDefaultUtilTest, RemovedKeysKeepTheirValuesExceptDateFormatAndTimeZone)
{
    store({{"DateFormat", 3}, {"TimeZone", 2}, {"SummerTime", true}});
    UserDefaultUtil settings(file);
    settings.load();
    for (const char *key : {"DateFormat", "TimeZone", "SummerTime"})
        settings.remove(QString::fromLatin1(key));
    settings.load();
    EXPECT_EQ(settings.dateFormat, DateFormatType::MDY24H);
    EXPECT_EQ(settings.timeZone, 5);
    EXPECT_TRUE(settings.summerTime);
    // The direct getters read the store, not the values.
    settings.summerTime = false;
    store({{"SummerTime", true}});
    EXPECT_TRUE(settings.getSummerTime());
    EXPECT_FALSE(settings.summerTime);
}

TEST_F(UserDefaultUtilTest, GoneBackupFolderGivesDocumentsToolFoldersOnlyWhenNoText)
{
    UserDefaultUtil settings(file);
    const QString aFile = dir.write("not-a-folder", "x");
    for (const auto &[stored, loaded] : {std::pair{aFile, UserDefaultUtil::documentsPath()},
                                         {dir.filePath("gone"), UserDefaultUtil::documentsPath()},
                                         {dir.path(), dir.path()}}) {
        store({{"pathBackup", stored}});
        settings.load();
        EXPECT_EQ(settings.pathBackup, loaded) << qPrintable(stored);
    }

    // The trim and capture tools pick their own start folder when the stored one has gone (Documents for
    // one, the Desktop for the other), so the load keeps a removed folder's text.
    const QString gone = dir.filePath("gone");
    store({{"pathDirCut", gone}, {"pathDirCap", gone}});
    settings.load();
    EXPECT_EQ(settings.pathDirCut, gone);
    EXPECT_EQ(settings.pathDirCap, gone);

    store({{"pathDirCut", QStringList{"a", "b"}},
           {"pathDirCap", QDateTime(QDate(2020, 1, 1), QTime(0, 0), Qt::UTC)}});
    settings.load();
    EXPECT_EQ(settings.pathDirCut, UserDefaultUtil::documentsPath());
    EXPECT_EQ(settings.pathDirCap, UserDefaultUtil::documentsPath());
}

// Values that are no finite number would reach the player and be stored again: they are refused.
TEST_F(UserDefaultUtilTest, VolumeAndBrightnessThatAreNoFiniteNumberAreRefused)
{
    for (const char *text : {"nan", "inf", "-inf", "NaN", "1e999", "x"}) {
        SCOPED_TRACE(text);
        store({{"viewerVolume", QString::fromLatin1(text)}, {"viewerGamma", QString::fromLatin1(text)}});
        UserDefaultUtil settings(file);
        settings.load();
        EXPECT_EQ(settings.viewerVolume, 1.0f);
        EXPECT_EQ(settings.viewerGamma, 1.0);
    }
    store({{"viewerVolume", "0.25"}, {"viewerGamma", "1.5"}});
    UserDefaultUtil settings(file);
    settings.load();
    EXPECT_EQ(settings.viewerVolume, 0.25f);
    EXPECT_EQ(settings.viewerGamma, 1.5);
}

// A FIFO in place of the settings file blocked the start in its first read; it, a folder or a link to
// either is not opened: the defaults are used, kept for the session, and nothing is written there.
// Something at the settings file's place that is no regular file is never opened (a FIFO would block the
// start for good): its stores start from the defaults, and every store of the session over that same
// path shares what they are given, as stores over one file do, while a store over another unusable path
// never sees it. Each store is made on a thread of its own so that a wait on the path fails the test
// instead of hanging it.
TEST_F(UserDefaultUtilTest, ASettingsFileThatIsNoRegularFileKeepsTheSessionsValuesForThatPathAlone)
{
    const QString fifo = dir.filePath("fifo.ini");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = dir.filePath("folder.ini");
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString fifoLink = dir.filePath("fifo-link.ini");
    ASSERT_TRUE(QFile::link(fifo, fifoLink));
    const QString folderLink = dir.filePath("folder-link.ini");
    ASSERT_TRUE(QFile::link(folder, folderLink));

    struct Seen
    {
        float volume;
        bool flag;
    };
    // Makes a store over path, loads it, reads the volume and the flag, then writes its own.
    const auto visit = [](const QString &path, float volume) -> std::optional<Seen> {
        auto done = std::make_shared<std::promise<Seen>>();
        auto result = done->get_future();
        std::thread([path, volume, done] {
            UserDefaultUtil settings(path);
            settings.load();
            const Seen seen{settings.viewerVolume, settings.flag("inUse")};
            settings.setValue("viewerVolume", volume);
            settings.setFlag("inUse", true);
            done->set_value(seen);
        }).detach();
        if (result.wait_for(std::chrono::seconds(20)) != std::future_status::ready)
            return std::nullopt;
        return result.get();
    };
    for (const QString &path : {fifo, folder, fifoLink, folderLink}) {
        SCOPED_TRACE(path.toStdString());
        const auto first = visit(path, 0.5f);
        if (!first) {
            ADD_FAILURE() << "the settings file was waited on";
            // A reader blocked on the FIFO gets its end of file; a writer never waits for one.
            const int writer = ::open(QFile::encodeName(fifo).constData(), O_WRONLY | O_NONBLOCK);
            if (writer >= 0)
                ::close(writer);
            return;
        }
        EXPECT_EQ(first->volume, 1.0f);
        EXPECT_FALSE(first->flag);
        const auto second = visit(path, 0.25f);
        ASSERT_TRUE(second);
        EXPECT_EQ(second->volume, 0.5f) << "the session's other store over the path";
        EXPECT_TRUE(second->flag);
        EXPECT_TRUE(QFileInfo(path).exists() && !QFileInfo(path).isFile());
    }
    // Each path kept its own: the last store over each wrote 0.25.
    for (const QString &path : {fifo, folder, fifoLink, folderLink}) {
        UserDefaultUtil settings(path);
        settings.load();
        EXPECT_EQ(settings.viewerVolume, 0.25f) << path.toStdString();
    }
}
