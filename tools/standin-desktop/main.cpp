// Stand-ins for two desktop services on the session bus, for tests on a private bus:
//   standin-desktop watcher LOG       a StatusNotifierWatcher with one host, as a tray host runs;
//                                     writes "item SERVICE PID" for each item that registers
//   standin-desktop file-manager LOG  org.freedesktop.FileManager1; writes "ShowItems URI…" etc.
//   standin-desktop plasma-shell LOG  org.kde.PlasmaShell.evaluateScript over a model of Plasma's
//                                     scripting objects (panels, widgets and their configuration),
//                                     kept in LOG.json; writes "evaluated" after each script.
// Each line is flushed at once; the program runs until it is killed.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusContext>
#include <QDBusMessage>
#include <QFile>
#include <QJSEngine>
#include <QStringList>
#include <QTextStream>
#include <cstdio>

namespace {

class Log {
public:
    explicit Log(const QString& path) : file_(path) {
        if (!file_.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::Text)) {
            std::fprintf(stderr, "standin-desktop: cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
    }
    void line(const QString& text) {
        file_.write(text.toUtf8() + '\n');
        file_.flush();
    }

private:
    QFile file_;
};

class Watcher : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierWatcher")
    Q_PROPERTY(QStringList RegisteredStatusNotifierItems READ items)
    Q_PROPERTY(bool IsStatusNotifierHostRegistered READ hostRegistered)
    Q_PROPERTY(int ProtocolVersion READ protocolVersion)
public:
    explicit Watcher(Log* log) : log_(log) {}
    QStringList items() const { return items_; }
    bool hostRegistered() const { return true; }
    int protocolVersion() const { return 0; }

public slots:
    Q_SCRIPTABLE void RegisterStatusNotifierItem(const QString& service) {
        // An item may name its object path instead of a service; the sender is the service then.
        const QString sender = message().service();
        const QString item = service.startsWith(u'/') ? sender + service : service;
        items_.append(item);
        const uint pid = connection().interface()->servicePid(sender).value();
        log_->line(QStringLiteral("item %1 %2").arg(item).arg(pid));
        emit StatusNotifierItemRegistered(item);
    }
    Q_SCRIPTABLE void RegisterStatusNotifierHost(const QString&) {}

signals:
    Q_SCRIPTABLE void StatusNotifierItemRegistered(const QString& service);
    Q_SCRIPTABLE void StatusNotifierItemUnregistered(const QString& service);
    Q_SCRIPTABLE void StatusNotifierHostRegistered();

private:
    Log* log_;
    QStringList items_;
};

class FileManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    explicit FileManager(Log* log) : log_(log) {}

public slots:
    Q_SCRIPTABLE void ShowItems(const QStringList& uris, const QString&) { record("ShowItems", uris); }
    Q_SCRIPTABLE void ShowFolders(const QStringList& uris, const QString&) { record("ShowFolders", uris); }
    Q_SCRIPTABLE void ShowItemProperties(const QStringList& uris, const QString&) {
        record("ShowItemProperties", uris);
    }

private:
    void record(const char* call, const QStringList& uris) {
        log_->line(QLatin1String(call) + u' ' + uris.join(u' '));
    }
    Log* log_;
};

// What a script sees of Plasma: panels() with their widgets, each with its type and its
// configuration groups (readConfig/writeConfig in the current group), and print().
constexpr auto kPlasmaModel = R"(
var __out = [];
function print(text) { __out.push(String(text)); }
function panels() {
  return __state.panels.map(function (panel) {
    return { widgets: function () {
      return panel.widgets.map(function (w) {
        return {
          type: w.type, currentConfigGroup: [],
          readConfig: function (key, def) {
            var group = w.config[this.currentConfigGroup.join("/")] || {};
            if (!(key in group)) return def;
            var value = group[key];
            if (Array.isArray(def) && typeof value === "string") return value.length ? value.split(",") : [];
            return value;
          },
          writeConfig: function (key, value) {
            var name = this.currentConfigGroup.join("/");
            (w.config[name] = w.config[name] || {})[key] = value;
          },
          reloadConfig: function () {}
        };
      });
    } };
  });
}
)";

class PlasmaShell : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.kde.PlasmaShell")
public:
    PlasmaShell(Log* log, QString state) : log_(log), state_(std::move(state)) {}

public slots:
    Q_SCRIPTABLE QString evaluateScript(const QString& script) {
        QFile file(state_);
        const QString state = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
        file.close();
        QJSEngine engine;
        engine.evaluate(QStringLiteral("var __state = ") +
                        (state.isEmpty() ? QStringLiteral("{\"panels\": []}") : state) + u';');
        engine.evaluate(QLatin1String(kPlasmaModel));
        const QJSValue result = engine.evaluate(script);
        if (result.isError()) log_->line(QStringLiteral("error ") + result.toString());
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(engine.evaluate(QStringLiteral("JSON.stringify(__state)")).toString().toUtf8());
        log_->line(QStringLiteral("evaluated"));
        return engine.evaluate(QStringLiteral("__out.join(\"\\n\")")).toString();
    }

private:
    Log* log_;
    QString state_;
};

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 ||
        (args[1] != u"watcher" && args[1] != u"file-manager" && args[1] != u"plasma-shell")) {
        std::fprintf(stderr, "usage: standin-desktop watcher|file-manager|plasma-shell LOG\n");
        return 2;
    }
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        std::fprintf(stderr, "standin-desktop: no session bus\n");
        return 1;
    }
    Log log(args[2]);
    QObject* service = nullptr;
    QString name, path;
    if (args[1] == u"watcher") {
        service = new Watcher(&log);
        name = QStringLiteral("org.kde.StatusNotifierWatcher");
        path = QStringLiteral("/StatusNotifierWatcher");
    } else if (args[1] == u"plasma-shell") {
        service = new PlasmaShell(&log, args[2] + QStringLiteral(".json"));
        name = QStringLiteral("org.kde.plasmashell");
        path = QStringLiteral("/PlasmaShell");
    } else {
        service = new FileManager(&log);
        name = QStringLiteral("org.freedesktop.FileManager1");
        path = QStringLiteral("/org/freedesktop/FileManager1");
    }
    const auto exported = QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals |
                          QDBusConnection::ExportAllProperties;
    if (!bus.registerObject(path, service, exported) || !bus.registerService(name)) {
        std::fprintf(stderr, "standin-desktop: cannot register %s\n", qPrintable(name));
        return 1;
    }
    // The host is there as soon as the watcher is, as with a panel that is both.
    if (args[1] == u"watcher")
        bus.send(QDBusMessage::createSignal(path, name, QStringLiteral("StatusNotifierHostRegistered")));
    log.line(QStringLiteral("ready"));
    return app.exec();
}

#include "main.moc"
