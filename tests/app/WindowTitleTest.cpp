#include "app/WindowTitle.h"

#include <gtest/gtest.h>

TEST(WindowTitleTest, KindOfRecordingAndMovieWhilePlayingElseTheProductName)
{
    using PlayType = CommonConst::PlayType;
    const QString path = QStringLiteral("/media/card/MOVE/MOVE001/m2024050112300001.MP4");
    const QString movie = CommonConst::FMT_FORM_TITLE_MOVIE() + " " + path + " - Orvalind";
    const QString event = CommonConst::FMT_FORM_TITLE_EVENT() + " " + path + " - Orvalind";
    struct Row
    {
        PlayType type;
        std::optional<QString> path;
        bool active;
        QString title;
    } rows[] = {
        {PlayType::Movie, path, true, movie},
        {PlayType::Event, path, true, event},
        {PlayType::Surveillance, path, true, event},
        {PlayType::Adventure, path, true, event},
        {PlayType::Movie, std::nullopt, true, "Orvalind"}, // position past the chapter list
        {PlayType::Event, path, false, "Orvalind"},        // nothing ready in the player
    };
    for (const Row &row : rows) {
        SCOPED_TRACE(static_cast<int>(row.type));
        EXPECT_EQ(WindowTitle::text(row.type, row.path, row.active), row.title);
    }
}
