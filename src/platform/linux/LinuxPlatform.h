#pragma once

namespace varrow::platform::linux_ {

// Builds the Linux services (workspace, window server, hot keys, preferences, login items) over
// one shared X connection, and the tray watch, and installs them as the platform. Works without
// a display too.
void installLinuxPlatform();

}  // namespace varrow::platform::linux_
