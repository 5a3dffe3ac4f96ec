// Sign-in links: which account gets one, how it is handed over, and when Varrow holds the
// claude: handler (given back as it was).
#include "ControllerFixture.h"

#include "claude/LinkRouter.h"
#include "front/FrontSwitcher.h"
#include "model/Defaults.h"
#include "system/LinkHandlerChoice.h"

namespace varrow::claude::test {
namespace {

class LinkRouterTest : public ControllerTest {
protected:
    LinkRouterTest() {
        model::Defaults::useFileForTests(home.file("defaults.ini"));
        fake.installations.registered = {claudePath};
    }
    ~LinkRouterTest() override { model::Defaults::useFileForTests(QString()); }

    // The last hand-over's arguments after the program.
    QStringList lastHandOver() const {
        return fake.processes.openRequests.isEmpty()
                   ? QStringList()
                   : fake.processes.openRequests.last().configuration.arguments;
    }
};

TEST_F(LinkRouterTest, theAccountLastInFrontBeforeTheBrowserGetsTheLinkAsOneArgument) {
    const Profile work = addAccount("Work");
    QDir().mkpath(copyOf(work));
    const AppHandle mine = startClaude();
    const AppHandle workApp = startAccount(work);
    const AppHandle browser =
        fake.processes.addApplication("org.example.browser", "/tmp/Browser.app", "Browser");
    ClaudeController& claude = controller();
    LinkRouter router(&claude, fake.processes, fake.installations);

    // Nothing in front yet: My Claude, on its own data folder (no argument for it).
    const QString first = QStringLiteral("claude://login/callback?code=1");
    EXPECT_EQ(router.route(first), QString());
    EXPECT_EQ(fake.processes.openRequests.last().folder, claudePath);
    EXPECT_EQ(lastHandOver(), QStringList{first});

    fake.processes.setFrontmost(workApp);
    fake.processes.setFrontmost(browser);
    ASSERT_TRUE(settled([&] { return !claude.claudeIsFront(); }));
    // A link with spaces and shell characters stays one argument after the data folder.
    const QString second = QStringLiteral("claude://login/callback?code=2&state=a b;$(x)");
    EXPECT_EQ(router.route(second), QString());
    const auto& request = fake.processes.openRequests.last();
    EXPECT_EQ(request.folder, copyOf(work));
    EXPECT_TRUE(request.configuration.newInstance);
    EXPECT_EQ(lastHandOver(), (QStringList{"--user-data-dir=" + desktopOf(work), second}));
    EXPECT_EQ(request.configuration.environment.value("CLAUDE_CONFIG_DIR"),
              store->accountsURL() + "/" + work.folderName + "/Code");

    fake.processes.setFrontmost(mine);
    fake.processes.setFrontmost(browser);
    ASSERT_TRUE(settled([&] { return !claude.claudeIsFront(); }));
    EXPECT_EQ(router.target()->id, defaultAccount().id);

    // Work removed after it was in front: back to My Claude.
    fake.processes.setFrontmost(workApp);
    ASSERT_TRUE(settled([&] { return claude.frontProfileID() == work.id; }));
    store->setProfiles({defaultAccount()});
    EXPECT_EQ(router.target()->id, defaultAccount().id);

    EXPECT_FALSE(router.route("https://claude.ai/").isEmpty());
    EXPECT_EQ(fake.processes.openRequests.size(), 2);
    QFile log(front::FrontSwitcher::logPath());
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString lines = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(lines.contains("link → My Claude") && lines.contains("link → Work")) << lines.toStdString();
}

TEST_F(LinkRouterTest, theHandlerIsHeldWhileWantedAndGivenBackAsItWas) {
    auto& handlers = fake.linkHandlers;
    handlers.userChoice.insert("claude", "claude-desktop.desktop");
    system::LinkHandlerChoice choice(store.get(), fake.linkHandlers);
    // Only My Claude: nothing to route, the user's choice stays.
    EXPECT_EQ(choice.apply(), QString());
    EXPECT_EQ(handlers.defaultHandler("claude"), "claude-desktop.desktop");

    const Profile work = addAccount("Work");  // the list change applies it
    EXPECT_EQ(handlers.defaultHandler("claude"), "varrow-link.desktop");
    EXPECT_TRUE(handlers.ownInstalled);

    model::Defaults::shared().setValue(model::Defaults::kSendSignInLinks, false);
    EXPECT_EQ(handlers.defaultHandler("claude"), "claude-desktop.desktop");
    EXPECT_FALSE(handlers.ownInstalled);

    // No choice of the user's before: none after, so the system's default applies again.
    handlers.userChoice.clear();
    handlers.systemDefault.insert("claude", "system-claude.desktop");
    model::Defaults::shared().setValue(model::Defaults::kSendSignInLinks, true);
    EXPECT_EQ(handlers.defaultHandler("claude"), "varrow-link.desktop");
    store->setProfiles({defaultAccount()});  // the last extra account removed
    EXPECT_FALSE(handlers.userChoice.contains("claude"));
    EXPECT_EQ(handlers.defaultHandler("claude"), "system-claude.desktop");

    // A handler the user picked while Varrow held it is theirs to keep.
    store->setProfiles({defaultAccount(), work});
    handlers.userChoice.insert("claude", "picked.desktop");
    model::Defaults::shared().setValue(model::Defaults::kSendSignInLinks, false);
    EXPECT_EQ(handlers.defaultHandler("claude"), "picked.desktop");
}

// Claude makes its own entry the handler at every start; while Varrow routes links it takes them
// back at once, but never from a handler the user picked, and never while routing is off.
TEST_F(LinkRouterTest, aClaudeClaimingTheHandlerAtItsStartIsUndone) {
    auto& handlers = fake.linkHandlers;
    handlers.userChoice.insert("claude", "previous.desktop");
    system::LinkHandlerChoice choice(store.get(), fake.linkHandlers);
    addAccount("Work");
    ASSERT_EQ(handlers.defaultHandler("claude"), "varrow-link.desktop");

    handlers.userChoice.insert("claude", "com.anthropic.Claude.desktop");
    emit handlers.userChoicesChanged();
    EXPECT_EQ(handlers.defaultHandler("claude"), "varrow-link.desktop");
    // Given back, the handler goes to the one from before Varrow, not to Claude's claim.
    model::Defaults::shared().setValue(model::Defaults::kSendSignInLinks, false);
    EXPECT_EQ(handlers.defaultHandler("claude"), "previous.desktop");
    model::Defaults::shared().setValue(model::Defaults::kSendSignInLinks, true);

    handlers.userChoice.insert("claude", "picked.desktop");
    emit handlers.userChoicesChanged();
    EXPECT_EQ(handlers.defaultHandler("claude"), "picked.desktop");

    // Off: Claude's claim stands.
    model::Defaults::shared().setValue(model::Defaults::kSendSignInLinks, false);
    handlers.userChoice.insert("claude", "com.anthropic.Claude.desktop");
    emit handlers.userChoicesChanged();
    EXPECT_EQ(handlers.defaultHandler("claude"), "com.anthropic.Claude.desktop");
}

}  // namespace
}  // namespace varrow::claude::test
