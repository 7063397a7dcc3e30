// Test helper: a fixture that writes the standard sample card once per suite and loads it into a fresh
// CardData for every test; and the developer programs the card suites run.
#pragma once

#include "card/CardData.h"
#include "recording/FileUtil.h"
#include "samplecard/SampleCardWriter.h"
#include "support/TempDir.h"

#include <QDirIterator>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

// The standard sample card below outDir. ThreadSanitizer's runtime cannot follow the child processes
// that make its movies, so under it the card is copied from the ready-made folder ORV_SAMPLE_CARD names.
inline bool writeStandardCard(const QString &outDir)
{
    const QString ready = qEnvironmentVariable("ORV_SAMPLE_CARD");
    if (ready.isEmpty())
        return SampleCardWriter(SampleScenario::standard()).writeCard(outDir);
    QDirIterator it(ready, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = QDir(outDir).filePath(QDir(ready).relativeFilePath(from));
        if (!QDir().mkpath(QFileInfo(to).absolutePath()) || !QFile::copy(from, to))
            return false;
    }
    return true;
}

// Runs a developer program of the build to its end; its standard output, or a failure with its errors.
inline QByteArray runTool(const QString &name, const QStringList &arguments)
{
    QProcess process;
    process.start(qEnvironmentVariable("ORV_BUILD_DIR") + "/devtools/" + name, arguments);
    const bool ok = process.waitForFinished(-1) && process.exitStatus() == QProcess::NormalExit &&
                    process.exitCode() == 0;
    EXPECT_TRUE(ok) << name.toStdString() << ": " << process.readAllStandardError().toStdString();
    return ok ? process.readAllStandardOutput() : QByteArray();
}

inline QJsonObject runCarddump(const QStringList &arguments)
{
    QJsonParseError error;
    const auto json = QJsonDocument::fromJson(runTool("carddump", arguments), &error).object();
    EXPECT_EQ(error.error, QJsonParseError::NoError);
    return json;
}

class StandardCardFixture : public ::testing::Test
{
protected:
    // Writing the card runs ffmpeg for every movie, so the suite shares one.
    static void SetUpTestSuite()
    {
        dir = new TempDir;
        ASSERT_TRUE(writeStandardCard(dir->path()));
    }
    static void TearDownTestSuite()
    {
        delete dir;
        dir = nullptr;
    }
    void SetUp() override { card.loadCardFolder(FileUtil::fileUrl(dir->filePath("MOVE"))); }

    static inline TempDir *dir = nullptr;
    CardData card;
};
