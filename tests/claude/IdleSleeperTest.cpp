#include "ControllerFixture.h"
#include "claude/IdleSleeper.h"
#include "model/Defaults.h"

namespace varrow::claude::test {

namespace {

constexpr qint64 kMinute = 60 * 1000;

class IdleSleeperTest : public ControllerTest {
protected:
    IdleSleeperTest() { model::Defaults::useFileForTests(home.file("defaults.ini")); }
    ~IdleSleeperTest() override { model::Defaults::useFileForTests({}); }

    void sleepAfterAnHour(bool on = true) {
        model::Defaults::shared().setValue(model::Defaults::kSleepAfterSeconds, 3600);
        model::Defaults::shared().setValue(model::Defaults::kSleepIdleAccounts, on);
    }
};

}  // namespace

TEST_F(IdleSleeperTest, OnlyAnAccountIdleInTheBackgroundForTheWholeTimeSleepsAndOpensAgainAsUsual) {
    const Profile idle = addAccount("Idle");
    const Profile busy = addAccount("Busy");
    const Profile front = addAccount("Front");
    const AppHandle idleApp = startAccount(idle);
    const AppHandle busyApp = startAccount(busy);
    const AppHandle frontApp = startAccount(front);
    fake.processes.setFrontmost(frontApp);
    ASSERT_TRUE(settled([&] { return controller().frontProfileID() == front.id; }));

    // Processor time in milliseconds: the busy one uses 5% of a processor, the others a trickle.
    auto use = [&](qint64 minutes) {
        fake.processes.cpuMilliseconds[idleApp->processIdentifier()] = quint64(minutes * 60);
        fake.processes.cpuMilliseconds[frontApp->processIdentifier()] = quint64(minutes * 60);
        fake.processes.cpuMilliseconds[busyApp->processIdentifier()] = quint64(minutes * kMinute / 20);
    };
    use(0);
    sleepAfterAnHour();
    IdleSleeper sleeper(&controller(), fake.processes);
    EXPECT_TRUE(sleeper.isWatching());

    for (qint64 minutes : {20, 40, 59}) {
        use(minutes);
        sleeper.check(minutes * kMinute);
    }
    EXPECT_TRUE(fake.processes.terminated.isEmpty());
    use(61);
    sleeper.check(61 * kMinute);
    EXPECT_EQ(fake.processes.terminated, QList<pid_t>{idleApp->processIdentifier()});
    // Until its Claude has gone it is not asleep yet.
    EXPECT_TRUE(controller().asleep().isEmpty());

    fake.processes.removeApplication(idleApp);
    ASSERT_TRUE(settled([&] { return controller().asleep().contains(idle.id); }));
    EXPECT_TRUE(controller().statusReport().contains("Idle: running=false app=- path=- asleep=true"));

    controller().open(idle);
    ASSERT_TRUE(settled([&] { return controller().running().contains(idle.id); }));
    EXPECT_TRUE(controller().asleep().isEmpty());
}

TEST_F(IdleSleeperTest, TimeInFrontStartsTheIdleTimeAfreshAndTurnedOffNothingIsWatched) {
    const Profile work = addAccount("Work");
    const AppHandle app = startAccount(work);
    fake.processes.cpuMilliseconds[app->processIdentifier()] = 0;
    sleepAfterAnHour();
    IdleSleeper sleeper(&controller(), fake.processes);
    sleeper.check(0);
    sleeper.check(50 * kMinute);
    fake.processes.setFrontmost(app);
    sleeper.check(55 * kMinute);
    fake.processes.setFrontmost(nullptr);
    sleeper.check(70 * kMinute);
    EXPECT_TRUE(fake.processes.terminated.isEmpty());
    sleeper.check(116 * kMinute);
    EXPECT_EQ(fake.processes.terminated, QList<pid_t>{app->processIdentifier()});

    sleepAfterAnHour(false);
    EXPECT_FALSE(sleeper.isWatching());
}

}  // namespace varrow::claude::test
