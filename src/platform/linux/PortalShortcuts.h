#pragma once

#include "platform/DesktopShortcuts.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QStringList>
#include <QVariantMap>
#include <functional>

namespace varrow::platform::linux_ {

// The desktop's shortcuts through the desktop portal's GlobalShortcuts service (KDE Plasma,
// GNOME 48 and later). A session is created when shortcuts are first wanted and closed when none
// are; shortcuts the desktop already keeps for the session are not bound again, because binding
// opens the desktop's shortcut settings or asks the user. No portal, or one without the service,
// leaves it unavailable and silent.
class PortalShortcuts : public DesktopShortcuts, protected QDBusContext {
    Q_OBJECT
public:
    explicit PortalShortcuts(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);
    ~PortalShortcuts() override;

    void bind(const QList<Shortcut>& shortcuts) override;
    bool isAvailable() const override { return available_; }

    // The trigger the portal is asked for: "CTRL+SHIFT+grave"; empty for a key it has no name for.
    static QString trigger(Qt::Key key, Qt::KeyboardModifiers modifiers);

private slots:
    // The portal's answers and presses, connected by name: QtDBus has no typed signal connection.
    void response(uint code, const QVariantMap& results);
    void activatedBy(const QDBusObjectPath& session, const QString& id, qulonglong timestamp,
                     const QVariantMap& options);

private:
    enum class State { Idle, Probing, Opening, Open, Unavailable };

    void probe();
    void createSession();
    void bindIfMissing(const QVariantMap& results);
    void closeSession();
    // Calls a portal method that answers through a Request object's Response signal.
    void request(const QString& method, QList<QVariant> arguments, QVariantMap options,
                 std::function<void(uint, const QVariantMap&)> answered);
    void setAvailable(bool available);
    QVariant shortcutsArgument() const;

    QDBusConnection bus_;
    State state_ = State::Idle;
    bool available_ = false;
    QList<Shortcut> wanted_;
    QString session_;      // the session's object path, once open
    QString requestPath_;  // the Request whose Response is awaited
    std::function<void(uint, const QVariantMap&)> answered_;
    int requests_ = 0;
};

}  // namespace varrow::platform::linux_
