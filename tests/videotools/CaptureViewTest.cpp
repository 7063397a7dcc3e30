#include "videotools/CaptureView.h"

#include "FakeToolPrompts.h"
#include "ToolTestCard.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <gtest/gtest.h>

TEST(CaptureViewTest, SavesOrRefusesAndClosesOnlyAfterSuccess)
{
    TempDir dir;
    UserDefaultUtil settings(dir.filePath("settings.ini"));
    settings.expDlgSpeed = true;
    FakeToolDelegate delegate;
    ToolTestCard &card = ToolTestCard::shared();
    ToolInfo missing = card.tripInfo(ToolType::Capture);
    missing.chapter = std::make_shared<ChapterData>(QUrl::fromLocalFile(dir.filePath("gone.MP4")), nullptr,
                                                    ChapterData::Records{});
    const struct
    {
        ToolInfo info;
        bool isMovieMissing;
        const char *alert;
        int closed;
        bool isSpeedOn; // the stored choice as the view shows it
    } cases[] = {{card.tripInfo(ToolType::Capture), false, "alert:Saved", 1, true},
                 {card.clipInfo(ToolType::Capture), false, "alert:Saved", 2, false},
                 {missing, true, "alert:Unable to save the image.", 2, false}};
    // The first save starts where no stored folder exists yet: Documents, else the home folder.
    const QString documents = UserDefaultUtil::documentsPath();
    const QString firstSave =
        "save:" + (QFileInfo(documents).isDir() ? documents : QDir::homePath()) + ":jpeg";
    for (const auto &c : cases) {
        CaptureView view(settings);
        view.toolinfo = c.info;
        view.delegate = &delegate;
        auto prompts = std::make_unique<FakeToolPrompts>();
        FakeToolPrompts *fake = prompts.get();
        view.setPrompts(std::move(prompts));
        view.setupControls();
        fake->destination = dir.filePath("still.jpeg");
        QFile::remove(*fake->destination);
        QEventLoop loop;
        fake->loop = &loop;
        view.saveAction();
        if (!c.isMovieMissing)
            loop.exec();
        EXPECT_EQ(fake->calls.last(), c.alert);
        EXPECT_EQ(fake->calls.front() == firstSave, c.closed == 1);
        EXPECT_EQ(delegate.closed, c.closed);
        EXPECT_EQ(QImageReader(*fake->destination).canRead(), !c.isMovieMissing);
        // A trimmed clip: the boxes are off and disabled, so nothing is written into the still.
        const auto boxes = view.findChildren<QCheckBox *>();
        EXPECT_EQ(std::count_if(boxes.begin(), boxes.end(), [](auto *b) { return b->isEnabled(); }),
                  view.cutFlg() ? 0 : 4);
        // After the clip's save the stored choices are its boxes: all off.
        EXPECT_EQ(view.checkedFlags().isSpeed, c.isSpeedOn);
    }
}
