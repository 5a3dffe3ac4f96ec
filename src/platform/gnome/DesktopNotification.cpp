#include "platform/gnome/DesktopNotification.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QStringList>
#include <QVariantMap>

namespace varrow::platform::gnome {

void showDesktopNotification(const QString& summary, const QString& body) {
    QDBusMessage notify = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
        QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
    // app name, replaces id, icon, summary, body, actions, hints, timeout (-1: the server's)
    notify.setArguments({QStringLiteral("Varrow"), 0u, QStringLiteral("io.github.varrow.Varrow"), summary,
                         body, QStringList(), QVariantMap(), -1});
    QDBusConnection::sessionBus().send(notify);
}

}  // namespace varrow::platform::gnome
