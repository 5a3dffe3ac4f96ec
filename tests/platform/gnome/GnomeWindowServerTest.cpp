#include "platform/fake/FakeWindowServer.h"
#include "platform/gnome/GnomeShortcuts.h"
#include "platform/gnome/GnomeWindowServer.h"

#include <gtest/gtest.h>
#include <QSignalSpy>

namespace varrow::platform::gnome {
namespace {

// The extension's interface as the shell would drive it: tests say when it comes and goes and
// what it reports.
class FakeExtension : public ExtensionLink {
public:
    bool available = false;
    QList<pid_t> watched;
    QList<pid_t> activated;
    QMap<QString, QString> keys;

    bool isAvailable() const override { return available; }
    void watch(const QList<pid_t>& pids) override { watched = pids; }
    void activate(pid_t pid) override { activated.append(pid); }
    void grabKeys(const QMap<QString, QString>& grabbed) override { keys = grabbed; }

    void appear(pid_t focused, const QSet<pid_t>& withWindows) {
        available = true;
        emit availabilityChanged();
        emit focusChanged(focused);
        emit windowsChanged(withWindows);
    }
    void leave() {
        available = false;
        emit availabilityChanged();
    }
};

class GnomeWindowServerTest : public ::testing::Test {
protected:
    GnomeWindowServerTest() {
        auto xwayland = std::make_unique<fake::FakeWindowServer>();
        x11 = xwayland.get();
        x11->windows.insert(30, 3000);  // an account still on Xwayland
        server = std::make_unique<GnomeWindowServer>(std::move(xwayland), extension);
    }

    std::shared_ptr<FakeExtension> extension = std::make_shared<FakeExtension>();
    fake::FakeWindowServer* x11 = nullptr;
    std::unique_ptr<GnomeWindowServer> server;
};

// Before the shell has loaded the extension (the first session after installing it) everything
// goes to Xwayland as before; once it answers, native windows are seen, brought forward through it,
// and Claude no longer needs Xwayland.
TEST_F(GnomeWindowServerTest, XwaylandServesUntilTheExtensionAnswers) {
    EXPECT_FALSE(server->switchesNativeWindows());
    EXPECT_EQ(server->frontWindow(10), std::nullopt);
    EXPECT_TRUE(server->makeFrontmost(10));
    EXPECT_EQ(x11->frontRequests, QList<pid_t>{10});
    EXPECT_TRUE(extension->activated.isEmpty());

    QSignalSpy changes(server.get(), &WindowServer::activeProcessChanged);
    extension->appear(10, {10, 20});
    EXPECT_TRUE(server->switchesNativeWindows());
    EXPECT_GE(changes.count(), 1);
    EXPECT_EQ(server->activeProcess(), 10);
    EXPECT_TRUE(server->frontWindow(20).has_value());
    EXPECT_EQ(server->frontWindow(30), 3000u);  // still asked of Xwayland
    EXPECT_TRUE(server->makeFrontmost(20));
    EXPECT_EQ(extension->activated, QList<pid_t>{20});
    EXPECT_EQ(x11->frontRequests, QList<pid_t>{10});
}

// Focus moving between windows is announced once per change; a Claude window closing while in
// front leaves nothing in front and no window for that process, so it is not picked by a cycle.
TEST_F(GnomeWindowServerTest, FollowsFocusAndAClaudeWindowClosingInFront) {
    extension->appear(10, {10, 20});
    QSignalSpy changes(server.get(), &WindowServer::activeProcessChanged);
    emit extension->focusChanged(20);
    emit extension->focusChanged(20);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(server->activeProcess(), 20);

    emit extension->windowsChanged({10});
    emit extension->focusChanged(0);
    EXPECT_EQ(changes.count(), 2);
    EXPECT_EQ(server->activeProcess(), std::nullopt);
    EXPECT_EQ(server->frontWindow(20), std::nullopt);
    EXPECT_TRUE(server->frontWindow(10).has_value());
}

// The extension leaving the bus in the middle of a cycle (the shell restarting): the front is
// Xwayland's again at once, bringing forward goes there, and its return is followed without a restart.
TEST_F(GnomeWindowServerTest, TheExtensionLeavingMidCycleFallsBackToXwayland) {
    extension->appear(10, {10, 20});
    EXPECT_TRUE(server->makeFrontmost(20));
    QSignalSpy changes(server.get(), &WindowServer::activeProcessChanged);
    extension->leave();
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(server->activeProcess(), std::nullopt);  // Xwayland sees no native window in front
    EXPECT_EQ(server->frontWindow(20), std::nullopt);
    EXPECT_TRUE(server->makeFrontmost(30));
    EXPECT_EQ(x11->frontRequests, QList<pid_t>{30});
    EXPECT_EQ(extension->activated, QList<pid_t>{20});

    extension->appear(20, {20});
    EXPECT_EQ(server->activeProcess(), 20);
    EXPECT_EQ(changes.count(), 2);
}

// The cycle keys reach the shell under its own names and its presses come back by id.
TEST(GnomeShortcuts, BindsTheCycleKeysByTheShellsNamesAndReportsPresses) {
    auto extension = std::make_shared<FakeExtension>();
    GnomeShortcuts shortcuts(extension);
    shortcuts.bind(
        {{"next-account", "Next", Qt::Key_QuoteLeft, Qt::ControlModifier},
         {"previous-account", "Previous", Qt::Key_QuoteLeft, Qt::ControlModifier | Qt::ShiftModifier},
         {"odd", "Unnamed here", Qt::Key_F35, Qt::ControlModifier}});
    const QMap<QString, QString> expected{{"next-account", "<Control>grave"},
                                          {"previous-account", "<Control><Shift>grave"}};
    EXPECT_EQ(extension->keys, expected);
    QSignalSpy pressed(&shortcuts, &DesktopShortcuts::activated);
    emit extension->keyPressed("previous-account");
    ASSERT_EQ(pressed.count(), 1);
    EXPECT_EQ(pressed.at(0).at(0).toString(), "previous-account");
    shortcuts.bind({});
    EXPECT_TRUE(extension->keys.isEmpty());
}

}  // namespace
}  // namespace varrow::platform::gnome
