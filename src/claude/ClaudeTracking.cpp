// Which running Claude process belongs to which account, the front state, the catch of copies
// started without their data folder, and keeping the copies in step with the account list.
#include "claude/ClaudeController.h"

#include "claude/DebugLog.h"
#include "platform/DisplaySession.h"
#include "platform/Installations.h"
#include "platform/Paths.h"
#include "platform/PinnedApps.h"
#include "platform/Processes.h"
#include "platform/Timings.h"
#include "platform/WindowServer.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

namespace varrow::claude {

namespace paths = platform::paths;

using copies::AppCloner;
using model::Profile;

namespace {

const QString kDataDirPrefix = QStringLiteral("--user-data-dir=");

std::optional<QString> dataDirIn(const QStringList& arguments) {
    for (const QString& argument : arguments)
        if (argument.startsWith(kDataDirPrefix)) return argument.mid(kDataDirPrefix.size());
    return std::nullopt;
}

bool sameProcess(const AppHandle& a, const AppHandle& b) {
    return a && b && a->processIdentifier() == b->processIdentifier() && a->startTime() == b->startTime();
}

}  // namespace

// Paths that every process is compared against, worked out once per refresh rather than per process.
struct ClaudeController::Matching {
    QString apps;
    QList<std::pair<QString, Profile>> desktops;  // normalised Desktop folder of each non-default account
    std::optional<Profile> defaultProfile;
};

ClaudeController::Matching ClaudeController::matching() const {
    Matching matching;
    matching.apps = paths::resolved(store_->appsURL());
    for (const Profile& profile : store_->profiles()) {
        if (profile.isDefault) {
            if (!matching.defaultProfile) matching.defaultProfile = profile;
            continue;
        }
        // An account whose folder name is unusable has no data folder and so never matches.
        if (const auto folder = profile.dataFolder(store_->accountsURL()))
            matching.desktops.append(
                {paths::normalised(QDir(*folder).filePath(QStringLiteral("Desktop"))), profile});
    }
    return matching;
}

std::optional<QStringList> ClaudeController::arguments(const AppHandle& app) const {
    if (!app) return std::nullopt;
    return services_.processes.processArguments(app->processIdentifier());
}

bool ClaudeController::isNativeWaylandClient(const AppHandle& app) const {
    if (!platform::display_session::isWayland()) return false;
    const std::optional<QStringList> args = arguments(app);
    return args && !platform::display_session::startsAsX11Client(*args);
}

QList<AppHandle> ClaudeController::claudeApps() const {
    QList<AppHandle> apps;
    const QString claude = QString::fromLatin1(kApplicationId);
    for (const AppHandle& app : services_.processes.applications())
        if (app && app->applicationId() == claude && !app->isTerminated()) apps.append(app);
    return apps;
}

std::optional<QString> ClaudeController::dataDir(const AppHandle& app) const {
    const std::optional<QStringList> args = arguments(app);
    return args ? dataDirIn(*args) : std::nullopt;
}

bool ClaudeController::isCopy(const AppHandle& app) const {
    if (!app || app->installationFolder().isEmpty()) return false;
    return paths::isInside(paths::resolved(app->installationFolder()), paths::resolved(store_->appsURL()));
}

std::optional<Profile> ClaudeController::copyOwner(const AppHandle& app) const {
    if (!app || app->installationFolder().isEmpty()) return std::nullopt;
    const QString folder = paths::resolved(app->installationFolder());
    for (const Profile& profile : store_->profiles()) {
        if (profile.isDefault) continue;
        if (paths::resolved(AppCloner::copyPath(profile, store_->appsURL())) == folder) return profile;
    }
    return std::nullopt;
}

std::optional<Profile> ClaudeController::profile(const AppHandle& app) const {
    return profileFor(app, matching());
}

std::optional<Profile> ClaudeController::profileFor(const AppHandle& app, const Matching& matching) const {
    // A process whose arguments cannot be read has gone (or is not ours): it is nobody's.
    const std::optional<QStringList> args = arguments(app);
    if (!args) return std::nullopt;
    const std::optional<QString> dir = dataDirIn(*args);
    if (!dir) {
        if (app->installationFolder().isEmpty() ||
            !paths::isInside(paths::resolved(app->installationFolder()), matching.apps))
            return matching.defaultProfile;
        return std::nullopt;
    }
    const QString wanted = paths::normalised(*dir);
    for (const auto& [desktop, profile] : matching.desktops)
        if (desktop == wanted) return profile;
    return std::nullopt;
}

bool ClaudeController::sharesPathWithAnotherClaude(const AppHandle& app) const {
    if (!app) return false;
    const QString folder = QDir::cleanPath(app->installationFolder());
    for (const AppHandle& other : claudeApps())
        if (other != app && !sameProcess(other, app) &&
            QDir::cleanPath(other->installationFolder()) == folder)
            return true;
    return false;
}

void ClaudeController::refresh() {
    const Matching paths = matching();
    QHash<QUuid, AppHandle> running;
    for (const AppHandle& app : claudeApps())
        if (const auto owner = profileFor(app, paths)) running.insert(owner->id, app);
    setRunning(running);

    const QSet<QUuid> opening = opening_;
    for (const QUuid& id : opening)
        if (running.contains(id)) removeOpening(id);
    updateFront();
}

void ClaudeController::updateFront() {
    platform::Processes& processes = services_.processes;
    const AppHandle front = processes.frontApplication();
    // During a focus hand-off Varrow is briefly in front; the views should not see that.
    if (sameProcess(front, processes.thisApplication()) && handoffUntil_ &&
        *handoffUntil_ > QDateTime::currentDateTimeUtc())
        return;
    const bool claudeIsFront = front && front->applicationId() == QString::fromLatin1(kApplicationId);
    std::optional<QUuid> frontID;
    if (claudeIsFront) {
        for (auto it = running_.constBegin(); it != running_.constEnd(); ++it) {
            if (sameProcess(it.value(), front)) {
                frontID = it.key();
                break;
            }
        }
    }
    setFront(claudeIsFront, frontID);
}

void ClaudeController::catchWrongAccount(const AppHandle& app) {
    if (!app || app->applicationId() != QString::fromLatin1(kApplicationId) || !isCopy(app)) return;
    // Unreadable arguments tell nothing about the data folder; such a process is left alone.
    const std::optional<QStringList> args = arguments(app);
    if (!args || dataDirIn(*args)) return;
    const std::optional<Profile> owner = copyOwner(app);
    if (!owner || owner->isDefault) return;
    // Belt and braces: the installed Claude is never force-quit, wherever it was installed.
    if (claudeURL_ && paths::resolved(*claudeURL_) == paths::resolved(app->installationFolder())) return;
    if (relaunching_.contains(owner->id)) return;

    relaunching_.insert(owner->id);
    debugLog(QStringLiteral("wrong account: pid ") + QString::number(app->processIdentifier()) +
             QStringLiteral(" of ") + owner->name + QStringLiteral(", relaunching"));
    app->forceTerminate();
    awaitRelaunch(app, owner->id, 0);
}

void ClaudeController::awaitRelaunch(const AppHandle& app, const QUuid& id, int checks) {
    if (!app->isTerminated() && checks < Timings::relaunchPolls) {
        QTimer::singleShot(Timings::relaunchPoll(), this,
                           [this, app, id, checks] { awaitRelaunch(app, id, checks + 1); });
        return;
    }
    relaunching_.remove(id);
    refresh();
    // Looked up afresh: an account removed meanwhile is not brought back.
    const std::optional<Profile> current = store_->profile(id);
    if (current && !running_.contains(id)) open(*current);
}

void ClaudeController::syncCopies(const QList<Profile>& profiles) {
    if (!claudeURL_) return;
    const QString apps = store_->appsURL();
    for (const Profile& profile : profiles) {
        // A copy being prepared gets its icon from that preparation.
        if (!profile.isDefault && !preparing_.contains(profile.id))
            AppCloner::refreshIcon(services_.desktopFiles, profile, *claudeURL_, apps);
    }

    QSet<QString> running;
    for (const AppHandle& app : claudeApps())
        if (!app->installationFolder().isEmpty()) running.insert(app->installationFolder());
    QSet<QString> keeping;
    for (const Profile& profile : profiles)
        if (!profile.isDefault) keeping.insert(AppCloner::copyPath(profile, apps));
    // A copy on its way to being started (an account renamed while opening) is not unused.
    for (const QString& path : std::as_const(launchingCopies_)) keeping.insert(path);
    AppCloner::removeUnused(services_.installations, keeping, running, apps);
}

bool ClaudeController::isPinned(const Profile& profile) const {
    if (profile.isDefault) return false;
    const QString copy = AppCloner::copyPath(profile, store_->appsURL());
    return services_.pinnedApps.contains(copy);
}

QString ClaudeController::statusReport() const {
    // Read by scripts (varrow list, the render report), so never translated.
    QStringList lines;
    for (const Profile& profile : store_->profiles()) {
        const AppHandle app = running_.value(profile.id);
        QString name = app ? app->localizedName() : QString();
        QString path = app ? QFileInfo(app->installationFolder()).fileName() : QString();
        if (name.isEmpty()) name = QStringLiteral("-");
        if (path.isEmpty()) path = QStringLiteral("-");
        QString line =
            QStringLiteral("%1: running=%2 app=%3 path=%4")
                .arg(profile.name, app ? QStringLiteral("true") : QStringLiteral("false"), name, path);
        // Only where set, so the lines scripts already read stay as they were.
        if (asleep_.contains(profile.id)) line += QStringLiteral(" asleep=true");
        if (profile.openAtLogin) line += QStringLiteral(" login=true");
        lines.append(line);
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace varrow::claude
