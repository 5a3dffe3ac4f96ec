#include "platform/gnome/DBusExtensionLink.h"

#include "platform/Timings.h"

#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QTimer>

namespace varrow::platform::gnome {

namespace {

constexpr auto kVarrowName = "io.github.varrow.Varrow";
constexpr auto kService = "io.github.varrow.GnomeShell";
constexpr auto kPath = "/io/github/varrow/GnomeShell";
constexpr auto kInterface = "io.github.varrow.GnomeShell";
constexpr uint kDoNotQueue = 4;

QString latin(const char* text) {
    return QString::fromLatin1(text);
}

QSet<pid_t> pidSet(const QList<uint>& pids) {
    QSet<pid_t> set;
    for (uint pid : pids)
        if (pid > 0) set.insert(pid_t(pid));
    return set;
}

// A call whose answer changes nothing here.
void discard(QDBusPendingCallWatcher* watcher) {
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher, &QObject::deleteLater);
}

}  // namespace

QString DBusExtensionLink::varrowName() {
    return latin(kVarrowName);
}

QString DBusExtensionLink::serviceName() {
    return latin(kService);
}

DBusExtensionLink::DBusExtensionLink(QObject* parent)
    : ExtensionLink(parent),
      bus_(QDBusConnection::sessionBus()),
      serviceWatcher_(latin(kService), bus_, QDBusServiceWatcher::WatchForOwnerChange) {
    qDBusRegisterMetaType<QMap<QString, QString>>();
    if (!bus_.isConnected()) return;
    connect(&serviceWatcher_, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this](const QString&, const QString&, const QString& owner) {
                setAvailable(false);
                if (!owner.isEmpty()) handshake();
            });
    bus_.connect(latin(kService), latin(kPath), latin(kInterface), QStringLiteral("FocusChanged"), this,
                 SLOT(focusChangedTo(uint)));
    bus_.connect(latin(kService), latin(kPath), latin(kInterface), QStringLiteral("WindowsChanged"), this,
                 SLOT(windowsChangedTo(QList<uint>)));
    bus_.connect(latin(kService), latin(kPath), latin(kInterface), QStringLiteral("KeyPressed"), this,
                 SLOT(keyPressedWith(QString)));
    requestName();
}

void DBusExtensionLink::requestName() {
    QDBusMessage request = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
        QStringLiteral("org.freedesktop.DBus"), QStringLiteral("RequestName"));
    request.setArguments({latin(kVarrowName), kDoNotQueue});
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(request), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        // 1: now the owner; 4: already was. Without the name the extension serves nothing.
        ownsName_ = reply.isValid() && (reply.value() == 1 || reply.value() == 4);
        if (ownsName_) handshake();
    });
}

// Watch doubles as the greeting: its answer is the whole state. The extension may not have heard
// yet that this program owns Varrow's name, so a refusal is tried again a few times.
void DBusExtensionLink::handshake() {
    if (!ownsName_) return;
    attempts_ = 0;
    greet(++generation_);
}

void DBusExtensionLink::greet(quint64 generation) {
    auto* watcher = send(QStringLiteral("Watch"), {QVariant::fromValue(watched_)});
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                if (generation != generation_) return;
                const QDBusPendingReply<uint, QList<uint>> reply = *call;
                if (reply.isError()) {
                    if (reply.error().type() == QDBusError::AccessDenied &&
                        ++attempts_ < Timings::extensionGreetings)
                        QTimer::singleShot(Timings::extensionGreetingRetry(), this, [this, generation] {
                            if (generation == generation_) greet(generation);
                        });
                    return;
                }
                setAvailable(true);
                emit focusChanged(pid_t(reply.argumentAt<0>()));
                emit windowsChanged(pidSet(reply.argumentAt<1>()));
                if (!keys_.isEmpty()) sendKeys();
            });
}

void DBusExtensionLink::setAvailable(bool available) {
    if (!available) ++generation_;
    if (available == available_) return;
    available_ = available;
    emit availabilityChanged();
}

QDBusPendingCallWatcher* DBusExtensionLink::send(const QString& method, const QVariantList& arguments) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(latin(kService), latin(kPath), latin(kInterface), method);
    call.setArguments(arguments);
    return new QDBusPendingCallWatcher(bus_.asyncCall(call, int(Timings::compositorReply().count())), this);
}

void DBusExtensionLink::watch(const QList<pid_t>& pids) {
    QList<uint> watched;
    for (pid_t pid : pids)
        if (pid > 0) watched.append(uint(pid));
    if (watched == watched_) return;
    watched_ = watched;
    if (available_) sendWatch();
}

void DBusExtensionLink::sendWatch() {
    const quint64 generation = generation_;
    auto* watcher = send(QStringLiteral("Watch"), {QVariant::fromValue(watched_)});
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, generation](QDBusPendingCallWatcher* call) {
                call->deleteLater();
                const QDBusPendingReply<uint, QList<uint>> reply = *call;
                if (generation != generation_ || reply.isError()) return;
                emit focusChanged(pid_t(reply.argumentAt<0>()));
                emit windowsChanged(pidSet(reply.argumentAt<1>()));
            });
}

void DBusExtensionLink::activate(pid_t pid) {
    if (!available_ || pid <= 0) return;
    discard(send(QStringLiteral("Activate"), {uint(pid)}));
}

void DBusExtensionLink::grabKeys(const QMap<QString, QString>& keys) {
    if (keys == keys_) return;
    keys_ = keys;
    if (available_) sendKeys();
}

void DBusExtensionLink::sendKeys() {
    discard(send(QStringLiteral("GrabKeys"), {QVariant::fromValue(keys_)}));
}

void DBusExtensionLink::focusChangedTo(uint pid) {
    if (available_) emit focusChanged(pid_t(pid));
}

void DBusExtensionLink::windowsChangedTo(const QList<uint>& pids) {
    if (available_) emit windowsChanged(pidSet(pids));
}

void DBusExtensionLink::keyPressedWith(const QString& id) {
    if (available_) emit keyPressed(id);
}

}  // namespace varrow::platform::gnome
