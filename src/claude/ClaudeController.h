#pragma once

#include "copies/AppCloner.h"
#include "model/ProfileStore.h"
#include "platform/Result.h"
#include "platform/RunningApplication.h"
#include "platform/ServiceRefs.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QUrl>
#include <QUuid>
#include <functional>
#include <optional>

namespace varrow::claude {

using platform::AppHandle;

// The one object that knows where Claude is, which Claude process belongs to which account,
// and how to start, focus and cycle them. Main thread only.
class ClaudeController : public QObject {
    Q_OBJECT
public:
    // Claude's application id, the same in every layout it is installed in.
    static constexpr auto kApplicationId = "com.anthropic.claudefordesktop";

    // Uses the process service, the window server, the installations and the pinned apps.
    ClaudeController(model::ProfileStore* store, const platform::ServiceRefs& services,
                     QObject* parent = nullptr);

    // Published state.
    std::optional<QString> claudeURL() const { return claudeURL_; }
    const QHash<QUuid, AppHandle>& running() const { return running_; }
    const QSet<QUuid>& opening() const { return opening_; }
    std::optional<QUuid> frontProfileID() const { return frontProfileID_; }
    bool claudeIsFront() const { return claudeIsFront_; }
    std::optional<QString> lastError() const { return lastError_; }
    // Accounts Varrow quit after they idled in the background: closed, shown as asleep, opened
    // again as any other. An account leaves the set when its Claude runs again.
    const QSet<QUuid>& asleep() const { return asleep_; }
    // Quits the account's Claude as "Quit" does; once it has gone, the account is asleep.
    void putToSleep(const model::Profile& profile);
    void setLastError(const std::optional<QString>& message);

    model::ProfileStore* store() const { return store_; }
    static QUrl downloadURL();

    void locateClaude();
    void open(const model::Profile& profile);
    void keepInDock(const model::Profile& profile);
    void refresh();
    void updateFront();
    void focus(const AppHandle& app);
    void cycle(bool backwards);
    bool isPinned(const model::Profile& profile) const;
    // One line per account, "Name: running=true app=Claude Work path=Claude Work.app", joined with
    // line feeds and no line feed after the last: what "varrow list" and scripted runs read.
    QString statusReport() const;

    // What every Claude Varrow starts is given for the desktop session: on a Wayland desktop, and
    // unless the user turned it off, it runs as an X11 client so its windows can be switched.
    QStringList displayArguments() const;
    // A Claude running as a native Wayland client (started outside Varrow): listed and quit like
    // any other, but its windows are out of reach for switching.
    bool isNativeWaylandClient(const AppHandle& app) const;

    // Tracking helpers (public for the views, the hooks and tests).
    QList<AppHandle> claudeApps() const;
    std::optional<model::Profile> profile(const AppHandle& app) const;
    std::optional<QString> dataDir(const AppHandle& app) const;
    bool isCopy(const AppHandle& app) const;
    std::optional<model::Profile> copyOwner(const AppHandle& app) const;
    bool sharesPathWithAnotherClaude(const AppHandle& app) const;
    void catchWrongAccount(const AppHandle& app);
    void syncCopies(const QList<model::Profile>& profiles);

    // How an account's copy is made ready: AppCloner::prepare unless a test replaces it.
    using CopyPreparer =
        std::function<void(const model::Profile& profile, const QString& source, bool isRunning,
                           std::function<void(copies::AppCloner::Prepared)> done)>;
    void setCopyPreparer(CopyPreparer preparer);

signals:
    // Emitted after the new value is stored.
    void claudeURLChanged(const std::optional<QString>& url);
    void runningChanged(const QHash<QUuid, varrow::platform::AppHandle>& running);
    void openingChanged(const QSet<QUuid>& opening);
    void frontChanged(bool claudeIsFront, const std::optional<QUuid>& frontProfileID);
    void lastErrorChanged(const std::optional<QString>& message);
    void asleepChanged(const QSet<QUuid>& asleep);
    // Any of the above; views that redraw on every change listen to this one.
    void stateChanged();

private:
    // Tells the process service which applications' starts to notice: Claude and every account's copy.
    void watchLaunches();
    struct Matching;  // paths worked out once per refresh

    void launch(const model::Profile& profile, const QString& appPath, quint64 attempt);
    void launchFinished(const QUuid& id, quint64 attempt, const Result<AppHandle>& opened);
    void focusWhenReady(const AppHandle& app, std::function<void()> done, int checks = 0);
    // At most one preparation per account at a time; later requests wait for the one under way.
    void prepareCopy(const model::Profile& profile, std::function<void(copies::AppCloner::Prepared)> done);
    void finishPreparing(const QUuid& id);
    void awaitRelaunch(const AppHandle& app, const QUuid& id, int checks);

    void insertOpening(const QUuid& id);
    void removeOpening(const QUuid& id);
    void setRunning(const QHash<QUuid, AppHandle>& running);
    void setFront(bool claudeIsFront, const std::optional<QUuid>& frontProfileID);
    void setClaudeURL(const std::optional<QString>& url);
    // After running_ changed: accounts put to sleep whose Claude has gone are asleep now, and
    // asleep ones running again are not.
    void settleSleep();
    void setAsleep(const QSet<QUuid>& asleep);

    std::optional<QStringList> arguments(const AppHandle& app) const;
    std::optional<model::Profile> profileFor(const AppHandle& app, const Matching& matching) const;
    Matching matching() const;

    model::ProfileStore* store_;
    platform::ServiceRefs services_;
    std::optional<QString> claudeURL_;
    QHash<QUuid, AppHandle> running_;
    QSet<QUuid> opening_;
    std::optional<QUuid> frontProfileID_;
    bool claudeIsFront_ = false;
    QSet<pid_t> awaitingFront_;  // launched processes not yet seen in front
    QUuid lastAsked_;            // the account asked for last: only its launch is brought forward
    std::optional<QString> lastError_;
    QSet<QUuid> asleep_;
    QSet<QUuid> fallingAsleep_;  // quit for idling, not gone yet
    QSet<QUuid> relaunching_;
    std::optional<QDateTime> handoffUntil_;

    CopyPreparer preparer_;
    // Current launch attempt per account, so a stale attempt's timeout leaves a newer one alone.
    QHash<QUuid, quint64> attempts_;
    quint64 nextAttempt_ = 0;
    QSet<QUuid> preparing_;
    QHash<QUuid, QList<std::function<void()>>> waitingToPrepare_;
    // Copies being prepared or started: the clean-up must not delete them under a launch.
    QHash<QUuid, QString> launchingCopies_;
};

}  // namespace varrow::claude
