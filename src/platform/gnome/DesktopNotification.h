#pragma once

#include <QString>

namespace varrow::platform::gnome {

// A notification in the desktop's message tray (org.freedesktop.Notifications), sent without
// waiting for an answer; nothing is shown where no notification service runs.
void showDesktopNotification(const QString& summary, const QString& body);

}  // namespace varrow::platform::gnome
