#include "app/Commands.h"

#include "app/CommandLine.h"
#include "app/LinkCommand.h"
#include "claude/ClaudeController.h"
#include "hooks/TestHooks.h"
#include "model/ProfileStore.h"

#include <QCoreApplication>
#include <QTimer>

namespace varrow::app {

Commands::Commands(model::ProfileStore* store, claude::ClaudeController* claude,
                   std::function<void()> showWindow)
    : store_(store), claude_(claude), showWindow_(std::move(showWindow)) {}

std::optional<QString> Commands::handle(const QString& command, const QString& argument) {
    if (command == u"show") {
        if (showWindow_) showWindow_();
        return QString();
    }
    if (command == u"list") {
        const QString report = hooks::TestHooks::report(*store_, *claude_);
        return report.isEmpty() ? report : report + QLatin1Char('\n');
    }
    if (command == u"front") {
        std::optional<model::Profile> front;
        if (claude_->claudeIsFront() && claude_->frontProfileID())
            front = store_->profile(*claude_->frontProfileID());
        return (front ? front->name : QStringLiteral("-")) + QLatin1Char('\n');
    }
    if (command == u"open") {
        const auto profile = hooks::TestHooks::findByName(store_->profiles(), argument);
        if (!profile) return QString::fromUtf8(kNoAccountPrefix) + argument + QLatin1Char('\n');
        claude_->open(*profile);
        return QString();
    }
    if (command == u"quit") {
        // After the reply has gone out.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QString();
    }
    if (command == QLatin1String(LinkCommand::kVerb)) return LinkCommand::handle(*store_, *claude_, argument);
    return CommandLine::handle(*store_, *claude_, command, argument);
}

}  // namespace varrow::app
