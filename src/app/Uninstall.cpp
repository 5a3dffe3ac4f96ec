#include "app/Uninstall.h"

#include "copies/AppCloner.h"
#include "install/ShellExtensionInstaller.h"
#include "model/Defaults.h"
#include "platform/Installations.h"
#include "platform/LinkHandlers.h"
#include "platform/LoginItems.h"
#include "system/LinkHandlerChoice.h"

#include <QDir>
#include <QFileInfo>

namespace varrow::app {

Uninstall::Uninstall(Services services, QString apps, QSet<QString> running, QObject* parent)
    : QObject(parent), services_(services), apps_(std::move(apps)), running_(std::move(running)) {}

void Uninstall::run() {
    if (services_.loginItems.isEnabled()) {
        if (const Result<> removed = services_.loginItems.set(false))
            done_ << tr("Varrow no longer opens at login.");
        else
            failed_ << removed.failure().text();
    }

    auto& links = services_.linkHandlers;
    const QString scheme = QString::fromLatin1(system::LinkHandlerChoice::kScheme);
    if (model::Defaults::shared().linkHandlerTaken() || links.defaultHandler(scheme) == links.ownHandler()) {
        const QString error = system::LinkHandlerChoice::giveBack(links);
        if (error.isEmpty())
            done_ << tr("Sign-in links go to Claude again, not to Varrow.");
        else
            failed_ << error;
    } else {
        links.removeOwnHandler();
    }

    removeCopies();

    services_.extension.removeForUser([this](const Result<bool>& removed) {
        if (!removed)
            failed_ << removed.failure().text();
        else if (removed.value())
            done_ << tr("Varrow's GNOME Shell extension is turned off and removed for you.");
        emit finished(done_, failed_);
    });
}

void Uninstall::removeCopies() {
    const QStringList before =
        QDir(apps_).entryList({QStringLiteral("*.app")}, QDir::AllEntries | QDir::Hidden);
    copies::AppCloner::removeUnused(services_.installations, {}, running_, apps_);
    int removed = 0;
    for (const QString& name : before) {
        const QString path = QDir(apps_).filePath(name);
        if (!QFileInfo(path).isSymLink() && !QFileInfo::exists(path)) {
            ++removed;
            continue;
        }
        // "Claude Work.app" is what the user knows as Claude Work.
        failed_ << tr("%1 is still open; quit it and run this again to remove its copy.")
                       .arg(QFileInfo(name).completeBaseName());
    }
    if (removed > 0) done_ << tr("Removed %n copies of Claude and their launcher entries.", nullptr, removed);
}

}  // namespace varrow::app
