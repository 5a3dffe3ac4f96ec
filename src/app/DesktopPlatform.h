#pragma once

namespace varrow::app {

// Installs the platform for this desktop session: the window-level services its window system
// needs, the process side every Linux session shares, and Claude's Linux package as an
// installation besides bundles.
void installDesktopPlatform();

}  // namespace varrow::app
