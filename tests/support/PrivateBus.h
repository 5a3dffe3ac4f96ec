#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>

namespace varrow::test {

// A private session bus (a real dbus-daemon) for the length of a test.
class PrivateBus {
public:
    PrivateBus() {
        daemon_.start("dbus-daemon", {"--session", "--nofork", "--print-address=1"});
        if (daemon_.waitForReadyRead(10000)) address = QString::fromUtf8(daemon_.readLine()).trimmed();
    }
    ~PrivateBus() {
        QDBusConnection::disconnectFromBus("private");
        daemon_.kill();
        daemon_.waitForFinished();
    }
    QDBusConnection connection() { return QDBusConnection::connectToBus(address, "private"); }
    QProcessEnvironment environment() const {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("DBUS_SESSION_BUS_ADDRESS", address);
        return env;
    }
    QString address;

private:
    QProcess daemon_;
};

}  // namespace varrow::test
