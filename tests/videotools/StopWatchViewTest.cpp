#include "videotools/StopWatchView.h"

#include "ToolTestCard.h"
#include "recording/UserDefaultUtil.h"
#include "support/TempDir.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

struct FakeDelegate : StopWatchViewDelegate
{
    std::vector<StopWatchMarkers> markers;
    int hidden = 0;
    void updateStopWatchMarkers(const StopWatchMarkers &m) override { markers.push_back(m); }
    void stopWatchHidden() override { ++hidden; }
};

} // namespace

TEST(StopWatchViewTest, EscapeAndCloseHideAndKeepTheLaps)
{
    TempDir dir;
    UserDefaultUtil settings(dir.filePath("settings.ini"));
    StopWatchView view(settings);
    FakeDelegate delegate;
    view.setDelegate(&delegate);
    view.model().setChapterDataList(ToolTestCard::shared().trip._tripList.front()->sortedChapters());
    view.setupWindow();
    view.show();
    EXPECT_EQ(view.size(), QSize(324, 440));
    EXPECT_EQ(view.lapText(0), "--'--\"-");
    EXPECT_EQ(view.speedText(10), "-km/h");

    view.setCurrentSumFrameTimeSpan(2000);
    view.btnStartStop->click();
    view.setCurrentSumFrameTimeSpan(6000);
    view.btnLapReset->click();
    view.setCurrentSumFrameTimeSpan(9000);
    view.redrawLaps();
    const QStringList shown{view.lapText(0), view.lapText(1), view.lapText(10), view.speedText(1)};
    EXPECT_EQ(shown, (QStringList{"00'04\"0", "00'03\"0", "00'07\"0", "100km/h"}));
    EXPECT_EQ(delegate.markers.back().lapMs, std::vector<int64_t>{6000});
    EXPECT_EQ(view.btnReturn->toolTip(), "PREVIOUS LAP");

    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&view, &escape);
    EXPECT_FALSE(view.isVisible());
    view.show();
    view.close(); // the close button
    EXPECT_FALSE(view.isVisible());
    EXPECT_EQ(delegate.hidden, 2);
    view.show();
    EXPECT_EQ((QStringList{view.lapText(0), view.lapText(1), view.lapText(10), view.speedText(1)}), shown);

    // Stop: only LAP/RESET is left, and it resets.
    view.btnStartStop->click();
    EXPECT_FALSE(view.btnStartStop->isEnabled());
    EXPECT_EQ(view.btnStartStop->toolTip(), QString());
    view.btnLapReset->click();
    EXPECT_EQ(view.lapText(0), "--'--\"-");
    EXPECT_EQ(delegate.markers.back(), StopWatchMarkers{});
}
