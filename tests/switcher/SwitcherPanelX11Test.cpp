#include "ui/UiFixture.h"

#include "switcher/SwitcherController.h"
#include "switcher/SwitcherPanel.h"

#include <xcb/xcb.h>
#include <QGuiApplication>
#include <QTest>

namespace varrow::switcher {
namespace {

using ui::test::UiTest;
using varrow::test::waitUntil;

QList<QByteArray> netWmState(QWidget* window) {
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11->connection();
    auto atom = [c](const char* name) {
        xcb_intern_atom_reply_t* r =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(strlen(name)), name), nullptr);
        const xcb_atom_t a = r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
        free(r);
        return a;
    };
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        c, xcb_get_property(c, 0, xcb_window_t(window->winId()), atom("_NET_WM_STATE"), XCB_ATOM_ATOM, 0, 64),
        nullptr);
    QList<QByteArray> names;
    if (reply) {
        const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply));
        for (int i = 0; i < xcb_get_property_value_length(reply) / 4; ++i) {
            xcb_get_atom_name_reply_t* n =
                xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atoms[i]), nullptr);
            if (n) names.append(QByteArray(xcb_get_atom_name_name(n), xcb_get_atom_name_name_length(n)));
            free(n);
        }
        free(reply);
    }
    return names;
}

// Needs a real X server with a window manager: QT_QPA_PLATFORM=xcb under Xvfb and openbox.
class SwitcherPanelX11Test : public UiTest {};

TEST_F(SwitcherPanelX11Test, neverTakesFocusAndStaysOutOfTheTaskbar) {
    if (QGuiApplication::platformName() != u"xcb") GTEST_SKIP() << "needs an X server (QT_QPA_PLATFORM=xcb)";
    addAccount("Work");
    QWidget front;
    front.setWindowTitle("Claude stand-in");
    front.resize(400, 300);
    front.show();
    front.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&front));

    SwitcherController switcher(store.get(), &controller());
    fake.workspace.setFrontmost(start(store->profiles()[1]));
    ASSERT_TRUE(waitUntil([&] { return switcher.panel()->isVisible(); }));
    switcher.hover(true);
    settle(300);
    EXPECT_TRUE(switcher.model()->expanded());
    EXPECT_TRUE(front.isActiveWindow());
    EXPECT_FALSE(switcher.panel()->isActiveWindow());
    const auto state = netWmState(switcher.panel());
    EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_TASKBAR")) << state.join(' ').toStdString();
    EXPECT_TRUE(state.contains("_NET_WM_STATE_SKIP_PAGER"));
    EXPECT_TRUE(state.contains("_NET_WM_STATE_ABOVE"));
}

}  // namespace
}  // namespace varrow::switcher
