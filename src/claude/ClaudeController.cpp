#include "claude/ClaudeController.h"

#include "claude/DebugLog.h"
#include "front/FrontSwitcher.h"
#include "model/Defaults.h"
#include "platform/DisplaySession.h"
#include "platform/Installations.h"
#include "platform/Paths.h"
#include "platform/PinnedApps.h"
#include "platform/Processes.h"
#include "platform/SystemLog.h"
#include "platform/Timings.h"
#include "platform/WindowServer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QTimer>
#include <filesystem>
#include <system_error>

namespace varrow::claude {

namespace paths = platform::paths;

using copies::AppCloner;
using model::Profile;

namespace {

QString notInstalled() {
    return ClaudeController::tr("Claude isn't installed on this computer yet. Download it, then try again.");
}

QMap<QString, QString> environmentWith(const QString& name, const QString& value) {
    const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
    QMap<QString, QString> environment;
    for (const QString& key : system.keys()) environment.insert(key, system.value(key));
    environment.insert(name, value);
    return environment;
}

}  // namespace

ClaudeController::ClaudeController(model::ProfileStore* store, const platform::ServiceRefs& services,
                                   QObject* parent)
    : QObject(parent), store_(store), services_(services) {
    preparer_ = [store, &files = services.desktopFiles, &installations = services.installations](
                    const Profile& profile, const QString& source, bool isRunning,
                    std::function<void(AppCloner::Prepared)> done) {
        AppCloner::prepare(files, installations, profile, source, isRunning, store->appsURL(),
                           store->accountsURL(), std::move(done));
    };
    locateClaude();
    refresh();

    platform::Processes* processes = &services_.processes;
    connect(processes, &platform::Processes::applicationLaunched, this, [this](const AppHandle& app) {
        refresh();
        if (app) catchWrongAccount(app);
    });
    connect(processes, &platform::Processes::applicationExited, this, [this] { refresh(); });
    connect(processes, &platform::Processes::frontApplicationChanged, this, [this](const AppHandle& app) {
        if (app) awaitingFront_.remove(app->processIdentifier());
        updateFront();
    });
    connect(processes, &platform::Processes::selfCameToFront, this, [this] {
        locateClaude();
        refresh();
    });
    // Later list changes only (never the one current now), one event-loop turn after they happen.
    connect(store_, &model::ProfileStore::profilesChanged, this, [this](const QList<Profile>& profiles) {
        QTimer::singleShot(0, this, [this, profiles] {
            refresh();
            syncCopies(profiles);
            watchLaunches();
        });
    });
    watchLaunches();
}

void ClaudeController::watchLaunches() {
    QStringList paths;
    if (claudeURL_) paths.append(*claudeURL_);
    for (const Profile& profile : store_->profiles())
        if (!profile.isDefault) paths.append(AppCloner::copyPath(profile, store_->appsURL()));
    services_.processes.watchForLaunches(paths);
}

void ClaudeController::setCopyPreparer(CopyPreparer preparer) {
    preparer_ = std::move(preparer);
}

QUrl ClaudeController::downloadURL() {
    static const QUrl url(QStringLiteral("https://claude.ai/download"));
    return url;
}

// --- published state ---------------------------------------------------------------------------

void ClaudeController::setLastError(const std::optional<QString>& message) {
    if (lastError_ == message) return;
    lastError_ = message;
    emit lastErrorChanged(lastError_);
    emit stateChanged();
}

void ClaudeController::setClaudeURL(const std::optional<QString>& url) {
    if (claudeURL_ == url) return;
    claudeURL_ = url;
    watchLaunches();
    emit claudeURLChanged(claudeURL_);
    emit stateChanged();
}

void ClaudeController::insertOpening(const QUuid& id) {
    attempts_.insert(id, ++nextAttempt_);
    opening_.insert(id);
    emit openingChanged(opening_);
    emit stateChanged();
}

void ClaudeController::removeOpening(const QUuid& id) {
    launchingCopies_.remove(id);
    if (!opening_.remove(id)) return;
    emit openingChanged(opening_);
    emit stateChanged();
}

void ClaudeController::setRunning(const QHash<QUuid, AppHandle>& running) {
    if (running_ == running) return;
    running_ = running;
    settleSleep();
    emit runningChanged(running_);
    emit stateChanged();
}

void ClaudeController::setFront(bool claudeIsFront, const std::optional<QUuid>& frontProfileID) {
    if (claudeIsFront_ == claudeIsFront && frontProfileID_ == frontProfileID) return;
    claudeIsFront_ = claudeIsFront;
    frontProfileID_ = frontProfileID;
    emit frontChanged(claudeIsFront_, frontProfileID_);
    emit stateChanged();
}

// --- locating and launching --------------------------------------------------------------------

void ClaudeController::locateClaude() {
    const QString apps = QDir::cleanPath(store_->appsURL());
    for (const QString& location : services_.installations.claudeLocations()) {
        // Copies keep Claude's identifier, so the system may name one of them; never take that.
        const QString path = QDir::cleanPath(location);
        if (path == apps || paths::isInside(path, apps) || !QFileInfo::exists(path)) continue;
        setClaudeURL(location);
        return;
    }
    setClaudeURL(std::nullopt);
}

void ClaudeController::open(const Profile& profile) {
    // Several accounts opened together end with the last one asked for in front: launches still
    // waiting for their window are no longer brought forward.
    lastAsked_ = profile.id;
    awaitingFront_.clear();
    fallingAsleep_.remove(profile.id);
    setLastError(std::nullopt);
    store_->markOpened(profile);
    if (const auto it = running_.constFind(profile.id); it != running_.constEnd()) {
        focus(*it);
        return;
    }
    if (!claudeURL_) {
        setLastError(notInstalled());
        return;
    }
    if (opening_.contains(profile.id)) return;
    insertOpening(profile.id);
    const quint64 attempt = attempts_.value(profile.id);
    const QString source = *claudeURL_;
    if (profile.isDefault) {
        launch(profile, source, attempt);
        return;
    }

    const QUuid id = profile.id;
    QPointer<ClaudeController> self(this);
    prepareCopy(profile, [self, id, source, attempt](AppCloner::Prepared prepared) {
        if (!self) return;
        // The attempt may have ended meanwhile: the account was recognised running, or removed.
        if (!self->opening_.contains(id) || self->attempts_.value(id) != attempt) return;
        const std::optional<Profile> current = self->store_->profile(id);
        if (!current || self->running_.contains(id)) {
            self->removeOpening(id);
            return;
        }
        if (prepared.ok()) {
            self->launch(*current, prepared.appPath, attempt);
            return;
        }
        platform::SystemLog::write(QStringLiteral("Varrow: ") + prepared.error);
        self->launch(*current, source, attempt);
    });
}

QStringList ClaudeController::displayArguments() const {
    // Where switching reaches native windows whole (GNOME with Varrow's extension), Xwayland buys nothing.
    if (!platform::display_session::isWayland() || !model::Defaults::shared().startClaudeThroughXwayland() ||
        services_.windowServer.switchesNativeWindows())
        return {};
    return platform::display_session::x11ClientArguments();
}

void ClaudeController::launch(const Profile& profile, const QString& appPath, quint64 attempt) {
    platform::LaunchOptions configuration;
    configuration.activates = true;
    configuration.newInstance = true;

    if (!profile.isDefault) {
        // The folder comes from the fixed folder name, so a rename while opening changes nothing here.
        const std::optional<QString> folder = profile.dataFolder(store_->accountsURL());
        QString failure;
        QString desktop, code;
        if (!folder) {
            failure = tr("the folder name “%1” is not usable").arg(profile.folderName);
        } else {
            desktop = QDir(*folder).filePath(QStringLiteral("Desktop"));
            code = QDir(*folder).filePath(QStringLiteral("Code"));
            failure = platform::paths::makeFolder(desktop);
            if (failure.isEmpty()) failure = platform::paths::makeFolder(code);
        }
        if (!failure.isEmpty()) {
            removeOpening(profile.id);
            setLastError(tr("Couldn't create the folder for %1: %2").arg(profile.name, failure));
            return;
        }
        AppCloner::blockSelfUpdates(desktop);
        configuration.arguments = QStringList{QStringLiteral("--user-data-dir=") + desktop};
        // A copy of a native installation may need more (its own window class on Linux), so the
        // taskbar groups its windows under the copy's own launcher entry rather than under Claude's.
        if (appPath != claudeURL_)
            configuration.arguments.append(services_.installations.copyLaunchArguments(appPath));
        configuration.environment = environmentWith(QStringLiteral("CLAUDE_CONFIG_DIR"), code);
    }
    configuration.arguments.append(displayArguments());

    debugLog(QStringLiteral("launch ") + profile.name + QStringLiteral(" from ") + paths::fileName(appPath));
    launchingCopies_.insert(profile.id, appPath);
    QPointer<ClaudeController> self(this);
    const QUuid id = profile.id;
    services_.processes.launch(appPath, configuration, [self, id, attempt](const Result<AppHandle>& opened) {
        if (self) self->launchFinished(id, attempt, opened);
    });
}

void ClaudeController::launchFinished(const QUuid& id, quint64 attempt, const Result<AppHandle>& opened) {
    const bool current = attempts_.value(id) == attempt;
    const AppHandle app = opened ? opened.value() : nullptr;
    if (!opened) {
        if (current) removeOpening(id);
        setLastError(tr("Claude didn't open: %1").arg(opened.failure().text()));
    }
    refresh();
    QPointer<ClaudeController> self(this);
    auto expire = [self, id, attempt] {
        QTimer::singleShot(Timings::openingTimeout(), self, [self, id, attempt] {
            // Only this attempt's own marker: a newer launch of the account keeps its own.
            if (self && self->attempts_.value(id) == attempt) self->removeOpening(id);
        });
    };
    if (app && id == lastAsked_) {
        awaitingFront_.insert(app->processIdentifier());
        focusWhenReady(app, expire);
    } else {
        expire();
    }
}

void ClaudeController::focusWhenReady(const AppHandle& app, std::function<void()> done, int checks) {
    const pid_t pid = app->processIdentifier();
    // Once it has been in front, even between two looks, it came forward by itself: whatever the
    // user has put in front since is left there.
    if (app->isTerminated() || app->isActive() || !awaitingFront_.contains(pid)) {
        awaitingFront_.remove(pid);
        done();
        return;
    }
    if (services_.windowServer.frontWindow(pid)) {
        awaitingFront_.remove(pid);
        focus(app);
        done();
        return;
    }
    QTimer::singleShot(Timings::firstWindowPoll(), this, [this, app, done, checks] {
        if (checks + 1 >= Timings::firstWindowPolls) {
            awaitingFront_.remove(app->processIdentifier());
            done();
            return;
        }
        focusWhenReady(app, done, checks + 1);
    });
}

void ClaudeController::prepareCopy(const Profile& profile, std::function<void(AppCloner::Prepared)> done) {
    const QUuid id = profile.id;
    QPointer<ClaudeController> self(this);
    if (!claudeURL_) {
        done(AppCloner::Prepared{{}, notInstalled()});
        return;
    }
    if (preparing_.contains(id)) {
        // Two preparations of one account would copy into the same place: wait for this one.
        waitingToPrepare_[id].append([self, profile, done] {
            if (self) self->prepareCopy(profile, done);
        });
        return;
    }
    preparing_.insert(id);
    launchingCopies_.insert(id, AppCloner::copyPath(profile, store_->appsURL()));
    // Asked now, not when the request was made: a running copy must never be replaced.
    preparer_(profile, *claudeURL_, running_.contains(id), [self, id, done](AppCloner::Prepared prepared) {
        if (!self) return;
        self->preparing_.remove(id);
        if (!self->opening_.contains(id)) self->launchingCopies_.remove(id);
        // A copy made just now can be watched for starts from now on.
        if (prepared.ok()) self->watchLaunches();
        done(prepared);
        self->finishPreparing(id);
    });
}

void ClaudeController::finishPreparing(const QUuid& id) {
    auto it = waitingToPrepare_.find(id);
    if (it == waitingToPrepare_.end()) return;
    const std::function<void()> next = it->takeFirst();
    if (it->isEmpty()) waitingToPrepare_.erase(it);
    next();
}

void ClaudeController::keepInDock(const Profile& profile) {
    if (!claudeURL_ || profile.isDefault) return;
    QPointer<ClaudeController> self(this);
    const QString name = profile.name;
    prepareCopy(profile, [self, name](AppCloner::Prepared prepared) {
        if (!self) return;
        if (!prepared.ok()) {
            self->setLastError(prepared.error);
            return;
        }
        platform::PinnedApps& pins = self->services_.pinnedApps;
        const QString failed = pins.kind() == platform::PinnedApps::Kind::TaskManager
                                   ? tr("Couldn't pin %1 to the task manager.").arg(name)
                                   : tr("Couldn't add %1 to your favourite applications.").arg(name);
        pins.add(prepared.appPath, [self, failed](const Result<>& added) {
            if (self && !added) self->setLastError(added.failure().within(failed).text());
        });
    });
}

// --- focus and cycling -------------------------------------------------------------------------

void ClaudeController::focus(const AppHandle& app) {
    if (!app) return;
    handoffUntil_ = QDateTime::currentDateTimeUtc().addMSecs(Timings::focusHandOff().count());

    QString label = QStringLiteral("Claude");
    for (auto it = running_.constBegin(); it != running_.constEnd(); ++it) {
        if (!it.value() || it.value()->processIdentifier() != app->processIdentifier() ||
            it.value()->startTime() != app->startTime())
            continue;
        if (const auto owner = store_->profile(it.key())) label = owner->name;
        break;
    }

    // An instance with every window closed is asked to show one, unless the request could reach
    // another instance of the same installation instead.
    if (!services_.windowServer.frontWindow(app->processIdentifier()) &&
        !app->installationFolder().isEmpty() && !sharesPathWithAnotherClaude(app)) {
        platform::LaunchOptions reopen;
        reopen.activates = true;
        reopen.newInstance = false;
        services_.processes.launch(app->installationFolder(), reopen, [](const Result<AppHandle>&) {});
    }
    front::FrontSwitcher(services_.windowServer, services_.processes).bringToFront(app, label);
}

void ClaudeController::cycle(bool backwards) {
    // As the hot key, which is only held while Claude is in front: a desktop's own key binding
    // running "varrow cycle" over another program leaves it alone.
    if (!claudeIsFront_) return;
    QList<Profile> ring;
    for (const Profile& profile : store_->profiles())
        if (running_.contains(profile.id)) ring.append(profile);
    const qsizetype n = ring.size();
    if (n < 2) return;
    qsizetype i = -1;
    for (qsizetype k = 0; k < n; ++k) {
        if (frontProfileID_ && ring[k].id == *frontProfileID_) {
            i = k;
            break;
        }
    }
    const qsizetype next = backwards ? (i - 1 + n) % n : (i + 1) % n;
    open(ring[next]);
}

}  // namespace varrow::claude
