#include "platform/linux/LinuxTrayAvailability.h"

#include <xcb/xfixes.h>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <cstdlib>

namespace varrow::platform::linux_ {

namespace {
constexpr auto kWatcherInterface = "org.kde.StatusNotifierWatcher";

QDBusMessage hostQuestion() {
    QDBusMessage message = QDBusMessage::createMethodCall(
        QLatin1String(LinuxTrayAvailability::kWatcherService),
        QLatin1String(LinuxTrayAvailability::kWatcherPath), QStringLiteral("org.freedesktop.DBus.Properties"),
        QStringLiteral("Get"));
    message << QLatin1String(kWatcherInterface) << QStringLiteral("IsStatusNotifierHostRegistered");
    return message;
}

bool hostAnswer(const QDBusMessage& reply) {
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return false;
    return qvariant_cast<QDBusVariant>(reply.arguments().first()).variant().toBool();
}
}  // namespace

LinuxTrayAvailability::LinuxTrayAvailability(QDBusConnection bus, const QByteArray& display, QObject* parent)
    : TrayAvailability(parent), bus_(std::move(bus)) {
    // Qt draws a tray icon only on a real screen: through the bus anywhere, by XEmbed under X.
    // The offscreen platform of scripted renders has neither, whatever the desktop runs.
    const QString qpa = QGuiApplication::platformName();
    if (qpa == u"offscreen" || qpa == u"minimal") return;
    watchBus();
    if (qpa == u"xcb") connectX(display);
    reported_ = isAvailable();
}

LinuxTrayAvailability::~LinuxTrayAvailability() {
    delete notifier_;
    if (x_) xcb_disconnect(x_);
}

void LinuxTrayAvailability::watchBus() {
    if (!bus_.isConnected()) return;
    const QString service = QLatin1String(kWatcherService);
    watcher_ = new QDBusServiceWatcher(
        service, bus_,
        QDBusServiceWatcher::WatchForRegistration | QDBusServiceWatcher::WatchForUnregistration, this);
    connect(watcher_, &QDBusServiceWatcher::serviceRegistered, this, &LinuxTrayAvailability::askForHost);
    connect(watcher_, &QDBusServiceWatcher::serviceUnregistered, this, [this] { setNotifierHost(false); });
    // A watcher that is up before its host says so with this signal.
    bus_.connect(service, QLatin1String(kWatcherPath), QLatin1String(kWatcherInterface),
                 QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(hostRegistered()));
    // Asked without waiting: without a watcher the answer is an error, that is no host. A login
    // launch gives a tray a moment before it shows the window, and an icon is made once a host
    // answers.
    askForHost();
}

void LinuxTrayAvailability::hostRegistered() {
    setNotifierHost(true);
}

void LinuxTrayAvailability::askForHost() {
    auto* call = new QDBusPendingCallWatcher(bus_.asyncCall(hostQuestion()), this);
    connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        setNotifierHost(hostAnswer(finished->reply()));
    });
}

void LinuxTrayAvailability::setNotifierHost(bool present) {
    const bool appeared = present && !notifierHost_;
    notifierHost_ = present;
    update(appeared);
}

void LinuxTrayAvailability::connectX(const QByteArray& display) {
    QByteArray name = display.isEmpty() ? qgetenv("DISPLAY") : display;
    if (name.isEmpty()) return;
    int screen = 0;
    x_ = xcb_connect(name.constData(), &screen);
    if (xcb_connection_has_error(x_)) {
        xcb_disconnect(x_);
        x_ = nullptr;
        return;
    }
    const xcb_query_extension_reply_t* xfixes = xcb_get_extension_data(x_, &xcb_xfixes_id);
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(x_));
    for (int i = 0; i < screen && it.rem; ++i) xcb_screen_next(&it);
    if (!xfixes || !xfixes->present || !it.rem) {
        xcb_disconnect(x_);
        x_ = nullptr;
        return;
    }
    xfixesEvent_ = xfixes->first_event;
    free(xcb_xfixes_query_version_reply(x_, xcb_xfixes_query_version(x_, 5, 0), nullptr));

    const QByteArray atomName = "_NET_SYSTEM_TRAY_S" + QByteArray::number(screen);
    xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(
        x_, xcb_intern_atom(x_, 0, uint16_t(atomName.size()), atomName.constData()), nullptr);
    selection_ = atom ? atom->atom : XCB_NONE;
    free(atom);
    if (selection_ == XCB_NONE) return;

    xcb_xfixes_select_selection_input(x_, it.data->root, selection_,
                                      XCB_XFIXES_SELECTION_EVENT_MASK_SET_SELECTION_OWNER |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_WINDOW_DESTROY |
                                          XCB_XFIXES_SELECTION_EVENT_MASK_SELECTION_CLIENT_CLOSE);
    xcb_get_selection_owner_reply_t* owner =
        xcb_get_selection_owner_reply(x_, xcb_get_selection_owner(x_, selection_), nullptr);
    trayOwner_ = owner ? owner->owner : XCB_NONE;
    free(owner);

    notifier_ = new QSocketNotifier(xcb_get_file_descriptor(x_), QSocketNotifier::Read);
    connect(notifier_, &QSocketNotifier::activated, this, &LinuxTrayAvailability::dispatchX);
    // The replies above may have pulled events off the socket.
    dispatchX();
}

void LinuxTrayAvailability::dispatchX() {
    if (!x_) return;
    while (xcb_generic_event_t* event = xcb_poll_for_event(x_)) {
        if ((event->response_type & 0x7f) == xfixesEvent_ + XCB_XFIXES_SELECTION_NOTIFY) {
            auto* notify = reinterpret_cast<xcb_xfixes_selection_notify_event_t*>(event);
            if (notify->selection == selection_) setTrayOwner(notify->owner);
        }
        free(event);
    }
    if (xcb_connection_has_error(x_)) {
        // The X server is gone; so is its tray.
        delete notifier_;
        notifier_ = nullptr;
        xcb_disconnect(x_);
        x_ = nullptr;
        setTrayOwner(XCB_NONE);
    }
}

void LinuxTrayAvailability::setTrayOwner(xcb_window_t owner) {
    const bool appeared = owner != XCB_NONE && owner != trayOwner_;
    trayOwner_ = owner;
    update(appeared);
}

void LinuxTrayAvailability::update(bool appeared) {
    const bool available = isAvailable();
    if (available != reported_) {
        reported_ = available;
        emit availableChanged(available);
    }
    if (appeared) emit hostAppeared();
}

}  // namespace varrow::platform::linux_
