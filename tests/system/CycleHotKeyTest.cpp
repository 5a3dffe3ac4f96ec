#include "system/CycleHotKey.h"

#include "model/Defaults.h"
#include "platform/Timings.h"
#include "platform/fake/FakePlatform.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>
#include <QThread>

using namespace varrow;
using system::CycleHotKey;

namespace {

const Qt::KeyboardModifiers kNext = Qt::ControlModifier;
const Qt::KeyboardModifiers kPrevious = Qt::ControlModifier | Qt::ShiftModifier;

// Stands in for the controller: whether Claude is in front, and the cycles asked of it.
struct Controller : QObject {
    bool front = false;
    QList<bool> cycles;
};

class CycleHotKeyTest : public ::testing::Test {
protected:
    void SetUp() override { model::Defaults::useFileForTests(dir.filePath("defaults.ini")); }
    void TearDown() override {
        Timings::setScaleForTests(1.0);
        model::Defaults::useFileForTests({});
    }

    std::unique_ptr<CycleHotKey> make() {
        return std::make_unique<CycleHotKey>(
            platform.hotKeys, &platform.desktopShortcuts, platform.windowServer,
            CycleHotKey::Target{&controller, [this] { return controller.front; },
                                [this](bool backwards) { controller.cycles.append(backwards); }});
    }
    void setFront(CycleHotKey& key, bool front) {
        controller.front = front;
        key.frontChanged();
    }

    QTemporaryDir dir;
    platform::fake::FakePlatform platform;
    Controller controller;
};

TEST_F(CycleHotKeyTest, RegistersBothKeysOnlyWhileClaudeIsInFront) {
    auto key = make();
    EXPECT_TRUE(platform.hotKeys.registered.isEmpty());

    setFront(*key, true);
    ASSERT_EQ(platform.hotKeys.registered.size(), 2);
    QList<std::pair<quint32, Qt::KeyboardModifiers>> keys;
    for (const auto& k : platform.hotKeys.registered) {
        EXPECT_EQ(k.signature, 0x56525257u);  // "VRRW"
        EXPECT_EQ(k.key, Qt::Key_QuoteLeft);
        keys.append({k.id, k.modifiers});
    }
    EXPECT_TRUE(keys.contains(std::pair(1u, kNext)));
    EXPECT_TRUE(keys.contains(std::pair(2u, kPrevious)));

    setFront(*key, false);
    EXPECT_TRUE(platform.hotKeys.registered.isEmpty());
    EXPECT_FALSE(key->isRegistered());
}

TEST_F(CycleHotKeyTest, FollowsTheEnabledDefault) {
    model::Defaults::shared().setValue(model::Defaults::kCycleHotKeyEnabled, false);
    controller.front = true;
    auto key = make();
    EXPECT_TRUE(platform.hotKeys.registered.isEmpty());

    model::Defaults::shared().setValue(model::Defaults::kCycleHotKeyEnabled, true);
    EXPECT_EQ(platform.hotKeys.registered.size(), 2);

    // Another default changing re-evaluates without registering again.
    const int before = platform.hotKeys.registrations;
    model::Defaults::shared().setValue(model::Defaults::kSwitcherStyle, QStringLiteral("off"));
    setFront(*key, true);
    EXPECT_EQ(platform.hotKeys.registrations, before);

    model::Defaults::shared().setValue(model::Defaults::kCycleHotKeyEnabled, false);
    EXPECT_TRUE(platform.hotKeys.registered.isEmpty());
}

TEST_F(CycleHotKeyTest, KeyHeldElsewhereIsSkippedAndTheOtherStillWorks) {
    platform.hotKeys.taken.insert(kPrevious.toInt());
    controller.front = true;
    auto key = make();
    EXPECT_EQ(platform.hotKeys.registered.size(), 1);
    EXPECT_TRUE(key->isRegistered());
    EXPECT_FALSE(platform.hotKeys.press(kPrevious));

    // Leaving the front releases the one key that was taken.
    setFront(*key, false);
    EXPECT_TRUE(platform.hotKeys.registered.isEmpty());
}

TEST_F(CycleHotKeyTest, PressCyclesOnALaterTurnInTheRightDirection) {
    controller.front = true;
    auto key = make();

    ASSERT_TRUE(platform.hotKeys.press(kNext));
    EXPECT_TRUE(controller.cycles.isEmpty());  // queued, not called from inside the key event
    ASSERT_TRUE(test::waitUntil([&] { return controller.cycles.size() == 1; }));
    EXPECT_FALSE(controller.cycles.at(0));

    setFront(*key, true);  // the switch landed
    ASSERT_TRUE(platform.hotKeys.press(kPrevious));
    ASSERT_TRUE(test::waitUntil([&] { return controller.cycles.size() == 2; }));
    EXPECT_TRUE(controller.cycles.at(1));

    // Presses with a signature that is not ours are not cycles.
    setFront(*key, true);
    emit platform.hotKeys.pressed(0x41424344, 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(controller.cycles.size(), 2);
}

TEST_F(CycleHotKeyTest, PressesDuringASwitchAreDroppedUntilItLands) {
    controller.front = true;
    auto key = make();

    for (int i = 0; i < 5; ++i) platform.hotKeys.press(kNext);  // key repeat
    QCoreApplication::processEvents();
    EXPECT_EQ(controller.cycles.size(), 1);
    EXPECT_TRUE(key->isSwitching());

    setFront(*key, true);
    EXPECT_FALSE(key->isSwitching());
    platform.hotKeys.press(kNext);
    QCoreApplication::processEvents();
    EXPECT_EQ(controller.cycles.size(), 2);
}

TEST_F(CycleHotKeyTest, ASwitchThatNeverLandsStopsBlockingAfterItsWindow) {
    Timings::setScaleForTests(0.05);
    controller.front = true;
    auto key = make();
    platform.hotKeys.press(kNext);
    ASSERT_TRUE(test::waitUntil([&] { return !key->isSwitching(); }, 2000));
    platform.hotKeys.press(kNext);
    ASSERT_TRUE(test::waitUntil([&] { return controller.cycles.size() == 2; }));
}

TEST_F(CycleHotKeyTest, PressAfterTheControllerIsGoneDoesNothing) {
    auto owner = std::make_unique<Controller>();
    owner->front = true;
    bool called = false;
    CycleHotKey key(platform.hotKeys, &platform.desktopShortcuts, platform.windowServer,
                    {owner.get(), [&] { return true; }, [&](bool) { called = true; }});
    platform.hotKeys.press(kNext);
    owner.reset();
    QCoreApplication::processEvents();
    EXPECT_FALSE(called);
}

}  // namespace

TEST_F(CycleHotKeyTest, ForANativeClaudeTheDesktopsShortcutsStayBoundAndCycleOnlyFromClaude) {
    auto key = make();
    EXPECT_TRUE(platform.desktopShortcuts.bound.isEmpty());  // Claude on Xwayland: the grab serves

    model::Defaults::shared().setValue(model::Defaults::kStartClaudeThroughXwayland, false);
    ASSERT_EQ(platform.desktopShortcuts.bound.size(), 2);
    EXPECT_EQ(platform.desktopShortcuts.bound.at(0).id, QStringLiteral("next-account"));
    EXPECT_EQ(platform.desktopShortcuts.bound.at(0).modifiers, kNext);
    EXPECT_EQ(platform.desktopShortcuts.bound.at(1).id, QStringLiteral("previous-account"));
    EXPECT_EQ(platform.desktopShortcuts.bound.at(1).modifiers, kPrevious);

    // The desktop passes the key on from any window: with no Claude in front it does nothing.
    ASSERT_TRUE(platform.desktopShortcuts.press(QStringLiteral("next-account")));
    QCoreApplication::processEvents();
    EXPECT_TRUE(controller.cycles.isEmpty());

    setFront(*key, true);
    ASSERT_TRUE(platform.desktopShortcuts.press(QStringLiteral("previous-account")));
    ASSERT_TRUE(test::waitUntil([&] { return controller.cycles.size() == 1; }));
    EXPECT_TRUE(controller.cycles.at(0));

    model::Defaults::shared().setValue(model::Defaults::kCycleHotKeyEnabled, false);
    EXPECT_TRUE(platform.desktopShortcuts.bound.isEmpty());
}
