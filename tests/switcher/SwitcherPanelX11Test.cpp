#include "ui/UiFixture.h"

#include "switcher/SwitcherController.h"
#include "switcher/SwitcherPanel.h"

#include <QGuiApplication>
#include <QTest>

namespace varrow::switcher {
namespace {

using ui::test::UiTest;
using varrow::test::waitUntil;

// Needs a real X server with a window manager: QT_QPA_PLATFORM=xcb under Xvfb and openbox.
class SwitcherPanelX11Test : public UiTest {};

TEST_F(SwitcherPanelX11Test, neverTakesFocusAndAsksToBeAnOverlay) {
    if (QGuiApplication::platformName() != u"xcb") GTEST_SKIP() << "needs an X server (QT_QPA_PLATFORM=xcb)";
    addAccount("Work");
    QWidget front;
    front.setWindowTitle("Claude stand-in");
    front.resize(400, 300);
    front.show();
    front.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&front));

    SwitcherController switcher(store.get(), &controller(), fake.processes, fake.windowServer);
    fake.processes.setFrontmost(start(store->profiles()[1]));
    ASSERT_TRUE(waitUntil([&] { return switcher.panel()->isVisible(); }));
    switcher.hover(true);
    settle(300);
    EXPECT_TRUE(switcher.model()->expanded());
    EXPECT_TRUE(front.isActiveWindow());
    EXPECT_FALSE(switcher.panel()->isActiveWindow());
    // The window server marks it (the X11 backend's own test checks the states it sets).
    EXPECT_TRUE(fake.windowServer.overlays.contains(switcher.panel()->windowHandle()));
}

}  // namespace
}  // namespace varrow::switcher
