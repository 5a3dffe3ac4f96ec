#pragma once

#include "platform/Platform.h"

namespace varrow::platform::linux_ {

// What kind of desktop session this is, by what it says of itself (XDG_SESSION_TYPE) and, where
// it says nothing, by the displays it offers.
enum class SessionType { X11, Wayland, None };
SessionType sessionType();

// Adds what every Linux session has, whatever its window system: the process service (over the window
// server already in `services`, null for none), preferences, login items, the tray watch and the
// link handler. `installations` says what besides bundles is an application; it must be the one
// installed with these services.
void addProcessServices(Services& services, Installations* installations);

}  // namespace varrow::platform::linux_
