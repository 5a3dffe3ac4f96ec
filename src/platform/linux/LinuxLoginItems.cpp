#include "platform/linux/LinuxLoginItems.h"

#include "platform/linux/SelfInstall.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace varrow::platform::linux_ {

LinuxLoginItems::LinuxLoginItems(QString autostartFolder, QString executable, QStringList arguments,
                                 QObject* parent)
    : LoginItems(parent),
      folder_(autostartFolder.isEmpty()
                  ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + "/autostart"
                  : std::move(autostartFolder)),
      executable_(executable.isEmpty() ? SelfInstall::program() : std::move(executable)),
      arguments_(arguments.isEmpty() ? QCoreApplication::arguments() : std::move(arguments)) {}

QString LinuxLoginItems::execLine(const QString& executable) {
    // Quote the program as the desktop-entry format asks, then escape the backslashes the
    // string value itself consumes; "%" introduces field codes, so it is doubled.
    QString quoted;
    for (QChar ch : executable) {
        if (ch == u'"' || ch == u'`' || ch == u'$' || ch == u'\\') quoted += u'\\';
        quoted += ch;
    }
    quoted = u'"' + quoted + u'"';
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'%', QStringLiteral("%%"));
    return quoted + u' ' + QLatin1String(kLoginFlag);
}

Result<> LinuxLoginItems::set(bool enabled) {
    const QString path = entryPath();
    if (!enabled) {
        QFile file(path);
        if (!file.exists() || file.remove()) return {};
        return Failure{
            QCoreApplication::translate("LoginItems", "The login item %1 could not be removed.").arg(path),
            file.errorString()};
    }
    if (executable_.contains(u'\n') || executable_.contains(u'\r'))
        return Failure{QCoreApplication::translate("LoginItems",
                                                   "This program’s path cannot be written to a login item."),
                       {}};
    if (!QDir().mkpath(folder_))
        return Failure{
            QCoreApplication::translate("LoginItems", "The folder %1 could not be created.").arg(folder_),
            {}};
    QSaveFile file(path);
    const QString entry = QStringLiteral(
                              "[Desktop Entry]\n"
                              "Type=Application\n"
                              "Name=Varrow\n"
                              "Comment=Several Claude sign-ins side by side\n"
                              "Exec=%1\n"
                              "Terminal=false\n"
                              "X-GNOME-Autostart-enabled=true\n")
                              .arg(execLine(executable_));
    if (!file.open(QIODevice::WriteOnly) || file.write(entry.toUtf8()) < 0 || !file.commit())
        return Failure{
            QCoreApplication::translate("LoginItems", "The login item %1 could not be written.").arg(path),
            file.errorString()};
    return {};
}

bool LinuxLoginItems::isEnabled() {
    QFile file(entryPath());
    if (!file.open(QIODevice::ReadOnly)) return false;
    bool inEntry = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.startsWith('[')) {
            inEntry = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntry) continue;
        const qsizetype eq = line.indexOf('=');
        if (eq < 0) continue;
        const QByteArray key = line.left(eq).trimmed(), value = line.mid(eq + 1).trimmed();
        if (key == "Hidden" && value == "true") return false;
        if (key == "X-GNOME-Autostart-enabled" && value == "false") return false;
    }
    return true;
}

bool LinuxLoginItems::launchedAsLoginItem() {
    return arguments_.mid(1).contains(QLatin1String(kLoginFlag));
}

}  // namespace varrow::platform::linux_
