#include "ControllerFixture.h"

#include "front/FrontSwitcher.h"

namespace varrow::claude::test {
namespace {

class CycleTest : public ControllerTest {
protected:
    // Accounts A, B, C and D in store order; all but D open. Each gets a window, and the window
    // server brings whatever it is asked for to the front.
    CycleTest() {
        for (const char* name : {"A", "B", "C", "D"}) accounts.append(addAccount(name));
        for (int i = 0; i < 3; ++i) {
            apps.append(startAccount(accounts[i]));
            fake.windowServer.windows.insert(apps[i]->processIdentifier(), 100 + i);
        }
        fake.windowServer.onMakeFrontmost = [this](pid_t pid) {
            for (const AppHandle& app : apps)
                if (app->processIdentifier() == pid) fake.processes.setFrontmost(app);
        };
        controller();
    }
    // Cycles from the account at `from` (-1: an unassigned Claude in front) and names where it landed.
    QString cycleFrom(int from, bool backwards) {
        fake.processes.setFrontmost(from < 0 ? unassigned : apps[from]);
        const auto before = fake.windowServer.frontRequests.size();
        controller().cycle(backwards);
        if (fake.windowServer.frontRequests.size() == before) return "nothing";
        const auto id = controller().frontProfileID();
        return id ? store->profile(*id)->name : "?";
    }

    QList<Profile> accounts;
    QList<AppHandle> apps;
    AppHandle unassigned = startClaude({"--user-data-dir=/elsewhere"});
};

TEST_F(CycleTest, RingFollowsStoreOrderAndSkipsClosedAccounts) {
    EXPECT_EQ(cycleFrom(1, false), "C");
    EXPECT_EQ(cycleFrom(1, true), "A");
    EXPECT_EQ(cycleFrom(2, false), "A");
    EXPECT_EQ(cycleFrom(0, true), "C");
    EXPECT_EQ(cycleFrom(-1, false), "A");
    EXPECT_EQ(cycleFrom(-1, true), "B");  // the second-to-last, as the hot key always did

    // Reordering the store reorders the ring; D, closed, never takes part.
    store->setProfiles({accounts[3], accounts[2], accounts[0], accounts[1]});
    EXPECT_EQ(cycleFrom(2, false), "A");
    EXPECT_TRUE(fake.processes.openRequests.isEmpty());
}

TEST_F(CycleTest, FewerThanTwoOpenAccountsOrNoClaudeInFrontDoNothing) {
    fake.processes.setFrontmost(nullptr);
    controller().cycle(false);
    EXPECT_TRUE(fake.windowServer.frontRequests.isEmpty());
    fake.processes.removeApplication(apps[1]);
    fake.processes.removeApplication(apps[2]);
    EXPECT_EQ(cycleFrom(0, false), "nothing");
}

TEST_F(CycleTest, CyclingMarksTheAccountOpenedAndClearsTheLastError) {
    controller().setLastError(QString("old trouble"));
    cycleFrom(0, false);
    EXPECT_EQ(controller().lastError(), std::nullopt);
    EXPECT_TRUE(store->profile(accounts[1].id)->lastOpenedAt.has_value());
}

TEST_F(ControllerTest, FocusReopensAWindowlessInstanceUnlessItsBundleIsShared) {
    const Profile work = addAccount("Work");
    const AppHandle app = startAccount(work);
    controller().focus(app);
    ASSERT_EQ(fake.processes.openRequests.size(), 1);
    const auto& reopen = fake.processes.openRequests[0];
    EXPECT_EQ(reopen.folder, copyOf(work));
    EXPECT_TRUE(reopen.configuration.activates);
    EXPECT_FALSE(reopen.configuration.newInstance);
    EXPECT_TRUE(reopen.configuration.arguments.isEmpty());

    fake.windowServer.windows.insert(app->processIdentifier(), 7);  // it has a window: no reopen
    controller().focus(app);
    EXPECT_EQ(fake.processes.openRequests.size(), 1);

    fake.windowServer.windows.clear();
    startClaude({"--user-data-dir=/elsewhere"}, copyOf(work));  // another instance of the same bundle
    EXPECT_TRUE(controller().sharesPathWithAnotherClaude(app));
    controller().focus(app);
    EXPECT_EQ(fake.processes.openRequests.size(), 1);
}

TEST_F(ControllerTest, SwitchLogNamesTheAccountOrClaude) {
    const Profile work = addAccount("Work");
    const AppHandle mine = startAccount(work);
    const AppHandle nobodys = startClaude({"--user-data-dir=/elsewhere"});
    controller().focus(mine);
    controller().focus(nobodys);
    ASSERT_TRUE(settled([] {
        const QByteArray text = readFile(front::FrontSwitcher::logPath());
        return text.contains("Work: ") && text.contains("Claude: ");
    }));
}

TEST_F(ControllerTest, NewInstanceIsFocusedOnceItShowsAWindow) {
    const Profile work = addAccount("Work");
    controller().open(work);
    ASSERT_TRUE(settled([&] { return controller().running().contains(work.id); }));
    const pid_t pid = controller().running().value(work.id)->processIdentifier();
    drain(20);
    EXPECT_FALSE(fake.windowServer.frontRequests.contains(pid));
    fake.windowServer.windows.insert(pid, 42);
    ASSERT_TRUE(settled([&] { return fake.windowServer.frontRequests.contains(pid); }));

    // An instance that never shows a window is given up on quietly after the polls.
    const Profile other = addAccount("Other");
    controller().open(other);
    ASSERT_TRUE(settled([&] { return controller().running().contains(other.id); }));
    const pid_t silent = controller().running().value(other.id)->processIdentifier();
    drain(400);
    EXPECT_FALSE(fake.windowServer.frontRequests.contains(silent));
}

}  // namespace
}  // namespace varrow::claude::test
