#include "app/ChildWindows.h"

#include <gtest/gtest.h>

TEST(ChildWindowsTest, ModalRunsActivationAndMinimisingAffectOnlyVisibleWindows)
{
    QWidget stopwatch, map;
    ChildWindows children;
    children.add(&stopwatch);
    children.add(&map);
    stopwatch.show();

    children.setTopMost(false);
    EXPECT_FALSE(children.isTopMost(&stopwatch));
    EXPECT_TRUE(children.isTopMost(&map)) << "a hidden window is left alone";
    EXPECT_TRUE(stopwatch.isVisible());
    children.setTopMost(true);
    EXPECT_TRUE(children.isTopMost(&stopwatch));

    children.applicationActive(false);
    EXPECT_FALSE(children.isTopMost(&stopwatch));
    children.applicationActive(true);
    EXPECT_TRUE(children.isTopMost(&stopwatch));
    children.setTopMost(false);
    children.applicationActive(false);
    children.applicationActive(true);
    EXPECT_FALSE(children.isTopMost(&stopwatch)) << "floats again only when it floated before";

    children.mainWindowMinimised();
    EXPECT_FALSE(stopwatch.isVisible());
    children.mainWindowRestored();
    EXPECT_TRUE(stopwatch.isVisible());
    EXPECT_FALSE(map.isVisible()) << "hidden before minimising, hidden after";
}
