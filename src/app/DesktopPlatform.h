#pragma once

#include "ui/DisplayText.h"

namespace varrow::app {

// Installs the platform for this desktop session: the window-level services its window system
// needs, the process side every Linux session shares, and Claude's Linux package as an
// installation besides bundles.
void installDesktopPlatform();

// How the installed platform's desktop names its pinned list and the cycle key, for the views.
ui::DesktopWords desktopWords();

}  // namespace varrow::app
