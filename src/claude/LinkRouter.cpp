#include "claude/LinkRouter.h"

#include "claude/ClaudeController.h"
#include "copies/AppCloner.h"
#include "front/FrontSwitcher.h"
#include "platform/Installations.h"
#include "platform/Processes.h"
#include "platform/SystemLog.h"

#include <QDir>
#include <QFileInfo>
#include <QProcessEnvironment>

namespace varrow::claude {

using model::Profile;

LinkRouter::LinkRouter(ClaudeController* claude, platform::Processes& processes,
                       platform::Installations& installations, QObject* parent)
    : QObject(parent), claude_(claude), processes_(processes), installations_(installations) {
    if (claude_->claudeIsFront()) lastFront_ = claude_->frontProfileID();
    // The browser is in front when the link comes; the account in front before it is the one
    // that asked, so only Claude coming to the front counts.
    connect(claude_, &ClaudeController::frontChanged, this,
            [this](bool claudeIsFront, const std::optional<QUuid>& id) {
                if (claudeIsFront && id) lastFront_ = id;
            });
}

bool LinkRouter::isClaudeLink(const QString& link) {
    return link.startsWith(QLatin1String("claude:"), Qt::CaseInsensitive);
}

std::optional<Profile> LinkRouter::target() const {
    const model::ProfileStore* store = claude_->store();
    // An account removed since it was in front no longer counts.
    if (lastFront_)
        if (auto profile = store->profile(*lastFront_)) return profile;
    for (const Profile& profile : store->profiles())
        if (profile.isDefault) return profile;
    return store->profiles().isEmpty() ? std::nullopt : std::optional<Profile>(store->profiles().first());
}

QString LinkRouter::route(const QString& link) {
    if (!isClaudeLink(link)) return tr("Only claude: links are passed on.");
    const std::optional<Profile> profile = target();
    if (!profile) return tr("There is no account to pass the link to.");
    const model::ProfileStore* store = claude_->store();

    // The account's own Claude: the running process's, its copy, or the installed one.
    QString app;
    if (const AppHandle running = claude_->running().value(profile->id);
        running && !running->installationFolder().isEmpty())
        app = running->installationFolder();
    else if (const QString copy = copies::AppCloner::copyPath(*profile, store->appsURL());
             !profile->isDefault && QFileInfo::exists(copy))
        app = copy;
    else if (claude_->claudeURL())
        app = *claude_->claudeURL();
    else
        return tr("Claude isn't installed, so the link can't be passed on.");

    platform::LaunchOptions configuration;
    configuration.activates = true;
    configuration.newInstance = true;
    if (!profile->isDefault) {
        const std::optional<QString> folder = profile->dataFolder(store->accountsURL());
        if (!folder) return QStringLiteral("%1 has no usable data folder.").arg(profile->name);
        configuration.arguments.append(QStringLiteral("--user-data-dir=") +
                                       QDir(*folder).filePath(QStringLiteral("Desktop")));
        if (app != claude_->claudeURL())
            configuration.arguments.append(installations_.copyLaunchArguments(app));
        const QProcessEnvironment system = QProcessEnvironment::systemEnvironment();
        for (const QString& key : system.keys()) configuration.environment.insert(key, system.value(key));
        configuration.environment.insert(QStringLiteral("CLAUDE_CONFIG_DIR"),
                                         QDir(*folder).filePath(QStringLiteral("Code")));
    }
    configuration.arguments.append(claude_->displayArguments());
    // One argument, never through a shell.
    configuration.arguments.append(link);

    front::FrontSwitcher::log(QStringLiteral("link → ") + profile->name);
    processes_.launch(app, configuration, [](const Result<AppHandle>& opened) {
        if (!opened)
            platform::SystemLog::write(QStringLiteral("Varrow: a sign-in link was not passed on: ") +
                                       opened.failure().text());
    });
    return {};
}

}  // namespace varrow::claude
