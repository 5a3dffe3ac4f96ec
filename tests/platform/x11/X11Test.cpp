#include "platform/linux/LinuxProcesses.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11HotKeys.h"
#include "platform/x11/X11WindowServer.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>
#include <unistd.h>
#include <QProcess>
#include <cstdlib>
#include <cstring>

using namespace varrow::platform::linux_;
using namespace varrow::platform::x11;
using varrow::platform::AppHandle;
using varrow::platform::GlobalHotKeys;
using varrow::test::waitUntil;

// These run only with an X display (the end-to-end scripts provide Xvfb and openbox).
namespace {

bool xdotool(const QStringList& arguments) {
    return QProcess::execute("xdotool", arguments) == 0;
}

// A plain top-level window owned by this process, as any application's window would be.
class TestWindow {
public:
    explicit TestWindow(xcb_connection_t* c) : c_(c) {
        window_ = xcb_generate_id(c_);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, window_, screen->root, 10, 10, 200, 120, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
        const uint32_t pid = uint32_t(::getpid());
        xcb_change_property(c_, XCB_PROP_MODE_REPLACE, window_, atom("_NET_WM_PID"), XCB_ATOM_CARDINAL, 32, 1,
                            &pid);
        xcb_map_window(c_, window_);
        xcb_flush(c_);
    }
    ~TestWindow() {
        xcb_destroy_window(c_, window_);
        xcb_flush(c_);
    }
    xcb_window_t id() const { return window_; }

private:
    xcb_atom_t atom(const char* name) {
        auto* reply =
            xcb_intern_atom_reply(c_, xcb_intern_atom(c_, 0, uint16_t(std::strlen(name)), name), nullptr);
        const xcb_atom_t a = reply ? reply->atom : XCB_NONE;
        std::free(reply);
        return a;
    }
    xcb_connection_t* c_;
    xcb_window_t window_;
};

bool hasWindowManager(X11Connection& x11) {
    xcb_connection_t* c = x11.connection();
    const char* name = "_NET_SUPPORTING_WM_CHECK";
    auto* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, uint16_t(std::strlen(name)), name), nullptr);
    if (!atom) return false;
    auto* prop = xcb_get_property_reply(
        c, xcb_get_property(c, 0, x11.root(), atom->atom, XCB_ATOM_WINDOW, 0, 1), nullptr);
    const bool found = prop && xcb_get_property_value_length(prop) == 4;
    std::free(atom);
    std::free(prop);
    return found;
}

}  // namespace

TEST(X11, WithoutADisplayNothingIsInFront) {
    X11Connection none(":987654");  // no such display
    EXPECT_FALSE(none.isConnected());
    X11HotKeys keys(std::make_shared<X11Connection>(":987654"));
    EXPECT_FALSE(keys.registerHotKey(1, 1, Qt::Key_QuoteLeft, Qt::ControlModifier));
    X11WindowServer server(std::make_shared<X11Connection>(":987654"));
    EXPECT_FALSE(server.frontWindow(::getpid()));
    EXPECT_FALSE(server.makeFrontmost(::getpid()));
}

TEST(X11, HotKeyGrabsPressesAndConflicts) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no X display";
    auto first = std::make_shared<X11Connection>();
    auto second = std::make_shared<X11Connection>();
    ASSERT_TRUE(first->isConnected());
    X11HotKeys mine(first), theirs(second);
    QList<std::pair<quint32, quint32>> presses;
    QObject::connect(&mine, &GlobalHotKeys::pressed, [&](quint32 s, quint32 id) { presses.append({s, id}); });

    const auto forward = mine.registerHotKey(0x56525257, 1, Qt::Key_QuoteLeft, Qt::ControlModifier);
    const auto backward =
        mine.registerHotKey(0x56525257, 2, Qt::Key_QuoteLeft, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_TRUE(forward);
    ASSERT_TRUE(backward);
    // Another client holding the key: refused quietly, and this process lives on.
    EXPECT_FALSE(theirs.registerHotKey(7, 7, Qt::Key_QuoteLeft, Qt::ControlModifier));
    EXPECT_FALSE(mine.registerHotKey(1, 9, Qt::Key_LaunchMail, Qt::ControlModifier));  // no such key

    if (QProcess::execute("xdotool", {"version"}) != 0) GTEST_SKIP() << "xdotool missing";
    ASSERT_TRUE(xdotool({"key", "ctrl+grave"}));
    ASSERT_TRUE(waitUntil([&] { return presses.size() == 1; }, 2000));
    EXPECT_EQ(presses.last(), std::make_pair(quint32(0x56525257), quint32(1)));
    ASSERT_TRUE(xdotool({"key", "ctrl+shift+grave"}));
    ASSERT_TRUE(waitUntil([&] { return presses.size() == 2; }, 2000));
    EXPECT_EQ(presses.last().second, 2u);
    // Caps Lock on: still the same key.
    ASSERT_TRUE(xdotool({"key", "Caps_Lock"}));
    ASSERT_TRUE(xdotool({"key", "ctrl+grave"}));
    const bool withCaps = waitUntil([&] { return presses.size() == 3; }, 2000);
    xdotool({"key", "Caps_Lock"});
    EXPECT_TRUE(withCaps);

    mine.unregisterHotKey(*forward);
    EXPECT_TRUE(theirs.registerHotKey(7, 7, Qt::Key_QuoteLeft, Qt::ControlModifier));
}

// Changes the display's keyboard map, so only on a display of its own (the hot-key end-to-end
// script runs these tests on its private X server).
TEST(X11, HotKeyIsThePhysicalKeyOnEveryLayoutNamedAsTheLayoutPrintsIt) {
    if (qEnvironmentVariableIsEmpty("DISPLAY") || !qEnvironmentVariableIsSet("VARROW_OWN_DISPLAY"))
        GTEST_SKIP() << "needs an X display of its own";
    X11HotKeys keys(std::make_shared<X11Connection>());
    int changes = 0, presses = 0;
    QObject::connect(&keys, &GlobalHotKeys::keyboardChanged, [&] { ++changes; });
    QObject::connect(&keys, &GlobalHotKeys::pressed, [&] { ++presses; });
    const auto layout = [&](const QString& name) {
        const int before = changes;
        return QProcess::execute("setxkbmap", {name}) == 0 && waitUntil([&] { return changes > before; });
    };

    ASSERT_TRUE(layout("de"));
    EXPECT_EQ(keys.keyLabel(Qt::Key_QuoteLeft), "^");
    EXPECT_EQ(keys.keyLabel(Qt::Key_Y), "Z");  // German keyboards swap Y and Z
    ASSERT_TRUE(keys.registerHotKey(1, 1, Qt::Key_QuoteLeft, Qt::ControlModifier));
    ASSERT_TRUE(xdotool({"key", "ctrl+49"}));  // X keycode 49: the key left of 1
    EXPECT_TRUE(waitUntil([&] { return presses == 1; }, 2000));

    ASSERT_TRUE(layout("fr"));
    EXPECT_EQ(keys.keyLabel(Qt::Key_QuoteLeft), "²");
    ASSERT_TRUE(layout("us"));
    EXPECT_EQ(keys.keyLabel(Qt::Key_QuoteLeft), "`");
}

TEST(X11, FrontWindowActivationAndFrontState) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no X display";
    auto x11 = std::make_shared<X11Connection>();
    ASSERT_TRUE(x11->isConnected());
    if (!hasWindowManager(*x11)) GTEST_SKIP() << "no EWMH window manager";
    X11WindowServer server(x11);
    ProcessesOptions options;
    options.watch = false;
    LinuxProcesses processes(&server, options);
    int becameActive = 0;
    QList<AppHandle> activated;
    QObject::connect(&processes, &LinuxProcesses::selfCameToFront, [&] { ++becameActive; });
    QObject::connect(&processes, &LinuxProcesses::frontApplicationChanged,
                     [&](const AppHandle& app) { activated.append(app); });

    TestWindow window(x11->connection());
    ASSERT_TRUE(waitUntil([&] { return server.frontWindow(::getpid()) == window.id(); }, 3000));
    EXPECT_FALSE(server.frontWindow(::getpid() + 100000));

    ASSERT_TRUE(server.makeFrontmost(::getpid()));
    ASSERT_TRUE(waitUntil([&] { return processes.isSelfInFront(); }, 3000));
    ASSERT_TRUE(waitUntil([&] { return becameActive >= 1; }, 3000));
    EXPECT_EQ(processes.frontApplication(), processes.thisApplication());
    EXPECT_TRUE(activated.contains(processes.thisApplication()));
    EXPECT_TRUE(processes.isActive(*processes.thisApplication()));
}

TEST(X11, OverlayStatesAreOnTheServerBeforeTheWindowIsMapped) {
    if (qEnvironmentVariableIsEmpty("DISPLAY")) GTEST_SKIP() << "no X display";
    X11Connection x11;
    ASSERT_TRUE(x11.isConnected());
    // The window belongs to another connection, as Qt's own windows do.
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_window_t window = xcb_generate_id(c);
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 50, 50, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_flush(c);
    xcb_get_input_focus_reply_t* sync = xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr);
    std::free(sync);
    ASSERT_TRUE(x11.markOverlay(window));

    auto atomName = [c](xcb_atom_t atom) {
        xcb_get_atom_name_reply_t* n = xcb_get_atom_name_reply(c, xcb_get_atom_name(c, atom), nullptr);
        const QByteArray name =
            n ? QByteArray(xcb_get_atom_name_name(n), xcb_get_atom_name_name_length(n)) : QByteArray();
        std::free(n);
        return name;
    };
    auto property = [c, window](const char* name) {
        auto* atom =
            xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
        auto* reply = xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 16), nullptr);
        std::free(atom);
        QList<quint32> values;
        for (int i = 0; reply && i < xcb_get_property_value_length(reply) / 4; ++i)
            values.append(static_cast<const quint32*>(xcb_get_property_value(reply))[i]);
        std::free(reply);
        return values;
    };
    QList<QByteArray> states;
    for (quint32 atom : property("_NET_WM_STATE")) states.append(atomName(atom));
    EXPECT_EQ(states, (QList<QByteArray>{"_NET_WM_STATE_SKIP_TASKBAR", "_NET_WM_STATE_SKIP_PAGER",
                                         "_NET_WM_STATE_STICKY", "_NET_WM_STATE_ABOVE"}));
    EXPECT_EQ(property("_NET_WM_DESKTOP"), QList<quint32>{0xFFFFFFFF});
    xcb_destroy_window(c, window);
    xcb_disconnect(c);
}
