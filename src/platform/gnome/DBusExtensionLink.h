#pragma once

#include "platform/gnome/ExtensionLink.h"

#include <QDBusConnection>
#include <QDBusServiceWatcher>

class QDBusPendingCallWatcher;

namespace varrow::platform::gnome {

// The link over the session bus. This program owns Varrow's bus name, which the extension serves
// alone; every call is asynchronous.
class DBusExtensionLink : public ExtensionLink {
    Q_OBJECT
public:
    explicit DBusExtensionLink(QObject* parent = nullptr);

    bool isAvailable() const override { return available_; }
    void watch(const QList<pid_t>& pids) override;
    void activate(pid_t pid) override;
    void grabKeys(const QMap<QString, QString>& keys) override;

    // The names on the bus: Varrow's own, and the extension's service.
    static QString varrowName();
    static QString serviceName();

private slots:
    void focusChangedTo(uint pid);
    void windowsChangedTo(const QList<uint>& pids);
    void keyPressedWith(const QString& id);

private:
    void requestName();
    void handshake();
    void greet(quint64 generation);
    void sendWatch();
    void sendKeys();
    void setAvailable(bool available);
    QDBusPendingCallWatcher* send(const QString& method, const QVariantList& arguments);

    QDBusConnection bus_;
    QDBusServiceWatcher serviceWatcher_;
    bool ownsName_ = false;
    bool available_ = false;
    int attempts_ = 0;
    quint64 generation_ = 0;  // the extension's current appearance; older replies are dropped
    QList<uint> watched_;
    QMap<QString, QString> keys_;
};

}  // namespace varrow::platform::gnome
