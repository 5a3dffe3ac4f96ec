#include "platform/kde/KWinWindowServer.h"

#include "platform/SystemLog.h"
#include "platform/Timings.h"

#include <unistd.h>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QTemporaryDir>

namespace varrow::platform::kde {

namespace {

constexpr auto kKWin = "org.kde.KWin";
constexpr auto kScripting = "/Scripting";
constexpr auto kScriptingInterface = "org.kde.kwin.Scripting";
constexpr auto kReceiverPath = "/KWinWindows";

QDBusMessage scriptingCall(const char* method, const QVariantList& arguments) {
    QDBusMessage call =
        QDBusMessage::createMethodCall(QLatin1String(kKWin), QLatin1String(kScripting),
                                       QLatin1String(kScriptingInterface), QLatin1String(method));
    call.setArguments(arguments);
    return call;
}

// One call to KWin's scripting interface, answered before this returns: only at start-up, which
// must know whether KWin takes scripts, and at exit. An invalid message when it failed.
QDBusMessage callScripting(const QDBusConnection& bus, const char* method, const QVariantList& arguments) {
    return bus.call(scriptingCall(method, arguments), QDBus::Block, int(Timings::compositorReply().count()));
}

QString pluginName(const char* what) {
    return QStringLiteral("varrow-%1-%2").arg(QLatin1String(what)).arg(::getpid());
}

}  // namespace

QString KWinWindowServer::reportingScript(const QString& service) {
    // Plasma 6 renamed the client calls to window ones; either is taken. Numbers travel as text,
    // so the receiver's signature does not depend on how the engine converts them.
    return QStringLiteral(R"js(
const service = "%1", path = "%2", iface = "org.varrow.KWinWindows";
function active() { return workspace.activeWindow !== undefined ? workspace.activeWindow : workspace.activeClient; }
function all() { return workspace.windowList ? workspace.windowList() : workspace.clientList(); }
function report() { const w = active(); callDBus(service, path, iface, "activated", w ? String(w.pid) : "0"); }
function reportWindows(gone) {
    const pids = [];
    for (const w of all()) if (w !== gone && w.normalWindow && w.pid > 0) pids.push(w.pid);
    callDBus(service, path, iface, "windows", pids.join(" "));
}
(workspace.windowActivated || workspace.clientActivated).connect(report);
(workspace.windowAdded || workspace.clientAdded).connect(function () { reportWindows(null); });
(workspace.windowRemoved || workspace.clientRemoved).connect(reportWindows);
reportWindows(null);
report();
)js")
        .arg(service, QLatin1String(kReceiverPath));
}

QString KWinWindowServer::activationScript(pid_t pid) {
    // The process's top normal window, from the top of the stacking order down (Plasma 5 scripts
    // see no stacking order: the newest window there).
    return QStringLiteral(R"js(
const pid = %1;
const stack = workspace.stackingOrder !== undefined ? workspace.stackingOrder
            : (workspace.windowList ? workspace.windowList() : workspace.clientList());
for (let i = stack.length - 1; i >= 0; --i) {
    const w = stack[i];
    if (w.pid !== pid || !w.normalWindow) continue;
    if (workspace.activeWindow !== undefined) workspace.activeWindow = w; else workspace.activeClient = w;
    break;
}
)js")
        .arg(pid);
}

std::unique_ptr<WindowServer> KWinWindowServer::over(std::unique_ptr<WindowServer> xwayland) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected() || !bus.interface() ||
        !bus.interface()->isServiceRegistered(QLatin1String(kKWin)).value())
        return xwayland;
    std::unique_ptr<KWinWindowServer> self(new KWinWindowServer(std::move(xwayland)));
    self->kwin_ = bus.interface()->serviceOwner(QLatin1String(kKWin)).value();
    if (self->scripts_->isValid() && bus.registerObject(QLatin1String(kReceiverPath), self.get(),
                                                        QDBusConnection::ExportScriptableSlots)) {
        if (self->loadScript(reportingScript(bus.baseService()), pluginName("windows"))) return self;
        bus.unregisterObject(QLatin1String(kReceiverPath));
    }
    return std::move(self->xwayland_);
}

KWinWindowServer::KWinWindowServer(std::unique_ptr<WindowServer> xwayland)
    : xwayland_(std::move(xwayland)),
      bus_(QDBusConnection::sessionBus()),
      scripts_(std::make_unique<QTemporaryDir>()) {
    connect(xwayland_.get(), &WindowServer::activeProcessChanged, this, [this] {
        if (!reported_) emit activeProcessChanged();
    });
}

KWinWindowServer::~KWinWindowServer() {
    unloadScript(pluginName("windows"));
    if (!activation_.isEmpty()) unloadScript(activation_);
    bus_.unregisterObject(QLatin1String(kReceiverPath));
}

QString KWinWindowServer::writeScript(const QString& text) {
    QFile file(scripts_->filePath(QStringLiteral("script-%1.js").arg(++scriptCount_)));
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0) return {};
    return file.fileName();
}

bool KWinWindowServer::loadScript(const QString& text, const QString& name) {
    // KWin refuses a second script under a loaded name.
    unloadScript(name);
    const QString file = writeScript(text);
    if (file.isEmpty()) return false;
    const QDBusMessage loaded = callScripting(bus_, "loadScript", {file, name});
    if (loaded.type() != QDBusMessage::ReplyMessage || loaded.arguments().value(0).toInt() < 0) return false;
    return callScripting(bus_, "start", {}).type() == QDBusMessage::ReplyMessage;
}

void KWinWindowServer::unloadScript(const QString& name) {
    callScripting(bus_, "unloadScript", {name});
}

bool KWinWindowServer::fromKWin() const {
    // Any program of the session can call this object; only KWin's word counts.
    return calledFromDBus() && message().service() == kwin_;
}

void KWinWindowServer::activated(const QString& pid) {
    if (!fromKWin()) return;
    reported_ = true;
    const pid_t now = pid.toInt();
    if (now == active_) return;
    active_ = now;
    emit activeProcessChanged();
}

void KWinWindowServer::windows(const QString& pids) {
    if (!fromKWin()) return;
    withWindows_.clear();
    for (const QString& pid : pids.split(u' ', Qt::SkipEmptyParts)) withWindows_.insert(pid.toInt());
}

std::optional<pid_t> KWinWindowServer::activeProcess() {
    if (!reported_) return xwayland_->activeProcess();
    return active_ > 0 ? std::optional<pid_t>(active_) : std::nullopt;
}

std::optional<quint32> KWinWindowServer::frontWindow(pid_t pid) {
    if (pid <= 0) return std::nullopt;
    // Only whether there is one matters here: the pid stands for its window.
    if (withWindows_.contains(pid)) return quint32(pid);
    return xwayland_->frontWindow(pid);
}

bool KWinWindowServer::makeFrontmost(pid_t pid) {
    if (pid <= 0) return false;
    const QString file = writeScript(activationScript(pid));
    if (file.isEmpty()) return false;
    // Nothing waits for KWin: the last activation's script goes, this one loads and runs, in the
    // order of the calls. KWin lets a name go only later, so each activation has a name of its
    // own. Whether it worked shows in the check that follows.
    if (!activation_.isEmpty()) bus_.send(scriptingCall("unloadScript", {activation_}));
    activation_ = pluginName("activate") + QStringLiteral("-%1").arg(scriptCount_);
    auto* load =
        new QDBusPendingCallWatcher(bus_.asyncCall(scriptingCall("loadScript", {file, activation_})), this);
    connect(load, &QDBusPendingCallWatcher::finished, this, [](QDBusPendingCallWatcher* call) {
        call->deleteLater();
        const QDBusPendingReply<int> loaded = *call;
        if (loaded.isValid() && loaded.value() >= 0) return;
        // Only logged, so in English as every system-log line.
        SystemLog::write(QStringLiteral("Varrow: KWin did not load the activation script: ") +
                         (loaded.isError() ? loaded.error().message() : QStringLiteral("refused")));
    });
    bus_.send(scriptingCall("start", {}));
    return true;
}

void KWinWindowServer::makeOverlay(QWindow* window) {
    xwayland_->makeOverlay(window);
}

}  // namespace varrow::platform::kde
