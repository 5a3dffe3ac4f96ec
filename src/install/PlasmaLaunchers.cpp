#include "install/PlasmaLaunchers.h"

#include "install/LauncherEntries.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QJsonArray>
#include <QJsonDocument>
#include <QUrl>

namespace varrow::install {

namespace {
// Both task managers Plasma offers keep their launchers in the same place.
constexpr auto kTaskManagers =
    R"(function taskManagers() {
  var found = [];
  panels().forEach(function (panel) {
    panel.widgets().forEach(function (widget) {
      if (widget.type === "org.kde.plasma.taskmanager" || widget.type === "org.kde.plasma.icontasks")
        found.push(widget);
    });
  });
  return found;
}
function launchersOf(widget) {
  widget.currentConfigGroup = ["General"];
  var value = widget.readConfig("launchers", []);
  if (typeof value === "string") return value.length ? value.split(",") : [];
  return value;
}
)";
}  // namespace

PlasmaLaunchers::PlasmaLaunchers(QDBusConnection bus, QObject* parent)
    : PinnedApps(parent), bus_(std::move(bus)) {}

QString PlasmaLaunchers::launcherFor(const QString& entryId) {
    return QStringLiteral("applications:") + entryId;
}

QString PlasmaLaunchers::readScript() {
    return QLatin1String(kTaskManagers) + QStringLiteral(
                                              "taskManagers().forEach(function (widget) { "
                                              "print(launchersOf(widget).join(\"\\n\") + \"\\n\"); });\n");
}

QString PlasmaLaunchers::addScript(const QString& launcher) {
    // The launcher goes in as JSON text, so no name can end the string early.
    const QString quoted =
        QString::fromUtf8(QJsonDocument(QJsonArray{launcher}).toJson(QJsonDocument::Compact));
    return QLatin1String(kTaskManagers) +
           QStringLiteral(
               "var launcher = %1[0];\n"
               "var widget = taskManagers()[0];\n"
               "if (widget) {\n"
               "  var launchers = launchersOf(widget);\n"
               "  if (launchers.indexOf(launcher) < 0) launchers.push(launcher);\n"
               "  widget.writeConfig(\"launchers\", launchers);\n"
               "  widget.reloadConfig();\n"
               "  print(\"added\");\n"
               "}\n")
               .arg(quoted);
}

void PlasmaLaunchers::evaluate(const QString& script, std::function<void(Result<QString>)> done) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.kde.plasmashell"), QStringLiteral("/PlasmaShell"),
        QStringLiteral("org.kde.PlasmaShell"), QStringLiteral("evaluateScript"));
    call << script;
    auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [done](QDBusPendingCallWatcher* finished) {
        finished->deleteLater();
        const QDBusPendingReply<QString> reply = *finished;
        if (reply.isError()) {
            done(Failure{tr("Plasma's panel could not be reached."), reply.error().message()});
            return;
        }
        done(reply.value());
    });
}

void PlasmaLaunchers::read(std::function<void(Result<QStringList>)> done) {
    evaluate(readScript(), [this, done](Result<QString> out) {
        if (!out) return done(out.failure());
        const QStringList launchers = out.value().split(u'\n', Qt::SkipEmptyParts);
        if (launchers != launchers_) {
            launchers_ = launchers;
            emit changed();
        }
        done(launchers);
    });
}

void PlasmaLaunchers::refresh() {
    read([](const Result<QStringList>&) {});
}

bool PlasmaLaunchers::contains(const QString& appPath) const {
    const QString id = LauncherEntries::entryId(appPath);
    return !id.isEmpty() &&
           (launchers_.contains(launcherFor(id)) ||
            launchers_.contains(QUrl::fromLocalFile(LauncherEntries::entryPath(appPath)).toString()));
}

void PlasmaLaunchers::add(const QString& appPath, Done done) {
    const QString id = LauncherEntries::entryId(appPath);
    if (id.isEmpty()) return done(Failure{tr("This copy of Claude has no launcher entry yet."), appPath});
    const QString launcher = launcherFor(id);
    evaluate(addScript(launcher), [this, launcher, done](Result<QString> out) {
        if (!out) return done(out.failure());
        if (!out.value().contains(QLatin1String("added")))
            return done(
                Failure{tr("Plasma's panel has no task manager to keep it in."), out.value().trimmed()});
        if (!launchers_.contains(launcher)) {
            launchers_.append(launcher);
            emit changed();
        }
        done({});
    });
}

}  // namespace varrow::install
