#include "platform/ApplicationCopy.h"

#include <gtest/gtest.h>

namespace ApplicationCopy = varrow::platform::ApplicationCopy;

TEST(ApplicationCopy, RunGivesTheExitStatusOrMinusOne) {
    EXPECT_EQ(ApplicationCopy::run("/bin/sh", {"-c", "echo noise; echo more >&2; exit 3"}), 3);
    EXPECT_EQ(ApplicationCopy::run("/bin/true", {}), 0);
    EXPECT_EQ(ApplicationCopy::run("/nonexistent/tool", {}), -1);
}
