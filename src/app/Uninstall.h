#pragma once

#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>

namespace varrow::platform {
class Installations;
class LinkHandlers;
class LoginItems;
}  // namespace varrow::platform
namespace varrow::install {
class ShellExtensionInstaller;
}

namespace varrow::app {

// Takes out of the user's desktop what Varrow put there, for someone leaving it ("varrow
// uninstall"): the entry that opens Varrow at login, the claude: link handler, the accounts'
// copies of Claude with their launcher entries, and Varrow's GNOME Shell extension for this user.
// The account list and every account's data stay where they are. Varrow itself is not running.
class Uninstall : public QObject {
    Q_OBJECT
public:
    struct Services {
        platform::LoginItems& loginItems;
        platform::LinkHandlers& linkHandlers;
        platform::Installations& installations;
        install::ShellExtensionInstaller& extension;
    };

    // apps: the folder of the accounts' copies; running: copies a Claude still runs from, which
    // stay (removing them under a running Claude would break it).
    Uninstall(Services services, QString apps, QSet<QString> running, QObject* parent = nullptr);

    // Does every step, then emits finished once with a sentence for each thing it took away and
    // each it could not.
    void run();

signals:
    void finished(const QStringList& done, const QStringList& failed);

private:
    void removeCopies();

    Services services_;
    QString apps_;
    QSet<QString> running_;
    QStringList done_, failed_;
};

}  // namespace varrow::app
