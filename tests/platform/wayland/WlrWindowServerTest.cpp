#include "platform/wayland/WlrWindowServer.h"

#include <gtest/gtest.h>

namespace varrow::platform::wayland {
namespace {

// Windows are told apart by app id alone: one shared by two processes names neither, since
// bringing the wrong account forward is worse than not knowing.
TEST(WlrWindowServer, AnAppIdNamesItsOneOwnerAndNobodyWhenShared) {
    const QList<WlrWindowServer::Owner> owners{
        {10, {"varrow-claude-work-1"}},           {11, {"com.anthropic.claudefordesktop", "Claude"}},
        {12, {"com.anthropic.claudefordesktop"}}, {13, {"varrow-claude-home-2"}},
        {13, {"varrow-claude-home-2"}},
    };
    EXPECT_EQ(WlrWindowServer::ownerOf(owners, "varrow-claude-work-1"), 10);
    EXPECT_EQ(WlrWindowServer::ownerOf(owners, "Claude"), 11);
    EXPECT_EQ(WlrWindowServer::ownerOf(owners, "com.anthropic.claudefordesktop"), std::nullopt);
    EXPECT_EQ(WlrWindowServer::ownerOf(owners, "varrow-claude-home-2"), 13);
    EXPECT_EQ(WlrWindowServer::ownerOf(owners, "foot"), std::nullopt);
}

}  // namespace
}  // namespace varrow::platform::wayland
