#pragma once

#include "platform/PinnedApps.h"

#include <QDBusConnection>
#include <QStringList>

namespace varrow::install {

// The launchers of KDE Plasma's task manager, read and changed through Plasma's own scripting
// interface (org.kde.PlasmaShell.evaluateScript on the session bus), which applies a change at
// once and keeps it in Plasma's own configuration.
class PlasmaLaunchers : public platform::PinnedApps {
    Q_OBJECT
public:
    explicit PlasmaLaunchers(QDBusConnection bus = QDBusConnection::sessionBus(), QObject* parent = nullptr);

    Kind kind() const override { return Kind::TaskManager; }
    bool contains(const QString& appPath) const override;
    void refresh() override;
    void add(const QString& appPath, Done done) override;

    // The scripts, as Plasma runs them: the first prints every task manager's launchers, one per
    // line; the second adds a launcher to the first task manager and prints "added".
    static QString readScript();
    static QString addScript(const QString& launcher);
    // A launcher as the task manager names a launcher entry.
    static QString launcherFor(const QString& entryId);

private:
    void evaluate(const QString& script, std::function<void(Result<QString>)> done);
    void read(std::function<void(Result<QStringList>)> done);

    QDBusConnection bus_;
    QStringList launchers_;
};

}  // namespace varrow::install
