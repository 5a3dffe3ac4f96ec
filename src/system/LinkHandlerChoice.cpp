#include "system/LinkHandlerChoice.h"

#include "model/Defaults.h"
#include "model/ProfileStore.h"
#include "platform/LinkHandlers.h"
#include "platform/SystemLog.h"

namespace varrow::system {

using model::Defaults;

namespace {
QString scheme() {
    return QString::fromLatin1(LinkHandlerChoice::kScheme);
}

QString logged(const QString& sentence) {
    if (!sentence.isEmpty()) platform::SystemLog::write(QStringLiteral("Varrow: ") + sentence);
    return sentence;
}
}  // namespace

LinkHandlerChoice::LinkHandlerChoice(model::ProfileStore* store, platform::LinkHandlers& handlers,
                                     QObject* parent)
    : QObject(parent), store_(store), handlers_(handlers) {
    // Most list changes (an account opened, renamed) leave the answer as it was: only a change of
    // it is worth asking the desktop's tools, which would otherwise slow every opening.
    connect(store_, &model::ProfileStore::profilesChanged, this, [this] {
        if (wanted() != applied_) apply();
    });
    connect(&Defaults::shared(), &Defaults::changed, this, [this](const QString& key) {
        if (key == QLatin1String(Defaults::kSendSignInLinks)) apply();
    });
    connect(&handlers_, &platform::LinkHandlers::userChoicesChanged, this,
            &LinkHandlerChoice::takeBackFromClaude);
    handlers_.watchUserChoices();
}

bool LinkHandlerChoice::isClaudesOwnEntry(const QString& handler) {
    // The package's entry, which Claude writes and claims at every start, and the community
    // packagings' name for it.
    return handler == u"com.anthropic.Claude.desktop" || handler == u"claude-desktop.desktop";
}

void LinkHandlerChoice::takeBackFromClaude() {
    if (applied_ != true) return;
    auto& handlers = handlers_;
    // Only Claude claiming at its start is undone: a handler the user picks is theirs.
    const QString current = handlers.userHandler(scheme());
    if (current == handlers.ownHandler() || !isClaudesOwnEntry(current)) return;
    // What was the handler before Varrow took it stays remembered: Claude's claim is not a choice.
    if (const Result<> taken = handlers.setDefaultHandler(scheme(), handlers.ownHandler()); !taken)
        // Only logged, so in English as every system-log line.
        logged(QStringLiteral("Couldn't take sign-in links back from Claude: ") + taken.failure().text());
}

bool LinkHandlerChoice::wanted() const {
    if (!Defaults::shared().sendSignInLinks()) return false;
    for (const model::Profile& profile : store_->profiles())
        if (!profile.isDefault) return true;
    return false;
}

QString LinkHandlerChoice::apply() {
    applied_ = wanted();
    if (*applied_) return logged(take());
    if (Defaults::shared().linkHandlerTaken()) return logged(giveBack(handlers_));
    return {};
}

QString LinkHandlerChoice::take() {
    auto& handlers = handlers_;
    auto& defaults = Defaults::shared();
    // Refreshed every time: the entry names this program's path, which may have moved.
    if (const Result<> installed = handlers.installOwnHandler(scheme()); !installed)
        return installed.failure().text();
    const QString own = handlers.ownHandler();
    const QString current = handlers.defaultHandler(scheme());
    // Held only as the one handler installed is not held: any other installed later would take
    // the links, and finding that out takes the desktop's tool at every start.
    if (current == own && handlers.userHandler(scheme()) == own) {
        if (!defaults.linkHandlerTaken()) defaults.setValue(Defaults::kLinkHandlerTaken, true);
        return {};
    }
    // The user's own choice (none: the system's default applies), remembered before the change
    // so a failure half-way still knows what to give back.
    const QString previous = handlers.userHandler(scheme());
    defaults.setValue(Defaults::kPreviousLinkHandler, previous == own ? QString() : previous);
    defaults.setValue(Defaults::kLinkHandlerTaken, true);
    if (const Result<> made = handlers.setDefaultHandler(scheme(), own); !made)
        return tr("Couldn't make Varrow the handler of sign-in links: %1").arg(made.failure().text());
    return {};
}

QString LinkHandlerChoice::giveBack(platform::LinkHandlers& handlers) {
    auto& defaults = Defaults::shared();
    // A handler the user picked since is theirs; only Varrow's own is replaced.
    if (handlers.defaultHandler(scheme()) == handlers.ownHandler()) {
        const QString previous = defaults.value(Defaults::kPreviousLinkHandler).toString();
        if (const Result<> given = handlers.setDefaultHandler(scheme(), previous); !given)
            return tr("Couldn't give sign-in links back to their previous handler: %1")
                .arg(given.failure().text());
    }
    handlers.removeOwnHandler();
    defaults.remove(Defaults::kPreviousLinkHandler);
    defaults.remove(Defaults::kLinkHandlerTaken);
    return {};
}

}  // namespace varrow::system
