#pragma once

#include "platform/Processes.h"

#include <QHash>
#include <QSet>

namespace varrow::platform::fake {

// A process service whose processes, front application and launches are under a test's control.
class FakeProcesses : public Processes {
    Q_OBJECT
public:
    static constexpr auto kClaudeApplicationId = "com.anthropic.claudefordesktop";

    struct OpenRequest {
        QString folder;
        LaunchOptions configuration;
    };
    enum class OpenMode {
        Launch,  // start a new fake process (or reopen a running one) and complete with it
        Fail,    // complete with failureText
        Hold,    // record only; the test calls completeHeld()
    };

    explicit FakeProcesses(QObject* parent = nullptr);

    // Test controls.
    AppHandle addApplication(const QString& applicationId, const QString& folder, const QString& name,
                             const QStringList& arguments = {}, bool notify = true);
    void removeApplication(const AppHandle& app, bool notify = true);
    void setFrontmost(const AppHandle& app, bool notify = true);
    void setSelfActive(bool active, bool notify = true);
    void setArgumentsUnreadable(pid_t pid, bool unreadable = true);
    void completeHeld(int index, const QString& error = {});
    void complete(const OpenRequest& request, const LaunchCompletion& completion, const QString& error);

    OpenMode openMode = OpenMode::Launch;
    QString failureText = QStringLiteral("The application could not be launched.");
    // The application id given to processes started by launch, by installation folder.
    std::function<QString(const QString&)> applicationIdFor;
    QList<OpenRequest> openRequests;
    QList<pid_t> terminated;
    QList<pid_t> forceTerminated;
    QList<AppHandle> handedOver;  // other applications brought to the front
    int selfActivations = 0;
    // What treeCpuMilliseconds and treeMemoryBytes report, by process id.
    QHash<pid_t, quint64> cpuMilliseconds;
    QHash<pid_t, quint64> memoryBytes;
    // When set, forceTerminate removes the process at once (it "dies" immediately).
    bool forceTerminateKills = true;

    // Processes
    QList<AppHandle> applications() override;
    AppHandle frontApplication() override;
    AppHandle thisApplication() override;
    void bringToFront(const AppHandle& target) override;
    void launch(const QString& folder, const LaunchOptions& configuration,
                LaunchCompletion completion) override;
    std::optional<QStringList> processArguments(pid_t pid) override;
    std::optional<quint64> treeCpuMilliseconds(pid_t pid) override;
    std::optional<quint64> treeMemoryBytes(pid_t pid) override;
    bool isTerminated(const RunningApplication& app) override;
    bool isActive(const RunningApplication& app) override;
    bool terminate(const RunningApplication& app) override;
    bool forceTerminate(const RunningApplication& app) override;

private:
    AppHandle find(pid_t pid) const;

    QList<AppHandle> apps_;
    QHash<pid_t, QStringList> arguments_;
    QSet<pid_t> unreadable_;
    AppHandle self_;
    AppHandle front_;
    bool selfActive_ = false;
    pid_t nextPid_ = 1000;
    QList<std::pair<OpenRequest, LaunchCompletion>> held_;
};

}  // namespace varrow::platform::fake
