#pragma once

#include <QStringList>

namespace varrow::platform::display_session {

// The desktop session is Wayland: its session type says so, or a Wayland display is offered.
bool isWayland();
// This program's window-level machinery (active window, key grabs, overlay placement) is X11's,
// so on a Wayland session with Xwayland it runs as an X11 client, unless a Qt platform is chosen.
bool shouldRunAsX11Client();
// The arguments that start an Electron application (Claude) as an X11 client on Xwayland.
QStringList x11ClientArguments();
// Whether an Electron application started with these arguments on a Wayland session is an X11
// client; without them it is a native Wayland client.
bool startsAsX11Client(const QStringList& arguments);

}  // namespace varrow::platform::display_session
