#include "card/ChapterData.h"
#include "card/StandardCardFixture.h"
#include "platform/LockedWorkFolder.h"

#include <QDateTime>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QXmlStreamReader>

#include <unistd.h>

namespace {

struct ProgramRun
{
    int exitCode = -1;
    QString output;
};

ProgramRun run(const QString &program, const QStringList &arguments,
               const QProcessEnvironment &environment = {})
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(program, arguments);
    process.waitForFinished(-1);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
}

} // namespace

class KmzExportToolTest : public StandardCardFixture
{
protected:
    ProgramRun kmzexport(const QStringList &selection, const QString &destination)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TMPDIR", work.path());
        environment.insert("XDG_CONFIG_HOME", work.filePath("config"));
        return run(qEnvironmentVariable("ORV_BUILD_DIR") + "/devtools/kmzexport",
                   QStringList{dir->filePath("MOVE")} + selection + QStringList{destination}, environment);
    }
    // What a KML reader finds: "layer:features" for every layer, and the shapes of all features.
    static QString readerView(const QString &kmz)
    {
        const QString all = run("ogrinfo", {"-ro", "-al", kmz}).output;
        QStringList view;
        for (const auto &match :
             QRegularExpression("Layer name: (\\S+)\\n(?:.*\\n)*?Feature Count: (\\d+)").globalMatch(all)) {
            view << match.captured(1) + ":" + match.captured(2);
        }
        view << QString("points:%1 lines:%2").arg(all.count("  POINT Z")).arg(all.count("  LINESTRING Z"));
        return view.join(' ');
    }

    TempDir work;
};

// Each kind of item of the standard card, written below a folder whose name has blanks.
TEST_F(KmzExportToolTest, ExportsOpenInAKmlReader)
{
    const struct
    {
        QStringList selection;
        const char *view;
    } cases[] = {
        {{"--trip", "0"}, "Chapter:3 Route:1 points:3 lines:1"},
        {{"--trip", "3"}, "Chapter:1 Route:1 points:1 lines:1"},
        {{"--event", "0"}, "Event:1 Route:1 points:1 lines:1"},
        {{"--event", "1"}, "Event:1 Route:1 points:1 lines:1"},
        {{"--surveillance", "0"}, "Event:1 Route:1 points:1 lines:1"},
    };
    const QString folder = work.filePath("my exports");
    QDir().mkpath(folder);
    for (const auto &c : cases) {
        // The document is named after the file, all but its last extension.
        const QString name = c.selection.join(' ') + ".v2";
        const QString destination = QDir(folder).filePath(name + ".kmz");
        const QString before = QDateTime::currentDateTime().toString("yyyyMMddHHmm");
        const ProgramRun exported = kmzexport(c.selection, destination);
        const QString after = QDateTime::currentDateTime().toString("yyyyMMddHHmm");
        ASSERT_EQ(exported.exitCode, 0) << exported.output.toStdString();

        // One deflated entry named after the time of the export.
        const QStringList entries = run("unzip", {"-Z1", destination}).output.split('\n', Qt::SkipEmptyParts);
        ASSERT_EQ(entries.size(), 1);
        EXPECT_TRUE(QRegularExpression("^\\d{12}\\.kml$").match(entries[0]).hasMatch());
        EXPECT_TRUE(entries[0].left(12) >= before && entries[0].left(12) <= after)
            << entries[0].toStdString();
        EXPECT_TRUE(run("unzip", {"-Zs", destination}).output.contains(" defN "));
        QXmlStreamReader xml(run("unzip", {"-p", destination}).output);
        QStringList names;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == u"name")
                names << xml.readElementText();
        }
        EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
        EXPECT_EQ(names.value(0), name);
        EXPECT_EQ(readerView(destination), c.view) << c.selection.join(' ').toStdString();
    }
    const QString privateFolder = QDir(work.path()).filePath(QString("orvalind-%1").arg(getuid()));
    EXPECT_TRUE(QFileInfo::exists(privateFolder)) << "the work folders went below TMPDIR";
    EXPECT_FALSE(QFileInfo::exists(privateFolder + "/TMP/MAP"));
}

TEST_F(KmzExportToolTest, LanguageSettingAndBadIndexes)
{
    work.write("config/Orvalind/Orvalind.ini", "[General]\nLanguage=1\n");
    const QString destination = work.filePath("fr.kmz");
    ASSERT_EQ(kmzexport({"--trip", "0"}, destination).exitCode, 0);
    EXPECT_EQ(readerView(destination), QString::fromUtf8("Chapitre:3 Itinéraire:1 points:3 lines:1"));

    for (const QStringList &selection :
         {QStringList{"--trip", "99"}, {"--event", "-1"}, {"--surveillance", "1"}}) {
        const QString none = work.filePath("none.kmz");
        EXPECT_EQ(kmzexport(selection, none).exitCode, 1) << selection.join(' ').toStdString();
        EXPECT_FALSE(QFileInfo::exists(none));
    }
}

// Every card file, another trip's chapter too, is refused as the destination: exit 1, a message, no change.
TEST_F(KmzExportToolTest, CardFilesAreRefused)
{
    const QString move = dir->filePath("MOVE");
    const QString otherTrip = card._tripList.back()->sortedChapters().front()->_pathMp4.toLocalFile();
    for (const QString &destination : {otherTrip, move + "/VREC_MOV_MNG.DAT", move + "/MOV_PRCT.DAT",
                                       move + "/SETINF.DAT", move + "/ver.txt"}) {
        QFile file(destination);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray before = file.readAll();
        file.close();
        for (const QStringList &selection : {QStringList{"--trip", "0"}, {"--event", "0"}}) {
            const ProgramRun exported = kmzexport(selection, destination);
            EXPECT_EQ(exported.exitCode, 1) << destination.toStdString();
            EXPECT_TRUE(exported.output.contains("inside the opened folder"))
                << exported.output.toStdString();
        }
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), before) << destination.toStdString();
    }
}

// An export whose program was killed leaves its work beside the destination and in its own temporary
// folder; the next export into that folder removes them, and leaves alone what a live export holds.
TEST_F(KmzExportToolTest, WhatAKilledExportLeftGoesWithTheNextExport)
{
    const QString folder = work.filePath("exports");
    const QString user = work.filePath(QString("orvalind-%1").arg(getuid()));
    work.write("exports/earlier.kmz", "earlier");
    work.write("exports/.kmz-dead01/kmz.part.Ab3dE1x", "PK");
    work.write(QString("orvalind-%1/run-dead01/TMP/MAP/a1b2c3d4e5f6/202401011200.kml").arg(getuid()),
               "<kml/>");
    const LockedWorkFolder live(QDir(folder).filePath(".kmz-XXXXXX"));
    ASSERT_TRUE(live.isValid());

    ASSERT_EQ(kmzexport({"--trip", "0"}, QDir(folder).filePath("trip.kmz")).exitCode, 0);
    EXPECT_EQ(QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
              (QStringList{QFileInfo(live.path()).fileName(), "earlier.kmz", "trip.kmz"}));
    EXPECT_EQ(QDir(user).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot), QStringList());
}
