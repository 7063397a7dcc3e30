// The save panel the trim, capture and Google Earth tools share, and the trim tool's alerts, as the
// user sees them.
#include "videotools/SavePanel.h"
#include "videotools/TrimDialogs.h"

#include "recording/UserDefaultUtil.h"
#include "support/HomeFolder.h"
#include "support/ModalAnswerer.h"
#include "support/TempDir.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace {
QString nameField(QFileDialog &panel)
{
    auto *field = panel.findChild<QLineEdit *>("fileNameEdit");
    return field ? field->text() : "<no name field>";
}
} // namespace

// The panel opens inside the remembered folder, else Documents, else the home folder; its name field
// never holds a folder's name.
TEST(SavePanelTest, StartsInAnExistingFolderWithAnEmptyName)
{
    HomeFolder home;
    const QString kept = home.home.filePath("clips");
    ASSERT_TRUE(QDir().mkpath(kept));
    const QString documents = home.home.filePath("Documents");
    const struct
    {
        const char *what;
        QString remembered;
        bool hasDocuments;
        QString folder;
    } cases[] = {
        {"remembered", kept, false, kept},
        {"remembered, gone, no Documents", home.home.filePath("gone"), false, home.home.path()},
        {"nothing remembered, no Documents", {}, false, home.home.path()},
        {"remembered, gone", home.home.filePath("gone"), true, documents},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        if (c.hasDocuments)
            ASSERT_TRUE(QDir().mkpath(documents));
        const QString start = UserDefaultUtil::saveStartFolder(c.remembered);
        EXPECT_EQ(start, c.folder);
        const auto panel =
            SavePanel::make(nullptr, {"Export to Google Earth File", start, {}, "kmz", {}, {}});
        EXPECT_EQ(QDir(panel->directory()).absolutePath(), QDir(c.folder).absolutePath());
        EXPECT_EQ(nameField(*panel), "");
    }
}

// A name chosen before stays in the field (a refused name is shown again); the tools add their
// extension row.
TEST(SavePanelTest, KeepsAGivenNameAndAddsTheExtensionRow)
{
    TempDir dir;
    const auto refused = SavePanel::make(nullptr, {"Export", dir.path(), "trip:1.kmz", "kmz", {}, {}});
    EXPECT_EQ(nameField(*refused), "trip:1.kmz");
    const auto trim = SavePanel::make(nullptr, {{}, dir.path(), {}, "mp4", {}, "extension: "});
    const QList<QComboBox *> popUps = trim->findChildren<QComboBox *>();
    EXPECT_TRUE(std::any_of(popUps.begin(), popUps.end(),
                            [](QComboBox *box) { return box->count() == 1 && box->itemText(0) == "mp4"; }));
    EXPECT_EQ(trim->defaultSuffix(), "mp4");
}

// The trim tool's own dialogs: the panel opened through them, and a failure alert with its cause.
TEST(TrimDialogsTest, PanelStartsInTheFolderAndAlertsShowTheirCause)
{
    HomeFolder home;
    QString shownFolder, shownName;
    ModalAnswerer answerer([&](QWidget *modal) {
        if (auto *panel = qobject_cast<QFileDialog *>(modal)) {
            shownFolder = panel->directory().absolutePath();
            shownName = nameField(*panel);
            panel->reject();
        }
    });
    TrimDialogs dialogs(nullptr);
    EXPECT_EQ(dialogs.chooseDestination(UserDefaultUtil::saveStartFolder({}), "mp4"), std::nullopt);
    EXPECT_EQ(shownFolder, QDir(home.home.path()).absolutePath()) << "no Documents: the home folder";
    EXPECT_EQ(shownName, "");

    dialogs.showAlert(TrimPrompts::Style::Critical, "Warning", "Cut was unsuccessful.",
                      "clip.mp4: Invalid argument");
    dialogs.showAlert(TrimPrompts::Style::Informational, "Information", "Saved");
    ASSERT_EQ(answerer.boxes.size(), 2u);
    EXPECT_EQ(answerer.boxes[0].text, "Cut was unsuccessful.");
    EXPECT_EQ(answerer.boxes[0].informative, "clip.mp4: Invalid argument");
    EXPECT_EQ(answerer.boxes[1].informative, "");
}
