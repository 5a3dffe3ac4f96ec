#pragma once

class QObject;

namespace varrow::app {

// On the first start in a GNOME Wayland session: installs and enables Varrow's GNOME Shell
// extension, and says once what that brings and when. Remembered in the defaults whatever the
// outcome short of a failure, so an extension the user turned off is never turned on again.
// Does nothing elsewhere, or once asked.
void offerGnomeExtensionOnce(QObject* parent);

}  // namespace varrow::app
