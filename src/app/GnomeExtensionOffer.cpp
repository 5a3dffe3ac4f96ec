#include "app/GnomeExtensionOffer.h"

#include "install/ShellExtensionInstaller.h"
#include "model/Defaults.h"
#include "platform/DisplaySession.h"
#include "platform/SystemLog.h"
#include "platform/gnome/DesktopNotification.h"

#include <QCoreApplication>

namespace varrow::app {

namespace {

using install::ShellExtensionInstaller;

// The texts are marked where they stand, so lupdate finds them.
QString text(const char* source) {
    return QCoreApplication::translate("GnomeExtensionOffer", source);
}

bool isGnomeOnWayland() {
    return platform::display_session::isWayland() &&
           qEnvironmentVariable("XDG_CURRENT_DESKTOP")
               .split(u':')
               .contains(QLatin1String("GNOME"), Qt::CaseInsensitive);
}

}  // namespace

void offerGnomeExtensionOnce(QObject* parent) {
    auto& defaults = model::Defaults::shared();
    if (!isGnomeOnWayland() || defaults.gnomeExtensionOffered()) return;
    auto* installer = new ShellExtensionInstaller(ShellExtensionInstaller::sessionPlaces(), parent);
    QObject::connect(
        installer, &ShellExtensionInstaller::finished, installer,
        [installer](ShellExtensionInstaller::Outcome outcome, const QString& message) {
            installer->deleteLater();
            if (outcome == ShellExtensionInstaller::Outcome::Failed) {
                // Tried again at the next start.
                platform::SystemLog::write(QStringLiteral("Varrow: GNOME Shell extension: ") + message);
                return;
            }
            model::Defaults::shared().setValue(model::Defaults::kGnomeExtensionOffered, true);
            if (outcome == ShellExtensionInstaller::Outcome::Enabled)
                platform::gnome::showDesktopNotification(
                    text(QT_TRANSLATE_NOOP("GnomeExtensionOffer",
                                           "Native switching starts at your next login")),
                    text(QT_TRANSLATE_NOOP(
                        "GnomeExtensionOffer",
                        "Varrow added its extension to GNOME Shell. After you log out and in "
                        "again, Claude opens as a sharp native window, and Ctrl+` and the "
                        "switcher work there. Until then Claude opens through Xwayland, where "
                        "switching works as it does now.")));
            else if (outcome == ShellExtensionInstaller::Outcome::ExtensionsOff)
                platform::gnome::showDesktopNotification(
                    text(QT_TRANSLATE_NOOP("GnomeExtensionOffer", "GNOME Shell extensions are turned off")),
                    text(QT_TRANSLATE_NOOP(
                        "GnomeExtensionOffer",
                        "GNOME's setting “disable-user-extensions” keeps every extension off, "
                        "Varrow's too, so Claude keeps opening through Xwayland. Turn "
                        "extensions on in the Extensions app, then log in again, for native "
                        "windows.")));
        });
    installer->run();
}

}  // namespace varrow::app
