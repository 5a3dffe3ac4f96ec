#include "platform/fake/FakeProcesses.h"

#include <QFileInfo>
#include <QTimer>

namespace varrow::platform::fake {

FakeProcesses::FakeProcesses(QObject* parent) : Processes(parent) {
    self_ = std::make_shared<RunningApplication>(this, 1, 0, QStringLiteral("app.varrow"), QString(),
                                                 QStringLiteral("Varrow"));
    applicationIdFor = [](const QString&) { return QString::fromLatin1(kClaudeApplicationId); };
}

AppHandle FakeProcesses::addApplication(const QString& applicationId, const QString& folder,
                                        const QString& name, const QStringList& arguments, bool notify) {
    const pid_t pid = nextPid_++;
    auto app = std::make_shared<RunningApplication>(this, pid, quint64(pid), applicationId, folder, name);
    apps_.append(app);
    arguments_.insert(pid, arguments);
    if (notify) emit applicationLaunched(app);
    return app;
}

void FakeProcesses::removeApplication(const AppHandle& app, bool notify) {
    if (!app || !apps_.removeOne(app)) return;
    if (front_ == app) front_.reset();
    if (notify) emit applicationExited(app);
}

void FakeProcesses::setFrontmost(const AppHandle& app, bool notify) {
    front_ = app;
    selfActive_ = app && app == self_;
    if (notify) emit frontApplicationChanged(app);
}

void FakeProcesses::setSelfActive(bool active, bool notify) {
    selfActive_ = active;
    if (active) front_ = self_;
    if (active && notify) {
        emit frontApplicationChanged(self_);
        emit selfCameToFront();
    }
}

void FakeProcesses::setArgumentsUnreadable(pid_t pid, bool unreadable) {
    if (unreadable)
        unreadable_.insert(pid);
    else
        unreadable_.remove(pid);
}

void FakeProcesses::completeHeld(int index, const QString& error) {
    if (index < 0 || index >= held_.size()) return;
    auto [request, completion] = held_.takeAt(index);
    complete(request, completion, error);
}

void FakeProcesses::complete(const OpenRequest& request, const LaunchCompletion& completion,
                             const QString& error) {
    if (!error.isEmpty()) {
        completion(Failure{error, {}});
        return;
    }
    const QString name = QFileInfo(request.folder).completeBaseName();
    auto app = addApplication(applicationIdFor(request.folder), request.folder, name,
                              QStringList{request.folder} + request.configuration.arguments);
    completion(app);
}

QList<AppHandle> FakeProcesses::applications() {
    return apps_;
}

AppHandle FakeProcesses::frontApplication() {
    return front_;
}

AppHandle FakeProcesses::thisApplication() {
    return self_;
}

void FakeProcesses::bringToFront(const AppHandle& target) {
    if (target && target == self_) {
        ++selfActivations;
        setSelfActive(true);
        return;
    }
    handedOver.append(target);
    if (target && apps_.contains(target)) setFrontmost(target);
}

void FakeProcesses::launch(const QString& folder, const LaunchOptions& configuration,
                           LaunchCompletion completion) {
    OpenRequest request{folder, configuration};
    openRequests.append(request);
    switch (openMode) {
        case OpenMode::Hold:
            held_.append({request, std::move(completion)});
            return;
        case OpenMode::Fail:
            QTimer::singleShot(0, this, [completion, text = failureText] { completion(Failure{text, {}}); });
            return;
        case OpenMode::Launch:
            break;
    }
    if (!configuration.newInstance) {
        for (const auto& app : apps_) {
            if (app->installationFolder() == folder) {
                QTimer::singleShot(0, this, [completion, app] { completion(app); });
                return;
            }
        }
    }
    // Not by its place among the held ones: launches started together complete in turn.
    QTimer::singleShot(0, this, [this, request, completion] { complete(request, completion, {}); });
}

std::optional<QStringList> FakeProcesses::processArguments(pid_t pid) {
    if (unreadable_.contains(pid) || !find(pid)) return std::nullopt;
    return arguments_.value(pid);
}

std::optional<quint64> FakeProcesses::treeCpuMilliseconds(pid_t pid) {
    if (!cpuMilliseconds.contains(pid)) return std::nullopt;
    return cpuMilliseconds.value(pid);
}

std::optional<quint64> FakeProcesses::treeMemoryBytes(pid_t pid) {
    if (!memoryBytes.contains(pid)) return std::nullopt;
    return memoryBytes.value(pid);
}

bool FakeProcesses::isTerminated(const RunningApplication& app) {
    return !find(app.processIdentifier());
}

bool FakeProcesses::isActive(const RunningApplication& app) {
    if (app.processIdentifier() == self_->processIdentifier()) return selfActive_;
    return front_ && front_->processIdentifier() == app.processIdentifier();
}

bool FakeProcesses::terminate(const RunningApplication& app) {
    terminated.append(app.processIdentifier());
    return find(app.processIdentifier()) != nullptr;
}

bool FakeProcesses::forceTerminate(const RunningApplication& app) {
    forceTerminated.append(app.processIdentifier());
    auto handle = find(app.processIdentifier());
    if (!handle) return false;
    if (forceTerminateKills) removeApplication(handle);
    return true;
}

AppHandle FakeProcesses::find(pid_t pid) const {
    for (const auto& app : apps_)
        if (app->processIdentifier() == pid) return app;
    return nullptr;
}

}  // namespace varrow::platform::fake
