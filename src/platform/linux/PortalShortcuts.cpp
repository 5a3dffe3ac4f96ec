#include "platform/linux/PortalShortcuts.h"

#include "platform/SystemLog.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QSet>

namespace varrow::platform::linux_ {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
// KDE Plasma names the shortcuts' group in its settings after the session's token.
const QString kSessionToken = QStringLiteral("varrow");

// One shortcut as the portal passes it: (sa{sv}).
struct PortalShortcut {
    QString id;
    QVariantMap properties;
};

QDBusArgument& operator<<(QDBusArgument& argument, const PortalShortcut& shortcut) {
    argument.beginStructure();
    argument << shortcut.id << shortcut.properties;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, PortalShortcut& shortcut) {
    argument.beginStructure();
    argument >> shortcut.id >> shortcut.properties;
    argument.endStructure();
    return argument;
}

}  // namespace

}  // namespace varrow::platform::linux_

Q_DECLARE_METATYPE(varrow::platform::linux_::PortalShortcut)

namespace varrow::platform::linux_ {

namespace {

QSet<QString> shortcutIds(const QVariant& shortcuts) {
    QSet<QString> ids;
    if (!shortcuts.canConvert<QDBusArgument>()) return ids;
    for (const PortalShortcut& shortcut : qdbus_cast<QList<PortalShortcut>>(shortcuts))
        ids.insert(shortcut.id);
    return ids;
}

}  // namespace

PortalShortcuts::PortalShortcuts(QDBusConnection bus, QObject* parent) : DesktopShortcuts(parent), bus_(bus) {
    qDBusRegisterMetaType<PortalShortcut>();
    qDBusRegisterMetaType<QList<PortalShortcut>>();
}

PortalShortcuts::~PortalShortcuts() {
    if (!session_.isEmpty()) closeSession();
}

QString PortalShortcuts::trigger(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    // The portal names keys as XKB does; only keys this program binds need a name.
    QString name;
    if (key == Qt::Key_QuoteLeft)
        name = QStringLiteral("grave");
    else if ((key >= Qt::Key_A && key <= Qt::Key_Z) || (key >= Qt::Key_0 && key <= Qt::Key_9))
        name = QChar(key).toLower();
    else if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        name = QStringLiteral("F%1").arg(key - Qt::Key_F1 + 1);
    if (name.isEmpty()) return {};
    QStringList parts;
    if (modifiers & Qt::ControlModifier) parts << QStringLiteral("CTRL");
    if (modifiers & Qt::AltModifier) parts << QStringLiteral("ALT");
    if (modifiers & Qt::ShiftModifier) parts << QStringLiteral("SHIFT");
    if (modifiers & Qt::MetaModifier) parts << QStringLiteral("LOGO");
    parts << name;
    return parts.join(QLatin1Char('+'));
}

void PortalShortcuts::bind(const QList<Shortcut>& shortcuts) {
    wanted_ = shortcuts;
    switch (state_) {
        case State::Idle:
            if (wanted_.isEmpty()) break;
            if (available_)
                createSession();
            else
                probe();
            break;
        case State::Open:
            if (wanted_.isEmpty())
                closeSession();
            else
                bindIfMissing({});
            break;
        case State::Probing:
        case State::Opening:  // the wanted set is read when the session opens
        case State::Unavailable:
            break;
    }
}

void PortalShortcuts::probe() {
    state_ = State::Probing;
    QDBusMessage get = QDBusMessage::createMethodCall(
        kService, kPath, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"));
    get.setArguments({kInterface, QStringLiteral("version")});
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(get), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        if (call->isError()) {
            SystemLog::debug(QStringLiteral("no desktop shortcuts: %1").arg(call->error().message()));
            state_ = State::Unavailable;
            return;
        }
        setAvailable(true);
        bus_.connect(kService, QString(), QStringLiteral("org.freedesktop.portal.Request"),
                     QStringLiteral("Response"), this, SLOT(response(uint, QVariantMap)));
        bus_.connect(kService, kPath, kInterface, QStringLiteral("Activated"), this,
                     SLOT(activatedBy(QDBusObjectPath, QString, qulonglong, QVariantMap)));
        if (wanted_.isEmpty())
            state_ = State::Idle;
        else
            createSession();
    });
}

void PortalShortcuts::createSession() {
    state_ = State::Opening;
    // The shortcuts go along too: KDE Plasma 5.27 takes them only here.
    request(QStringLiteral("CreateSession"), {},
            {{QStringLiteral("session_handle_token"), kSessionToken},
             {QStringLiteral("shortcuts"), shortcutsArgument()}},
            [this](uint code, const QVariantMap& results) {
                session_ = results.value(QStringLiteral("session_handle")).toString();
                if (code != 0 || session_.isEmpty()) {
                    SystemLog::write(
                        QStringLiteral("The desktop did not give Varrow its shortcuts (%1)").arg(code));
                    session_.clear();
                    state_ = State::Unavailable;
                    setAvailable(false);
                    return;
                }
                state_ = State::Open;
                if (wanted_.isEmpty())
                    closeSession();
                else
                    bindIfMissing(results);
            });
}

void PortalShortcuts::bindIfMissing(const QVariantMap& results) {
    QSet<QString> wantedIds;
    for (const Shortcut& shortcut : std::as_const(wanted_)) wantedIds.insert(shortcut.id);
    if (results.contains(QStringLiteral("shortcuts"))) {
        if (shortcutIds(results.value(QStringLiteral("shortcuts"))).contains(wantedIds)) return;
    }
    // What the desktop keeps for this session from before, then only what is missing is bound.
    request(
        QStringLiteral("ListShortcuts"), {QVariant::fromValue(QDBusObjectPath(session_))}, {},
        [this, wantedIds](uint code, const QVariantMap& listed) {
            if (state_ != State::Open) return;
            if (code == 0 && shortcutIds(listed.value(QStringLiteral("shortcuts"))).contains(wantedIds))
                return;
            request(
                QStringLiteral("BindShortcuts"),
                {QVariant::fromValue(QDBusObjectPath(session_)), shortcutsArgument(), QString()}, {},
                [](uint bound, const QVariantMap&) {
                    if (bound != 0)
                        SystemLog::write(
                            QStringLiteral("The desktop did not bind Varrow's shortcuts (%1)").arg(bound));
                });
        });
}

void PortalShortcuts::closeSession() {
    bus_.asyncCall(QDBusMessage::createMethodCall(
        kService, session_, QStringLiteral("org.freedesktop.portal.Session"), QStringLiteral("Close")));
    session_.clear();
    state_ = State::Idle;
}

void PortalShortcuts::request(const QString& method, QList<QVariant> arguments, QVariantMap options,
                              std::function<void(uint, const QVariantMap&)> answered) {
    const QString token = QStringLiteral("varrow%1").arg(++requests_);
    options.insert(QStringLiteral("handle_token"), token);
    QString sender = bus_.baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    // The portal answers on this path; knowing it before the call leaves no answer unheard.
    requestPath_ = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
    answered_ = std::move(answered);
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    arguments.append(options);
    call.setArguments(arguments);
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, path = requestPath_](QDBusPendingCallWatcher* reply) {
                reply->deleteLater();
                if (path != requestPath_) return;
                if (reply->isError()) {
                    SystemLog::debug(QStringLiteral("desktop shortcuts: %1").arg(reply->error().message()));
                    response(2, {});
                    return;
                }
                // A portal older than handle tokens answers on a path of its own choosing.
                const QString given = QDBusPendingReply<QDBusObjectPath>(*reply).value().path();
                if (!given.isEmpty()) requestPath_ = given;
            });
}

void PortalShortcuts::response(uint code, const QVariantMap& results) {
    if (calledFromDBus() && message().path() != requestPath_) return;
    requestPath_.clear();
    if (auto answered = std::exchange(answered_, nullptr)) answered(code, results);
}

void PortalShortcuts::activatedBy(const QDBusObjectPath& session, const QString& id, qulonglong,
                                  const QVariantMap&) {
    if (session.path() != session_ || session_.isEmpty()) return;
    emit activated(id);
}

void PortalShortcuts::setAvailable(bool available) {
    if (available == available_) return;
    available_ = available;
    emit availabilityChanged();
}

QVariant PortalShortcuts::shortcutsArgument() const {
    QList<PortalShortcut> shortcuts;
    for (const Shortcut& shortcut : wanted_) {
        QVariantMap properties{{QStringLiteral("description"), shortcut.description}};
        const QString preferred = trigger(shortcut.key, shortcut.modifiers);
        if (!preferred.isEmpty()) properties.insert(QStringLiteral("preferred_trigger"), preferred);
        shortcuts.append({shortcut.id, properties});
    }
    return QVariant::fromValue(shortcuts);
}

}  // namespace varrow::platform::linux_
