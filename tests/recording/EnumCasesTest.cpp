#include "recording/DetectionType.h"
#include "recording/TargetType.h"
#include "recording/VideoId.h"
#include <gtest/gtest.h>

TEST(EnumCasesTest, RawValuesOutsideTheCasesGiveNothing)
{
    EXPECT_EQ(detectionTypeFromRaw(-1), DetectionType::All);
    EXPECT_EQ(targetTypeFromRaw(153), TargetType::None);
    EXPECT_EQ(videoIdFromRaw(0xAA), VideoId::Sound);
    for (int raw : {-2, 11, 1000})
        EXPECT_FALSE(detectionTypeFromRaw(raw)) << raw;
    EXPECT_FALSE(targetTypeFromRaw(2));
    EXPECT_FALSE(videoIdFromRaw(0x00));
    // A value that is no case has no name, instead of a read past the name table.
    EXPECT_EQ(caseName(DetectionType::UrgencySW), "UrgencySW");
    EXPECT_TRUE(caseName(static_cast<DetectionType>(42)).isEmpty());
}
