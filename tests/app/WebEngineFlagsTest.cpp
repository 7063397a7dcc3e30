#include "app/WebEngineFlags.h"

#include <gtest/gtest.h>

// Chromium keeps to fatal lines unless the user's flags ask for its logging.
TEST(WebEngineFlagsTest, QuietUnlessTheUserAskedForLogging)
{
    const struct
    {
        const char *given;
        const char *used;
    } cases[] = {
        {"", "--log-level=3"},
        {"--no-sandbox --disable-gpu", "--no-sandbox --disable-gpu --log-level=3"},
        {" --no-sandbox ", "--no-sandbox --log-level=3"},
        {"--log-level=0", "--log-level=0"},
        {"--no-sandbox --enable-logging=stderr", "--no-sandbox --enable-logging=stderr"},
        {"--v=1", "--v=1"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(WebEngineFlags::quieted(c.given), c.used) << c.given;
}
