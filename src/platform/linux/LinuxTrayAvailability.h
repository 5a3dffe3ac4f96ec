#pragma once

#include "platform/TrayAvailability.h"

#include <xcb/xcb.h>
#include <QDBusConnection>

class QDBusServiceWatcher;
class QSocketNotifier;

namespace varrow::platform::linux_ {

// The two kinds of tray a Linux desktop has: a StatusNotifierWatcher on the session bus with a
// host registered (what Qt uses when there is one), and an XEmbed tray, the owner of the X
// selection _NET_SYSTEM_TRAY_S<screen>. Both are watched for as long as Varrow runs, through
// bus signals and XFixes selection events on a connection of its own, never by polling. Made
// after the QGuiApplication, whose platform decides which kinds Qt can use.
class LinuxTrayAvailability : public TrayAvailability {
    Q_OBJECT
public:
    static constexpr auto kWatcherService = "org.kde.StatusNotifierWatcher";
    static constexpr auto kWatcherPath = "/StatusNotifierWatcher";

    explicit LinuxTrayAvailability(QDBusConnection bus = QDBusConnection::sessionBus(),
                                   const QByteArray& display = {}, QObject* parent = nullptr);
    ~LinuxTrayAvailability() override;

    bool isAvailable() const override { return notifierHost_ || trayOwner_ != XCB_NONE; }

private slots:
    void hostRegistered();

private:
    void watchBus();
    void askForHost();
    void setNotifierHost(bool present);
    void connectX(const QByteArray& display);
    void dispatchX();
    void setTrayOwner(xcb_window_t owner);
    void update(bool appeared);

    QDBusConnection bus_;
    QDBusServiceWatcher* watcher_ = nullptr;
    bool notifierHost_ = false;

    xcb_connection_t* x_ = nullptr;
    QSocketNotifier* notifier_ = nullptr;
    quint8 xfixesEvent_ = 0;
    xcb_atom_t selection_ = XCB_NONE;
    xcb_window_t trayOwner_ = XCB_NONE;
    bool reported_ = false;
};

}  // namespace varrow::platform::linux_
