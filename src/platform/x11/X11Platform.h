#pragma once

#include "platform/Platform.h"

namespace varrow::platform::x11 {

// Adds the window-level services of an X display (the session's own, or Xwayland's): the window
// server and the hot keys, over one shared connection. Without a display they are there but
// see no windows and grab no keys.
void addWindowServices(Services& services);

}  // namespace varrow::platform::x11
