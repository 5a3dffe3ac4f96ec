#include "app/Commands.h"

#include "app/Requests.h"
#include "claude/ClaudeController.h"
#include "model/ProfileStore.h"

#include <QCoreApplication>
#include <QTimer>

namespace varrow::app {

namespace {

QString line(const QString& text) {
    return text.isEmpty() ? text : text + QLatin1Char('\n');
}

}  // namespace

Commands::Commands(model::ProfileStore* store, claude::ClaudeController* claude, Shell shell)
    : store_(store) {
    table_.insert(QString::fromLatin1(requests::kShow), [show = shell.showWindow](const QString&) {
        if (show) show();
        return QString();
    });
    table_.insert(QString::fromLatin1(requests::kList),
                  [claude](const QString&) { return line(claude->statusReport()); });
    table_.insert(QString::fromLatin1(requests::kFront), [store, claude](const QString&) {
        std::optional<model::Profile> front;
        if (claude->claudeIsFront() && claude->frontProfileID())
            front = store->profile(*claude->frontProfileID());
        return line(front ? front->name : QStringLiteral("-"));
    });
    table_.insert(QString::fromLatin1(requests::kOpen), forAccount([claude](const model::Profile& profile) {
                      claude->open(profile);
                      return QString();
                  }));
    table_.insert(QString::fromLatin1(requests::kQuit), [](const QString&) {
        // After the reply has gone out.
        QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QString();
    });
    table_.insert(QString::fromLatin1(requests::kQuitAccount),
                  forAccount([claude](const model::Profile& profile) {
                      if (const platform::AppHandle app = claude->running().value(profile.id))
                          app->terminate();
                      return QString();
                  }));
    for (const bool on : {true, false}) {
        table_.insert(QString::fromLatin1(on ? requests::kLoginOn : requests::kLoginOff),
                      forAccount([store, on](const model::Profile& profile) {
                          model::Profile changed = profile;
                          changed.openAtLogin = on;
                          store->update(changed);
                          return QString();
                      }));
    }
    table_.insert(QString::fromLatin1(requests::kTerminalCommand),
                  forAccount([store](const model::Profile& profile) {
                      return line(profile.terminalCommand(store->accountsURL()));
                  }));
    table_.insert(QString::fromLatin1(requests::kOpenLink), [openLink = shell.openLink](const QString& link) {
        return openLink ? openLink(link)
                        : QCoreApplication::translate("Commands", "Varrow cannot pass links on yet.");
    });
    table_.insert(QString::fromLatin1(requests::kCycle), [cycle = shell.cycle](const QString& argument) {
        if (cycle) cycle(argument == QLatin1String(requests::kCycleBackwards));
        return QString();
    });
}

Commands::Handler Commands::forAccount(std::function<QString(const model::Profile&)> action) const {
    return [store = store_, action = std::move(action)](const QString& name) {
        const std::optional<model::Profile> profile = store->findByName(name);
        if (!profile) return QString::fromUtf8(requests::kNoAccountPrefix) + name + QLatin1Char('\n');
        return action(*profile);
    };
}

std::optional<QString> Commands::handle(const QString& command, const QString& argument) const {
    const auto it = table_.constFind(command);
    if (it == table_.constEnd()) return std::nullopt;
    return (*it)(argument);
}

}  // namespace varrow::app
