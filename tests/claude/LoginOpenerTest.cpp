#include "ControllerFixture.h"
#include "claude/LoginOpener.h"

#include <QSignalSpy>

namespace varrow::claude::test {

namespace {

Profile opensAtLogin(model::ProfileStore& store, Profile profile) {
    profile.openAtLogin = true;
    store.update(profile);
    return profile;
}

}  // namespace

TEST_F(ControllerTest, AtLoginMarkedAccountsOpenInTurnEachOnceTheOneBeforeShowsAWindow) {
    // Real timings: only a window (or a failed launch) may move the opener on here.
    Timings::setScaleForTests(1.0);
    const Profile first = opensAtLogin(*store, addAccount("First"));
    const Profile skipped = addAccount("Not at login");
    const Profile open = opensAtLogin(*store, addAccount("Already open"));
    const Profile second = opensAtLogin(*store, addAccount("Second"));
    const Profile third = opensAtLogin(*store, addAccount("Third"));
    startAccount(open);
    controller();
    drain(50);
    fake.processes.openRequests.clear();

    LoginOpener opener(&controller(), fake.windowServer);
    QSignalSpy finished(&opener, &LoginOpener::finished);
    opener.start();
    ASSERT_TRUE(settled([&] { return controller().running().contains(first.id); }));
    drain(100);
    // Running, but no window yet: the next one waits.
    ASSERT_EQ(fake.processes.openRequests.size(), 1);
    EXPECT_EQ(fake.processes.openRequests.first().folder, copyOf(first));
    EXPECT_EQ(opener.current(), first.id);

    fake.windowServer.windows.insert(controller().running().value(first.id)->processIdentifier(), 1);
    emit fake.windowServer.activeProcessChanged();
    ASSERT_TRUE(settled([&] { return controller().running().contains(second.id); }));
    EXPECT_EQ(opener.current(), second.id);

    // A launch that fails ends that account's turn too.
    fake.processes.openMode = platform::fake::FakeProcesses::OpenMode::Fail;
    fake.windowServer.windows.insert(controller().running().value(second.id)->processIdentifier(), 2);
    emit fake.windowServer.activeProcessChanged();
    ASSERT_TRUE(settled([&] { return opener.isFinished(); }));
    EXPECT_EQ(finished.count(), 1);

    QStringList order;
    for (const auto& request : fake.processes.openRequests) order.append(request.folder);
    EXPECT_EQ(order, (QStringList{copyOf(first), copyOf(second), copyOf(third)}));
    EXPECT_FALSE(controller().running().contains(skipped.id));
}

}  // namespace varrow::claude::test
