#include "platform/ApplicationCopy.h"

#include <gtest/gtest.h>

namespace ApplicationCopy = varrow::platform::ApplicationCopy;

TEST(ApplicationCopy, RunGivesTheExitStatusOrMinusOne) {
    const auto failed =
        ApplicationCopy::run("/bin/sh", {"-c", "echo noise; echo first >&2; echo last >&2; exit 3"});
    ASSERT_FALSE(failed.ok());
    EXPECT_EQ(failed.failure().reason, "last");  // the tool's own last words
    EXPECT_EQ(ApplicationCopy::run("/bin/sh", {"-c", "exit 4"}).failure().reason, "exit status 4");
    EXPECT_TRUE(ApplicationCopy::run("/bin/true", {}).ok());
    EXPECT_FALSE(ApplicationCopy::run("/nonexistent/tool", {}).ok());
}
